// Two connections on one database: a node click writes exactly the one
// revocation row it changes, and a bulk gesture changes only the rows it
// shows, so neither removes a revocation another editor wrote since its rows
// were built.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "db/recordset.h"
#include "hostdb/demo_installation.h"
#include "sections/node_editor.h"
#include "session/headless_host.h"
#include "session/memory_grouping_grid.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::NodeEditor;

constexpr int kGroup = DemoInstallation::kGroupAcquisti;

// A click on a node's box in another host's grid.
void ClickNode(session::HeadlessHost& host, const std::string& project, const std::string& node) {
  session::MemoryGroupingGrid& grid = *host.controls().grid;
  std::shared_ptr<db::Recordset> rs = grid.GetDataSource();
  ASSERT_TRUE(rs);
  const size_t count = grid.DisplayRows().size();
  for (size_t i = 1; i <= count; ++i) {
    ASSERT_TRUE(grid.MoveToDisplayRow(static_cast<int>(i)));
    if (db::Trim(rs->Field("PROGETTO").ToText()) == project &&
        db::Trim(rs->Field("CODICE").ToText()) == node) {
      host.ClickGrid("GRIDTIPOLOGIE", std::to_string(i), "ABILITATO");
      return;
    }
  }
  FAIL() << "no node " << project << "/" << node;
}

// "PROJECT/NODE" of the group's revocations, sorted.
std::vector<std::string> GroupNodes(NodeEditor& e) {
  return e.Query(
      "SELECT FW3N_CODPROG_PD68 + '/' + FW3N_CODNODO FROM FW3N_RVKNODI WHERE FW3N_ID_FW06 = 4 "
      "AND FW3N_ID_FW07 IS NULL ORDER BY FW3N_CODPROG_PD68, FW3N_CODNODO");
}

TEST(NodeConcurrencyTest, TwoEditorsClickingInTurnKeepEveryRevocation) {
  NodeEditor a;
  a.Group(kGroup);
  a.OpenNodes();
  session::HeadlessHost b;
  b.answers().set_strict(false);
  b.Open(a.Options());
  b.SelectPrincipal(store::PrincipalNode::kGroup, kGroup);
  b.ChooseSection("ITM_NODI");
  b.Button("CMD_UPDATE");

  // Both built their rows before either clicked; they revoke ten nodes in
  // turn.
  std::vector<std::pair<std::string, std::string>> nodes;
  for (const std::string& row : a.Shown()) {
    const size_t slash = row.find('/');
    const size_t eq = row.find('=');
    nodes.emplace_back(row.substr(0, slash), row.substr(slash + 1, eq - slash - 1));
  }
  ASSERT_GE(nodes.size(), 10u);
  nodes.resize(10);
  std::vector<std::string> intended;
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (i % 2 == 0) {
      a.ClickNode(nodes[i].first, nodes[i].second);
    } else {
      ClickNode(b, nodes[i].first, nodes[i].second);
    }
    intended.push_back(nodes[i].first + "/" + nodes[i].second);
  }
  std::sort(intended.begin(), intended.end());
  EXPECT_EQ(GroupNodes(a), intended);

  // Giving one back (where it shows revoked) removes that one row only.
  a.ClickNode(nodes[0].first, nodes[0].second);
  intended.erase(
      std::find(intended.begin(), intended.end(), nodes[0].first + "/" + nodes[0].second));
  EXPECT_EQ(GroupNodes(a), intended);
  EXPECT_TRUE(a.Messages().empty());
  b.Release();
}

TEST(NodeConcurrencyTest, ABulkGestureLeavesTheRevocationsItDidNotShow) {
  NodeEditor a;
  a.Group(kGroup);
  a.Section("ITM_NODI");
  a.host().Filter("Progetto", "24001", "");
  a.host().Button("CMD_UPDATE");
  a.ClickNode("24001", "010");
  // Meanwhile another editor revokes a node of the project this one hides.
  a.Exec(
      "INSERT INTO FW3N_RVKNODI (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW06, "
      "FW3N_ID_FW07) VALUES (1, '24002', '020', 4, NULL)");
  ASSERT_EQ(GroupNodes(a), (std::vector<std::string>{"24001/010", "24002/020"}));
  a.host().answers().Push(host::kVbYes);
  a.host().Button("VRX_ABILITATUTTI");
  EXPECT_EQ(GroupNodes(a), std::vector<std::string>{"24002/020"});
  a.host().answers().Push(host::kVbYes);
  a.host().Button("VRX_DISABILITATUTTI");
  std::vector<std::string> expected;
  for (const std::string& row : a.Shown()) expected.push_back(row.substr(0, row.find('=')));
  expected.push_back("24002/020");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(GroupNodes(a), expected);
}

}  // namespace
}  // namespace orv::sections
