#ifndef ORV_HOSTAPP_CHECK_BOX_DELEGATE_H_
#define ORV_HOSTAPP_CHECK_BOX_DELEGATE_H_

#include <QStyledItemDelegate>

namespace orv::hostapp {

// Draws a check box centred in every checkable cell and toggles it on a
// left click anywhere in the cell or on the space bar, through the model's
// setData(CheckStateRole). Other cells are drawn as usual.
class CheckBoxDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_CHECK_BOX_DELEGATE_H_
