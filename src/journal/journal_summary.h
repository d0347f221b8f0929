#ifndef ORV_JOURNAL_JOURNAL_SUMMARY_H_
#define ORV_JOURNAL_JOURNAL_SUMMARY_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/gesture.h"
#include "journal/pair_rows.h"
#include "journal/row_image.h"

namespace orv::journal {

// The readable Italian summary of an entry, made from what the gesture
// changed: "Depositi: revocati 02 e MP per il gruppo Ufficio vendite".
class JournalSummary {
 public:
  // Items named before "e altri N".
  static constexpr size_t kItemsNamed = 5;

  static std::string Make(const Gesture& gesture, const std::vector<RowImage>& images);
  // What Make() writes when the images are those of the pairs of `pairs`
  // in `table` that were absent (`present[i]` false, or `present` empty),
  // `added` of them, each now holding the pairs' values: found from the
  // codes, without the images. Nullopt when the codes alone cannot tell
  // (two codes that read alike once their trailing blanks are dropped, a
  // code holding the separator of a pair's item, a table whose items are
  // not pairs, or a prefix that does not end before the pair).
  static std::optional<std::string> MakeForPairs(const Gesture& gesture, std::string_view table,
                                                 const PairRows& pairs,
                                                 const std::vector<bool>& present, size_t added);
  // "Depositi", "Clienti/Fornitori", ...; "Sezione N" for an unknown code.
  static std::string SectionTitle(int32_t section);
  // "per il gruppo X", "per l'utente X", "per tutti gli utenti e i gruppi".
  static std::string PrincipalPhrase(const Gesture& gesture);
  // "02", "02 e MP", "02, MP e 07", "02, MP, 07, 08, 09 e altri 3".
  static std::string ItemList(const std::vector<std::string>& items);
  // Whether an image reads as allowed (absent, or its flags not 0).
  static bool Allowed(std::string_view table, const std::optional<std::string>& values);
  // The item a row names ("02", "MAG1 > MAG2", "P1/N3").
  static std::string Item(std::string_view table, std::string_view key);
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_JOURNAL_SUMMARY_H_
