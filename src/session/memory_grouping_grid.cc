#include "session/memory_grouping_grid.h"

#include <map>

#include "session/recordset_rows.h"

namespace orv::session {

void MemoryGroupingGrid::ClearColumns() {
  columns_.clear();
  group_column_.clear();
}

void MemoryGroupingGrid::AddTextColumn(std::string_view key, std::string_view caption,
                                       int32_t /*kind*/, int32_t width) {
  host::GridColumn column;
  column.key = std::string(key);
  column.field = column.key;
  column.caption = std::string(caption);
  column.width = width;
  columns_.push_back(std::move(column));
}

void MemoryGroupingGrid::AddCheckBoxColumn(std::string_view key, std::string_view caption,
                                           std::string_view checked_value,
                                           std::string_view unchecked_value, bool /*flag*/,
                                           int32_t width) {
  host::GridColumn column;
  column.key = std::string(key);
  column.field = column.key;
  column.caption = std::string(caption);
  column.width = width;
  column.check_box = true;
  column.header_check_box = true;
  column.checked_value = std::string(checked_value);
  column.unchecked_value = std::string(unchecked_value);
  columns_.push_back(std::move(column));
}

void MemoryGroupingGrid::GroupByColumn(std::string_view key, int32_t /*level*/) {
  group_column_ = std::string(key);
}

void MemoryGroupingGrid::SetHeaderCheckBox(std::string_view key, bool shown) {
  if (host::GridColumn* column = FindColumn(key)) column->header_check_box = shown;
}

void MemoryGroupingGrid::SetHeaderCheck(std::string_view key, bool value, bool /*flag*/) {
  if (host::GridColumn* column = FindColumn(key)) column->header_checked = value;
}

void MemoryGroupingGrid::SetDataSource(std::shared_ptr<host::RowSource> rows) {
  std::shared_ptr<db::Recordset> recordset = std::dynamic_pointer_cast<db::Recordset>(rows);
  data_source_ = std::move(recordset);
  ++bind_count;
}

const host::GridColumn* MemoryGroupingGrid::FindColumn(std::string_view key) const {
  for (const host::GridColumn& column : columns_) {
    if (column.key == key) return &column;
  }
  return nullptr;
}

host::GridColumn* MemoryGroupingGrid::FindColumn(std::string_view key) {
  return const_cast<host::GridColumn*>(std::as_const(*this).FindColumn(key));
}

std::vector<db::Recordset::Bookmark> MemoryGroupingGrid::DisplayRows() const {
  if (!data_source_) return {};
  db::Recordset& rs = *data_source_;
  std::vector<db::Recordset::Bookmark> rows = VisibleRows(rs);
  if (group_column_.empty() || !rs.HasField(group_column_)) return rows;
  // Stable grouping by first appearance.
  std::vector<std::string> order;
  std::map<std::string, std::vector<db::Recordset::Bookmark>> groups;
  std::optional<db::Recordset::Bookmark> saved;
  if (!rs.BOF() && !rs.IsEof()) saved = rs.GetBookmark();
  for (db::Recordset::Bookmark row : rows) {
    rs.SetBookmark(row);
    const std::string group = CellText(rs, group_column_);
    auto [it, inserted] = groups.try_emplace(group);
    if (inserted) order.push_back(group);
    it->second.push_back(row);
  }
  if (saved) rs.SetBookmark(*saved);
  std::vector<db::Recordset::Bookmark> display;
  for (const std::string& group : order) {
    const auto& members = groups[group];
    display.insert(display.end(), members.begin(), members.end());
  }
  return display;
}

bool MemoryGroupingGrid::MoveToDisplayRow(int row) {
  const std::vector<db::Recordset::Bookmark> rows = DisplayRows();
  if (row < 1 || static_cast<size_t>(row) > rows.size()) return false;
  data_source_->SetBookmark(rows[static_cast<size_t>(row) - 1]);
  return true;
}

}  // namespace orv::session
