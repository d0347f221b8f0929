#include "host/query_condition.h"

#include "db/ascii.h"
#include "db/sql_literal.h"
#include "db/value.h"

namespace orv::host {
namespace {

// The value as the field can hold it: trimmed, well-formed UTF-8, at most
// `max_length` characters (a code of accented letters is longer in bytes).
std::string Bound(const std::string& raw, int32_t max_length) {
  std::string value = db::ValidUtf8(db::Trim(raw));
  if (max_length > 0) value = std::string(db::Utf8Prefix(value, static_cast<size_t>(max_length)));
  return value;
}

}  // namespace

std::string BuildQueryCondition(const std::vector<QueryField>& fields) {
  std::string condition;
  for (const QueryField& field : fields) {
    const std::string from = Bound(field.from, field.max_length);
    const std::string to = Bound(field.to, field.max_length);
    if (from.empty() && to.empty()) continue;
    if (!from.empty() && to.empty()) {
      condition += " AND " + field.column + " = " + db::SqlQuote(from);
      continue;
    }
    if (!from.empty()) condition += " AND " + field.column + " >= " + db::SqlQuote(from);
    condition += " AND " + field.column + " <= " + db::SqlQuote(to);
  }
  return condition;
}

}  // namespace orv::host
