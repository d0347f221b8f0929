#ifndef ORV_TESTS_DB_SQLITE_TRANSLATED_DB_H_
#define ORV_TESTS_DB_SQLITE_TRANSLATED_DB_H_

// A small test-only runner for translations on a raw SQLite connection: it
// runs the steps the way the embedded driver does (statements, IF, atomic
// groups), with a private "tempdb" attached and the driver's host collation
// and functions registered. It keeps the translator's tests independent of
// the driver's connection handling. Rows come back as text ("NULL" for NULL) so tests
// compare them as plain strings.

#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/sqlite/host_functions.h"
#include "db/sqlite/translator.h"

namespace orv::db::sqlite::testing {

using Rows = std::vector<std::vector<std::string>>;

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
    if (!RegisterHostFunctions(db)) throw std::runtime_error("cannot register host functions");
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
