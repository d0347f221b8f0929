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
  enum class Arrow { kNone, kUp, kDown };
  using QLabel::QLabel;

  // An arrow drawn to fit whatever size the control has.
  void SetArrow(Arrow arrow) {
    arrow_ = arrow;
    update();
  }

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
  void paintEvent(QPaintEvent* event) override;

 private:
  Arrow arrow_ = Arrow::kNone;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_DOUBLE_CLICK_AREA_H_
