#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostdb/host_schema.h"
#include "hostdb/temporary_demo_database.h"
#include "hostdb_test_util.h"

namespace orv::hostdb {
namespace {

using testing::Exec;
using testing::Query;
using testing::Rows;

struct FunctionCase {
  std::string function;    // dbo.FNxxx
  std::string args;        // key of a demo row in use (company 1, customers)
  std::string other_args;  // the same code under another company or type
  Rows expected;           // what the function returns for `args`
  std::string make_obsolete;
};

const std::vector<FunctionCase>& Cases() {
  static const std::vector<FunctionCase> cases = {
      {"dbo.FNMG07_MACROAREE",
       "'NORD', 1, 0",
       "'NORD', 3, 0",
       {{"1", "0", "NORD", "Italia settentrionale"}},
       "UPDATE MG07_MACROAREE SET MG07_FLGOBSOLETO = 1 WHERE MG07_DITTA_CG18 = 1 AND "
       "MG07_TIPOCF = 0 AND MG07_MACROAREA = 'NORD'"},
      {"dbo.FNMG08_AREE",
       "'NORD', 'NO', 1, 0",
       "'NORD', 'NO', 1, 2",
       {{"1", "0", "NORD", "NO", "Nord-ovest"}},
       "UPDATE MG08_AREE SET MG08_FLGOBSOLETO = 1 WHERE MG08_DITTA_CG18 = 1 AND "
       "MG08_TIPOCF_MG07 = 0 AND MG08_MACROAREA_MG07 = 'NORD' AND MG08_AREA = 'NO'"},
      {"dbo.FNMG09_ZONE",
       "'NORD', 'NO', 'MI', 1, 0",
       "'NORD', 'NE', 'MI', 1, 0",
       {{"1", "0", "NORD", "NO", "MI", "Milano"}},
       "UPDATE MG09_ZONE SET MG09_FLGOBSOLETO = 1 WHERE MG09_DITTA_CG18 = 1 AND "
       "MG09_TIPOCF_MG08 = 0 AND MG09_ZONA = 'MI'"},
      {"dbo.FNMG10_MACROCAT",
       "'IND', 1, 0",
       "'IND', 1, 1",
       {{"1", "0", "IND", "Industria"}},
       "UPDATE MG10_MACROCAT SET MG10_FLGOBSOLETO = 1 WHERE MG10_MACROCAT = 'IND'"},
      {"dbo.FNMG11_CATEG",
       "'IND', 'MECC', 1, 0",
       "'COM', 'MECC', 1, 0",
       {{"1", "0", "IND", "MECC", "Meccanica"}},
       "UPDATE MG11_CATEG SET MG11_FLGOBSOLETO = 1 WHERE MG11_CATEG = 'MECC'"},
      {"dbo.FNMG12_SOTTOCAT",
       "'IND', 'MECC', 'PREC', 1, 0",
       "'IND', 'MECC', 'PREC', 2, 0",
       {{"1", "0", "IND", "MECC", "PREC", "Meccanica di precisione"}},
       "UPDATE MG12_SOTTOCAT SET MG12_FLGOBSOLETO = 1 WHERE MG12_SOTTCAT = 'PREC'"},
      {"dbo.FNMG31_RAGGRCF1",
       "'A', 1, 0",
       "'C', 1, 1",
       {{"1", "0", "A", "Clienti strategici"}},
       "UPDATE MG31_RAGGRCF1 SET MG31_FLGOBSOLETO = 1 WHERE MG31_DITTA_CG18 = 1 AND "
       "MG31_TIPOCF = 0 AND MG31_CODRAGGRCF1 = 'A'"},
      {"dbo.FNMG32_RAGGRCF2",
       "'AG01', 1, 0",
       "'AG02', 2, 0",
       {{"1", "0", "AG01", "Agente Lombardia"}},
       "UPDATE MG32_RAGGRCF2 SET MG32_FLGOBSOLETO = 1 WHERE MG32_DITTA_CG18 = 1 AND "
       "MG32_CODRAGGRCF2 = 'AG01'"},
      {"dbo.FNMG33_RAGGRCF3",
       "'FIERA', 1, 0",
       "'FIERA', 1, 1",
       {{"1", "0", "FIERA", "Contatti da fiera"}},
       "UPDATE MG33_RAGGRCF3 SET MG33_FLGOBSOLETO = 1 WHERE MG33_CODRAGGRCF3 = 'FIERA'"},
  };
  return cases;
}

TEST(TableFunctionsTest, EachReturnsTheRowOfItsKeyWhileInUse) {
  ASSERT_EQ(Cases().size(), HostSchema::TableFunctions().size());
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  for (size_t i = 0; i < Cases().size(); ++i) {
    const FunctionCase& c = Cases()[i];
    ASSERT_EQ(c.function, HostSchema::TableFunctions()[i]);
    const std::string call = "SELECT * FROM " + c.function + "(";
    EXPECT_EQ(Query(*cn, call + c.args + ")"), c.expected) << c.function;
    EXPECT_TRUE(Query(*cn, call + c.other_args + ")").empty()) << c.function << " other key";
    Exec(*cn, c.make_obsolete);
    EXPECT_TRUE(Query(*cn, call + c.args + ")").empty()) << c.function << " obsolete";
  }
}

TEST(TableFunctionsTest, KeysCompareWithoutCaseAndTrailingBlanks) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  // 'Lom' and 'bg' are stored in mixed and lower case.
  EXPECT_EQ(Query(*cn, "SELECT MG09_ZONA FROM dbo.FNMG09_ZONE('nord ', 'LOM', 'BG', 1, 0)"),
            (Rows{{"bg"}}));
  EXPECT_EQ(Query(*cn, "SELECT MG07_MACROAREA FROM dbo.FNMG07_MACROAREE(' NORD', 1, 0)"), Rows{});
}

TEST(TableFunctionsTest, CrossApplyHidesObsoleteRowsOfTheSource) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  // The demo flags 'ISOLE', 'UMB' and 'VECCHIO' obsolete.
  EXPECT_EQ(Query(*cn,
                  "SELECT P.MG07_MACROAREA FROM MG07_MACROAREE FF cross apply "
                  "dbo.FNMG07_MACROAREE(FF.MG07_MACROAREA, FF.MG07_DITTA_CG18, FF.MG07_TIPOCF) P "
                  "WHERE P.MG07_DITTA_CG18 = 1 AND P.MG07_TIPOCF = 0 ORDER BY P.MG07_MACROAREA"),
            (Rows{{"CENTRO"}, {"ESTERO"}, {"NORD"}, {"SUD"}}));
  EXPECT_EQ(
      Query(*cn,
            "SELECT COUNT(*) FROM MG08_AREE FF cross apply dbo.FNMG08_AREE("
            "FF.MG08_MACROAREA_MG07, FF.MG08_AREA, FF.MG08_DITTA_CG18, FF.MG08_TIPOCF_MG07) P "
            "WHERE P.MG08_AREA = 'UMB'"),
      (Rows{{"0"}}));
  EXPECT_EQ(Query(*cn,
                  "SELECT COUNT(*) FROM MG33_RAGGRCF3 FF cross apply dbo.FNMG33_RAGGRCF3("
                  "FF.MG33_CODRAGGRCF3, FF.MG33_DITTA_CG18, FF.MG33_TIPOCF) P"),
            (Rows{{"4"}}));
}

TEST(TableFunctionsTest, CrossApplyOfAnotherRowsKeyJoinsThatRow) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  // The suppliers' 'NORD' applied with the customers' type: the function
  // returns the customers' row, another row of the same table.
  EXPECT_EQ(Query(*cn,
                  "SELECT FF.MG07_DESCRMACROAR, P.MG07_DESCRMACROAR FROM MG07_MACROAREE FF "
                  "cross apply dbo.FNMG07_MACROAREE(FF.MG07_MACROAREA, FF.MG07_DITTA_CG18, 0) P "
                  "WHERE FF.MG07_DITTA_CG18 = 1 AND FF.MG07_TIPOCF = 1 AND "
                  "FF.MG07_MACROAREA = 'NORD'"),
            (Rows{{"Fornitori del nord", "Italia settentrionale"}}));
  // Area and macro-area given crosswise: a row whose area is another's
  // macro-area code would match; none does, and every row is not itself.
  EXPECT_EQ(Query(*cn,
                  "SELECT COUNT(*) FROM MG08_AREE FF cross apply dbo.FNMG08_AREE("
                  "FF.MG08_AREA, FF.MG08_MACROAREA_MG07, FF.MG08_DITTA_CG18, "
                  "FF.MG08_TIPOCF_MG07) P"),
            (Rows{{"0"}}));
  // Two sources of the same table: the function's row is the second's.
  EXPECT_EQ(Query(*cn,
                  "SELECT FF.MG07_TIPOCF, P.MG07_TIPOCF FROM MG07_MACROAREE FF "
                  "JOIN MG07_MACROAREE G ON G.MG07_MACROAREA = FF.MG07_MACROAREA AND "
                  "G.MG07_DITTA_CG18 = FF.MG07_DITTA_CG18 AND G.MG07_TIPOCF = 0 "
                  "cross apply dbo.FNMG07_MACROAREE(G.MG07_MACROAREA, G.MG07_DITTA_CG18, "
                  "G.MG07_TIPOCF) P WHERE FF.MG07_DITTA_CG18 = 1 AND FF.MG07_MACROAREA = 'NORD' "
                  "ORDER BY FF.MG07_TIPOCF"),
            (Rows{{"0", "0"}, {"1", "0"}}));
}

TEST(TableFunctionsTest, CrossApplyOfTheCallersOwnRowGivesTheRowsOfThatRow) {
  TemporaryDemoDatabase demo;
  auto cn = demo.Connect();
  const std::string apply =
      "MG07_MACROAREE FF cross apply dbo.FNMG07_MACROAREE(FF.MG07_MACROAREA, "
      "FF.MG07_DITTA_CG18, FF.MG07_TIPOCF) P ";
  // The function's row read from the caller's: the rows in use, the
  // function's and the caller's columns alike, sorted by either name.
  EXPECT_EQ(
      Query(*cn, "SELECT DISTINCT FF.MG07_TIPOCF, P.MG07_MACROAREA, P.MG07_DESCRMACROAR FROM " +
                     apply + "WHERE P.MG07_DITTA_CG18 = 1 ORDER BY P.MG07_TIPOCF, " +
                     "FF.MG07_MACROAREA DESC"),
      Query(*cn,
            "SELECT MG07_TIPOCF, MG07_MACROAREA, MG07_DESCRMACROAR FROM MG07_MACROAREE "
            "WHERE MG07_FLGOBSOLETO = 0 AND MG07_DITTA_CG18 = 1 ORDER BY MG07_TIPOCF, "
            "MG07_MACROAREA DESC"));
  // A right join after it keeps the codes no row in use has (the obsolete
  // 'ISOLE', the unknown 'MARE') with NULLs.
  EXPECT_EQ(Query(*cn, "SELECT C.X, P.MG07_DESCRMACROAR FROM " + apply +
                           "RIGHT JOIN (SELECT 'ISOLE' AS X UNION ALL SELECT 'MARE' UNION ALL "
                           "SELECT 'NORD') C ON C.X = P.MG07_MACROAREA AND P.MG07_DITTA_CG18 = 1 "
                           "AND P.MG07_TIPOCF = 0 ORDER BY C.X"),
            (Rows{{"ISOLE", "NULL"}, {"MARE", "NULL"}, {"NORD", "Italia settentrionale"}}));
  // The caller on the outer side of a left join: its NULL row finds no
  // function row, nor does its obsolete one.
  EXPECT_EQ(Query(*cn,
                  "SELECT C.X, P.MG07_DESCRMACROAR FROM (SELECT 'ISOLE' AS X UNION ALL SELECT "
                  "'MARE' UNION ALL SELECT 'NORD') C LEFT JOIN " +
                      apply.substr(0, apply.find(" cross")) +
                      " ON FF.MG07_MACROAREA = C.X AND FF.MG07_DITTA_CG18 = 1 AND "
                      "FF.MG07_TIPOCF = 0" +
                      apply.substr(apply.find(" cross")) + "ORDER BY C.X"),
            (Rows{{"NORD", "Italia settentrionale"}}));
  // Every column of both.
  EXPECT_EQ(Query(*cn, "SELECT * FROM " + apply + "WHERE FF.MG07_DITTA_CG18 = 3").at(0).size(), 9u);
}

}  // namespace
}  // namespace orv::hostdb
