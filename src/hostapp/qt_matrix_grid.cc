#include "hostapp/qt_matrix_grid.h"

#include <QtGlobal>
#include <exception>

#include "hostapp/cell_click.h"
#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

QtMatrixGrid::QtMatrixGrid(std::shared_ptr<WindowLink> link)
    : link_(std::move(link)), model_(std::make_unique<MatrixGridModel>()) {
  model_->SetToggleHandler(
      [this](db::Recordset::Bookmark row, int column) { Toggle(row, column); });
  model_->SetHeaderHandler([this](int column, bool state) { HeaderToggle(column, state); });
}

QtMatrixGrid::~QtMatrixGrid() = default;

void QtMatrixGrid::ClearColumns() {
  columns_.clear();
  header_groups_.clear();
}

void QtMatrixGrid::AddHeaderGroup(std::string_view caption) {
  header_groups_.emplace_back(caption);
}

void QtMatrixGrid::AddTextColumn(std::string_view key, std::string_view caption, int32_t width,
                                 std::string_view group) {
  host::GridColumn c;
  c.key = c.field = std::string(key);
  c.caption = std::string(caption);
  c.width = width;
  c.group = std::string(group);
  columns_.push_back(std::move(c));
}

void QtMatrixGrid::AddCheckBoxColumn(std::string_view key, std::string_view caption,
                                     std::string_view checked_value,
                                     std::string_view unchecked_value, int32_t width,
                                     std::string_view group) {
  host::GridColumn c;
  c.key = c.field = std::string(key);
  c.caption = std::string(caption);
  c.width = width;
  c.group = std::string(group);
  c.check_box = true;
  c.checked_value = std::string(checked_value);
  c.unchecked_value = std::string(unchecked_value);
  c.header_check_box = true;
  c.header_checked = true;  // every transfer is allowed until told otherwise
  columns_.push_back(std::move(c));
}

void QtMatrixGrid::ApplyColumns() { model_->SetColumns(columns_); }

void QtMatrixGrid::SetHeaderCheck(std::string_view key, bool value) {
  for (host::GridColumn& c : columns_) {
    if (c.key == key) c.header_checked = value;
  }
  model_->SetHeaderChecked(model_->ColumnOf(std::string(key)), value);
}

void QtMatrixGrid::SetDataSource(std::shared_ptr<host::RowSource> rows) {
  std::shared_ptr<db::Recordset> recordset = std::dynamic_pointer_cast<db::Recordset>(rows);
  data_source_ = recordset;
  model_->SetRecordset(std::move(recordset));
}

void QtMatrixGrid::RefreshLayout() { model_->SetColumns(columns_); }
void QtMatrixGrid::Refresh() { model_->Reload(); }

void QtMatrixGrid::MakeCurrent(db::Recordset::Bookmark row) {
  try {
    if (data_source_) data_source_->SetBookmark(row);
  } catch (const std::exception& e) {
    qWarning("GRID_DEPOSITO: %s", e.what());
  }
}

int QtMatrixGrid::CurrentRow() const {
  try {
    if (!data_source_ || !data_source_->IsOpen() || data_source_->BOF() || data_source_->IsEof()) {
      return -1;
    }
    return model_->RowOfBookmark(data_source_->GetBookmark());
  } catch (const std::exception&) {
    return -1;
  }
}

void QtMatrixGrid::Toggle(db::Recordset::Bookmark row, int column) {
  editor::FRMFW_ORVELKA* window = link_->Get();
  std::shared_ptr<db::Recordset> rs = data_source_;
  if (window == nullptr || !rs || column < 0 || column >= model_->columnCount()) return;
  const host::GridColumn c = model_->columns()[column];
  CellClick::Run(
      "GRID_DEPOSITO", rs, row, c,
      [window](std::string_view key, std::string_view column, const db::Value& before,
               bool& cancel) {
        window->GRID_DEPOSITO_SelectionBoxClick(key, column, before, cancel);
      },
      [&] { return data_source_ == rs; });
  if (data_source_ == rs) model_->RefreshCells();
}

void QtMatrixGrid::HeaderToggle(int column, bool new_state) {
  editor::FRMFW_ORVELKA* window = link_->Get();
  if (window == nullptr || column < 0 || column >= model_->columnCount()) return;
  const std::string key = model_->columns()[column].key;
  bool cancel = false;
  window->GRID_DEPOSITO_HeaderCheckBoxClick(key, new_state, cancel);
  if (!cancel) SetHeaderCheck(key, new_state);
}

}  // namespace orv::hostapp
