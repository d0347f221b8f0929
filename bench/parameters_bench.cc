// The parameter sections on the scaled installation (1,000,000 rows in
// FW31_RVKPARAMETRI at scale 1): loading a 10,000-item catalogue, one revoke
// click and one restore click with their change-log entries, and the same
// clicks when the existence test reads the whole table and filters it on the
// client.
//
// The scaled database is built once (about a minute) into
// parameters_scaled_1.db beside this program and reused by later runs;
// ORV_PARAMETERS_BENCH_DB names another file. Each click commits, so on a
// disk the click figures are mostly the journal's sync; a copy of the file
// on a memory file system (/dev/shm) shows the cost of the click itself.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <memory>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "bench_editor.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "db/sql_literal.h"
#include "db/sqlite/translator.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/host_database.h"
#include "sections/parameters/parameter_statements.h"
#include "session/headless_change_log.h"
#include "session/headless_global.h"
#include "session/headless_host.h"
#include "store/principal.h"
#include "zere_orvelka/message_service.h"

namespace {

using orv::bench::BenchEditor;
using orv::bench::RawSqlite;
using orv::bench::Seconds;
using orv::db::Recordset;
using orv::db::Value;
using orv::sections::ParameterStatements;

// An ordinary user: 500 (about 1,000 parameter rows at scale 1), or the
// middle one when a smaller installation has fewer users.
constexpr const char* kUser =
    "SELECT CASE WHEN MAX(FW07_ID) >= 500 THEN 500 ELSE MAX(FW07_ID) / 2 END FROM FW07_APPUSER";

const std::string& Path() {
  static const std::string path =
      orv::bench::ScaledInstallationPath("ORV_PARAMETERS_BENCH_DB", "parameters",
                                         orv::bench::ScaleFrom("ORV_PARAMETERS_BENCH_SCALE", 1.0));
  return path;
}

// The editor on the scaled installation (scale 1 unless the variable says
// otherwise), an ordinary user (kUser) selected.
BenchEditor& Editor() {
  static BenchEditor editor(orv::hostdb::HostDatabase::ConnectionStringFor(Path()),
                            [](BenchEditor& e) { e.User(kUser); });
  return editor;
}

// Opening the editor (headless host, administrator, company 1) and picking
// the user, which loads the default section for them; closing is not timed.
void BM_OpenAndPickUser(benchmark::State& state) {
  const std::string connection = orv::hostdb::HostDatabase::ConnectionStringFor(Path());
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto e = std::make_unique<BenchEditor>(connection, [](BenchEditor& x) { x.User(kUser); });
    state.SetIterationTime(orv::bench::Seconds(start));
  }
}
BENCHMARK(BM_OpenAndPickUser)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Shows a section and loads its catalogue.
void Show(BenchEditor& e, const char* key) {
  e.host().ChooseSection(key);
  if (std::string_view(key) == "ITM50026") e.host().Button("CMD_UPDATE");
}

void BM_LoadData(benchmark::State& state, const char* key) {
  BenchEditor& e = Editor();
  Show(e, key);
  for (auto _ : state) {
    e.window().LoadData();
  }
  const std::shared_ptr<Recordset>& rs = e.window().work_recordset();
  state.counters["items"] = static_cast<double>(rs ? rs->RecordCount() : 0);
  state.counters["fw31_rows"] =
      static_cast<double>(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"));
}
BENCHMARK_CAPTURE(BM_LoadData, warehouses, "ITM50017")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadData, projects, "ITM50026")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadData, simulations, "ITM50016")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadData, blocking, "ITM_MODBLOCCO")->Unit(benchmark::kMillisecond);

// The floor of a catalogue: the section's statement on SQLite alone, with the
// conversions it needs written plainly (a code already text no longer than
// the target taken as it is, a company number printed as its integer, texts
// joined by '||'), every column of every row read.
void BM_CatalogueRawSqlite(benchmark::State& state, int32_t kind) {
  BenchEditor& e = Editor();
  static RawSqlite raw(Path());
  orv::db::sqlite::Translator translator;
  std::string sql =
      translator.Translate(ParameterStatements::Catalogue(kind, e.window().CurrentPrincipal(), 1))
          ->steps.at(0)
          .sql;
  sql = std::regex_replace(
      sql, std::regex(R"(substr\(CASE WHEN typeof\(PD68_CODPROG\).*? END, 1, 25\) COLLATE HOSTCI)"),
      "PD68_CODPROG");
  sqlite3_stmt* stmt = raw.Prepare(orv::bench::WrittenPlainly(sql));
  int64_t rows = 0;
  for (auto _ : state) rows = RawSqlite::ReadAll(stmt);
  state.counters["items"] = static_cast<double>(rows);
}
BENCHMARK_CAPTURE(BM_CatalogueRawSqlite, warehouses, 6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CatalogueRawSqlite, projects, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CatalogueRawSqlite, simulations, 15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CatalogueRawSqlite, blocking, 30)->Unit(benchmark::kMillisecond);

// The catalogue statement alone (no copy into the work recordset).
void BM_CatalogueQuery(benchmark::State& state, int32_t kind) {
  BenchEditor& e = Editor();
  const std::string sql = ParameterStatements::Catalogue(kind, e.window().CurrentPrincipal(), 1);
  int64_t rows = 0;
  for (auto _ : state) {
    std::shared_ptr<Recordset> rs = e.connection()->Execute(sql);
    rows = rs->RecordCount();
  }
  state.counters["items"] = static_cast<double>(rows);
}
// The same through the driver alone (no recordset made of the result).
void BM_CatalogueDriver(benchmark::State& state, int32_t kind) {
  BenchEditor& e = Editor();
  const std::string sql = ParameterStatements::Catalogue(kind, e.window().CurrentPrincipal(), 1);
  size_t rows = 0;
  for (auto _ : state) {
    rows = e.connection()->driver().Execute(sql, 0).at(0).rows.size();
  }
  state.counters["items"] = static_cast<double>(rows);
}
BENCHMARK_CAPTURE(BM_CatalogueDriver, blocking, 30)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CatalogueQuery, warehouses, 6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CatalogueQuery, projects, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CatalogueQuery, simulations, 15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CatalogueQuery, blocking, 30)->Unit(benchmark::kMillisecond);

// The first blocking parameter the user may still use, as a bookmark of
// the work recordset.
struct Item {
  Recordset::Bookmark bookmark = 0;
  std::string code;
  std::string company;
};

bool FindAllowedItem(BenchEditor& e, Item& item) {
  Show(e, "ITM_MODBLOCCO");
  std::shared_ptr<Recordset> rs = e.window().work_recordset();
  if (!rs || rs->RecordCount() == 0) return false;
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
    if (rs->Field("ABILITATO").ToText() == "1") {
      item.bookmark = rs->GetBookmark();
      item.code = orv::db::Trim(rs->Field("CODICE").ToText());
      item.company = rs->Field("DITTARAG").ToText();
      return true;
    }
  }
  return false;
}

// One click on the item's box with the value the grid would report.
void ClickItem(BenchEditor& e, const Item& item, const char* before) {
  e.window().work_recordset()->SetBookmark(item.bookmark);
  bool cancel = false;
  e.window().GRIDTIPOLOGIE_SelectionBoxClick(item.code, "ABILITATO", Value(before), cancel);
}

// Times the revoke click (or the restore click) alone; the other click of
// the pair puts the table back between iterations.
void BM_Click(benchmark::State& state, bool revoke) {
  BenchEditor& e = Editor();
  Item item;
  if (!FindAllowedItem(e, item)) {
    state.SkipWithError("no allowed item");
    return;
  }
  auto& log = e.host().global()->change_log();
  const size_t entries = log.entries().size();
  const std::string exists =
      "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = " + std::to_string(e.user()) +
      " AND FW31_INDTIPO = 30 AND FW31_CODTIPO = '" + item.code + "'";
  for (auto _ : state) {
    if (!revoke) ClickItem(e, item, "1");
    const auto start = std::chrono::steady_clock::now();
    ClickItem(e, item, revoke ? "1" : "0");
    state.SetIterationTime(Seconds(start));
    if (revoke) ClickItem(e, item, "0");
  }
  if (log.entries().size() != entries + 2 * static_cast<size_t>(state.iterations()) ||
      e.Count(exists) != 0) {
    state.SkipWithError("the clicks did not write what they should");
  }
}
BENCHMARK_CAPTURE(BM_Click, revoke, true)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Click, restore, false)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same clicks with the existence test as a read of the whole table
// filtered on the client; the write and the change-log entry as the clicks
// make them.
void WriteLog(BenchEditor& e, const std::string& code, const char* flag) {
  auto& log = e.host().global()->change_log();
  const orv::store::Principal p = e.window().CurrentPrincipal();
  std::string text = log.FormatGroup(p.GroupName()) + log.FormatUser(p.UserName()) +
                     log.FormatDetail(1, "") + log.FormatDetail(2, "") + log.FormatDetail(3, code) +
                     log.FormatDetail(4, flag);
  log.WriteEntry(16, text);
}

// The baseline the existence test replaced: the whole table read and one
// item's row picked out on the client, with the filter criteria it used.
constexpr std::string_view kSelectAll = "SELECT * FROM FW31_RVKPARAMETRI";

std::string ItemFilter(const orv::store::Principal& p, const Item& item) {
  return "FW31_ID_FW07 = " + p.UserValue("NULL") + " AND FW31_ID_FW06 = " + p.GroupValue("NULL") +
         " AND FW31_INDTIPO = 30 AND FW31_CODTIPO = " + orv::db::SqlQuote(item.code) +
         " AND FW31_DITTARAGG = " + std::string(item.company);
}

void LiteralRevoke(BenchEditor& e, const Item& item) {
  const orv::store::Principal p = e.window().CurrentPrincipal();
  orv::db::Connection& cn = *e.connection();
  std::shared_ptr<Recordset> all = cn.Execute(kSelectAll);
  all->SetFilter(ItemFilter(p, item));
  const std::string sql =
      all->IsEof()
          ? ParameterStatements::InsertRevocation(p, 30, item.code, item.company, 0, 0, 0, 0)
          : ParameterStatements::UpdateRevocation(p, 30, item.code, item.company, 0, 0, 0, 0);
  cn.Execute(sql, nullptr, orv::db::kAdExecuteNoRecords);
  WriteLog(e, item.code, "No");
}

void LiteralRestore(BenchEditor& e, const Item& item) {
  const orv::store::Principal p = e.window().CurrentPrincipal();
  orv::db::Connection& cn = *e.connection();
  std::shared_ptr<Recordset> all = cn.Execute(kSelectAll);
  all->SetFilter(ItemFilter(p, item));
  if (!all->IsEof()) {
    cn.Execute(ParameterStatements::DeleteRevocation(p, 30, item.code, item.company), nullptr,
               orv::db::kAdExecuteNoRecords);
    WriteLog(e, item.code, "Si");
  }
}

void BM_LiteralClick(benchmark::State& state, bool revoke) {
  BenchEditor& e = Editor();
  Item item;
  if (!FindAllowedItem(e, item)) {
    state.SkipWithError("no allowed item");
    return;
  }
  for (auto _ : state) {
    if (!revoke) ClickItem(e, item, "1");
    const auto start = std::chrono::steady_clock::now();
    if (revoke) {
      LiteralRevoke(e, item);
    } else {
      LiteralRestore(e, item);
    }
    state.SetIterationTime(Seconds(start));
    if (revoke) ClickItem(e, item, "0");
  }
}
BENCHMARK_CAPTURE(BM_LiteralClick, revoke, true)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LiteralClick, restore, false)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// "Disabilita tutti" on the blocking parameters (10,000 items at scale 1):
// every item revoked, written as a set in one transaction. Every iteration
// starts from the user without rows of that kind, the catalogue loaded
// (neither timed); three of them, as the floor runs, so that both find the
// table's pages read already. On a file with full sync the commit is a
// sync of the disk.
constexpr const char* kBlockingRows =
    " FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 30 AND FW31_ID_FW06 IS NULL AND FW31_ID_FW07 = ";

// Keeps the user's blocking rows as they were before a revoke-all benchmark
// and puts them back after it, so that later runs find allowed items.
class KeptBlockingRows {
 public:
  KeptBlockingRows(RawSqlite& raw, const std::string& user) : raw_(raw), user_(user) {
    raw_.Exec("DROP TABLE IF EXISTS temp.orv_kept_rows");
    raw_.Exec(std::string("CREATE TEMP TABLE orv_kept_rows AS SELECT *") + kBlockingRows + user_);
  }
  ~KeptBlockingRows() {
    raw_.Exec(std::string("DELETE") + kBlockingRows + user_);
    raw_.Exec("INSERT INTO FW31_RVKPARAMETRI SELECT * FROM temp.orv_kept_rows");
    raw_.Exec("DROP TABLE temp.orv_kept_rows");
  }
  KeptBlockingRows(const KeptBlockingRows&) = delete;
  KeptBlockingRows& operator=(const KeptBlockingRows&) = delete;

 private:
  RawSqlite& raw_;
  std::string user_;
};

void BM_DisableAll(benchmark::State& state) {
  BenchEditor& e = Editor();
  static RawSqlite raw(Path());
  const std::string user = std::to_string(e.user());
  KeptBlockingRows kept(raw, user);
  int64_t rows = 0;
  for (auto _ : state) {
    raw.Exec(std::string("DELETE") + kBlockingRows + user);
    Show(e, "ITM_MODBLOCCO");
    e.host().answers().Push(orv::host::kVbYes);
    const auto start = std::chrono::steady_clock::now();
    e.host().Button("VRX_DISABILITATUTTI");
    state.SetIterationTime(Seconds(start));
    rows = e.Count(std::string("SELECT COUNT(*)") + kBlockingRows + user);
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_DisableAll)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// The blocking parameters of company 1 (code, company), as SQLite alone
// reads them for the floors of the revoke-all.
using BlockingItems = std::vector<std::pair<std::string, int64_t>>;
BlockingItems ReadBlockingItems(RawSqlite& raw) {
  sqlite3_stmt* items = raw.Prepare(
      "SELECT MG0F_CODPARAM, MG0F_DITTA_CG18 FROM MG0F_BLMPARAM WHERE MG0F_DITTA_CG18 = 1");
  BlockingItems codes;
  while (sqlite3_step(items) == SQLITE_ROW) {
    codes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(items, 0)),
                       sqlite3_column_int64(items, 1));
  }
  sqlite3_reset(items);
  return codes;
}

// The floor's walk: in one transaction, per item an existence test of the
// user's row, then `write` (?1 user, ?2 code, ?3 company) where the row is
// there (`when_found`) or where it is not; the rows written.
sqlite3_stmt* PrepareExistence(RawSqlite& raw) {
  return raw.Prepare(
      "SELECT 1 FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = ?1 AND FW31_ID_FW06 IS NULL AND "
      "FW31_INDTIPO = 30 AND FW31_CODTIPO = ?2 AND FW31_DITTARAGG = ?3 LIMIT 1");
}
int64_t WriteRowByRow(RawSqlite& raw, int64_t user, const BlockingItems& codes,
                      sqlite3_stmt* exists, sqlite3_stmt* write, bool when_found) {
  raw.Exec("BEGIN");
  int64_t rows = 0;
  for (const auto& [code, company] : codes) {
    for (sqlite3_stmt* stmt : {exists, write}) {
      sqlite3_bind_int64(stmt, 1, user);
      sqlite3_bind_text(stmt, 2, code.data(), static_cast<int>(code.size()), SQLITE_STATIC);
      sqlite3_bind_int64(stmt, 3, company);
    }
    const bool found = sqlite3_step(exists) == SQLITE_ROW;
    sqlite3_reset(exists);
    if (found == when_found) {
      raw.Run(write);
      ++rows;
    }
  }
  raw.Exec("COMMIT");
  return rows;
}

// The floor: the same rows on SQLite alone, row by row (existence test, then
// the insert) with prepared statements in one transaction. With
// `checkpoint_in_commit` SQLite copies its log into the file inside the
// commit that fills it, as it does by itself; without, the commit only syncs
// the log and the copy runs after the timed part, as the engine's
// checkpointer does beside the gestures.
void BM_DisableAllRawSqlite(benchmark::State& state, bool checkpoint_in_commit) {
  BenchEditor& e = Editor();
  static RawSqlite raw(Path());
  sqlite3_stmt* insert = raw.Prepare(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, FW31_FLGINSERISCI) "
      "VALUES (?1, NULL, 30, ?2, ?3, 0, 0, 0, 0)");
  const BlockingItems codes = ReadBlockingItems(raw);
  sqlite3_stmt* exists = PrepareExistence(raw);
  const std::string user = std::to_string(e.user());
  KeptBlockingRows kept(raw, user);
  raw.Exec(checkpoint_in_commit ? "PRAGMA wal_autocheckpoint=1000" : "PRAGMA wal_autocheckpoint=0");
  int64_t rows = 0;
  for (auto _ : state) {
    raw.Exec(std::string("DELETE") + kBlockingRows + user);
    const auto start = std::chrono::steady_clock::now();
    rows = WriteRowByRow(raw, e.user(), codes, exists, insert, false);
    state.SetIterationTime(Seconds(start));
    if (!checkpoint_in_commit) raw.Exec("PRAGMA wal_checkpoint(PASSIVE)");
  }
  raw.Exec("PRAGMA wal_autocheckpoint=1000");
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK_CAPTURE(BM_DisableAllRawSqlite, checkpoint_in_commit, true)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DisableAllRawSqlite, log_only, false)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// "Disabilita tutti" again, the user having a row of every item already,
// each allowed in every right (untimed before each iteration): every row
// written over, none inserted.
void BM_DisableAllOver(benchmark::State& state) {
  BenchEditor& e = Editor();
  static RawSqlite raw(Path());
  const std::string user = std::to_string(e.user());
  KeptBlockingRows kept(raw, user);
  const std::string allow =
      "UPDATE FW31_RVKPARAMETRI SET FW31_FLGABILITATO = 1, FW31_FLGMODIFICA = 1, "
      "FW31_FLGELIMINA = 1, FW31_FLGINSERISCI = 1 WHERE FW31_INDTIPO = 30 AND FW31_ID_FW06 IS "
      "NULL AND FW31_ID_FW07 = " +
      user;
  raw.Exec(std::string("DELETE") + kBlockingRows + user);
  raw.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, FW31_FLGINSERISCI) "
      "SELECT " +
      user + ", NULL, 30, MG0F_CODPARAM, MG0F_DITTA_CG18, 1, 1, 1, 1 FROM MG0F_BLMPARAM WHERE " +
      "MG0F_DITTA_CG18 = 1");
  int64_t revoked = 0;
  for (auto _ : state) {
    raw.Exec(allow);
    Show(e, "ITM_MODBLOCCO");
    e.host().answers().Push(orv::host::kVbYes);
    const auto start = std::chrono::steady_clock::now();
    e.host().Button("VRX_DISABILITATUTTI");
    state.SetIterationTime(Seconds(start));
    revoked = e.Count(std::string("SELECT COUNT(*)") + kBlockingRows + user +
                      " AND FW31_FLGABILITATO = 0 AND FW31_FLGINSERISCI = 0");
  }
  state.counters["rows"] = static_cast<double>(revoked);
}
BENCHMARK(BM_DisableAllOver)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// Its floor: the same rows on SQLite alone, row by row (existence test,
// then the update) with prepared statements in one transaction.
void BM_DisableAllOverRawSqlite(benchmark::State& state) {
  BenchEditor& e = Editor();
  static RawSqlite raw(Path());
  sqlite3_stmt* update = raw.Prepare(
      "UPDATE FW31_RVKPARAMETRI SET FW31_FLGABILITATO = 0, FW31_FLGMODIFICA = 0, "
      "FW31_FLGELIMINA = 0, FW31_FLGINSERISCI = 0 WHERE FW31_ID_FW07 = ?1 AND FW31_ID_FW06 IS "
      "NULL AND FW31_INDTIPO = 30 AND FW31_CODTIPO = ?2 AND FW31_DITTARAGG = ?3");
  const BlockingItems codes = ReadBlockingItems(raw);
  sqlite3_stmt* exists = PrepareExistence(raw);
  const std::string user = std::to_string(e.user());
  KeptBlockingRows kept(raw, user);
  raw.Exec(std::string("DELETE") + kBlockingRows + user);
  raw.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, FW31_FLGINSERISCI) "
      "SELECT " +
      user + ", NULL, 30, MG0F_CODPARAM, MG0F_DITTA_CG18, 1, 1, 1, 1 FROM MG0F_BLMPARAM WHERE " +
      "MG0F_DITTA_CG18 = 1");
  int64_t rows = 0;
  for (auto _ : state) {
    raw.Exec(
        "UPDATE FW31_RVKPARAMETRI SET FW31_FLGABILITATO = 1, FW31_FLGINSERISCI = 1 WHERE "
        "FW31_INDTIPO = 30 AND FW31_ID_FW06 IS NULL AND FW31_ID_FW07 = " +
        user);
    const auto start = std::chrono::steady_clock::now();
    rows = WriteRowByRow(raw, e.user(), codes, exists, update, true);
    state.SetIterationTime(Seconds(start));
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_DisableAllOverRawSqlite)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
