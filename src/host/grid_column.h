#ifndef ORV_HOST_GRID_COLUMN_H_
#define ORV_HOST_GRID_COLUMN_H_

#include <cstdint>
#include <string>

namespace orv::host {

// A grid column as the window defined it through a grid interface. The
// headless and the desktop host keep their grids' columns in this form.
struct GridColumn {
  std::string key;
  std::string field;  // bound field (the key unless told otherwise)
  std::string caption;
  int32_t width = 0;  // twips
  bool shown = true;
  bool check_box = false;
  std::string checked_value;    // check boxes only
  std::string unchecked_value;  // check boxes only
  std::string group;            // header group (matrix grid)
  // A check-box column shows a header box from when it is added until the
  // window hides it.
  bool header_check_box = false;
  bool header_checked = false;

  // The value a click leaves in a check-box cell that held `before`.
  std::string Toggled(const std::string& before) const {
    return before == checked_value ? unchecked_value : checked_value;
  }
};

}  // namespace orv::host

#endif  // ORV_HOST_GRID_COLUMN_H_
