#ifndef ZERE_ORVELKA_TREE_GRID_H_
#define ZERE_ORVELKA_TREE_GRID_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "zere_orvelka/row_source.h"
#include "zere_orvelka/tree_settings.h"

namespace orv::host {

// The host's tree grid (TGRID_CLIFOR): shows rows as a tree, each row
// under the row whose key field equals its parent-key field (rows with a NULL
// parent are top-level).
//
// Layout, in this order: ClearColumns, SetTreeSettings, SetDisplayOptions,
// AddTextColumn / AddCheckBoxColumn, CloseColumns.
//
// Events go to the window's handlers, called by the host; before each the
// grid makes the row the user works on the bound rows' current row:
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

  // Shares the rows while bound; nullptr detaches them.
  virtual void SetDataSource(std::shared_ptr<RowSource> rows) = 0;
  virtual std::shared_ptr<RowSource> GetDataSource() const = 0;
  virtual void Refresh() = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_TREE_GRID_H_
