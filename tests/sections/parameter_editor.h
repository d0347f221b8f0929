#ifndef ORV_TESTS_SECTIONS_PARAMETER_EDITOR_H_
#define ORV_TESTS_SECTIONS_PARAMETER_EDITOR_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/temporary_demo_database.h"
#include "session/headless_host.h"

namespace orv::testing {

// One row of GRIDTIPOLOGIE's work recordset, as text.
struct WorkRow {
  std::string code;  // trimmed
  std::string description;
  std::string abilitato;
  std::string modifica;
  std::string inserimento;
  std::string eliminazione;
  std::string dittarag;
  std::string raggruppamento;
  std::string indtipo;  // "" when Null
};

// The editor on a fresh copy of the demo database, opened by the demo's
// administrator in company 1, driven through the headless host.
class ParameterEditor {
 public:
  ParameterEditor();
  ~ParameterEditor();

  session::HeadlessHost& host() { return host_; }
  editor::FRMFW_ORVELKA& window() { return *host_.window(); }
  const session::MemoryControls& controls() const { return host_.controls(); }
  const std::string& database_path() const { return database_.path(); }

  // Gestures.
  void Group(int64_t id) { host_.SelectPrincipal(host::PrincipalNode::kGroup, id); }
  void User(int64_t id) { host_.SelectPrincipal(host::PrincipalNode::kUser, id); }
  void Section(std::string_view key) { host_.ChooseSection(key); }
  // Clicks the ABILITATO box of the row with that code (and company, when
  // not 0); fails the test when there is no such row.
  void Click(std::string_view code, int64_t company = 0);

  // The work recordset's rows in recordset order.
  std::vector<WorkRow> Rows();
  // The row with that code (and company); a row with code "<none>" when absent.
  WorkRow Row(std::string_view code, int64_t company = 0);

  // Messages shown and change-log texts (event 16 only), since the last Clear().
  std::vector<std::string> Messages();
  std::vector<std::string> Log16();
  void ClearOutput();

  // The test's own connection.
  db::Connection& db() { return *connection_; }
  int64_t Count(std::string_view sql);
  void Exec(std::string_view sql);

 private:
  hostdb::TemporaryDemoDatabase database_;
  std::shared_ptr<db::Connection> connection_;
  session::HeadlessHost host_;
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SECTIONS_PARAMETER_EDITOR_H_
