#ifndef ORV_HOSTAPP_QT_GROUPING_GRID_H_
#define ORV_HOSTAPP_QT_GROUPING_GRID_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/grid_column.h"
#include "hostapp/grouping_grid_model.h"
#include "hostapp/window_link.h"
#include "zere_orvelka/grouping_grid.h"

namespace orv::hostapp {

// GRIDTIPOLOGIE for the desktop host: keeps the layout the window defines
// and adapts the bound recordset into a GroupingGridModel. A toggle of a
// check-box cell becomes GRIDTIPOLOGIE_SelectionBoxClick with the row made
// current; a header check box becomes GRIDTIPOLOGIE_HeaderCheckBoxClick.
class QtGroupingGrid : public host::GroupingGrid {
 public:
  explicit QtGroupingGrid(std::shared_ptr<WindowLink> link);
  ~QtGroupingGrid() override;

  std::optional<host::GridLayout> GetLayout() const override { return layout_; }
  // Kept without the global object: the host's global object owns this
  // control through its user interface, and a reference back would keep
  // both alive for ever.
  void SetLayout(const host::GridLayout& layout) override {
    layout_ = layout;
    layout_->global.reset();
  }
  void ClearColumns() override;
  void AddTextColumn(std::string_view key, std::string_view caption, int32_t kind,
                     int32_t width) override;
  void AddCheckBoxColumn(std::string_view key, std::string_view caption,
                         std::string_view checked_value, std::string_view unchecked_value,
                         bool flag, int32_t width) override;
  void GroupByColumn(std::string_view key, int32_t level) override;
  void ApplyColumns() override;
  void SetHeaderCheckBox(std::string_view key, bool shown) override;
  void SetHeaderCheck(std::string_view key, bool value, bool flag) override;
  void FinishLayout() override;
  // Only the module's recordsets are bound: other rows leave the grid empty.
  void SetDataSource(std::shared_ptr<host::RowSource> rows) override;
  std::shared_ptr<host::RowSource> GetDataSource() const override { return data_source_; }
  // The bound recordset (null when none).
  const std::shared_ptr<db::Recordset>& recordset() const { return data_source_; }
  void RefreshLayout() override;
  void Redraw() override;
  void Refresh() override;

  GroupingGridModel* model() const { return model_.get(); }
  // The selected row becomes the recordset's current row.
  void MakeCurrent(db::Recordset::Bookmark row);
  // The recordset's current row, when it has one.
  std::optional<db::Recordset::Bookmark> CurrentRow() const;

 private:
  void Toggle(db::Recordset::Bookmark row, int column);
  void HeaderToggle(int column, bool new_state);
  int ModelColumn(std::string_view key) const;

  std::shared_ptr<WindowLink> link_;
  std::unique_ptr<GroupingGridModel> model_;
  std::optional<host::GridLayout> layout_;
  std::vector<host::GridColumn> columns_;
  std::string group_key_;
  std::shared_ptr<db::Recordset> data_source_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_GROUPING_GRID_H_
