#include "hostdb/host_database.h"

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <system_error>

#include "db/db_error.h"
#include "hostdb/demo_installation.h"
#include "hostdb/host_schema.h"

namespace orv::hostdb {
namespace fs = std::filesystem;
namespace {

// The journal files SQLite may leave beside a database.
void RemoveJournalFiles(const fs::path& path) {
  std::error_code ignored;
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    fs::remove(fs::path(path.string() + suffix), ignored);
  }
}

void RemoveDatabaseFiles(const fs::path& path) {
  std::error_code ignored;
  fs::remove(path, ignored);
  RemoveJournalFiles(path);
}

// Builds a database with `fill` under a temporary name and moves it to
// `path` once complete.
void Build(const std::string& path, bool overwrite,
           const std::function<void(db::Connection&)>& fill) {
  const fs::path target(path);
  if (fs::exists(target) && !overwrite) {
    throw std::runtime_error(path + " already exists");
  }
  const fs::path partial(HostDatabase::PartialPathFor(path));
  RemoveDatabaseFiles(partial);
  try {
    {
      std::shared_ptr<db::Connection> connection = HostDatabase::CreateEmpty(partial.string());
      fill(*connection);
      connection->Close();
    }
    // The rename replaces an old file in one step; its journal files must go
    // first, or the engine would roll the old transaction into the new file.
    RemoveJournalFiles(target);
    fs::rename(partial, target);
  } catch (...) {
    RemoveDatabaseFiles(partial);
    throw;
  }
}

}  // namespace

std::string HostDatabase::PartialPathFor(const std::string& path) {
  return path + ".partial-" + std::to_string(::getpid());
}

std::string HostDatabase::ConnectionStringFor(const std::string& path) {
  // Braces keep a ';' in the path from ending the value.
  if (path.find_first_of(";{}") != std::string::npos) return "Database={" + path + "}";
  return "Database=" + path;
}

std::shared_ptr<db::Connection> HostDatabase::CreateEmpty(const std::string& path) {
  if (fs::exists(path)) throw std::runtime_error(path + " already exists");
  auto connection = db::Connection::Create();
  try {
    connection->Open(ConnectionStringFor(path) + ";Create=yes");
    HostSchema::Install(*connection);
  } catch (...) {
    connection->Close();
    RemoveDatabaseFiles(path);
    throw;
  }
  return connection;
}

void HostDatabase::CreateDemo(const std::string& path, bool overwrite) {
  Build(path, overwrite, [](db::Connection& cn) { DemoInstallation::Populate(cn); });
}

void HostDatabase::CreateScaled(const std::string& path, const ScaleOptions& options,
                                const Progress& progress, bool overwrite) {
  Build(path, overwrite,
        [&](db::Connection& cn) { ScaledInstallation::Populate(cn, options, progress); });
}

std::string CreateDemoDatabase(const std::string& path) {
  HostDatabase::CreateDemo(path);
  return HostDatabase::ConnectionStringFor(path);
}

}  // namespace orv::hostdb
