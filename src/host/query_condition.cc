#include "host/query_condition.h"

#include "db/sql_literal.h"
#include "db/value.h"

namespace orv::host {
namespace {

std::string Bound(const std::string& raw, int32_t max_length) {
  std::string value = db::Trim(raw);
  if (max_length > 0 && value.size() > static_cast<size_t>(max_length)) {
    value.resize(static_cast<size_t>(max_length));
  }
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
