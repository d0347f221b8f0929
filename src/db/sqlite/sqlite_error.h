#ifndef ORV_DB_SQLITE_SQLITE_ERROR_H_
#define ORV_DB_SQLITE_SQLITE_ERROR_H_

#include <string>

#include "db/db_error.h"

struct sqlite3;

namespace orv::db::sqlite {

// The DbError for a failed SQLite call on `db` (which may be null): the
// engine's message, reworded where the bare message would leave the user
// guessing (locked, read-only, corrupt). `busy_timeout_ms` is what the
// connection waited before giving up on a lock.
DbError SqliteError(sqlite3* db, int rc, int busy_timeout_ms = 0);

// A DbError raised by the driver itself (not by SQLite), source "SQLite".
DbError DriverError(const std::string& description);

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_SQLITE_ERROR_H_
