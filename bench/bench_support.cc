#include "bench_support.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <stdexcept>

#include "db/sqlite/host_functions.h"
#include "db/sqlite/translator.h"
#include "hostdb/host_database.h"
#include "sections/clifor/clifor_statements.h"

namespace orv::bench {

namespace fs = std::filesystem;

double ScaleFrom(const char* variable, double fallback) {
  if (const char* s = std::getenv(variable)) return std::atof(s);
  return fallback;
}

std::string ScaledInstallation(const char* db_variable, std::string_view stem, double scale) {
  return hostdb::HostDatabase::ConnectionStringFor(
      ScaledInstallationPath(db_variable, stem, scale));
}

std::string ScaledInstallationPath(const char* db_variable, std::string_view stem, double scale) {
  std::string path;
  if (const char* named = std::getenv(db_variable)) {
    path = named;
  } else {
    char name[64];
    std::snprintf(name, sizeof name, "%.*s_scaled_%g.db", static_cast<int>(stem.size()),
                  stem.data(), scale);
    path = (fs::read_symlink("/proc/self/exe").parent_path() / name).string();
  }
  if (!fs::exists(path)) {
    std::fprintf(stderr, "building the scaled installation in %s\n", path.c_str());
    hostdb::HostDatabase::CreateScaled(path, {scale, 1}, [](std::string_view step, int pct) {
      std::fprintf(stderr, "\r%3d%% %-30.*s", pct, static_cast<int>(step.size()), step.data());
    });
    std::fprintf(stderr, "\n");
  }
  return path;
}

RawSqlite::RawSqlite(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
          SQLITE_OK ||
      !db::sqlite::RegisterHostFunctions(db_)) {
    std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), sqlite3_errmsg(db_));
    std::abort();
  }
  sqlite3_busy_timeout(db_, 5000);
  // The engine keeps its temporary tables and statement journals in memory;
  // the floor does the same, so that it does not pay a file the engine does
  // not write.
  sqlite3_exec(db_, "PRAGMA temp_store=MEMORY", nullptr, nullptr, nullptr);
  // Nor does it zero the pages its temporary tables free.
  sqlite3_exec(db_, "PRAGMA temp.secure_delete=OFF", nullptr, nullptr, nullptr);
}

RawSqlite::~RawSqlite() {
  for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
  sqlite3_close_v2(db_);
}

sqlite3_stmt* RawSqlite::Prepare(const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) !=
      SQLITE_OK) {
    std::fprintf(stderr, "cannot prepare %s: %s\n", sql.c_str(), sqlite3_errmsg(db_));
    std::abort();
  }
  statements_.push_back(stmt);
  return stmt;
}

sqlite3_stmt* RawSqlite::PrepareHost(const std::string& tsql) {
  db::sqlite::Translator translator;
  return Prepare(translator.Translate(tsql)->steps.at(0).sql);
}

int64_t RawSqlite::ReadAll(sqlite3_stmt* stmt) {
  int64_t rows = 0;
  int64_t sink = 0;
  const int columns = sqlite3_column_count(stmt);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    ++rows;
    for (int i = 0; i < columns; ++i) {
      switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER:
          sink += sqlite3_column_int64(stmt, i);
          break;
        case SQLITE_FLOAT:
          sink += static_cast<int64_t>(sqlite3_column_double(stmt, i));
          break;
        case SQLITE_NULL:
          break;
        default:
          sink += reinterpret_cast<intptr_t>(sqlite3_column_text(stmt, i)) != 0;
          sink += sqlite3_column_bytes(stmt, i);
      }
    }
  }
  sqlite3_reset(stmt);
  benchmark::DoNotOptimize(sink);
  return rows;
}

void RawSqlite::Run(sqlite3_stmt* stmt) {
  while (sqlite3_step(stmt) == SQLITE_ROW) {
  }
  if (sqlite3_reset(stmt) != SQLITE_OK) {
    std::fprintf(stderr, "statement failed: %s\n", sqlite3_errmsg(db_));
    std::abort();
  }
  sqlite3_clear_bindings(stmt);
}

void RawSqlite::Exec(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", sql.c_str(), error ? error : "?");
    std::abort();
  }
}

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

std::vector<sqlite3_stmt*> PlainTreeStatements(RawSqlite& raw, const std::string& clause) {
  using sections::CliForStatements;
  std::vector<sqlite3_stmt*> statements;
  for (auto statement :
       {&CliForStatements::MacroAreas, &CliForStatements::Areas, &CliForStatements::Zones,
        &CliForStatements::MacroCategories, &CliForStatements::Categories,
        &CliForStatements::SubCategories, &CliForStatements::Grouping1,
        &CliForStatements::Grouping2, &CliForStatements::Grouping3, &CliForStatements::Sites}) {
    std::string sql = statement(clause, 1);
    sql = std::regex_replace(sql, std::regex(R"(^\s*;)"), "");
    sql = std::regex_replace(sql, std::regex(R"(FROM (\w+) FF cross apply dbo\.\w+\([^)]*\) P)"),
                             "FROM $1 P");
    sql = std::regex_replace(sql, std::regex(R"(WHERE P\.(\w{4})_DITTA_CG18 = )"),
                             "WHERE P.$1_FLGOBSOLETO = 0 AND P.$1_DITTA_CG18 = ");
    statements.push_back(raw.PrepareHost(sql));
  }
  return statements;
}

int64_t OpenAndReadPlainTree(const std::string& path, const std::string& clause) {
  RawSqlite raw(path);
  int64_t rows = 0;
  for (sqlite3_stmt* stmt : PlainTreeStatements(raw, clause)) rows += RawSqlite::ReadAll(stmt);
  return rows;
}

void TimeOpenAndReadPlainTree(benchmark::State& state, const std::string& path,
                              const std::string& clause) {
  int64_t rows = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    rows = OpenAndReadPlainTree(path, clause);
    state.SetIterationTime(Seconds(start));
  }
  state.counters["tree_rows"] = static_cast<double>(rows);
}

std::string WrittenPlainly(std::string sql) {
  sql = std::regex_replace(
      sql, std::regex(R"(CASE WHEN typeof\((\w+)\) = 'real'.*? ELSE CAST\(\1 AS TEXT\) END)"),
      "CAST($1 AS TEXT)");
  sql = std::regex_replace(
      sql, std::regex(R"(tsql_add\((substr\(CAST\(\w+ AS TEXT\), 1, \d+\) \|\| ' - '), (\w+)\))"),
      "($1 || $2)");
  // A floor that still called the host's functions would not be one.
  if (sql.find("typeof(") != std::string::npos || sql.find("tsql_add(") != std::string::npos) {
    throw std::logic_error("a conversion or concatenation is not written plainly: " + sql);
  }
  return sql;
}

}  // namespace orv::bench
