#include "hostapp/double_click_area.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOption>

namespace orv::hostapp {

void DoubleClickArea::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit doubleClicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

void DoubleClickArea::paintEvent(QPaintEvent* event) {
  if (arrow_ == Arrow::kNone) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  QStyleOption option;
  option.initFrom(this);
  option.rect = rect();
  style()->drawPrimitive(
      arrow_ == Arrow::kUp ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &option,
      &painter, this);
}

}  // namespace orv::hostapp
