#ifndef ORV_JOURNAL_JOURNAL_FILTER_H_
#define ORV_JOURNAL_JOURNAL_FILTER_H_

#include <cstdint>
#include <optional>
#include <string>

namespace orv::journal {

// Which entries a listing shows; every condition left empty lets all pass.
// Dates are "yyyyMMdd" or "yyyyMMdd HH:mm:ss"; `to` is inclusive of its day
// when given without a time.
struct JournalFilter {
  std::string principal_kind;  // JournalEntry::kUser, kGroup, kAll
  std::optional<int64_t> principal_id;
  std::optional<int32_t> section;
  std::string login;
  std::string from;
  std::string to;
  size_t limit = 0;  // 0: no limit; the newest entries first
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_JOURNAL_FILTER_H_
