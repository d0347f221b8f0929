// The project-node section on a scaled installation (10,000 nodes in
// company 1 at the default scale 0.2; ORV_NODES_BENCH_SCALE changes it):
// "Aggiorna" (work table dropped and rebuilt, the filter marked, the shown
// rows opened and bound), the same with a filter that keeps about a tenth of
// the projects, the MERGE alone, and one revoke click and one restore click
// (keyed batch update of the work row, the node's one FW3N_RVKNODI row
// inserted or deleted, change-log entry), beside raw SQLite doing the same
// two rows with prepared statements in the same process.
//
// The database is built once into nodes_scaled_<scale>.db beside this
// program and reused by later runs; ORV_NODES_BENCH_DB names another file.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <memory>
#include <regex>
#include <string>

#include "bench_editor.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "db/sqlite/sqlite_driver.h"
#include "db/sqlite/translator.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/host_database.h"
#include "sections/nodes/node_statements.h"
#include "sections/parameters/node_merge.h"
#include "session/headless_change_log.h"
#include "session/headless_global.h"
#include "session/headless_host.h"
#include "store/principal.h"

namespace {

using orv::bench::BenchEditor;
using orv::bench::RawSqlite;
using orv::bench::Seconds;
using orv::db::Recordset;
using orv::db::Value;

const std::string& Path() {
  static const std::string path = orv::bench::ScaledInstallationPath(
      "ORV_NODES_BENCH_DB", "nodes", orv::bench::ScaleFrom("ORV_NODES_BENCH_SCALE", 0.2));
  return path;
}

// The editor on the scaled installation, the node section shown for a user
// who has node revocations.
BenchEditor& Editor() {
  static BenchEditor editor(
      orv::hostdb::HostDatabase::ConnectionStringFor(Path()), [](BenchEditor& e) {
        e.User("SELECT MIN(FW3N_ID_FW07) FROM FW3N_RVKNODI WHERE FW3N_DITTA_CG18 = 1");
        e.host().ChooseSection("ITM_NODI");
      });
  return editor;
}

void Counters(benchmark::State& state, BenchEditor& e) {
  const std::shared_ptr<Recordset>& rs = e.window().work_recordset();
  state.counters["shown"] = static_cast<double>(rs ? rs->RecordCount() : 0);
  state.counters["nodes"] =
      static_cast<double>(e.Count("SELECT COUNT(*) FROM " + e.window().temp_table_name()));
  state.counters["fw3n_rows"] = static_cast<double>(e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI"));
}

void BM_LoadData(benchmark::State& state) {
  BenchEditor& e = Editor();
  e.host().Filter("Progetto", "", "");
  for (auto _ : state) e.window().LoadData();
  Counters(state, e);
}
BENCHMARK(BM_LoadData)->Unit(benchmark::kMillisecond);

// The floor of "Aggiorna": the statements it sends on SQLite alone (the work
// table and its key in the connection's own temporary schema), the shown rows read to
// their last column. With no filter the rows are included as the table is
// made; `marked` runs the former three statements instead (made, then every
// row marked by an UPDATE, then read).
void BM_LoadDataRawSqlite(benchmark::State& state, bool marked) {
  BenchEditor& e = Editor();
  static RawSqlite raw(Path());
  orv::db::sqlite::Translator translator;
  const orv::store::Principal p = e.window().CurrentPrincipal();
  auto plain = [&](const std::string& tsql) {
    std::string sql = translator.Translate(tsql)->steps.at(0).sql;
    sql = std::regex_replace(sql, std::regex(R"(tempdb\.)"), "temp.");
    return orv::bench::WrittenPlainly(
        std::regex_replace(sql, std::regex(R"("##orv_raw")"), "orv_raw"));
  };
  const std::string make = plain(
      orv::sections::NodeStatements::WorkTable("##orv_raw", p.user_id(), p.group_id(), 1, !marked));
  const std::string key = plain(orv::sections::NodeStatements::WorkTableKey("##orv_raw"));
  const std::string mark = plain(orv::sections::NodeStatements::MarkIncluded("##orv_raw", ""));
  const std::string shown = plain(orv::sections::NodeStatements::RowsShown("##orv_raw"));
  int64_t rows = 0;
  for (auto _ : state) {
    raw.Exec("DROP TABLE IF EXISTS temp.orv_raw");
    raw.Exec(make);
    raw.Exec(key);
    if (marked) raw.Exec(mark);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw.db(), shown.c_str(), -1, &stmt, nullptr);
    rows = RawSqlite::ReadAll(stmt);
    sqlite3_finalize(stmt);
  }
  state.counters["shown"] = static_cast<double>(rows);
}
BENCHMARK_CAPTURE(BM_LoadDataRawSqlite, made_included, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadDataRawSqlite, marked, true)->Unit(benchmark::kMillisecond);

// The floor as a hand-written program would do the same: the work table
// declared with the host's collation on every column, keyed while empty,
// filled by the translated query, the shown rows read through the key.
void BM_LoadDataRawSqliteKeyedFirst(benchmark::State& state) {
  BenchEditor& e = Editor();
  static RawSqlite raw(Path());
  orv::db::sqlite::Translator translator;
  const orv::store::Principal p = e.window().CurrentPrincipal();
  const std::string make =
      orv::sections::NodeStatements::WorkTable("##orv_raw", p.user_id(), p.group_id(), 1, true);
  const std::string query =
      orv::bench::WrittenPlainly(translator.Translate(make)->steps.at(0).into_query);
  // The columns as the query names and types them.
  raw.Exec("DROP TABLE IF EXISTS temp.orv_raw");
  raw.Exec("CREATE TABLE temp.orv_raw AS SELECT * FROM (" + query + ") LIMIT 0");
  std::string columns;
  sqlite3_stmt* info = raw.Prepare("SELECT name, type FROM pragma_table_info('orv_raw', 'temp')");
  while (sqlite3_step(info) == SQLITE_ROW) {
    columns += columns.empty() ? "\"" : ", \"";
    columns += reinterpret_cast<const char*>(sqlite3_column_text(info, 0));
    columns += "\" ";
    columns += reinterpret_cast<const char*>(sqlite3_column_text(info, 1));
    columns += " COLLATE HOSTCI";
  }
  sqlite3_reset(info);
  const std::string shown = std::regex_replace(
      translator.Translate(orv::sections::NodeStatements::RowsShown("##orv_raw"))->steps.at(0).sql,
      std::regex(R"(tempdb\."##orv_raw")"), "temp.orv_raw");
  int64_t rows = 0;
  for (auto _ : state) {
    raw.Exec("DROP TABLE IF EXISTS temp.orv_raw");
    raw.Exec("CREATE TABLE temp.orv_raw (" + columns + ")");
    raw.Exec("CREATE UNIQUE INDEX temp.IX_orv_raw ON orv_raw (PROGETTO, CODICE, DITTARAG)");
    raw.Exec("INSERT INTO temp.orv_raw " + query);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw.db(), shown.c_str(), -1, &stmt, nullptr);
    rows = RawSqlite::ReadAll(stmt);
    sqlite3_finalize(stmt);
  }
  state.counters["shown"] = static_cast<double>(rows);
}
BENCHMARK(BM_LoadDataRawSqliteKeyedFirst)->Unit(benchmark::kMillisecond);

void BM_LoadDataFiltered(benchmark::State& state) {
  BenchEditor& e = Editor();
  // The first tenth of the projects, by code.
  std::shared_ptr<Recordset> codes = e.connection()->Execute(
      "SELECT PD68_CODPROG FROM PD68_PROGETTI WHERE PD68_DITTA_CG18 = 1 ORDER BY PD68_CODPROG");
  const int64_t count = codes->RecordCount();
  codes->MoveFirst();
  const std::string first = codes->Field(0).ToText();
  for (int64_t i = 1; i < count / 10; ++i) codes->MoveNext();
  const std::string last = codes->Field(0).ToText();
  e.host().Filter("Progetto", first, last);
  for (auto _ : state) e.window().LoadData();
  Counters(state, e);
  e.host().Filter("Progetto", "", "");
}
BENCHMARK(BM_LoadDataFiltered)->Unit(benchmark::kMillisecond);

void BM_Merge(benchmark::State& state) {
  BenchEditor& e = Editor();
  e.window().LoadData();
  const int64_t before = e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI");
  for (auto _ : state) {
    if (!e.Section<orv::sections::NodeMerge>().ConfermaModificheNodi(Value(e.user()),
                                                                     Value::Null())) {
      state.SkipWithError("the merge failed");
      return;
    }
  }
  if (e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI") != before) {
    state.SkipWithError("a merge without changes changed the table");
  }
  Counters(state, e);
}
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond);

// Times the revoke click (or the restore click) alone on a node the user may
// still use; the other click of the pair puts the table back in between.
void BM_Click(benchmark::State& state, bool revoke) {
  BenchEditor& e = Editor();
  e.window().LoadData();
  std::shared_ptr<Recordset> rs = e.window().work_recordset();
  Recordset::Bookmark row = 0;
  std::string code;
  bool found = false;
  for (rs->MoveFirst(); !rs->IsEof() && !found; rs->MoveNext()) {
    if (rs->Field("ABILITATO").ToText() == "1") {
      row = rs->GetBookmark();
      code = orv::db::Trim(rs->Field("CODICE").ToText());
      found = true;
    }
  }
  if (!found) {
    state.SkipWithError("no allowed node");
    return;
  }
  auto click = [&](const char* before) {
    rs->SetBookmark(row);
    bool cancel = false;
    e.window().GRIDTIPOLOGIE_SelectionBoxClick(code, "ABILITATO", Value(before), cancel);
  };
  auto& log = e.host().global()->change_log();
  const size_t entries = log.entries().size();
  const int64_t rows = e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI");
  for (auto _ : state) {
    if (!revoke) click("1");
    const auto start = std::chrono::steady_clock::now();
    click(revoke ? "1" : "0");
    state.SetIterationTime(Seconds(start));
    if (revoke) click("0");
  }
  if (log.entries().size() != entries + 2 * static_cast<size_t>(state.iterations()) ||
      e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI") != rows) {
    state.SkipWithError("the clicks did not write what they should");
  }
  Counters(state, e);
}
BENCHMARK_CAPTURE(BM_Click, revoke, true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Click, restore, false)->UseManualTime()->Unit(benchmark::kMillisecond);

// The floor of a click: raw SQLite on the editor's own database handle, the
// work row updated by its key and the revocation row inserted (or deleted),
// each a prepared statement, as the click's two rows.
void BM_RawClick(benchmark::State& state, bool revoke) {
  BenchEditor& e = Editor();
  e.window().LoadData();
  auto* driver = dynamic_cast<orv::db::sqlite::SqliteDriver*>(&e.connection()->driver());
  if (driver == nullptr) {
    state.SkipWithError("not the embedded engine");
    return;
  }
  sqlite3* db = driver->handle();
  std::shared_ptr<Recordset> rs = e.window().work_recordset();
  std::string project;
  std::string node;
  int64_t company = 0;
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
    if (rs->Field("ABILITATO").ToText() == "1") {
      project = rs->Field("PROGETTO").ToText();
      node = rs->Field("CODICE").ToText();
      company = rs->Field("DITTARAG").ToInt64();
      break;
    }
  }
  if (project.empty()) {
    state.SkipWithError("no allowed node");
    return;
  }
  const std::string table = "tempdb.\"" + e.window().temp_table_name() + "\"";
  auto prepare = [&](const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      state.SkipWithError(sqlite3_errmsg(db));
    }
    return stmt;
  };
  sqlite3_stmt* work = prepare("UPDATE " + table +
                               " SET ABILITATO = ?1 WHERE DITTARAG = ?2 AND PROGETTO = ?3 AND "
                               "CODICE = ?4");
  sqlite3_stmt* insert = prepare(
      "INSERT INTO FW3N_RVKNODI (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW06, "
      "FW3N_ID_FW07) VALUES (?1, ?2, ?3, NULL, ?4)");
  sqlite3_stmt* remove = prepare(
      "DELETE FROM FW3N_RVKNODI WHERE FW3N_DITTA_CG18 = ?1 AND FW3N_CODPROG_PD68 = ?2 AND "
      "FW3N_CODNODO = ?3 AND FW3N_ID_FW06 IS NULL AND FW3N_ID_FW07 = ?4");
  if (!work || !insert || !remove) return;
  auto run = [&](bool revoked) {
    sqlite3_bind_int(work, 1, revoked ? 0 : 1);
    sqlite3_bind_int64(work, 2, company);
    sqlite3_bind_text(work, 3, project.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(work, 4, node.c_str(), -1, SQLITE_STATIC);
    sqlite3_step(work);
    sqlite3_reset(work);
    sqlite3_stmt* row = revoked ? insert : remove;
    sqlite3_bind_int64(row, 1, company);
    sqlite3_bind_text(row, 2, project.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(row, 3, node.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_int64(row, 4, e.user());
    sqlite3_step(row);
    sqlite3_reset(row);
  };
  const int64_t rows = e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI");
  for (auto _ : state) {
    if (!revoke) run(true);
    const auto start = std::chrono::steady_clock::now();
    run(revoke);
    state.SetIterationTime(Seconds(start));
    if (revoke) run(false);
  }
  sqlite3_finalize(work);
  sqlite3_finalize(insert);
  sqlite3_finalize(remove);
  if (e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI") != rows) {
    state.SkipWithError("the raw clicks did not write what they should");
  }
  Counters(state, e);
}
BENCHMARK_CAPTURE(BM_RawClick, revoke, true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RawClick, restore, false)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
