#ifndef ORV_PROFILE_WHERE_USED_H_
#define ORV_PROFILE_WHERE_USED_H_

#include <vector>

#include "profile/principal_directory.h"
#include "profile/profile_row.h"
#include "profile/revocation_item.h"

namespace orv::db {
class Connection;
}

namespace orv::profile {

// One principal that revokes the item, with its row.
struct WhereUsedHit {
  NamedPrincipal principal;
  ProfileRow row;
};

// Every principal whose row revokes the item (a row that gives the right
// back, such as a branch at FW32_FLGABILITATO 1, is left out), groups first.
class WhereUsed {
 public:
  static std::vector<WhereUsedHit> Find(db::Connection& connection, const RevocationItem& item);
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_WHERE_USED_H_
