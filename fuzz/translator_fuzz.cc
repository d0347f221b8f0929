// Arbitrary text through the host-dialect translator: it must either give
// steps or throw DbError, never crash or hang. Every statement it gives must
// also be valid SQLite syntax: SQLite may still refuse it for an unknown
// table or function, but never for a syntax error, which would be a
// translation fault.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "db/db_error.h"
#include "db/sqlite/translator.h"

namespace {

sqlite3* Database() {
  static sqlite3* db = [] {
    sqlite3* d = nullptr;
    sqlite3_open(":memory:", &d);
    sqlite3_exec(d, "ATTACH ':memory:' AS tempdb", nullptr, nullptr, nullptr);
    return d;
  }();
  return db;
}

void CheckSyntax(const std::string& sql) {
  if (sql.empty()) return;
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(Database(), sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail);
  if (rc != SQLITE_OK) {
    const char* message = sqlite3_errmsg(Database());
    if (std::strstr(message, "syntax error") != nullptr ||
        std::strstr(message, "unrecognized token") != nullptr) {
      std::fprintf(stderr, "translated statement is not SQLite: %s\n%s\n", message, sql.c_str());
      std::abort();
    }
  }
  sqlite3_finalize(stmt);
}

void CheckSteps(const std::vector<orv::db::sqlite::Step>& steps) {
  for (const orv::db::sqlite::Step& step : steps) {
    CheckSyntax(step.sql);
    if (!step.condition_sql.empty()) CheckSyntax(step.condition_sql);
    CheckSteps(step.body);
    CheckSteps(step.else_body);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  orv::db::sqlite::Translator translator;
  try {
    std::shared_ptr<const orv::db::sqlite::Translation> t = translator.Translate(text);
    CheckSteps(t->steps);
    // The second call must come from the cache and be the same object.
    if (translator.Translate(text) != t) std::abort();
  } catch (const orv::db::DbError&) {
  }
  return 0;
}
