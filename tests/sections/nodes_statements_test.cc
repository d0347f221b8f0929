// The statement texts of the project-node section, piece by piece, for a
// user and for a group, and the checks on the work table's name.

#include <gtest/gtest.h>

#include <string>

#include "db/db_error.h"
#include "db/value.h"
#include "host/query_condition.h"
#include "sections/nodes/node_statements.h"

namespace orv::sections {
namespace {

const std::string kTable = "##tempT0123456789ABCDEF0123456789ABCDEF";

TEST(NodeStatementsTest, WorkTableForAUserAndForAGroup) {
  const std::string head =
      " select  \r\n"
      "     PD0C_CODNODO as CODICE,  \r\n"
      "     PD0C_CODPROG_PD68 as PROGETTO, \r\n"
      "     PD0C_DESCR as DESCRIZIONE, 0 AS INDTIPO, \r\n"
      "     CASE WHEN FW3N_CODNODO IS NULL THEN 1 ELSE 0 END AS ABILITATO, \r\n"
      "     0 AS MODIFICA,      0 AS ELIMINAZIONE,      0 AS INSERIMENTO, \r\n"
      "     0 AS INCLUSA, \r\n"
      "     PD0C_DITTA_CG18 As DITTARAG,  \r\n"
      "     CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG AS RAGGRUPPAMENTO, \r\n"
      "     PD0C_NODO.*, PD68_PROGETTI.* into " +
      kTable +
      "\r\n"
      " from PD0C_NODO \r\n"
      " INNER JOIN PD68_PROGETTI \r\n"
      "     on PD0C_DITTA_CG18 = PD68_DITTA_CG18 \r\n"
      "     and PD0C_CODPROG_PD68 = PD68_CODPROG \r\n"
      " left join  FW3N_RVKNODI  \r\n"
      "     ON PD0C_CODNODO = FW3N_CODNODO \r\n"
      "     and FW3N_CODPROG_PD68 = PD0C_CODPROG_PD68 \r\n"
      "     and FW3N_DITTA_CG18 = PD0C_DITTA_CG18 \r\n";
  const std::string tail =
      " INNER JOIN CG18_ANADITTABASE  \r\n"
      "     ON PD0C_DITTA_CG18 = CG18_DITTA \r\n"
      " INNER JOIN CG16_ANAGGEN  \r\n"
      "     ON CG18_CODICE_CG16 = CG16_CODICE \r\n"
      " WHERE PD0C_DITTA_CG18 = 2\r\n";
  EXPECT_EQ(NodeStatements::WorkTable(kTable, db::Value(12), db::Value::Null(), 2),
            head + "     and FW3N_ID_FW07  =12\r\n     and FW3N_ID_FW06  IS NULL\r\n" + tail);
  EXPECT_EQ(NodeStatements::WorkTable(kTable, db::Value::Null(), db::Value(4), 2),
            head + "     and FW3N_ID_FW07  IS NULL\r\n     and FW3N_ID_FW06  =4\r\n" + tail);
  // Made with every row included: only INCLUSA differs.
  std::string included = head;
  included.replace(included.find("0 AS INCLUSA"), 1, "1");
  EXPECT_EQ(NodeStatements::WorkTable(kTable, db::Value(12), db::Value::Null(), 2, true),
            included + "     and FW3N_ID_FW07  =12\r\n     and FW3N_ID_FW06  IS NULL\r\n" + tail);
}

TEST(NodeStatementsTest, DropFilterAndRows) {
  EXPECT_EQ(
      NodeStatements::DropWorkTable(kTable),
      " if object_id('tempdb.." + kTable + "') is not null  BEGIN  DROP TABLE " + kTable + " END ");
  EXPECT_EQ(NodeStatements::MarkIncluded(kTable, ""), "update " + kTable + " set INCLUSA=1");
  EXPECT_EQ(NodeStatements::MarkIncluded(kTable, " AND PD0C_CODNODO = '010'"),
            "update " + kTable + " set INCLUSA=1 where 1 = 1  AND PD0C_CODNODO = '010'");
  EXPECT_EQ(NodeStatements::RowsShown(kTable),
            "select * from " + kTable + " where INCLUSA=1 order by PROGETTO, CODICE");

  // The query control's condition carries typed text only as literals.
  host::QueryField project{"Progetto", "PD0C_CODPROG_PD68", 25, "L'ARCO", ""};
  host::QueryField node{"Nodo", "PD0C_CODNODO", 25, " a'", "b''"};
  EXPECT_EQ(NodeStatements::MarkIncluded(kTable, host::BuildQueryCondition({project, node})),
            "update " + kTable +
                " set INCLUSA=1 where 1 = 1  AND PD0C_CODPROG_PD68 = 'L''ARCO' AND PD0C_CODNODO "
                ">= 'a''' AND PD0C_CODNODO <= 'b'''''");
}

TEST(NodeStatementsTest, MergeForAUserAndForAGroup) {
  // The rows passing the filter only; matched rows given back are deleted,
  // missing revoked rows inserted; no delete of rows the table does not show.
  auto merge = [](const std::string& group_test, const std::string& user_test,
                  const std::string& values) {
    std::string s;
    for (const std::string& line : {
             std::string(" MERGE FW3N_RVKNODI AS target   "),
             std::string(" USING (SELECT PROGETTO, CODICE, DITTARAG, ABILITATO  "),
             "         FROM " + kTable,
             std::string("         where INCLUSA = 1) AS source (PROGETTO, CODICE, DITTARAG, "
                         "ABILITATO)   "),
             std::string(" ON (target.FW3N_CODPROG_PD68 = source.PROGETTO "),
             std::string("     and target.FW3N_CODNODO = source.CODICE "),
             std::string("     and target.FW3N_DITTA_CG18 = source.DITTARAG "),
             "     and target.FW3N_ID_FW06 " + group_test,
             "     and target.FW3N_ID_FW07 " + user_test,
             std::string("     ) "),
             std::string(" WHEN MATCHED AND source.ABILITATO = 1 "),
             std::string("     and target.FW3N_DITTA_CG18 = 1"),
             std::string("     THEN DELETE "),
             std::string(" WHEN NOT MATCHED BY TARGET AND source.ABILITATO = 0 "),
             "     THEN INSERT (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW06, "
             "FW3N_ID_FW07) VALUES (DITTARAG, PROGETTO, CODICE, " +
                 values + "); ",
         }) {
      if (!s.empty()) s += "\r\n";
      s += line + "\r\n";
    }
    return s;
  };
  EXPECT_EQ(NodeStatements::Merge(kTable, db::Value::Null(), db::Value(4), 1),
            merge(" =4", " IS NULL", "4,  NULL"));
  EXPECT_EQ(NodeStatements::Merge(kTable, db::Value(7), db::Value::Null(), 1),
            merge(" IS NULL", " =7", " NULL, 7"));
}

TEST(NodeStatementsTest, ClickStatementsNameOneNodeOfOnePrincipal) {
  EXPECT_EQ(NodeStatements::InsertRevocation(db::Value::Null(), db::Value(4), 1, "24'1", "010"),
            "INSERT INTO FW3N_RVKNODI (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, "
            "FW3N_ID_FW06, FW3N_ID_FW07) SELECT 1, '24''1', '010', 4, NULL WHERE NOT EXISTS "
            "(SELECT 1 FROM FW3N_RVKNODI WHERE FW3N_DITTA_CG18 = 1 AND FW3N_CODPROG_PD68 = "
            "'24''1' AND FW3N_CODNODO = '010' AND FW3N_ID_FW06  =4 AND FW3N_ID_FW07  IS NULL)");
  EXPECT_EQ(NodeStatements::DeleteRevocation(db::Value(7), db::Value::Null(), 2, "24001", "a'b"),
            "DELETE FROM FW3N_RVKNODI WHERE FW3N_DITTA_CG18 = 2 AND FW3N_CODPROG_PD68 = '24001' "
            "AND FW3N_CODNODO = 'a''b' AND FW3N_ID_FW06  IS NULL AND FW3N_ID_FW07  =7");
  EXPECT_EQ(NodeStatements::WorkTableKey(kTable), "CREATE UNIQUE CLUSTERED INDEX IX_" +
                                                      kTable.substr(2) + " ON " + kTable +
                                                      " (PROGETTO, CODICE, DITTARAG)");
}

TEST(NodeStatementsTest, OnlyAWorkTableNameReachesAStatement) {
  EXPECT_TRUE(NodeStatements::IsWorkTableName(kTable));
  EXPECT_TRUE(NodeStatements::IsWorkTableName("##tnodi_test"));
  for (const char* bad :
       {"", "##", "tempT01", "#tempT01", "##t; DROP TABLE X", "##t'--", "##t x", "##t.x"}) {
    const std::string name(bad);
    EXPECT_FALSE(NodeStatements::IsWorkTableName(name)) << name;
    EXPECT_THROW(NodeStatements::RowsShown(name), db::DbError) << name;
    EXPECT_THROW(NodeStatements::Merge(name, db::Value(1), db::Value::Null(), 1), db::DbError)
        << name;
    EXPECT_THROW(NodeStatements::DropWorkTable(name), db::DbError) << name;
  }
}

}  // namespace
}  // namespace orv::sections
