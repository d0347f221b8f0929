// orvelka-db: creates host databases for the embedded engine.
//
//   orvelka-db create --demo FILE
//   orvelka-db create --scale N [--seed S] FILE
//   orvelka-db script --dialect tsql [--demo]
//
// "script" prints the installation script for a SQL Server database.
//
// Exit codes: 0 done, 1 the database could not be built, 2 bad command line,
// 3 FILE exists and --force was not given.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "db/db_error.h"
#include "hostdb/host_database.h"
#include "hostdb/install_script.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitExists = 3;

// The files of the database being built, removed if the program is
// interrupted. Filled before the handlers are installed, read only by them.
std::string g_partial[4];

extern "C" void OnInterrupt(int signal) {
  for (const std::string& file : g_partial) ::unlink(file.c_str());
  ::_exit(128 + signal);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Creates host databases (demo or scaled) for the revocation editor, or prints the "
      "installation script for SQL Server."};
  app.require_subcommand(1);

  CLI::App* create = app.add_subcommand("create", "Create a database file.");
  std::string file;
  bool demo = false;
  double scale = 0;
  uint64_t seed = 1;
  bool force = false;
  bool quiet = false;
  create->add_option("FILE", file, "Database file to create")->required();
  auto* demo_flag = create->add_flag("--demo", demo, "The demo installation");
  auto* scale_option =
      create
          ->add_option("--scale", scale,
                       "Scaled installation; 1 = 1,000 principals, "
                       "1,000,000 parameter revocations")
          ->check(CLI::Validator(
              [](const std::string& text) -> std::string {
                char* end = nullptr;
                const double value = std::strtod(text.c_str(), &end);
                if (end == text.c_str() || *end != '\0' || !(value > 0) || value > 1000) {
                  return "must be a number above 0 and at most 1000";
                }
                return {};
              },
              "SCALE"));
  create->add_option("--seed", seed, "Seed of the scaled installation (default 1)")
      ->needs(scale_option);
  create->add_flag("--force", force, "Replace FILE if it exists");
  create->add_flag("--quiet", quiet, "No progress lines");
  demo_flag->excludes(scale_option);

  CLI::App* script = app.add_subcommand(
      "script", "Print the installation script for a SQL Server database (GO separators).");
  std::string dialect;
  bool script_demo = false;
  script->add_option("--dialect", dialect, "The server's dialect")
      ->required()
      ->check(CLI::IsMember({"tsql"}));
  script->add_flag("--demo", script_demo, "Add the demo installation's rows");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kExitUsage;
  }
  if (script->parsed()) {
    try {
      const std::string text = orv::hostdb::InstallScript::Tsql(script_demo);
      std::fwrite(text.data(), 1, text.size(), stdout);
      return std::fflush(stdout) == 0 ? 0 : kExitFailed;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "orvelka-db: %s\n", e.what());
      return kExitFailed;
    }
  }
  if (!demo && scale_option->count() == 0) {
    std::fprintf(stderr, "orvelka-db: give --demo or --scale N\n");
    return kExitUsage;
  }
  if (std::filesystem::exists(file) && !force) {
    std::fprintf(stderr, "orvelka-db: %s already exists; use --force to replace it\n",
                 file.c_str());
    return kExitExists;
  }

  const std::string partial = orv::hostdb::HostDatabase::PartialPathFor(file);
  g_partial[0] = partial;
  g_partial[1] = partial + "-journal";
  g_partial[2] = partial + "-wal";
  g_partial[3] = partial + "-shm";
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);

  const auto start = std::chrono::steady_clock::now();
  try {
    if (demo) {
      orv::hostdb::HostDatabase::CreateDemo(file, force);
    } else {
      orv::hostdb::Progress progress;
      if (!quiet) {
        progress = [start](std::string_view step, int percent) {
          const double elapsed =
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
          std::fprintf(stderr, "%3d%% %6.1f s  %.*s\n", percent, elapsed,
                       static_cast<int>(step.size()), step.data());
        };
      }
      orv::hostdb::HostDatabase::CreateScaled(file, {scale, seed}, progress, force);
    }
  } catch (const orv::db::DbError& e) {
    std::fprintf(stderr, "orvelka-db: database error %lld: %s\n",
                 static_cast<long long>(e.number()), e.description().c_str());
    return kExitFailed;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orvelka-db: %s\n", e.what());
    return kExitFailed;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  std::fprintf(stderr, "orvelka-db: %s created in %.1f s (%.1f MB)\n", file.c_str(), seconds,
               ec ? 0.0 : static_cast<double>(size) / (1024.0 * 1024.0));
  return 0;
}
