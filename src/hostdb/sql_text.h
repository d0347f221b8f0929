#ifndef ORV_HOSTDB_SQL_TEXT_H_
#define ORV_HOSTDB_SQL_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv::hostdb {

// SQL literals in the host's dialect. Every text value that reaches a
// statement goes through db::SqlQuote(): single quotes doubled, nothing else
// changed.
std::string QuoteOrNull(const std::optional<std::string>& text);  // NULL when empty optional
std::string Int(int64_t value);                                   // decimal
std::string IntOrNull(std::optional<int64_t> value);              // NULL when empty optional

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_SQL_TEXT_H_
