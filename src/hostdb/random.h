#ifndef ORV_HOSTDB_RANDOM_H_
#define ORV_HOSTDB_RANDOM_H_

#include <cstdint>

namespace orv::hostdb {

// A small deterministic generator (SplitMix64). The standard distributions
// differ between library implementations; this one gives the same sequence
// for a seed everywhere, which the scaled installations promise.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n); n > 0. The modulo bias is irrelevant for test data.
  uint64_t Below(uint64_t n) { return Next() % n; }
  int64_t Between(int64_t lo, int64_t hi) {  // inclusive bounds
    return lo + static_cast<int64_t>(Below(static_cast<uint64_t>(hi - lo + 1)));
  }
  bool Chance(uint32_t percent) { return Below(100) < percent; }

 private:
  uint64_t state_;
};

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_RANDOM_H_
