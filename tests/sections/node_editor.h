#ifndef ORV_TESTS_SECTIONS_NODE_EDITOR_H_
#define ORV_TESTS_SECTIONS_NODE_EDITOR_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/recordset.h"
#include "sections/parameter_editor.h"

namespace orv::testing {

// The editor on a fresh demo database with the project-node section helpers:
// rows are told apart by project and node code (node codes repeat across
// projects).
class NodeEditor : public ParameterEditor {
 public:
  // Opens the node section for the principal and loads it with "Aggiorna".
  void OpenNodes() {
    Section("ITM_NODI");
    host().Button("CMD_UPDATE");
  }

  // Clicks the ABILITATO box of a node; fails the test when it is not shown.
  void ClickNode(std::string_view project, std::string_view code) {
    ClickFirst(
        [&](const db::Recordset& rs) {
          return Text(rs, "PROGETTO") == project && Text(rs, "CODICE") == code;
        },
        "node " + std::string(project) + "/" + std::string(code));
  }

  // The bound rows in recordset order as "PROGETTO/CODICE=ABILITATO".
  std::vector<std::string> Shown() {
    std::vector<std::string> rows;
    const std::shared_ptr<db::Recordset>& work = window().work_recordset();
    if (!work) return rows;
    std::shared_ptr<db::Recordset> rs = work->Clone();
    if (rs->RecordCount() == 0) return rows;
    for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
      rows.push_back(Text(*rs, "PROGETTO") + "/" + Text(*rs, "CODICE") + "=" +
                     Text(*rs, "ABILITATO"));
    }
    return rows;
  }

  // Rows of FW3N_RVKNODI as "company|project|node|group|user", sorted.
  std::vector<std::string> Revocations() {
    std::vector<std::string> rows = Query(
        "SELECT FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW06, "
        "FW3N_ID_FW07 FROM FW3N_RVKNODI");
    std::sort(rows.begin(), rows.end());
    return rows;
  }
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SECTIONS_NODE_EDITOR_H_
