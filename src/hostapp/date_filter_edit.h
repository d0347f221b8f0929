#ifndef ORV_HOSTAPP_DATE_FILTER_EDIT_H_
#define ORV_HOSTAPP_DATE_FILTER_EDIT_H_

#include <QDate>
#include <QDateEdit>
#include <QString>

namespace orv::hostapp {

// A day of a viewer's date-range filter: a calendar pop-up showing
// dd/MM/yyyy, which starts at the open end ("qualsiasi") and reads as an
// empty date while it is there.
class DateFilterEdit : public QDateEdit {
  Q_OBJECT

 public:
  DateFilterEdit(const QString& object_name, QWidget* parent);

  // The chosen day, or a null date at the open end.
  QDate day() const;

  static const QDate kOpen;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_DATE_FILTER_EDIT_H_
