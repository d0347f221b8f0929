#include "hostapp/date_filter_edit.h"

namespace orv::hostapp {

const QDate DateFilterEdit::kOpen(2000, 1, 1);

DateFilterEdit::DateFilterEdit(const QString& object_name, QWidget* parent) : QDateEdit(parent) {
  setObjectName(object_name);
  setCalendarPopup(true);
  setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  setMinimumDate(kOpen);
  setSpecialValueText(tr("qualsiasi"));
  setDate(kOpen);
}

QDate DateFilterEdit::day() const { return date() == kOpen ? QDate() : date(); }

}  // namespace orv::hostapp
