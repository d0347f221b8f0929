#include "session/memory_tree_grid.h"

#include "session/recordset_rows.h"

namespace orv::session {

void MemoryTreeGrid::AddTextColumn(std::string_view key, std::string_view field,
                                   std::string_view caption, int32_t /*kind*/, int32_t width,
                                   bool shown) {
  host::GridColumn column;
  column.key = std::string(key);
  column.field = std::string(field);
  column.caption = std::string(caption);
  column.width = width;
  column.shown = shown;
  columns_.push_back(std::move(column));
}

void MemoryTreeGrid::AddCheckBoxColumn(std::string_view key, std::string_view field,
                                       std::string_view caption, std::string_view checked_value,
                                       std::string_view unchecked_value, bool /*flag*/,
                                       int32_t width, bool /*flag2*/, bool /*flag3*/) {
  host::GridColumn column;
  column.key = std::string(key);
  column.field = std::string(field);
  column.caption = std::string(caption);
  column.width = width;
  column.check_box = true;
  column.header_check_box = true;
  column.checked_value = std::string(checked_value);
  column.unchecked_value = std::string(unchecked_value);
  columns_.push_back(std::move(column));
}

int32_t MemoryTreeGrid::ColumnIndex(std::string_view key) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].key == key) return static_cast<int32_t>(i);
  }
  return -1;
}

std::string MemoryTreeGrid::ColumnKey(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= columns_.size()) return {};
  return columns_[static_cast<size_t>(index)].key;
}

void MemoryTreeGrid::SetDataSource(std::shared_ptr<host::RowSource> rows) {
  std::shared_ptr<db::Recordset> recordset = std::dynamic_pointer_cast<db::Recordset>(rows);
  data_source_ = std::move(recordset);
  ++bind_count;
}

const host::GridColumn* MemoryTreeGrid::FindColumn(std::string_view key) const {
  const int32_t index = ColumnIndex(key);
  return index < 0 ? nullptr : &columns_[static_cast<size_t>(index)];
}

bool MemoryTreeGrid::MoveToKey(std::string_view key) {
  if (!data_source_) return false;
  std::optional<db::Recordset::Bookmark> row = FindRow(*data_source_, key_field(), key);
  if (!row) return false;
  data_source_->SetBookmark(*row);
  return true;
}

}  // namespace orv::session
