#ifndef ORV_HOSTAPP_LOOKUP_DIALOG_H_
#define ORV_HOSTAPP_LOOKUP_DIALOG_H_

#include <QDialog>
#include <QStandardItemModel>

#include "hostapp/qt_query_control.h"

class QTableView;

namespace orv::hostapp {

// A lookup: the rows of a lookup statement in a table with a filter box;
// the first column of the row picked is the chosen code.
class LookupDialog : public QDialog {
  Q_OBJECT

 public:
  LookupDialog(const QtQueryControl::Lookup& lookup, QWidget* parent = nullptr);
  const QString& chosen() const { return chosen_; }
  QStandardItemModel* model() { return &model_; }

 private:
  QStandardItemModel model_;
  QTableView* table_;
  QString chosen_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_LOOKUP_DIALOG_H_
