#ifndef ORV_SESSION_MEMORY_GROUPING_GRID_H_
#define ORV_SESSION_MEMORY_GROUPING_GRID_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/recordset.h"
#include "host/grid_column.h"
#include "zere_orvelka/grouping_grid.h"

namespace orv::session {

// The grouping grid of the headless host. Display order: with a grouping
// column, groups in the order their first row appears and rows in recordset
// order inside a group; without one, recordset order. Display rows are
// numbered from 1 and count data rows only.
class MemoryGroupingGrid : public host::GroupingGrid {
 public:
  std::optional<host::GridLayout> GetLayout() const override { return layout_; }
  void SetLayout(const host::GridLayout& layout) override { layout_ = layout; }
  void ClearColumns() override;
  void AddTextColumn(std::string_view key, std::string_view caption, int32_t kind,
                     int32_t width) override;
  void AddCheckBoxColumn(std::string_view key, std::string_view caption,
                         std::string_view checked_value, std::string_view unchecked_value,
                         bool flag, int32_t width) override;
  void GroupByColumn(std::string_view key, int32_t level) override;
  void ApplyColumns() override { ++apply_count; }
  void SetHeaderCheckBox(std::string_view key, bool shown) override;
  void SetHeaderCheck(std::string_view key, bool value, bool flag) override;
  void FinishLayout() override { ++finish_count; }
  // Only the module's recordsets are bound: other rows leave the grid empty.
  void SetDataSource(std::shared_ptr<host::RowSource> rows) override;
  std::shared_ptr<host::RowSource> GetDataSource() const override { return data_source_; }
  // The bound recordset (null when none).
  const std::shared_ptr<db::Recordset>& recordset() const { return data_source_; }
  void RefreshLayout() override { ++refresh_layout_count; }
  void Redraw() override { ++redraw_count; }
  void Refresh() override { ++refresh_count; }

  const std::vector<host::GridColumn>& columns() const { return columns_; }
  const host::GridColumn* FindColumn(std::string_view key) const;
  host::GridColumn* FindColumn(std::string_view key);
  const std::string& group_column() const { return group_column_; }
  // The bookmarks of the display rows, in display order.
  std::vector<db::Recordset::Bookmark> DisplayRows() const;
  // Makes display row `row` (1-based) the recordset's current row; false
  // when there is no such row.
  bool MoveToDisplayRow(int row);

  int apply_count = 0;
  int finish_count = 0;
  int refresh_layout_count = 0;
  int redraw_count = 0;
  int refresh_count = 0;
  int bind_count = 0;

 private:
  std::optional<host::GridLayout> layout_;
  std::vector<host::GridColumn> columns_;
  std::string group_column_;
  std::shared_ptr<db::Recordset> data_source_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_MEMORY_GROUPING_GRID_H_
