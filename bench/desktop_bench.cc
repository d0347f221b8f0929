// The desktop program on the scaled installation: opening it (the host's
// session, the module's window shown) and picking a user on the start-up
// section, until the customer/supplier tree is on screen; and picking
// another user in the open program. Off screen unless QT_QPA_PLATFORM says
// otherwise. The floor is SQLite alone opening the file and reading the
// tree's rows as plain joins.
//
// ORV_DESKTOP_BENCH_DB names the database (as ORV_CLIFOR_BENCH_DB does for
// clifor_bench); otherwise the scale-1 installation is built beside the
// program once and reused.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QTest>
#include <QTreeView>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench_support.h"
#include "editor/frmfw_orvelka.h"
#include "hostapp/host_session.h"
#include "hostapp/main_window.h"
#include "hostapp/qt_host_ui.h"
#include "hostdb/host_database.h"
#include "sections/clifor/clifor_statements.h"

namespace {

using orv::bench::RawSqlite;
using orv::bench::Seconds;
using orv::hostapp::HostSession;

constexpr int32_t kUserNode = 1;

const std::string& Path() {
  static const std::string path = orv::bench::ScaledInstallationPath(
      "ORV_DESKTOP_BENCH_DB", "desktop", orv::bench::ScaleFrom("ORV_DESKTOP_BENCH_SCALE", 1));
  return path;
}

// The n-th user (0-based) with customer/supplier revocations, as the tree
// benchmarks pick them.
int64_t UserWithRevocations(int n) {
  RawSqlite raw(Path());
  sqlite3_stmt* stmt = raw.Prepare(
      "SELECT DISTINCT FW32_ID_FW07 FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 IS NOT NULL "
      "ORDER BY 1 LIMIT 1 OFFSET " +
      std::to_string(n));
  if (sqlite3_step(stmt) != SQLITE_ROW) {
    std::fprintf(stderr, "no user with customer/supplier revocations in %s\n", Path().c_str());
    std::abort();
  }
  return sqlite3_column_int64(stmt, 0);
}

std::unique_ptr<HostSession> OpenProgram() {
  HostSession::Options options;
  options.connection_string = orv::hostdb::HostDatabase::ConnectionStringFor(Path());
  options.login = "admin";
  options.company = 1;
  options.unattended = true;
  auto session = std::make_unique<HostSession>(options);
  session->Open();
  QApplication::processEvents();
  return session;
}

// Clicks the user's node in the principal tree, as the administrator does,
// and lets the program draw what follows; the tree's top-level rows.
int PickUser(HostSession& session, int64_t user) {
  auto* view =
      session.ui().main_window()->findChild<QTreeView*>(QStringLiteral("VRX_TREEUTENTI1_view"));
  const QModelIndex index = session.ui().controls().tree->IndexOf(kUserNode, user);
  if (view == nullptr || !index.isValid()) {
    std::fprintf(stderr, "the principal tree has no user %lld\n", static_cast<long long>(user));
    std::abort();
  }
  view->scrollTo(index);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
  QApplication::processEvents();
  const auto& grid = session.ui().controls().tree_grid;
  return grid && grid->model() ? grid->model()->rowCount() : 0;
}

void Close(std::unique_ptr<HostSession>& session) {
  session->Close();
  session.reset();
  QApplication::processEvents();
}

void BM_DesktopOpenAndPickUser(benchmark::State& state) {
  const int64_t user = UserWithRevocations(0);
  int rows = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<HostSession> session = OpenProgram();
    rows = PickUser(*session, user);
    state.SetIterationTime(Seconds(start));
    Close(session);
  }
  state.counters["top_rows"] = rows;
}
BENCHMARK(BM_DesktopOpenAndPickUser)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Another user picked in the open program: the tree read and shown again.
void BM_DesktopPickAnotherUser(benchmark::State& state) {
  const int64_t users[] = {UserWithRevocations(0), UserWithRevocations(1)};
  std::unique_ptr<HostSession> session = OpenProgram();
  PickUser(*session, users[1]);
  int next = 0;
  int rows = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    rows = PickUser(*session, users[next]);
    state.SetIterationTime(Seconds(start));
    next = 1 - next;
  }
  state.counters["top_rows"] = rows;
  Close(session);
}
BENCHMARK(BM_DesktopPickAnotherUser)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// The floor of both: the file opened on SQLite alone (the host collation and
// functions registered) and the tree's plain statements prepared and read.
void BM_DesktopRawSqlite(benchmark::State& state) {
  std::string clause;
  {
    std::unique_ptr<HostSession> session = OpenProgram();
    PickUser(*session, UserWithRevocations(0));
    clause =
        orv::sections::CliForStatements::PrincipalClause(session->window()->CurrentPrincipal());
    Close(session);
  }
  orv::bench::TimeOpenAndReadPlainTree(state, Path(), clause);
}
BENCHMARK(BM_DesktopRawSqlite)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
