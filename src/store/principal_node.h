#ifndef ORV_STORE_PRINCIPAL_NODE_H_
#define ORV_STORE_PRINCIPAL_NODE_H_

#include <cstdint>
#include <string>

namespace orv::store {

// A node of a principal tree: a group (kind 0) or a user (any other kind).
struct PrincipalNode {
  static constexpr int32_t kGroup = 0;
  static constexpr int32_t kUser = 1;

  int32_t kind = kUser;
  int64_t id = 0;    // FW06_ID for a group, FW07_ID for a user
  std::string name;  // display name

  bool IsGroup() const { return kind == kGroup; }
};

}  // namespace orv::store

#endif  // ORV_STORE_PRINCIPAL_NODE_H_
