#ifndef ZERE_ORVELKA_MATRIX_GRID_H_
#define ZERE_ORVELKA_MATRIX_GRID_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "zere_orvelka/grid_layout.h"
#include "zere_orvelka/row_source.h"

namespace orv::host {

// The host's grid in its matrix form (GRID_DEPOSITO): columns under header
// groups, one check-box column per destination.
//
// Layout: SetLayout (when GetLayout is empty), ClearColumns, AddHeaderGroup
// ("Destinazioni", then "Origine"), AddTextColumn / AddCheckBoxColumn with
// their group caption, ApplyColumns, FinishLayout.
//
// Events go to the window's handlers, called by the host; before each the
// grid makes the clicked row the bound rows' current row:
// - cell click: GRID_DEPOSITO_SelectionBoxClick(row key, column key, value
//   before the click, cancel);
// - header click: GRID_DEPOSITO_HeaderCheckBoxClick(column key, new header
//   state, cancel).
class MatrixGrid {
 public:
  virtual ~MatrixGrid() = default;

  virtual std::optional<GridLayout> GetLayout() const = 0;
  virtual void SetLayout(const GridLayout& layout) = 0;
  virtual void ClearColumns() = 0;
  virtual void AddHeaderGroup(std::string_view caption) = 0;
  virtual void AddTextColumn(std::string_view key, std::string_view caption, int32_t width,
                             std::string_view group) = 0;
  virtual void AddCheckBoxColumn(std::string_view key, std::string_view caption,
                                 std::string_view checked_value, std::string_view unchecked_value,
                                 int32_t width, std::string_view group) = 0;
  virtual void ApplyColumns() = 0;
  virtual void SetHeaderCheck(std::string_view key, bool value) = 0;
  virtual void FinishLayout() = 0;

  // Shares the rows while bound; nullptr detaches them.
  virtual void SetDataSource(std::shared_ptr<RowSource> rows) = 0;
  virtual std::shared_ptr<RowSource> GetDataSource() const = 0;
  virtual void RefreshLayout() = 0;
  virtual void Refresh() = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_MATRIX_GRID_H_
