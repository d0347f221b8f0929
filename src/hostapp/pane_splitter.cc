#include "hostapp/pane_splitter.h"

#include <QMouseEvent>

namespace orv::hostapp {

PaneSplitter::PaneSplitter(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PaneSplitter"));
  setCursor(Qt::SplitHCursor);
  // A sunken line down the middle of the gap shows where to take it.
  setFrameShape(QFrame::VLine);
  setFrameShadow(QFrame::Sunken);
  setToolTip(tr("Trascinare per allargare l'albero o la griglia"));
}

void PaneSplitter::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
  dragging_ = true;
  // In the parent's coordinates: the handle itself moves while dragged.
  last_x_ = mapToParent(event->position().toPoint()).x();
}

void PaneSplitter::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QFrame::mouseMoveEvent(event);
  const int x = mapToParent(event->position().toPoint()).x();
  int applied = 0;
  emit dragged(x - last_x_, &applied);
  last_x_ += applied;
}

void PaneSplitter::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_) return QFrame::mouseReleaseEvent(event);
  mouseMoveEvent(event);
  dragging_ = false;
  emit released();
}

}  // namespace orv::hostapp
