#include "db/sqlite/temp_db_keeper.h"

#include <sqlite3.h>

#include "db/db_error.h"
#include "db/sqlite/host_functions.h"

namespace orv::db::sqlite {

std::shared_ptr<TempDbKeeper> TempDbKeeper::Acquire() {
  static std::mutex mutex;
  static std::weak_ptr<TempDbKeeper> current;
  std::lock_guard<std::mutex> lock(mutex);
  if (std::shared_ptr<TempDbKeeper> keeper = current.lock()) return keeper;
  std::shared_ptr<TempDbKeeper> keeper(new TempDbKeeper());
  const int rc =
      sqlite3_open_v2(kAttachUri, &keeper->db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = std::string("Cannot open the shared temporary database: ") +
                          (keeper->db_ ? sqlite3_errmsg(keeper->db_) : sqlite3_errstr(rc));
    throw DbError(kErrProvider, message, {{rc, "HY000", message, "SQLite"}});
  }
  // Dropping a table whose index uses HOSTCI needs the collation known here.
  RegisterHostFunctions(keeper->db_);
  sqlite3_busy_timeout(keeper->db_, 5000);
  current = keeper;
  return keeper;
}

TempDbKeeper::~TempDbKeeper() { sqlite3_close_v2(db_); }

std::string TempDbKeeper::Key(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return key;
}

void TempDbKeeper::SetOwner(std::string_view name, const void* owner) {
  std::lock_guard<std::mutex> lock(mutex_);
  owners_[Key(name)] = {std::string(name), owner};
}

void TempDbKeeper::Forget(std::string_view name) {
  std::lock_guard<std::mutex> lock(mutex_);
  owners_.erase(Key(name));
}

std::vector<std::string> TempDbKeeper::ReleaseOwner(const void* owner) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> names;
  for (auto it = owners_.begin(); it != owners_.end();) {
    if (it->second.second == owner) {
      names.push_back(it->second.first);
      it = owners_.erase(it);
    } else {
      ++it;
    }
  }
  return names;
}

void TempDbKeeper::DropTable(std::string_view name) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string sql = "DROP TABLE IF EXISTS \"";
  for (char c : name) {
    sql += c;
    if (c == '"') sql += '"';
  }
  sql += '"';
  sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

}  // namespace orv::db::sqlite
