#ifndef ORV_TESTS_SECTIONS_SECTION_EDITOR_H_
#define ORV_TESTS_SECTIONS_SECTION_EDITOR_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/temporary_demo_database.h"
#include "session/headless_host.h"

namespace orv::testing {

// The editor on a fresh copy of the demo database, opened by the demo's
// administrator in company 1 and driven through the headless host, with the
// test's own connection to look at the tables. The fixtures of the single
// sections add their grids' helpers on top.
class SectionEditor {
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
  virtual ~SectionEditor();

  session::HeadlessHost& host() { return host_; }
  editor::FRMFW_ORVELKA& window() { return *host_.window(); }
  const session::MemoryControls& controls() const { return host_.controls(); }
  const std::string& database_path() const { return database_.path(); }

  // Gestures.
  void Group(int64_t id) { host_.SelectPrincipal(host::PrincipalNode::kGroup, id); }
  void User(int64_t id) { host_.SelectPrincipal(host::PrincipalNode::kUser, id); }
  void Section(std::string_view key) { host_.ChooseSection(key); }

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

  // The test's own connection.
  db::Connection& db() { return *connection_; }
  // Rows of a query, columns joined by "|", Null as "NULL".
  std::vector<std::string> Query(std::string_view sql);
  int64_t Count(std::string_view sql);
  void Exec(std::string_view sql);

  // A field of the current row as trimmed text, "" for Null.
  static std::string Text(const db::Recordset& rs, std::string_view field);

 protected:
  // Without `open_now` the editor opens only on Open(), so that a fixture
  // can change the database first.
  explicit SectionEditor(bool open_now);
  void Open();

 private:
  hostdb::TemporaryDemoDatabase database_;
  std::shared_ptr<db::Connection> connection_;
  session::HeadlessHost host_;
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SECTIONS_SECTION_EDITOR_H_
