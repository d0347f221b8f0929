#ifndef ORV_PROFILE_PROFILE_COMPARISON_H_
#define ORV_PROFILE_PROFILE_COMPARISON_H_

#include <utility>
#include <vector>

#include "profile/profile_row.h"

namespace orv::profile {

// Two principals' rows side by side, matched on the logical key.
struct ProfileComparison {
  std::vector<ProfileRow> only_a;
  std::vector<ProfileRow> only_b;
  std::vector<std::pair<ProfileRow, ProfileRow>> changed;  // same key, other flags (a, b)

  bool Same() const { return only_a.empty() && only_b.empty() && changed.empty(); }

  // The rows need not be sorted.
  static ProfileComparison Compare(std::vector<ProfileRow> a, std::vector<ProfileRow> b);
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_PROFILE_COMPARISON_H_
