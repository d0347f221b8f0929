#ifndef ORV_HOSTAPP_CHECK_BOX_DELEGATE_H_
#define ORV_HOSTAPP_CHECK_BOX_DELEGATE_H_

#include <QStyledItemDelegate>
#include <functional>

namespace orv::hostapp {

// Draws a check box centred in every checkable cell and toggles it on a
// left click anywhere in the cell or on the space bar, through the model's
// setData(CheckStateRole). Other cells are drawn as usual.
class CheckBoxDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // Runs a toggle as one user gesture (the view reports what it did).
  using GestureRunner = std::function<void(const QModelIndex&, const std::function<void()>&)>;

  using QStyledItemDelegate::QStyledItemDelegate;

  void SetGestureRunner(GestureRunner runner) { runner_ = std::move(runner); }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

 private:
  bool Toggle(QAbstractItemModel* model, const QModelIndex& index, Qt::CheckState next);

  GestureRunner runner_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_CHECK_BOX_DELEGATE_H_
