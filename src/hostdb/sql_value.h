#ifndef ORV_HOSTDB_SQL_VALUE_H_
#define ORV_HOSTDB_SQL_VALUE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/sql_literal.h"
#include "hostdb/sql_text.h"

namespace orv::hostdb {

// A value already rendered as a SQL literal: integers as decimal, text quoted
// with its single quotes doubled, nullptr (or an empty optional) as NULL. Lets
// data tables be written as {1, "code", nullptr} without quoting by hand.
class SqlValue {
 public:
  SqlValue(int v) : literal_(Int(v)) {}                                        // NOLINT
  SqlValue(int64_t v) : literal_(Int(v)) {}                                    // NOLINT
  SqlValue(std::nullptr_t) : literal_("NULL") {}                               // NOLINT
  SqlValue(const char* v) : literal_(v ? db::SqlQuote(v) : "NULL") {}          // NOLINT
  SqlValue(std::string_view v) : literal_(db::SqlQuote(v)) {}                  // NOLINT
  SqlValue(const std::string& v) : literal_(db::SqlQuote(v)) {}                // NOLINT
  SqlValue(const std::optional<std::string>& v) : literal_(QuoteOrNull(v)) {}  // NOLINT

  const std::string& literal() const { return literal_; }

 private:
  std::string literal_;
};

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_SQL_VALUE_H_
