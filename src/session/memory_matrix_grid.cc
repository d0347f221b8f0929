#include "session/memory_matrix_grid.h"

#include "session/recordset_rows.h"

namespace orv::session {

void MemoryMatrixGrid::ClearColumns() {
  columns_.clear();
  header_groups_.clear();
}

void MemoryMatrixGrid::AddHeaderGroup(std::string_view caption) {
  header_groups_.emplace_back(caption);
}

void MemoryMatrixGrid::AddTextColumn(std::string_view key, std::string_view caption, int32_t width,
                                     std::string_view group) {
  host::GridColumn column;
  column.key = std::string(key);
  column.field = column.key;
  column.caption = std::string(caption);
  column.width = width;
  column.group = std::string(group);
  columns_.push_back(std::move(column));
}

void MemoryMatrixGrid::AddCheckBoxColumn(std::string_view key, std::string_view caption,
                                         std::string_view checked_value,
                                         std::string_view unchecked_value, int32_t width,
                                         std::string_view group) {
  host::GridColumn column;
  column.key = std::string(key);
  column.field = column.key;
  column.caption = std::string(caption);
  column.width = width;
  column.group = std::string(group);
  column.check_box = true;
  column.header_check_box = true;
  column.checked_value = std::string(checked_value);
  column.unchecked_value = std::string(unchecked_value);
  columns_.push_back(std::move(column));
}

void MemoryMatrixGrid::SetHeaderCheck(std::string_view key, bool value) {
  for (host::GridColumn& column : columns_) {
    if (column.key == key) column.header_checked = value;
  }
}

void MemoryMatrixGrid::SetDataSource(std::shared_ptr<host::RowSource> rows) {
  std::shared_ptr<db::Recordset> recordset = std::dynamic_pointer_cast<db::Recordset>(rows);
  data_source_ = std::move(recordset);
  ++bind_count;
}

const host::GridColumn* MemoryMatrixGrid::FindColumn(std::string_view key) const {
  for (const host::GridColumn& column : columns_) {
    if (column.key == key) return &column;
  }
  return nullptr;
}

bool MemoryMatrixGrid::MoveToOrigin(std::string_view origin) {
  if (!data_source_) return false;
  std::optional<db::Recordset::Bookmark> row = FindRow(*data_source_, "CODICE", origin);
  if (!row) return false;
  data_source_->SetBookmark(*row);
  return true;
}

}  // namespace orv::session
