// The warehouse-transfer matrix with 200 warehouses in company 1: building
// the matrix, filling it with a user's 20,100 revocations (among 520,000
// rows of other principals), choosing the section (layout, build and fill),
// and one cell click (an insert, then the delete that gives the pair back).
//
// The database is a copy of the demo in the temporary folder, enlarged at
// start (a few seconds).

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "bench_editor.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "db/sqlite/translator.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/host_database.h"
#include "hostdb/temporary_demo_database.h"
#include "sections/transfers/transfer_section.h"
#include "sections/transfers/transfer_statements.h"
#include "session/headless_host.h"
#include "zere_orvelka/message_service.h"

namespace {

using orv::bench::BenchEditor;
using orv::bench::RawSqlite;
using orv::sections::TransferSection;
using orv::sections::TransferStatements;

constexpr int kWarehouses = 200;
constexpr int64_t kUser = 2;

// The demo enlarged to kWarehouses warehouses in company 1, every pair
// revoked for the other users and groups and about half of them for kUser.
void Enlarge(const orv::hostdb::TemporaryDemoDatabase& database) {
  std::shared_ptr<orv::db::Connection> cn = database.Connect();
  {
    orv::db::Transaction transaction(*cn);
    // 7 demo warehouses, the rest with codes of both kinds (inner blank or not).
    for (int i = 7; i < kWarehouses; ++i) {
      char code[16];
      std::snprintf(code, sizeof code, i % 3 == 0 ? "W %03d" : "W%03d", i);
      cn->Execute(std::string("INSERT INTO MG58_DEPOSITI (MG58_DITTA_CG18, MG58_CODDEP, "
                              "MG58_DESCRDEP) VALUES (1, '") +
                      code + "', 'Deposito " + code + "')",
                  nullptr, orv::db::kAdExecuteNoRecords);
    }
    transaction.Commit();
  }
  // Every pair for the other users and groups; about half for kUser.
  for (int64_t user : {1, 3, 4, 5, 6, 7, 10, 11, 9, 8}) {
    cn->Execute(
        TransferStatements::InsertMissingPairs(orv::db::Value(user), orv::db::Value::Null(), 1),
        nullptr, orv::db::kAdExecuteNoRecords);
  }
  for (int64_t group : {2, 3, 4}) {
    cn->Execute(
        TransferStatements::InsertMissingPairs(orv::db::Value::Null(), orv::db::Value(group), 1),
        nullptr, orv::db::kAdExecuteNoRecords);
  }
  cn->Execute(
      TransferStatements::InsertMissingPairs(orv::db::Value(kUser), orv::db::Value::Null(), 1),
      nullptr, orv::db::kAdExecuteNoRecords);
  cn->Execute(
      "DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW07 = 2 AND FW3E_CODDEP_ORI > "
      "FW3E_CODDEP_DES",
      nullptr, orv::db::kAdExecuteNoRecords);
  std::shared_ptr<orv::db::Recordset> rs =
      cn->Execute("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW07 = 2");
  std::shared_ptr<orv::db::Recordset> all = cn->Execute("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL");
  std::fprintf(stderr, "user rows %s, all rows %s\n", rs->Field(0).ToText().c_str(),
               all->Field(0).ToText().c_str());
}

// The editor on the enlarged copy, the matrix shown for kUser.
BenchEditor& Editor() {
  // The database outlives the editor: statics die in reverse order.
  static orv::hostdb::TemporaryDemoDatabase database;
  static BenchEditor editor((Enlarge(database), database.connection_string()), [](BenchEditor& e) {
    e.User(kUser);
    e.host().ChooseSection("ITM_TRANSORIDEST");
  });
  return editor;
}

void BM_LoadDepositiAndFill(benchmark::State& state) {
  BenchEditor& e = Editor();
  for (auto _ : state) {
    e.Section<TransferSection>().LoadDepositi();
    e.Section<TransferSection>().FillMatrix();
  }
  state.counters["cells"] = kWarehouses * kWarehouses;
}
BENCHMARK(BM_LoadDepositiAndFill)->Unit(benchmark::kMillisecond);

void BM_LoadDepositi(benchmark::State& state) {
  BenchEditor& e = Editor();
  for (auto _ : state) e.Section<TransferSection>().LoadDepositi();
  e.Section<TransferSection>().FillMatrix();
}
BENCHMARK(BM_LoadDepositi)->Unit(benchmark::kMillisecond);

void BM_LoadRevokeDepositi(benchmark::State& state) {
  BenchEditor& e = Editor();
  e.Section<TransferSection>().LoadDepositi();
  for (auto _ : state) e.Section<TransferSection>().FillMatrix();
}
BENCHMARK(BM_LoadRevokeDepositi)->Unit(benchmark::kMillisecond);

void BM_ChooseSection(benchmark::State& state) {
  BenchEditor& e = Editor();
  for (auto _ : state) e.host().ChooseSection("ITM_TRANSORIDEST");
}
BENCHMARK(BM_ChooseSection)->Unit(benchmark::kMillisecond);

// One iteration is two clicks: the first revokes an allowed pair, the
// second gives it back.
void BM_CellClickPair(benchmark::State& state) {
  BenchEditor& e = Editor();
  e.host().ChooseSection("ITM_TRANSORIDEST");
  const std::string column = TransferSection::CodiceToCampo("01");
  for (auto _ : state) {
    e.host().ClickGrid("GRID_DEPOSITO", "W199", column);
    e.host().ClickGrid("GRID_DEPOSITO", "W199", column);
  }
}
BENCHMARK(BM_CellClickPair)->Unit(benchmark::kMicrosecond);

// "Disabilita tutti" of one principal on the scaled installation (500
// warehouses, 250,000 pairs at scale 1; ORV_TRANSFERS_BENCH_SCALE changes
// it, ORV_TRANSFERS_BENCH_DB names another file): the gesture (insert of
// every missing pair, then the matrix filled again), and beside it the
// insert alone on SQLite alone. Each iteration starts from a user without
// rows in the company; taking them away is not timed.
// The calling thread's processor time in milliseconds: beside the wall
// time, a figure that other programs on a busy machine move less.
double ThreadMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

const std::string& ScaledPath() {
  static const std::string path =
      orv::bench::ScaledInstallationPath("ORV_TRANSFERS_BENCH_DB", "transfers",
                                         orv::bench::ScaleFrom("ORV_TRANSFERS_BENCH_SCALE", 1.0));
  return path;
}

BenchEditor& ScaledEditor() {
  static BenchEditor editor(orv::hostdb::HostDatabase::ConnectionStringFor(ScaledPath()),
                            [](BenchEditor& e) {
                              e.User("SELECT MAX(FW07_ID) FROM FW07_APPUSER");
                              e.host().ChooseSection("ITM_TRANSORIDEST");
                            });
  return editor;
}

std::string TakeAway(int64_t user) {
  return "DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 1 AND FW3E_ID_FW07 = " +
         std::to_string(user);
}

void BM_DisableAllScaled(benchmark::State& state) {
  BenchEditor& e = ScaledEditor();
  static RawSqlite raw(ScaledPath());
  const std::string take_away = TakeAway(e.user());
  const std::string count =
      "SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 1 AND FW3E_ID_FW07 = " +
      std::to_string(e.user());
  int64_t pairs = 0;
  double cpu = 0;
  for (auto _ : state) {
    raw.Exec(take_away);
    e.host().answers().Push(orv::host::kVbYes);
    const double cpu_start = ThreadMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    e.host().Button("VRX_DISABILITATUTTIDEP");
    state.SetIterationTime(orv::bench::Seconds(start));
    cpu += ThreadMilliseconds() - cpu_start;
    pairs = e.Count(count);
  }
  state.counters["pairs"] = static_cast<double>(pairs);
  state.counters["cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DisableAllScaled)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_DisableAllScaledRawSqlite(benchmark::State& state) {
  BenchEditor& e = ScaledEditor();
  static RawSqlite raw(ScaledPath());
  const std::string take_away = TakeAway(e.user());
  orv::db::sqlite::Translator translator;
  sqlite3_stmt* insert = raw.Prepare(translator
                                         .Translate(TransferStatements::InsertMissingPairs(
                                             orv::db::Value(e.user()), orv::db::Value::Null(), 1))
                                         ->steps.at(0)
                                         .sql);
  int64_t pairs = 0;
  double cpu = 0;
  for (auto _ : state) {
    raw.Exec(take_away);
    const double cpu_start = ThreadMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    raw.Run(insert);
    state.SetIterationTime(orv::bench::Seconds(start));
    cpu += ThreadMilliseconds() - cpu_start;
    pairs = sqlite3_changes(raw.db());
  }
  state.counters["pairs"] = static_cast<double>(pairs);
  state.counters["cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DisableAllScaledRawSqlite)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
