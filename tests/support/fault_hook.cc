#include "support/fault_hook.h"

#include <sqlite3.h>

#include <stdexcept>

namespace orv::testing {

const std::vector<std::string_view>& FaultHook::GestureTables() {
  static const std::vector<std::string_view> tables = {
      "FW31_RVKPARAMETRI", "FW32_RVKCLIFOR",       "FW3H_RVKARTICOLI", "FW3E_RVKDEPCOLL",
      "FW3N_RVKNODI",      "FW3C_LISTACFREVOCATI", "FW95_SETTINGS",    "FW90_LOGMODIFICHE",
  };
  return tables;
}

FaultHook::FaultHook(const std::string& database_path,
                     const std::vector<std::string_view>& tables) {
  if (sqlite3_open_v2(database_path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw std::runtime_error("fault hook: cannot open " + database_path + ": " + message);
  }
  sqlite3_busy_timeout(db_, 5000);
  Exec(
      "CREATE TABLE IF NOT EXISTS ORV_FAULT (N INTEGER NOT NULL, SEEN INTEGER NOT NULL, "
      "TBL TEXT NOT NULL)");
  Exec("DELETE FROM ORV_FAULT");
  Exec("INSERT INTO ORV_FAULT VALUES (0, 0, '')");
  for (std::string_view table : tables) {
    for (const char* op : {"INSERT", "UPDATE", "DELETE"}) {
      const std::string name = "ORV_FAULT_" + std::string(table) + "_" + op;
      Exec("CREATE TRIGGER " + name + " BEFORE " + op + " ON " + std::string(table) +
           " BEGIN UPDATE ORV_FAULT SET SEEN = SEEN + 1; "
           "SELECT RAISE(ABORT, 'injected fault') FROM ORV_FAULT WHERE (N > 0 AND SEEN = N) OR "
           "TBL = '" +
           std::string(table) + "'; END");
      triggers_.push_back(name);
    }
  }
}

FaultHook::~FaultHook() {
  for (const std::string& name : triggers_) {
    sqlite3_exec(db_, ("DROP TRIGGER IF EXISTS " + name).c_str(), nullptr, nullptr, nullptr);
  }
  sqlite3_exec(db_, "DROP TABLE IF EXISTS ORV_FAULT", nullptr, nullptr, nullptr);
  sqlite3_close(db_);
}

void FaultHook::Exec(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw std::runtime_error("fault hook: " + message + " in " + sql);
  }
}

void FaultHook::Count() { Exec("UPDATE ORV_FAULT SET N = 0, SEEN = 0, TBL = ''"); }

void FaultHook::FailNthWrite(int64_t n) {
  Exec("UPDATE ORV_FAULT SET N = " + std::to_string(n) + ", SEEN = 0, TBL = ''");
}

void FaultHook::FailTable(std::string_view table) {
  // Table names come from the test's own list, never from input.
  Exec("UPDATE ORV_FAULT SET N = 0, SEEN = 0, TBL = '" + std::string(table) + "'");
}

int64_t FaultHook::Seen() {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT SEEN FROM ORV_FAULT", -1, &stmt, nullptr) != SQLITE_OK) {
    throw std::runtime_error(std::string("fault hook: ") + sqlite3_errmsg(db_));
  }
  int64_t seen = 0;
  if (sqlite3_step(stmt) == SQLITE_ROW) seen = sqlite3_column_int64(stmt, 0);
  sqlite3_finalize(stmt);
  return seen;
}

}  // namespace orv::testing
