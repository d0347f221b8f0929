#include "db/sqlite/sqlite_error.h"

#include <sqlite3.h>

namespace orv::db::sqlite {

namespace {

constexpr std::string_view kTruncationPrefix = "truncated:";

}  // namespace

std::string TruncationCheckName(std::string_view table, std::string_view column) {
  return std::string(kTruncationPrefix) + std::string(table) + "." + std::string(column);
}

DbError SqliteError(sqlite3* db, int rc, int busy_timeout_ms) {
  const int extended = db ? sqlite3_extended_errcode(db) : rc;
  const std::string engine = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  std::string description;
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      description = "The database is locked by another connection (gave up after waiting " +
                    std::to_string(busy_timeout_ms) + " ms); nothing was changed.";
      break;
    case SQLITE_READONLY:
      description = "The database is read-only; nothing was changed (" + engine + ").";
      break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      description = "The database file is corrupt or is not a database (" + engine + ").";
      break;
    case SQLITE_INTERRUPT:
      description = "Query timeout expired";
      break;
    case SQLITE_FULL:
      description = "The disk is full; nothing was changed (" + engine + ").";
      break;
    default:
      description = engine;
  }
  if (extended == SQLITE_CONSTRAINT_CHECK) {
    // "CHECK constraint failed: truncated:TABLE.COLUMN"
    const size_t at = engine.find(kTruncationPrefix);
    if (at != std::string::npos) {
      const std::string name = engine.substr(at + kTruncationPrefix.size());
      const size_t dot = name.rfind('.');
      description = "String or binary data would be truncated in table '" +
                    name.substr(0, dot == std::string::npos ? name.size() : dot) + "', column '" +
                    (dot == std::string::npos ? std::string() : name.substr(dot + 1)) +
                    "'. The statement has been terminated.";
    }
  }
  return DbError(kErrProvider, description, {{extended, "HY000", description, "SQLite"}});
}

DbError DriverError(const std::string& description) {
  return DbError(kErrProvider, description, {{0, "HY000", description, "SQLite"}});
}

}  // namespace orv::db::sqlite
