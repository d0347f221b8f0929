#ifndef ORV_HOSTAPP_COLUMN_SPEC_H_
#define ORV_HOSTAPP_COLUMN_SPEC_H_

#include <cstdint>
#include <string>

namespace orv::hostapp {

// A grid column as the window defined it through a host-control interface.
struct ColumnSpec {
  std::string key;
  std::string field;  // bound recordset field
  std::string caption;
  int32_t width = 0;  // twips
  bool shown = true;
  bool check_box = false;
  std::string checked_value;    // check boxes only
  std::string unchecked_value;  // check boxes only
  std::string group;            // header group (matrix grid)
  bool header_check_box = false;
  bool header_checked = false;

  // The value a click leaves in a check-box cell that held `before`.
  std::string Toggled(const std::string& before) const {
    return before == checked_value ? unchecked_value : checked_value;
  }
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_COLUMN_SPEC_H_
