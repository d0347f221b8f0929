#include "hostdb/sql_text.h"

#include "db/sql_literal.h"

namespace orv::hostdb {

std::string QuoteOrNull(const std::optional<std::string>& text) {
  return text ? db::SqlQuote(*text) : std::string("NULL");
}

std::string Int(int64_t value) { return std::to_string(value); }

std::string IntOrNull(std::optional<int64_t> value) {
  return value ? std::to_string(*value) : std::string("NULL");
}

}  // namespace orv::hostdb
