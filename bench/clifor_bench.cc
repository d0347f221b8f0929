// The customer/supplier tree and the article families on the scaled
// installation: opening the program and picking a user on the start-up
// section, building the classification tree (ten statements in one
// batch, 5,000 rows per source at scale 1) and the family list, one save of a
// branch and of a family right, and the same branch save when the existence
// test reads the whole of FW32_RVKCLIFOR and filters it on the client.
//
// The scaled database is built once into clifor_scaled_<scale>.db beside this
// program and reused by later runs; ORV_CLIFOR_BENCH_SCALE sets the scale
// (default 0.25), ORV_CLIFOR_BENCH_DB names another file. Each save commits,
// so on a disk its figure is mostly the journal's sync.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "bench_editor.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "db/sql_literal.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/host_database.h"
#include "sections/clifor/clifor_section.h"
#include "sections/clifor/clifor_statements.h"
#include "sections/families/family_section.h"
#include "session/headless_host.h"
#include "store/principal.h"

namespace {

using orv::bench::BenchEditor;
using orv::bench::PlainTreeStatements;
using orv::bench::RawSqlite;
using orv::bench::Seconds;
using orv::db::Recordset;
using orv::sections::CliForSection;
using orv::sections::CliForStatements;
using orv::sections::FamilySection;

const std::string& Path() {
  static const std::string path = orv::bench::ScaledInstallationPath(
      "ORV_CLIFOR_BENCH_DB", "clifor", orv::bench::ScaleFrom("ORV_CLIFOR_BENCH_SCALE", 0.25));
  return path;
}

// The editor on the scaled installation with a user who has revocations of
// customers and suppliers selected.
BenchEditor& Editor() {
  static BenchEditor editor(
      orv::hostdb::HostDatabase::ConnectionStringFor(Path()),
      [](BenchEditor& e) { e.User("SELECT MIN(FW32_ID_FW07) FROM FW32_RVKCLIFOR"); });
  return editor;
}

void BM_LoadTreeCausali(benchmark::State& state) {
  BenchEditor& e = Editor();
  e.host().ChooseSection("ITM50010");
  for (auto _ : state) e.window().LoadTreeCausali();
  state.counters["tree_rows"] = static_cast<double>(e.window().tree_rowset()->RecordCount());
  state.counters["fw32_rows"] = static_cast<double>(e.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR"));
  const std::string mine =
      "SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 = " + std::to_string(e.user());
  state.counters["user_rows"] = static_cast<double>(e.Count(mine));
}
BENCHMARK(BM_LoadTreeCausali)->Unit(benchmark::kMillisecond);

// The batch alone: the ten results, not walked.
void BM_TreeBatch(benchmark::State& state) {
  BenchEditor& e = Editor();
  const std::string sql = CliForStatements::TreeBatch(e.window().CurrentPrincipal(), 1);
  for (auto _ : state) {
    auto first = e.connection()->Execute(sql);
    for (int i = 1; i < 10; ++i) benchmark::DoNotOptimize(e.connection()->NextRecordset());
  }
}
BENCHMARK(BM_TreeBatch)->Unit(benchmark::kMillisecond);

// The floor of the batch: the ten plain statements, every row read.
void BM_TreeBatchRawSqlite(benchmark::State& state) {
  BenchEditor& e = Editor();
  static RawSqlite raw(Path());
  const std::vector<sqlite3_stmt*> statements =
      PlainTreeStatements(raw, CliForStatements::PrincipalClause(e.window().CurrentPrincipal()));
  int64_t rows = 0;
  for (auto _ : state) {
    rows = 0;
    for (sqlite3_stmt* stmt : statements) rows += RawSqlite::ReadAll(stmt);
  }
  state.counters["tree_rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_TreeBatchRawSqlite)->Unit(benchmark::kMillisecond);

// Opening the program and picking a user on the start-up section (the
// customer/supplier tree): the headless host opened by the administrator in
// company 1, the user picked, which builds the tree for them, as the desktop
// program does through the same window. Closing is not timed.
void BM_OpenAndPickUser(benchmark::State& state) {
  const std::string connection = orv::hostdb::HostDatabase::ConnectionStringFor(Path());
  const int64_t user = Editor().user();
  int64_t rows = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto e = std::make_unique<BenchEditor>(connection, [&](BenchEditor& x) { x.User(user); });
    state.SetIterationTime(Seconds(start));
    rows = e->window().tree_rowset() ? e->window().tree_rowset()->RecordCount() : 0;
  }
  state.counters["tree_rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_OpenAndPickUser)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Its floor: the file opened on SQLite alone (the host collation and
// functions registered) and the ten plain statements of the tree prepared
// and read.
void BM_OpenAndPickUserRawSqlite(benchmark::State& state) {
  const std::string clause =
      CliForStatements::PrincipalClause(Editor().window().CurrentPrincipal());
  orv::bench::TimeOpenAndReadPlainTree(state, Path(), clause);
}
BENCHMARK(BM_OpenAndPickUserRawSqlite)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

void BM_InitTreeFamiglie(benchmark::State& state) {
  BenchEditor& e = Editor();
  e.host().ChooseSection("ITM_ARTFAM");
  for (auto _ : state) e.window().InitTreeFamiglie();
  state.counters["families"] = static_cast<double>(e.window().tree_rowset()->RecordCount());
}
BENCHMARK(BM_InitTreeFamiglie)->Unit(benchmark::kMillisecond);

// The key of the first sub-category row the user may still use.
std::string FirstAllowedBranch(BenchEditor& e) {
  e.host().ChooseSection("ITM50010");
  std::shared_ptr<Recordset> rs = e.window().tree_rowset()->Clone();
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
    if (rs->Field("KEY").ToText().rfind("S_", 0) == 0 && rs->Field("CHECKED").ToText() == "1") {
      return rs->Field("KEY").ToText();
    }
  }
  return {};
}

// A save alone (existence test, write, change-log entry), or the whole click
// (before-check, save, reload procedure of the user's revoked list). Each
// iteration revokes and gives back; the revoke is timed.
void BM_SaveBranch(benchmark::State& state, bool whole_click) {
  BenchEditor& e = Editor();
  const std::string key = FirstAllowedBranch(e);
  if (key.empty()) {
    state.SkipWithError("no allowed branch");
    return;
  }
  CliForSection& section = e.Section<CliForSection>();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (whole_click) {
      e.host().ClickGrid("TGRID_CLIFOR", key, "CHECKED");
    } else {
      section.SaveBranch("0");
    }
    state.SetIterationTime(Seconds(start));
    if (whole_click) {
      e.host().ClickGrid("TGRID_CLIFOR", key, "CHECKED");
    } else {
      section.SaveBranch("1");
    }
  }
}
BENCHMARK_CAPTURE(BM_SaveBranch, save, false)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SaveBranch, click_with_reload, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The first allowed branch after a revoke and a restore click, so that it has
// a row in FW32_RVKCLIFOR; the tree's current row is that branch.
orv::sections::CliForBranch SavedBranch(BenchEditor& e) {
  const std::string key = FirstAllowedBranch(e);
  e.host().ClickGrid("TGRID_CLIFOR", key, "CHECKED");
  e.host().ClickGrid("TGRID_CLIFOR", key, "CHECKED");
  return CliForSection::BranchOf(*e.window().tree_rowset());
}

// The baseline the existence test replaced: the whole table read and the
// branch's row picked out on the client, with the filter criteria it used.
constexpr std::string_view kSelectAll = "SELECT * FROM FW32_RVKCLIFOR ORDER BY FW32_DITTA";

std::string BranchFilter(const orv::store::Principal& p, const orv::sections::CliForBranch& b) {
  return "FW32_DITTA = " + b.company + " AND FW32_ID_FW07 = " + p.UserValue("NULL") +
         " AND FW32_ID_FW06 = " + p.GroupValue("NULL") + " AND FW32_TIPOCF = " + b.tipocf +
         " AND FW32_CODMACRO = " + orv::db::SqlQuote(b.macro) +
         " AND FW32_CODMIDDLE = " + orv::db::SqlQuote(b.middle) +
         " AND FW32_CODRAGG = " + orv::db::SqlQuote(b.ragg) +
         " AND FW32_TIPORAGG = " + orv::db::SqlQuote(b.tiporagg);
}

// The existence test as the whole table read and filtered on the client.
void BM_ExistsByClientFilter(benchmark::State& state) {
  BenchEditor& e = Editor();
  const orv::sections::CliForBranch branch = SavedBranch(e);
  const std::string filter = BranchFilter(e.window().CurrentPrincipal(), branch);
  bool found = false;
  for (auto _ : state) {
    std::shared_ptr<Recordset> all = e.connection()->Execute(kSelectAll);
    all->SetFilter(filter);
    found = !all->IsEof();
  }
  if (!found) state.SkipWithError("the branch's row was not found");
}
BENCHMARK(BM_ExistsByClientFilter)->Unit(benchmark::kMillisecond);

void BM_ExistsOnTheServer(benchmark::State& state) {
  BenchEditor& e = Editor();
  const orv::sections::CliForBranch branch = SavedBranch(e);
  const std::string sql = CliForStatements::SelectRevocation(e.window().CurrentPrincipal(), branch);
  bool found = false;
  for (auto _ : state) found = !e.connection()->Execute(sql)->IsEof();
  if (!found) state.SkipWithError("the branch's row was not found");
}
BENCHMARK(BM_ExistsOnTheServer)->Unit(benchmark::kMicrosecond);

void BM_SaveFamily(benchmark::State& state) {
  BenchEditor& e = Editor();
  e.host().ChooseSection("ITM_ARTFAM");
  std::shared_ptr<Recordset> tree = e.window().tree_rowset();
  tree->MoveFirst();
  FamilySection& section = e.Section<FamilySection>();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    section.SaveFamily("INSERIMENTO", "0");
    state.SetIterationTime(Seconds(start));
    section.SaveFamily("INSERIMENTO", "1");
  }
}
BENCHMARK(BM_SaveFamily)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
