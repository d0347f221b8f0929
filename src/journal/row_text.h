#ifndef ORV_JOURNAL_ROW_TEXT_H_
#define ORV_JOURNAL_ROW_TEXT_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::journal {

// The text form of a row's key or values in a row image: the fields joined
// by '|', a '|' or '\' inside a field preceded by '\', a tab, line feed or
// carriage return inside a field written "\t", "\n", "\r", and a NULL field
// written as "\N". Short, one line, readable in a query tool, and read back
// exactly.
class RowText {
 public:
  using Fields = std::vector<std::optional<std::string>>;

  static std::string Join(const Fields& fields);
  // Appends one field (escaped; NULL as "\\N"), preceded by '|' unless it is
  // the first of `out`: Join() one field at a time, without copies.
  static void Append(std::string& out, const std::optional<std::string_view>& field, bool first);
  // Field `index` of a Join() text (nullopt for NULL or a missing field).
  static std::optional<std::string> Field(std::string_view text, size_t index);
  // The fields of a Join() text; `count` fields are expected (an empty
  // text is one empty field, or no field when count is 0).
  static Fields Split(std::string_view text);
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_ROW_TEXT_H_
