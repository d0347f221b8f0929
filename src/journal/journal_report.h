#ifndef ORV_JOURNAL_JOURNAL_REPORT_H_
#define ORV_JOURNAL_JOURNAL_REPORT_H_

#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_entry.h"

namespace orv::journal {

// Journal entries for people (a tab-separated table) and for spreadsheets
// (CSV, comma-separated, every field quoted, quotes doubled, CRLF lines).
class JournalReport {
 public:
  static std::vector<std::string_view> Header();
  // The fields of an entry in Header() order; the principal as "UTENTE 12",
  // "GRUPPO 3", "TUTTI" or "".
  static std::vector<std::string> Fields(const JournalEntry& entry);
  static std::string Text(const std::vector<JournalEntry>& entries);
  static std::string Csv(const std::vector<JournalEntry>& entries);
  static std::string CsvField(std::string_view field);
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_JOURNAL_REPORT_H_
