#ifndef ORV_TESTS_SECTIONS_TREE_EDITOR_H_
#define ORV_TESTS_SECTIONS_TREE_EDITOR_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/temporary_demo_database.h"
#include "session/headless_host.h"

namespace orv::testing {

// The editor on a fresh copy of the demo database, opened by the demo's
// administrator in company 1, for the sections shown in TGRID_CLIFOR.
//
// With `count_reloads` the two per-principal reload procedures are replaced
// by ones that only record their argument ("U<id>" or "G<id>") in
// T_RELOADS, so that tests see how often the editor ran them.
class TreeEditor {
 public:
  // A row of the tree rowset: field name -> text ("<null>" for Null).
  using Row = std::map<std::string, std::string>;

  explicit TreeEditor(bool count_reloads = true);
  ~TreeEditor();

  session::HeadlessHost& host() { return host_; }
  editor::FRMFW_ORVELKA& window() { return *host_.window(); }
  const session::MemoryControls& controls() const { return host_.controls(); }

  void Group(int64_t id) { host_.SelectPrincipal(host::PrincipalNode::kGroup, id); }
  void User(int64_t id) { host_.SelectPrincipal(host::PrincipalNode::kUser, id); }
  void Section(std::string_view key) { host_.ChooseSection(key); }
  // A click on a box of TGRID_CLIFOR, by row key.
  void Click(std::string_view key, std::string_view column = "CHECKED") {
    host_.ClickGrid("TGRID_CLIFOR", key, column);
  }
  // The disable-all button, answering the question with `answer`.
  void DisableAll(int32_t answer);

  // The tree rowset's rows in order; the row with that key (empty when none).
  std::vector<Row> Rows();
  Row RowByKey(std::string_view key);
  // The field of the row with that key ("<none>" when there is no such row).
  std::string Cell(std::string_view key, std::string_view field);

  // Messages shown ("buttons|title|prompt") and change-log texts of one
  // event, since the last ClearOutput().
  std::vector<std::string> Messages();
  std::vector<std::string> Log(int32_t event);
  void ClearOutput();
  // The reload procedures run since the start (with count_reloads).
  std::vector<std::string> Reloads();

  // Rows of a query, columns joined by "|", Null as "NULL".
  std::vector<std::string> Query(std::string_view sql);
  int64_t Count(std::string_view sql);
  void Exec(std::string_view sql);

 private:
  hostdb::TemporaryDemoDatabase database_;
  std::shared_ptr<db::Connection> connection_;
  session::HeadlessHost host_;
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SECTIONS_TREE_EDITOR_H_
