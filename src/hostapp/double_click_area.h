#ifndef ORV_HOSTAPP_DOUBLE_CLICK_AREA_H_
#define ORV_HOSTAPP_DOUBLE_CLICK_AREA_H_

#include <QLabel>
#include <QMouseEvent>

namespace orv::hostapp {

// A picture or bar that reports double clicks (the splitter and its
// arrows); Enter on it counts as a double click for keyboard users.
class DoubleClickArea : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void doubleClicked();
  void resized();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
  }
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    emit resized();
  }
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_DOUBLE_CLICK_AREA_H_
