#ifndef ORV_TESTS_SECTIONS_SECTION_EDITOR_H_
#define ORV_TESTS_SECTIONS_SECTION_EDITOR_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "db/recordset.h"
#include "editor/frmfw_orvelka.h"
#include "support/headless_editor.h"

namespace orv::testing {

// The editor on a fresh copy of the demo database, opened by the demo's
// administrator in company 1, with the gestures and read-outs every section
// test uses. The fixtures of the single sections add their grids' helpers on
// top.
class SectionEditor : public HeadlessEditor {
 public:
  // The questions of the revoke-all and remove-all buttons, as Messages()
  // shows them.
  static constexpr const char* kRevokeAllQuestion =
      "36|Richiesta|Si è scelto di inserire tutte le revoke per le entità visualizzate relative "
      "all'utente/gruppo selezionato, procedere con l'operazione ?";
  static constexpr const char* kRemoveAllQuestion =
      "36|Richiesta|Si è scelto di rimuovere tutte le revoke per le entità visualizzate relative "
      "all'utente/gruppo selezionato, procedere con l'operazione ?";

  SectionEditor() : SectionEditor(true) {}

  // Gestures.
  void Group(int64_t id) { host().SelectPrincipal(store::PrincipalNode::kGroup, id); }
  void User(int64_t id) { host().SelectPrincipal(store::PrincipalNode::kUser, id); }
  void Section(std::string_view key) { host().ChooseSection(key); }

  // Messages shown ("buttons|title|prompt") and change-log texts of one
  // event, since the last ClearOutput().
  std::vector<std::string> Messages();
  std::vector<std::string> Log(int32_t event);
  void ClearOutput();
  // The fields of the query control as "caption|column|max length".
  std::vector<std::string> QueryFields() const;

  // The section object (or interface) of type T the modules added; null
  // when there is none.
  template <typename T>
  T* Find() {
    for (const auto& s : window().sections()) {
      if (auto* found = dynamic_cast<T*>(s.get())) return found;
    }
    return nullptr;
  }

  // Rows of a query on the test's own connection, columns joined by "|",
  // Null as "NULL".
  std::vector<std::string> Query(std::string_view sql);

  // A field of the current row as trimmed text, "" for Null.
  static std::string Text(const db::Recordset& rs, std::string_view field);

 protected:
  // Without `open_now` the editor opens only on Open(), so that a fixture
  // can change the database first.
  explicit SectionEditor(bool open_now) {
    if (open_now) Open();
  }
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SECTIONS_SECTION_EDITOR_H_
