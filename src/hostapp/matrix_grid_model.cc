#include "hostapp/matrix_grid_model.h"

namespace orv::hostapp {

MatrixGridModel::MatrixGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void MatrixGridModel::SetColumns(std::vector<host::GridColumn> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  Build();
  endResetModel();
}

void MatrixGridModel::SetRecordset(std::shared_ptr<db::Recordset> recordset) {
  beginResetModel();
  recordset_ = std::move(recordset);
  Build();
  endResetModel();
}

void MatrixGridModel::Reload() {
  beginResetModel();
  Build();
  endResetModel();
}

void MatrixGridModel::Build() {
  rows_.clear();
  if (!recordset_ || !recordset_->IsOpen()) return;
  RowReader reader(*recordset_);
  for (db::Recordset::Bookmark bookmark : RecordsetCells::VisibleRows(*recordset_)) {
    Row row;
    row.bookmark = bookmark;
    row.code = QString::fromStdString(RecordsetCells::Text(reader.Get(bookmark, "CODICE")));
    ReadRow(row, reader);
    rows_.push_back(std::move(row));
  }
}

void MatrixGridModel::ReadRow(Row& row, RowReader& reader) {
  row.texts.assign(columns_.size(), {});
  row.checked.assign(columns_.size(), false);
  for (size_t c = 0; c < columns_.size(); ++c) {
    const db::Value value = reader.Get(row.bookmark, columns_[c].field);
    if (columns_[c].check_box) {
      row.checked[c] = RecordsetCells::IsChecked(value, columns_[c].checked_value);
    } else {
      row.texts[c] = QString::fromStdString(RecordsetCells::Text(value));
    }
  }
}

void MatrixGridModel::RefreshCells() {
  if (!recordset_ || rows_.empty() || columns_.empty()) return;
  RowReader reader(*recordset_);
  for (Row& row : rows_) ReadRow(row, reader);
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void MatrixGridModel::SetHeaderChecked(int column, bool checked) {
  if (column < 0 || column >= columnCount()) return;
  columns_[column].header_checked = checked;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

void MatrixGridModel::HeaderCheckBoxClicked(int column) {
  if (column < 0 || column >= columnCount() || !columns_[column].check_box) return;
  if (header_handler_) header_handler_(column, !columns_[column].header_checked);
}

int MatrixGridModel::ColumnOf(const std::string& key) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

std::optional<db::Recordset::Bookmark> MatrixGridModel::RowOf(int row) const {
  if (row < 0 || row >= rowCount()) return std::nullopt;
  return rows_[row].bookmark;
}

int MatrixGridModel::RowOfBookmark(db::Recordset::Bookmark bookmark) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].bookmark == bookmark) return static_cast<int>(i);
  }
  return -1;
}

int MatrixGridModel::RowOfCode(const QString& code) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].code == code) return static_cast<int>(i);
  }
  return -1;
}

int MatrixGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MatrixGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant MatrixGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const Row& row = rows_[index.row()];
  const host::GridColumn& c = columns_[index.column()];
  if (c.check_box) {
    if (role == Qt::CheckStateRole)
      return row.checked[index.column()] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole) {
      return QStringLiteral("%1 → %2").arg(row.code, QString::fromStdString(c.caption));
    }
    return {};
  }
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return row.texts[index.column()];
  return {};
}

bool MatrixGridModel::setData(const QModelIndex& index, const QVariant& /*value*/, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || !columns_[index.column()].check_box) {
    return false;
  }
  if (toggle_handler_) toggle_handler_(rows_[index.row()].bookmark, index.column());
  return true;
}

Qt::ItemFlags MatrixGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (columns_[index.column()].check_box) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant MatrixGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    if (role == Qt::DisplayRole && section >= 0 && section < rowCount()) return rows_[section].code;
    return {};
  }
  if (section < 0 || section >= columnCount()) return {};
  const host::GridColumn& c = columns_[section];
  if (role == Qt::DisplayRole) return QString::fromStdString(c.caption);
  if (role == Qt::CheckStateRole && c.check_box) {
    return c.header_checked ? Qt::Checked : Qt::Unchecked;
  }
  if (role == kGroupRole) return QString::fromStdString(c.group);
  if (role == Qt::UserRole) return QString::fromStdString(c.key);
  return {};
}

}  // namespace orv::hostapp
