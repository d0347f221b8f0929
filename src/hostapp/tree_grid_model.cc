#include "hostapp/tree_grid_model.h"

#include <QFont>
#include <algorithm>
#include <exception>

namespace orv::hostapp {

TreeGridModel::TreeGridModel(QObject* parent) : QAbstractItemModel(parent) {}

void TreeGridModel::SetColumns(std::vector<host::GridColumn> columns, std::string key_field,
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
  by_key_.clear();
  key_text_.clear();
  key_ends_.clear();
  nodes_.clear();
  roots_.clear();
  child_start_.clear();
  children_.clear();
  rows_.clear();
  cursor_.reset();
  field_index_.clear();
  key_index_ = parent_index_ = image_index_ = -1;
  indexed_ = true;
  if (!recordset_ || !recordset_->IsOpen()) return;
  rows_ = RecordsetCells::VisibleRows(*recordset_);
  cursor_ = recordset_->Clone();
  for (const host::GridColumn& spec : all_columns_)
    field_index_.push_back(cursor_->FieldIndex(spec.field));
  key_index_ = cursor_->FieldIndex(key_field_);
  image_index_ = cursor_->FieldIndex("IMAGE");
  parent_index_ = cursor_->FieldIndex(parent_field_);
  indexed_ = false;
}

void TreeGridModel::Index() const {
  if (indexed_) return;
  indexed_ = true;
  const size_t count = rows_.size();
  nodes_.resize(count);
  // Every key in one buffer, each by its end; the map's views into the
  // buffer are made once it is whole.
  key_ends_.reserve(count);
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    nodes_[i].bookmark = rows_[i];
    const db::Value* value = FieldOf(rows_[i], key_index_);
    if (value != nullptr && value->type() == db::Value::Type::kText) {
      key_text_ += db::TrimView(value->AsText());
    } else if (value != nullptr) {
      key_text_ += RecordsetCells::Text(*value);
    }
    key_ends_.push_back(key_text_.size());
  }
  by_key_.reserve(count);
  for (size_t i = 0; i < count; ++i) by_key_.emplace(KeyAt(i), static_cast<int>(i));
  // Each row's parent, then the children of each parent in recordset order.
  // Siblings usually follow each other, so the previous row's parent is
  // tried before the map.
  std::vector<int> counts(count + 1, 0);
  int last_parent = kNoParent;
  for (size_t i = 0; i < count; ++i) {
    const db::Value* value = FieldOf(rows_[i], parent_index_);
    if (value == nullptr || value->IsNull() || value->IsEmpty()) continue;
    std::string_view key;
    if (value->type() == db::Value::Type::kText) {
      key = db::TrimView(value->AsText());
    } else {
      text = RecordsetCells::Text(*value);
      key = text;
    }
    if (key.empty()) continue;
    int parent = kNoParent;
    if (last_parent != kNoParent && KeyAt(static_cast<size_t>(last_parent)) == key) {
      parent = last_parent;
    } else {
      auto it = by_key_.find(key);
      if (it == by_key_.end()) continue;
      parent = last_parent = it->second;
    }
    if (parent == static_cast<int>(i)) continue;
    nodes_[i].parent = parent;
    ++counts[static_cast<size_t>(parent)];
  }
  child_start_.assign(count + 1, 0);
  for (size_t i = 0; i < count; ++i) child_start_[i + 1] = child_start_[i] + counts[i];
  children_.assign(static_cast<size_t>(child_start_[count]), 0);
  std::fill(counts.begin(), counts.end(), 0);
  for (size_t i = 0; i < count; ++i) {
    Node& node = nodes_[i];
    if (node.parent == kNoParent) {
      node.row = static_cast<int>(roots_.size());
      roots_.push_back(static_cast<int>(i));
    } else {
      const auto p = static_cast<size_t>(node.parent);
      node.row = counts[p]++;
      children_[static_cast<size_t>(child_start_[p] + node.row)] = static_cast<int>(i);
    }
  }
}

std::string_view TreeGridModel::KeyAt(size_t node) const {
  const size_t begin = node == 0 ? 0 : key_ends_[node - 1];
  return std::string_view(key_text_).substr(begin, key_ends_[node] - begin);
}

const db::Value* TreeGridModel::FieldOf(db::Recordset::Bookmark row, int field) const {
  if (!cursor_ || field < 0) return nullptr;
  try {
    cursor_->SetBookmark(row);
    return &cursor_->Field(field);
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::string TreeGridModel::TextOf(db::Recordset::Bookmark row, int field) const {
  const db::Value* value = FieldOf(row, field);
  if (value == nullptr) return {};
  if (value->type() == db::Value::Type::kText) return db::Trim(value->AsText());
  return RecordsetCells::Text(*value);
}

const TreeGridModel::Node& TreeGridModel::Cells(quintptr node) const {
  Index();
  Node& n = nodes_[node];
  if (!n.read) ReadNode(n);
  return n;
}

void TreeGridModel::ReadNode(Node& node) const {
  node.read = true;
  node.image = QString::fromStdString(TextOf(node.bookmark, image_index_));
  node.texts.assign(shown_.size(), {});
  node.check.assign(shown_.size(), -1);
  for (size_t c = 0; c < shown_.size(); ++c) {
    int source = shown_[c];
    if (substitution_handler_) {
      const int swapped = substitution_handler_(node.bookmark, source);
      if (swapped >= 0 && swapped < static_cast<int>(all_columns_.size())) source = swapped;
    }
    const host::GridColumn& spec = all_columns_[source];
    if (all_columns_[shown_[c]].check_box) {
      const db::Value* value = FieldOf(node.bookmark, field_index_[source]);
      if (value != nullptr && !value->IsNull() && !value->IsEmpty()) {
        node.check[c] = RecordsetCells::IsChecked(*value, spec.checked_value) ? 1 : 0;
      }
    } else {
      node.texts[c] = QString::fromStdString(TextOf(node.bookmark, field_index_[source]));
    }
  }
}

void TreeGridModel::RefreshCells() {
  // Nothing shown yet: every cell is read when first asked for.
  if (!recordset_ || !indexed_) return;
  // Read again when shown next.
  for (Node& node : nodes_) node.read = false;
  EmitChanged(kNoParent);
}

void TreeGridModel::EmitChanged(int parent) {
  const std::span<const int> children = ChildrenOf(parent);
  if (children.empty() || shown_.empty()) return;
  const QModelIndex parent_index =
      parent == kNoParent ? QModelIndex() : createIndex(nodes_[parent].row, 0, parent);
  emit dataChanged(index(0, 0, parent_index),
                   index(static_cast<int>(children.size()) - 1, static_cast<int>(shown_.size()) - 1,
                         parent_index));
  for (int child : children) EmitChanged(child);
}

std::span<const int> TreeGridModel::ChildrenOf(int node) const {
  Index();
  if (node == kNoParent) return roots_;
  const auto n = static_cast<size_t>(node);
  return std::span<const int>(children_).subspan(
      static_cast<size_t>(child_start_[n]),
      static_cast<size_t>(child_start_[n + 1] - child_start_[n]));
}

std::optional<db::Recordset::Bookmark> TreeGridModel::RowOf(const QModelIndex& index) const {
  if (!index.isValid()) return std::nullopt;
  return nodes_[index.internalId()].bookmark;
}

QString TreeGridModel::KeyOf(const QModelIndex& index) const {
  if (!index.isValid()) return {};
  Index();
  const std::string_view key = KeyAt(index.internalId());
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

QModelIndex TreeGridModel::IndexOfKey(const QString& key, int column) const {
  Index();
  auto it = by_key_.find(key.toStdString());
  if (it == by_key_.end()) return {};
  return createIndex(nodes_[static_cast<size_t>(it->second)].row, column,
                     static_cast<quintptr>(it->second));
}

QModelIndex TreeGridModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= columnCount()) return {};
  if (parent.isValid() && parent.column() != 0) return {};
  const std::span<const int> children =
      ChildrenOf(parent.isValid() ? static_cast<int>(parent.internalId()) : kNoParent);
  if (row >= static_cast<int>(children.size())) return {};
  return createIndex(row, column, static_cast<quintptr>(children[static_cast<size_t>(row)]));
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
  // Only a box column needs the row's cells: the view asks every laid-out
  // row's flags, and a text column's are the same for all.
  if (index.column() >= static_cast<int>(shown_.size()) ||
      !all_columns_[shown_[index.column()]].check_box) {
    return f;
  }
  if (Cells(index.internalId()).check[index.column()] >= 0) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant TreeGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(shown_.size())) {
    return {};
  }
  const host::GridColumn& c = all_columns_[shown_[section]];
  if (role == Qt::DisplayRole) return QString::fromStdString(c.caption);
  if (role == Qt::UserRole) return QString::fromStdString(c.key);
  return {};
}

}  // namespace orv::hostapp
