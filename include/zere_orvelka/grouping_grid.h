#ifndef ZERE_ORVELKA_GROUPING_GRID_H_
#define ZERE_ORVELKA_GROUPING_GRID_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "zere_orvelka/grid_layout.h"
#include "zere_orvelka/row_source.h"

namespace orv::host {

// The host's grouping grid (GRIDTIPOLOGIE), bound to the window's rows (RowSource).
//
// Layout calls, in the order the window makes them: SetLayout (when
// GetLayout is empty), ClearColumns, AddTextColumn / AddCheckBoxColumn /
// GroupByColumn, ApplyColumns, SetHeaderCheckBox, FinishLayout. A column
// shows the field of the same key.
//
// Events go to the window's handlers, called by the host:
// - check-box click: GRIDTIPOLOGIE_SelectionBoxClick(row key, column key,
//   value before the click, cancel). Before the call the grid makes the
//   clicked row the bound rows' current row; when the handler sets
//   cancel the grid leaves the cell alone (the handler changed the row).
// - header check-box click: GRIDTIPOLOGIE_HeaderCheckBoxClick(column key,
//   new state, cancel).
//
// The grid shares the rows (shared_ptr) while bound; SetDataSource
// (nullptr) empties it.
class GroupingGrid {
 public:
  virtual ~GroupingGrid() = default;

  virtual std::optional<GridLayout> GetLayout() const = 0;
  virtual void SetLayout(const GridLayout& layout) = 0;
  virtual void ClearColumns() = 0;
  virtual void AddTextColumn(std::string_view key, std::string_view caption, int32_t kind,
                             int32_t width) = 0;
  virtual void AddCheckBoxColumn(std::string_view key, std::string_view caption,
                                 std::string_view checked_value, std::string_view unchecked_value,
                                 bool flag, int32_t width) = 0;
  virtual void GroupByColumn(std::string_view key, int32_t level) = 0;
  virtual void ApplyColumns() = 0;
  virtual void SetHeaderCheckBox(std::string_view key, bool shown) = 0;
  virtual void SetHeaderCheck(std::string_view key, bool value, bool flag) = 0;
  virtual void FinishLayout() = 0;

  virtual void SetDataSource(std::shared_ptr<RowSource> rows) = 0;
  virtual std::shared_ptr<RowSource> GetDataSource() const = 0;
  // The two redisplay operations, used after a new binding when the grid
  // holds a layout.
  virtual void RefreshLayout() = 0;
  virtual void Redraw() = 0;
  // Redraws the rows after they changed in place.
  virtual void Refresh() = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_GROUPING_GRID_H_
