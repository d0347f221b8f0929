#include "db/connection.h"

#include <mutex>

#include "db/ascii.h"

namespace orv::db {
namespace {

void ReplaceAll(std::string& text, const std::string& what, std::string_view with) {
  if (what.empty()) return;
  for (size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
}

// The observer new connections start with.
struct DefaultObserver {
  std::mutex mutex;
  std::shared_ptr<StatementObserver> observer;
  std::string origin;
};

DefaultObserver& Defaults() {
  static DefaultObserver defaults;
  return defaults;
}

[[noreturn]] void ThrowClosed() {
  throw DbError(kErrClosed, "Operation is not allowed when the object is closed");
}

}  // namespace

std::shared_ptr<Connection> Connection::FromHandle(
    const std::shared_ptr<host::ConnectionHandle>& handle) {
  return std::dynamic_pointer_cast<Connection>(handle);
}

std::shared_ptr<Connection> Connection::Create() {
  auto connection = std::shared_ptr<Connection>(new Connection());
  DefaultObserver& defaults = Defaults();
  std::lock_guard<std::mutex> lock(defaults.mutex);
  connection->observer_ = defaults.observer;
  connection->origin_ = defaults.origin;
  return connection;
}

void Connection::SetDefaultStatementObserver(std::shared_ptr<StatementObserver> observer,
                                             std::string origin) {
  DefaultObserver& defaults = Defaults();
  std::lock_guard<std::mutex> lock(defaults.mutex);
  defaults.observer = std::move(observer);
  defaults.origin = std::move(origin);
}

void Connection::SetStatementObserver(std::shared_ptr<StatementObserver> observer,
                                      std::string origin) {
  observer_ = std::move(observer);
  origin_ = std::move(origin);
}

void Connection::Report(StatementEvent& event, std::chrono::steady_clock::time_point start) {
  event.elapsed = std::chrono::steady_clock::now() - start;
  event.origin = origin_;
  try {
    observer_->OnStatement(event);
  } catch (...) {
    // watching never changes what the connection does
  }
}

Connection::Connection() = default;

Connection::~Connection() {
  try {
    Close();
  } catch (...) {
    // a destructor must not throw; the driver rolls back on its own
  }
}

void Connection::Open(std::string_view connection_string, std::string_view user,
                      std::string_view password, int /*options*/) {
  if (driver_) {
    throw DbError(kErrBadArgument, "Operation is not allowed when the object is open");
  }
  if (!connection_string.empty()) ConnectionString = std::string(connection_string);
  errors_.clear();
  std::unique_ptr<Driver> driver;
  try {
    db::ConnectionString parsed(ConnectionString);
    if (!user.empty()) parsed.Set("UID", user);
    if (!password.empty()) parsed.Set("PWD", password);
    secret_ = parsed.GetAny({"PWD", "Password"});
    driver = Guard([&] { return OpenDriver(parsed); });
  } catch (const DbError& e) {
    if (errors_.empty()) {  // a parse error never reached Guard
      try {
        Fail(e);
      } catch (const DbError& clean) {
        ReportOpen(&clean);
        throw;
      }
    }
    ReportOpen(&e);
    throw;
  }
  driver_ = std::move(driver);
  ReportOpen(nullptr);
}

void Connection::ReportOpen(const DbError* error) {
  if (!observer_) return;
  const std::string redacted = RedactedConnectionString();
  StatementEvent event;
  event.kind = StatementEvent::Kind::kOpen;
  event.text = redacted;
  event.records_affected = 0;
  event.error = error;
  Report(event, std::chrono::steady_clock::now());
}

void Connection::Open(std::unique_ptr<Driver> driver) {
  if (driver_) {
    throw DbError(kErrBadArgument, "Operation is not allowed when the object is open");
  }
  if (!driver) throw DbError(kErrBadArgument, "No driver to open the connection on");
  errors_.clear();
  driver_ = std::move(driver);
}

void Connection::Close() {
  pending_results_.clear();
  if (!driver_) return;
  std::unique_ptr<Driver> driver = std::move(driver_);
  if (driver->InTransaction()) {
    try {
      driver->RollbackTransaction();
    } catch (const DbError&) {
      // closing drops the transaction anyway
    }
  }
}

bool Connection::IsOpen() const { return driver_ != nullptr; }

Driver& Connection::driver() {
  if (!driver_) ThrowClosed();
  return *driver_;
}

void Connection::Fail(const DbError& error) {
  auto clean = [this](std::string text) {
    ReplaceAll(text, secret_, "***");
    return text;
  };
  std::vector<DriverMessage> messages = error.messages();
  for (auto& m : messages) m.description = clean(std::move(m.description));
  if (messages.empty()) {
    DriverMessage m;
    m.number = error.number();
    m.description = clean(error.description());
    m.source = driver_ ? driver_->Name() : "Connection";
    messages.push_back(std::move(m));
  }
  errors_ = messages;
  throw DbError(error.number(), clean(error.description()), std::move(messages));
}

std::shared_ptr<Recordset> Connection::Deliver(std::vector<ResultSet> results,
                                               std::string_view source, int64_t* records_affected,
                                               int options) {
  pending_results_.clear();
  last_source_ = std::string(source);
  if (records_affected) {
    *records_affected = results.empty() ? 0 : results.front().records_affected;
  }
  if (options & kAdExecuteNoRecords) return nullptr;
  if (results.empty()) return Recordset::FromResult(ResultSet{}, last_source_, shared_from_this());
  for (size_t i = 1; i < results.size(); ++i) pending_results_.push_back(std::move(results[i]));
  return Recordset::FromResult(std::move(results.front()), last_source_, shared_from_this());
}

std::shared_ptr<Recordset> Connection::Execute(std::string_view command_text,
                                               int64_t* records_affected, int options) {
  Driver& d = driver();
  const int32_t timeout = CommandTimeout;
  std::vector<ResultSet> results;
  if ((options & 0x0F) == kAdCmdStoredProc) {
    const std::string name(Trim(command_text));
    auto params = Guard([&] { return d.DescribeProcedure(name); });
    std::vector<Value> values(params.size(), Value::Null());
    StatementEvent event;
    event.kind = StatementEvent::Kind::kProcedure;
    event.text = name;
    event.parameters = &params;
    event.values = &values;
    results = Watch(event, [&] { return d.ExecuteProcedure(name, params, values, timeout); });
  } else {
    StatementEvent event;
    event.text = command_text;
    results = Watch(event, [&] { return d.Execute(command_text, timeout); });
  }
  return Deliver(std::move(results), command_text, records_affected, options);
}

std::shared_ptr<Recordset> Connection::Execute(std::string_view command_text,
                                               const std::vector<Value>& values,
                                               int64_t* records_affected, int options) {
  if ((options & 0x0F) == kAdCmdStoredProc) {
    throw DbError(kErrBadArgument, "Values are bound to text; a procedure takes them by name");
  }
  Driver& d = driver();
  const int32_t timeout = CommandTimeout;
  StatementEvent event;
  event.text = command_text;
  event.values = &values;
  std::vector<ResultSet> results =
      Watch(event, [&] { return d.Execute(command_text, values, timeout); });
  return Deliver(std::move(results), command_text, records_affected, options);
}

void Connection::ExecuteStreaming(std::string_view command_text, RowSink& sink) {
  Driver& d = driver();
  const int32_t timeout = CommandTimeout;
  pending_results_.clear();
  last_source_ = std::string(command_text);
  StatementEvent event;
  event.text = command_text;
  // The first result's count and rows, for the observer's report.
  class FirstResult final : public RowSink {
   public:
    FirstResult(RowSink& sink, StatementEvent& event) : sink_(sink), event_(event) {}
    void BeginResult(const std::vector<FieldInfo>& fields, int64_t records_affected) override {
      if (++results_ == 1) event_.records_affected = records_affected;
      sink_.BeginResult(fields, records_affected);
    }
    void Row(std::span<Value> values) override {
      if (results_ == 1) ++event_.rows;
      sink_.Row(values);
    }
    void EndResult(const std::vector<FieldInfo>& fields) override { sink_.EndResult(fields); }

   private:
    RowSink& sink_;
    StatementEvent& event_;
    int results_ = 0;
  } first(sink, event);
  Watch(event, [&] {
    d.ExecuteStreaming(command_text, timeout, first);
    return std::vector<ResultSet>{};
  });
}

std::shared_ptr<Recordset> Connection::NextRecordset() {
  if (pending_results_.empty()) return nullptr;
  ResultSet next = std::move(pending_results_.front());
  pending_results_.erase(pending_results_.begin());
  return Recordset::FromResult(std::move(next), last_source_, shared_from_this());
}

const std::vector<DriverMessage>& Connection::Errors() const { return errors_; }

void Connection::ClearErrors() { errors_.clear(); }

void Connection::Transact(StatementEvent::Kind kind, void (Driver::*call)()) {
  Driver& d = driver();
  StatementEvent event;
  event.kind = kind;
  event.records_affected = 0;
  Watch(event, [&] {
    (d.*call)();
    return std::vector<ResultSet>{};
  });
}

void Connection::BeginTrans() {
  Transact(StatementEvent::Kind::kBeginTrans, &Driver::BeginTransaction);
}

void Connection::CommitTrans() {
  Transact(StatementEvent::Kind::kCommitTrans, &Driver::CommitTransaction);
}

void Connection::RollbackTrans() {
  Transact(StatementEvent::Kind::kRollbackTrans, &Driver::RollbackTransaction);
}

void Connection::RollbackKeepingErrors() {
  if (!driver_ || !driver_->InTransaction()) return;
  const std::vector<DriverMessage> kept = errors_;
  try {
    RollbackTrans();
  } catch (const DbError&) {
    // the first failure is the one to report
  }
  errors_ = kept;
}

std::string Connection::RedactedConnectionString() const {
  try {
    return db::ConnectionString(ConnectionString).Redacted();
  } catch (const DbError&) {
    return db::ConnectionString::RedactText(ConnectionString);
  }
}

void Connection::SetSavepoint(const std::string& name) {
  Driver& d = driver();
  Guard([&] { d.Savepoint(name); });
}

void Connection::ReleaseSavepoint(const std::string& name) {
  Driver& d = driver();
  Guard([&] { d.ReleaseSavepoint(name); });
}

void Connection::RollbackToSavepoint(const std::string& name) {
  Driver& d = driver();
  Guard([&] { d.RollbackToSavepoint(name); });
}

std::string Connection::NewSavepointName() {
  return "orv_sp_" + std::to_string(++savepoints_made_);
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
  if (connection_.InTransaction()) {
    savepoint_ = connection_.NewSavepointName();
    connection_.SetSavepoint(savepoint_);
  } else {
    connection_.BeginTrans();
  }
}

Transaction::~Transaction() { Rollback(); }

void Transaction::Rollback() {
  if (done_) return;
  done_ = true;
  try {
    // An engine may have ended the transaction itself on the failure (a full
    // disk, a lost lock): then there is nothing left to undo.
    if (!connection_.IsOpen() || !connection_.driver().InTransaction()) return;
    if (nested()) {
      // Straight to the driver, so Errors() still tells why the work failed.
      connection_.driver().RollbackToSavepoint(savepoint_);
    } else {
      connection_.RollbackKeepingErrors();
    }
  } catch (...) {
    // nothing more can be done while unwinding
  }
}

void Transaction::Commit() {
  if (done_) throw DbError(kErrProvider, "The transaction has already ended");
  if (nested()) {
    connection_.ReleaseSavepoint(savepoint_);
  } else {
    connection_.CommitTrans();
  }
  done_ = true;
}

}  // namespace orv::db
