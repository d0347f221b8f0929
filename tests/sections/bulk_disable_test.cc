// "Disabilita tutti": every parameter row shown is revoked for the principal;
// rows that exist are updated, the others inserted.

#include <gtest/gtest.h>

#include "hostdb/demo_installation.h"
#include "sections/bulk_editor.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::BulkEditor;

TEST(BulkDisableTest, EveryRowShownIsRevokedOnceUpdatingRowsThatExist) {
  BulkEditor e;
  const int group = DemoInstallation::kGroupAmmin;  // warehouse '02' of company 1 revoked
  e.Exec("UPDATE FW31_RVKPARAMETRI SET FW31_FLGMODIFICA = 1 WHERE FW31_ID_FW06 = 2");
  e.Section("ITM50017");
  e.Group(group);
  const size_t shown = e.Rows().size();
  ASSERT_EQ(shown, 7u);
  const int64_t others = e.Count(
      "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 IS NULL OR "
      "FW31_ID_FW06 <> 2");

  e.ClearOutput();
  e.No();
  e.host().Button("VRX_DISABILITATUTTI");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{BulkEditor::kRevokeAllQuestion});
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 2"), 1);
  EXPECT_EQ(e.Row("MP").abilitato, "1");

  for (int round = 0; round < 2; ++round) {
    e.ClearOutput();
    e.Yes();
    e.host().Button("VRX_DISABILITATUTTI");
    EXPECT_EQ(e.Messages(), std::vector<std::string>{BulkEditor::kRevokeAllQuestion});
    EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 2 AND "
                      "FW31_ID_FW07 IS NULL AND FW31_INDTIPO = 6 AND FW31_DITTARAGG = 1"),
              static_cast<int64_t>(shown))
        << "round " << round;
    EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 2 AND "
                      "(FW31_FLGABILITATO <> 0 OR FW31_FLGMODIFICA <> 0 OR FW31_FLGELIMINA <> 0 "
                      "OR FW31_FLGINSERISCI <> 0)"),
              0);
    EXPECT_EQ(e.Count("SELECT COUNT(DISTINCT FW31_CODTIPO) FROM FW31_RVKPARAMETRI WHERE "
                      "FW31_ID_FW06 = 2"),
              static_cast<int64_t>(shown));
  }
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 IS NULL OR "
                    "FW31_ID_FW06 <> 2"),
            others);
  for (const testing::WorkRow& row : e.Rows()) {
    EXPECT_EQ(row.abilitato + row.modifica + row.inserimento + row.eliminazione, "0000")
        << row.code;
  }
  // What the grid shows is what the table holds.
  e.Group(group);
  for (const testing::WorkRow& row : e.Rows()) EXPECT_EQ(row.abilitato, "0") << row.code;
}

TEST(BulkDisableTest, WithoutAPrincipalNothingIsAskedOrWritten) {
  BulkEditor e;
  e.Section("ITM_MODBLOCCO");
  e.Group(DemoInstallation::kGroupAcquisti);
  ASSERT_EQ(e.Rows().size(), 4u);
  e.host().SelectNoPrincipal();
  const int64_t before = e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI");
  e.ClearOutput();
  e.Yes();
  e.host().Button("VRX_DISABILITATUTTI");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{"48|Operazione non valida|Selezionare almeno "
                                                   "un gruppo o un utente!"});
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), before);
  for (const testing::WorkRow& row : e.Rows()) EXPECT_EQ(row.abilitato, "1") << row.code;
}

TEST(BulkDisableTest, CodesWithQuotesAndBlanksAreWrittenAsShown) {
  BulkEditor e;
  e.Exec(
      "INSERT INTO MG0F_BLMPARAM (MG0F_DITTA_CG18, MG0F_CODPARAM, MG0F_DESCPARAM) VALUES "
      "(1, 'D''X', 'Quote')");
  e.Section("ITM_MODBLOCCO");
  e.User(DemoInstallation::kUserOspite);
  e.Yes();
  e.host().Button("VRX_DISABILITATUTTI");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 9 AND "
                    "FW31_INDTIPO = 30 AND FW31_CODTIPO = 'D''X' AND FW31_DITTARAGG = 1"),
            1);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 9"), 5);
}

}  // namespace
}  // namespace orv::sections
