#ifndef ORV_HOSTAPP_CHANGE_LOG_VIEWER_H_
#define ORV_HOSTAPP_CHANGE_LOG_VIEWER_H_

#include <QDialog>

#include "hostapp/change_log_model.h"

class QTableView;

namespace orv::hostapp {

// A window over the host's change log, newest entry first.
class ChangeLogViewer : public QDialog {
  Q_OBJECT

 public:
  explicit ChangeLogViewer(ChangeLogModel::ConnectionProvider provider, QWidget* parent = nullptr);
  ChangeLogModel* model() { return &model_; }

 private:
  ChangeLogModel model_;
  QTableView* table_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_CHANGE_LOG_VIEWER_H_
