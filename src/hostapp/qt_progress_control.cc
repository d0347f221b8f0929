#include "hostapp/qt_progress_control.h"

#include <QApplication>
#include <QCursor>

namespace orv::hostapp {

QtProgressControl::~QtProgressControl() {
  if (started_ && QApplication::instance() != nullptr) QApplication::restoreOverrideCursor();
}

void QtProgressControl::Start() {
  if (started_) return;
  started_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtProgressControl::Stop() {
  if (!started_) return;
  started_ = false;
  QApplication::restoreOverrideCursor();
}

}  // namespace orv::hostapp
