#ifndef ORV_HOSTAPP_CHANGE_LOG_VIEWER_H_
#define ORV_HOSTAPP_CHANGE_LOG_VIEWER_H_

#include <QDialog>

#include "hostapp/change_log_filter.h"
#include "hostapp/change_log_model.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace orv::hostapp {

class DateFilterEdit;

// A window over the host's change log, newest entry first: filters by
// principal, event, days and login above a sortable table, and an export
// of the rows shown to CSV.
class ChangeLogViewer : public QDialog {
  Q_OBJECT

 public:
  explicit ChangeLogViewer(ChangeLogModel::ConnectionProvider provider, QWidget* parent = nullptr);
  ChangeLogModel* model() { return &model_; }
  ChangeLogFilter* filter() { return &filter_; }
  QTableView* table() const { return table_; }

  // Writes the rows shown to `path`; false when it cannot be written.
  bool ExportCsv(const QString& path);

 private:
  void Reload();
  void ApplyFilters();

  ChangeLogModel model_;
  ChangeLogFilter filter_;
  QTableView* table_;
  QLineEdit* principal_;
  QComboBox* event_;
  QComboBox* login_;
  DateFilterEdit* from_;
  DateFilterEdit* to_;
  QLabel* count_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_CHANGE_LOG_VIEWER_H_
