// Every construct of the host dialect the module sends is translated and run
// on SQLite, and the rows are checked.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

#include "db/db_error.h"
#include "db/sqlite/translator.h"
#include "db/value.h"
#include "sections/nodes/node_statements.h"
#include "sections/parameters/parameter_statements.h"
#include "sections/transfers/transfer_statements.h"
#include "store/principal.h"
#include "store/temp_table.h"
#include "translated_db.h"

namespace orv::db::sqlite {
namespace {

using testing::Rows;
using testing::TranslatedDb;

class TranslatorExecTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.Run(
        "CREATE TABLE CG16_ANAGGEN (CG16_CODICE INT NOT NULL PRIMARY KEY, "
        "CG16_RAGSOANAG VARCHAR(80) NULL);\r\n"
        "CREATE TABLE CG18_ANADITTABASE (CG18_DITTA INT NOT NULL PRIMARY KEY, "
        "CG18_CODICE_CG16 INT NOT NULL);\r\n"
        "CREATE TABLE PD68_PROGETTI (PD68_DITTA_CG18 INT NOT NULL, PD68_CODPROG INT NOT NULL, "
        "PD68_DESCRPROG NVARCHAR(60) NULL, CONSTRAINT PK_PD68 PRIMARY KEY CLUSTERED "
        "(PD68_DITTA_CG18, PD68_CODPROG)) ON [PRIMARY];\r\n"
        "CREATE TABLE FW31_RVKPARAMETRI (FW31_ID INT IDENTITY(1,1) NOT NULL, FW31_ID_FW07 INT "
        "NULL, "
        "FW31_ID_FW06 INT NULL, FW31_INDTIPO SMALLINT NOT NULL, FW31_CODTIPO VARCHAR(25) NOT NULL, "
        "FW31_DITTARAGG INT NOT NULL, FW31_FLGABILITATO INT NULL, FW31_FLGMODIFICA INT NULL, "
        "FW31_FLGELIMINA INT NULL, FW31_FLGINSERISCI INT NULL, FW31_CODICE VARCHAR(10) NULL, "
        "CONSTRAINT PK_FW31 PRIMARY KEY (FW31_ID))\r\n"
        "INSERT INTO CG16_ANAGGEN (CG16_CODICE, CG16_RAGSOANAG) VALUES (1, 'Alfa Spa'), "
        "(2, 'Beta Srl')\r\n"
        "INSERT INTO CG18_ANADITTABASE (CG18_DITTA, CG18_CODICE_CG16) VALUES (10, 1), (20, 2)\r\n"
        "INSERT INTO PD68_PROGETTI VALUES (10, 7, 'Sette'), (10, 8, 'Otto'), (20, 9, 'Nove')");
  }

  std::vector<std::string> Column(const Rows& rows, size_t i) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.at(i));
    return out;
  }

  TranslatedDb db_;
};

TEST_F(TranslatorExecTest, IsnullConvertTrimAndCase) {
  Rows rows = db_.Query(
      "SELECT ISNULL(NULL, 1), ISNULL('a', 'b'), CONVERT(VARCHAR(10), 42) + ' - ' + 'x', "
      "convert(varchar(3), 12345), CONVERT(VARCHAR(10), CAST(5 AS FLOAT)), "
      "RTRIM(LTRIM('  pad  ')) + '|', CASE WHEN 1 = 2 THEN 'no' ELSE 'yes' END, "
      "LEN('ab  '), UPPER('x') + LOWER('Y'), SUBSTRING('abcdef', 2, 3), CHARINDEX('C', 'abc'), "
      "CAST('7' AS INT) + 1");
  EXPECT_EQ(rows,
            (Rows{{"1", "a", "42 - x", "123", "5", "pad|", "yes", "2", "Xy", "bcd", "3", "8"}}));
}

TEST_F(TranslatorExecTest, ProjectCatalogueQueryOfTheParameterSection) {
  db_.Run(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
      "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI) "
      "VALUES ( NULL , 3 , 8 , '8' , 10 , 0 , 0, 0 , 0)");
  // The catalogue as the parameter section builds it for group 3 in company 10.
  Rows rows =
      db_.Query(sections::ParameterStatements::CatalogueProjects(store::Principal::Group(3), 10));
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (Rows{{"7", "Sette", "0", "1", "1", "1", "1", "10", "10 - Alfa Spa"},
                        {"8", "Otto", "0", "0", "0", "0", "0", "10", "10 - Alfa Spa"}}));
}

TEST_F(TranslatorExecTest, PlusFollowsTheHost) {
  EXPECT_EQ(db_.Query("SELECT 'ab' + 'cd', 2 + 3, 2 + 3 * 4, (2 + 3) * 4, NULL + 'x', 1 + NULL"),
            (Rows{{"abcd", "5", "14", "20", "NULL", "NULL"}}));
  // Columns: the type is known only at run time.
  db_.Run(
      "CREATE TABLE T (N INT, S VARCHAR(10), D VARCHAR(10));"
      "INSERT INTO T VALUES (4, 'x', '5')");
  EXPECT_EQ(db_.Query("SELECT N + N, S + S, S + 'y', D + N, N + D FROM T"),
            (Rows{{"8", "xx", "xy", "9", "9"}}));
  EXPECT_THROW(db_.Query("SELECT N + S FROM T"), std::runtime_error)
      << "number + non-numeric text is a conversion error";
}

TEST_F(TranslatorExecTest, TextComparesAsTheHostCollation) {
  EXPECT_EQ(db_.Query("SELECT CASE WHEN 'A' = 'A ' THEN 1 ELSE 0 END, "
                      "CASE WHEN 'a' = 'A' THEN 1 ELSE 0 END, "
                      "CASE WHEN 'a' <> 'A ' THEN 1 ELSE 0 END, "
                      "CASE WHEN 'b' IN ('A', 'B ') THEN 1 ELSE 0 END, "
                      "CASE WHEN 'B' BETWEEN 'a' AND 'c' THEN 1 ELSE 0 END"),
            (Rows{{"1", "1", "0", "1", "1"}}));
  db_.Run(
      "CREATE TABLE C (K VARCHAR(10) NOT NULL, V INT)\n"
      "CREATE UNIQUE NONCLUSTERED INDEX IX_C ON C (K ASC) WITH (PAD_INDEX = OFF) ON [PRIMARY]\n"
      "INSERT INTO C VALUES ('abc', 1), ('b', 2), ('B2', 3), ('a', 4)");
  EXPECT_THROW(db_.Run("INSERT INTO C VALUES ('ABC ', 5)"), std::runtime_error)
      << "the unique index folds case and trailing blanks";
  EXPECT_EQ(db_.Query("SELECT V FROM C WHERE K = 'ABC  '"), (Rows{{"1"}}));
  EXPECT_EQ(db_.Query("SELECT V FROM C WHERE K IN ('A', 'B') ORDER BY V"), (Rows{{"2"}, {"4"}}));
  EXPECT_EQ(Column(db_.Query("SELECT K FROM C ORDER BY K"), 0),
            (std::vector<std::string>{"a", "abc", "b", "B2"}));
  db_.Run("DROP INDEX IX_C ON C");
  db_.Run("INSERT INTO C VALUES ('x', 6), ('X ', 7)");
  EXPECT_THROW(db_.Run("CREATE UNIQUE INDEX IX_C2 ON C (K)"), std::runtime_error);
  EXPECT_EQ(db_.Query("SELECT COUNT(*) FROM C WHERE K LIKE 'x%' GROUP BY K"), (Rows{{"2"}}));
  EXPECT_EQ(db_.Query("SELECT DISTINCT UPPER(K) + '' FROM C WHERE V >= 6").size(), 1u);
  EXPECT_EQ(db_.Query("SELECT 'q' UNION SELECT 'Q ' UNION SELECT K FROM C WHERE V = 6").size(), 2u);
}

TEST_F(TranslatorExecTest, DistinctTopOrderByAliasAndBrackets) {
  db_.Run(
      "CREATE TABLE [we]]ird] ([col 1] INT, [Name] VARCHAR(20))\n"
      "insert into [we]]ird] ([col 1], [Name]) values (3, 'c'), (1, 'a'), (2, 'B'), (0, 'b')");
  EXPECT_EQ(db_.Query("SELECT DISTINCT [Name] FROM [we]]ird] WHERE [col 1] IN (0, 2)").size(), 1u);
  EXPECT_EQ(db_.Query("SELECT TOP 2 [col 1] AS K, [Name] FROM [we]]ird] ORDER BY K DESC"),
            (Rows{{"3", "c"}, {"2", "B"}}));
  EXPECT_EQ(db_.Query("SELECT TOP 1 1 FROM [we]]ird] WHERE [Name] = 'A'"), (Rows{{"1"}}));
  EXPECT_EQ(db_.Query("SELECT TOP (1) [col 1] FROM [we]]ird] ORDER BY [col 1]"), (Rows{{"0"}}));
}

TEST_F(TranslatorExecTest, InsertSelectForms) {
  db_.Run("CREATE TABLE A (X INT, Y VARCHAR(5)); CREATE TABLE B (X INT, Y VARCHAR(5))");
  db_.Run("INSERT INTO A VALUES (1, 'a'), (2, 'b'), (3, 'c')");
  db_.Run("INSERT INTO B (X, Y) (SELECT X * 10, Y FROM A AS Q WHERE Q.X < 3)");
  db_.Run("INSERT INTO B (X, Y) SELECT X, Y + Y AS Z FROM A WHERE X = 3 ORDER BY Z");
  EXPECT_EQ(db_.Query("SELECT X, Y FROM B ORDER BY X"),
            (Rows{{"3", "cc"}, {"10", "a"}, {"20", "b"}}));
  db_.Run("UPDATE B SET Y = 'z', X = X + 1 WHERE X > 5");
  db_.Run("DELETE FROM B WHERE Y = 'Z'");
  db_.Run("delete B where X = 3");
  EXPECT_TRUE(db_.Query("SELECT * FROM B").empty());
}

TEST_F(TranslatorExecTest, GlobalTempTablesAndDropIfExists) {
  const std::string name = "##tempT0123456789ABCDEF0123456789ABCDEF";
  const std::string drop = store::TempTable::DropIfExists(name);
  std::shared_ptr<const Translation> t = db_.translator().Translate(drop);
  ASSERT_EQ(t->steps.size(), 1u);
  ASSERT_EQ(t->steps[0].kind, Step::Kind::kIf);
  ASSERT_EQ(t->steps[0].body.size(), 1u);
  EXPECT_EQ(t->steps[0].body[0].drops_temp, std::vector<std::string>{name});
  db_.Run(drop);  // nothing to drop yet
  const std::string fill =
      " select  PD68_CODPROG as CODICE, 0 AS INCLUSA, "
      "CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG AS "
      "RAGGRUPPAMENTO, PD68_PROGETTI.* into " +
      name +
      " from PD68_PROGETTI INNER JOIN CG18_ANADITTABASE ON PD68_DITTA_CG18 "
      "= CG18_DITTA INNER JOIN CG16_ANAGGEN ON CG18_CODICE_CG16 = "
      "CG16_CODICE WHERE PD68_DITTA_CG18 = 10";
  EXPECT_EQ(db_.translator().Translate(fill)->steps.at(0).creates_temp,
            std::vector<std::string>{name});
  db_.Run(fill);
  db_.Run(sections::NodeStatements::MarkIncluded(name, " AND CODICE = 8"));
  EXPECT_EQ(db_.Query("select CODICE, RAGGRUPPAMENTO, PD68_DESCRPROG from " + name +
                      " where INCLUSA=1 order by CODICE"),
            (Rows{{"8", "10 - Alfa Spa", "Otto"}}));
  // The work table's text columns have no declared collation; sorting them
  // still follows the host.
  db_.Run(
      "SELECT 'b' AS K INTO ##sorted UNION ALL SELECT 'A' UNION ALL SELECT 'a ' UNION ALL "
      "SELECT 'C'");
  EXPECT_EQ(Column(db_.Query("SELECT K FROM ##sorted ORDER BY K, K DESC"), 0),
            (std::vector<std::string>{"A", "a ", "b", "C"}));
  EXPECT_EQ(db_.Query("SELECT count(*) FROM ##sorted GROUP BY K").size(), 3u);
  // Dropped and filled again: the second copy replaces the first.
  db_.Run(drop);
  db_.Run(fill);
  EXPECT_EQ(db_.Query("select count(*) from " + name), (Rows{{"2"}}));
  db_.Run(drop);
  EXPECT_EQ(
      db_.Query("if object_id('tempdb.." + name + "') is null select 'gone' else select 'kept'"),
      (Rows{{"gone"}}));
}

TEST_F(TranslatorExecTest, CommonTableExpressions) {
  EXPECT_EQ(db_.Query("WITH P (D, N) AS (SELECT PD68_DITTA_CG18, COUNT(*) FROM PD68_PROGETTI "
                      "GROUP BY PD68_DITTA_CG18) SELECT D, N FROM P WHERE N > 1"),
            (Rows{{"10", "2"}}));
  db_.Run("WITH P AS (SELECT PD68_CODPROG AS C FROM PD68_PROGETTI) SELECT C INTO ##cte FROM P");
  db_.Run("WITH P AS (SELECT 9 AS C) DELETE FROM ##cte WHERE C IN (SELECT C FROM P)");
  EXPECT_EQ(Column(db_.Query("SELECT C FROM ##cte ORDER BY C"), 0),
            (std::vector<std::string>{"7", "8"}));
  db_.Run("DROP TABLE ##cte");
}

TEST_F(TranslatorExecTest, IfElseWithBlocks) {
  db_.Run("CREATE TABLE L (V INT)");
  db_.Run(
      "IF EXISTS (SELECT 1 FROM L) BEGIN INSERT INTO L VALUES (1) END "
      "ELSE BEGIN INSERT INTO L VALUES (2); INSERT INTO L VALUES (3) END");
  db_.Run("if object_id('L') is null insert into L values (4) else insert into L values (5)");
  EXPECT_EQ(Column(db_.Query("SELECT V FROM L ORDER BY V"), 0),
            (std::vector<std::string>{"2", "3", "5"}));
}

TEST_F(TranslatorExecTest, NewIdGivesTheHostForm) {
  Rows rows = db_.Query("SELECT NEWID()");
  ASSERT_EQ(rows.size(), 1u);
  const std::string& id = rows[0][0];
  ASSERT_EQ(id.size(), 38u) << id;
  for (size_t i = 0; i < id.size(); ++i) {
    char c = id[i];
    if (i == 0) {
      EXPECT_EQ(c, '{');
    } else if (i == 37) {
      EXPECT_EQ(c, '}');
    } else if (i == 9 || i == 14 || i == 19 || i == 24) {
      EXPECT_EQ(c, '-');
    } else {
      EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << id;
    }
  }
  EXPECT_NE(db_.Query("SELECT NEWID()"), rows) << "every call gives a new identifier";
}

TEST_F(TranslatorExecTest, BatchOfSeveralSelectsGivesOneResultEach) {
  std::vector<Rows> results = db_.Run(
      " select CG18_DITTA from CG18_ANADITTABASE order by CG18_DITTA \r\n"
      " ; SELECT CG16_RAGSOANAG FROM CG16_ANAGGEN WHERE CG16_CODICE = 2\r\n"
      " ; Select Count(*) From PD68_PROGETTI\r\n"
      "SELECT 'no separator'");
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[0], (Rows{{"10"}, {"20"}}));
  EXPECT_EQ(results[1], (Rows{{"Beta Srl"}}));
  EXPECT_EQ(results[2], (Rows{{"3"}}));
  EXPECT_EQ(results[3], (Rows{{"no separator"}}));
}

TEST_F(TranslatorExecTest, CrossApplyTakesArgumentsFromTheLeft) {
  // json_each stands in for a host table function: a table-valued function
  // whose hidden columns take the arguments.
  struct JsonCatalog : Catalog {
    bool IsTableFunction(std::string_view name) const override { return name == "json_each"; }
  };
  JsonCatalog catalog;
  TranslatedDb db(&catalog);
  db.Run(
      "CREATE TABLE FF (ID INT, J VARCHAR(50)); "
      "INSERT INTO FF VALUES (1, '[10,20]'), (2, '[30]'), (3, '[]')");
  EXPECT_EQ(db.Query("SELECT FF.ID, P.value FROM FF cross apply dbo.json_each(FF.J) P "
                     "ORDER BY FF.ID, P.value"),
            (Rows{{"1", "10"}, {"1", "20"}, {"2", "30"}}));
  try {
    db.Run("SELECT * FROM FF cross apply dbo.FNMISSING(FF.ID) P");
    ADD_FAILURE() << "unknown table function accepted";
  } catch (const DbError& e) {
    EXPECT_EQ(e.description(),
              "Translator: unknown table function FNMISSING near 'dbo' at line 1, column 30");
  }
}

TEST_F(TranslatorExecTest, OrderByNameSortsByTheSelectListColumnOfThatName) {
  // FF and the function's rows both have a column "value"; the host sorts by
  // the one in the select list, whichever table it comes from.
  struct JsonCatalog : Catalog {
    bool IsTableFunction(std::string_view name) const override { return name == "json_each"; }
  };
  JsonCatalog catalog;
  TranslatedDb db(&catalog);
  db.Run(
      "CREATE TABLE FF (ID INT, J VARCHAR(50), value INT); "
      "INSERT INTO FF VALUES (1, '[20,10]', 2), (2, '[30]', 1)");
  EXPECT_EQ(db.Query("SELECT FF.ID, P.value FROM FF cross apply dbo.json_each(FF.J) P "
                     "ORDER BY value"),
            (Rows{{"1", "10"}, {"1", "20"}, {"2", "30"}}));
  EXPECT_EQ(db.Query("SELECT FF.ID, FF.value, P.value AS V FROM FF cross apply "
                     "dbo.json_each(FF.J) P ORDER BY Value, V DESC"),
            (Rows{{"2", "1", "30"}, {"1", "2", "20"}, {"1", "2", "10"}}));
  // Positions, expressions and qualified names keep their meaning.
  EXPECT_EQ(db.Query("SELECT FF.ID, P.value FROM FF cross apply dbo.json_each(FF.J) P "
                     "ORDER BY FF.value, 2 DESC"),
            (Rows{{"2", "30"}, {"1", "20"}, {"1", "10"}}));
  EXPECT_EQ(db.Query("SELECT FF.ID, P.value FROM FF cross apply dbo.json_each(FF.J) P "
                     "ORDER BY 0 - P.value"),
            (Rows{{"2", "30"}, {"1", "20"}, {"1", "10"}}));
  // A compound is sorted by the columns of its first SELECT.
  EXPECT_EQ(db.Query("SELECT FF.ID, P.value FROM FF cross apply dbo.json_each(FF.J) P "
                     "UNION ALL SELECT 9, 15 ORDER BY value DESC"),
            (Rows{{"2", "30"}, {"1", "20"}, {"9", "15"}, {"1", "10"}}));
  EXPECT_EQ(db.Query("SELECT DISTINCT P.value, FF.ID FROM FF cross apply dbo.json_each(FF.J) P "
                     "UNION SELECT 15, 9 ORDER BY ID DESC, value"),
            (Rows{{"15", "9"}, {"30", "2"}, {"10", "1"}, {"20", "1"}}));
}

TEST_F(TranslatorExecTest, HostColumnTypesStoreValuesAsTheHostDoes) {
  db_.Run(
      "CREATE TABLE TIPI (ID INT NOT NULL, CODICE VARCHAR(10) NOT NULL, FISSO CHAR(25), "
      "N SMALLINT, FLAG BIT, IMPORTO DECIMAL(18,5), QUANDO DATETIME, F FLOAT, "
      "G UNIQUEIDENTIFIER, NOME SYSNAME NULL, NOTE NVARCHAR(MAX), "
      "CONSTRAINT PK_TIPI PRIMARY KEY (ID))");
  // Codes made of digits stay text; numbers given as text become numbers.
  db_.Run(
      "INSERT INTO TIPI VALUES (1, '0012', '007', '5', 1, '2', '2024-05-01 10:00:00', '1.5', "
      "'6F9619FF-8B86-D011-B42D-00C04FC964FF', '12', '3.0'), "
      "(2, 'ab', 'AB ', 7, 0, 1.25, '2024-05-02', 2, NULL, NULL, NULL)");
  EXPECT_EQ(db_.Query("SELECT CODICE, FISSO, N, FLAG, IMPORTO, QUANDO, F, NOME, NOTE FROM TIPI "
                      "WHERE ID = 1"),
            (Rows{{"0012", "007", "5", "1", "2", "2024-05-01 10:00:00", "1.5", "12", "3.0"}}));
  // How SQLite stored each value (typeof is no host function: asked directly).
  std::vector<std::string> kinds;
  for (const char* column :
       {"ID", "CODICE", "FISSO", "N", "FLAG", "IMPORTO", "QUANDO", "F", "G", "NOME", "NOTE"}) {
    const std::string sql = std::string("SELECT typeof(") + column + ") FROM TIPI WHERE ID = 1";
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db_.db(), sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sql;
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW) << sql;
    kinds.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{"integer", "text", "text", "integer", "integer",
                                             "integer", "text", "real", "text", "text", "text"}));
  // Text columns compare, group and sort as the host's collation says.
  db_.Run("INSERT INTO TIPI (ID, CODICE, FISSO) VALUES (3, 'AB  ', 'ab')");
  EXPECT_EQ(db_.Query("SELECT COUNT(DISTINCT CODICE), COUNT(DISTINCT FISSO) FROM TIPI"),
            (Rows{{"2", "2"}}));
  EXPECT_EQ(db_.Query("SELECT ID FROM TIPI WHERE CODICE = FISSO ORDER BY ID"),
            (Rows{{"2"}, {"3"}}));
  // A join (SQLite builds an automatic index) matches blanks and case the same way.
  EXPECT_EQ(db_.Query("SELECT A.ID, B.ID FROM TIPI A JOIN TIPI B ON A.CODICE = B.FISSO "
                      "ORDER BY A.ID, B.ID"),
            (Rows{{"2", "2"}, {"2", "3"}, {"3", "2"}, {"3", "3"}}));
  // The key refuses a NULL, as the host's keys do, and a repeated value.
  EXPECT_THROW(db_.Run("INSERT INTO TIPI (ID, CODICE) VALUES (NULL, 'x')"), std::exception);
  EXPECT_THROW(db_.Run("INSERT INTO TIPI (ID, CODICE) VALUES (1, 'x')"), std::exception);
  EXPECT_EQ(db_.Query("SELECT COUNT(*) FROM TIPI"), (Rows{{"3"}}));
}

// The save of the project-node section, as the section builds it.
std::string NodeMerge(const db::Value& user, const db::Value& group, int company) {
  return sections::NodeStatements::Merge("##w", user, group, company);
}

TEST_F(TranslatorExecTest, MergeBringsTheTargetInLineWithTheSource) {
  db_.Run(
      "CREATE TABLE FW3N_RVKNODI (FW3N_ID INT IDENTITY(1,1) PRIMARY KEY, "
      "FW3N_DITTA_CG18 INT NOT NULL, FW3N_CODPROG_PD68 VARCHAR(25) NOT NULL, "
      "FW3N_CODNODO VARCHAR(25) NOT NULL, FW3N_ID_FW06 INT NULL, FW3N_ID_FW07 INT NULL)");
  // The rows the filter shows (INCLUSA 1): n1 revoked now, n2 allowed
  // again, N3 revoked in other case; n4 is filtered out.
  db_.Run(
      "SELECT 'p1' AS PROGETTO, 'n1' AS CODICE, 10 AS DITTARAG, 0 AS ABILITATO, 1 AS INCLUSA "
      "INTO ##w UNION ALL SELECT 'p1', 'n2', 10, 1, 1 UNION ALL SELECT 'P1', 'N3 ', 10, 0, 1 "
      "UNION ALL SELECT 'p1', 'n4', 10, 1, 0");
  // Existing rows: n2 revoked for group 5 (to be deleted), n3 revoked in
  // other case (kept: the host's comparison matches it), n4 revoked but not
  // shown (kept), another company and another principal (never touched).
  db_.Run(
      "INSERT INTO FW3N_RVKNODI (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, "
      "FW3N_ID_FW06, FW3N_ID_FW07) VALUES (10, 'p1', 'n2', 5, NULL), "
      "(10, 'p1', 'n3', 5, NULL), (10, 'p1', 'n4', 5, NULL), (20, 'p1', 'n2', 5, NULL), "
      "(10, 'p1', 'n2', NULL, 7)");
  const std::string group_merge = NodeMerge(db::Value::Null(), db::Value(5), 10);
  std::shared_ptr<const Translation> t = db_.translator().Translate(group_merge);
  ASSERT_EQ(t->steps.size(), 1u);
  EXPECT_EQ(t->steps[0].kind, Step::Kind::kAtomic);
  db_.Run(group_merge);
  const std::string all =
      "SELECT FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, ISNULL(FW3N_ID_FW06, 0), "
      "ISNULL(FW3N_ID_FW07, 0) FROM FW3N_RVKNODI ORDER BY FW3N_DITTA_CG18, FW3N_CODNODO, "
      "FW3N_ID_FW06";
  Rows expected = {{"10", "p1", "n1", "5", "0"},
                   {"10", "p1", "n2", "0", "7"},
                   {"10", "p1", "n3", "5", "0"},
                   {"10", "p1", "n4", "5", "0"},
                   {"20", "p1", "n2", "5", "0"}};
  EXPECT_EQ(db_.Query(all), expected);
  // Running it again changes nothing.
  db_.Run(group_merge);
  EXPECT_EQ(db_.Query(all), expected);
  // A user's MERGE writes NULL in the group column.
  db_.Run("UPDATE ##w SET ABILITATO = 0");
  db_.Run(NodeMerge(db::Value(7), db::Value::Null(), 10));
  EXPECT_EQ(db_.Query("SELECT FW3N_CODNODO FROM FW3N_RVKNODI WHERE FW3N_ID_FW07 = 7 AND "
                      "FW3N_ID_FW06 IS NULL ORDER BY FW3N_CODNODO"),
            (Rows{{"n1"}, {"n2"}, {"N3 "}}));
}

TEST_F(TranslatorExecTest, TransferStatementsOfTheTransferSection) {
  db_.Run(
      "CREATE TABLE MG58_DEPOSITI (MG58_DITTA_CG18 INT NOT NULL, MG58_CODDEP VARCHAR(10) NOT "
      "NULL, MG58_DESCRDEP VARCHAR(40) NULL)\r\n"
      "CREATE TABLE FW3E_RVKDEPCOLL (FW3E_ID INT IDENTITY(1,1) PRIMARY KEY, FW3E_ID_FW07 INT "
      "NULL, FW3E_ID_FW06 INT NULL, FW3E_DITTA_CG18 INT NOT NULL, FW3E_CODDEP_ORI VARCHAR(10) "
      "NOT NULL, FW3E_CODDEP_DES VARCHAR(10) NOT NULL, FW3E_FLGABILITATO INT NOT NULL DEFAULT "
      "0)\r\n"
      "INSERT INTO MG58_DEPOSITI VALUES (1, 'A', 'Alfa'), (1, 'b', NULL), (2, 'Z', 'Zeta')");
  using sections::TransferStatements;
  const store::Principal group = store::Principal::Group(4);
  // The matrix catalogue: one column per warehouse, named with brackets.
  EXPECT_EQ(db_.Query(TransferStatements::Catalogue(1, {"C_A", "C_b"})),
            (Rows{{"A", "A - Alfa", "1", "1"}, {"b", "b", "1", "1"}}));
  // Revoke every pair for group 4; a second run inserts nothing more.
  const std::string all = TransferStatements::InsertMissingPairs(db::Value::Null(), 4, 1);
  db_.Run(all);
  db_.Run(all);
  EXPECT_EQ(db_.Query("SELECT FW3E_CODDEP_ORI, FW3E_CODDEP_DES, FW3E_FLGABILITATO FROM "
                      "FW3E_RVKDEPCOLL ORDER BY FW3E_ID"),
            (Rows{{"A", "A", "0"}, {"A", "b", "0"}, {"b", "A", "0"}, {"b", "b", "0"}}));
  // The host's comparison finds the pair whatever the case and trailing blanks.
  db_.Run(TransferStatements::DeletePair(group, 1, "a", "B "));
  EXPECT_EQ(db_.Query(TransferStatements::ProbeOrigin(group, 1, "A")), (Rows{{"1"}}));
  EXPECT_EQ(db_.Query("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL"), (Rows{{"3"}}));
  EXPECT_TRUE(db_.Query(TransferStatements::ProbeOrigin(store::Principal::User(4), 1, "A")).empty())
      << "another principal's rows are not its own";
}

TEST_F(TranslatorExecTest, FailedMergeLeavesTheTargetAsItWas) {
  db_.Run("CREATE TABLE TGT (K VARCHAR(5) NOT NULL, V INT NOT NULL)");
  db_.Run("INSERT INTO TGT VALUES ('a', 1), ('b', 2)");
  db_.Run("CREATE TABLE SRC (K VARCHAR(5), V INT); INSERT INTO SRC VALUES ('c', NULL)");
  // The delete of 'a' and 'b' runs first; the insert then fails on NOT NULL.
  EXPECT_THROW(db_.Run("MERGE TGT AS t USING (SELECT K, V FROM SRC) AS s (K, V) ON t.K = s.K "
                       "WHEN NOT MATCHED BY SOURCE THEN DELETE "
                       "WHEN NOT MATCHED THEN INSERT (K, V) VALUES (s.K, s.V);"),
               std::runtime_error);
  EXPECT_EQ(db_.Query("SELECT K, V FROM TGT ORDER BY K"), (Rows{{"a", "1"}, {"b", "2"}}));
}

TEST_F(TranslatorExecTest, MergeMatchedActionsSeeTheStateBeforeTheStatement) {
  db_.Run("CREATE TABLE TGT (K VARCHAR(5) NOT NULL, V INT NOT NULL)");
  db_.Run("INSERT INTO TGT VALUES ('a', 1), ('b', 2), ('c', 3)");
  db_.Run(
      "CREATE TABLE SRC (K VARCHAR(5), V INT); INSERT INTO SRC VALUES ('A', 10), ('b', 20), "
      "('d', 40)");
  // Deleting matched rows must not make their source rows look unmatched.
  db_.Run(
      "MERGE INTO TGT USING SRC AS s ON TGT.K = s.K "
      "WHEN MATCHED AND s.V > 15 THEN DELETE "
      "WHEN NOT MATCHED BY TARGET THEN INSERT VALUES (s.K, s.V);");
  EXPECT_EQ(db_.Query("SELECT K, V FROM TGT ORDER BY K"),
            (Rows{{"a", "1"}, {"c", "3"}, {"d", "40"}}));
  db_.Run(
      "MERGE TGT AS t USING (SELECT K, V FROM SRC) AS s ON t.K = s.K "
      "WHEN MATCHED THEN UPDATE SET t.V = s.V + t.V "
      "WHEN NOT MATCHED BY SOURCE AND t.V < 5 THEN UPDATE SET V = 0;");
  EXPECT_EQ(db_.Query("SELECT K, V FROM TGT ORDER BY K"),
            (Rows{{"a", "11"}, {"c", "0"}, {"d", "80"}}));
}

TEST_F(TranslatorExecTest, MergeMatchingATargetRowTwiceFailsAsOnTheHost) {
  db_.Run("CREATE TABLE TGT (K VARCHAR(5) NOT NULL, V INT NOT NULL)");
  db_.Run("INSERT INTO TGT VALUES ('a', 1), ('b', 2)");
  db_.Run("CREATE TABLE SRC (K VARCHAR(5), V INT)");
  db_.Run("INSERT INTO SRC VALUES ('a', 10), ('A ', 20), ('b', 30), ('c', 40)");
  for (const char* action : {"UPDATE SET t.V = s.V", "DELETE"}) {
    try {
      db_.Run(std::string("MERGE TGT AS t USING (SELECT K, V FROM SRC) AS s ON t.K = s.K "
                          "WHEN MATCHED THEN ") +
              action + " WHEN NOT MATCHED BY TARGET THEN INSERT (K, V) VALUES (s.K, s.V);");
      ADD_FAILURE() << action;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("attempted to UPDATE or DELETE the same row more "
                                           "than once"),
                std::string::npos)
          << e.what();
    }
    EXPECT_EQ(db_.Query("SELECT K, V FROM TGT ORDER BY K"), (Rows{{"a", "1"}, {"b", "2"}}));
  }
  // Rows matched twice that the action's condition leaves alone, and
  // several matches without a MATCHED action, are fine on the host too.
  db_.Run(
      "MERGE TGT AS t USING SRC AS s ON t.K = s.K "
      "WHEN MATCHED AND s.V >= 30 THEN UPDATE SET t.V = s.V "
      "WHEN NOT MATCHED BY TARGET THEN INSERT (K, V) VALUES (s.K, s.V);");
  EXPECT_EQ(db_.Query("SELECT K, V FROM TGT ORDER BY K"),
            (Rows{{"a", "1"}, {"b", "30"}, {"c", "40"}}));
  db_.Run("MERGE TGT AS t USING SRC AS s ON t.K = s.K WHEN NOT MATCHED BY SOURCE THEN DELETE;");
  EXPECT_EQ(db_.Query("SELECT COUNT(*) FROM TGT"), (Rows{{"3"}}));
}

}  // namespace
}  // namespace orv::db::sqlite
