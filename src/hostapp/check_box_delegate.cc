#include "hostapp/check_box_delegate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace orv::hostapp {
namespace {

bool Checkable(const QModelIndex& index) {
  return index.isValid() && (index.flags() & Qt::ItemIsUserCheckable) &&
         index.data(Qt::CheckStateRole).isValid();
}

}  // namespace

void CheckBoxDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  if (!Checkable(index)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem panel = option;
  initStyleOption(&panel, index);
  panel.features &= ~QStyleOptionViewItem::HasCheckIndicator;
  panel.text.clear();
  const QWidget* widget = option.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, widget);

  QStyleOptionButton box;
  const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget),
                   style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, widget));
  box.rect = QRect(option.rect.center() - QPoint(size.width() / 2, size.height() / 2), size);
  box.state = QStyle::State_Enabled;
  box.state |=
      index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
  if (option.state & QStyle::State_HasFocus) box.state |= QStyle::State_HasFocus;
  style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
}

bool CheckBoxDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (!Checkable(index)) return QStyledItemDelegate::editorEvent(event, model, option, index);
  const Qt::CheckState next =
      index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? Qt::Unchecked : Qt::Checked;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      // Taken, so that a double click does not toggle twice.
      const auto* mouse = static_cast<QMouseEvent*>(event);
      return mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint())) {
        return false;
      }
      return Toggle(model, index, next);
    }
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() != Qt::Key_Space && key->key() != Qt::Key_Select) return false;
      return Toggle(model, index, next);
    }
    default:
      return false;
  }
}

bool CheckBoxDelegate::Toggle(QAbstractItemModel* model, const QModelIndex& index,
                              Qt::CheckState next) {
  bool done = false;
  const auto toggle = [&] { done = model->setData(index, next, Qt::CheckStateRole); };
  if (runner_) {
    runner_(index, toggle);
  } else {
    toggle();
  }
  return done;
}

}  // namespace orv::hostapp
