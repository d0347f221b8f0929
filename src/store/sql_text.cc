#include "store/sql_text.h"

namespace orv::store {

std::string EscapeSql(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string QuoteSql(std::string_view text) { return "'" + EscapeSql(text) + "'"; }

}  // namespace orv::store
