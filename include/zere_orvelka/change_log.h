#ifndef ZERE_ORVELKA_CHANGE_LOG_H_
#define ZERE_ORVELKA_CHANGE_LOG_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace orv::host {

// The host's change log. The module formats the pieces of one entry with the
// Format* calls, concatenates them in the order it made them and writes the
// whole text with WriteEntry. Event numbers the module writes: 11 (revocation
// switch), 15 (customer/supplier changes), 16 (parameter and node changes).
class ChangeLog {
 public:
  virtual ~ChangeLog() = default;
  virtual std::string FormatGroup(std::string_view group_name) = 0;
  virtual std::string FormatUser(std::string_view user_name) = 0;
  virtual std::string FormatDetail(int32_t number, std::string_view text) = 0;
  virtual void WriteEntry(int32_t event_number, std::string_view text) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_CHANGE_LOG_H_
