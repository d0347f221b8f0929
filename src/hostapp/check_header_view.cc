#include "hostapp/check_header_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

namespace orv::hostapp {

CheckHeaderView::CheckHeaderView(int group_role, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), group_role_(group_role) {
  setSectionsClickable(true);
  setHighlightSections(false);
  setDefaultAlignment(Qt::AlignCenter);
}

int CheckHeaderView::BandHeight() const { return fontMetrics().height() + 8; }

bool CheckHeaderView::HasGroups() const {
  if (model() == nullptr || group_role_ < 0) return false;
  for (int i = 0; i < count(); ++i) {
    if (!GroupOf(i).isEmpty()) return true;
  }
  return false;
}

bool CheckHeaderView::HasCheckBoxes() const {
  if (model() == nullptr) return false;
  for (int i = 0; i < count(); ++i) {
    if (model()->headerData(i, Qt::Horizontal, Qt::CheckStateRole).isValid()) return true;
  }
  return false;
}

QString CheckHeaderView::GroupOf(int logical_index) const {
  if (model() == nullptr || group_role_ < 0) return {};
  return model()->headerData(logical_index, Qt::Horizontal, group_role_).toString();
}

QSize CheckHeaderView::sizeHint() const {
  QSize size = QHeaderView::sizeHint();
  size.setHeight(BandHeight() * (1 + (HasGroups() ? 1 : 0) + (HasCheckBoxes() ? 1 : 0)));
  return size;
}

QRect CheckHeaderView::CheckBoxRect(int logical_index) const {
  if (model() == nullptr ||
      !model()->headerData(logical_index, Qt::Horizontal, Qt::CheckStateRole).isValid()) {
    return {};
  }
  const int band = BandHeight();
  const int top = band * (HasGroups() ? 2 : 1);
  const int x = sectionViewportPosition(logical_index);
  const int w = sectionSize(logical_index);
  const int side = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
  return QRect(x + (w - side) / 2, top + (band - side) / 2, side, side);
}

QRect CheckHeaderView::GroupRect(int logical_index) const {
  const QString group = GroupOf(logical_index);
  if (group.isEmpty()) return {};
  // The run of visually adjacent columns under the same group.
  int first = visualIndex(logical_index);
  int last = first;
  while (first > 0 && GroupOf(logicalIndex(first - 1)) == group) --first;
  while (last + 1 < count() && GroupOf(logicalIndex(last + 1)) == group) ++last;
  const int left = sectionViewportPosition(logicalIndex(first));
  const int right = sectionViewportPosition(logicalIndex(last)) + sectionSize(logicalIndex(last));
  return QRect(left, 0, right - left, BandHeight());
}

void CheckHeaderView::paintEvent(QPaintEvent* event) {
  QHeaderView::paintEvent(event);
  if (!HasGroups()) return;
  QPainter painter(viewport());
  for (int visual = 0; visual < count();) {
    const int logical = logicalIndex(visual);
    const QRect rect = GroupRect(logical);
    int next = visual + 1;
    while (next < count() && GroupOf(logicalIndex(next)) == GroupOf(logical)) ++next;
    if (!rect.isEmpty()) {
      QStyleOptionHeader option;
      initStyleOption(&option);
      option.rect = rect;
      option.text = GroupOf(logical);
      option.textAlignment = Qt::AlignCenter;
      option.section = logical;
      style()->drawControl(QStyle::CE_Header, &option, &painter, this);
    }
    visual = next;
  }
}

void CheckHeaderView::paintSection(QPainter* painter, const QRect& rect, int logical_index) const {
  const int band = BandHeight();
  const bool groups = HasGroups();
  QRect caption = rect;
  if (groups) caption.setTop(rect.top() + band);
  caption.setHeight(band);
  // The base painting may leave a clip on the caption behind.
  painter->save();
  QHeaderView::paintSection(painter, caption, logical_index);
  painter->restore();
  if (!HasCheckBoxes()) return;
  QRect box_band = rect;
  box_band.setTop(caption.bottom() + 1);
  QStyleOptionHeader panel;
  initStyleOption(&panel);
  panel.rect = box_band;
  panel.section = logical_index;
  style()->drawControl(QStyle::CE_HeaderSection, &panel, painter, this);
  const QVariant state = model()->headerData(logical_index, Qt::Horizontal, Qt::CheckStateRole);
  if (!state.isValid()) return;
  QStyleOptionButton box;
  box.initFrom(this);
  box.rect = CheckBoxRect(logical_index);
  box.rect.moveLeft(rect.left() + (rect.width() - box.rect.width()) / 2);
  box.rect.moveTop(rect.top() + box_band.top() - rect.top() + (band - box.rect.height()) / 2);
  box.state =
      QStyle::State_Enabled | (state.toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
  painter->save();
  painter->setClipRect(box_band);
  style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, this);
  painter->restore();
}

bool CheckHeaderView::OnCheckColumn(const QPoint& point, int logical_index) const {
  // The caption and its box do the same; the group band over them does not.
  return logical_index >= 0 && !CheckBoxRect(logical_index).isEmpty() &&
         point.y() >= (HasGroups() ? BandHeight() : 0);
}

void CheckHeaderView::mousePressEvent(QMouseEvent* event) {
  pressed_ = -1;
  const QPoint point = event->position().toPoint();
  const int logical = logicalIndexAt(point);
  if (event->button() == Qt::LeftButton && OnCheckColumn(point, logical)) {
    pressed_ = logical;
    return;
  }
  QHeaderView::mousePressEvent(event);
}

void CheckHeaderView::mouseReleaseEvent(QMouseEvent* event) {
  if (pressed_ >= 0) {
    const int logical = pressed_;
    pressed_ = -1;
    const QPoint point = event->position().toPoint();
    if (logicalIndexAt(point) == logical && OnCheckColumn(point, logical)) {
      emit checkBoxClicked(logical);
    }
    return;
  }
  QHeaderView::mouseReleaseEvent(event);
}

}  // namespace orv::hostapp
