#include "session/headless_change_log.h"

#include <string>

namespace orv::session {

std::string HeadlessChangeLog::FormatGroup(std::string_view group_name) {
  if (group_name.empty()) return {};
  return "Gruppo: " + std::string(group_name) + "; ";
}

std::string HeadlessChangeLog::FormatUser(std::string_view user_name) {
  if (user_name.empty()) return {};
  return "Utente: " + std::string(user_name) + "; ";
}

std::string HeadlessChangeLog::FormatDetail(int32_t number, std::string_view text) {
  return std::to_string(number) + ": " + std::string(text) + "; ";
}

void HeadlessChangeLog::WriteEntry(int32_t event_number, std::string_view text) {
  entries_.push_back({event_number, std::string(text)});
  if (output_) output_("LOG " + std::to_string(event_number) + "\t" + OneLine(text));
}

}  // namespace orv::session
