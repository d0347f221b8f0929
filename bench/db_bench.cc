// One indexed point lookup through the data layer (Connection::Execute with
// the statement text the module would build) against the same lookup on raw
// sqlite3 with a prepared statement, on a table of 1,000,000 rows.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sqlite/host_functions.h"

namespace {

constexpr int kRows = 1'000'000;

std::string Code(int64_t i) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "C%09lld", static_cast<long long>(i));
  return buffer;
}

// The database file, made once per process and removed at exit.
class Database {
 public:
  static const Database& Get() {
    static Database database;
    return database;
  }
  const std::string& path() const { return path_; }

 private:
  Database() {
    path_ = (std::filesystem::temp_directory_path() /
             ("orv_db_bench_" + std::to_string(getpid()) + ".db"))
                .string();
    sqlite3* db = nullptr;
    sqlite3_open(path_.c_str(), &db);
    orv::db::sqlite::RegisterHostFunctions(db);
    // The host's shape: a text code under the host collation, unique.
    const char* setup =
        "PRAGMA journal_mode=WAL;"
        "CREATE TABLE T (ID INTEGER PRIMARY KEY, CODE VARCHAR(20) COLLATE HOSTCI NOT NULL, "
        "NAME VARCHAR(40));"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
        "INSERT INTO T (ID, CODE, NAME) SELECT i, printf('C%09d', i), 'name ' || i FROM n;"
        "CREATE UNIQUE INDEX T_CODE ON T (CODE);";
    char* error = nullptr;
    if (sqlite3_exec(db, setup, nullptr, nullptr, &error) != SQLITE_OK) {
      std::fprintf(stderr, "setup failed: %s\n", error ? error : "?");
      std::abort();
    }
    sqlite3_close(db);
  }
  ~Database() {
    std::filesystem::remove(path_);
    std::filesystem::remove(path_ + "-wal");
    std::filesystem::remove(path_ + "-shm");
  }

  std::string path_;
};

void BM_RawSqlitePreparedLookup(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(Database::Get().path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  orv::db::sqlite::RegisterHostFunctions(db);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "SELECT ID, NAME FROM T WHERE CODE = ?", -1, &stmt, nullptr);
  int64_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    const std::string code = Code(1 + (i++ * 7919) % kRows);
    sqlite3_bind_text(stmt, 1, code.data(), static_cast<int>(code.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      found += sqlite3_column_int64(stmt, 0) > 0;
      benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
    }
    sqlite3_reset(stmt);
  }
  if (found != static_cast<int64_t>(state.iterations())) state.SkipWithError("row not found");
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}
BENCHMARK(BM_RawSqlitePreparedLookup);

void BM_RawSqlitePreparedSameKey(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(Database::Get().path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  orv::db::sqlite::RegisterHostFunctions(db);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "SELECT ID, NAME FROM T WHERE CODE = ?", -1, &stmt, nullptr);
  const std::string code = Code(123457);
  int64_t found = 0;
  for (auto _ : state) {
    sqlite3_bind_text(stmt, 1, code.data(), static_cast<int>(code.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      found += sqlite3_column_int64(stmt, 0) > 0;
      benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
    }
    sqlite3_reset(stmt);
  }
  if (found != static_cast<int64_t>(state.iterations())) state.SkipWithError("row not found");
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}
BENCHMARK(BM_RawSqlitePreparedSameKey);

// Statement text with the value written in, as the module builds it: every
// lookup is a new text (translated and prepared anew).
void BM_ConnectionExecuteLookup(benchmark::State& state) {
  auto connection = orv::db::Connection::Create();
  connection->Open("Driver=SQLite;Database=" + Database::Get().path());
  int64_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    const std::string sql =
        "SELECT ID, NAME FROM T WHERE CODE = '" + Code(1 + (i++ * 7919) % kRows) + "'";
    std::shared_ptr<orv::db::Recordset> rs = connection->Execute(sql);
    if (!rs->IsEof()) {
      ++found;
      benchmark::DoNotOptimize(rs->Field("NAME"));
    }
  }
  if (found != static_cast<int64_t>(state.iterations())) state.SkipWithError("row not found");
}
BENCHMARK(BM_ConnectionExecuteLookup);

// The same text every time: what the translation and statement caches save.
void BM_ConnectionExecuteSameText(benchmark::State& state) {
  auto connection = orv::db::Connection::Create();
  connection->Open("Driver=SQLite;Database=" + Database::Get().path());
  const std::string sql = "SELECT ID, NAME FROM T WHERE CODE = '" + Code(123457) + "'";
  int64_t found = 0;
  for (auto _ : state) {
    std::shared_ptr<orv::db::Recordset> rs = connection->Execute(sql);
    if (!rs->IsEof()) ++found;
  }
  if (found != static_cast<int64_t>(state.iterations())) state.SkipWithError("row not found");
}
BENCHMARK(BM_ConnectionExecuteSameText);

}  // namespace

BENCHMARK_MAIN();
