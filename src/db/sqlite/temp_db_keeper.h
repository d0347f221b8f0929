#ifndef ORV_DB_SQLITE_TEMP_DB_KEEPER_H_
#define ORV_DB_SQLITE_TEMP_DB_KEEPER_H_

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace orv::db::sqlite {

// The process-wide in-memory database that holds the host's global
// temporary tables ("##name"). Every embedded connection attaches it as
// "tempdb" (kAttachUri); it lives as long as one connection holds the keeper,
// because the keeper keeps a connection of its own open on it.
//
// The keeper also remembers which connection made which "##" table, so the
// tables of a connection can be dropped when it closes, as the host server
// does. Owners are opaque tokens (the driver object's address).
class TempDbKeeper {
 public:
  static constexpr const char* kAttachUri = "file:/tempdb?vfs=memdb";
  static constexpr const char* kSchemaName = "tempdb";

  // The keeper, opened on first use. Throws DbError when SQLite cannot open
  // the in-memory database.
  static std::shared_ptr<TempDbKeeper> Acquire();

  ~TempDbKeeper();
  TempDbKeeper(const TempDbKeeper&) = delete;
  TempDbKeeper& operator=(const TempDbKeeper&) = delete;

  // `name` is the host name with its "##".
  void SetOwner(std::string_view name, const void* owner);
  void Forget(std::string_view name);
  // Hands back (and forgets) the tables `owner` made.
  std::vector<std::string> ReleaseOwner(const void* owner);
  // Drops a table through the keeper's own connection; for tables whose
  // owner could not drop them itself.
  void DropTable(std::string_view name);

 private:
  TempDbKeeper() = default;
  static std::string Key(std::string_view name);

  std::mutex mutex_;
  sqlite3* db_ = nullptr;
  std::map<std::string, std::pair<std::string, const void*>> owners_;  // key -> name, owner
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_TEMP_DB_KEEPER_H_
