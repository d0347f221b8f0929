// "Abilita tutti": the principal's revocations of the section on screen go,
// in every company for parameters and customers/suppliers, in the current
// company for warehouse transfers; article families keep their rows with the
// three rights given back.

#include <gtest/gtest.h>

#include "hostdb/demo_installation.h"
#include "sections/bulk_editor.h"
#include "sections/transfer_editor.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::BulkEditor;

TEST(BulkEnableTest, WithoutRevocationsSaysSoWithTheQuotedNameAndChangesNothing) {
  BulkEditor e;
  // Warehouses for a group without any; customers/suppliers for a user
  // without any.
  e.Section("ITM50017");
  e.Group(DemoInstallation::kGroupProduzione);
  const std::vector<std::string> before = e.Snapshot();
  e.ClearOutput();
  e.host().Button("VRX_ABILITATUTTI");
  EXPECT_EQ(e.Messages(),
            std::vector<std::string>{
                "0||Non ci sono revoke assegnate per l'utente/gruppo \"Produzione\""});

  e.Section("ITM50010");
  e.User(DemoInstallation::kUserOspite);
  e.ClearOutput();
  e.host().Button("VRX_ABILITATUTTI2");
  EXPECT_EQ(e.Messages(),
            std::vector<std::string>{
                "0||Non ci sono revoke assegnate per l'utente/gruppo \"Utente ospite\""});
  EXPECT_EQ(e.Snapshot(), before);
}

TEST(BulkEnableTest, ParameterSectionDeletesThatKindInEveryCompany) {
  BulkEditor e;
  const int user = DemoInstallation::kUserBianchi;  // warehouse '01' of company 2
  e.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG) VALUES (3, 6, 'MP', 1)");
  e.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG) VALUES (3, 15, 'BASE', 1)");
  e.Section("ITM50017");
  e.User(user);
  EXPECT_EQ(e.Row("MP").abilitato, "0");
  const int64_t others = e.Count(
      "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 IS NULL OR "
      "FW31_ID_FW07 <> 3");

  // No keeps everything.
  e.ClearOutput();
  e.No();
  e.host().Button("VRX_ABILITATUTTI");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{BulkEditor::kRemoveAllQuestion});
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 3"), 3);

  e.ClearOutput();
  e.Yes();
  e.host().Button("VRX_ABILITATUTTI");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{BulkEditor::kRemoveAllQuestion});
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 3 AND "
                    "FW31_INDTIPO = 6"),
            0);
  // Another kind of the same user and every other principal's rows stay.
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 3 AND "
                    "FW31_INDTIPO = 15"),
            1);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 IS NULL OR "
                    "FW31_ID_FW07 <> 3"),
            others);
  // The section was loaded again.
  EXPECT_EQ(e.Row("MP").abilitato, "1");
}

TEST(BulkEnableTest, GroupAndUserWithTheSameNumberAreKeptApart) {
  BulkEditor e;
  // Group 2 has warehouse '02'; user 2 has 'A' and 'DEP 1'.
  e.Section("ITM50017");
  e.Group(DemoInstallation::kGroupAmmin);
  e.Yes();
  e.host().Button("VRX_ABILITATUTTI");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 2"), 0);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 2 AND "
                    "FW31_INDTIPO = 6"),
            2);
}

TEST(BulkEnableTest, WarehouseTransfersOnlyInTheCurrentCompanyWithoutQuestion) {
  testing::TransferEditor w;
  const int user = DemoInstallation::kUserEsposito;  // '01'->'A', '01'->'DEP 1' in company 1
  w.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_ID_FW07, FW3E_DITTA_CG18, FW3E_CODDEP_ORI, "
      "FW3E_CODDEP_DES, FW3E_FLGABILITATO) VALUES (5, 2, '01', 'B', 0)");
  w.Open();
  w.User(user);
  ASSERT_EQ(w.RevokedCells(), (std::vector<std::string>{"01>A", "01>DEP 1"}));
  w.ClearOutput();
  w.Button("VRX_ABILITATUTTI");
  EXPECT_TRUE(w.Messages().empty());
  EXPECT_EQ(w.UserRows(user, 1), 0);
  EXPECT_EQ(w.UserRows(user, 2), 1);
  // The group's row of company 1 stays.
  EXPECT_EQ(w.GroupRows(DemoInstallation::kGroupMagazzino, 1), 1);
  // The matrix shows it.
  EXPECT_TRUE(w.RevokedCells().empty());
}

TEST(BulkEnableTest, TransferButtonAsksFirst) {
  BulkEditor e;
  e.Section("ITM_TRANSORIDEST");
  e.Group(DemoInstallation::kGroupMagazzino);  // 'MP'->'PF'
  e.ClearOutput();
  e.No();
  e.host().Button("BTN_ABILITATUTTIDEP");
  const std::string question = "4||Confermi l' abilitazione dell' utente/gruppo selezionato?";
  EXPECT_EQ(e.Messages(), std::vector<std::string>{question});
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 5"), 1);
  e.ClearOutput();
  e.Yes();
  e.host().Button("BTN_ABILITATUTTIDEP");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{question});
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 5"), 0);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW07 = 5"), 2);
}

TEST(BulkEnableTest, FamiliesKeepTheirRowsWithTheThreeRightsGivenBack) {
  BulkEditor e;
  const int group = DemoInstallation::kGroupProduzione;  // 'VERN' modify and delete revoked
  e.Exec(
      "INSERT INTO FW3H_RVKARTICOLI (FW3H_ID_FW06, FW3H_DITTA, FW3H_CODMACRO, "
      "FW3H_CODMIDDLE, FW3H_CODRAGG, FW3H_TIPORAGG, FW3H_FLGABILITATO, FW3H_FLGMODIFICA, "
      "FW3H_FLGINSERIMENTO, FW3H_FLGELIMINA) VALUES (6, 1, 'UTEN', '', '', 'FAM', 0, 1, 0, 1)");
  e.Exec(
      "INSERT INTO FW3H_RVKARTICOLI (FW3H_ID_FW06, FW3H_DITTA, FW3H_CODMACRO, "
      "FW3H_CODMIDDLE, FW3H_CODRAGG, FW3H_TIPORAGG, FW3H_FLGABILITATO, FW3H_FLGMODIFICA, "
      "FW3H_FLGINSERIMENTO, FW3H_FLGELIMINA) VALUES (6, 2, 'FILA', '', '', 'FAM', 1, 0, 0, 0)");
  e.Section("ITM_ARTFAM");
  e.Group(group);
  e.ClearOutput();
  e.Yes();
  e.host().Button("VRX_ABILITATUTTI2");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{BulkEditor::kRemoveAllQuestion});
  EXPECT_EQ(e.host().Sql("SELECT FW3H_DITTA, FW3H_CODMACRO, FW3H_FLGABILITATO, "
                         "FW3H_FLGINSERIMENTO, FW3H_FLGMODIFICA, FW3H_FLGELIMINA FROM "
                         "FW3H_RVKARTICOLI WHERE FW3H_ID_FW06 = 6 ORDER BY FW3H_DITTA, "
                         "FW3H_CODMACRO"),
            (std::vector<std::string>{
                "FW3H_DITTA\tFW3H_CODMACRO\tFW3H_FLGABILITATO\tFW3H_FLGINSERIMENTO\t"
                "FW3H_FLGMODIFICA\tFW3H_FLGELIMINA",
                "1\tUTEN\t0\t1\t1\t1", "1\tVERN\t1\t1\t1\t1",
                // Another company's row is not the current company's list.
                "2\tFILA\t1\t0\t0\t0"}));
  // Another principal's row stays revoked.
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3H_RVKARTICOLI WHERE FW3H_ID_FW07 = 2 AND "
                    "FW3H_FLGINSERIMENTO = 0"),
            1);
}

TEST(BulkEnableTest, CustomersAndSuppliersGoInEveryCompanyAndTheRevokedListFollows) {
  BulkEditor e;
  const int user = DemoInstallation::kUserRossi;
  e.Exec(
      "INSERT INTO FW32_RVKCLIFOR (FW32_ID_FW07, FW32_DITTA, FW32_TIPOCF, FW32_CODMACRO, "
      "FW32_CODMIDDLE, FW32_CODRAGG, FW32_TIPORAGG, FW32_FLGABILITATO, FW32_FLGMODIFICA) "
      "VALUES (2, 2, 0, 'X', '', '', 'AREA', 0, 0)");
  ASSERT_GT(e.Count("SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW07 = 2"), 0);
  const int64_t others = e.Count(
      "SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 IS NULL OR "
      "FW32_ID_FW07 <> 2");
  e.Section("ITM50010");
  e.User(user);
  e.Yes();
  e.host().Button("VRX_ABILITATUTTI2");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 = 2"), 0);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 IS NULL OR "
                    "FW32_ID_FW07 <> 2"),
            others);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW07 = 2"), 0);
}

}  // namespace
}  // namespace orv::sections
