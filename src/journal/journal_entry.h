#ifndef ORV_JOURNAL_JOURNAL_ENTRY_H_
#define ORV_JOURNAL_JOURNAL_ENTRY_H_

#include <cstdint>
#include <string>

#include "journal/gesture.h"

namespace orv::journal {

// One entry of the journal as a reader sees it (a row of FW3J_GIORNALEREVOKE).
struct JournalEntry {
  // Principal kinds as stored.
  static constexpr std::string_view kUser = "UTENTE";
  static constexpr std::string_view kGroup = "GRUPPO";
  static constexpr std::string_view kAll = "TUTTI";

  int64_t id = 0;
  std::string when;   // "yyyyMMdd HH:mm:ss", local time
  std::string login;  // the host login that made the gesture
  int64_t company = 0;
  int32_t section = 0;
  std::string principal_kind;  // kUser, kGroup, kAll, or "" (master switch)
  int64_t principal_id = 0;    // FW07_ID or FW06_ID; 0 for kAll and ""
  GestureKind kind = GestureKind::kClick;
  std::string summary;
  int64_t undo_of = 0;  // the entry an undo or a revert put back (0: none)
  int64_t redo_of = 0;  // the entry a redo made again (0: none)
  bool undone = false;  // put back by a later undo or revert
  int64_t image_count = 0;
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_JOURNAL_ENTRY_H_
