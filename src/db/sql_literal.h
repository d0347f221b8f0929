#ifndef ORV_DB_SQL_LITERAL_H_
#define ORV_DB_SQL_LITERAL_H_

#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

namespace orv::db {

// Text with every single quote doubled, for statement text that writes the
// surrounding quotes itself. The one place quotes are doubled.
std::string SqlEscape(std::string_view text);

// Text as a host-dialect string literal: between single quotes, every
// quote doubled. The one way text values enter statement text.
std::string SqlQuote(std::string_view text);

// A value as a host-dialect literal: NULL for Null and Empty, integers in
// decimal, decimals with enough digits to read back the same number,
// Booleans as 1/0, text through SqlQuote().
std::string SqlLiteral(const Value& value);

// A statement with values bound to its ? markers (Connection::Execute with
// values) written as one text: each marker outside string literals, quoted
// names and comments replaced by its value through SqlLiteral(), markers
// without a value left as they are. For traces and scripts, never for
// running.
std::string SqlWithValues(std::string_view sql, const std::vector<Value>& values);

// A column or table name as written in a statement: unchanged when it is a
// plain name ("FW31_CODTIPO", "##tempT...", "dbo.X"), otherwise bracketed
// with ']' doubled.
std::string SqlIdentifier(std::string_view name);

}  // namespace orv::db

#endif  // ORV_DB_SQL_LITERAL_H_
