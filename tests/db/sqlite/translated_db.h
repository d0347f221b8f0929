#ifndef ORV_TESTS_DB_SQLITE_TRANSLATED_DB_H_
#define ORV_TESTS_DB_SQLITE_TRANSLATED_DB_H_

// A small test-only runner for translations on a raw SQLite connection: it
// runs the steps the way the embedded driver does (statements, IF, atomic
// groups), with a private "tempdb" attached and the host collation and
// functions registered. Rows come back as text ("NULL" for NULL) so tests
// compare them as plain strings.

#include <sqlite3.h>

#include <atomic>
#include <cctype>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/sqlite/translator.h"

namespace orv::db::sqlite::testing {

using Rows = std::vector<std::vector<std::string>>;

inline int TestHostCi(void*, int na, const void* a, int nb, const void* b) {
  auto pa = static_cast<const unsigned char*>(a);
  auto pb = static_cast<const unsigned char*>(b);
  while (na > 0 && pa[na - 1] == ' ') --na;
  while (nb > 0 && pb[nb - 1] == ' ') --nb;
  for (int i = 0; i < na && i < nb; ++i) {
    int x = std::tolower(pa[i]), y = std::tolower(pb[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return na == nb ? 0 : (na < nb ? -1 : 1);
}

inline bool TestNumeric(sqlite3_value* v, double* out) {
  int t = sqlite3_value_type(v);
  if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
    *out = sqlite3_value_double(v);
    return true;
  }
  std::string s(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
  char* end = nullptr;
  *out = std::strtod(s.c_str(), &end);
  while (end && *end == ' ') ++end;
  return !s.empty() && end && *end == '\0';
}

inline void TestTsqlAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  int ta = sqlite3_value_type(argv[0]), tb = sqlite3_value_type(argv[1]);
  if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  if (ta == SQLITE_TEXT && tb == SQLITE_TEXT) {
    std::string r(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
    r += reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    sqlite3_result_text(ctx, r.c_str(), -1, SQLITE_TRANSIENT);
    return;
  }
  double a = 0, b = 0;
  if (!TestNumeric(argv[0], &a) || !TestNumeric(argv[1], &b)) {
    sqlite3_result_error(ctx, "Conversion failed", -1);
    return;
  }
  if (ta != SQLITE_FLOAT && tb != SQLITE_FLOAT && a == std::floor(a) && b == std::floor(b)) {
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(a) + static_cast<sqlite3_int64>(b));
  } else {
    sqlite3_result_double(ctx, a + b);
  }
}

inline void TestNewId(sqlite3_context* ctx, int, sqlite3_value**) {
  static std::atomic<int> counter{0};
  char buf[64];
  std::snprintf(buf, sizeof buf, "{%08X-0000-0000-0000-000000000000}", ++counter);
  sqlite3_result_text(ctx, buf, -1, SQLITE_TRANSIENT);
}

class TranslatedDb {
 public:
  explicit TranslatedDb(const Catalog* catalog = nullptr) : translator_(catalog) {
    static std::atomic<int> counter{0};
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) !=
        SQLITE_OK) {
      throw std::runtime_error("cannot open sqlite");
    }
    db_.reset(db);
    sqlite3_create_collation_v2(db, "HOSTCI", SQLITE_UTF8, nullptr, TestHostCi, nullptr);
    sqlite3_create_function_v2(db, "tsql_add", 2, SQLITE_UTF8, nullptr, TestTsqlAdd, nullptr,
                               nullptr, nullptr);
    sqlite3_create_function_v2(db, "tsql_newid", 0, SQLITE_UTF8, nullptr, TestNewId, nullptr,
                               nullptr, nullptr);
    std::string attach =
        "ATTACH 'file:/translator_test_" + std::to_string(++counter) + "?vfs=memdb' AS tempdb";
    Exec(attach);
  }

  // Runs host-dialect text; one result per step that returns rows.
  std::vector<Rows> Run(const std::string& tsql) {
    std::shared_ptr<const Translation> t = translator_.Translate(tsql);
    std::vector<Rows> results;
    RunSteps(t->steps, &results);
    return results;
  }

  // The single result of a batch that has exactly one.
  Rows Query(const std::string& tsql) {
    std::vector<Rows> results = Run(tsql);
    if (results.size() != 1) throw std::runtime_error("expected one result");
    return results[0];
  }

  // Plain SQLite text, for setting up fixtures without the translator.
  void Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      std::string message = error ? error : "?";
      sqlite3_free(error);
      throw std::runtime_error(message + " in: " + sql);
    }
  }

  Translator& translator() { return translator_; }
  sqlite3* db() { return db_.get(); }

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
  };
  struct StmtCloser {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
  };

  Rows RunSql(const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
      throw std::runtime_error(std::string(sqlite3_errmsg(db_.get())) + " in: " + sql);
    }
    std::unique_ptr<sqlite3_stmt, StmtCloser> stmt(raw);
    Rows rows;
    for (;;) {
      int rc = sqlite3_step(stmt.get());
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) {
        throw std::runtime_error(std::string(sqlite3_errmsg(db_.get())) + " in: " + sql);
      }
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(stmt.get()); ++i) {
        switch (sqlite3_column_type(stmt.get(), i)) {
          case SQLITE_NULL:
            row.push_back("NULL");
            break;
          case SQLITE_FLOAT: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%g", sqlite3_column_double(stmt.get(), i));
            row.push_back(buf);
            break;
          }
          default:
            row.push_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), i)));
        }
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }

  void RunSteps(const std::vector<Step>& steps, std::vector<Rows>* results) {
    for (const Step& step : steps) {
      switch (step.kind) {
        case Step::Kind::kStatement: {
          Rows rows = RunSql(step.sql);
          if (step.returns_rows) results->push_back(std::move(rows));
          break;
        }
        case Step::Kind::kIf: {
          Rows rows = RunSql(step.condition_sql);
          bool yes = !rows.empty() && rows[0][0] != "NULL" && rows[0][0] != "0";
          RunSteps(yes ? step.body : step.else_body, results);
          break;
        }
        case Step::Kind::kAtomic: {
          Exec("SAVEPOINT translated_atomic");
          try {
            RunSteps(step.body, results);
          } catch (...) {
            Exec("ROLLBACK TO translated_atomic");
            Exec("RELEASE translated_atomic");
            throw;
          }
          Exec("RELEASE translated_atomic");
          break;
        }
        default:
          throw std::runtime_error("step kind not run by the test runner");
      }
    }
  }

  std::unique_ptr<sqlite3, Closer> db_;
  Translator translator_;
};

}  // namespace orv::db::sqlite::testing

#endif  // ORV_TESTS_DB_SQLITE_TRANSLATED_DB_H_
