// The copy panel: the families ticked are replaced in the destination (the
// main tree's principal) by the source's (the copy tree's), in every company;
// each family's delete and insert land together.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "db/connection.h"
#include "db/sqlite/sqlite_driver.h"
#include "hostdb/demo_installation.h"
#include "sections/bulk_editor.h"
#include "session/memory_principal_tree.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using store::PrincipalNode;
using testing::BulkEditor;

constexpr std::array<std::string_view, 8> kBoxes = {
    "CHK_CLIFOR",           "CHK_TRANS",    "CHK_BLOC", "CHK_FAM", "CHK_DEP",
    "CHK_CODICISIMUAZIONE", "CHK_PROGETTI", "CHK_NODI"};

// The boxes that are ticked, in panel order.
std::vector<std::string> TickedBoxes(editor::FRMFW_ORVELKA& w) {
  std::vector<std::string> ticked;
  for (std::string_view box : kBoxes) {
    const db::Value& v = w.control(box).value();
    if (!v.IsNull() && v.ToInt32() == 1) ticked.emplace_back(box);
  }
  return ticked;
}

class BulkCopyTest : public ::testing::Test {
 protected:
  // The panel from the side bar, destination and source picked.
  void Open(int32_t to_kind, int64_t to, int32_t from_kind, int64_t from) {
    e_.Section("ITM154");
    e_.host().SelectPrincipal(to_kind, to);
    e_.host().CopyFrom(from_kind, from);
  }
  void Copy(std::initializer_list<std::string_view> boxes) {
    for (std::string_view box : boxes) e_.host().Tick(box, true);
    e_.ClearOutput();
    e_.Yes();
    e_.host().Button("CMD_OK");
  }
  int64_t Count(const std::string& sql) { return e_.Count(sql); }

  BulkEditor e_;
};

TEST_F(BulkCopyTest, OnlyTheSamePrincipalIsRefusedNotTheSameNumber) {
  const std::vector<std::string> before = e_.Snapshot();
  // Group 2 and user 2 share a number but are two principals: the copy goes
  // on to its question (answered no), either way round.
  for (const auto& [to_kind, from_kind] :
       {std::pair{PrincipalNode::kGroup, PrincipalNode::kUser},
        std::pair{PrincipalNode::kUser, PrincipalNode::kGroup}}) {
    Open(to_kind, 2, from_kind, 2);
    e_.host().Tick("CHK_DEP", true);
    e_.ClearOutput();
    e_.No();
    e_.host().Button("CMD_OK");
    const std::vector<std::string> shown = e_.Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("52|Avviso|L'operazione sovrascriverà", 0), 0u) << shown[0];
  }
  // The same kind and number is refused, with its own text.
  e_.host().SelectPrincipal(PrincipalNode::kUser, 3);
  e_.host().CopyFrom(PrincipalNode::kUser, 3);
  e_.ClearOutput();
  e_.host().Button("CMD_OK");
  EXPECT_EQ(e_.Messages(),
            std::vector<std::string>{
                "64|Operazione non consentita|L'utente  d'origine e di destinazione coincidono"});
  e_.host().SelectPrincipal(PrincipalNode::kGroup, 3);
  e_.host().CopyFrom(PrincipalNode::kGroup, 3);
  e_.ClearOutput();
  e_.host().Button("CMD_OK");
  EXPECT_EQ(e_.Messages(),
            std::vector<std::string>{"64|Operazione non consentita|Il gruppo  d'origine e di "
                                     "destinazione coincidono"});
  EXPECT_EQ(e_.Snapshot(), before);
}

TEST_F(BulkCopyTest, GroupOntoUserWritesTheUserAndTakesOnlyTheGroupsRows) {
  // Group 3 has a project (kind 8) and a customer macro area; user 3 (same
  // number) has a warehouse and a grouping of its own, which must not come.
  const int64_t group_clifor = Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 3");
  ASSERT_GT(group_clifor, 0);
  Open(PrincipalNode::kUser, DemoInstallation::kUserOspite, PrincipalNode::kGroup,
       DemoInstallation::kGroupVendite);
  e_.host().Button("CMD_SELEZIONA");
  Copy({});
  EXPECT_EQ(e_.Messages(), std::vector<std::string>{"52|Avviso|L'operazione sovrascriverà "
                                                    "qualsiasi impostazione del profilo Utente "
                                                    "ospite"});
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 = 9"), group_clifor);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 = 9 AND FW32_CODMACRO "
                  "= 'SUD' AND FW32_ID_FW06 IS NULL"),
            1);
  EXPECT_EQ(e_.host().Sql("SELECT FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO FROM "
                          "FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 9"),
            (std::vector<std::string>{"FW31_ID_FW07\tFW31_ID_FW06\tFW31_INDTIPO\tFW31_CODTIPO",
                                      "9\tNULL\t8\t24002"}));
  for (std::string_view table : {"FW31_RVKPARAMETRI", "FW32_RVKCLIFOR", "FW3H_RVKARTICOLI",
                                 "FW3E_RVKDEPCOLL", "FW3N_RVKNODI"}) {
    const std::string prefix(table.substr(0, 4));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM " + std::string(table) + " WHERE " + prefix +
                    "_ID_FW07 = 9 AND " + prefix + "_ID_FW06 IS NOT NULL"),
              0)
        << table;
  }
  // The source is untouched.
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 3"), group_clifor);
}

TEST_F(BulkCopyTest, UserOntoGroupCopiesEveryFamilyInEveryCompany) {
  // User 5: two transfers, a site; group 6 loses its family, node and has
  // nothing of user 5's kinds.
  e_.Exec(
      "INSERT INTO FW3N_RVKNODI (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, "
      "FW3N_ID_FW07) VALUES (2, '24010', '010', 5)");
  Open(PrincipalNode::kGroup, DemoInstallation::kGroupProduzione, PrincipalNode::kUser,
       DemoInstallation::kUserEsposito);
  e_.host().Button("CMD_SELEZIONA");
  Copy({});
  for (std::string_view table : {"FW31_RVKPARAMETRI", "FW32_RVKCLIFOR", "FW3H_RVKARTICOLI",
                                 "FW3E_RVKDEPCOLL", "FW3N_RVKNODI"}) {
    const std::string prefix(table.substr(0, 4));
    EXPECT_EQ(
        Count("SELECT COUNT(*) FROM " + std::string(table) + " WHERE " + prefix + "_ID_FW06 = 6"),
        Count("SELECT COUNT(*) FROM " + std::string(table) + " WHERE " + prefix + "_ID_FW07 = 5"))
        << table;
  }
  EXPECT_EQ(
      e_.host().Sql("SELECT FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, "
                    "FW3N_ID_FW07 FROM FW3N_RVKNODI WHERE FW3N_ID_FW06 = 6"),
      (std::vector<std::string>{"FW3N_DITTA_CG18\tFW3N_CODPROG_PD68\tFW3N_CODNODO\tFW3N_ID_FW07",
                                "2\t24010\t010\tNULL"}));
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 6 AND "
                  "FW3E_CODDEP_ORI = '01' AND FW3E_FLGABILITATO = 0"),
            2);
}

TEST_F(BulkCopyTest, CopiedCustomerBranchesReachTheRevokedList) {
  const std::string list =
      "SELECT FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR FROM FW3C_LISTACFREVOCATI WHERE ";
  const std::string order = " ORDER BY FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR";
  const std::vector<std::string> source = e_.host().Sql(list + "FW3C_ID_FW07 = 2" + order);
  ASSERT_GT(source.size(), 1u);
  ASSERT_EQ(e_.host().Sql(list + "FW3C_ID_FW07 = 9" + order).size(), 1u);
  Open(PrincipalNode::kUser, DemoInstallation::kUserOspite, PrincipalNode::kUser,
       DemoInstallation::kUserRossi);
  Copy({"CHK_CLIFOR"});
  EXPECT_EQ(e_.host().Sql(list + "FW3C_ID_FW07 = 9" + order), source);
  // Copying a principal without branches empties the list again.
  e_.host().CopyFrom(PrincipalNode::kUser, DemoInstallation::kUserFerrari);
  e_.ClearOutput();
  e_.Yes();
  e_.host().Button("CMD_OK");
  EXPECT_EQ(e_.host().Sql(list + "FW3C_ID_FW07 = 9" + order).size(), 1u);
}

TEST_F(BulkCopyTest, SourceWithoutRowsLeavesTheDestinationWithoutThatFamily) {
  const int64_t parameters = Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 5");
  ASSERT_EQ(Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 5"), 1);
  Open(PrincipalNode::kGroup, DemoInstallation::kGroupMagazzino, PrincipalNode::kUser,
       DemoInstallation::kUserOspite);
  Copy({"CHK_TRANS"});
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 5"), 0);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 5"), parameters);
}

TEST_F(BulkCopyTest, OnlyBlockingParametersTouchesOnlyKind30) {
  e_.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG) VALUES (2, 30, 'INV', 1)");
  e_.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG) VALUES (5, 6, 'MP', 1)");
  Open(PrincipalNode::kUser, DemoInstallation::kUserRossi, PrincipalNode::kGroup,
       DemoInstallation::kGroupMagazzino);
  Copy({"CHK_BLOC"});
  EXPECT_EQ(e_.host().Sql("SELECT FW31_INDTIPO, FW31_CODTIPO FROM FW31_RVKPARAMETRI WHERE "
                          "FW31_ID_FW07 = 2 ORDER BY FW31_INDTIPO, FW31_CODTIPO"),
            (std::vector<std::string>{"FW31_INDTIPO\tFW31_CODTIPO", "2\tORDINI", "6\tA", "6\tDEP 1",
                                      "30\tQUAL"}));
  // Nothing else moved.
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 = 2"), 1);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW3H_RVKARTICOLI WHERE FW3H_ID_FW07 = 2"), 1);
}

TEST_F(BulkCopyTest, NothingTickedOrAnsweringNoChangesNothing) {
  const std::vector<std::string> before = e_.Snapshot();
  Open(PrincipalNode::kUser, DemoInstallation::kUserRossi, PrincipalNode::kGroup,
       DemoInstallation::kGroupMagazzino);
  e_.ClearOutput();
  e_.host().Button("CMD_OK");
  EXPECT_EQ(e_.Messages(), std::vector<std::string>{"48|Avviso|Nessun contesto selezionato"});
  e_.host().Button("CMD_SELEZIONA");
  e_.ClearOutput();
  e_.No();
  e_.host().Button("CMD_OK");
  EXPECT_EQ(e_.Messages(), std::vector<std::string>{"52|Avviso|L'operazione sovrascriverà "
                                                    "qualsiasi impostazione del profilo Mario "
                                                    "Rossi"});
  EXPECT_EQ(e_.Snapshot(), before);
}

TEST_F(BulkCopyTest, WithoutASourceNothingIsDeleted) {
  const std::vector<std::string> before = e_.Snapshot();
  e_.Section("ITM154");
  e_.Group(DemoInstallation::kGroupMagazzino);
  e_.host().Button("CMD_SELEZIONA");
  e_.ClearOutput();
  e_.host().Button("CMD_OK");
  // Refused as a missing choice, not an error to retry.
  EXPECT_TRUE(e_.LoggedRoutines().empty());
  EXPECT_EQ(e_.Messages(),
            std::vector<std::string>{"48|Operazione non valida|Selezionare il gruppo o l'utente "
                                     "d'origine della copia!"});
  EXPECT_EQ(e_.Snapshot(), before);
}

TEST_F(BulkCopyTest, FailedInsertLeavesTheDestinationsOldRows) {
  // Group 4 gets a transfer and a blocking parameter of its own; the table
  // refuses the transfer rows written for it.
  e_.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_ID_FW06, FW3E_DITTA_CG18, FW3E_CODDEP_ORI, "
      "FW3E_CODDEP_DES, FW3E_FLGABILITATO) VALUES (4, 1, 'PF', 'CL', 0)");
  e_.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG) VALUES (4, 30, 'INV', 1)");
  auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&e_.db().driver());
  ASSERT_NE(driver, nullptr);
  ASSERT_EQ(sqlite3_exec(driver->handle(),
                         "CREATE TRIGGER refuse_group4 BEFORE INSERT ON FW3E_RVKDEPCOLL WHEN "
                         "NEW.FW3E_ID_FW06 = 4 BEGIN SELECT RAISE(ABORT, 'refused'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  const std::string transfers =
      "SELECT FW3E_CODDEP_ORI, FW3E_CODDEP_DES FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 4";
  const std::vector<std::string> old_rows = e_.host().Sql(transfers);
  ASSERT_EQ(old_rows.size(), 2u);
  // User 5 has two transfers (refused) and no blocking parameter (copied:
  // group 4's goes).
  Open(PrincipalNode::kGroup, DemoInstallation::kGroupAcquisti, PrincipalNode::kUser,
       DemoInstallation::kUserEsposito);
  e_.host().Tick("CHK_TRANS", true);
  e_.host().Tick("CHK_BLOC", true);
  e_.ClearOutput();
  e_.Yes();
  e_.Answer(host::kVbIgnore);  // to the error: go on with the next family
  e_.host().Button("CMD_OK");
  EXPECT_EQ(e_.LoggedRoutines(), std::vector<std::string>{"DuplicaRevoke"});
  EXPECT_EQ(e_.host().Sql(transfers), old_rows);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 4"), 0);

  // Abort ends the copy: the families after the failure are not touched.
  e_.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG) VALUES (4, 30, 'INV', 1)");
  e_.ClearOutput();
  e_.Yes();
  e_.Answer(host::kVbAbort);
  e_.host().Button("CMD_OK");
  EXPECT_EQ(e_.host().Sql(transfers), old_rows);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 4"), 1);

  // Once the table takes the rows, the same copy completes.
  ASSERT_EQ(sqlite3_exec(driver->handle(), "DROP TRIGGER refuse_group4", nullptr, nullptr, nullptr),
            SQLITE_OK);
  e_.ClearOutput();
  e_.Yes();
  e_.host().Button("CMD_OK");
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 4"), 2);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 4 AND "
                  "FW3E_CODDEP_ORI = 'PF'"),
            0);
}

TEST_F(BulkCopyTest, SelectAllTogglesTheBoxesAndTheCaptionAndResetsOnAnotherFrame) {
  editor::FRMFW_ORVELKA& w = e_.window();
  e_.Section("ITM154");
  EXPECT_TRUE(w.VRX_FRM(4).visible());
  EXPECT_TRUE(TickedBoxes(w).empty());
  EXPECT_EQ(w.control("CMD_SELEZIONA").caption(), "Seleziona tutti");
  e_.host().Button("CMD_SELEZIONA");
  EXPECT_EQ(TickedBoxes(w).size(), kBoxes.size());
  EXPECT_EQ(w.control("CMD_SELEZIONA").caption(), "Deseleziona tutti");
  e_.host().Button("CMD_SELEZIONA");
  EXPECT_TRUE(TickedBoxes(w).empty());
  EXPECT_EQ(w.control("CMD_SELEZIONA").caption(), "Seleziona tutti");
  e_.host().Button("CMD_SELEZIONA");
  e_.host().Tick("CHK_NODI", false);
  e_.Section("ITM50017");
  EXPECT_TRUE(TickedBoxes(w).empty());
  EXPECT_EQ(w.control("CMD_SELEZIONA").caption(), "Seleziona tutti");
  e_.Section("ITM154");
  e_.host().Button("CMD_SELEZIONA");
  EXPECT_EQ(TickedBoxes(w).size(), kBoxes.size());
}

TEST_F(BulkCopyTest, EachSectionsCopyButtonTicksItsOwnBox) {
  struct Case {
    std::string_view key;
    std::string_view button;
    std::string_view box;
  };
  for (const Case& c : std::vector<Case>{{"ITM50017", "VRX_COPIAUTENTE", "CHK_DEP"},
                                         {"ITM50026", "VRX_COPIAUTENTE", "CHK_PROGETTI"},
                                         {"ITM50016", "VRX_COPIAUTENTE", "CHK_CODICISIMUAZIONE"},
                                         {"ITM50010", "VRX_COPIAUTENTE2", "CHK_CLIFOR"},
                                         {"ITM_MODBLOCCO", "VRX_COPIAUTENTE", "CHK_BLOC"},
                                         {"ITM_ARTFAM", "VRX_COPIAUTENTE2", "CHK_FAM"},
                                         {"ITM_TRANSORIDEST", "VRX_COPIADEP", "CHK_TRANS"},
                                         {"ITM_NODI", "VRX_COPIAUTENTE", "CHK_NODI"}}) {
    e_.Section(c.key);
    e_.Group(DemoInstallation::kGroupVendite);
    e_.host().Button(c.button);
    editor::FRMFW_ORVELKA& w = e_.window();
    EXPECT_TRUE(w.VRX_FRM(4).visible()) << c.key;
    EXPECT_EQ(w.frame_index(), 4) << c.key;
    EXPECT_EQ(TickedBoxes(w), std::vector<std::string>{std::string(c.box)}) << c.key;
    EXPECT_EQ(w.control("txtA").caption(), "Gruppo - Ufficio vendite (3)") << c.key;
    EXPECT_EQ(w.control("LblTitle").caption(), "Copia revoche") << c.key;
  }
  // The copy panel itself ticks nothing.
  e_.Section("ITM50017");
  e_.Section("ITM154");
  e_.host().Button("VRX_COPIAUTENTE");
  EXPECT_TRUE(TickedBoxes(e_.window()).empty());
}

TEST_F(BulkCopyTest, CopyTreeIsLoadedAtStartAndItsPickShowsTheSource) {
  const session::MemoryPrincipalTree& tree = *e_.controls().copy_tree;
  EXPECT_TRUE(tree.initialized());
  EXPECT_EQ(tree.load_count(), 1);
  e_.Section("ITM154");
  e_.host().CopyFrom(PrincipalNode::kUser, DemoInstallation::kUserRossi);
  EXPECT_EQ(e_.window().control("txtDa").caption(), "Utente - Mario Rossi (2)");
  e_.host().CopyFrom(PrincipalNode::kGroup, DemoInstallation::kGroupAmmin);
  EXPECT_EQ(e_.window().control("txtDa").caption(), "Gruppo - Amministrazione (2)");
}

}  // namespace
}  // namespace orv::sections
