// The warehouse-transfer matrix: key encoding, statement texts, the grid
// layout, the build and the fill for users and groups.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostdb/temporary_demo_database.h"
#include "sections/transfer_editor.h"
#include "sections/transfers/transfer_section.h"
#include "sections/transfers/transfer_statements.h"
#include "session/headless_host.h"
#include "store/principal.h"

namespace orv::testing {
namespace {

using sections::TransferSection;
using sections::TransferStatements;
using ::testing::ElementsAre;

TEST(WarehouseKeyTest, EncodesBlanksAndReadsCodesBackAsTheMasterHoldsThem) {
  struct Case {
    std::string code;
    std::string key;
    std::string decoded;
  };
  const std::vector<Case> cases = {
      {"A", "C_A", "A"},                    // one character: no blank appended
      {"A  ", "C_A", "A"},                  // trailing blanks are not part of the key
      {"DEP 1", "C_DEP___1", "DEP 1"},      // inner blank: three underscores
      {"X  Y", "C_X______Y", "X  Y"},       // every blank on its own
      {"01", "C_01", "01"},                 // two characters stay as they are
      {"O'K", "C_O'K", "O'K"},              // quotes pass through the key
      {"A_B", "C_A_5FB", "A_B"},            // an underscore is escaped ...
      {"A___B", "C_A_5F_5F_5FB", "A___B"},  // ... so three never read as a blank
      {"A B", "C_A___B", "A B"},
      {"_5F", "C__5F5F", "_5F"},  // the escape itself round-trips
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TransferSection::CodiceToCampo(c.code), c.key) << c.code;
    EXPECT_EQ(TransferSection::CampoToCodice(c.key.substr(2)), c.decoded) << c.code;
  }
  // Values read from the matrix (fixed-length, padded) decode the same way.
  EXPECT_EQ(TransferSection::CampoToCodice("A                        "), "A");
  EXPECT_EQ(TransferSection::CampoToCodice("DEP 1                    "), "DEP 1");
  EXPECT_EQ(TransferSection::CampoToCodice(""), "");
  // Origins are codes, never keys: underscores stay as they are.
  EXPECT_EQ(TransferSection::MatrixCode("A___B     "), "A___B");
  EXPECT_EQ(TransferSection::MatrixCode("A         "), "A");
}

TEST(TransferStatementsTest, UserAndGroupPiecesAsTheSectionWritesThem) {
  const store::Principal user = store::Principal::User(5);
  const store::Principal group = store::Principal::Group(3);
  EXPECT_EQ(TransferStatements::InsertPair(user, 1, "A ", "DEP 1"),
            "INSERT INTO FW3E_RVKDEPCOLL(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
            "FW3E_ID_FW07, FW3E_ID_FW06) VALUES(1,'A ', 'DEP 1',5,NULL)");
  EXPECT_EQ(TransferStatements::DeletePair(group, 2, "01", "B "),
            "DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 2 AND FW3E_CODDEP_ORI = '01'  "
            "AND FW3E_CODDEP_DES = 'B ' AND FW3E_ID_FW07 IS NULL AND FW3E_ID_FW06 =3");
  EXPECT_EQ(TransferStatements::SelectRevocations(user, 1),
            "SELECT * FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 1 AND FW3E_ID_FW07 =5 AND "
            "FW3E_ID_FW06 IS NULL");
  EXPECT_EQ(TransferStatements::InsertDestination(group, 1, "PF"),
            "INSERT INTO FW3E_RVKDEPCOLL(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
            "FW3E_ID_FW07, FW3E_ID_FW06) SELECT 1,MG58_CODDEP ,'PF' ,NULL,3  FROM MG58_DEPOSITI "
            "WHERE MG58_DITTA_CG18 = 1");
  EXPECT_EQ(TransferStatements::ProbeOrigin(user, 1, "MP"),
            "SELECT TOP 1 1 FROM FW3E_RVKDEPCOLL  WHERE FW3E_ID_FW07 =5 AND FW3E_ID_FW06 IS NULL "
            "AND FW3E_DITTA_CG18 = 1 AND FW3E_CODDEP_ORI = 'MP'");
  EXPECT_EQ(TransferStatements::InsertOrigin(user, 1, "MP"),
            "INSERT INTO FW3E_RVKDEPCOLL(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
            "FW3E_ID_FW07, FW3E_ID_FW06) SELECT 1,'MP', MG58_CODDEP,5,NULL FROM MG58_DEPOSITI "
            "WHERE MG58_DITTA_CG18 = 1");
  EXPECT_EQ(TransferStatements::InsertMissingPairs(db::Value::Null(), db::Value(3), 1),
            "INSERT INTO FW3E_RVKDEPCOLL(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
            "FW3E_ID_FW07, FW3E_ID_FW06)  SELECT ori.MG58_DITTA_CG18, ori.MG58_CODDEP as COD_ORI, "
            "dest.MG58_CODDEP as COD_DES, NULL, 3 FROM MG58_DEPOSITI as ori  JOIN MG58_DEPOSITI "
            "as dest ON ori.MG58_DITTA_CG18 = dest.MG58_DITTA_CG18  LEFT JOIN FW3E_RVKDEPCOLL ON "
            "FW3E_ID_FW07  IS NULL     AND FW3E_ID_FW06  = 3    AND FW3E_DITTA_CG18 = "
            "ori.MG58_DITTA_CG18  AND FW3E_CODDEP_ORI = ori.MG58_CODDEP AND FW3E_CODDEP_DES = "
            "dest.MG58_CODDEP  Where ori.MG58_DITTA_CG18 = 1 And FW3E_CODDEP_ORI Is Null And "
            "FW3E_CODDEP_DES Is Null  ORDER BY COD_ORI, COD_DES ");
  EXPECT_EQ(TransferStatements::Catalogue(1, {"C_A", "C_DEP___1"}),
            "SELECT MG58_CODDEP AS CODICE,  MG58_CODDEP + (CASE WHEN MG58_DESCRDEP IS NULL THEN "
            "'' ELSE ' - ' + MG58_DESCRDEP END) AS DESCRIZIONE,1 AS [C_A],1 AS [C_DEP___1] FROM "
            "MG58_DEPOSITI WHERE MG58_DITTA_CG18 = 1 ORDER BY MG58_CODDEP");
  EXPECT_EQ(TransferStatements::Catalogue(1, {}), "");
  // Quotes are doubled in values and in the matrix filter; a bracket in a
  // column name is doubled inside the brackets.
  EXPECT_EQ(TransferStatements::DeleteOrigin(user, 1, "O'K"),
            "DELETE FROM FW3E_RVKDEPCOLL  WHERE FW3E_ID_FW07 =5 AND FW3E_ID_FW06 IS NULL AND "
            "FW3E_DITTA_CG18 = 1 AND FW3E_CODDEP_ORI = 'O''K'");
  EXPECT_EQ(TransferStatements::OriginFilter("O'K"), "CODICE = 'O''K'");
  EXPECT_NE(TransferStatements::Catalogue(1, {"C_X]Y"}).find("[C_X]]Y]"), std::string::npos);
}

TEST(WarehouseMatrixTest, LayoutHasOneDestinationColumnPerWarehouseInCodeOrder) {
  TransferEditor e;
  e.User(2);
  e.Open();
  session::MemoryMatrixGrid& grid = e.grid();
  ASSERT_TRUE(grid.GetLayout().has_value());
  EXPECT_FALSE(grid.GetLayout()->grouping);
  EXPECT_TRUE(grid.GetLayout()->matrix);
  EXPECT_EQ(grid.GetLayout()->item_key, "ITM_TRANSORIDEST");
  EXPECT_THAT(grid.header_groups(), ElementsAre("Destinazioni", "Origine"));
  std::vector<std::string> columns;
  for (const session::GridColumn& c : grid.columns()) {
    columns.push_back(c.key + "|" + c.caption + "|" + std::to_string(c.width) + "|" + c.group +
                      "|" + (c.check_box ? c.checked_value + "/" + c.unchecked_value : "text"));
  }
  EXPECT_THAT(columns,
              ElementsAre("DESCRIZIONE| |3500|Origine|text", "C_01|01|600|Destinazioni|1/0",
                          "C_02|02|600|Destinazioni|1/0", "C_A|A|600|Destinazioni|1/0",
                          "C_CL|CL|600|Destinazioni|1/0", "C_DEP___1|DEP 1|600|Destinazioni|1/0",
                          "C_MP|MP|600|Destinazioni|1/0", "C_PF|PF|600|Destinazioni|1/0"));
  EXPECT_EQ(grid.apply_count, 1);
  EXPECT_EQ(grid.finish_count, 1);
}

TEST(WarehouseMatrixTest, PrincipalWithoutRowsSeesEveryCellCheckedDiagonalIncluded) {
  TransferEditor e;
  e.User(2);
  e.Open();
  ASSERT_EQ(e.window().work_recordset(), e.Bound());
  EXPECT_THAT(e.Origins(), ElementsAre("01", "02", "A", "CL", "DEP 1", "MP", "PF"));
  EXPECT_TRUE(e.RevokedCells().empty());
  for (const char* code : {"01", "A", "CL", "DEP 1", "PF"}) EXPECT_EQ(e.Cell(code, code), "1");
  // Descriptions: code, " - ", description; the code alone without one.
  std::shared_ptr<db::Recordset> rs = e.Bound()->Clone();
  std::vector<std::string> descriptions;
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
    descriptions.push_back(rs->Field("DESCRIZIONE").ToText());
  }
  EXPECT_EQ(descriptions[0], "01 - Magazzino centrale");
  EXPECT_EQ(descriptions[3], "CL");
  EXPECT_EQ(descriptions[4], "DEP 1 - Deposito esterno n. 1");
  // The section does not set the parameter catalogue's loaded flag.
  EXPECT_FALSE(e.window().loaded_flag());
}

TEST(WarehouseMatrixTest, FillShowsTheSelectedPrincipalsRowsOnly) {
  TransferEditor e;
  e.User(5);
  e.Open();
  EXPECT_THAT(e.RevokedCells(), ElementsAre("01>A", "01>DEP 1"));
  // The group with the same identifier has its own rows.
  e.Group(5);
  EXPECT_THAT(e.RevokedCells(), ElementsAre("MP>PF"));
  // Rows of another company and of another principal do not show.
  e.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
      "FW3E_ID_FW07, FW3E_ID_FW06) VALUES (2, '01', '02', NULL, 3), (1, '02', '01', 4, NULL)");
  e.Group(3);
  EXPECT_TRUE(e.RevokedCells().empty());
  e.User(4);
  EXPECT_THAT(e.RevokedCells(), ElementsAre("02>01"));
  // The cell shows the row's flag.
  e.Exec("UPDATE FW3E_RVKDEPCOLL SET FW3E_FLGABILITATO = 0 WHERE FW3E_ID_FW07 = 4");
  e.User(4);
  EXPECT_EQ(e.Cell("02", "01"), "0");
}

TEST(WarehouseMatrixTest, RowsMatchCodesAsTheDatabaseComparesThem) {
  TransferEditor e;
  // A one-character code stored with a trailing blank (as clicks once wrote
  // it) and a code in other case name the same warehouses.
  e.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
      "FW3E_ID_FW07, FW3E_ID_FW06) VALUES (1, 'A ', 'A ', 2, NULL), (1, 'mp', 'a', 2, NULL), "
      "(1, 'dep 1', 'cl ', 2, NULL), (1, 'ZZ', '01', 2, NULL), (1, '01', 'ZZ', 2, NULL)");
  e.User(2);
  e.Open();
  // Rows naming no warehouse of the company are ignored.
  EXPECT_THAT(e.RevokedCells(), ElementsAre("A>A", "DEP 1>CL", "MP>A"));
}

TEST(WarehouseMatrixTest, OtherCompanyHasItsOwnMatrix) {
  hostdb::TemporaryDemoDatabase database;
  session::HeadlessHost host;
  session::HeadlessOptions options;
  options.connection_string = database.connection_string();
  options.company = 2;
  host.Open(options);
  host.SelectPrincipal(store::PrincipalNode::kGroup, 3);
  host.ChooseSection("ITM_TRANSORIDEST");
  const std::vector<std::string> lines = host.ShowGrid("GRID_DEPOSITO");
  EXPECT_THAT(
      lines,
      ElementsAre("CODICE\tDESCRIZIONE\tC_01\tC_02\tC_B", "01\t01 - Magazzino filati\t1\t1\t1",
                  "02\t02 - Magazzino tessuti\t1\t1\t1", "B\tB - Deposito campionario\t1\t1\t1"));
}

TEST(WarehouseMatrixTest, CompanyWithoutWarehousesShowsAnEmptyMatrix) {
  TransferEditor e;
  e.Exec("DELETE FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = 1");
  e.User(5);
  e.Open();
  ASSERT_TRUE(e.Bound());
  EXPECT_EQ(e.Bound()->RecordCount(), 0);
  EXPECT_EQ(e.grid().columns().size(), 1u);
  EXPECT_TRUE(e.Messages().empty());
}

TEST(WarehouseMatrixTest, ChoosingAnotherSectionLeavesTheMatrixAlone) {
  TransferEditor e;
  e.User(5);
  e.Open();
  std::shared_ptr<db::Recordset> matrix = e.Bound();
  e.Section("ITM50017");
  EXPECT_FALSE(e.Bound());
  // A fill asked for by someone else now does nothing.
  e.window().LoadRevokeDepositi();
  EXPECT_FALSE(e.Bound());
  EXPECT_NE(e.window().work_recordset(), matrix);
  EXPECT_TRUE(e.Messages().empty());
}

TEST(WarehouseMatrixTest, FailedBuildEndsSilentlyAndLeavesNothingToClick) {
  TransferEditor e;
  e.User(5);
  e.Exec("DROP TABLE MG58_DEPOSITI");
  e.Open();
  EXPECT_FALSE(e.Bound());
  EXPECT_FALSE(e.window().work_recordset());
  EXPECT_TRUE(e.Messages().empty());
  // The origin toggle has no row to work on and says so under its name.
  e.Button("VRX_ABIDISDEPORI");
  ASSERT_EQ(e.Messages().size(), 1u);
  EXPECT_NE(e.Messages()[0].find(" in VRX_ABIDISDEPORI_ButtonClickErr"), std::string::npos);
  EXPECT_EQ(e.UserRows(5), 2);
}

TEST(WarehouseMatrixTest, FailedFillReportsAndShowsNoStaleCells) {
  TransferEditor e;
  e.User(5);
  e.Open();
  e.Exec("DROP TABLE FW3E_RVKDEPCOLL");
  e.User(2);
  EXPECT_FALSE(e.Bound());
  ASSERT_EQ(e.Messages().size(), 1u);
  EXPECT_NE(e.Messages()[0].find(" in LoadRevokeDepositi"), std::string::npos) << e.Messages()[0];
}

}  // namespace
}  // namespace orv::testing
