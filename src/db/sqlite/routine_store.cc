#include "db/sqlite/routine_store.h"

#include <sqlite3.h>

#include <string>

#include "db/sqlite/sqlite_error.h"
#include "db/sqlite/sqlite_handles.h"

namespace orv::db::sqlite {
namespace {

constexpr char kSeparator = '\n';

std::string Join(const std::vector<std::string>& items) {
  std::string joined;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) joined += kSeparator;
    joined += items[i];
  }
  return joined;
}

std::vector<std::string> Split(const std::string& joined) {
  std::vector<std::string> items;
  if (joined.empty()) return items;
  size_t start = 0;
  for (;;) {
    size_t end = joined.find(kSeparator, start);
    items.push_back(joined.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return items;
}

std::string ColumnText(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

StatementPtr Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* raw = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
  StatementPtr stmt(raw);
  if (rc != SQLITE_OK) throw SqliteError(db, rc);
  return stmt;
}

}  // namespace

std::vector<Step::Routine> RoutineStore::LoadAll() const {
  std::vector<Step::Routine> routines;
  StatementPtr exists = Prepare(
      db_, "SELECT 1 FROM main.sqlite_schema WHERE type = 'table' AND name = 'ORV_ROUTINES'");
  int rc = sqlite3_step(exists.get());
  if (rc == SQLITE_DONE) return routines;
  if (rc != SQLITE_ROW) throw SqliteError(db_, rc);
  StatementPtr stmt =
      Prepare(db_, "SELECT NAME, TYPE, PARAMS, PARAM_TYPES, BODY FROM main.ORV_ROUTINES");
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    Step::Routine routine;
    routine.name = ColumnText(stmt.get(), 0);
    routine.type = ColumnText(stmt.get(), 1) == "FUNCTION" ? Step::Routine::Type::kTableFunction
                                                           : Step::Routine::Type::kProcedure;
    routine.params = Split(ColumnText(stmt.get(), 2));
    routine.param_types = Split(ColumnText(stmt.get(), 3));
    routine.param_types.resize(routine.params.size());
    routine.body = ColumnText(stmt.get(), 4);
    routines.push_back(std::move(routine));
  }
  if (rc != SQLITE_DONE) throw SqliteError(db_, rc);
  return routines;
}

void RoutineStore::Save(const Step::Routine& routine) const {
  char* error = nullptr;
  int rc = sqlite3_exec(db_,
                        "CREATE TABLE IF NOT EXISTS main.ORV_ROUTINES ("
                        "NAME TEXT COLLATE HOSTCI PRIMARY KEY NOT NULL, TYPE TEXT NOT NULL, "
                        "PARAMS TEXT NOT NULL, PARAM_TYPES TEXT NOT NULL, BODY TEXT NOT NULL)",
                        nullptr, nullptr, &error);
  sqlite3_free(error);
  if (rc != SQLITE_OK) throw SqliteError(db_, rc);
  StatementPtr stmt = Prepare(db_,
                              "INSERT INTO main.ORV_ROUTINES (NAME, TYPE, PARAMS, PARAM_TYPES, "
                              "BODY) VALUES (?1, ?2, ?3, ?4, ?5)");
  const std::string params = Join(routine.params);
  const std::string types = Join(routine.param_types);
  const char* type = routine.type == Step::Routine::Type::kTableFunction ? "FUNCTION" : "PROCEDURE";
  sqlite3_bind_text(stmt.get(), 1, routine.name.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(stmt.get(), 2, type, -1, SQLITE_STATIC);
  sqlite3_bind_text(stmt.get(), 3, params.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(stmt.get(), 4, types.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(stmt.get(), 5, routine.body.c_str(), -1, SQLITE_TRANSIENT);
  rc = sqlite3_step(stmt.get());
  if ((rc & 0xff) == SQLITE_CONSTRAINT) {
    throw DriverError("There is already an object named '" + routine.name + "' in the database.");
  }
  if (rc != SQLITE_DONE) throw SqliteError(db_, rc);
}

}  // namespace orv::db::sqlite
