#ifndef ORV_DB_CONNECTION_H_
#define ORV_DB_CONNECTION_H_

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/db_error.h"
#include "db/driver.h"
#include "db/recordset.h"
#include "db/statement_observer.h"
#include "zere_orvelka/connection_handle.h"

namespace orv::db {

// ADO command types and execute options the module uses.
inline constexpr int kAdCmdText = 1;
inline constexpr int kAdCmdStoredProc = 4;
inline constexpr int kAdExecuteNoRecords = 0x80;

// A database connection in the shape of ADO's: open with a connection string,
// execute text, read the errors of the last failure, transactions.
//
// Always held by shared_ptr (recordsets keep their connection alive); create
// with Connection::Create(). Execute() throws DbError; the same messages stay
// in Errors() until the next call.
//
// It is the ConnectionHandle the module interface hands to a host.
class Connection : public host::ConnectionHandle, public std::enable_shared_from_this<Connection> {
 public:
  static std::shared_ptr<Connection> Create();
  // The connection behind a handle; null for null or another kind of handle.
  static std::shared_ptr<Connection> FromHandle(
      const std::shared_ptr<host::ConnectionHandle>& handle);
  ~Connection() override;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  std::string ConnectionString;  // read by Open() when it gets no argument

  // Opens the driver the string names (see OpenDriver()). `user` and
  // `password`, when given, are added as UID and PWD. Throws DbError, whose
  // texts never contain the password.
  void Open(std::string_view connection_string = {}, std::string_view user = {},
            std::string_view password = {}, int options = -1);
  // Opens on a driver the caller made (tests drive an engine set up their
  // own way through this seam). ConnectionString is left as it is.
  void Open(std::unique_ptr<Driver> driver);
  void Close();  // rolls back an open transaction
  bool IsOpen() const;

  // Runs text (command type 1). Returns the first result as a recordset; the
  // rest through NextRecordset(). A statement that returns no rows gives a
  // closed recordset (IsOpen() false), as ADO does. With kAdExecuteNoRecords
  // in `options`, returns nullptr and drops every result. `records_affected`
  // receives the first result's count (-1 for a result with rows).
  std::shared_ptr<Recordset> Execute(std::string_view command_text,
                                     int64_t* records_affected = nullptr, int options = kAdCmdText);
  // Runs text whose ? markers read `values` in order (see Driver::Execute
  // with values): no value is written into the text, so nothing needs
  // quoting, and a text run again with other values is translated and
  // prepared once. Results and options as above (command type 1 only).
  std::shared_ptr<Recordset> Execute(std::string_view command_text,
                                     const std::vector<Value>& values,
                                     int64_t* records_affected = nullptr, int options = kAdCmdText);
  // Runs text (command type 1) and hands its results to `sink` as the
  // driver reads them (see RowSink), for a caller that builds its own rows
  // from them and would otherwise hold every result whole. Errors, the
  // observer's report and the time-out are as Execute's; what the sink
  // throws ends the batch and comes back as a DbError. NextRecordset() has
  // nothing afterwards. The sink must not use this connection.
  void ExecuteStreaming(std::string_view command_text, RowSink& sink);
  // The next result of the last Execute, or nullptr when there is none.
  std::shared_ptr<Recordset> NextRecordset();

  // Messages of the last failed call (ADO's Errors collection).
  const std::vector<DriverMessage>& Errors() const;
  void ClearErrors();

  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  bool InTransaction() const { return driver_ && driver_->InTransaction(); }
  bool IsReadOnly() const { return driver_ && driver_->IsReadOnly(); }
  // Savepoints of the open transaction (see Driver); prefer the guards.
  void SetSavepoint(const std::string& name);
  void ReleaseSavepoint(const std::string& name);
  void RollbackToSavepoint(const std::string& name);
  // A savepoint name not yet used on this connection.
  std::string NewSavepointName();

  int32_t CommandTimeout = 30;  // seconds; 0 = no limit

  // The connection string with any password replaced by "***".
  std::string RedactedConnectionString() const;

  Driver& driver();  // throws DbError(kErrClosed) when not open

  // Reports every later call to the driver (statements, procedures,
  // transactions, the opening) to `observer`, named `origin` in the
  // reports; null stops the reports. A connection created while a default
  // observer is set starts with it.
  void SetStatementObserver(std::shared_ptr<StatementObserver> observer, std::string origin = {});
  const std::shared_ptr<StatementObserver>& statement_observer() const { return observer_; }
  static void SetDefaultStatementObserver(std::shared_ptr<StatementObserver> observer,
                                          std::string origin = {});

  // Rolls back the open transaction, if any, leaving Errors() as it is:
  // for clean-up after a failure that Errors() must keep telling.
  void RollbackKeepingErrors();

 private:
  Connection();
  friend class Command;
  // Runs a driver call; on failure records its messages in Errors() and
  // throws them again as one DbError with any password blanked out.
  template <typename F>
  auto Guard(F&& f) -> decltype(f());
  [[noreturn]] void Fail(const DbError& error);
  // Guard() that also reports the call to the observer: `event` describes
  // it, the results fill in the counts.
  template <typename F>
  std::vector<ResultSet> Watch(StatementEvent& event, F&& f);
  void Report(StatementEvent& event, std::chrono::steady_clock::time_point start);
  void ReportOpen(const DbError* error);
  void Transact(StatementEvent::Kind kind, void (Driver::*call)());
  // Hands out the results of a call as Execute does.
  std::shared_ptr<Recordset> Deliver(std::vector<ResultSet> results, std::string_view source,
                                     int64_t* records_affected, int options);

  std::unique_ptr<Driver> driver_;
  std::vector<DriverMessage> errors_;
  std::function<void(std::string_view)> statement_observer_;
  std::vector<ResultSet> pending_results_;  // results after the first of the last Execute
  std::string last_source_;
  std::string secret_;  // the password in use, to blank it out of messages
  std::shared_ptr<StatementObserver> observer_;
  std::string origin_;
  int64_t savepoints_made_ = 0;
};

template <typename F>
auto Connection::Guard(F&& f) -> decltype(f()) {
  errors_.clear();
  try {
    return f();
  } catch (const DbError& e) {
    Fail(e);
  } catch (const std::exception& e) {
    Fail(DbError(kErrProvider, e.what()));
  }
}

template <typename F>
std::vector<ResultSet> Connection::Watch(StatementEvent& event, F&& f) {
  if (!observer_) return Guard(f);
  const auto start = std::chrono::steady_clock::now();
  try {
    std::vector<ResultSet> results = Guard(f);
    if (!results.empty()) {
      event.records_affected = results.front().records_affected;
      event.rows = static_cast<int64_t>(results.front().rows.size());
    }
    Report(event, start);
    return results;
  } catch (const DbError& e) {
    event.error = &e;
    Report(event, start);
    throw;
  }
}

// What one gesture writes: rolls back unless committed. Opened while a
// transaction is already open (a row of a revoke-all, a click inside a larger
// gesture) it is a savepoint of that transaction instead: Commit() keeps its
// work for the outer commit, and its rollback undoes only its own work.
//
//   {
//     db::Transaction transaction(cn);
//     cn.Execute(write);
//     cn.Execute(reload);
//     transaction.Commit();
//   }  // an exception before Commit() left nothing of either
//
// The rollback runs in the destructor, so by the time a catch block shows a
// message the connection holds no transaction of this guard's.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();
  // Undoes the work now (a no-op once committed or rolled back).
  void Rollback();
  bool nested() const { return !savepoint_.empty(); }

 private:
  Connection& connection_;
  std::string savepoint_;  // set when nested
  bool done_ = false;
};

}  // namespace orv::db

#endif  // ORV_DB_CONNECTION_H_
