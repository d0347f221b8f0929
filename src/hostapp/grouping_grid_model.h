#ifndef ORV_HOSTAPP_GROUPING_GRID_MODEL_H_
#define ORV_HOSTAPP_GROUPING_GRID_MODEL_H_

#include <QAbstractItemModel>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/recordset.h"
#include "hostapp/column_spec.h"
#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

// The rows of a bound recordset as a Qt item model, with optional group
// header rows (one per distinct value of the grouping column, in the order
// the first row of each group appears; the grouping column itself is not a
// column of the model). Without grouping the rows are top-level.
//
// The model never changes the recordset: a check-box toggle (a click or the
// space bar through the view) is handed to the toggle handler, which runs
// the window's event and then tells the model which rows to re-read.
class GroupingGridModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  using ToggleHandler = std::function<void(db::Recordset::Bookmark row, int column)>;
  using HeaderHandler = std::function<void(int column, bool new_state)>;

  explicit GroupingGridModel(QObject* parent = nullptr);

  void SetToggleHandler(ToggleHandler handler) { toggle_handler_ = std::move(handler); }
  void SetHeaderHandler(HeaderHandler handler) { header_handler_ = std::move(handler); }

  // The shown columns and the grouping column's key ("" for none); resets.
  void SetColumns(std::vector<ColumnSpec> columns, std::string group_key);
  // Binds (or, with nullptr, empties) the model; resets.
  void SetRecordset(std::shared_ptr<db::Recordset> recordset);
  // Reads every row again (rows may have come or gone): resets.
  void Reload();
  // Reads the cells of the rows already shown again (values changed in
  // place); emits dataChanged.
  void RefreshCells();

  const std::vector<ColumnSpec>& columns() const { return columns_; }
  ColumnSpec* column(int index);
  // Header check boxes, by column index.
  void SetHeaderCheckBox(int column, bool shown);
  void SetHeaderChecked(int column, bool checked);
  // The header was clicked on a column with a check box.
  void HeaderCheckBoxClicked(int column);

  // The data row of an index (none for group headers and invalid indexes).
  std::optional<db::Recordset::Bookmark> RowOf(const QModelIndex& index) const;
  // The index of a data row in `column`, or an invalid index.
  QModelIndex IndexOf(db::Recordset::Bookmark row, int column) const;
  bool IsGroupRow(const QModelIndex& index) const;
  int group_count() const { return static_cast<int>(groups_.size()); }
  bool grouped() const { return !group_key_.empty(); }
  // The rows belong to more than one company and no grouping shows it: the
  // first text column names each row's company.
  bool several_companies() const { return several_companies_; }
  // The first column that is not a check box (-1 when none).
  int FirstTextColumn() const;

  // QAbstractItemModel
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
  struct Row {
    db::Recordset::Bookmark bookmark = 0;
    std::vector<QString> texts;  // per column
    std::vector<bool> checked;   // per column (check boxes)
    QString company_id;          // DITTARAG, when the rows carry it
    QString company;             // the company's caption ("1 - …")
  };
  struct Group {
    QString caption;
    std::vector<Row> rows;
  };
  static constexpr quintptr kTopLevel = ~quintptr{0};
  bool several_companies_ = false;

  void Build();
  void ReadRow(Row& row, RowReader& reader);
  const Row* RowAt(const QModelIndex& index) const;

  std::vector<ColumnSpec> columns_;
  std::string group_key_;
  std::shared_ptr<db::Recordset> recordset_;
  std::vector<Group> groups_;  // a single unnamed group when not grouped
  ToggleHandler toggle_handler_;
  HeaderHandler header_handler_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_GROUPING_GRID_MODEL_H_
