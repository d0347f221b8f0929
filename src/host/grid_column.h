#ifndef ORV_SESSION_GRID_COLUMN_H_
#define ORV_SESSION_GRID_COLUMN_H_

#include <cstdint>
#include <string>

namespace orv::session {

// A column of an in-memory grid, as the window defined it.
struct GridColumn {
  std::string key;
  std::string field;  // bound recordset field (the key unless told otherwise)
  std::string caption;
  int32_t width = 0;
  bool shown = true;
  bool check_box = false;
  std::string checked_value;    // check boxes only
  std::string unchecked_value;  // check boxes only
  std::string group;            // header group (matrix grid)
  bool header_check_box = true;
  bool header_checked = false;
};

}  // namespace orv::session

#endif  // ORV_SESSION_GRID_COLUMN_H_
