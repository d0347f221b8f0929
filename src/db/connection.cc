#include "db/connection.h"

#include "db/ascii.h"
#include "db/statement_observer.h"

namespace orv::db {
namespace {

void ReplaceAll(std::string& text, const std::string& what, std::string_view with) {
  if (what.empty()) return;
  for (size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
}

[[noreturn]] void ThrowClosed() {
  throw DbError(kErrClosed, "Operation is not allowed when the object is closed");
}

}  // namespace

std::shared_ptr<Connection> Connection::Create() {
  return std::shared_ptr<Connection>(new Connection());
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
    if (errors_.empty()) Fail(e);  // a parse error never reached Guard
    throw;
  }
  driver_ = std::move(driver);
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
    results = Guard([&] {
      auto params = d.DescribeProcedure(name);
      std::vector<Value> values(params.size(), Value::Null());
      StatementObserver::Notify({name, true, &params, &values});
      return d.ExecuteProcedure(name, params, values, timeout);
    });
  } else {
    StatementObserver::Notify({command_text});
    results = Guard([&] { return d.Execute(command_text, timeout); });
  }
  return Deliver(std::move(results), command_text, records_affected, options);
}

std::shared_ptr<Recordset> Connection::NextRecordset() {
  if (pending_results_.empty()) return nullptr;
  ResultSet next = std::move(pending_results_.front());
  pending_results_.erase(pending_results_.begin());
  return Recordset::FromResult(std::move(next), last_source_, shared_from_this());
}

const std::vector<DriverMessage>& Connection::Errors() const { return errors_; }

void Connection::ClearErrors() { errors_.clear(); }

void Connection::BeginTrans() {
  Driver& d = driver();
  Guard([&] { d.BeginTransaction(); });
}

void Connection::CommitTrans() {
  Driver& d = driver();
  Guard([&] { d.CommitTransaction(); });
}

void Connection::RollbackTrans() {
  Driver& d = driver();
  Guard([&] { d.RollbackTransaction(); });
}

std::string Connection::RedactedConnectionString() const {
  try {
    return db::ConnectionString(ConnectionString).Redacted();
  } catch (const DbError&) {
    return db::ConnectionString::RedactText(ConnectionString);
  }
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
  connection_.BeginTrans();
}

Transaction::~Transaction() {
  if (done_) return;
  try {
    // Straight to the driver, so Errors() still tells why the work failed.
    if (connection_.IsOpen() && connection_.driver().InTransaction()) {
      connection_.driver().RollbackTransaction();
    }
  } catch (...) {
    // nothing more can be done while unwinding
  }
}

void Transaction::Commit() {
  connection_.CommitTrans();
  done_ = true;
}

}  // namespace orv::db
