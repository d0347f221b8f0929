#ifndef ORV_DB_SQLITE_SQLITE_HANDLES_H_
#define ORV_DB_SQLITE_SQLITE_HANDLES_H_

#include <sqlite3.h>

#include <memory>

namespace orv::db::sqlite {

// Owners of SQLite's C handles. Private to the driver's .cc files: no public
// header of the data layer includes sqlite3.h.
struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using DatabasePtr = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_SQLITE_HANDLES_H_
