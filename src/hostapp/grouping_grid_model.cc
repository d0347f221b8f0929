#include "hostapp/grouping_grid_model.h"

#include <QFont>
#include <map>

#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

GroupingGridModel::GroupingGridModel(QObject* parent) : QAbstractItemModel(parent) {}

void GroupingGridModel::SetColumns(std::vector<ColumnSpec> columns, std::string group_key) {
  beginResetModel();
  columns_.clear();
  for (ColumnSpec& c : columns) {
    if (c.shown && c.key != group_key) columns_.push_back(std::move(c));
  }
  group_key_ = std::move(group_key);
  Build();
  endResetModel();
}

void GroupingGridModel::SetRecordset(std::shared_ptr<db::Recordset> recordset) {
  beginResetModel();
  recordset_ = std::move(recordset);
  Build();
  endResetModel();
}

void GroupingGridModel::Reload() {
  beginResetModel();
  Build();
  endResetModel();
}

int GroupingGridModel::FirstTextColumn() const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i].check_box) return static_cast<int>(i);
  }
  return -1;
}

ColumnSpec* GroupingGridModel::column(int index) {
  if (index < 0 || index >= static_cast<int>(columns_.size())) return nullptr;
  return &columns_[index];
}

void GroupingGridModel::Build() {
  groups_.clear();
  several_companies_ = false;
  if (!recordset_ || !recordset_->IsOpen()) return;
  const std::vector<db::Recordset::Bookmark> rows = RecordsetCells::VisibleRows(*recordset_);
  RowReader reader(*recordset_);
  std::map<std::string, size_t> group_of;
  for (db::Recordset::Bookmark bookmark : rows) {
    Row row;
    row.bookmark = bookmark;
    size_t group = 0;
    if (group_key_.empty()) {
      if (groups_.empty()) groups_.push_back({});
    } else {
      const std::string caption = RecordsetCells::Text(reader.Get(bookmark, group_key_));
      auto [it, added] = group_of.emplace(caption, groups_.size());
      if (added) groups_.push_back({QString::fromStdString(caption), {}});
      group = it->second;
    }
    groups_[group].rows.push_back(std::move(row));
  }
  QString first_company;
  for (Group& g : groups_) {
    for (Row& r : g.rows) {
      ReadRow(r, reader);
      if (first_company.isEmpty()) first_company = r.company_id;
      several_companies_ = several_companies_ || r.company_id != first_company;
    }
  }
  several_companies_ = several_companies_ && !grouped();
}

void GroupingGridModel::ReadRow(Row& row, RowReader& reader) {
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
  if (recordset_->HasField("DITTARAG")) {
    row.company_id =
        QString::fromStdString(RecordsetCells::Text(reader.Get(row.bookmark, "DITTARAG")));
    row.company = row.company_id;
    if (recordset_->HasField("RAGGRUPPAMENTO")) {
      const QString caption =
          QString::fromStdString(RecordsetCells::Text(reader.Get(row.bookmark, "RAGGRUPPAMENTO")));
      if (caption.startsWith(row.company_id + QLatin1Char(' '))) row.company = caption;
    }
  }
}

void GroupingGridModel::RefreshCells() {
  if (!recordset_ || columns_.empty()) return;
  RowReader reader(*recordset_);
  for (size_t g = 0; g < groups_.size(); ++g) {
    for (Row& r : groups_[g].rows) ReadRow(r, reader);
    if (groups_[g].rows.empty()) continue;
    const QModelIndex parent = grouped() ? index(static_cast<int>(g), 0) : QModelIndex();
    emit dataChanged(index(0, 0, parent), index(static_cast<int>(groups_[g].rows.size()) - 1,
                                                static_cast<int>(columns_.size()) - 1, parent));
  }
}

void GroupingGridModel::SetHeaderCheckBox(int column, bool shown) {
  if (ColumnSpec* c = this->column(column)) {
    c->header_check_box = shown;
    emit headerDataChanged(Qt::Horizontal, column, column);
  }
}

void GroupingGridModel::SetHeaderChecked(int column, bool checked) {
  if (ColumnSpec* c = this->column(column)) {
    c->header_checked = checked;
    emit headerDataChanged(Qt::Horizontal, column, column);
  }
}

void GroupingGridModel::HeaderCheckBoxClicked(int column) {
  ColumnSpec* c = this->column(column);
  if (c == nullptr || !c->header_check_box || !header_handler_) return;
  header_handler_(column, !c->header_checked);
}

const GroupingGridModel::Row* GroupingGridModel::RowAt(const QModelIndex& index) const {
  if (!index.isValid()) return nullptr;
  if (grouped()) {
    if (index.internalId() == kTopLevel) return nullptr;
    const Group& g = groups_[index.internalId()];
    return index.row() < static_cast<int>(g.rows.size()) ? &g.rows[index.row()] : nullptr;
  }
  if (groups_.empty()) return nullptr;
  return index.row() < static_cast<int>(groups_[0].rows.size()) ? &groups_[0].rows[index.row()]
                                                                : nullptr;
}

std::optional<db::Recordset::Bookmark> GroupingGridModel::RowOf(const QModelIndex& index) const {
  const Row* row = RowAt(index);
  if (row == nullptr) return std::nullopt;
  return row->bookmark;
}

QModelIndex GroupingGridModel::IndexOf(db::Recordset::Bookmark bookmark, int column) const {
  for (size_t g = 0; g < groups_.size(); ++g) {
    for (size_t r = 0; r < groups_[g].rows.size(); ++r) {
      if (groups_[g].rows[r].bookmark != bookmark) continue;
      const QModelIndex parent = grouped() ? index(static_cast<int>(g), 0) : QModelIndex();
      return index(static_cast<int>(r), column, parent);
    }
  }
  return {};
}

bool GroupingGridModel::IsGroupRow(const QModelIndex& index) const {
  return index.isValid() && grouped() && index.internalId() == kTopLevel;
}

QModelIndex GroupingGridModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= columnCount(parent)) return {};
  if (!parent.isValid()) {
    if (grouped()) {
      return row < static_cast<int>(groups_.size()) ? createIndex(row, column, kTopLevel)
                                                    : QModelIndex();
    }
    return !groups_.empty() && row < static_cast<int>(groups_[0].rows.size())
               ? createIndex(row, column, kTopLevel)
               : QModelIndex();
  }
  if (!IsGroupRow(parent) || parent.column() != 0) return {};
  const Group& g = groups_[parent.row()];
  return row < static_cast<int>(g.rows.size())
             ? createIndex(row, column, static_cast<quintptr>(parent.row()))
             : QModelIndex();
}

QModelIndex GroupingGridModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || !grouped() || child.internalId() == kTopLevel) return {};
  return createIndex(static_cast<int>(child.internalId()), 0, kTopLevel);
}

int GroupingGridModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) {
    if (grouped()) return static_cast<int>(groups_.size());
    return groups_.empty() ? 0 : static_cast<int>(groups_[0].rows.size());
  }
  if (IsGroupRow(parent) && parent.column() == 0) {
    return static_cast<int>(groups_[parent.row()].rows.size());
  }
  return 0;
}

int GroupingGridModel::columnCount(const QModelIndex& /*parent*/) const {
  return static_cast<int>(columns_.size());
}

QVariant GroupingGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (IsGroupRow(index)) {
    if (index.column() != 0) return {};
    const Group& g = groups_[index.row()];
    if (role == Qt::DisplayRole) {
      return QStringLiteral("%1 (%2)").arg(g.caption).arg(static_cast<int>(g.rows.size()));
    }
    if (role == Qt::FontRole) {
      QFont font;
      font.setBold(true);
      return font;
    }
    return {};
  }
  const Row* row = RowAt(index);
  if (row == nullptr || index.column() >= static_cast<int>(columns_.size())) return {};
  const ColumnSpec& c = columns_[index.column()];
  if (c.check_box) {
    if (role == Qt::CheckStateRole)
      return row->checked[index.column()] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
      return row->checked[index.column()] ? QStringLiteral("Sì") : QStringLiteral("No");
    }
    return {};
  }
  if (several_companies_ && index.column() == FirstTextColumn()) {
    if (role == Qt::DisplayRole) {
      return tr("%1 (azienda %2)").arg(row->texts[index.column()], row->company_id);
    }
    if (role == Qt::ToolTipRole) {
      return tr("%1 — azienda %2").arg(row->texts[index.column()], row->company);
    }
  }
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return row->texts[index.column()];
  return {};
}

bool GroupingGridModel::setData(const QModelIndex& index, const QVariant& /*value*/, int role) {
  if (role != Qt::CheckStateRole || !index.isValid()) return false;
  const Row* row = RowAt(index);
  if (row == nullptr || !columns_[index.column()].check_box) return false;
  if (toggle_handler_) toggle_handler_(row->bookmark, index.column());
  return true;
}

Qt::ItemFlags GroupingGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (IsGroupRow(index)) return Qt::ItemIsEnabled;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() < static_cast<int>(columns_.size()) && columns_[index.column()].check_box) {
    f |= Qt::ItemIsUserCheckable;
  }
  return f;
}

QVariant GroupingGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(columns_.size())) {
    return {};
  }
  const ColumnSpec& c = columns_[section];
  if (role == Qt::DisplayRole) return QString::fromStdString(c.caption);
  if (role == Qt::CheckStateRole && c.header_check_box) {
    return c.header_checked ? Qt::Checked : Qt::Unchecked;
  }
  if (role == Qt::UserRole) return QString::fromStdString(c.key);
  return {};
}

}  // namespace orv::hostapp
