// The disable-all button of the customer/supplier section.

#include <gtest/gtest.h>

#include "db/recordset.h"
#include "sections/tree_editor.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using orv::testing::TreeEditor;

int BranchRows(TreeEditor& editor) {
  int n = 0;
  for (TreeEditor::Row& row : editor.Rows()) n += row["DITTA"] != "<null>";
  return n;
}

TEST(CliForDisableAllTest, NoChangesNothing) {
  TreeEditor editor;
  editor.Group(3);
  editor.Section("ITM50010");
  const auto before = editor.window().tree_rowset();
  editor.DisableAll(host::kVbNo);
  EXPECT_EQ(editor.Messages(), std::vector<std::string>{TreeEditor::kRevokeAllQuestion});
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR"), 5);
  EXPECT_TRUE(editor.Reloads().empty());
  EXPECT_EQ(editor.window().tree_rowset(), before);
  EXPECT_EQ(editor.Cell("M_1.0.NORD", "CHECKED"), "1");
}

TEST(CliForDisableAllTest, YesRevokesEveryBranchReloadsOnceAndRebuilds) {
  TreeEditor editor;
  // Group 3 already has SUD revoked and gets a row allowing NORD.
  editor.Exec("INSERT INTO FW32_RVKCLIFOR VALUES (NULL, 3, 1, 0, 'NORD', '', '', 'AREA', 1, 0)");
  editor.Group(3);
  editor.Section("ITM50010");
  const int branches = BranchRows(editor);
  ASSERT_GT(branches, 50);
  const auto before = editor.window().tree_rowset();
  editor.DisableAll(host::kVbYes);

  EXPECT_EQ(editor.Messages(), std::vector<std::string>{TreeEditor::kRevokeAllQuestion});
  // One row per branch: existing rows updated, the others inserted.
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 3"), branches);
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 3 AND "
                         "(FW32_FLGABILITATO <> 0 OR FW32_FLGMODIFICA <> 0 OR FW32_ID_FW07 IS NOT "
                         "NULL OR FW32_DITTA <> 1)"),
            0);
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 3 AND "
                         "FW32_TIPOCF = -1 AND FW32_TIPORAGG = 'SEDE'"),
            4);
  // Rows of other principals untouched.
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 IS NULL OR "
                         "FW32_ID_FW06 <> 3"),
            4);
  EXPECT_EQ(editor.Reloads(), std::vector<std::string>{"G3"});
  EXPECT_TRUE(editor.Log(15).empty());

  // The tree was built again, every box cleared, headings still without one.
  EXPECT_NE(editor.window().tree_rowset(), before);
  EXPECT_EQ(editor.controls().tree_grid->recordset(), editor.window().tree_rowset());
  EXPECT_EQ(BranchRows(editor), branches);
  for (TreeEditor::Row& row : editor.Rows()) {
    EXPECT_EQ(row["CHECKED"], row["DITTA"] == "<null>" ? "<null>" : "0") << row["KEY"];
  }
  EXPECT_EQ(editor.window().mouse_pointer(), 0);
  EXPECT_FALSE(editor.window().control("VRX_PROGRESS").visible());
}

TEST(CliForDisableAllTest, AFailingRowIsReportedAndTheWalkGoesOn) {
  TreeEditor editor;
  editor.User(7);
  editor.Section("ITM50010");
  // A branch row that cannot be written (the table wants a type).
  std::shared_ptr<db::Recordset> tree = editor.window().tree_rowset();
  std::shared_ptr<db::Recordset> rows = tree->Clone();
  int branches = 0;
  for (rows->MoveFirst(); !rows->IsEof(); rows->MoveNext()) {
    if (rows->Field("KEY").ToText() == "M_1.0.NORD") {
      rows->SetField("TIPOCF", db::Value::Null());
      rows->Update();
    }
    branches += !rows->Field("DITTA").IsNull();
  }
  editor.DisableAll(host::kVbYes);
  const std::vector<std::string> messages = editor.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].rfind("0||Errore N° :", 0), 0u) << messages[1];
  EXPECT_NE(messages[1].find("\n in DisabilitaRecord"), std::string::npos) << messages[1];
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 = 7 AND "
                         "FW32_FLGABILITATO = 0"),
            branches - 1);
  EXPECT_EQ(editor.Reloads(), std::vector<std::string>{"U7"});
}

}  // namespace
}  // namespace orv::sections
