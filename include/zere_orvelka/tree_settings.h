#ifndef ZERE_ORVELKA_TREE_SETTINGS_H_
#define ZERE_ORVELKA_TREE_SETTINGS_H_

#include <cstdint>
#include <memory>
#include <string>

namespace orv::host {

class Cinterface;

// The tree settings object of the tree grid, made new for each layout: the
// window's HostInterface, the key and parent-key field names, two numeric
// settings (0) and a Boolean setting (true).
struct TreeSettings {
  std::shared_ptr<Cinterface> host;
  std::string key_field = "KEY";
  std::string parent_field = "PADRE_KEY";
  int32_t setting1 = 0;
  int32_t setting2 = 0;
  bool flag = true;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_TREE_SETTINGS_H_
