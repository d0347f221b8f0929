#include "module/module_manifest.h"

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <system_error>

namespace orv::host {

#ifndef ORV_VERSION
#define ORV_VERSION "0.1.0"
#endif

std::filesystem::path ModuleManifest::Directory(std::string_view directory) {
  if (!directory.empty()) return std::filesystem::path(directory);
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
    return std::filesystem::path(xdg) / "orvelka" / "modules";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home) / ".local" / "share" / "orvelka" / "modules";
  }
  throw std::runtime_error("no directory for the module manifest: set XDG_DATA_HOME or HOME");
}

std::string ModuleManifest::Text(std::string_view library_path) {
  nlohmann::json manifest = {
      {"module", "ZERE_ORVELKA"},
      {"library", std::string(library_path)},
      {"classes", {"CLSFW_ORVELKA", "CLSFW_PERMESSIDITTA"}},
      {"version", ORV_VERSION},
  };
  return manifest.dump(2) + "\n";
}

std::filesystem::path ModuleManifest::Write(std::string_view directory,
                                            std::string_view library_path) {
  const std::filesystem::path dir = Directory(directory);
  std::filesystem::create_directories(dir);
  const std::filesystem::path file = dir / kFileName;
  // Written beside and renamed, so that a host never reads half a manifest.
  const std::filesystem::path temp = dir / (std::string(kFileName) + ".tmp");
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + temp.string());
    out << Text(library_path);
    out.close();
    if (!out) throw std::runtime_error("cannot write " + temp.string());
  }
  std::filesystem::rename(temp, file);
  return file;
}

bool ModuleManifest::Remove(std::string_view directory) {
  return std::filesystem::remove(Directory(directory) / kFileName);
}

}  // namespace orv::host
