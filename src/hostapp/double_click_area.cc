#include "hostapp/double_click_area.h"

#include <QKeyEvent>

namespace orv::hostapp {

void DoubleClickArea::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit doubleClicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

}  // namespace orv::hostapp
