// The editor's own statements, built piece by piece as it builds them, run on
// the demo installation: the schema must carry every column they name and the
// routines they call.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "db/db_error.h"
#include "hostdb/temporary_demo_database.h"
#include "hostdb_test_util.h"

namespace orv::hostdb {
namespace {

using testing::Columns;
using testing::Exec;
using testing::Query;
using testing::Rows;
using testing::Scalar;
using testing::Sorted;

// " IS NULL" or equality text + identifier, as the catalogue queries write it.
std::string Principal(int id, const std::string& equality) {
  return id == 0 ? " IS NULL" : equality + std::to_string(id);
}

std::string WarehouseCatalogue(int user, int group, int company) {
  return " SELECT CG18_DITTA,MG58_DITTA_CG18, MG58_CODDEP AS CODICE, MG58_CODDEP + ' - ' + "
         "MG58_DESCRDEP AS DESCRIZIONE,CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG "
         "AS RAGGRUPPAMENTO,"
         " CASE WHEN FW31_FLGABILITATO IS NULL THEN 1 ELSE 0 END AS ABILITATO, "
         " ISNULL(FW31_FLGMODIFICA,1) AS MODIFICA,ISNULL(FW31_FLGELIMINA,1) AS "
         "ELIMINA,ISNULL(FW31_FLGINSERISCI,1) AS INSERIMENTO ,ISNULL(MG58_DITTA_CG18,0) AS "
         "DITTARAG ,FW31_INDTIPO AS INDTIPO FROM MG58_DEPOSITI "
         " LEFT OUTER JOIN FW31_RVKPARAMETRI ON MG58_CODDEP = FW31_CODTIPO   "
         " AND FW31_ID_FW07 " +
         Principal(user, "= ") + " AND FW31_ID_FW06 " + Principal(group, "= ") +
         " AND FW31_INDTIPO = 6"
         " AND FW31_DITTARAGG = MG58_DITTA_CG18"
         " INNER JOIN CG18_ANADITTABASE ON MG58_DITTA_CG18 = CG18_DITTA "
         " INNER JOIN CG16_ANAGGEN ON CG18_CODICE_CG16 = CG16_CODICE "
         " WHERE CG18_DITTA = " +
         std::to_string(company);
}

TEST(ModuleStatementsTest, ParameterCataloguesForAUserAndAGroup) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::vector<std::string> cols = {"CODICE", "DESCRIZIONE", "ABILITATO", "INDTIPO"};
  // User 2 lost 'A' and 'DEP 1'; group 2 (same number) lost '02'.
  EXPECT_EQ(Sorted(Query(*cn, WarehouseCatalogue(2, 0, 1), cols)),
            (Rows{{"01", "01 - Magazzino centrale", "1", "NULL"},
                  {"02", "02 - Deposito Milano Nord", "1", "NULL"},
                  {"A", "A - Magazzino accessori", "0", "6"},
                  {"CL", "NULL", "1", "NULL"},
                  {"DEP 1", "DEP 1 - Deposito esterno n. 1", "0", "6"},
                  {"MP", "MP - Materie prime", "1", "NULL"},
                  {"PF", "PF - Prodotti finiti", "1", "NULL"}}));
  Rows group = Sorted(Query(*cn, WarehouseCatalogue(0, 2, 1), {"CODICE", "ABILITATO"}));
  EXPECT_EQ(group[1], (testing::Row{"02", "0"}));
  EXPECT_EQ(group[2], (testing::Row{"A", "1"}));
  EXPECT_EQ(Query(*cn, WarehouseCatalogue(0, 2, 1), {"RAGGRUPPAMENTO"})[0][0],
            "1 - Officine Meccaniche Bresciane S.p.A.");

  const std::string projects =
      "SELECT PD68_CODPROG AS CODICE, PD68_DESCRPROG AS DESCRIZIONE,0 AS INDTIPO,"
      " CASE WHEN FW31_FLGABILITATO IS NULL THEN 1 ELSE 0 END AS ABILITATO, "
      " ISNULL(FW31_FLGMODIFICA,1) AS MODIFICA, "
      " ISNULL(FW31_FLGELIMINA,1) AS ELIMINA, "
      " ISNULL(FW31_FLGINSERISCI,1) AS INSERIMENTO, "
      " PD68_DITTA_CG18 As DITTARAG, CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG AS "
      "RAGGRUPPAMENTO "
      " FROM PD68_PROGETTI "
      " LEFT OUTER JOIN FW31_RVKPARAMETRI ON convert(varchar(25),PD68_CODPROG) = FW31_CODTIPO "
      " AND FW31_ID_FW07  IS NULL AND FW31_ID_FW06  =3"
      " AND FW31_DITTARAGG  = PD68_DITTA_CG18 AND FW31_INDTIPO = 8 "
      " INNER JOIN CG18_ANADITTABASE ON PD68_DITTA_CG18 = CG18_DITTA "
      " INNER JOIN CG16_ANAGGEN ON CG18_CODICE_CG16 = CG16_CODICE "
      " WHERE PD68_DITTA_CG18 = 1";
  EXPECT_EQ(Sorted(Query(*cn, projects, {"CODICE", "ABILITATO", "DITTARAG"})),
            (Rows{{"24001", "1", "1"},
                  {"24002", "0", "1"},
                  {"24003", "1", "1"},
                  {"COMM-MI-01", "1", "1"},
                  {"R&D-07", "1", "1"}}));
  // The filter bar's condition is appended as it comes.
  EXPECT_EQ(Query(*cn, projects + " AND PD68_STATO_PD1E = 'SOS'", {"CODICE"}), (Rows{{"24003"}}));

  const std::string simulations =
      " SELECT DISTINCT PD90_SIMULAZIONE AS CODICE,CG18_DITTA,CONVERT(VARCHAR(10),CG18_DITTA) + "
      "' - ' + CG16_RAGSOANAG AS RAGGRUPPAMENTO,'' AS DESCRIZIONE,  "
      " CASE WHEN FW31_FLGABILITATO IS NULL THEN 1 ELSE 0 END AS "
      "ABILITATO,ISNULL(FW31_FLGMODIFICA,1) AS MODIFICA,ISNULL(FW31_FLGELIMINA,1) AS "
      "ELIMINA,ISNULL(FW31_FLGINSERISCI,1) AS INSERIMENTO ,ISNULL(CG18_DITTA,0) AS DITTARAG "
      ",FW31_INDTIPO AS INDTIPO FROM PD90_SIMULMRP  "
      " LEFT OUTER JOIN FW31_RVKPARAMETRI ON PD90_SIMULAZIONE = FW31_CODTIPO   "
      " AND FW31_ID_FW07 = 4 AND FW31_ID_FW06  IS NULL"
      " AND FW31_INDTIPO = 15 AND FW31_DITTARAGG = PD90_DITTA_CG18 "
      " INNER JOIN CG18_ANADITTABASE ON PD90_DITTA_CG18 = CG18_DITTA "
      " INNER JOIN CG16_ANAGGEN ON CG18_CODICE_CG16 = CG16_CODICE "
      " ORDER BY CG18_DITTA";
  Rows sims = Query(*cn, simulations, {"DITTARAG", "CODICE", "ABILITATO"});
  ASSERT_EQ(sims.size(), 5u);
  for (size_t i = 1; i < sims.size(); ++i) EXPECT_LE(sims[i - 1][0], sims[i][0]);
  // 'BASE' is listed once per company; only company 2's is revoked.
  EXPECT_EQ(Sorted(sims), (Rows{{"1", "BASE", "1"},
                                {"1", "SIM2024A", "1"},
                                {"1", "SIM2024B", "1"},
                                {"2", "BASE", "0"},
                                {"2", "PROVA", "1"}}));

  const std::string blocks =
      "SELECT MG0F_CODPARAM AS CODICE, MG0F_DESCPARAM AS DESCRIZIONE, 0 AS MODIFICA, 0 AS "
      "ELIMINA, 0 AS INSERIMENTO,"
      " CASE WHEN FW31_FLGABILITATO IS NULL THEN 1 ELSE 0 END AS ABILITATO, MG0F_DITTA_CG18 AS "
      "DITTARAG, 0 AS RAGGRUPPAMENTO, "
      "30"
      " AS INDTIPO "
      " FROM MG0F_BLMPARAM LEFT JOIN FW31_RVKPARAMETRI "
      "   ON FW31_CODTIPO = MG0F_CODPARAM AND FW31_DITTARAGG = MG0F_DITTA_CG18 "
      "       AND FW31_INDTIPO = "
      "30"
      " AND FW31_ID_FW07  IS NULL AND FW31_ID_FW06  =5"
      " WHERE MG0F_DITTA_CG18 = 1";
  EXPECT_EQ(Sorted(Query(*cn, blocks, {"CODICE", "ABILITATO", "MODIFICA", "INDTIPO"})),
            (Rows{{"DANN", "1", "0", "30"},
                  {"INV", "1", "0", "30"},
                  {"QUAL", "0", "0", "30"},
                  {"RESO", "1", "0", "30"}}));
}

std::string TreeBatch(const std::string& principal, int company) {
  const std::string c = std::to_string(company);
  return " SELECT distinct P.MG07_DITTA_CG18, P.MG07_TIPOCF, P.MG07_MACROAREA, "
         "P.MG07_DESCRMACROAR, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
         "        FROM MG07_MACROAREE FF cross apply dbo.FNMG07_MACROAREE(FF.MG07_MACROAREA, "
         "FF.MG07_DITTA_CG18, FF.MG07_TIPOCF) P "
         "        LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG07_TIPOCF AND FW32_DITTA = "
         "P.MG07_DITTA_CG18 "
         "             AND P.MG07_MACROAREA = FW32_CODMACRO AND RTRIM(LTRIM(FW32_CODMIDDLE)) = '' "
         "AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND FW32_TIPORAGG = 'AREA' " +
         principal + "        WHERE P.MG07_DITTA_CG18 = " + c + " ORDER BY P.MG07_TIPOCF " +
         " ; SELECT distinct P.MG08_DITTA_CG18, P.MG08_TIPOCF_MG07, P.MG08_MACROAREA_MG07, "
         "P.MG08_AREA, P.MG08_DESCRAREA, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
         "          FROM MG08_AREE FF cross apply dbo.FNMG08_AREE(FF.MG08_MACROAREA_MG07, "
         "FF.MG08_AREA, FF.MG08_DITTA_CG18, FF.MG08_TIPOCF_MG07) P "
         "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG08_TIPOCF_MG07 AND FW32_DITTA = "
         "P.MG08_DITTA_CG18 AND P.MG08_MACROAREA_MG07 = FW32_CODMACRO "
         "             AND FW32_CODMIDDLE = P.MG08_AREA AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND "
         "FW32_TIPORAGG = 'AREA' " +
         principal + "          WHERE P.MG08_DITTA_CG18 = " + c + " ORDER BY P.MG08_TIPOCF_MG07 " +
         " ; SELECT distinct P.MG09_DITTA_CG18, P.MG09_TIPOCF_MG08, P.MG09_MACROAREA_MG08, "
         "P.MG09_AREA_MG08, P.MG09_ZONA, P.MG09_DESCRZONA, ISNULL(FW32_FLGABILITATO, 1) AS "
         "CHECKED "
         "          FROM MG09_ZONE FF cross apply dbo.FNMG09_ZONE(FF.MG09_MACROAREA_MG08, "
         "FF.MG09_AREA_MG08, FF.MG09_ZONA, FF.MG09_DITTA_CG18, FF.MG09_TIPOCF_MG08) P "
         "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG09_TIPOCF_MG08 AND FW32_DITTA = "
         "P.MG09_DITTA_CG18 AND P.MG09_MACROAREA_MG08 = FW32_CODMACRO "
         "             AND FW32_CODMIDDLE = P.MG09_AREA_MG08 AND P.MG09_ZONA = FW32_CODRAGG AND "
         "FW32_TIPORAGG = 'AREA' " +
         principal + "          WHERE P.MG09_DITTA_CG18 = " + c + " ORDER BY P.MG09_TIPOCF_MG08 " +
         " ; SELECT distinct P.MG10_DITTA_CG18, P.MG10_TIPOCF, P.MG10_MACROCAT, "
         "P.MG10_DESCRMACROCAT, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
         "          FROM MG10_MACROCAT FF cross apply dbo.FNMG10_MACROCAT(FF.MG10_MACROCAT, "
         "FF.MG10_DITTA_CG18, FF.MG10_TIPOCF) P "
         "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG10_TIPOCF AND FW32_DITTA = "
         "P.MG10_DITTA_CG18 AND "
         "                 P.MG10_MACROCAT = FW32_CODMACRO AND RTRIM(LTRIM(FW32_CODMIDDLE)) = '' "
         "AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND FW32_TIPORAGG = 'CAT' " +
         principal + "          WHERE P.MG10_DITTA_CG18 = " + c + " ORDER BY MG10_TIPOCF " +
         " ; SELECT distinct P.MG11_DITTA_CG18, P.MG11_TIPOCF_MG10, P.MG11_MACROCAT_MG10, "
         "P.MG11_CATEG, P.MG11_DESCRCAT, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
         "          FROM MG11_CATEG FF cross apply dbo.FNMG11_CATEG(FF.MG11_MACROCAT_MG10, "
         "FF.MG11_CATEG, FF.MG11_DITTA_CG18, FF.MG11_TIPOCF_MG10) P "
         "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG11_TIPOCF_MG10 AND FW32_DITTA = "
         "P.MG11_DITTA_CG18 AND P.MG11_MACROCAT_MG10 = FW32_CODMACRO "
         "             AND FW32_CODMIDDLE = P.MG11_CATEG AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND "
         "FW32_TIPORAGG = 'CAT' " +
         principal + "          WHERE P.MG11_DITTA_CG18 = " + c + " ORDER BY MG11_TIPOCF_MG10 " +
         " ; SELECT P.MG12_DITTA_CG18, P.MG12_TIPOCF_MG11, P.MG12_MACROCAT_MG11, "
         "P.MG12_CATEG_MG11, P.MG12_SOTTCAT, P.MG12_DESCRSOTTOCAT, ISNULL(FW32_FLGABILITATO, 1) AS "
         "CHECKED "
         "          FROM MG12_SOTTOCAT FF cross apply dbo.FNMG12_SOTTOCAT(FF.MG12_MACROCAT_MG11, "
         "FF.MG12_CATEG_MG11, FF.MG12_SOTTCAT, FF.MG12_DITTA_CG18, FF.MG12_TIPOCF_MG11) P "
         "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG12_TIPOCF_MG11 AND FW32_DITTA = "
         "P.MG12_DITTA_CG18 AND P.MG12_MACROCAT_MG11 = FW32_CODMACRO "
         "             AND FW32_CODMIDDLE = P.MG12_CATEG_MG11 AND P.MG12_SOTTCAT = FW32_CODRAGG "
         "AND FW32_TIPORAGG = 'CAT' " +
         principal + "          WHERE P.MG12_DITTA_CG18 = " + c + " ORDER BY MG12_TIPOCF_MG11 " +
         " ; SELECT distinct P.MG31_DITTA_CG18, P.MG31_TIPOCF, P.MG31_CODRAGGRCF1, "
         "P.MG31_DESCRAGGRCF1, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
         "          FROM MG31_RAGGRCF1 FF cross apply dbo.FNMG31_RAGGRCF1(FF.MG31_CODRAGGRCF1, "
         "FF.MG31_DITTA_CG18, FF.MG31_TIPOCF) P "
         "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG31_TIPOCF AND FW32_DITTA = "
         "P.MG31_DITTA_CG18 "
         "             AND P.MG31_CODRAGGRCF1 = FW32_CODRAGG AND FW32_TIPORAGG = 'RAGG1' " +
         principal + "          WHERE P.MG31_DITTA_CG18 = " + c +
         " ; SELECT distinct P.MG32_DITTA_CG18, P.MG32_TIPOCF, P.MG32_CODRAGGRCF2, "
         "P.MG32_DESCRAGGRCF2, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
         "          FROM MG32_RAGGRCF2 FF cross apply dbo.FNMG32_RAGGRCF2(FF.MG32_CODRAGGRCF2, "
         "FF.MG32_DITTA_CG18, FF.MG32_TIPOCF) P "
         "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG32_TIPOCF AND FW32_DITTA = "
         "P.MG32_DITTA_CG18 "
         "             AND P.MG32_CODRAGGRCF2 = FW32_CODRAGG AND FW32_TIPORAGG = 'RAGG2' " +
         principal + "          WHERE P.MG32_DITTA_CG18 = " + c +
         " ; SELECT distinct P.MG33_DITTA_CG18, P.MG33_TIPOCF, P.MG33_CODRAGGRCF3, "
         "P.MG33_DESCRAGGRCF3, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
         "          FROM MG33_RAGGRCF3 FF cross apply dbo.FNMG33_RAGGRCF3(FF.MG33_CODRAGGRCF3, "
         "FF.MG33_DITTA_CG18, FF.MG33_TIPOCF) P "
         "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG33_TIPOCF AND FW32_DITTA = "
         "P.MG33_DITTA_CG18 "
         "             AND P.MG33_CODRAGGRCF3 = FW32_CODRAGG AND FW32_TIPORAGG = 'RAGG3' " +
         principal + "          WHERE P.MG33_DITTA_CG18 = " + c +
         " ; SELECT distinct CG31_DITTA_CG18, CG31_CODICE, CG31_INDIRIZZO, "
         "ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
         "          FROM CG31_ANADITTASEDI "
         "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = -1 AND FW32_DITTA = CG31_DITTA_CG18 "
         "             AND CG31_CODICE = FW32_CODRAGG AND FW32_TIPORAGG = 'SEDE' " +
         principal + "          WHERE CG31_DITTA_CG18 = " + c;
}

TEST(ModuleStatementsTest, ClassificationTreeBatchGivesTenResults) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  // The batch exactly as the editor sends it: ORDER BY MG10_TIPOCF names the
  // output column P.MG10_TIPOCF although FF has a column of that name too.
  auto run = [&](const std::string& principal) {
    std::vector<Rows> results;
    std::shared_ptr<db::Recordset> first = cn->Execute(TreeBatch(principal, 1));
    results.push_back(testing::ReadAll(first.get()));
    while (auto next = cn->NextRecordset()) results.push_back(testing::ReadAll(next.get()));
    return results;
  };
  // User 2 revoked category IND/MECC; user 5 the site MAG.
  for (const auto& [principal, revoked_result, revoked_code] :
       {std::tuple{std::string(" AND FW32_ID_FW07 =2 AND FW32_ID_FW06 IS NULL"), 4, "MECC"},
        std::tuple{std::string(" AND FW32_ID_FW07 =5 AND FW32_ID_FW06 IS NULL"), 9, "MAG"}}) {
    SCOPED_TRACE(principal);
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
  std::vector<Rows> group = run(" AND FW32_ID_FW07 IS NULL AND FW32_ID_FW06 =3");
  ASSERT_EQ(group.size(), 10u);
  EXPECT_EQ(
      std::count_if(group[0].begin(), group[0].end(), [](const auto& r) { return r[4] == "0"; }),
      1);
  EXPECT_TRUE(
      std::none_of(group[1].begin(), group[1].end(), [](const auto& r) { return r[5] == "0"; }));
}

TEST(ModuleStatementsTest, NodeWorkTableAndMerge) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::string table = "##tempT0123456789ABCDEF0123456789ABCDEF";
  const std::string crlf = "\r\n";
  auto build = [&](int user, int group) {
    return " if object_id('tempdb.." + table + "') is not null " + " BEGIN " + " DROP TABLE " +
           table + " END " + " select  " + crlf + "     PD0C_CODNODO as CODICE,  " + crlf +
           "     PD0C_CODPROG_PD68 as PROGETTO, " + crlf +
           "     PD0C_DESCR as DESCRIZIONE, 0 AS INDTIPO, " + crlf +
           "     CASE WHEN FW3N_CODNODO IS NULL THEN 1 ELSE 0 END AS ABILITATO, " + crlf +
           "     0 AS MODIFICA, " + "     0 AS ELIMINAZIONE, " + "     0 AS INSERIMENTO, " + crlf +
           "     0 AS INCLUSA, " + crlf + "     PD0C_DITTA_CG18 As DITTARAG,  " + crlf +
           "     CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG AS RAGGRUPPAMENTO, " +
           crlf + "     PD0C_NODO.*, PD68_PROGETTI.*" + " into " + table + crlf +
           " from PD0C_NODO " + crlf + " INNER JOIN PD68_PROGETTI " + crlf +
           "     on PD0C_DITTA_CG18 = PD68_DITTA_CG18 " + crlf +
           "     and PD0C_CODPROG_PD68 = PD68_CODPROG " + crlf + " left join  FW3N_RVKNODI  " +
           crlf + "     ON PD0C_CODNODO = FW3N_CODNODO " + crlf +
           "     and FW3N_CODPROG_PD68 = PD0C_CODPROG_PD68 " + crlf +
           "     and FW3N_DITTA_CG18 = PD0C_DITTA_CG18 " + crlf + "     and FW3N_ID_FW07 " +
           Principal(user, " =") + crlf + "     and FW3N_ID_FW06 " + Principal(group, " =") + crlf +
           " INNER JOIN CG18_ANADITTABASE  " + crlf + "     ON PD0C_DITTA_CG18 = CG18_DITTA " +
           crlf + " INNER JOIN CG16_ANAGGEN  " + crlf + "     ON CG18_CODICE_CG16 = CG16_CODICE " +
           crlf + " WHERE PD0C_DITTA_CG18 = 1" + crlf;
  };
  auto merge = [&](int user, int group) {
    const std::vector<std::string> lines = {
        " MERGE FW3N_RVKNODI AS target   ",
        " USING (SELECT PROGETTO, CODICE, DITTARAG  ",
        "         FROM " + table,
        "         where ABILITATO = 0) AS source (PROGETTO, CODICE, DITTARAG)   ",
        " ON (target.FW3N_CODPROG_PD68 = source.PROGETTO ",
        "     and target.FW3N_CODNODO = source.CODICE ",
        "     and target.FW3N_DITTA_CG18 = source.DITTARAG ",
        "     and target.FW3N_ID_FW06 " + Principal(group, " ="),
        "     and target.FW3N_ID_FW07 " + Principal(user, " ="),
        "     ) ",
        " WHEN NOT MATCHED BY SOURCE ",
        "     and target.FW3N_DITTA_CG18 = 1",
        "     and target.FW3N_ID_FW06 " + Principal(group, " ="),
        "     and target.FW3N_ID_FW07 " + Principal(user, " ="),
        "     THEN DELETE ",
        " WHEN NOT MATCHED BY TARGET ",
        "     THEN INSERT (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW06, "
        "FW3N_ID_FW07) VALUES (DITTARAG, PROGETTO, CODICE, " +
            (group ? std::to_string(group) : std::string(" NULL")) + ", " +
            (user ? std::to_string(user) : std::string(" NULL")) + "); ",
    };
    std::string text;
    for (const std::string& line : lines) text += line + crlf;
    return text;
  };
  const std::string rows =
      "SELECT FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW07, FW3N_ID_FW06 "
      "FROM FW3N_RVKNODI ORDER BY 1, 2";

  Exec(*cn, build(0, 6));
  Exec(*cn, "update " + table + " set INCLUSA=1 where 1 = 1  AND PD68_STATO_PD1E = 'APE'");
  Rows shown = Query(*cn, "select * from " + table + " where INCLUSA=1 order by PROGETTO, CODICE",
                     {"PROGETTO", "CODICE", "ABILITATO", "PD0C_STATO_PD1E", "PD68_CLASSEA_PD1F"});
  ASSERT_EQ(shown.size(), 11u);
  EXPECT_EQ(shown[2], (testing::Row{"24001", "030", "0", "APE", "NORD"}));
  // Revoke a node of another project, then give back the demo's one.
  Exec(*cn, "update " + table + " set ABILITATO = 0 where PROGETTO = '24003' and CODICE = '010'");
  Exec(*cn, merge(0, 6));
  EXPECT_EQ(Query(*cn, rows), (Rows{{"24001", "030", "NULL", "6"},
                                    {"24002", "020", "7", "NULL"},
                                    {"24003", "010", "NULL", "6"}}));
  Exec(*cn, "update " + table + " set ABILITATO = 1 where PROGETTO = '24001' and CODICE = '030'");
  Exec(*cn, merge(0, 6));
  EXPECT_EQ(Query(*cn, rows), (Rows{{"24002", "020", "7", "NULL"}, {"24003", "010", "NULL", "6"}}));
  // The same work for user 7 leaves group 6's row alone.
  Exec(*cn, build(7, 0));
  Exec(*cn, merge(7, 0));
  EXPECT_EQ(Query(*cn, rows), (Rows{{"24002", "020", "7", "NULL"}, {"24003", "010", "NULL", "6"}}));
}

TEST(ModuleStatementsTest, TransferBulkStatementsAndPrincipalsOfBulkOperations) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::string disable_all =
      "INSERT INTO FW3E_RVKDEPCOLL(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES,"
      " FW3E_ID_FW07, FW3E_ID_FW06) "
      " SELECT ori.MG58_DITTA_CG18, ori.MG58_CODDEP as COD_ORI, dest.MG58_CODDEP as COD_DES, "
      "5, NULL"
      " FROM MG58_DEPOSITI as ori "
      " JOIN MG58_DEPOSITI as dest ON ori.MG58_DITTA_CG18 = dest.MG58_DITTA_CG18 "
      " LEFT JOIN FW3E_RVKDEPCOLL ON FW3E_ID_FW07  = 5    AND FW3E_ID_FW06  IS NULL "
      "    AND FW3E_DITTA_CG18 = ori.MG58_DITTA_CG18  AND FW3E_CODDEP_ORI = ori.MG58_CODDEP AND "
      "FW3E_CODDEP_DES = dest.MG58_CODDEP "
      " Where ori.MG58_DITTA_CG18 = 1 And FW3E_CODDEP_ORI Is Null And FW3E_CODDEP_DES Is Null "
      " ORDER BY COD_ORI, COD_DES ";
  const std::string count =
      "SELECT COUNT(*), COUNT(DISTINCT FW3E_CODDEP_ORI + '|' + FW3E_CODDEP_DES) FROM "
      "FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 1 AND FW3E_ID_FW07 =5 AND FW3E_ID_FW06 IS NULL";
  Exec(*cn, disable_all);
  EXPECT_EQ(Query(*cn, count), (Rows{{"49", "49"}}));
  Exec(*cn, disable_all);
  EXPECT_EQ(Query(*cn, count), (Rows{{"49", "49"}}));

  // CORVSA, its only-member user 8 and user 9 (no group) are never bulk principals.
  EXPECT_EQ(Sorted(Query(*cn,
                         "SELECT DISTINCT FW00_ID_FW07 AS ID, 0 AS TIPO From FW00_GRPUSRASSOC "
                         " INNER JOIN FW06_GROUPUSR ON FW06_ID = FW00_ID_FW06 AND FW06_CODICE <> "
                         "'CORVSA' "
                         " UNION SELECT FW06_ID AS ID, 1 AS TIPO From FW06_GROUPUSR WHERE "
                         "FW06_CODICE <> 'CORVSA'",
                         {"TIPO", "ID"})),
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
  Exec(*cn,
       "DELETE FROM FW31_RVKPARAMETRI  WHERE FW31_ID_FW06  IS NULL AND FW31_ID_FW07   =9 AND "
       "FW31_INDTIPO IN (6, 15, 30, 8) ");
  Exec(*cn,
       "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
       "FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, FW31_FLGINSERISCI) "
       "(SELECT 9, NULL, A.FW31_INDTIPO, A.FW31_CODTIPO, A.FW31_DITTARAGG, A.FW31_FLGABILITATO, "
       "A.FW31_FLGMODIFICA, A.FW31_FLGELIMINA, A.FW31_FLGINSERISCI  FROM FW31_RVKPARAMETRI AS A "
       " WHERE A.FW31_ID_FW06  IS NULL AND A.FW31_ID_FW07   =2 AND A.FW31_INDTIPO IN (6, 15, 30, "
       "8) )");
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
  Rows matrix = Query(*cn,
                      "SELECT MG58_CODDEP AS CODICE,  MG58_CODDEP + (CASE WHEN MG58_DESCRDEP IS "
                      "NULL THEN '' ELSE ' - ' + MG58_DESCRDEP END) AS DESCRIZIONE,1 AS [C_A],1 "
                      "AS [C_DEP___1] FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = 1 ORDER BY "
                      "MG58_CODDEP",
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
  Exec(*cn,
       "INSERT INTO FW3E_RVKDEPCOLL(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
       "FW3E_ID_FW07, FW3E_ID_FW06) VALUES(1,'A ', 'DEP 1',5,NULL)");
  EXPECT_EQ(Query(*cn, rows).size(), 3u);
  Exec(*cn,
       "DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = 1 AND FW3E_CODDEP_ORI = 'A '  AND "
       "FW3E_CODDEP_DES = 'DEP 1' AND FW3E_ID_FW07 =5 AND FW3E_ID_FW06 IS NULL");
  EXPECT_EQ(Query(*cn, rows), (Rows{{"01", "A", "0"}, {"01", "DEP 1", "0"}}));
  // Origin toggle: the probe finds the partly revoked origin '01'.
  EXPECT_EQ(Query(*cn,
                  "SELECT TOP 1 1 FROM FW3E_RVKDEPCOLL  WHERE FW3E_ID_FW07 =5 AND "
                  "FW3E_ID_FW06 IS NULL AND FW3E_DITTA_CG18 = 1 AND FW3E_CODDEP_ORI = '01'"),
            (Rows{{"1"}}));
  // Unchecking the header of 'PF' revokes it from every origin.
  Exec(*cn,
       "INSERT INTO FW3E_RVKDEPCOLL(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
       "FW3E_ID_FW07, FW3E_ID_FW06) SELECT 1,MG58_CODDEP ,'PF' ,5,NULL  FROM MG58_DEPOSITI WHERE "
       "MG58_DITTA_CG18 = 1");
  EXPECT_EQ(
      Scalar(*cn, "SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_CODDEP_DES = 'PF'" + user5),
      "7");
}

TEST(ModuleStatementsTest, FamilyListAndSaves) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::string list =
      " SELECT MG53_DITTA_CG18, MG53_CODFAM, MG53_DESCRFAM, ISNULL(FW3H_FLGINSERIMENTO, 1) AS "
      "INSERIMENTO, "
      "        ISNULL(FW3H_FLGELIMINA, 1) AS ELIMINA, ISNULL(FW3H_FLGMODIFICA, 1) AS MODIFICA "
      "        FROM MG53_FAMIGLIE "
      "        LEFT JOIN FW3H_RVKARTICOLI ON FW3H_DITTA = MG53_DITTA_CG18 "
      "             AND MG53_CODFAM = FW3H_CODMACRO AND RTRIM(LTRIM(FW3H_CODMIDDLE)) = '' AND "
      "RTRIM(LTRIM(FW3H_CODRAGG)) = '' AND FW3H_TIPORAGG = 'FAM' "
      " AND  FW3H_ID_FW07 =2 AND FW3H_ID_FW06 IS NULL"
      "        WHERE MG53_DITTA_CG18 = 1 ORDER BY MG53_DESCRFAM ";
  const std::vector<std::string> cols = {"MG53_CODFAM", "INSERIMENTO", "MODIFICA", "ELIMINA"};
  Rows families = Query(*cn, list, cols);
  ASSERT_EQ(families.size(), 8u);
  EXPECT_EQ(families[0], (testing::Row{"L'A", "0", "1", "1"}));       // "Articoli per l'arredo"
  EXPECT_EQ(families.back(), (testing::Row{" VI ", "1", "1", "1"}));  // "Viteria e bulloneria"
  // First change of ' VI ': the code is trimmed, the row inserted with every
  // flag 1, then the delete right cleared together with modify.
  Exec(*cn,
       "INSERT INTO FW3H_RVKARTICOLI (FW3H_ID_FW07,FW3H_ID_FW06,FW3H_DITTA,FW3H_CODMACRO, "
       "FW3H_CODMIDDLE,FW3H_CODRAGG,FW3H_TIPORAGG,FW3H_FLGABILITATO,FW3H_FLGMODIFICA, "
       "FW3H_FLGINSERIMENTO, FW3H_FLGELIMINA)  VALUES ( 2 , NULL , 1 , 'VI' , '' , '' , 'FAM' , "
       "1,1,1,1)");
  Exec(*cn,
       "UPDATE FW3H_RVKARTICOLI  SET FW3H_FLGELIMINA= 0, FW3H_FLGMODIFICA = 0 WHERE FW3H_DITTA = "
       "1 AND FW3H_ID_FW07   =2 AND FW3H_ID_FW06  IS NULL AND FW3H_CODMACRO = 'VI' AND "
       "FW3H_CODMIDDLE = '' AND FW3H_CODRAGG = '' AND FW3H_TIPORAGG = 'FAM'");
  EXPECT_EQ(Query(*cn,
                  "SELECT FW3H_FLGABILITATO, FW3H_FLGINSERIMENTO, FW3H_FLGMODIFICA, "
                  "FW3H_FLGELIMINA FROM FW3H_RVKARTICOLI WHERE FW3H_CODMACRO = 'VI'"),
            (Rows{{"1", "1", "0", "0"}}));
  // The stored family keeps its leading blank, so the trimmed row does not
  // reach it in the list: the host compares leading blanks.
  EXPECT_EQ(Query(*cn, list, cols).back(), (testing::Row{" VI ", "1", "1", "1"}));
}

}  // namespace
}  // namespace orv::hostdb
