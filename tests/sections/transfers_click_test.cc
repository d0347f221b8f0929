// Gestures on the warehouse-transfer matrix: cell clicks, destination
// headers and the origin toggle, with what they write and what the grid
// shows afterwards, including failures.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sections/transfer_editor.h"

namespace orv::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(WarehouseCellClickTest, ClickInsertsExactlyOneRowAndTheSecondDeletesExactlyIt) {
  TransferEditor e;
  e.User(2);
  e.Open();
  const int64_t before = e.Rows();
  e.Click("02", "MP");
  EXPECT_EQ(e.Rows(), before + 1);
  EXPECT_EQ(e.UserPair(2, "02", "MP"), 1);
  // Written for the user, NULL for the group, with the default flag 0.
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 2 AND FW3E_ID_FW06 IS NULL AND FW3E_FLGABILITATO = 0 AND "
                   "FW3E_DITTA_CG18 = 1"),
            1);
  EXPECT_EQ(e.Cell("02", "MP"), "0");
  EXPECT_THAT(e.RevokedCells(), ElementsAre("02>MP"));

  // The same pair for the group with the same identifier and for another
  // company must survive the delete.
  e.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
      "FW3E_ID_FW07, FW3E_ID_FW06) VALUES (1, '02', 'MP', NULL, 2), (2, '02', 'MP', 2, NULL)");
  e.Click("02", "MP");
  EXPECT_EQ(e.UserPair(2, "02", "MP"), 0);
  EXPECT_EQ(e.Rows(), before + 2);
  EXPECT_EQ(e.Cell("02", "MP"), "1");
  EXPECT_TRUE(e.Messages().empty());
}

TEST(WarehouseCellClickTest, GroupClickWritesTheGroupAndNullUser) {
  TransferEditor e;
  e.Group(5);
  e.Open();
  e.Click("PF", "MP");
  EXPECT_EQ(e.Rows("FW3E_ID_FW06 = 5 AND FW3E_ID_FW07 IS NULL AND FW3E_CODDEP_ORI = 'PF' AND "
                   "FW3E_CODDEP_DES = 'MP'"),
            1);
  // Giving back the demo's MP->PF removes that row only.
  e.Click("MP", "PF");
  EXPECT_EQ(e.GroupRows(5), 1);
  e.Group(5);  // a refill from the database shows the same
  EXPECT_THAT(e.RevokedCells(), ElementsAre("PF>MP"));
}

TEST(WarehouseCellClickTest, OneCharacterCodesAndInnerBlanksRoundTrip) {
  TransferEditor e;
  e.User(3);
  e.Open();
  e.Click("A", "DEP 1");
  e.Click("DEP 1", "A");
  // The codes are written as the warehouse master holds them: no blank after
  // a one-character code (the row and column gestures write the same), the
  // inner blank kept. Read back as text, since equality ignores trailing
  // blanks.
  EXPECT_THAT(e.Query("SELECT '[' + FW3E_CODDEP_ORI + ']' + '[' + FW3E_CODDEP_DES + ']' FROM "
                      "FW3E_RVKDEPCOLL WHERE FW3E_ID_FW07 = 3 ORDER BY FW3E_CODDEP_ORI"),
              ElementsAre("[A][DEP 1]", "[DEP 1][A]"));
  // A refill reads them back into the same cells.
  e.User(2);
  e.User(3);
  EXPECT_THAT(e.RevokedCells(), ElementsAre("A>DEP 1", "DEP 1>A"));
  e.Click("DEP 1", "A");
  e.Click("A", "DEP 1");
  EXPECT_EQ(e.UserRows(3), 0);
}

TEST(WarehouseCellClickTest, CodesWithUnderscoresAndBlanksAreEachTheirOwnWarehouse) {
  TransferEditor e;
  e.Exec(
      "INSERT INTO MG58_DEPOSITI (MG58_DITTA_CG18, MG58_CODDEP, MG58_DESCRDEP) "
      "VALUES (1, 'A___B', NULL), (1, 'A B', NULL), (1, 'A_5FB', NULL)");
  e.User(3);
  e.Open();
  e.Click("A___B", "A B");
  e.Click("A B", "A___B");
  e.Click("A_5FB", "A___B");
  EXPECT_EQ(e.UserPair(3, "A___B", "A B"), 1);
  EXPECT_EQ(e.UserPair(3, "A B", "A___B"), 1);
  EXPECT_EQ(e.UserPair(3, "A_5FB", "A___B"), 1);
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 3 AND FW3E_CODDEP_DES = 'A B' AND FW3E_CODDEP_ORI <> 'A___B'"),
            0);
  e.User(2);
  e.User(3);
  EXPECT_THAT(e.RevokedCells(), ElementsAre("A B>A___B", "A_5FB>A___B", "A___B>A B"));
}

TEST(WarehouseCellClickTest, QuotesInCodesAreWrittenAndFoundAgain) {
  TransferEditor e;
  e.Exec(
      "INSERT INTO MG58_DEPOSITI (MG58_DITTA_CG18, MG58_CODDEP, MG58_DESCRDEP) "
      "VALUES (1, 'O''K', 'Deposito d''angolo'), (1, 'Q', NULL)");
  e.User(3);
  e.Open();
  EXPECT_EQ(e.Cell("O'K", "O'K"), "1");
  e.Click("O'K", "Q");
  e.Click("Q", "O'K");
  EXPECT_EQ(e.UserPair(3, "O'K", "Q"), 1);
  EXPECT_EQ(e.UserPair(3, "Q", "O'K"), 1);
  e.User(2);
  e.User(3);
  EXPECT_THAT(e.RevokedCells(), ElementsAre("O'K>Q", "Q>O'K"));
  e.Header("O'K", false);
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 3 AND FW3E_CODDEP_DES = 'O''K'"), 9);
  e.SelectOrigin("O'K");
  e.Button("VRX_ABIDISDEPORI");
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 3 AND FW3E_CODDEP_ORI = 'O''K'"), 0);
  EXPECT_EQ(e.Cell("O'K", "Q"), "1");
  e.Click("O'K", "Q");
  EXPECT_EQ(e.UserPair(3, "O'K", "Q"), 1);
  EXPECT_TRUE(e.Messages().empty()) << e.Messages()[0];
}

TEST(WarehouseCellClickTest, FailedClickIsReportedAndTheCellKeepsTheDatabaseState) {
  TransferEditor e;
  e.User(5);
  e.Open();
  e.Exec("DROP TABLE FW3E_RVKDEPCOLL");
  e.Click("02", "PF");
  EXPECT_EQ(e.Cell("02", "PF"), "1");
  e.Click("01", "A");
  EXPECT_EQ(e.Cell("01", "A"), "0");
  const std::vector<std::string> messages = e.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_THAT(messages[0], HasSubstr("Errore N° :"));
  EXPECT_THAT(messages[0], HasSubstr(" in GRID_DEPOSITO_SelectionBoxClick"));
}

TEST(WarehouseCellClickTest, WithoutPrincipalNothingIsWritten) {
  TransferEditor e;
  e.User(2);
  e.Open();
  e.host().SelectNoPrincipal();
  const int64_t before = e.Rows();
  e.Click("02", "MP");
  e.Header("MP", false);
  e.SelectOrigin("02");
  e.Button("VRX_ABIDISDEPORI");
  e.Button("VRX_DISABILITATUTTIDEP", {6});
  EXPECT_EQ(e.Rows(), before);
  EXPECT_EQ(e.Cell("02", "MP"), "1");
  ASSERT_EQ(e.Messages().size(), 4u);
  for (const std::string& m : e.Messages()) {
    EXPECT_EQ(m, "48|Operazione non valida|Selezionare almeno un gruppo o un utente!");
  }
}

TEST(WarehouseHeaderClickTest, UncheckRevokesFromEveryOriginAndCheckGivesItBack) {
  TransferEditor e;
  e.User(5);
  e.Open();
  e.Header("A", false);
  // One row per origin, the existing 01->A not doubled.
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 5 AND FW3E_CODDEP_DES = 'A'"),
            TransferEditor::kCompany1Warehouses);
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 5 AND FW3E_CODDEP_DES = 'A' AND FW3E_CODDEP_ORI = '01'"), 1);
  for (const char* origin : {"01", "02", "A", "CL", "DEP 1", "MP", "PF"}) {
    EXPECT_EQ(e.Cell(origin, "A"), "0") << origin;
  }
  EXPECT_EQ(e.Cell("01", "DEP 1"), "0");
  EXPECT_EQ(e.Cell("02", "DEP 1"), "1");

  e.Header("A", true);
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 5 AND FW3E_CODDEP_DES = 'A'"), 0);
  EXPECT_THAT(e.RevokedCells(), ElementsAre("01>DEP 1"));
  // The group 5 and company 2 keep theirs.
  EXPECT_EQ(e.GroupRows(5), 1);
  EXPECT_TRUE(e.Messages().empty());
}

TEST(WarehouseHeaderClickTest, AFailingInsertLeavesTheDestinationAsItWas) {
  TransferEditor e;
  // One row per pair across principals: the insert for group 5 then fails
  // on user 5's 01->A after the delete has run.
  e.Exec(
      "CREATE UNIQUE INDEX IX_TEST_PAIR ON FW3E_RVKDEPCOLL "
      "(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES)");
  e.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
      "FW3E_ID_FW07, FW3E_ID_FW06) VALUES (1, '02', 'A', NULL, 5)");
  e.Group(5);
  e.Open();
  e.Header("A", false);
  EXPECT_EQ(e.Rows("FW3E_ID_FW06 = 5 AND FW3E_CODDEP_DES = 'A' AND FW3E_CODDEP_ORI = '02'"), 1);
  EXPECT_EQ(e.GroupRows(5), 2);
  EXPECT_THAT(e.RevokedCells(), ElementsAre("02>A", "MP>PF"));
  ASSERT_EQ(e.Messages().size(), 1u);
  EXPECT_THAT(e.Messages()[0], HasSubstr(" in GRID_DEPOSITO_HeaderCheckBoxClick"));
  // The connection is usable afterwards (no transaction left open).
  e.Click("02", "A");
  EXPECT_EQ(e.GroupRows(5), 1);
}

TEST(WarehouseOriginToggleTest, PartlyRevokedBecomesAllowedAndAllowedBecomesFullyRevoked) {
  TransferEditor e;
  e.User(5);
  e.Open();
  // 01 has two revoked destinations: the toggle deletes them, inserts nothing.
  e.SelectOrigin("01");
  e.Button("VRX_ABIDISDEPORI");
  EXPECT_EQ(e.UserRows(5), 0);
  EXPECT_TRUE(e.RevokedCells().empty());
  // The row stays current after the refill.
  EXPECT_EQ(db::Trim(e.Bound()->Field("CODICE").ToText()), "01");

  // A fully allowed origin: one row per warehouse, itself included.
  e.SelectOrigin("DEP 1");
  e.Button("VRX_ABIDISDEPORI");
  EXPECT_EQ(e.UserRows(5), TransferEditor::kCompany1Warehouses);
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 5 AND FW3E_CODDEP_ORI = 'DEP 1'"),
            TransferEditor::kCompany1Warehouses);
  EXPECT_EQ(e.UserPair(5, "DEP 1", "DEP 1"), 1);
  for (const char* destination : {"01", "02", "A", "CL", "DEP 1", "MP", "PF"}) {
    EXPECT_EQ(e.Cell("DEP 1", destination), "0") << destination;
  }
  EXPECT_EQ(db::Trim(e.Bound()->Field("CODICE").ToText()), "DEP 1");
  EXPECT_EQ(e.GroupRows(5), 1);  // the group's row is not the user's

  // A one-character origin is written as the master holds it.
  e.SelectOrigin("A");
  e.Button("VRX_ABIDISDEPORI");
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 5 AND FW3E_CODDEP_ORI = 'A'"),
            TransferEditor::kCompany1Warehouses);
  EXPECT_EQ(e.Query("SELECT DISTINCT '[' + FW3E_CODDEP_ORI + ']' FROM FW3E_RVKDEPCOLL WHERE "
                    "FW3E_ID_FW07 = 5 AND FW3E_CODDEP_ORI = 'A'"),
            std::vector<std::string>{"[A]"});
  EXPECT_EQ(e.Cell("A", "PF"), "0");
  EXPECT_TRUE(e.Messages().empty());
}

TEST(WarehouseOriginToggleTest, FailureIsReportedUnderItsNameAndChangesNothing) {
  TransferEditor e;
  e.User(5);
  e.Open();
  e.Exec(
      "CREATE UNIQUE INDEX IX_TEST_PAIR ON FW3E_RVKDEPCOLL "
      "(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES)");
  e.Group(5);
  // 01 is fully allowed for group 5; its insert collides with user 5's rows.
  e.SelectOrigin("01");
  e.Button("VRX_ABIDISDEPORI");
  EXPECT_EQ(e.GroupRows(5), 1);
  ASSERT_EQ(e.Messages().size(), 1u);
  EXPECT_THAT(e.Messages()[0], HasSubstr(" in VRX_ABIDISDEPORI_ButtonClickErr"));
  EXPECT_THAT(e.RevokedCells(), ElementsAre("MP>PF"));
}

}  // namespace
}  // namespace orv::testing
