#ifndef ORV_STORE_SQL_TEXT_H_
#define ORV_STORE_SQL_TEXT_H_

#include <string>
#include <string_view>

namespace orv::store {

// Text with every single quote doubled, for use between quotes in a
// statement.
std::string EscapeSql(std::string_view text);

// 'text' with every single quote doubled.
std::string QuoteSql(std::string_view text);

}  // namespace orv::store

#endif  // ORV_STORE_SQL_TEXT_H_
