#ifndef ORV_HOSTAPP_RECORDSET_CELLS_H_
#define ORV_HOSTAPP_RECORDSET_CELLS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/recordset.h"
#include "db/value.h"

namespace orv::hostapp {

// Reading a bound recordset for a grid without disturbing it: the window's
// handlers rely on the recordset's current row, so grids read through a
// clone and restore the cursor when they must walk the original.
class RecordsetCells {
 public:
  // The bookmarks of the rows the recordset's filter lets through, in order.
  // The current row is restored afterwards.
  static std::vector<db::Recordset::Bookmark> VisibleRows(db::Recordset& recordset);

  // A value as a grid shows it: trimmed text, "" for Null and Empty.
  static std::string Text(const db::Value& value);

  // True when `value` reads as `checked` (text compare after trimming, or
  // numeric equality when both are numbers).
  static bool IsChecked(const db::Value& value, std::string_view checked);
};

// A clone of a bound recordset positioned by bookmark, for reading cells.
class RowReader {
 public:
  explicit RowReader(const db::Recordset& recordset) : clone_(recordset.Clone()) {}
  // The value of `field` in the row; Null when the field is missing or the
  // row is gone.
  db::Value Get(db::Recordset::Bookmark row, std::string_view field);

 private:
  std::shared_ptr<db::Recordset> clone_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_RECORDSET_CELLS_H_
