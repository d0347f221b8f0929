// Gestures write only rows built for the principal selected now, a failed
// reload leaves nothing to click, the start-up view's buttons act on what it
// shows, and with no principal the bulk buttons and the copy refuse before
// asking anything.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "hostdb/demo_installation.h"
#include "sections/bulk_editor.h"
#include "sections/node_editor.h"
#include "sections/tree_editor.h"
#include "session/memory_grouping_grid.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using store::PrincipalNode;
using testing::BulkEditor;
using testing::NodeEditor;
using testing::TreeEditor;

constexpr const char* kRefusal =
    "48|Operazione non valida|Selezionare almeno un gruppo o un utente!";

TEST(NodeWorkTableGuardTest, BulkGesturesNeverActOnRowsBuiltForAnotherPrincipal) {
  // Group 4 loads project 24001 only; the work table stays behind when the
  // section is left and opened again. With the pane collapsed user 7 (node
  // 24002/020 revoked) is picked: no rows are built for user 7.
  NodeEditor e;
  e.Group(DemoInstallation::kGroupAcquisti);
  e.Section("ITM_NODI");
  e.host().Filter("Progetto", "24001", "");
  e.host().Button("CMD_UPDATE");
  e.Section("ITM50026");
  e.Section("ITM_NODI");
  e.window().PICUP_DblClick();
  ASSERT_FALSE(e.window().control("VRX_FMEHENQUERY").visible());
  e.User(DemoInstallation::kUserFerrari);
  EXPECT_TRUE(e.Shown().empty());

  // "Disabilita tutti" rebuilds for user 7 and revokes what it then shows;
  // user 7's own revocation stays, group 4 gets nothing.
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_DISABILITATUTTI");
  const std::vector<std::string> shown = e.Shown();
  ASSERT_FALSE(shown.empty());
  for (const std::string& row : shown) EXPECT_EQ(row.back(), '0') << row;
  const int64_t nodes =
      e.Count("SELECT COUNT(*) FROM " + e.window().temp_table_name() + " WHERE INCLUSA = 1");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI WHERE FW3N_ID_FW07 = 7"), nodes);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI WHERE FW3N_ID_FW07 = 7 AND "
                    "FW3N_CODPROG_PD68 = '24002' AND FW3N_CODNODO = '020'"),
            1);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI WHERE FW3N_ID_FW06 = 4"), 0);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI WHERE FW3N_ID_FW06 = 6"), 1);
}

TEST(NodeWorkTableGuardTest, AFailedRebuildLeavesNothingToWriteFrom) {
  NodeEditor e;
  e.User(DemoInstallation::kUserFerrari);
  e.OpenNodes();
  ASSERT_FALSE(e.Shown().empty());
  // The node catalogue is gone: the rebuild for group 4 fails and shows no
  // rows; the revoke-all tries to rebuild, fails again and writes nothing.
  e.Exec("DROP TABLE PD0C_NODO");
  e.Group(DemoInstallation::kGroupAcquisti);
  EXPECT_TRUE(e.Shown().empty());
  e.window().PICUP_DblClick();
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_DISABILITATUTTI");
  EXPECT_TRUE(e.Shown().empty());
  EXPECT_EQ(e.Revocations(),
            (std::vector<std::string>{"1|24001|030|6|NULL", "1|24002|020|NULL|7"}));
}

TEST(ParameterReloadGuardTest, AFailedReloadLeavesNoRowsOfThePreviousPrincipal) {
  NodeEditor e;
  e.User(DemoInstallation::kUserBianchi);
  e.Section("ITM50017");
  ASSERT_FALSE(e.Codes().empty());
  e.Exec("DROP TABLE FW31_RVKPARAMETRI");
  e.ClearOutput();
  e.User(DemoInstallation::kUserVerdi);
  // The failure was told; the grid shows no rows under user 4's name, so no
  // click can write user 3's rows for user 4.
  const std::vector<std::string> shown = e.Messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("LoadData"), std::string::npos) << shown[0];
  EXPECT_EQ(e.window().work_recordset(), nullptr);
  EXPECT_EQ(e.controls().grid->GetDataSource(), nullptr);
}

TEST(StartUpViewTest, TheButtonsActOnTheCustomerSupplierTreeShownAtStartUp) {
  // No side-bar choice: the start-up view is the customer/supplier section.
  TreeEditor e;
  EXPECT_EQ(e.window().section_code(), editor::FRMFW_ORVELKA::kSectionCliFor);
  e.Exec(
      "INSERT INTO FW32_RVKCLIFOR (FW32_ID_FW07, FW32_ID_FW06, FW32_DITTA, FW32_TIPOCF, "
      "FW32_CODMACRO, FW32_CODMIDDLE, FW32_CODRAGG, FW32_TIPORAGG, FW32_FLGABILITATO, "
      "FW32_FLGMODIFICA) VALUES (NULL, 6, 1, 0, 'NORD', '', '', 'AREA', 0, 0)");
  e.Group(6);
  ASSERT_EQ(e.Cell("M_1.0.NORD", "CHECKED"), "0");
  // "Abilita tutti" finds the revocation shown and removes it.
  e.ClearOutput();
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_ABILITATUTTI");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{TreeEditor::kRemoveAllQuestion});
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 6"), 0);
  EXPECT_EQ(e.Cell("M_1.0.NORD", "CHECKED"), "1");
  // "Disabilita tutti" revokes every branch shown.
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_DISABILITATUTTI_CLIFOR");
  EXPECT_EQ(e.Cell("M_1.0.NORD", "CHECKED"), "0");
  EXPECT_GT(e.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 6"), 1);
}

TEST(NoPrincipalTest, BulkButtonsRefuseBeforeAskingAnything) {
  struct Case {
    const char* section;
    const char* button;
  };
  for (const Case& c :
       {Case{"ITM_NODI", "VRX_ABILITATUTTI"}, Case{"ITM_NODI", "VRX_DISABILITATUTTI"},
        Case{"ITM50017", "VRX_ABILITATUTTI"}, Case{"ITM50017", "VRX_DISABILITATUTTI"},
        Case{"ITM50010", "VRX_ABILITATUTTI"}, Case{"ITM_TRANSORIDEST", "BTN_ABILITATUTTIDEP"}}) {
    BulkEditor e;
    e.Section(c.section);
    e.host().SelectNoPrincipal();
    const std::vector<std::string> before = e.Snapshot();
    e.ClearOutput();
    e.Yes();
    e.host().Button(c.button);
    EXPECT_EQ(e.Messages(), std::vector<std::string>{kRefusal}) << c.section << " " << c.button;
    EXPECT_EQ(e.Snapshot(), before) << c.section << " " << c.button;
    EXPECT_TRUE(e.host().global()->logged_errors().empty()) << c.section << " " << c.button;
  }
}

TEST(NoPrincipalTest, CopyRefusesWithoutDestinationOrSource) {
  BulkEditor e;
  e.Section("ITM154");
  const std::vector<std::string> before = e.Snapshot();
  // No destination.
  e.host().SelectNoPrincipal();
  e.host().CopyFrom(PrincipalNode::kUser, 3);
  e.host().Tick("CHK_DEP", true);
  e.ClearOutput();
  e.host().Button("CMD_OK");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{kRefusal});
  // No source.
  BulkEditor f;
  f.Section("ITM154");
  f.host().SelectPrincipal(PrincipalNode::kUser, 3);
  f.host().Tick("CHK_DEP", true);
  f.ClearOutput();
  f.host().Button("CMD_OK");
  EXPECT_EQ(f.Messages(),
            std::vector<std::string>{"48|Operazione non valida|Selezionare il gruppo o l'utente "
                                     "d'origine della copia!"});
  EXPECT_EQ(e.Snapshot(), before);
  EXPECT_TRUE(e.host().global()->logged_errors().empty());
  EXPECT_TRUE(f.host().global()->logged_errors().empty());
}

TEST(LogErrorTest, RetryIsOfferedOnlyForWhatTheDatabaseReported) {
  BulkEditor e;
  host::ErrObject not_set;
  not_set.number = host::kErrObjectNotSet;
  not_set.description = "Object variable or With block variable not set";
  // Even a queued retry cannot loop on an error no retry cures.
  e.host().answers().Push(host::kVbRetry);
  EXPECT_EQ(e.window().LogError("DuplicaRevoke", not_set), host::kVbAbort);
  host::ErrObject locked;
  locked.number = -2147467259;
  locked.description = "The database is locked by another connection";
  locked.driver_messages.push_back({5, locked.description, "SQLite"});
  e.host().answers().Push(host::kVbRetry);
  EXPECT_EQ(e.window().LogError("DuplicaRevoke", locked), host::kVbRetry);
  const auto& errors = e.host().global()->logged_errors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].buttons, host::kVbOKOnly + host::kVbCritical + host::kVbSystemModal);
  EXPECT_EQ(errors[1].buttons, host::kVbAbortRetryIgnore + host::kVbCritical +
                                   host::kVbDefaultButton2 + host::kVbSystemModal);
}

TEST(FailedBuildTest, OneGestureReportsOneFailedBuild) {
  // The side bar builds the list and the principal's reload builds it again;
  // the user hears of the failure once.
  for (const auto& [table, item] :
       {std::pair{"FW3H_RVKARTICOLI", "ITM_ARTFAM"}, std::pair{"FW32_RVKCLIFOR", "ITM50010"}}) {
    TreeEditor e;
    e.Group(6);
    e.Exec(std::string("DROP TABLE ") + table);
    e.ClearOutput();
    e.Section(item);
    const std::vector<std::string> shown = e.Messages();
    ASSERT_EQ(shown.size(), 1u) << item;
    EXPECT_EQ(shown[0].rfind("16||", 0), 0u) << shown[0];
    // The next gesture reports its own failure again.
    e.ClearOutput();
    e.Group(5);
    EXPECT_EQ(e.Messages().size(), 1u) << item;
  }
}

}  // namespace
}  // namespace orv::sections
