#ifndef ORV_DB_SQLITE_OPEN_SQLITE_H_
#define ORV_DB_SQLITE_OPEN_SQLITE_H_

#include <memory>

#include "db/connection_string.h"
#include "db/driver.h"

namespace orv::db::sqlite {

// Opens the embedded driver for a connection string whose Database= (or
// Data Source=) names a file, ":memory:" or a "file:" URI. Defined by the
// SQLite driver. Throws DbError with a clear message (missing file, read-only,
// locked, not a database); never echoes a password.
std::unique_ptr<Driver> OpenSqliteDriver(const ConnectionString& connection_string);

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_OPEN_SQLITE_H_
