#include "db/driver.h"

#include "db/ascii.h"
#include "db/db_error.h"

// The engines register nothing: OpenDriver calls their factories directly.
#include "db/sqlite/open_sqlite.h"
#ifdef ORV_HAVE_ODBC
#include "db/odbc/odbc_driver.h"
#define ORV_HAVE_ODBC_DRIVER 1
#endif

namespace orv::db {

void Driver::ExecuteStreaming(std::string_view sql, int32_t timeout_seconds, RowSink& sink) {
  for (ResultSet& result : Execute(sql, timeout_seconds)) {
    sink.BeginResult(result.fields, result.records_affected);
    for (std::vector<Value>& row : result.rows) sink.Row(row);
    sink.EndResult(result.fields);
  }
}

DriverKind SelectDriver(const ConnectionString& cs) {
  if (auto driver = cs.Find("Driver")) {
    std::string name = Trim(*driver);
    if (name.size() >= 2 && name.front() == '{' && name.back() == '}') {
      name = Trim(name.substr(1, name.size() - 2));
    }
    if (EqualsIgnoreCase(name, "SQLite") || EqualsIgnoreCase(name, "SQLite3")) {
      return DriverKind::kSqlite;
    }
    return DriverKind::kOdbc;
  }
  if (cs.Has("DSN") || cs.Has("FILEDSN") || cs.Has("Server") || cs.Has("Provider")) {
    return DriverKind::kOdbc;
  }
  if (cs.Has("Database") || cs.Has("Data Source")) return DriverKind::kSqlite;
  throw DbError(kErrBadArgument,
                "The connection string names no database (Database=, Data Source=, DSN= or "
                "Driver=): " +
                    cs.Redacted());
}

std::unique_ptr<Driver> OpenDriver(const ConnectionString& cs) {
  switch (SelectDriver(cs)) {
    case DriverKind::kSqlite:
      return sqlite::OpenSqliteDriver(cs);
    case DriverKind::kOdbc:
#ifdef ORV_HAVE_ODBC_DRIVER
      return odbc::OpenOdbcDriver(cs);
#else
      throw DbError(kErrProvider, "The ODBC driver is not part of this build: " + cs.Redacted());
#endif
  }
  throw DbError(kErrProvider, "No driver for: " + cs.Redacted());
}

std::unique_ptr<Driver> OpenDriver(std::string_view connection_string) {
  return OpenDriver(ConnectionString(connection_string));
}

}  // namespace orv::db
