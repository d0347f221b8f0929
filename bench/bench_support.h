// What every benchmark program shares, the desktop one included: the scaled
// installation's file, SQLite alone on it for the floor each figure is set
// beside, the plain statements of the customer/supplier tree and a clock.

#ifndef ORV_BENCH_BENCH_SUPPORT_H_
#define ORV_BENCH_BENCH_SUPPORT_H_

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace benchmark {
class State;
}
struct sqlite3;
struct sqlite3_stmt;

namespace orv::bench {

// The scale named by the variable, or `fallback` when it is not set.
double ScaleFrom(const char* variable, double fallback);

// The file of the scaled installation: the one the variable `db_variable`
// names, else <stem>_scaled_<scale>.db beside this program. A missing file is
// built first, with its progress on stderr.
std::string ScaledInstallationPath(const char* db_variable, std::string_view stem, double scale);
// Its connection string.
std::string ScaledInstallation(const char* db_variable, std::string_view stem, double scale);

// The same database through SQLite alone, for the floor each figure is set
// beside: prepared statements, every column of every row read as SQLite
// gives it, nothing copied. The host collation and functions are registered
// (the schema's columns declare them), nothing else.
class RawSqlite {
 public:
  explicit RawSqlite(const std::string& path);
  ~RawSqlite();
  RawSqlite(const RawSqlite&) = delete;
  RawSqlite& operator=(const RawSqlite&) = delete;

  // Prepared once; owned by this object.
  sqlite3_stmt* Prepare(const std::string& sql);
  // Host-dialect text of one statement, translated as written, prepared.
  sqlite3_stmt* PrepareHost(const std::string& tsql);
  // Steps `stmt` to its end reading every column; the rows. Resets it.
  static int64_t ReadAll(sqlite3_stmt* stmt);
  // Runs `stmt` to its end; resets it and clears its bindings.
  void Run(sqlite3_stmt* stmt);
  void Exec(const std::string& sql);
  sqlite3* db() { return db_; }

 private:
  sqlite3* db_ = nullptr;
  std::vector<sqlite3_stmt*> statements_;
};

// Seconds since `from`, for manual iteration times.
double Seconds(std::chrono::steady_clock::time_point from);

// `sql`, translated without knowing the tables, with the conversions of an
// integer column to text and the concatenation of texts written plainly, as
// the engine writes them once it knows the columns' types.
std::string WrittenPlainly(std::string sql);

// The ten statements of the customer/supplier tree on SQLite alone as plain
// joins, each source read with its rows in use (what its table function
// returns) instead of joined with the function; prepared on `raw`. `clause`
// selects the principal (CliForStatements::PrincipalClause).
std::vector<sqlite3_stmt*> PlainTreeStatements(RawSqlite& raw, const std::string& clause);
// The floor of opening the program on the tree: the file at `path` opened on
// SQLite alone and the plain statements prepared and read; the rows.
int64_t OpenAndReadPlainTree(const std::string& path, const std::string& clause);
// That floor timed by hand in each iteration of `state`, its rows counted.
void TimeOpenAndReadPlainTree(benchmark::State& state, const std::string& path,
                              const std::string& clause);

}  // namespace orv::bench

#endif  // ORV_BENCH_BENCH_SUPPORT_H_
