// "Abilita tutti" in the sections of TGRID_CLIFOR: the list shown is built
// again and the principal's revoked list is reloaded once.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostdb/demo_installation.h"
#include "sections/tree_editor.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::TreeEditor;

TEST(BulkTreeTest, FamiliesAreFoundWhicheverFamilyIsRevokedAndTheListFollows) {
  TreeEditor e;
  // Group 6's only row is 'VERN', not the first family of the list.
  e.Section("ITM_ARTFAM");
  e.Group(DemoInstallation::kGroupProduzione);
  ASSERT_NE(e.Rows().front().at("KEY"), "F_1.VERN");
  ASSERT_EQ(e.Boxes("F_1.VERN"), "100");
  e.ClearOutput();
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_ABILITATUTTI2");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{TreeEditor::kRemoveAllQuestion});
  EXPECT_EQ(e.Boxes("F_1.VERN"), "111");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3H_RVKARTICOLI WHERE FW3H_ID_FW06 = 6"), 1);
  EXPECT_EQ(e.Reloads(), std::vector<std::string>{"G6"});
}

TEST(BulkTreeTest, CustomerTreeIsBuiltAgainWithTheBranchesGivenBack) {
  TreeEditor e;
  e.Section("ITM50010");
  e.User(DemoInstallation::kUserRossi);  // category IND/MECC revoked
  ASSERT_EQ(e.Cell("C_1.0.IND.MECC", "CHECKED"), "0");
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_ABILITATUTTI2");
  EXPECT_EQ(e.Cell("C_1.0.IND.MECC", "CHECKED"), "1");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 = 2"), 0);
  EXPECT_EQ(e.Reloads(), std::vector<std::string>{"U2"});
}

TEST(BulkTreeTest, AnsweringNoLeavesTheTreeAndReloadsNothing) {
  TreeEditor e;
  e.Section("ITM50010");
  e.Group(DemoInstallation::kGroupVendite);
  const std::vector<TreeEditor::Row> before = e.Rows();
  e.host().answers().Push(host::kVbNo);
  e.host().Button("VRX_ABILITATUTTI2");
  EXPECT_EQ(e.Rows(), before);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 3"), 1);
  EXPECT_TRUE(e.Reloads().empty());
}

}  // namespace
}  // namespace orv::sections
