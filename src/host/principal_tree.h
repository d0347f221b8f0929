#ifndef ORV_HOST_PRINCIPAL_TREE_H_
#define ORV_HOST_PRINCIPAL_TREE_H_

#include <memory>
#include <optional>

#include "store/principal_node.h"

namespace orv::host {

class Cinterface;

// The host's user/group tree (VRX_TREEUTENTI1, and VRX_TREEUTENTICOPIA in the
// copy panel). The control reads users and groups from the host database by
// itself. It raises no events through this interface: the host (or a test)
// calls the window's node-click handler after it changed the selection.
class PrincipalTree {
 public:
  virtual ~PrincipalTree() = default;
  // The two display options the window switches on.
  virtual void SetShowUsers(bool value) = 0;
  virtual void SetShowGroups(bool value) = 0;
  // `host` is the window's HostInterface; borrowed while the window is loaded.
  virtual void Initialize(std::shared_ptr<Cinterface> host, bool flag) = 0;
  virtual void Load() = 0;
  virtual std::optional<store::PrincipalNode> SelectedNode() const = 0;
};

}  // namespace orv::host

#endif  // ORV_HOST_PRINCIPAL_TREE_H_
