#include "profile/effective_profile.h"

#include <algorithm>
#include <stdexcept>

#include "profile/profile_reader.h"
#include "store/settings.h"

namespace orv::profile {

EffectiveProfile EffectiveProfile::Combine(const NamedPrincipal& user, std::vector<ProfileRow> own,
                                           const std::vector<NamedPrincipal>& groups,
                                           const std::vector<std::vector<ProfileRow>>& by_group) {
  struct Source {
    const ProfileRow* row;
    size_t who;  // 0 the user, i + 1 groups[i]
  };
  std::vector<Source> all;
  for (const ProfileRow& row : own) {
    if (row.Revokes()) all.push_back({&row, 0});
  }
  for (size_t g = 0; g < by_group.size() && g < groups.size(); ++g) {
    for (const ProfileRow& row : by_group[g]) {
      if (row.Revokes()) all.push_back({&row, g + 1});
    }
  }
  std::stable_sort(all.begin(), all.end(),
                   [](const Source& a, const Source& b) { return *a.row < *b.row; });

  EffectiveProfile profile;
  profile.user = user;
  profile.groups = groups;
  for (const Source& source : all) {
    const std::string label =
        source.who == 0 ? user.SourceLabel() : groups[source.who - 1].SourceLabel();
    if (profile.entries.empty() || !profile.entries.back().row.SameKey(*source.row)) {
      profile.entries.push_back({*source.row, {label}});
      continue;
    }
    EffectiveEntry& entry = profile.entries.back();
    for (int i = 0; i < FlagCount(entry.row.table); ++i) {
      entry.row.flags[i] = std::min(entry.row.flags[i], source.row->flags[i]);
    }
    if (std::find(entry.sources.begin(), entry.sources.end(), label) == entry.sources.end()) {
      entry.sources.push_back(label);
    }
  }
  return profile;
}

EffectiveProfile EffectiveProfile::Read(db::Connection& connection, const NamedPrincipal& user) {
  if (!user.IsUser()) throw std::runtime_error("an effective profile is a user's");
  PrincipalDirectory directory(connection);
  const std::vector<NamedPrincipal> groups = directory.GroupsOf(user.principal.user_id().ToInt64());
  std::vector<std::vector<ProfileRow>> by_group;
  by_group.reserve(groups.size());
  for (const NamedPrincipal& group : groups) {
    by_group.push_back(ProfileReader::Read(connection, group.principal));
  }
  EffectiveProfile profile =
      Combine(user, ProfileReader::Read(connection, user.principal), groups, by_group);
  profile.in_force = store::Settings::RevokeEnabled(connection);
  return profile;
}

}  // namespace orv::profile
