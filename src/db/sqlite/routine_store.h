#ifndef ORV_DB_SQLITE_ROUTINE_STORE_H_
#define ORV_DB_SQLITE_ROUTINE_STORE_H_

#include <vector>

#include "db/sqlite/translation.h"

struct sqlite3;

namespace orv::db::sqlite {

// The host routines (stored procedures, inline table functions) kept in the
// host database itself, in the table ORV_ROUTINES, created on the first
// CREATE PROCEDURE / FUNCTION. Names compare as the host does (HOSTCI).
class RoutineStore {
 public:
  static constexpr const char* kTable = "ORV_ROUTINES";

  explicit RoutineStore(sqlite3* db) : db_(db) {}

  // Every stored routine; empty when the table does not exist yet.
  std::vector<Step::Routine> LoadAll() const;

  // Stores a new routine. Throws DbError when one of that name exists, as
  // the host server refuses a second object of the same name.
  void Save(const Step::Routine& routine) const;

 private:
  sqlite3* db_;  // not owned
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_ROUTINE_STORE_H_
