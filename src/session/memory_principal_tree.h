#ifndef ORV_SESSION_MEMORY_PRINCIPAL_TREE_H_
#define ORV_SESSION_MEMORY_PRINCIPAL_TREE_H_

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "host/principal_tree.h"

namespace orv::db {
class Connection;
}

namespace orv::session {

// A principal tree in memory. Load reads the groups (FW06_GROUPUSR, by
// code) and the users (FW07_APPUSER, by name) through the connection the
// provider gives; Select picks a node as a user's click would.
class MemoryPrincipalTree : public host::PrincipalTree {
 public:
  using ConnectionProvider = std::function<std::shared_ptr<db::Connection>()>;
  explicit MemoryPrincipalTree(ConnectionProvider provider) : provider_(std::move(provider)) {}

  void SetShowUsers(bool value) override { show_users_ = value; }
  void SetShowGroups(bool value) override { show_groups_ = value; }
  void Initialize(std::shared_ptr<host::Cinterface> host, bool flag) override;
  void Load() override;
  std::optional<store::PrincipalNode> SelectedNode() const override { return selected_; }

  // Selects the node of that kind and identifier (loading the tree first
  // when it was not loaded); false when there is none.
  bool Select(int32_t kind, int64_t id);
  void SelectNone() { selected_.reset(); }

  const std::vector<store::PrincipalNode>& nodes() const { return nodes_; }
  bool loaded() const { return loaded_; }
  bool initialized() const { return initialized_; }
  int load_count() const { return load_count_; }
  bool show_users() const { return show_users_; }
  bool show_groups() const { return show_groups_; }

 private:
  ConnectionProvider provider_;
  std::shared_ptr<host::Cinterface> host_;
  bool show_users_ = false;
  bool show_groups_ = false;
  bool initialized_ = false;
  bool loaded_ = false;
  int load_count_ = 0;
  std::vector<store::PrincipalNode> nodes_;
  std::optional<store::PrincipalNode> selected_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_MEMORY_PRINCIPAL_TREE_H_
