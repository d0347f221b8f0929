#ifndef ORV_MODULE_MODULE_MANIFEST_H_
#define ORV_MODULE_MODULE_MANIFEST_H_

#include <filesystem>
#include <string>
#include <string_view>

namespace orv::host {

// The manifest hosts read to find the module: a JSON file
// "zere_orvelka.json" holding {"module": "ZERE_ORVELKA", "library": path,
// "classes": ["CLSFW_ORVELKA", "CLSFW_PERMESSIDITTA"], "version": "x.y.z"}.
class ModuleManifest {
 public:
  static constexpr std::string_view kFileName = "zere_orvelka.json";

  // `directory` when not empty, else $XDG_DATA_HOME/orvelka/modules, else
  // $HOME/.local/share/orvelka/modules. Throws std::runtime_error when none
  // can be found.
  static std::filesystem::path Directory(std::string_view directory);

  // Writes the manifest (creating the directory); returns its path. Throws
  // std::exception on failure.
  static std::filesystem::path Write(std::string_view directory, std::string_view library_path);
  // Removes it; true when it existed.
  static bool Remove(std::string_view directory);

  // The JSON text of the manifest.
  static std::string Text(std::string_view library_path);
};

}  // namespace orv::host

#endif  // ORV_MODULE_MODULE_MANIFEST_H_
