#include "profile/profile_comparison.h"

#include <algorithm>

namespace orv::profile {

ProfileComparison ProfileComparison::Compare(std::vector<ProfileRow> a, std::vector<ProfileRow> b) {
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  ProfileComparison result;
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() || j < b.size()) {
    if (j == b.size() || (i < a.size() && a[i] < b[j])) {
      result.only_a.push_back(std::move(a[i++]));
    } else if (i == a.size() || b[j] < a[i]) {
      result.only_b.push_back(std::move(b[j++]));
    } else {
      if (!a[i].SameFlags(b[j])) result.changed.emplace_back(std::move(a[i]), std::move(b[j]));
      ++i;
      ++j;
    }
  }
  return result;
}

}  // namespace orv::profile
