#ifndef ORV_PROFILE_EFFECTIVE_PROFILE_H_
#define ORV_PROFILE_EFFECTIVE_PROFILE_H_

#include <string>
#include <vector>

#include "profile/principal_directory.h"
#include "profile/profile_row.h"

namespace orv::db {
class Connection;
}

namespace orv::profile {

// What a user effectively cannot do: the user's own revocations together
// with those of every group the user belongs to.
//
// Rights combine the way the host's derived list of customers and suppliers
// (FW3C_LISTACFREVOCATI) shows it: that list is derived for each principal
// from its own rows only, and the ERP refuses an item that is on the user's
// list or on a group's list. A revocation therefore cannot be given back by
// another principal: a user row with FW32_FLGABILITATO 1 does not undo the
// group's 0. The same "any revocation wins" rule holds in every table, right
// by right: an entry's flags are the lowest of its sources' flags, and an
// entry lists only the sources whose row takes something away.
struct EffectiveEntry {
  ProfileRow row;                    // the combined row
  std::vector<std::string> sources;  // "utente", "gruppo Ufficio vendite", ...
};

struct EffectiveProfile {
  NamedPrincipal user;
  std::vector<NamedPrincipal> groups;
  // False when the installation-wide switch (FW95_SETTINGS 'AUT_RVKENABLED')
  // is off: then nothing below is in force.
  bool in_force = true;
  std::vector<EffectiveEntry> entries;  // by logical key

  // Combines rows already read: `own` are the user's, `by_group[i]` those of
  // `groups[i]`.
  static EffectiveProfile Combine(const NamedPrincipal& user, std::vector<ProfileRow> own,
                                  const std::vector<NamedPrincipal>& groups,
                                  const std::vector<std::vector<ProfileRow>>& by_group);
  // Reads the user's rows, the groups and their rows, and the switch.
  static EffectiveProfile Read(db::Connection& connection, const NamedPrincipal& user);
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_EFFECTIVE_PROFILE_H_
