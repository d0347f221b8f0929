#ifndef ORV_HOST_TREE_GRID_H_
#define ORV_HOST_TREE_GRID_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "host/tree_settings.h"

namespace orv::db {
class Recordset;
class Value;
}  // namespace orv::db

namespace orv::host {

// A row as the column-substitution event presents it: a field value by
// field name.
using TreeRowReader = std::function<db::Value(std::string_view field)>;

// The host's tree grid (TGRID_CLIFOR): shows a recordset as a tree, each row
// under the row whose key field equals its parent-key field (rows with a NULL
// parent are top-level).
//
// Layout, in this order: ClearColumns, SetTreeSettings, SetDisplayOptions,
// AddTextColumn / AddCheckBoxColumn, CloseColumns.
//
// Events go to the window's handlers, called by the host; before each the
// grid makes the row the user works on the bound recordset's current row:
// - before-check: TGRID_CLIFOR_BeforeCheck(cancel); cancel refuses the change.
// - check-change: TGRID_CLIFOR_CheckChange(column key, new value "1"/"0"),
//   after the grid wrote the new value into the bound row.
// - column substitution: TGRID_CLIFOR_ColumnSubstitution(row, column index)
//   when a cell is about to be presented; the handler may swap the index.
class TreeGrid {
 public:
  virtual ~TreeGrid() = default;

  virtual void ClearColumns() = 0;
  virtual void SetTreeSettings(const TreeSettings& settings) = 0;
  virtual void SetDisplayOptions(bool option1, bool option2) = 0;
  virtual void AddTextColumn(std::string_view key, std::string_view field, std::string_view caption,
                             int32_t kind, int32_t width, bool shown) = 0;
  virtual void AddCheckBoxColumn(std::string_view key, std::string_view field,
                                 std::string_view caption, std::string_view checked_value,
                                 std::string_view unchecked_value, bool flag, int32_t width,
                                 bool flag2, bool flag3) = 0;
  virtual void CloseColumns() = 0;

  // The columns collection: index of a column by key (-1 when absent) and the
  // key of an index ("" when out of range).
  virtual int32_t ColumnIndex(std::string_view key) const = 0;
  virtual std::string ColumnKey(int32_t index) const = 0;

  // Shares the recordset while bound; nullptr detaches it.
  virtual void SetDataSource(std::shared_ptr<db::Recordset> recordset) = 0;
  virtual std::shared_ptr<db::Recordset> GetDataSource() const = 0;
  virtual void Refresh() = 0;
};

}  // namespace orv::host

#endif  // ORV_HOST_TREE_GRID_H_
