// Enable and disable all in the project-node section: only the nodes that
// pass the filter change; hidden nodes keep their state, revoked or not.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hostdb/demo_installation.h"
#include "sections/node_editor.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::NodeEditor;

// "1|PROJECT|NODE|" + principal for every node of a project of company 1;
// `principal` is "GROUP|USER" as the revocation rows read.
std::vector<std::string> NodeRows(NodeEditor& e, const std::string& project,
                                  const std::string& principal) {
  std::vector<std::string> rows;
  for (const std::string& node :
       e.Query("SELECT PD0C_CODNODO FROM PD0C_NODO WHERE PD0C_DITTA_CG18 = 1 AND "
               "PD0C_CODPROG_PD68 = '" +
               project + "'")) {
    rows.push_back("1|" + project + "|" + db::Trim(node) + "|" + principal);
  }
  return rows;
}

std::vector<std::string> Sorted(std::vector<std::string> rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

TEST(BulkNodesFilterTest, DisableAndEnableAllChangeOnlyTheFilteredNodes) {
  NodeEditor e;
  const int user = DemoInstallation::kUserFerrari;  // '24002' node '020' revoked
  const std::vector<std::string> before = e.Revocations();
  ASSERT_EQ(before, (std::vector<std::string>{"1|24001|030|6|NULL", "1|24002|020|NULL|7"}));
  e.User(user);
  e.Section("ITM_NODI");
  e.host().Filter("Progetto", "24001", "");
  e.host().Button("CMD_UPDATE");
  ASSERT_FALSE(e.window().control("VRX_FMEHENQUERY").visible());

  e.host().answers().Push(host::kVbNo);
  e.host().Button("VRX_DISABILITATUTTI");
  EXPECT_EQ(e.Revocations(), before);

  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_DISABILITATUTTI");
  std::vector<std::string> expected = NodeRows(e, "24001", "NULL|7");
  ASSERT_GT(expected.size(), 1u);
  expected.push_back("1|24001|030|6|NULL");
  expected.push_back("1|24002|020|NULL|7");
  EXPECT_EQ(e.Revocations(), Sorted(expected));
  for (const std::string& row : e.Shown()) EXPECT_EQ(row.back(), '0') << row;

  // Enabling with the other project shown gives back only its node.
  e.host().Filter("Progetto", "24002", "");
  e.host().Button("CMD_UPDATE");
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_ABILITATUTTI");
  expected.pop_back();
  EXPECT_EQ(e.Revocations(), Sorted(expected));
  for (const std::string& row : e.Shown()) EXPECT_EQ(row.back(), '1') << row;
}

TEST(BulkNodesFilterTest, FilterTypedWithoutUpdateIsAppliedFirst) {
  NodeEditor e;
  const int group = DemoInstallation::kGroupAcquisti;
  e.Group(group);
  e.Section("ITM_NODI");
  // The filter bar is open and nothing is loaded yet.
  ASSERT_TRUE(e.window().control("VRX_FMEHENQUERY").visible());
  e.host().Filter("Progetto", "24002", "");
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_DISABILITATUTTI");
  std::vector<std::string> expected = NodeRows(e, "24002", "4|NULL");
  ASSERT_FALSE(expected.empty());
  expected.push_back("1|24001|030|6|NULL");
  expected.push_back("1|24002|020|NULL|7");
  EXPECT_EQ(e.Revocations(), Sorted(expected));
}

TEST(BulkNodesFilterTest, EnableAllWithoutNodeRevocationsChangesNothing) {
  NodeEditor e;
  e.User(DemoInstallation::kUserOspite);
  e.OpenNodes();
  const std::vector<std::string> before = e.Revocations();
  e.ClearOutput();
  e.host().Button("VRX_ABILITATUTTI");
  EXPECT_EQ(e.Messages(),
            std::vector<std::string>{
                "0||Non ci sono revoke assegnate per l'utente/gruppo \"Utente ospite\""});
  EXPECT_EQ(e.Revocations(), before);
}

}  // namespace
}  // namespace orv::sections
