#include "bench_editor.h"

#include <cstdio>
#include <filesystem>

#include "db/recordset.h"
#include "hostdb/host_database.h"

namespace orv::bench {

namespace fs = std::filesystem;

double ScaleFrom(const char* variable, double fallback) {
  if (const char* s = std::getenv(variable)) return std::atof(s);
  return fallback;
}

std::string ScaledInstallation(const char* db_variable, std::string_view stem, double scale) {
  std::string path;
  if (const char* named = std::getenv(db_variable)) {
    path = named;
  } else {
    char name[64];
    std::snprintf(name, sizeof name, "%.*s_scaled_%g.db", static_cast<int>(stem.size()),
                  stem.data(), scale);
    path = (fs::read_symlink("/proc/self/exe").parent_path() / name).string();
  }
  if (!fs::exists(path)) {
    std::fprintf(stderr, "building the scaled installation in %s\n", path.c_str());
    hostdb::HostDatabase::CreateScaled(path, {scale, 1}, [](std::string_view step, int pct) {
      std::fprintf(stderr, "\r%3d%% %-30.*s", pct, static_cast<int>(step.size()), step.data());
    });
    std::fprintf(stderr, "\n");
  }
  return hostdb::HostDatabase::ConnectionStringFor(path);
}

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

BenchEditor::BenchEditor(const std::string& connection_string,
                         const std::function<void(BenchEditor&)>& prepare) {
  host_.SetOutput([](std::string_view) {});
  session::HeadlessOptions options;
  options.connection_string = connection_string;
  options.login = "admin";
  options.company = 1;
  host_.Open(options);
  if (prepare) prepare(*this);
}

int64_t BenchEditor::Count(const std::string& sql) {
  return connection()->Execute(sql)->Field(0).ToInt64();
}

}  // namespace orv::bench
