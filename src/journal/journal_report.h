#ifndef ORV_JOURNAL_JOURNAL_REPORT_H_
#define ORV_JOURNAL_JOURNAL_REPORT_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_entry.h"

namespace orv::journal {

// Journal entries for people (a tab-separated table) and for spreadsheets
// (CSV, comma-separated, every field quoted, quotes doubled, CRLF lines).
class JournalReport {
 public:
  // The name of an entry's principal ("" when not known).
  using NameOf = std::function<std::string(const JournalEntry&)>;

  static std::vector<std::string_view> Header();
  // The fields of an entry in Header() order; the principal by its name
  // beside its kind and number, "Ufficio vendite (GRUPPO 3)", or as
  // "GRUPPO 3" without a name, "TUTTI" or "".
  static std::vector<std::string> Fields(const JournalEntry& entry, const NameOf& name = {});
  static std::string Text(const std::vector<JournalEntry>& entries, const NameOf& name = {});
  static std::string Csv(const std::vector<JournalEntry>& entries, const NameOf& name = {});
  // The principal field alone, as Fields() writes it.
  static std::string Principal(const JournalEntry& entry, const NameOf& name = {});
  static std::string CsvField(std::string_view field);
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_JOURNAL_REPORT_H_
