// Creating host databases and running the revoked-list procedures.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "db/command.h"
#include "db/connection.h"
#include "hostdb/host_database.h"

namespace {

namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
  return (fs::temp_directory_path() /
          ("orv-hostdb-bench-" + std::to_string(::getpid()) + "-" + name))
      .string();
}

void BM_CreateDemo(benchmark::State& state) {
  const std::string path = TempPath("demo.db");
  for (auto _ : state) {
    fs::remove(path);
    orv::hostdb::HostDatabase::CreateDemo(path);
  }
  fs::remove(path);
}
BENCHMARK(BM_CreateDemo)->Unit(benchmark::kMillisecond);

void BM_CreateScaled(benchmark::State& state) {
  const std::string path = TempPath("scaled.db");
  const double scale = static_cast<double>(state.range(0)) / 1000.0;
  for (auto _ : state) {
    fs::remove(path);
    orv::hostdb::HostDatabase::CreateScaled(path, {scale, 1});
  }
  fs::remove(path);
  state.SetLabel("scale " + std::to_string(scale));
}
BENCHMARK(BM_CreateScaled)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

// A scale-0.1 installation shared by the procedure benchmarks, removed at exit.
class SharedScaled {
 public:
  SharedScaled() : path_(TempPath("procedures.db")) {
    fs::remove(path_);
    orv::hostdb::HostDatabase::CreateScaled(path_, {0.1, 1});
  }
  ~SharedScaled() { fs::remove(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::shared_ptr<orv::db::Connection> Scaled() {
  static const SharedScaled shared;
  auto cn = orv::db::Connection::Create();
  cn->Open(orv::hostdb::HostDatabase::ConnectionStringFor(shared.path()));
  return cn;
}

void Run(const std::shared_ptr<orv::db::Connection>& cn, const char* name, const char* param,
         int value) {
  orv::db::Command command;
  command.ActiveConnection = cn;
  command.CommandType = orv::db::kAdCmdStoredProc;
  command.CommandTimeout = 0;
  command.CommandText = name;
  if (param) command.SetParameter(param, orv::db::Value(value));
  command.Execute(nullptr, orv::db::kAdExecuteNoRecords);
}

void BM_ReloadOneUser(benchmark::State& state) {
  auto cn = Scaled();
  int user = 4;
  for (auto _ : state) {
    Run(cn, "SPFW_ReloadListaCFRevocatiUtente", "@idutente", user);
    user = user % 80 + 1;
  }
}
BENCHMARK(BM_ReloadOneUser)->Unit(benchmark::kMicrosecond);

void BM_ReloadEveryPrincipal(benchmark::State& state) {
  auto cn = Scaled();
  for (auto _ : state) Run(cn, "SPFW_ReloadListaCFRevocati", nullptr, 0);
}
BENCHMARK(BM_ReloadEveryPrincipal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
