// The editor's own statements, from the builders the sections use, run on
// the demo installation: the schema must carry every column they name and the
// routines they call, and the rows they give are the ones the editor shows.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "bulk/copy_statements.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "db/sql_literal.h"
#include "db/value.h"
#include "hostdb/temporary_demo_database.h"
#include "hostdb_test_util.h"
#include "sections/clifor/clifor_statements.h"
#include "sections/families/family_statements.h"
#include "sections/nodes/node_statements.h"
#include "sections/parameters/parameter_statements.h"
#include "sections/revoke_all/bulk_statements.h"
#include "sections/transfers/transfer_statements.h"
#include "store/principal.h"

namespace orv::hostdb {
namespace {

using sections::CliForStatements;
using sections::FamilyStatements;
using sections::NodeStatements;
using sections::ParameterStatements;
using sections::TransferStatements;
using store::Principal;
using testing::Columns;
using testing::Exec;
using testing::Query;
using testing::Rows;
using testing::Scalar;
using testing::Sorted;

TEST(ModuleStatementsTest, ParameterCataloguesForAUserAndAGroup) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::vector<std::string> cols = {"CODICE", "DESCRIZIONE", "ABILITATO", "INDTIPO"};
  // User 2 lost 'A' and 'DEP 1'; group 2 (same number) lost '02'.
  EXPECT_EQ(
      Sorted(Query(*cn, ParameterStatements::CatalogueWarehouses(Principal::User(2), 1), cols)),
      (Rows{{"01", "01 - Magazzino centrale", "1", "NULL"},
            {"02", "02 - Deposito Milano Nord", "1", "NULL"},
            {"A", "A - Magazzino accessori", "0", "6"},
            {"CL", "NULL", "1", "NULL"},
            {"DEP 1", "DEP 1 - Deposito esterno n. 1", "0", "6"},
            {"MP", "MP - Materie prime", "1", "NULL"},
            {"PF", "PF - Prodotti finiti", "1", "NULL"}}));
  Rows group = Sorted(Query(*cn, ParameterStatements::CatalogueWarehouses(Principal::Group(2), 1),
                            {"CODICE", "ABILITATO"}));
  EXPECT_EQ(group[1], (testing::Row{"02", "0"}));
  EXPECT_EQ(group[2], (testing::Row{"A", "1"}));
  EXPECT_EQ(Query(*cn, ParameterStatements::CatalogueWarehouses(Principal::Group(2), 1),
                  {"RAGGRUPPAMENTO"})[0][0],
            "1 - Officine Meccaniche Bresciane S.p.A.");

  const std::string projects = ParameterStatements::CatalogueProjects(Principal::Group(3), 1);
  EXPECT_EQ(Sorted(Query(*cn, projects, {"CODICE", "ABILITATO", "DITTARAG"})),
            (Rows{{"24001", "1", "1"},
                  {"24002", "0", "1"},
                  {"24003", "1", "1"},
                  {"COMM-MI-01", "1", "1"},
                  {"R&D-07", "1", "1"}}));
  // The filter bar's condition is appended as it comes.
  EXPECT_EQ(Query(*cn, projects + " AND PD68_STATO_PD1E = 'SOS'", {"CODICE"}), (Rows{{"24003"}}));

  const std::string simulations = ParameterStatements::CatalogueMrpSimulations(Principal::User(4));
  Rows sims = Query(*cn, simulations, {"DITTARAG", "CODICE", "ABILITATO"});
  ASSERT_EQ(sims.size(), 5u);
  for (size_t i = 1; i < sims.size(); ++i) EXPECT_LE(sims[i - 1][0], sims[i][0]);
  // 'BASE' is listed once per company; only company 2's is revoked.
  EXPECT_EQ(Sorted(sims), (Rows{{"1", "BASE", "1"},
                                {"1", "SIM2024A", "1"},
                                {"1", "SIM2024B", "1"},
                                {"2", "BASE", "0"},
                                {"2", "PROVA", "1"}}));

  const std::string blocks = ParameterStatements::CatalogueBlocking(Principal::Group(5), 1);
  EXPECT_EQ(Sorted(Query(*cn, blocks, {"CODICE", "ABILITATO", "MODIFICA", "INDTIPO"})),
            (Rows{{"DANN", "1", "0", "30"},
                  {"INV", "1", "0", "30"},
                  {"QUAL", "0", "0", "30"},
                  {"RESO", "1", "0", "30"}}));
}

TEST(ModuleStatementsTest, ClassificationTreeBatchGivesTenResults) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  // The batch exactly as the editor sends it: ORDER BY MG10_TIPOCF names the
  // output column P.MG10_TIPOCF although FF has a column of that name too.
  auto run = [&](const Principal& principal) {
    std::vector<Rows> results;
    std::shared_ptr<db::Recordset> first = cn->Execute(CliForStatements::TreeBatch(principal, 1));
    results.push_back(testing::ReadAll(first.get()));
    while (auto next = cn->NextRecordset()) results.push_back(testing::ReadAll(next.get()));
    return results;
  };
  // User 2 revoked category IND/MECC; user 5 the site MAG.
  for (const auto& [principal, revoked_result, revoked_code] :
       {std::tuple{Principal::User(2), 4, "MECC"}, std::tuple{Principal::User(5), 9, "MAG"}}) {
    SCOPED_TRACE(principal.Description());
    std::vector<Rows> results = run(principal);
    ASSERT_EQ(results.size(), 10u);
    const std::vector<size_t> sizes = {6, 11, 12, 5, 7, 6, 5, 4, 3, 4};
    for (size_t i = 0; i < results.size(); ++i) {
      EXPECT_EQ(results[i].size(), sizes[i]) << "result " << i + 1;
      for (const auto& row : results[i]) {
        const bool revoked = static_cast<int>(i) == revoked_result &&
                             std::find(row.begin(), row.end(), revoked_code) != row.end();
        EXPECT_EQ(row.back(), revoked ? "0" : "1") << "result " << i + 1 << " " << row[2];
      }
    }
  }
  // Group 3 revoked macro area SUD: only that macro area, not its areas.
  std::vector<Rows> group = run(Principal::Group(3));
  ASSERT_EQ(group.size(), 10u);
  EXPECT_EQ(
      std::count_if(group[0].begin(), group[0].end(), [](const auto& r) { return r[4] == "0"; }),
      1);
  EXPECT_TRUE(
      std::none_of(group[1].begin(), group[1].end(), [](const auto& r) { return r[5] == "0"; }));
}

// With no filter the work table is made with every row included: the rows
// shown, every column of them and their types are those of the table made
// and then marked in full.
TEST(ModuleStatementsTest, NodeWorkTableIncludedAsMadeShowsWhatMarkingAllShows) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::string table = "##tempT0123456789ABCDEF0123456789ABCDEF";
  auto shown = [&](bool all_included) {
    Exec(*cn, NodeStatements::DropWorkTable(table));
    Exec(*cn, NodeStatements::WorkTable(table, db::Value(7), db::Value::Null(), 1, all_included));
    if (!all_included) Exec(*cn, NodeStatements::MarkIncluded(table, ""));
    std::shared_ptr<db::Recordset> rs = cn->Execute(NodeStatements::RowsShown(table));
    Rows out;
    testing::Row header;
    for (int i = 0; i < rs->FieldCount(); ++i) {
      header.push_back(rs->FieldAt(i).name + ":" +
                       std::to_string(static_cast<int>(rs->FieldAt(i).type)));
    }
    out.push_back(header);
    for (const auto& row : testing::ReadAll(rs.get())) out.push_back(row);
    return out;
  };
  const Rows marked = shown(false);
  ASSERT_GT(marked.size(), 10u);
  EXPECT_GT(marked.front().size(), 20u);
  EXPECT_EQ(shown(true), marked);
}

TEST(ModuleStatementsTest, NodeWorkTableAndMerge) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::string table = "##tempT0123456789ABCDEF0123456789ABCDEF";
  // 0 is the absent identifier.
  auto id = [](int v) { return v == 0 ? db::Value::Null() : db::Value(v); };
  // As the section builds it: the old table dropped, the new one made.
  auto build = [&](int user, int group) {
    Exec(*cn, NodeStatements::DropWorkTable(table));
    Exec(*cn, NodeStatements::WorkTable(table, id(user), id(group), 1));
  };
  auto merge = [&](int user, int group) {
    return NodeStatements::Merge(table, id(user), id(group), 1);
  };
  const std::string rows =
      "SELECT FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW07, FW3N_ID_FW06 "
      "FROM FW3N_RVKNODI ORDER BY 1, 2";

  build(0, 6);
  Exec(*cn, NodeStatements::MarkIncluded(table, " AND PD68_STATO_PD1E = 'APE'"));
  Rows shown = Query(*cn, NodeStatements::RowsShown(table),
                     {"PROGETTO", "CODICE", "ABILITATO", "PD0C_STATO_PD1E", "PD68_CLASSEA_PD1F"});
  ASSERT_EQ(shown.size(), 11u);
  EXPECT_EQ(shown[2], (testing::Row{"24001", "030", "0", "APE", "NORD"}));
  // A shown node of another project is revoked; a node the filter hides is
  // left alone even when its work row says otherwise; then the demo's one is
  // given back.
  const auto other = std::find_if(shown.begin(), shown.end(), [](const testing::Row& r) {
    return r[0] != "24001" && r[2] == "1";
  });
  ASSERT_NE(other, shown.end());
  Exec(*cn, "update " + table + " set ABILITATO = 0 where PROGETTO = " + db::SqlQuote((*other)[0]) +
                " and CODICE = " + db::SqlQuote((*other)[1]));
  Exec(*cn, "update " + table + " set ABILITATO = 0 where INCLUSA = 0");
  Exec(*cn, merge(0, 6));
  Rows expected = {{"24001", "030", "NULL", "6"},
                   {"24002", "020", "7", "NULL"},
                   {(*other)[0], (*other)[1], "NULL", "6"}};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Query(*cn, rows), expected);
  Exec(*cn, "update " + table + " set ABILITATO = 1 where PROGETTO = '24001' and CODICE = '030'");
  Exec(*cn, merge(0, 6));
  expected.erase(expected.begin());
  EXPECT_EQ(Query(*cn, rows), expected);
  // The same work for user 7 leaves group 6's row alone.
  build(7, 0);
  Exec(*cn, merge(7, 0));
  EXPECT_EQ(Query(*cn, rows), expected);
}

TEST(ModuleStatementsTest, TransferBulkStatementsAndPrincipalsOfBulkOperations) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::string disable_all =
      TransferStatements::InsertMissingPairs(db::Value(5), db::Value::Null(), 1);
  const std::string count =
      "SELECT COUNT(*), COUNT(DISTINCT FW3E_CODDEP_ORI + '|' + FW3E_CODDEP_DES) FROM "
      "FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 1 AND FW3E_ID_FW07 =5 AND FW3E_ID_FW06 IS NULL";
  Exec(*cn, disable_all);
  EXPECT_EQ(Query(*cn, count), (Rows{{"49", "49"}}));
  Exec(*cn, disable_all);
  EXPECT_EQ(Query(*cn, count), (Rows{{"49", "49"}}));

  // CORVSA, its only-member user 8 and user 9 (no group) are never bulk principals.
  EXPECT_EQ(Sorted(Query(*cn, std::string(TransferStatements::kSelectPrincipals), {"TIPO", "ID"})),
            (Rows{{"0", "1"},
                  {"0", "10"},
                  {"0", "11"},
                  {"0", "2"},
                  {"0", "3"},
                  {"0", "4"},
                  {"0", "5"},
                  {"0", "6"},
                  {"0", "7"},
                  {"1", "2"},
                  {"1", "3"},
                  {"1", "4"},
                  {"1", "5"},
                  {"1", "6"}}));
}

TEST(ModuleStatementsTest, ProfileCopyOfParameterRevocations) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::string kinds = bulk::CopyStatements::ParameterKinds(true, true, true, true);
  Exec(*cn, bulk::CopyStatements::DeleteParameters(Principal::User(9), kinds));
  Exec(*cn, bulk::CopyStatements::InsertParameters(Principal::User(9), Principal::User(2), kinds));
  // The kind-2 row of another module is not copied.
  EXPECT_EQ(Query(*cn,
                  "SELECT FW31_INDTIPO, FW31_CODTIPO FROM FW31_RVKPARAMETRI WHERE "
                  "FW31_ID_FW07 = 9 ORDER BY FW31_CODTIPO"),
            (Rows{{"6", "A"}, {"6", "DEP 1"}}));
}

TEST(ModuleStatementsTest, WarehouseMatrixCellsAndHeaders) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  // The matrix query with one column per warehouse; keys encode blanks as ___.
  Rows matrix = Query(*cn, TransferStatements::Catalogue(1, {"C_A", "C_DEP___1"}),
                      {"CODICE", "DESCRIZIONE", "C_A", "C_DEP___1"});
  ASSERT_EQ(matrix.size(), 7u);
  EXPECT_EQ(matrix[3], (testing::Row{"CL", "CL", "1", "1"}));
  EXPECT_EQ(matrix[4], (testing::Row{"DEP 1", "DEP 1 - Deposito esterno n. 1", "1", "1"}));

  const std::string user5 = " AND FW3E_ID_FW07 =5 AND FW3E_ID_FW06 IS NULL";
  const std::string rows =
      "SELECT FW3E_CODDEP_ORI, FW3E_CODDEP_DES, FW3E_FLGABILITATO FROM FW3E_RVKDEPCOLL WHERE "
      "FW3E_DITTA_CG18 = 1" +
      user5 + " ORDER BY 1, 2";
  // A cell click on 'A ' (decoded one-character code) to 'DEP 1', then back.
  const Principal five = Principal::User(5);
  Exec(*cn, TransferStatements::InsertPair(five, 1, "A ", "DEP 1"));
  EXPECT_EQ(Query(*cn, rows).size(), 3u);
  Exec(*cn, TransferStatements::DeletePair(five, 1, "A ", "DEP 1"));
  EXPECT_EQ(Query(*cn, rows), (Rows{{"01", "A", "0"}, {"01", "DEP 1", "0"}}));
  // Origin toggle: the probe finds the partly revoked origin '01'.
  EXPECT_EQ(Query(*cn, TransferStatements::ProbeOrigin(five, 1, "01")).size(), 1u);
  // Unchecking the header of 'PF' revokes it from every origin.
  Exec(*cn, TransferStatements::InsertDestination(five, 1, "PF"));
  EXPECT_EQ(
      Scalar(*cn, "SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_CODDEP_DES = 'PF'" + user5),
      "7");
}

TEST(ModuleStatementsTest, FamilyListAndSaves) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const Principal two = Principal::User(2);
  const std::string list = FamilyStatements::FamilyList(two, 1);
  const std::vector<std::string> cols = {"MG53_CODFAM", "INSERIMENTO", "MODIFICA", "ELIMINA"};
  Rows families = Query(*cn, list, cols);
  ASSERT_EQ(families.size(), 8u);
  EXPECT_EQ(families[0], (testing::Row{"L'A", "0", "1", "1"}));       // "Articoli per l'arredo"
  EXPECT_EQ(families.back(), (testing::Row{" VI ", "1", "1", "1"}));  // "Viteria e bulloneria"
  // First change of ' VI ': the code is trimmed, the row inserted with every
  // flag 1, then the delete right cleared together with modify.
  const sections::FamilyRow row{"1", "VI", "", "FAM"};
  Exec(*cn, FamilyStatements::InsertRevocation(two, row));
  Exec(*cn,
       FamilyStatements::UpdateRight(two, row, FamilyStatements::FlagColumn("ELIMINAZIONE"), 0));
  EXPECT_EQ(Query(*cn,
                  "SELECT FW3H_FLGABILITATO, FW3H_FLGINSERIMENTO, FW3H_FLGMODIFICA, "
                  "FW3H_FLGELIMINA FROM FW3H_RVKARTICOLI WHERE FW3H_CODMACRO = 'VI'"),
            (Rows{{"1", "1", "0", "0"}}));
  // The stored family keeps its blanks; the list matches it to the trimmed
  // row the save wrote, so the screen shows what was saved.
  EXPECT_EQ(Query(*cn, list, cols).back(), (testing::Row{" VI ", "1", "0", "0"}));
}

}  // namespace
}  // namespace orv::hostdb
