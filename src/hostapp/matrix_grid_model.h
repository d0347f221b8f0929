#ifndef ORV_HOSTAPP_MATRIX_GRID_MODEL_H_
#define ORV_HOSTAPP_MATRIX_GRID_MODEL_H_

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/recordset.h"
#include "host/grid_column.h"
#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

// The matrix of a bound recordset: one row per visible row, one column per
// column definition (each under a header group), check-box columns with a
// check box in their header too. Toggles of cells and headers go to their
// handlers; the model changes nothing itself.
class MatrixGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using ToggleHandler = std::function<void(db::Recordset::Bookmark row, int column)>;
  using HeaderHandler = std::function<void(int column, bool new_state)>;
  // The role that gives a column's header group.
  static constexpr int kGroupRole = Qt::UserRole + 1;

  explicit MatrixGridModel(QObject* parent = nullptr);

  void SetToggleHandler(ToggleHandler handler) { toggle_handler_ = std::move(handler); }
  void SetHeaderHandler(HeaderHandler handler) { header_handler_ = std::move(handler); }

  void SetColumns(std::vector<host::GridColumn> columns);
  void SetRecordset(std::shared_ptr<db::Recordset> recordset);
  void Reload();
  void RefreshCells();
  void SetHeaderChecked(int column, bool checked);
  void HeaderCheckBoxClicked(int column);

  const std::vector<host::GridColumn>& columns() const { return columns_; }
  int ColumnOf(const std::string& key) const;
  std::optional<db::Recordset::Bookmark> RowOf(int row) const;
  int RowOfBookmark(db::Recordset::Bookmark bookmark) const;
  // The row whose trimmed CODICE is `code` (-1 when none).
  int RowOfCode(const QString& code) const;

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
    QString code;
    std::vector<QString> texts;
    std::vector<bool> checked;
  };
  void Build();
  void ReadRow(Row& row, RowReader& reader);

  std::vector<host::GridColumn> columns_;
  std::shared_ptr<db::Recordset> recordset_;
  std::vector<Row> rows_;
  ToggleHandler toggle_handler_;
  HeaderHandler header_handler_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_MATRIX_GRID_MODEL_H_
