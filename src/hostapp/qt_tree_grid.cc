#include "hostapp/qt_tree_grid.h"

#include <QtGlobal>
#include <exception>

#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

QtTreeGrid::QtTreeGrid(std::shared_ptr<WindowLink> link)
    : link_(std::move(link)), model_(std::make_unique<TreeGridModel>()) {
  model_->SetToggleHandler(
      [this](db::Recordset::Bookmark row, int column) { Toggle(row, column); });
  model_->SetSubstitutionHandler(
      [this](db::Recordset::Bookmark row, int column) { return Substitute(row, column); });
}

QtTreeGrid::~QtTreeGrid() = default;

void QtTreeGrid::AddTextColumn(std::string_view key, std::string_view field,
                               std::string_view caption, int32_t /*kind*/, int32_t width,
                               bool shown) {
  host::GridColumn c;
  c.key = std::string(key);
  c.field = std::string(field);
  c.caption = std::string(caption);
  c.width = width;
  c.shown = shown;
  columns_.push_back(std::move(c));
}

void QtTreeGrid::AddCheckBoxColumn(std::string_view key, std::string_view field,
                                   std::string_view caption, std::string_view checked_value,
                                   std::string_view unchecked_value, bool /*flag*/, int32_t width,
                                   bool /*flag2*/, bool /*flag3*/) {
  host::GridColumn c;
  c.key = std::string(key);
  c.field = std::string(field);
  c.caption = std::string(caption);
  c.width = width;
  c.check_box = true;
  c.checked_value = std::string(checked_value);
  c.unchecked_value = std::string(unchecked_value);
  columns_.push_back(std::move(c));
}

void QtTreeGrid::CloseColumns() {
  model_->SetColumns(columns_, settings_ ? settings_->key_field : "KEY",
                     settings_ ? settings_->parent_field : "PADRE_KEY");
}

int32_t QtTreeGrid::ColumnIndex(std::string_view key) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].key == key) return static_cast<int32_t>(i);
  }
  return -1;
}

std::string QtTreeGrid::ColumnKey(int32_t index) const {
  if (index < 0 || index >= static_cast<int32_t>(columns_.size())) return {};
  return columns_[index].key;
}

void QtTreeGrid::SetDataSource(std::shared_ptr<host::RowSource> rows) {
  std::shared_ptr<db::Recordset> recordset = std::dynamic_pointer_cast<db::Recordset>(rows);
  data_source_ = recordset;
  reader_ = recordset ? recordset->Clone() : nullptr;
  model_->SetRecordset(std::move(recordset));
}

void QtTreeGrid::Refresh() { model_->Reload(); }

void QtTreeGrid::MakeCurrent(db::Recordset::Bookmark row) {
  try {
    if (data_source_) data_source_->SetBookmark(row);
  } catch (const std::exception& e) {
    qWarning("TGRID_CLIFOR: %s", e.what());
  }
}

int QtTreeGrid::Substitute(db::Recordset::Bookmark row, int column) {
  editor::FRMFW_ORVELKA* window = link_->Get();
  if (window == nullptr || !reader_) return column;
  int32_t index = column;
  try {
    reader_->SetBookmark(row);
    std::shared_ptr<db::Recordset> reader = reader_;
    host::TreeRowReader read = [reader](std::string_view field) -> db::Value {
      return reader->HasField(field) ? reader->Field(field) : db::Value::Null();
    };
    window->TGRID_CLIFOR_ColumnSubstitution(read, index);
  } catch (const std::exception& e) {
    qWarning("TGRID_CLIFOR: %s", e.what());
    return column;
  }
  return index;
}

void QtTreeGrid::Toggle(db::Recordset::Bookmark row, int column) {
  editor::FRMFW_ORVELKA* window = link_->Get();
  std::shared_ptr<db::Recordset> rs = data_source_;
  if (window == nullptr || !rs || column < 0 || column >= static_cast<int>(columns_.size())) {
    return;
  }
  const host::GridColumn c = columns_[column];
  try {
    rs->SetBookmark(row);
    bool cancel = false;
    window->TGRID_CLIFOR_BeforeCheck(cancel);
    if (!cancel && data_source_ == rs) {
      rs->SetBookmark(row);
      const std::string after = c.Toggled(RecordsetCells::Text(rs->Field(c.field)));
      rs->SetField(c.field, db::Value(after));
      window->TGRID_CLIFOR_CheckChange(c.key, after);
    }
  } catch (const std::exception& e) {
    qWarning("TGRID_CLIFOR: %s", e.what());
  }
  if (data_source_ == rs) model_->RefreshCells();
}

}  // namespace orv::hostapp
