#ifndef ORV_HOST_QUERY_CONDITION_H_
#define ORV_HOST_QUERY_CONDITION_H_

#include <cstdint>
#include <string>
#include <vector>

namespace orv::host {

// A field of the query control and what the user typed into it.
struct QueryField {
  std::string caption;
  std::string column;
  int32_t max_length = 0;  // typed values are cut to this many characters (0: no limit)
  std::string from;        // "Da" bound; blank means none
  std::string to;          // "A" bound; blank means none
};

// The filter text of a set of fields: for each field with a bound,
// " AND column = 'from'" when only "Da" is given, " AND column >= 'from'"
// and/or " AND column <= 'to'" otherwise. Values are trimmed, cut to the
// field's length and quoted with every single quote doubled. "" when no
// field has a bound.
std::string BuildQueryCondition(const std::vector<QueryField>& fields);

}  // namespace orv::host

#endif  // ORV_HOST_QUERY_CONDITION_H_
