#ifndef ORV_JOURNAL_ROW_TEXT_H_
#define ORV_JOURNAL_ROW_TEXT_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::journal {

// The text form of a row's key or values in a row image: the fields joined
// by '|', a '|' or '\' inside a field preceded by '\', and a NULL field
// written as "\N". Short, readable in a query tool, and read back exactly.
class RowText {
 public:
  using Fields = std::vector<std::optional<std::string>>;

  static std::string Join(const Fields& fields);
  // The fields of a Join() text; `count` fields are expected (an empty
  // text is one empty field, or no field when count is 0).
  static Fields Split(std::string_view text);
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_ROW_TEXT_H_
