#ifndef ORV_JOURNAL_ROW_IMAGE_H_
#define ORV_JOURNAL_ROW_IMAGE_H_

#include <optional>
#include <string>

namespace orv::journal {

// One changed row of one gesture: its table, its key (RowText of the
// table's key columns) and its values before and after (RowText of the
// value columns; nullopt when the row was absent).
struct RowImage {
  std::string table;
  std::string key;
  std::optional<std::string> before;
  std::optional<std::string> after;

  friend bool operator==(const RowImage&, const RowImage&) = default;
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_ROW_IMAGE_H_
