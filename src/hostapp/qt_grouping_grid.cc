#include "hostapp/qt_grouping_grid.h"

#include <QtGlobal>
#include <exception>

#include "hostapp/cell_click.h"
#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

QtGroupingGrid::QtGroupingGrid(std::shared_ptr<WindowLink> link)
    : link_(std::move(link)), model_(std::make_unique<GroupingGridModel>()) {
  model_->SetToggleHandler(
      [this](db::Recordset::Bookmark row, int column) { Toggle(row, column); });
  model_->SetHeaderHandler([this](int column, bool state) { HeaderToggle(column, state); });
}

QtGroupingGrid::~QtGroupingGrid() = default;

void QtGroupingGrid::ClearColumns() {
  columns_.clear();
  group_key_.clear();
}

void QtGroupingGrid::AddTextColumn(std::string_view key, std::string_view caption, int32_t /*kind*/,
                                   int32_t width) {
  host::GridColumn c;
  c.key = c.field = std::string(key);
  c.caption = std::string(caption);
  c.width = width;
  columns_.push_back(std::move(c));
}

void QtGroupingGrid::AddCheckBoxColumn(std::string_view key, std::string_view caption,
                                       std::string_view checked_value,
                                       std::string_view unchecked_value, bool /*flag*/,
                                       int32_t width) {
  host::GridColumn c;
  c.key = c.field = std::string(key);
  c.caption = std::string(caption);
  c.width = width;
  c.check_box = true;
  c.checked_value = std::string(checked_value);
  c.unchecked_value = std::string(unchecked_value);
  c.header_check_box = true;  // until the window hides it
  columns_.push_back(std::move(c));
}

void QtGroupingGrid::GroupByColumn(std::string_view key, int32_t /*level*/) {
  group_key_ = std::string(key);
}

void QtGroupingGrid::ApplyColumns() { model_->SetColumns(columns_, group_key_); }

int QtGroupingGrid::ModelColumn(std::string_view key) const {
  const auto& shown = model_->columns();
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

void QtGroupingGrid::SetHeaderCheckBox(std::string_view key, bool shown) {
  for (host::GridColumn& c : columns_) {
    if (c.key == key) c.header_check_box = shown;
  }
  model_->SetHeaderCheckBox(ModelColumn(key), shown);
}

void QtGroupingGrid::SetHeaderCheck(std::string_view key, bool value, bool /*flag*/) {
  for (host::GridColumn& c : columns_) {
    if (c.key == key) c.header_checked = value;
  }
  model_->SetHeaderChecked(ModelColumn(key), value);
}

void QtGroupingGrid::FinishLayout() {}

void QtGroupingGrid::SetDataSource(std::shared_ptr<host::RowSource> rows) {
  std::shared_ptr<db::Recordset> recordset = std::dynamic_pointer_cast<db::Recordset>(rows);
  data_source_ = recordset;
  model_->SetRecordset(std::move(recordset));
}

void QtGroupingGrid::RefreshLayout() { model_->Reload(); }
void QtGroupingGrid::Redraw() { model_->RefreshCells(); }
void QtGroupingGrid::Refresh() { model_->Reload(); }

void QtGroupingGrid::MakeCurrent(db::Recordset::Bookmark row) {
  try {
    if (data_source_) data_source_->SetBookmark(row);
  } catch (const std::exception& e) {
    qWarning("GRIDTIPOLOGIE: %s", e.what());
  }
}

std::optional<db::Recordset::Bookmark> QtGroupingGrid::CurrentRow() const {
  try {
    if (!data_source_ || !data_source_->IsOpen() || data_source_->BOF() || data_source_->IsEof()) {
      return std::nullopt;
    }
    return data_source_->GetBookmark();
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void QtGroupingGrid::Toggle(db::Recordset::Bookmark row, int column) {
  editor::FRMFW_ORVELKA* window = link_->Get();
  const host::GridColumn* spec = model_->column(column);
  std::shared_ptr<db::Recordset> rs = data_source_;
  if (window == nullptr || spec == nullptr || !rs) return;
  const host::GridColumn c = *spec;
  CellClick::Run(
      "GRIDTIPOLOGIE", rs, row, c,
      [window](std::string_view key, std::string_view column, const db::Value& before,
               bool& cancel) {
        window->GRIDTIPOLOGIE_SelectionBoxClick(key, column, before, cancel);
      },
      [&] { return data_source_ == rs; });
  if (data_source_ == rs) model_->RefreshCells();
}

void QtGroupingGrid::HeaderToggle(int column, bool new_state) {
  editor::FRMFW_ORVELKA* window = link_->Get();
  const host::GridColumn* spec = model_->column(column);
  if (window == nullptr || spec == nullptr) return;
  const std::string key = spec->key;
  bool cancel = false;
  window->GRIDTIPOLOGIE_HeaderCheckBoxClick(key, new_state, cancel);
  if (!cancel) model_->SetHeaderChecked(ModelColumn(key), new_state);
}

}  // namespace orv::hostapp
