#ifndef ORV_JOURNAL_JOURNAL_STATEMENTS_H_
#define ORV_JOURNAL_JOURNAL_STATEMENTS_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/value.h"
#include "journal/image_page.h"
#include "journal/journal_entry.h"
#include "journal/journal_filter.h"
#include "journal/journal_table.h"
#include "journal/row_image.h"
#include "journal/row_scope.h"
#include "journal/row_text.h"

namespace orv::journal {

// The statements of the journal, in the host's dialect, every value a
// literal (text quoted with its quotes doubled, numbers checked) but the
// pages of images, whose values are bound.
class JournalStatements {
 public:
  static constexpr std::string_view kEntries = "FW3J_GIORNALEREVOKE";
  static constexpr std::string_view kImages = "FW3K_IMMAGINIREVOKE";
  // Rows per multi-row INSERT and per DELETE ... WHERE (key) OR (key) ...:
  // a statement of a few hundred values (each an own parameter on the
  // embedded engine, whose look-up grows with their number).
  static constexpr size_t kRowsPerInsert = 50;
  static constexpr size_t kRowsPerDelete = 50;
  // Pages of images per INSERT.
  static constexpr size_t kPagesPerInsert = 8;

  // --- revocation rows
  // The key and value columns of the scope's rows, keys first.
  static std::string SelectRows(const JournalTable& table, const RowScope& scope);
  // The scope of the rows sharing `key`'s principal and company.
  static RowScope ScopeOfKey(const JournalTable& table, const RowText::Fields& key);
  // Rows given back: key and value fields of each.
  static std::string InsertRows(const JournalTable& table,
                                std::span<const std::pair<RowText::Fields, RowText::Fields>> rows);
  static std::string DeleteRows(const JournalTable& table, std::span<const RowText::Fields> keys);
  // " ORDER BY " and the key columns.
  static std::string OrderByKey(const JournalTable& table);
  // Every row of the scope.
  static std::string DeleteScope(const JournalTable& table, const RowScope& scope);
  static std::string UpdateRow(const JournalTable& table, const RowText::Fields& key,
                               const RowText::Fields& values);

  // --- the journal tables
  static std::string SelectProbe();  // fails when a journal table is missing
  // The insert of an entry followed by the select of its new identity;
  // with `page`, then the insert of that page as the entry's first (the
  // entry's identity taken from the batch's own scope, so a small gesture
  // writes its entry and its images in one statement batch).
  static std::string InsertEntry(const JournalEntry& entry, const ImagePage* page = nullptr);
  // The insert of `pages` pages of images, each five ? markers whose
  // values AppendImageValues gives: their text (megabytes for a large
  // gesture) is bound, neither quoted into the statement nor read again.
  static std::string InsertImages(size_t pages);
  // The values of one page for InsertImages, its table and text moved out.
  static void AppendImageValues(std::vector<db::Value>& values, int64_t entry_id, int64_t sequence,
                                ImagePage&& page);
  static std::string SetUndone(int64_t entry_id, bool undone);
  static std::string SelectEntries(const JournalFilter& filter);
  static std::string SelectEntry(int64_t entry_id);
  static std::string SelectImages(int64_t entry_id);

  // A field as a literal of its column: NULL, a quoted text, or a number
  // (a field of a number column that is not one is quoted, so it fails in
  // the statement instead of entering its text).
  static std::string Literal(const std::optional<std::string>& field, bool text);
  // "col IS NULL" or "col = literal".
  static std::string Equals(std::string_view column, const std::optional<std::string>& field,
                            bool text);
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_JOURNAL_STATEMENTS_H_
