#include "hostdb/sql_text.h"

namespace orv::hostdb {

std::string Quote(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('\'');
  for (char c : text) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  out.push_back('\'');
  return out;
}

std::string QuoteOrNull(const std::optional<std::string>& text) {
  return text ? Quote(*text) : std::string("NULL");
}

std::string Int(int64_t value) { return std::to_string(value); }

std::string IntOrNull(std::optional<int64_t> value) {
  return value ? std::to_string(*value) : std::string("NULL");
}

}  // namespace orv::hostdb
