// What the journal of gestures costs, each figure with the journal and
// without it (the window's journal taken away), beside raw SQLite:
//  - one click of a blocking parameter (a revocation and its change-log
//    entry) on the scaled parameter installation;
//  - "Disabilita tutti" of the blocking parameters (10,000 items at scale 1)
//    for one user;
//  - "Disabilita" of the transfer matrix for one user on the scaled transfer
//    installation (500 warehouses, 250,000 pairs at scale 1), and the undo
//    of that gesture.
// Scales and files as parameters_bench and transfers_bench (the same
// environment variables; the same files are reused).

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench_editor.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "db/sqlite/translator.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/host_database.h"
#include "journal/journal.h"
#include "sections/transfers/transfer_statements.h"
#include "session/headless_global.h"
#include "session/headless_host.h"
#include "zere_orvelka/message_service.h"

namespace {

using orv::bench::BenchEditor;
using orv::bench::RawSqlite;
using orv::bench::Seconds;
using orv::db::Recordset;
using orv::db::Value;

constexpr const char* kParameterUser =
    "SELECT CASE WHEN MAX(FW07_ID) >= 500 THEN 500 ELSE MAX(FW07_ID) / 2 END FROM FW07_APPUSER";

const std::string& ParameterPath() {
  static const std::string path =
      orv::bench::ScaledInstallationPath("ORV_PARAMETERS_BENCH_DB", "parameters",
                                         orv::bench::ScaleFrom("ORV_PARAMETERS_BENCH_SCALE", 1.0));
  return path;
}

BenchEditor& ParameterEditor() {
  static BenchEditor editor(orv::hostdb::HostDatabase::ConnectionStringFor(ParameterPath()),
                            [](BenchEditor& e) {
                              e.User(kParameterUser);
                              e.host().ChooseSection("ITM_MODBLOCCO");
                            });
  return editor;
}

// The window's journal, taken away or given back (kept here meanwhile).
void UseJournal(BenchEditor& e, bool on) {
  static std::unique_ptr<orv::journal::Journal> kept;
  if (on && !e.window().journal() && kept) e.window().SetJournal(std::move(kept));
  if (!on && e.window().journal()) {
    kept = std::make_unique<orv::journal::Journal>(e.window().connection(), "admin", 1);
    e.window().SetJournal(nullptr);
  }
}

// One click of the first allowed blocking parameter; the next click gives
// it back (not timed).
void BM_Click(benchmark::State& state, bool journal) {
  BenchEditor& e = ParameterEditor();
  static RawSqlite raw(ParameterPath());
  UseJournal(e, journal);
  // From the user's blocking parameters all allowed (a disable-all of an
  // earlier run revoked them).
  raw.Exec(
      "DELETE FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 30 AND FW31_ID_FW06 IS NULL AND "
      "FW31_ID_FW07 = " +
      std::to_string(e.user()));
  e.host().ChooseSection("ITM_MODBLOCCO");
  std::shared_ptr<Recordset> rs = e.window().work_recordset();
  Recordset::Bookmark bookmark = 0;
  std::string code;
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
    if (rs->Field("ABILITATO").ToText() == "1") {
      bookmark = rs->GetBookmark();
      code = orv::db::Trim(rs->Field("CODICE").ToText());
      break;
    }
  }
  if (code.empty()) {
    state.SkipWithError("no allowed item");
    return;
  }
  auto click = [&](const char* before) {
    e.window().work_recordset()->SetBookmark(bookmark);
    bool cancel = false;
    e.window().GRIDTIPOLOGIE_SelectionBoxClick(code, "ABILITATO", Value(before), cancel);
  };
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    click("1");
    state.SetIterationTime(Seconds(start));
    click("0");
  }
  UseJournal(e, true);
}
BENCHMARK_CAPTURE(BM_Click, journal, true)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Click, no_journal, false)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);

// The floor of a click: the probe and the insert with prepared statements,
// then the delete that gives it back (not timed).
void BM_ClickRawSqlite(benchmark::State& state) {
  BenchEditor& e = ParameterEditor();
  static RawSqlite raw(ParameterPath());
  sqlite3_stmt* exists = raw.Prepare(
      "SELECT 1 FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = ?1 AND FW31_ID_FW06 IS NULL AND "
      "FW31_INDTIPO = 30 AND FW31_CODTIPO = 'ZZJOURNAL' AND FW31_DITTARAGG = 1 LIMIT 1");
  sqlite3_stmt* insert = raw.Prepare(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, FW31_FLGINSERISCI) "
      "VALUES (?1, NULL, 30, 'ZZJOURNAL', 1, 0, 0, 0, 0)");
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    raw.Exec("BEGIN");
    sqlite3_bind_int64(exists, 1, e.user());
    sqlite3_bind_int64(insert, 1, e.user());
    RawSqlite::ReadAll(exists);
    raw.Run(insert);
    raw.Exec("COMMIT");
    state.SetIterationTime(Seconds(start));
    raw.Exec("DELETE FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = " + std::to_string(e.user()) +
             " AND FW31_ID_FW06 IS NULL AND FW31_INDTIPO = 30 AND FW31_CODTIPO = 'ZZJOURNAL'");
  }
}
BENCHMARK(BM_ClickRawSqlite)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

constexpr const char* kBlockingRows =
    " FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 30 AND FW31_ID_FW06 IS NULL AND FW31_ID_FW07 = ";

// "Disabilita tutti" on every blocking parameter of the user's company,
// from no rows of that kind (taking them away is not timed).
void BM_DisableAllParameters(benchmark::State& state, bool journal) {
  BenchEditor& e = ParameterEditor();
  static RawSqlite raw(ParameterPath());
  UseJournal(e, journal);
  const std::string user = std::to_string(e.user());
  int64_t rows = 0;
  for (auto _ : state) {
    raw.Exec(std::string("DELETE") + kBlockingRows + user);
    e.host().ChooseSection("ITM_MODBLOCCO");
    e.host().answers().Push(orv::host::kVbYes);
    const auto start = std::chrono::steady_clock::now();
    e.host().Button("VRX_DISABILITATUTTI");
    state.SetIterationTime(Seconds(start));
    rows = e.Count(std::string("SELECT COUNT(*)") + kBlockingRows + user);
  }
  state.counters["rows"] = static_cast<double>(rows);
  UseJournal(e, true);
}
BENCHMARK_CAPTURE(BM_DisableAllParameters, journal, true)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DisableAllParameters, no_journal, false)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

const std::string& TransferPath() {
  static const std::string path =
      orv::bench::ScaledInstallationPath("ORV_TRANSFERS_BENCH_DB", "transfers",
                                         orv::bench::ScaleFrom("ORV_TRANSFERS_BENCH_SCALE", 1.0));
  return path;
}

BenchEditor& TransferEditor() {
  static BenchEditor editor(orv::hostdb::HostDatabase::ConnectionStringFor(TransferPath()),
                            [](BenchEditor& e) {
                              e.User("SELECT MAX(FW07_ID) FROM FW07_APPUSER");
                              e.host().ChooseSection("ITM_TRANSORIDEST");
                            });
  return editor;
}

std::string TakeAwayPairs(int64_t user) {
  return "DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 1 AND FW3E_ID_FW07 = " +
         std::to_string(user);
}

// "Disabilita" of the matrix for one user: every pair of the company.
void BM_RevokeAllPairs(benchmark::State& state, bool journal) {
  BenchEditor& e = TransferEditor();
  static RawSqlite raw(TransferPath());
  UseJournal(e, journal);
  const std::string take_away = TakeAwayPairs(e.user());
  int64_t pairs = 0;
  for (auto _ : state) {
    raw.Exec(take_away);
    e.host().answers().Push(orv::host::kVbYes);
    const auto start = std::chrono::steady_clock::now();
    e.host().Button("VRX_DISABILITATUTTIDEP");
    state.SetIterationTime(Seconds(start));
    pairs = e.Count(
        "SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 1 AND "
        "FW3E_ID_FW07 = " +
        std::to_string(e.user()));
  }
  state.counters["pairs"] = static_cast<double>(pairs);
  UseJournal(e, true);
}
BENCHMARK_CAPTURE(BM_RevokeAllPairs, journal, true)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RevokeAllPairs, no_journal, false)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The floor of the gesture: the insert of the missing pairs alone.
void BM_RevokeAllPairsRawSqlite(benchmark::State& state) {
  BenchEditor& e = TransferEditor();
  static RawSqlite raw(TransferPath());
  orv::db::sqlite::Translator translator;
  sqlite3_stmt* insert =
      raw.Prepare(translator
                      .Translate(orv::sections::TransferStatements::InsertMissingPairs(
                          Value(e.user()), Value::Null(), 1))
                      ->steps.at(0)
                      .sql);
  int64_t pairs = 0;
  for (auto _ : state) {
    raw.Exec(TakeAwayPairs(e.user()));
    const auto start = std::chrono::steady_clock::now();
    raw.Run(insert);
    state.SetIterationTime(Seconds(start));
    pairs = sqlite3_changes(raw.db());
  }
  state.counters["pairs"] = static_cast<double>(pairs);
}
BENCHMARK(BM_RevokeAllPairsRawSqlite)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The undo of that gesture: the check of every pair, their delete and the
// undo's own entry. Each iteration makes the gesture first (not timed).
void BM_UndoRevokeAllPairs(benchmark::State& state) {
  BenchEditor& e = TransferEditor();
  static RawSqlite raw(TransferPath());
  UseJournal(e, true);
  const std::string take_away = TakeAwayPairs(e.user());
  int64_t pairs = 0;
  for (auto _ : state) {
    raw.Exec(take_away);
    e.host().answers().Push(orv::host::kVbYes);
    e.host().Button("VRX_DISABILITATUTTIDEP");
    pairs = e.window().journal()->NextUndo()->image_count;
    const auto start = std::chrono::steady_clock::now();
    const bool undone = e.window().UndoGesture();
    state.SetIterationTime(Seconds(start));
    if (!undone) state.SkipWithError("the undo was refused");
  }
  state.counters["pairs"] = static_cast<double>(pairs);
}
BENCHMARK(BM_UndoRevokeAllPairs)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// The floor of the undo: the same pairs deleted on SQLite alone.
void BM_UndoRevokeAllPairsRawSqlite(benchmark::State& state) {
  BenchEditor& e = TransferEditor();
  static RawSqlite raw(TransferPath());
  orv::db::sqlite::Translator translator;
  sqlite3_stmt* insert =
      raw.Prepare(translator
                      .Translate(orv::sections::TransferStatements::InsertMissingPairs(
                          Value(e.user()), Value::Null(), 1))
                      ->steps.at(0)
                      .sql);
  sqlite3_stmt* remove =
      raw.Prepare("DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 1 AND FW3E_ID_FW07 = " +
                  std::to_string(e.user()));
  for (auto _ : state) {
    raw.Exec(TakeAwayPairs(e.user()));
    raw.Run(insert);
    const auto start = std::chrono::steady_clock::now();
    raw.Run(remove);
    state.SetIterationTime(Seconds(start));
  }
}
BENCHMARK(BM_UndoRevokeAllPairsRawSqlite)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
