#ifndef ORV_HOSTAPP_QT_TREE_GRID_H_
#define ORV_HOSTAPP_QT_TREE_GRID_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/grid_column.h"
#include "hostapp/tree_grid_model.h"
#include "hostapp/window_link.h"
#include "zere_orvelka/tree_grid.h"

namespace orv::hostapp {

// TGRID_CLIFOR for the desktop host. A toggle makes the row current, asks
// TGRID_CLIFOR_BeforeCheck, writes the new value into the row and raises
// TGRID_CLIFOR_CheckChange; every presented cell goes through
// TGRID_CLIFOR_ColumnSubstitution.
class QtTreeGrid : public host::TreeGrid {
 public:
  explicit QtTreeGrid(std::shared_ptr<WindowLink> link);
  ~QtTreeGrid() override;

  void ClearColumns() override { columns_.clear(); }
  // Kept without the module interface, which owns this control.
  void SetTreeSettings(const host::TreeSettings& settings) override {
    settings_ = settings;
    settings_->host.reset();
  }
  void SetDisplayOptions(bool option1, bool option2) override { options_ = {option1, option2}; }
  void AddTextColumn(std::string_view key, std::string_view field, std::string_view caption,
                     int32_t kind, int32_t width, bool shown) override;
  void AddCheckBoxColumn(std::string_view key, std::string_view field, std::string_view caption,
                         std::string_view checked_value, std::string_view unchecked_value,
                         bool flag, int32_t width, bool flag2, bool flag3) override;
  void CloseColumns() override;
  int32_t ColumnIndex(std::string_view key) const override;
  std::string ColumnKey(int32_t index) const override;
  // Only the module's recordsets are bound: other rows leave the grid empty.
  void SetDataSource(std::shared_ptr<host::RowSource> rows) override;
  std::shared_ptr<host::RowSource> GetDataSource() const override { return data_source_; }
  // The bound recordset (null when none).
  const std::shared_ptr<db::Recordset>& recordset() const { return data_source_; }
  void Refresh() override;

  TreeGridModel* model() const { return model_.get(); }
  void MakeCurrent(db::Recordset::Bookmark row);

 private:
  void Toggle(db::Recordset::Bookmark row, int column);
  int Substitute(db::Recordset::Bookmark row, int column);

  std::shared_ptr<WindowLink> link_;
  std::unique_ptr<TreeGridModel> model_;
  std::vector<host::GridColumn> columns_;
  std::optional<host::TreeSettings> settings_;
  std::pair<bool, bool> options_{false, false};
  std::shared_ptr<db::Recordset> data_source_;
  std::shared_ptr<db::Recordset> reader_;  // a clone for the substitution event
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_TREE_GRID_H_
