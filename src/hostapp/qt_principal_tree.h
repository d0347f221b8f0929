#ifndef ORV_HOSTAPP_QT_PRINCIPAL_TREE_H_
#define ORV_HOSTAPP_QT_PRINCIPAL_TREE_H_

#include <QStandardItemModel>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "host/principal_tree.h"
#include "hostapp/principal_filter_model.h"

namespace orv::db {
class Connection;
}

namespace orv::hostapp {

// A user/group tree for the desktop host: groups (FW06_GROUPUSR) and users
// (FW07_APPUSER) under two headings, read through the host's connection. The
// view shows filtered(): a search text narrows it to matching names, and the
// selected principal stays listed whatever the text. Inactive users are
// greyed; a node's tooltip names the principal with its code.
// Picking a node (Pick) selects it and reports it to the click handler,
// which forwards it to the window's node-click handler.
class QtPrincipalTree : public host::PrincipalTree {
 public:
  using ConnectionProvider = std::function<std::shared_ptr<db::Connection>()>;
  using ClickHandler = std::function<void(const std::optional<store::PrincipalNode>& node)>;
  // Roles of the node items.
  static constexpr int kKindRole = Qt::UserRole + 1;
  static constexpr int kIdRole = Qt::UserRole + 2;
  static constexpr int kActiveRole = Qt::UserRole + 3;  // false for an inactive user

  explicit QtPrincipalTree(ConnectionProvider provider);
  ~QtPrincipalTree() override;

  void SetClickHandler(ClickHandler handler) { click_handler_ = std::move(handler); }
  // Told after every pick (the view shows the selection).
  void SetSelectionHandler(std::function<void()> handler) {
    selection_handler_ = std::move(handler);
  }

  void SetShowUsers(bool value) override { show_users_ = value; }
  void SetShowGroups(bool value) override { show_groups_ = value; }
  void Initialize(std::shared_ptr<host::Cinterface> host, bool flag) override;
  void Load() override;
  std::optional<store::PrincipalNode> SelectedNode() const override { return selected_; }

  QStandardItemModel* model() const { return model_.get(); }
  PrincipalFilterModel* filtered() const { return proxy_.get(); }
  void SetSearchText(const QString& text);

  // The node of an index of filtered() (none for headings).
  std::optional<store::PrincipalNode> NodeAt(const QModelIndex& proxy_index) const;
  // The index in filtered() of a node (invalid when hidden or absent).
  QModelIndex IndexOf(int32_t kind, int64_t id) const;
  // A user's pick: selects and reports the node.
  void Pick(const QModelIndex& proxy_index);
  // Selects a node by kind and identifier (loading first when needed) and
  // reports it; false when there is none.
  bool Select(int32_t kind, int64_t id);
  const std::vector<store::PrincipalNode>& nodes() const { return nodes_; }
  bool loaded() const { return loaded_; }
  // The selected node as the principal's description ("Gruppo: Ufficio
  // vendite"), empty when none.
  QString SelectedDescription() const;

 private:
  ConnectionProvider provider_;
  std::unique_ptr<QStandardItemModel> model_;
  std::unique_ptr<PrincipalFilterModel> proxy_;
  bool initialized_ = false;
  bool show_users_ = true;
  bool show_groups_ = true;
  bool loaded_ = false;
  std::vector<store::PrincipalNode> nodes_;
  std::optional<store::PrincipalNode> selected_;
  ClickHandler click_handler_;
  std::function<void()> selection_handler_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_PRINCIPAL_TREE_H_
