#ifndef ORV_HOSTAPP_TREE_GRID_MODEL_H_
#define ORV_HOSTAPP_TREE_GRID_MODEL_H_

#include <QAbstractItemModel>
#include <QIcon>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/recordset.h"
#include "host/grid_column.h"
#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

// A bound recordset shown as a tree: each row under the row whose key field
// equals its parent-key field; rows with a Null or unknown parent are
// top-level. Recordset order is kept among siblings.
//
// Filled lazily: binding a recordset notes its visible rows and nothing
// more. The first question about the tree's shape (a row count, an index, a
// key) reads the key and parent-key fields of every row once, by field
// position and without making display texts, and links each row to its
// parent; a row's cells (texts, check, image) are read by field position
// when the view first asks for them, so a branch's rows are read when it is
// expanded, as the recordset holds them then.
//
// A check-box cell exists only where the row's field is not Null (heading
// rows carry no box). Toggles go to the toggle handler, as in
// GroupingGridModel; the column-substitution handler may present another
// column's field in a cell.
class TreeGridModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  using ToggleHandler = std::function<void(db::Recordset::Bookmark row, int column)>;
  // (row, index in the columns collection) -> index whose field is shown.
  using SubstitutionHandler = std::function<int(db::Recordset::Bookmark row, int column)>;
  using IconProvider = std::function<QIcon(const QString& image_key)>;

  explicit TreeGridModel(QObject* parent = nullptr);

  void SetToggleHandler(ToggleHandler handler) { toggle_handler_ = std::move(handler); }
  void SetSubstitutionHandler(SubstitutionHandler handler) {
    substitution_handler_ = std::move(handler);
  }
  void SetIconProvider(IconProvider provider) { icon_provider_ = std::move(provider); }

  // Every column of the collection (shown or not), the key and parent-key
  // fields; resets.
  void SetColumns(std::vector<host::GridColumn> columns, std::string key_field,
                  std::string parent_field);
  void SetRecordset(std::shared_ptr<db::Recordset> recordset);
  void Reload();
  void RefreshCells();

  // The collection's column of a model column (-1 when none).
  int CollectionColumn(int model_column) const;
  const std::vector<host::GridColumn>& all_columns() const { return all_columns_; }
  std::optional<db::Recordset::Bookmark> RowOf(const QModelIndex& index) const;
  // The index of the row with that key in model column `column`.
  QModelIndex IndexOfKey(const QString& key, int column) const;
  QString KeyOf(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  static constexpr int kNoParent = -1;
  struct Node {
    db::Recordset::Bookmark bookmark = 0;
    int parent = kNoParent;
    int row = 0;        // position among its siblings
    bool read = false;  // image, texts and check hold the row's cells
    QString image;
    std::vector<QString> texts;  // per model column
    std::vector<int> check;      // per model column: -1 no box, 0, 1
  };

  // Forgets the tree and notes the recordset's visible rows.
  void Build();
  // Links every row to its parent, once per Build.
  void Index() const;
  // The node with its cells read.
  const Node& Cells(quintptr node) const;
  void ReadNode(Node& node) const;
  // The value of the field at `field` (-1: none) in the row, valid until the
  // next read; null when the row is gone.
  const db::Value* FieldOf(db::Recordset::Bookmark row, int field) const;
  // The field's text as a cell shows it (trimmed; "" for Null).
  std::string TextOf(db::Recordset::Bookmark row, int field) const;
  std::span<const int> ChildrenOf(int node) const;
  // The node's key (trimmed), valid until the next Build.
  std::string_view KeyAt(size_t node) const;
  void EmitChanged(int parent);

  std::vector<host::GridColumn> all_columns_;
  std::vector<int> shown_;  // model column -> collection column
  std::string key_field_ = "KEY";
  std::string parent_field_ = "PADRE_KEY";
  std::shared_ptr<db::Recordset> recordset_;
  std::shared_ptr<db::Recordset> cursor_;  // a clone the cells are read through
  std::vector<int> field_index_;           // collection column -> field position
  int key_index_ = -1;                     // field positions
  int parent_index_ = -1;
  int image_index_ = -1;
  std::vector<db::Recordset::Bookmark> rows_;  // visible rows when bound
  // Filled by Index(): a node per row, in recordset order.
  mutable bool indexed_ = true;
  mutable std::vector<Node> nodes_;
  mutable std::string key_text_;          // every node's key, one after the other
  mutable std::vector<size_t> key_ends_;  // per node: where its key ends in key_text_
  mutable std::unordered_map<std::string_view, int> by_key_;  // into key_text_; first row of a key
  mutable std::vector<int> roots_;
  mutable std::vector<int>
      child_start_;                    // node -> its first entry in children_ (one past the last)
  mutable std::vector<int> children_;  // every node's children, by parent, in recordset order
  ToggleHandler toggle_handler_;
  SubstitutionHandler substitution_handler_;
  IconProvider icon_provider_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_TREE_GRID_MODEL_H_
