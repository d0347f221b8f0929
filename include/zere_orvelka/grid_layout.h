#ifndef ZERE_ORVELKA_GRID_LAYOUT_H_
#define ZERE_ORVELKA_GRID_LAYOUT_H_

#include <cstdint>
#include <memory>
#include <string>

namespace orv::host {

class ClsGlobal;

// The layout object a grid keeps (created by the window when the grid has
// none): the host's global object, no data source, two flags (the first true
// for every layout but 9, the second only for layout 9), the key column name
// "CODICE", the number 0 and the side-bar item key.
struct GridLayout {
  std::shared_ptr<ClsGlobal> global;
  bool grouping = true;
  bool matrix = false;
  std::string key_column = "CODICE";
  int32_t number = 0;
  std::string item_key;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_GRID_LAYOUT_H_
