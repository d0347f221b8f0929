#ifndef ORV_HOSTAPP_PANE_SPLITTER_H_
#define ORV_HOSTAPP_PANE_SPLITTER_H_

#include <QFrame>

namespace orv::hostapp {

// The handle between the user/group pane and the sections: dragged, it
// reports how far the pointer moved across since the last report; the view
// moves the panes and says how much of the move it applied.
class PaneSplitter : public QFrame {
  Q_OBJECT

 public:
  explicit PaneSplitter(QWidget* parent = nullptr);

 signals:
  // The pointer moved `dx` pixels across while dragging; the receiver sets
  // `applied` to the pixels it moved the panes by.
  void dragged(int dx, int* applied);
  void released();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool dragging_ = false;
  int last_x_ = 0;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_PANE_SPLITTER_H_
