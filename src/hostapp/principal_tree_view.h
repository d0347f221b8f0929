#ifndef ORV_HOSTAPP_PRINCIPAL_TREE_VIEW_H_
#define ORV_HOSTAPP_PRINCIPAL_TREE_VIEW_H_

#include <QWidget>
#include <memory>

class QLineEdit;
class QTreeView;

namespace orv::hostapp {

class QtPrincipalTree;

// The user/group tree on screen: a search box over the tree. Picking a node
// (click, Enter / space on the current node, or moving the highlight with
// the arrow keys) is handed to the control, so the highlighted node is
// always the principal whose rights are shown. The search never moves the
// highlight: the picked principal stays listed, and with none picked
// nothing is highlighted.
// Child object names: "<name>_search", "<name>_view".
class PrincipalTreeView : public QWidget {
  Q_OBJECT

 public:
  PrincipalTreeView(std::shared_ptr<QtPrincipalTree> tree, const QString& name,
                    QWidget* parent = nullptr);
  ~PrincipalTreeView() override;

  QTreeView* view() const { return view_; }
  QLineEdit* search() const { return search_; }
  // Shows the control's selected node as the current one.
  void ShowSelection();

 signals:
  // The picked principal changed (after the pick, before the window loads).
  void principalPicked();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::shared_ptr<QtPrincipalTree> tree_;
  QLineEdit* search_;
  QTreeView* view_;
  bool forwarding_key_ = false;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_PRINCIPAL_TREE_VIEW_H_
