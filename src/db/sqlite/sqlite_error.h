#ifndef ORV_DB_SQLITE_SQLITE_ERROR_H_
#define ORV_DB_SQLITE_SQLITE_ERROR_H_

#include <string>
#include <string_view>

#include "db/db_error.h"

struct sqlite3;

namespace orv::db::sqlite {

// The DbError for a failed SQLite call on `db` (which may be null): the
// engine's message, reworded where the bare message would leave the user
// guessing (locked, read-only, corrupt). `busy_timeout_ms` is what the
// connection waited before giving up on a lock.
DbError SqliteError(sqlite3* db, int rc, int busy_timeout_ms = 0);

// The name of the CHECK constraint the translator puts on a CHAR(n) or
// VARCHAR(n) column so that over-long text is refused as the server refuses
// it; SqliteError reports its failure in the server's words.
std::string TruncationCheckName(std::string_view table, std::string_view column);

// A DbError raised by the driver itself (not by SQLite), source "SQLite".
DbError DriverError(const std::string& description);

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_SQLITE_ERROR_H_
