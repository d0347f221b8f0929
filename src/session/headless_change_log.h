#ifndef ORV_SESSION_HEADLESS_CHANGE_LOG_H_
#define ORV_SESSION_HEADLESS_CHANGE_LOG_H_

#include <cstdint>
#include <string>
#include <vector>

#include "session/session_output.h"
#include "zere_orvelka/change_log.h"

namespace orv::session {

struct ChangeLogEntry {
  int32_t event = 0;
  std::string text;
};

// The change log of the headless host. Pieces are formatted as
// "Gruppo: <name>; ", "Utente: <name>; " (nothing for an empty name) and
// "<n>: <text>; "; every entry is recorded and written to the output as
// "LOG <event>\t<text>".
class HeadlessChangeLog : public host::ChangeLog {
 public:
  explicit HeadlessChangeLog(SessionOutput& output) : output_(output) {}

  std::string FormatGroup(std::string_view group_name) override;
  std::string FormatUser(std::string_view user_name) override;
  std::string FormatDetail(int32_t number, std::string_view text) override;
  void WriteEntry(int32_t event_number, std::string_view text) override;

  const std::vector<ChangeLogEntry>& entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  SessionOutput& output_;
  std::vector<ChangeLogEntry> entries_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_HEADLESS_CHANGE_LOG_H_
