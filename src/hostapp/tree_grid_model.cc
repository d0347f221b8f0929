#include "hostapp/tree_grid_model.h"

#include <QFont>
#include <map>

namespace orv::hostapp {

TreeGridModel::TreeGridModel(QObject* parent) : QAbstractItemModel(parent) {}

void TreeGridModel::SetColumns(std::vector<ColumnSpec> columns, std::string key_field,
                               std::string parent_field) {
  beginResetModel();
  all_columns_ = std::move(columns);
  shown_.clear();
  for (size_t i = 0; i < all_columns_.size(); ++i) {
    if (all_columns_[i].shown) shown_.push_back(static_cast<int>(i));
  }
  key_field_ = std::move(key_field);
  parent_field_ = std::move(parent_field);
  Build();
  endResetModel();
}

void TreeGridModel::SetRecordset(std::shared_ptr<db::Recordset> recordset) {
  beginResetModel();
  recordset_ = std::move(recordset);
  Build();
  endResetModel();
}

void TreeGridModel::Reload() {
  beginResetModel();
  Build();
  endResetModel();
}

int TreeGridModel::CollectionColumn(int model_column) const {
  if (model_column < 0 || model_column >= static_cast<int>(shown_.size())) return -1;
  return shown_[model_column];
}

void TreeGridModel::Build() {
  nodes_.clear();
  roots_.clear();
  cursor_.reset();
  field_index_.clear();
  if (!recordset_ || !recordset_->IsOpen()) return;
  const std::vector<db::Recordset::Bookmark> rows = RecordsetCells::VisibleRows(*recordset_);
  cursor_ = recordset_->Clone();
  for (const ColumnSpec& spec : all_columns_)
    field_index_.push_back(cursor_->FieldIndex(spec.field));
  const int key = cursor_->FieldIndex(key_field_);
  const int image = cursor_->FieldIndex("IMAGE");
  const int parent = cursor_->FieldIndex(parent_field_);
  std::map<QString, int> by_key;
  std::vector<QString> parents;
  nodes_.reserve(rows.size());
  parents.reserve(rows.size());
  for (db::Recordset::Bookmark bookmark : rows) {
    Node node;
    node.bookmark = bookmark;
    node.key = QString::fromStdString(RecordsetCells::Text(ValueAt(bookmark, key)));
    node.image = QString::fromStdString(RecordsetCells::Text(ValueAt(bookmark, image)));
    parents.push_back(QString::fromStdString(RecordsetCells::Text(ValueAt(bookmark, parent))));
    by_key.emplace(node.key, static_cast<int>(nodes_.size()));
    nodes_.push_back(std::move(node));
  }
  for (size_t i = 0; i < nodes_.size(); ++i) {
    auto it = parents[i].isEmpty() ? by_key.end() : by_key.find(parents[i]);
    if (it != by_key.end() && it->second != static_cast<int>(i)) {
      nodes_[i].parent = it->second;
      nodes_[i].row = static_cast<int>(nodes_[it->second].children.size());
      nodes_[it->second].children.push_back(static_cast<int>(i));
    } else {
      nodes_[i].row = static_cast<int>(roots_.size());
      roots_.push_back(static_cast<int>(i));
    }
  }
}

db::Value TreeGridModel::ValueAt(db::Recordset::Bookmark row, int field) const {
  if (!cursor_ || field < 0) return db::Value::Null();
  try {
    cursor_->SetBookmark(row);
    return cursor_->Field(field);
  } catch (const std::exception&) {
    return db::Value::Null();
  }
}

const TreeGridModel::Node& TreeGridModel::Cells(quintptr node) const {
  Node& n = nodes_[node];
  if (!n.read) ReadNode(n);
  return n;
}

void TreeGridModel::ReadNode(Node& node) const {
  node.read = true;
  node.texts.assign(shown_.size(), {});
  node.check.assign(shown_.size(), -1);
  for (size_t c = 0; c < shown_.size(); ++c) {
    int source = shown_[c];
    if (substitution_handler_) {
      const int swapped = substitution_handler_(node.bookmark, source);
      if (swapped >= 0 && swapped < static_cast<int>(all_columns_.size())) source = swapped;
    }
    const ColumnSpec& spec = all_columns_[source];
    const db::Value value = ValueAt(node.bookmark, field_index_[source]);
    if (all_columns_[shown_[c]].check_box) {
      if (!value.IsNull() && !value.IsEmpty()) {
        node.check[c] = RecordsetCells::IsChecked(value, spec.checked_value) ? 1 : 0;
      }
    } else {
      node.texts[c] = QString::fromStdString(RecordsetCells::Text(value));
    }
  }
}

void TreeGridModel::RefreshCells() {
  if (!recordset_) return;
  // Read again when shown next.
  for (Node& node : nodes_) node.read = false;
  EmitChanged(kNoParent);
}

void TreeGridModel::EmitChanged(int parent) {
  const std::vector<int>& children = ChildrenOf(parent);
  if (children.empty() || shown_.empty()) return;
  const QModelIndex parent_index =
      parent == kNoParent ? QModelIndex() : createIndex(nodes_[parent].row, 0, parent);
  emit dataChanged(index(0, 0, parent_index),
                   index(static_cast<int>(children.size()) - 1, static_cast<int>(shown_.size()) - 1,
                         parent_index));
  for (int child : children) EmitChanged(child);
}

const std::vector<int>& TreeGridModel::ChildrenOf(int node) const {
  return node == kNoParent ? roots_ : nodes_[node].children;
}

std::optional<db::Recordset::Bookmark> TreeGridModel::RowOf(const QModelIndex& index) const {
  if (!index.isValid()) return std::nullopt;
  return nodes_[index.internalId()].bookmark;
}

QString TreeGridModel::KeyOf(const QModelIndex& index) const {
  return index.isValid() ? nodes_[index.internalId()].key : QString();
}

QModelIndex TreeGridModel::IndexOfKey(const QString& key, int column) const {
  for (size_t i = 0; i < nodes_.size(); ++i) {
    if (nodes_[i].key == key) return createIndex(nodes_[i].row, column, static_cast<quintptr>(i));
  }
  return {};
}

QModelIndex TreeGridModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= columnCount()) return {};
  if (parent.isValid() && parent.column() != 0) return {};
  const std::vector<int>& children =
      ChildrenOf(parent.isValid() ? static_cast<int>(parent.internalId()) : kNoParent);
  if (row >= static_cast<int>(children.size())) return {};
  return createIndex(row, column, static_cast<quintptr>(children[row]));
}

QModelIndex TreeGridModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return {};
  const int p = nodes_[child.internalId()].parent;
  if (p == kNoParent) return {};
  return createIndex(nodes_[p].row, 0, static_cast<quintptr>(p));
}

int TreeGridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  return static_cast<int>(
      ChildrenOf(parent.isValid() ? static_cast<int>(parent.internalId()) : kNoParent).size());
}

int TreeGridModel::columnCount(const QModelIndex& /*parent*/) const {
  return static_cast<int>(shown_.size());
}

QVariant TreeGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= static_cast<int>(shown_.size())) return {};
  const Node& node = Cells(index.internalId());
  const int c = index.column();
  if (all_columns_[shown_[c]].check_box) {
    if (node.check[c] < 0) return {};
    if (role == Qt::CheckStateRole) return node.check[c] == 1 ? Qt::Checked : Qt::Unchecked;
    return {};
  }
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return node.texts[c];
  if (role == Qt::DecorationRole && icon_provider_ && all_columns_[shown_[c]].field == "TEXT") {
    return icon_provider_(node.image);
  }
  if (role == Qt::FontRole && node.parent == kNoParent && node.check.size() == shown_.size()) {
    bool any_box = false;
    for (int box : node.check) any_box = any_box || box >= 0;
    if (!any_box) {
      QFont font;
      font.setBold(true);
      return font;
    }
  }
  return {};
}

bool TreeGridModel::setData(const QModelIndex& index, const QVariant& /*value*/, int role) {
  if (role != Qt::CheckStateRole || !index.isValid()) return false;
  const Node& node = Cells(index.internalId());
  if (node.check[index.column()] < 0) return false;
  if (toggle_handler_) toggle_handler_(node.bookmark, shown_[index.column()]);
  return true;
}

Qt::ItemFlags TreeGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (Cells(index.internalId()).check[index.column()] >= 0) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant TreeGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(shown_.size())) {
    return {};
  }
  const ColumnSpec& c = all_columns_[shown_[section]];
  if (role == Qt::DisplayRole) return QString::fromStdString(c.caption);
  if (role == Qt::UserRole) return QString::fromStdString(c.key);
  return {};
}

}  // namespace orv::hostapp
