#ifndef ORV_DB_CONNECTION_H_
#define ORV_DB_CONNECTION_H_

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
class Connection : public std::enable_shared_from_this<Connection> {
 public:
  static std::shared_ptr<Connection> Create();
  ~Connection();
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
  // The next result of the last Execute, or nullptr when there is none.
  std::shared_ptr<Recordset> NextRecordset();

  // Messages of the last failed call (ADO's Errors collection).
  const std::vector<DriverMessage>& Errors() const;
  void ClearErrors();

  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();

  int32_t CommandTimeout = 30;  // seconds; 0 = no limit

  // The connection string with any password replaced by "***".
  std::string RedactedConnectionString() const;

  Driver& driver();  // throws DbError(kErrClosed) when not open

  // Called with the text of every command Execute sends, before it runs
  // (statement traces, and tests that check what the module sends).
  void SetStatementObserver(std::function<void(std::string_view)> observer) {
    statement_observer_ = std::move(observer);
  }

 private:
  Connection();
  friend class Command;
  // Runs a driver call; on failure records its messages in Errors() and
  // throws them again as one DbError with any password blanked out.
  template <typename F>
  auto Guard(F&& f) -> decltype(f());
  [[noreturn]] void Fail(const DbError& error);
  // Hands out the results of a call as Execute does.
  std::shared_ptr<Recordset> Deliver(std::vector<ResultSet> results, std::string_view source,
                                     int64_t* records_affected, int options);

  std::unique_ptr<Driver> driver_;
  std::vector<DriverMessage> errors_;
  std::function<void(std::string_view)> statement_observer_;
  std::vector<ResultSet> pending_results_;  // results after the first of the last Execute
  std::string last_source_;
  std::string secret_;  // the password in use, to blank it out of messages
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

// Rolls back unless committed; for the few places where two statements must
// land together.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Connection& connection_;
  bool done_ = false;
};

}  // namespace orv::db

#endif  // ORV_DB_CONNECTION_H_
