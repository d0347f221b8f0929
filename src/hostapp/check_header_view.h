#ifndef ORV_HOSTAPP_CHECK_HEADER_VIEW_H_
#define ORV_HOSTAPP_CHECK_HEADER_VIEW_H_

#include <QHeaderView>

namespace orv::hostapp {

// A horizontal header with up to three bands: the header group of the
// column (when the model gives one through `group_role`), the caption, and
// a check box for columns whose headerData(CheckStateRole) is set. A click
// on a header check box, or on the caption over it, emits checkBoxClicked;
// the model decides what it means.
class CheckHeaderView : public QHeaderView {
  Q_OBJECT

 public:
  explicit CheckHeaderView(int group_role, QWidget* parent = nullptr);

  // Where the check box of a column is drawn (viewport coordinates); empty
  // when the column has none.
  QRect CheckBoxRect(int logical_index) const;
  // The group band over a column (viewport coordinates); empty without one.
  QRect GroupRect(int logical_index) const;

 signals:
  void checkBoxClicked(int logical_index);

 protected:
  QSize sizeHint() const override;
  void paintEvent(QPaintEvent* event) override;
  void paintSection(QPainter* painter, const QRect& rect, int logical_index) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int BandHeight() const;
  bool HasGroups() const;
  bool HasCheckBoxes() const;
  bool OnCheckColumn(const QPoint& point, int logical_index) const;
  QString GroupOf(int logical_index) const;

  int group_role_;
  int pressed_ = -1;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_CHECK_HEADER_VIEW_H_
