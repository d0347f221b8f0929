#ifndef ORV_JOURNAL_JOURNAL_TABLE_H_
#define ORV_JOURNAL_JOURNAL_TABLE_H_

#include <string>
#include <string_view>
#include <vector>

namespace orv::journal {

// A host table whose rows the journal keeps before and after images of: the
// five revocation tables and the installation settings (master switch).
//
// A row is named by its key columns (the principal columns first, then the
// table's logical key) and carries its value columns (the flags). A row
// image is the text of those values, so it stays short: a 250,000-pair
// gesture writes 250,000 images of a few dozen bytes. Surrogate identities
// (FW31_CODICE) are not part of an image: a row given back gets a new one.
struct JournalTable {
  struct Column {
    std::string_view name;
    bool text = false;  // written between quotes; else an integer
  };

  std::string_view name;
  std::string_view user_column;  // empty for a table without principal
  std::string_view group_column;
  std::string_view company_column;  // empty when the table has none
  std::vector<Column> keys;         // principal columns first
  std::vector<Column> values;
  // Value columns that read "allowed" when not 0; a row without them (or
  // an absent row) reads allowed when absent and revoked when present.
  std::vector<std::string_view> allowed_flags;
  // Key columns that name the item to a reader, most specific last.
  std::vector<std::string_view> item_columns;

  bool has_principal() const { return !user_column.empty(); }
  int KeyIndex(std::string_view column) const;    // -1 when not a key column
  int ValueIndex(std::string_view column) const;  // -1 when not a value column

  // The table of that name (case as the schema writes it); null when the
  // journal does not know it.
  static const JournalTable* Find(std::string_view name);
  static const std::vector<JournalTable>& All();

  static constexpr std::string_view kParameters = "FW31_RVKPARAMETRI";
  static constexpr std::string_view kCliFor = "FW32_RVKCLIFOR";
  static constexpr std::string_view kFamilies = "FW3H_RVKARTICOLI";
  static constexpr std::string_view kTransfers = "FW3E_RVKDEPCOLL";
  static constexpr std::string_view kNodes = "FW3N_RVKNODI";
  static constexpr std::string_view kSettings = "FW95_SETTINGS";
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_JOURNAL_TABLE_H_
