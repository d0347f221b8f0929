// The project-node section on a scaled installation (10,000 nodes in
// company 1 at the default scale 0.2; ORV_NODES_BENCH_SCALE changes it):
// "Aggiorna" (work table dropped and rebuilt, the filter marked, the shown
// rows opened and bound), the same with a filter that keeps about a tenth of
// the projects, the MERGE alone, and one revoke click and one restore click
// (batch update of the work row, MERGE, change-log entry).
//
// The database is built once into nodes_scaled_<scale>.db beside this
// program and reused by later runs; ORV_NODES_BENCH_DB names another file.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "db/connection.h"
#include "db/recordset.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/host_database.h"
#include "sections/parameters/node_merge.h"
#include "session/headless_change_log.h"
#include "session/headless_global.h"
#include "session/headless_host.h"

namespace {

namespace fs = std::filesystem;
using orv::db::Recordset;
using orv::db::Value;

double Scale() {
  if (const char* scale = std::getenv("ORV_NODES_BENCH_SCALE")) return std::atof(scale);
  return 0.2;
}

std::string DatabasePath() {
  if (const char* path = std::getenv("ORV_NODES_BENCH_DB")) return path;
  char name[64];
  std::snprintf(name, sizeof name, "nodes_scaled_%g.db", Scale());
  return (fs::read_symlink("/proc/self/exe").parent_path() / name).string();
}

// The editor opened by the administrator on the scaled installation,
// company 1, the node section shown for a user who has node revocations.
class Editor {
 public:
  static Editor& Get() {
    static Editor editor;
    return editor;
  }
  orv::session::HeadlessHost& host() { return host_; }
  orv::editor::FRMFW_ORVELKA& window() { return *host_.window(); }
  std::shared_ptr<orv::db::Connection> connection() { return window().connection(); }
  int64_t user() const { return user_; }
  int64_t Count(const std::string& sql) { return connection()->Execute(sql)->Field(0).ToInt64(); }

  orv::sections::NodeMerge& merge() {
    for (const auto& s : window().sections()) {
      if (auto* m = dynamic_cast<orv::sections::NodeMerge*>(s.get())) return *m;
    }
    std::abort();
  }

 private:
  Editor() {
    const std::string path = DatabasePath();
    if (!fs::exists(path)) {
      std::fprintf(stderr, "building the scaled installation in %s\n", path.c_str());
      orv::hostdb::HostDatabase::CreateScaled(
          path, {Scale(), 1}, [](std::string_view step, int pct) {
            std::fprintf(stderr, "\r%3d%% %-30.*s", pct, static_cast<int>(step.size()),
                         step.data());
          });
      std::fprintf(stderr, "\n");
    }
    host_.SetOutput([](std::string_view) {});
    orv::session::HeadlessOptions options;
    options.connection_string = orv::hostdb::HostDatabase::ConnectionStringFor(path);
    options.login = "admin";
    options.company = 1;
    host_.Open(options);
    user_ = connection()
                ->Execute("SELECT MIN(FW3N_ID_FW07) FROM FW3N_RVKNODI WHERE FW3N_DITTA_CG18 = 1")
                ->Field(0)
                .ToInt64();
    host_.SelectPrincipal(orv::host::PrincipalNode::kUser, user_);
    host_.ChooseSection("ITM_NODI");
  }

  orv::session::HeadlessHost host_;
  int64_t user_ = 0;
};

void Counters(benchmark::State& state, Editor& e) {
  const std::shared_ptr<Recordset>& rs = e.window().work_recordset();
  state.counters["shown"] = static_cast<double>(rs ? rs->RecordCount() : 0);
  state.counters["nodes"] =
      static_cast<double>(e.Count("SELECT COUNT(*) FROM " + e.window().temp_table_name()));
  state.counters["fw3n_rows"] = static_cast<double>(e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI"));
}

void BM_LoadData(benchmark::State& state) {
  Editor& e = Editor::Get();
  e.host().Filter("Progetto", "", "");
  for (auto _ : state) e.window().LoadData();
  Counters(state, e);
}
BENCHMARK(BM_LoadData)->Unit(benchmark::kMillisecond);

void BM_LoadDataFiltered(benchmark::State& state) {
  Editor& e = Editor::Get();
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
  Editor& e = Editor::Get();
  e.window().LoadData();
  const int64_t before = e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI");
  for (auto _ : state) {
    if (!e.merge().ConfermaModificheNodi(Value(e.user()), Value::Null())) {
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

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Times the revoke click (or the restore click) alone on a node the user may
// still use; the other click of the pair puts the table back in between.
void BM_Click(benchmark::State& state, bool revoke) {
  Editor& e = Editor::Get();
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

}  // namespace

BENCHMARK_MAIN();
