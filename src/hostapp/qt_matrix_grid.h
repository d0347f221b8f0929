#ifndef ORV_HOSTAPP_QT_MATRIX_GRID_H_
#define ORV_HOSTAPP_QT_MATRIX_GRID_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/grid_column.h"
#include "hostapp/matrix_grid_model.h"
#include "hostapp/window_link.h"
#include "zere_orvelka/matrix_grid.h"

namespace orv::hostapp {

// GRID_DEPOSITO for the desktop host: columns under header groups, a check
// box in each destination's header. Cell toggles become
// GRID_DEPOSITO_SelectionBoxClick, header toggles
// GRID_DEPOSITO_HeaderCheckBoxClick; the selected row is the recordset's
// current row (the origin the window's row buttons act on).
class QtMatrixGrid : public host::MatrixGrid {
 public:
  explicit QtMatrixGrid(std::shared_ptr<WindowLink> link);
  ~QtMatrixGrid() override;

  std::optional<host::GridLayout> GetLayout() const override { return layout_; }
  // Kept without the global object: the host's global object owns this
  // control through its user interface, and a reference back would keep
  // both alive for ever.
  void SetLayout(const host::GridLayout& layout) override {
    layout_ = layout;
    layout_->global.reset();
  }
  void ClearColumns() override;
  void AddHeaderGroup(std::string_view caption) override;
  void AddTextColumn(std::string_view key, std::string_view caption, int32_t width,
                     std::string_view group) override;
  void AddCheckBoxColumn(std::string_view key, std::string_view caption,
                         std::string_view checked_value, std::string_view unchecked_value,
                         int32_t width, std::string_view group) override;
  void ApplyColumns() override;
  void SetHeaderCheck(std::string_view key, bool value) override;
  void FinishLayout() override {}
  // Only the module's recordsets are bound: other rows leave the grid empty.
  void SetDataSource(std::shared_ptr<host::RowSource> rows) override;
  std::shared_ptr<host::RowSource> GetDataSource() const override { return data_source_; }
  // The bound recordset (null when none).
  const std::shared_ptr<db::Recordset>& recordset() const { return data_source_; }
  void RefreshLayout() override;
  void Refresh() override;

  MatrixGridModel* model() const { return model_.get(); }
  const std::vector<std::string>& header_groups() const { return header_groups_; }
  void MakeCurrent(db::Recordset::Bookmark row);
  // The model row of the recordset's current row (-1 when none).
  int CurrentRow() const;

 private:
  void Toggle(db::Recordset::Bookmark row, int column);
  void HeaderToggle(int column, bool new_state);

  std::shared_ptr<WindowLink> link_;
  std::unique_ptr<MatrixGridModel> model_;
  std::optional<host::GridLayout> layout_;
  std::vector<std::string> header_groups_;
  std::vector<host::GridColumn> columns_;
  std::shared_ptr<db::Recordset> data_source_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_MATRIX_GRID_H_
