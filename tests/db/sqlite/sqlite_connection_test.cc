// The embedded engine as the module uses it: host-dialect text through
// orv::db::Connection and Command, on real SQLite databases.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "db/command.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "db/sqlite/sqlite_driver.h"
#include "db/sqlite/translator.h"

namespace orv::db {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("orv_conn_" + std::to_string(getpid()) + "_" + name))
      .string();
}

// Every row of a recordset as "a|b;c|d", from its current position.
std::string Rows(Recordset& rs) {
  std::string out;
  for (; !rs.IsEof(); rs.MoveNext()) {
    if (!out.empty()) out += ";";
    for (int i = 0; i < rs.FieldCount(); ++i) {
      if (i > 0) out += "|";
      const Value& v = rs.Field(i);
      out += v.IsNull() ? "<null>" : v.ToText();
    }
  }
  return out;
}

class SqliteConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name() +
                     std::string(".db"));
    std::filesystem::remove(path_);
    connection_ = Open();
    connection_->Execute(
        "CREATE TABLE CLIENTI (CODICE VARCHAR(10) NOT NULL PRIMARY KEY, "
        "RAGSOC VARCHAR(40) NULL, ZONA INT NULL)");
    connection_->Execute(
        "INSERT INTO CLIENTI (CODICE, RAGSOC, ZONA) VALUES ('C1', 'Rossi', 1);"
        "INSERT INTO CLIENTI (CODICE, RAGSOC, ZONA) VALUES ('c2', 'Bianchi', 2);"
        "INSERT INTO CLIENTI (CODICE, RAGSOC, ZONA) VALUES ('C3', 'Verdi', NULL)");
  }
  void TearDown() override {
    connection_.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix);
  }

  std::shared_ptr<Connection> Open() {
    auto connection = Connection::Create();
    connection->Open("Driver=SQLite;Database=" + path_ + ";Create=yes");
    return connection;
  }

  std::string Query(Connection& connection, const std::string& sql) {
    std::shared_ptr<Recordset> rs = connection.Execute(sql);
    return Rows(*rs);
  }

  template <typename F>
  static std::string ErrorOf(F&& f) {
    try {
      f();
    } catch (const DbError& e) {
      return e.description();
    }
    return "";
  }

  std::string path_;
  std::shared_ptr<Connection> connection_;
};

TEST_F(SqliteConnectionTest, BatchResultsComeInOrderThroughNextRecordset) {
  int64_t affected = -2;
  std::shared_ptr<Recordset> rs = connection_->Execute(
      "UPDATE CLIENTI SET ZONA = 9 WHERE ZONA IS NULL\r\n"
      "select CODICE from CLIENTI where ZONA = 9;\r\n"
      "SELECT COUNT(*) AS N FROM CLIENTI",
      &affected);
  EXPECT_FALSE(rs->IsOpen());  // the UPDATE's result: no rows, a count
  EXPECT_EQ(affected, 1);
  rs = connection_->NextRecordset();
  ASSERT_TRUE(rs);
  // Fields know their table: text type, the key, nullability, base table and column.
  const FieldInfo& code = rs->FieldAt(0);
  EXPECT_EQ(code.type, DataType::kVarChar);
  EXPECT_TRUE(code.key);
  EXPECT_FALSE(code.nullable);
  EXPECT_EQ(code.base_table, "CLIENTI");
  EXPECT_EQ(code.base_column, "CODICE");
  EXPECT_EQ(Rows(*rs), "C3");
  rs = connection_->NextRecordset();
  ASSERT_TRUE(rs);
  EXPECT_EQ(Rows(*rs), "3");
  EXPECT_FALSE(connection_->NextRecordset());
}

TEST_F(SqliteConnectionTest, TextComparesAsTheHostServerDoes) {
  EXPECT_EQ(Query(*connection_, "SELECT RAGSOC FROM CLIENTI WHERE CODICE = 'c1  '"), "Rossi");
  EXPECT_EQ(Query(*connection_, "SELECT COUNT(*) FROM CLIENTI WHERE CODICE IN ('C2', 'c3')"), "2");
  EXPECT_EQ(Query(*connection_, "SELECT CASE WHEN 'A' = 'A ' AND 'a' = 'A' THEN 1 ELSE 0 END"),
            "1");
  // The primary key's index folds case too.
  EXPECT_THAT(ErrorOf([&] { connection_->Execute("INSERT INTO CLIENTI (CODICE) VALUES ('C2 ')"); }),
              HasSubstr("UNIQUE constraint failed"));
  EXPECT_EQ(Query(*connection_, "SELECT COUNT(*) FROM CLIENTI"), "3");
  EXPECT_EQ(Query(*connection_,
                  "SELECT COUNT(*) FROM (SELECT CODICE FROM (SELECT CODICE FROM CLIENTI "
                  "UNION ALL SELECT 'c1 ') X GROUP BY CODICE) Y"),
            "3");
  EXPECT_EQ(
      Query(*connection_, "SELECT COUNT(*) FROM (SELECT CODICE FROM CLIENTI UNION SELECT 'C2') X"),
      "3");
  EXPECT_EQ(Query(*connection_,
                  "SELECT COUNT(DISTINCT RAGSOC) FROM (SELECT RAGSOC FROM CLIENTI "
                  "UNION ALL SELECT 'ROSSI') X"),
            "3");
}

TEST_F(SqliteConnectionTest, PlusAndNewIdFollowTheHost) {
  EXPECT_EQ(Query(*connection_,
                  "SELECT 'a' + 'b', 1 + 2, 1 + '2', RAGSOC + ' (' + CODICE + ')' "
                  "FROM CLIENTI WHERE CODICE = 'C1'"),
            "ab|3|3|Rossi (C1)");
  EXPECT_EQ(Query(*connection_,
                  "SELECT ISNULL(CONVERT(VARCHAR(10), ZONA) + '!', 'none') "
                  "FROM CLIENTI ORDER BY CODICE"),
            "1!;2!;none");
  const std::string error =
      ErrorOf([&] { connection_->Execute("SELECT 1 + RAGSOC FROM CLIENTI"); });
  EXPECT_THAT(
      error,
      HasSubstr("Conversion failed when converting the varchar value 'Rossi' to data type int."));
  ASSERT_FALSE(connection_->Errors().empty());
  EXPECT_THAT(connection_->Errors()[0].description, HasSubstr("Conversion failed"));

  const std::string id = Query(*connection_, "SELECT NEWID()");
  EXPECT_TRUE(std::regex_match(
      id, std::regex("\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}")))
      << id;
}

TEST_F(SqliteConnectionTest, GlobalTempTablesAreSeenByOthersAndGoWithTheirMaker) {
  auto other = Open();
  const std::string drop_if_any =
      "if object_id('tempdb..##orv_conn_t') is not null BEGIN DROP TABLE ##orv_conn_t END";
  connection_->Execute(drop_if_any);  // absent: nothing happens
  connection_->Execute("SELECT CODICE, RAGSOC INTO ##orv_conn_t FROM CLIENTI WHERE ZONA = 1");
  EXPECT_EQ(Query(*other, "SELECT CODICE FROM ##orv_conn_t"), "C1");
  connection_->Close();
  EXPECT_THAT(ErrorOf([&] { other->Execute("SELECT CODICE FROM ##orv_conn_t"); }),
              HasSubstr("no such table"));

  connection_ = Open();
  connection_->Execute("SELECT CODICE INTO ##orv_conn_t FROM CLIENTI");
  other->Execute(drop_if_any);  // present: dropped, from another connection
  EXPECT_THAT(ErrorOf([&] { connection_->Execute("SELECT CODICE FROM ##orv_conn_t"); }),
              HasSubstr("no such table"));
}

TEST_F(SqliteConnectionTest, TablesMadeBySelectIntoCompareAsTheHostDoes) {
  int64_t affected = -2;
  connection_->Execute(
      "SELECT CODICE, RAGSOC AS NOME, ZONA, ZONA * 2 AS DOPPIA, 'k' AS K INTO ##orv_conn_into "
      "FROM CLIENTI ORDER BY RAGSOC",
      &affected);
  EXPECT_EQ(affected, 3);
  // The rows as they were selected, in their order, typed as before.
  EXPECT_EQ(Query(*connection_, "SELECT * FROM ##orv_conn_into"),
            "c2|Bianchi|2|4|k;C1|Rossi|1|2|k;C3|Verdi|<null>|<null>|k");
  // Case and trailing blanks are ignored by comparisons, grouping and keys.
  EXPECT_EQ(Query(*connection_, "SELECT NOME FROM ##orv_conn_into WHERE CODICE = 'C2 '"),
            "Bianchi");
  EXPECT_EQ(Query(*connection_,
                  "SELECT COUNT(*) FROM ##orv_conn_into A INNER JOIN ##orv_conn_into B ON "
                  "A.K = UPPER(B.K) AND A.CODICE = B.CODICE"),
            "3");
  connection_->Execute("CREATE UNIQUE INDEX IX_orv_conn_into ON ##orv_conn_into (ZONA, CODICE)");
  EXPECT_THAT(
      ErrorOf([&] {
        connection_->Execute("INSERT INTO ##orv_conn_into (CODICE, ZONA) VALUES ('c1 ', 1)");
      }),
      HasSubstr("UNIQUE constraint failed"));
  // So the translated comparisons search that index by its whole key.
  auto* driver = dynamic_cast<sqlite::SqliteDriver*>(&connection_->driver());
  ASSERT_NE(driver, nullptr);
  const std::string update =
      sqlite::Translator()
          .Translate("UPDATE ##orv_conn_into SET K = 'z' WHERE ZONA = 1 AND CODICE = 'C1'")
          ->steps.at(0)
          .sql;
  sqlite3_stmt* plan = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(driver->handle(), ("EXPLAIN QUERY PLAN " + update).c_str(), -1,
                               &plan, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_step(plan), SQLITE_ROW);
  const std::string detail = reinterpret_cast<const char*>(sqlite3_column_text(plan, 3));
  sqlite3_finalize(plan);
  EXPECT_THAT(detail, HasSubstr("(ZONA=? AND CODICE=?)"));

  // A SELECT ... INTO that fails on a row leaves no table behind.
  EXPECT_THAT(
      ErrorOf([&] {
        connection_->Execute("SELECT CODICE, ZONA + RAGSOC AS N INTO ##orv_conn_bad FROM CLIENTI");
      }),
      HasSubstr("Conversion failed"));
  EXPECT_THAT(ErrorOf([&] { connection_->Execute("SELECT COUNT(*) FROM ##orv_conn_bad"); }),
              HasSubstr("no such table"));
  connection_->Execute("DROP TABLE ##orv_conn_into");
}

// '+' between a text and a column declared as text is a plain concatenation
// on the engine; it gives what the host's rules give at run time, which a
// column of a temporary table (whose types are not known) still follows.
TEST_F(SqliteConnectionTest, TextColumnsConcatenateAsTheHostDoes) {
  connection_->Execute(
      "INSERT INTO CLIENTI (CODICE, RAGSOC, ZONA) VALUES ('N4', 12, 4), ('N5', NULL, 5)");
  connection_->Execute("SELECT * INTO ##orv_conn_cat FROM CLIENTI");
  const std::string concat = "SELECT 'p' + RAGSOC + CODICE AS X, CODICE + RAGSOC AS Y";
  for (const char* code : {"C1", "C3", "N4", "N5"}) {
    SCOPED_TRACE(code);
    const std::string where = std::string(" WHERE CODICE = '") + code + "'";
    EXPECT_EQ(Query(*connection_, concat + " FROM CLIENTI" + where),
              Query(*connection_, concat + " FROM ##orv_conn_cat" + where));
  }
  EXPECT_EQ(Query(*connection_, "SELECT 'p' + RAGSOC + CODICE FROM CLIENTI ORDER BY CODICE"),
            "pRossiC1;pBianchic2;pVerdiC3;p12N4;<null>");
  // A number and a text that is no number still fail as on the host.
  EXPECT_THAT(ErrorOf([&] { Query(*connection_, "SELECT ZONA + CODICE FROM CLIENTI"); }),
              HasSubstr("Conversion failed"));
  connection_->Execute("DROP TABLE ##orv_conn_cat");
}

// A table made by SELECT ... INTO and keyed by the next statement of the
// same batch is keyed before it is filled. What the batch leaves, reports and
// refuses is what the two statements give when run one after the other.
TEST_F(SqliteConnectionTest, ATableKeyedInTheBatchThatMakesItEndsAsIfKeyedAfterwards) {
  struct Outcome {
    int64_t affected = -2;
    std::string error;
    std::string rows;     // the table as left, or the error of reading it
    std::string refused;  // the error of a second 'c1 ', or "" when taken
  };
  auto run = [&](const std::string& table, const std::string& key, bool one_batch) {
    const std::string into = "SELECT CODICE, RAGSOC AS NOME, ZONA, 'k' AS K INTO " + table +
                             " FROM CLIENTI ORDER BY RAGSOC";
    const std::string index =
        "CREATE UNIQUE CLUSTERED INDEX IX_" + table.substr(2) + " ON " + table + " (" + key + ")";
    Outcome out;
    out.error = ErrorOf([&] {
      if (one_batch) {
        connection_->Execute(into + "\r\n" + index, &out.affected);
      } else {
        connection_->Execute(into, &out.affected);
        connection_->Execute(index);
      }
    });
    const std::string unread =
        ErrorOf([&] { out.rows = Query(*connection_, "SELECT * FROM " + table); });
    if (!unread.empty()) out.rows = unread;
    out.refused = ErrorOf([&] {
      connection_->Execute("INSERT INTO " + table + " (CODICE, ZONA, K) VALUES ('c1 ', 1, 'j')");
    });
    connection_->Execute("if object_id('tempdb.." + table + "') is not null DROP TABLE " + table);
    return out;
  };
  // Which of the batch's statements the engine ran, in order.
  std::vector<std::string> ran;
  auto* driver = dynamic_cast<sqlite::SqliteDriver*>(&connection_->driver());
  ASSERT_NE(driver, nullptr);
  sqlite3_trace_v2(
      driver->handle(), SQLITE_TRACE_STMT,
      [](unsigned, void* seen, void* stmt, void*) {
        const std::string sql = sqlite3_sql(static_cast<sqlite3_stmt*>(stmt));
        if (sql.rfind("CREATE UNIQUE INDEX", 0) == 0 || sql.rfind("INSERT INTO", 0) == 0) {
          static_cast<std::vector<std::string>*>(seen)->push_back(sql.substr(0, 11));
        }
        return 0;
      },
      &ran);

  // A key the rows fit: keyed first, then filled.
  const Outcome batch = run("##orv_k", "CODICE", true);
  EXPECT_EQ(ran, (std::vector<std::string>{"CREATE UNIQ", "INSERT INTO", "INSERT INTO"}));
  const Outcome apart = run("##orv_k", "CODICE", false);
  EXPECT_EQ(batch.error, "");
  EXPECT_EQ(batch.rows, "c2|Bianchi|2|k;C1|Rossi|1|k;C3|Verdi|<null>|k");
  EXPECT_EQ(batch.rows, apart.rows);
  EXPECT_EQ(batch.affected, apart.affected);
  // The key compares as the host does: 'c1 ' is 'C1'.
  EXPECT_THAT(batch.refused, HasSubstr("UNIQUE constraint failed"));
  EXPECT_EQ(batch.refused, apart.refused);

  // Rows the key refuses, and a key on a column the table lacks: the table
  // is made and filled, the key is not, and the error is the key's.
  for (const std::string key : {"K", "ZONA, K, NESSUNA"}) {
    SCOPED_TRACE(key);
    const Outcome failed = run("##orv_k", key, true);
    const Outcome failed_apart = run("##orv_k", key, false);
    EXPECT_NE(failed.error, "");
    EXPECT_EQ(failed.error, failed_apart.error);
    EXPECT_EQ(failed.rows, "c2|Bianchi|2|k;C1|Rossi|1|k;C3|Verdi|<null>|k");
    EXPECT_EQ(failed.refused, "");  // no key: the row is taken
  }
  sqlite3_trace_v2(driver->handle(), 0, nullptr, nullptr);

  // The table a refused key leaves belongs to the connection that made it,
  // as when the two statements run apart: it goes when that one closes.
  auto maker = Open();
  EXPECT_THAT(ErrorOf([&] {
                maker->Execute(
                    "SELECT 'k' AS K INTO ##orv_k FROM CLIENTI\r\n"
                    "CREATE UNIQUE CLUSTERED INDEX IX_orv_k ON ##orv_k (K)");
              }),
              HasSubstr("UNIQUE constraint failed"));
  EXPECT_EQ(Query(*connection_, "SELECT COUNT(*) FROM ##orv_k"), "3");
  maker->Close();
  EXPECT_THAT(ErrorOf([&] { connection_->Execute("SELECT COUNT(*) FROM ##orv_k"); }),
              HasSubstr("no such table"));
}

TEST_F(SqliteConnectionTest, ProceduresRunWithNamedParameters) {
  connection_->Execute("CREATE TABLE LOG_ZONE (CODICE VARCHAR(10), ZONA INT)");
  connection_->Execute(
      "CREATE PROCEDURE dbo.SPFW_SetZona @Codice VARCHAR(10), @Zona INT AS\r\n"
      "BEGIN\r\n"
      "  UPDATE CLIENTI SET ZONA = @Zona WHERE CODICE = @Codice;\r\n"
      "  INSERT INTO LOG_ZONE (CODICE, ZONA) VALUES (@Codice, @Zona);\r\n"
      "END");
  Command command;
  command.ActiveConnection = connection_;
  command.CommandType = kAdCmdStoredProc;
  command.CommandText = "SPFW_SetZona";
  command.CommandTimeout = 0;
  ASSERT_EQ(command.Parameters().size(), 2u);
  command.SetParameter("@Zona", 7);
  command.SetParameter("Codice", "c3");
  command.Execute();
  EXPECT_EQ(Query(*connection_, "SELECT ZONA FROM CLIENTI WHERE CODICE = 'C3'"), "7");

  connection_->Execute("EXEC SPFW_SetZona @Zona = 8, @Codice = 'C1'");
  EXPECT_EQ(Query(*connection_, "SELECT CODICE, ZONA FROM LOG_ZONE ORDER BY ZONA"), "c3|7;C1|8");
  // Stored in the database: a new connection runs it too.
  auto other = Open();
  other->Execute("EXEC dbo.SPFW_SetZona 'C2', 5");
  EXPECT_EQ(Query(*other, "SELECT ZONA FROM CLIENTI WHERE CODICE = 'C2'"), "5");
}

TEST_F(SqliteConnectionTest, CrossApplyPassesArgumentsFromTheLeft) {
  connection_->Execute("CREATE TABLE ZONE (ZONA INT, DESCR VARCHAR(20))");
  connection_->Execute(
      "INSERT INTO ZONE (ZONA, DESCR) VALUES (1, 'Nord'); "
      "INSERT INTO ZONE (ZONA, DESCR) VALUES (2, 'Sud')");
  connection_->Execute(
      "CREATE FUNCTION dbo.FN_Zona (@Zona INT, @Prefisso VARCHAR(5))\r\n"
      "RETURNS TABLE AS RETURN (SELECT @Prefisso + DESCR AS ETICHETTA FROM ZONE "
      "WHERE ZONA = @Zona)");
  EXPECT_EQ(Query(*connection_,
                  "SELECT C.CODICE, P.ETICHETTA FROM CLIENTI C "
                  "cross apply dbo.FN_Zona(C.ZONA, 'z-') P ORDER BY C.CODICE"),
            "C1|z-Nord;c2|z-Sud");
}

// A simple function is joined in place of running it row by row; the rows
// must be those of the function run as a table of its own (its twin below,
// whose qualified column keeps it one).
TEST_F(SqliteConnectionTest, AppliedFunctionsJoinedInPlaceGiveTheRowsOfTheFunction) {
  connection_->Execute(
      "CREATE TABLE SEDI (CODICE VARCHAR(10) NOT NULL, ZONA INT NOT NULL, DESCR VARCHAR(20) NULL, "
      "OBSOLETA SMALLINT NOT NULL, CONSTRAINT PK_SEDI PRIMARY KEY (CODICE, ZONA))");
  connection_->Execute(
      "INSERT INTO SEDI (CODICE, ZONA, DESCR, OBSOLETA) VALUES ('C1', 1, 'uno', 0);"
      "INSERT INTO SEDI (CODICE, ZONA, DESCR, OBSOLETA) VALUES ('C2 ', 2, 'due', 0);"
      "INSERT INTO SEDI (CODICE, ZONA, DESCR, OBSOLETA) VALUES ('c3', 5, NULL, 0);"
      "INSERT INTO SEDI (CODICE, ZONA, DESCR, OBSOLETA) VALUES ('C3', 1, 'vecchia', 1);"
      "INSERT INTO SEDI (CODICE, ZONA, DESCR, OBSOLETA) VALUES ('C4', 1, 'quattro', 0);"
      "INSERT INTO CLIENTI (CODICE, RAGSOC, ZONA) VALUES ('C4', '1', 1)");
  const char* kBody =
      "(@Codice VARCHAR(10), @Zona INT) RETURNS TABLE AS RETURN (SELECT CODICE, ZONA, DESCR "
      "FROM SEDI WHERE CODICE = @Codice AND @Zona = ZONA AND OBSOLETA = 0)";
  connection_->Execute(std::string("CREATE FUNCTION dbo.FN_Sede ") + kBody);
  std::string twin = kBody;
  twin.replace(twin.find("CODICE = @Codice"), 6, "SEDI.CODICE");
  connection_->Execute("CREATE FUNCTION dbo.FN_SedeTwin " + twin);
  // Text keys equal but for case and trailing blanks, NULL arguments, text
  // compared with a number, an obsolete row, several rows per client.
  const char* const kQueries[] = {
      "SELECT C.CODICE, P.CODICE, P.ZONA, P.DESCR FROM CLIENTI C cross apply dbo.%s(C.CODICE, "
      "C.ZONA) P ORDER BY C.CODICE, P.ZONA",
      "SELECT C.CODICE, P.DESCR FROM CLIENTI C cross apply dbo.%s(C.CODICE, C.RAGSOC) P "
      "ORDER BY 1",
      "SELECT DISTINCT P.ZONA, P.DESCR FROM SEDI S cross apply dbo.%s(S.CODICE, S.ZONA) P "
      "LEFT JOIN CLIENTI ON CLIENTI.ZONA = P.ZONA ORDER BY P.ZONA",
      "SELECT COUNT(*) FROM SEDI S cross apply dbo.%s(S.CODICE, NULL) P",
      "SELECT COUNT(*) FROM SEDI S cross apply dbo.%s(LOWER(S.CODICE) + ' ', S.ZONA) P",
  };
  for (const char* query : kQueries) {
    char inlined[512];
    char kept[512];
    std::snprintf(inlined, sizeof inlined, query, "FN_Sede");
    std::snprintf(kept, sizeof kept, query, "FN_SedeTwin");
    const std::string rows = Query(*connection_, inlined);
    EXPECT_EQ(rows, Query(*connection_, kept)) << query;
    EXPECT_FALSE(rows.empty()) << query;
  }
  EXPECT_EQ(Query(*connection_,
                  "SELECT C.CODICE, P.ZONA FROM CLIENTI C cross apply dbo.FN_Sede(C.CODICE, "
                  "C.ZONA) P ORDER BY C.CODICE"),
            "C1|1;c2|2;C4|1");
}

// Statements that differ only in their constants run as one prepared
// statement with the constants bound: what they mean must not change.
TEST_F(SqliteConnectionTest, ConstantsBoundAsParametersKeepTheirMeaning) {
  for (int i = 0; i < 30; ++i) {
    connection_->Execute("INSERT INTO CLIENTI (CODICE, RAGSOC, ZONA) VALUES ('0" +
                         std::to_string(i) + "', 'R''" + std::to_string(i) + "', " +
                         std::to_string(i) + ")");
  }
  EXPECT_EQ(
      Query(*connection_, "SELECT COUNT(*) FROM CLIENTI WHERE CODICE LIKE '0%' AND ZONA < 30"),
      "30");
  // A text compared with a number column, text compared as the host does.
  EXPECT_EQ(Query(*connection_, "SELECT CODICE, RAGSOC FROM CLIENTI WHERE ZONA = '7'"), "07|R'7");
  EXPECT_EQ(Query(*connection_, "SELECT CODICE FROM CLIENTI WHERE CODICE = 'c1 '"), "C1");
  EXPECT_EQ(Query(*connection_,
                  "SELECT 'z-' + CODICE AS K, ZONA + 1 AS N FROM CLIENTI WHERE CODICE = 'C1'"),
            "z-C1|2");
  EXPECT_THAT(ErrorOf([&] { connection_->Execute("SELECT 'a' + 1 AS X"); }),
              HasSubstr("Conversion failed when converting the varchar value 'a'"));
  // A column without an alias keeps the name of its text.
  std::shared_ptr<Recordset> rs = connection_->Execute("SELECT 1, 'a', 2 AS B");
  ASSERT_EQ(rs->FieldCount(), 3);
  EXPECT_EQ(rs->FieldAt(0).name, "1");
  EXPECT_EQ(rs->FieldAt(2).name, "B");
  EXPECT_EQ(Rows(*rs), "1|a|2");
  // Procedures take constants as arguments as before.
  connection_->Execute(
      "CREATE PROCEDURE dbo.SP_Zona @Codice VARCHAR(10), @Zona INT AS "
      "UPDATE CLIENTI SET ZONA = @Zona WHERE CODICE = @Codice");
  connection_->Execute("EXEC dbo.SP_Zona 'C3', 9");
  connection_->Execute("EXEC dbo.SP_Zona @Codice = '07', @Zona = '70'");
  EXPECT_EQ(Query(*connection_, "SELECT ZONA FROM CLIENTI WHERE CODICE IN ('C3', '07') ORDER BY 1"),
            "9;70");
}

// A statement run again with other constants reuses its prepared statement
// and what the driver learnt of its parameters: every run must bind its own
// values, for a statement of hundreds of constants and for the second
// statement of a batch (whose parameters do not start at the first).
TEST_F(SqliteConnectionTest, RepeatedStatementsBindTheirOwnConstantsEachRun) {
  for (int i = 0; i < 300; ++i) {
    connection_->Execute("INSERT INTO CLIENTI (CODICE, RAGSOC, ZONA) VALUES ('K" +
                         std::to_string(i) + "', 'R', " + std::to_string(i) + ")");
  }
  for (int run = 0; run < 3; ++run) {
    // 250 codes of which those below 100 + 100 * run exist.
    std::string in;
    for (int i = 0; i < 250; ++i) {
      in += (i == 0 ? "'K" : ", 'K") + std::to_string(i * (run + 1)) + "'";
    }
    const int expected = run == 0 ? 250 : run == 1 ? 150 : 100;
    EXPECT_EQ(Query(*connection_, "SELECT COUNT(*) FROM CLIENTI WHERE CODICE IN (" + in + ")"),
              std::to_string(expected))
        << run;
    connection_->Execute(
        "UPDATE CLIENTI SET RAGSOC = 'was " + std::to_string(run) +
        "' WHERE CODICE = 'C1'; UPDATE CLIENTI SET ZONA = " + std::to_string(40 + run) +
        " WHERE CODICE = 'K" + std::to_string(run) + "'");
    EXPECT_EQ(Query(*connection_, "SELECT RAGSOC FROM CLIENTI WHERE CODICE = 'C1'"),
              "was " + std::to_string(run));
    EXPECT_EQ(Query(*connection_,
                    "SELECT ZONA FROM CLIENTI WHERE CODICE = 'K" + std::to_string(run) + "'"),
              std::to_string(40 + run));
  }
}

// Conversions to text that the declared types make simpler give what the
// host gives.
TEST_F(SqliteConnectionTest, ConversionsToTextOfTypedColumns) {
  connection_->Execute(
      "CREATE TABLE CONV (CODICE VARCHAR(6) NULL, N INT NULL, F FLOAT NULL, C CHAR(3) NULL)");
  connection_->Execute(
      "INSERT INTO CONV (CODICE, N, F, C) VALUES ('ab', 12, 2.0, 'x');"
      "INSERT INTO CONV (CODICE, N, F, C) VALUES ('abcdef', -7, 2.5, 'yz');"
      "INSERT INTO CONV (CODICE, N, F, C) VALUES (NULL, NULL, NULL, NULL)");
  EXPECT_EQ(Query(*connection_,
                  "SELECT CONVERT(VARCHAR(10), CODICE) + '|' + CONVERT(VARCHAR(3), CODICE) + '|' + "
                  "CONVERT(VARCHAR(10), N) + '|' + CONVERT(VARCHAR(10), F) AS T FROM CONV "
                  "ORDER BY N"),
            "<null>;abcdef|abc|-7|2.5;ab|ab|12|2");
  // A converted column still compares as text of the host.
  EXPECT_EQ(Query(*connection_,
                  "SELECT C.CODICE FROM CONV V JOIN CLIENTI C ON CONVERT(VARCHAR(10), V.N + 0) = "
                  "CONVERT(VARCHAR(10), C.ZONA) OR CONVERT(VARCHAR(10), V.CODICE) = 'AB ' ORDER BY "
                  "C.CODICE"),
            "C1;c2;C3");
}

TEST_F(SqliteConnectionTest, FieldsReportTheHostTypesAndSizesOfTheirColumns) {
  connection_->Execute(
      "CREATE TABLE TIPI (ID INT IDENTITY(1,1) NOT NULL, CODICE VARCHAR(10) NOT NULL, "
      "FISSO CHAR(25) NULL, N SMALLINT NULL, FLAG BIT NULL, IMPORTO DECIMAL(18,5) NULL, "
      "QUANDO DATETIME NULL, GRANDE BIGINT NULL, NOME NVARCHAR(30) NULL, "
      "CONSTRAINT PK_TIPI PRIMARY KEY (ID))");
  connection_->Execute(
      "INSERT INTO TIPI (CODICE, FISSO, N, FLAG, IMPORTO, QUANDO, GRANDE, NOME) "
      "VALUES ('0012', 'ab', 3, 1, 2.5, '2024-05-01 10:00:00', 5, 'x')");
  std::shared_ptr<Recordset> rs = connection_->Execute("SELECT * FROM TIPI");
  struct Expected {
    const char* name;
    DataType type;
    int32_t size;
  };
  const Expected expected[] = {
      {"ID", DataType::kInteger, 0},     {"CODICE", DataType::kVarChar, 10},
      {"FISSO", DataType::kChar, 25},    {"N", DataType::kSmallInt, 0},
      {"FLAG", DataType::kBoolean, 0},   {"IMPORTO", DataType::kNumeric, 0},
      {"QUANDO", DataType::kDate, 0},    {"GRANDE", DataType::kBigInt, 0},
      {"NOME", DataType::kVarWChar, 30},
  };
  ASSERT_EQ(rs->FieldCount(), static_cast<int>(std::size(expected)));
  for (int i = 0; i < rs->FieldCount(); ++i) {
    const FieldInfo& f = rs->FieldAt(i);
    EXPECT_EQ(f.name, expected[i].name);
    EXPECT_EQ(f.type, expected[i].type) << f.name;
    EXPECT_EQ(f.defined_size, expected[i].size) << f.name;
  }
  EXPECT_TRUE(rs->FieldAt(0).key);
  EXPECT_FALSE(rs->FieldAt(1).nullable);
  // CHAR comes back padded to its size and BIT as a Boolean, as from the host.
  EXPECT_EQ(Rows(*rs), "1|0012|ab                       |3|True|2.5|2024-05-01 10:00:00|5|x");

  // Through a table function the columns keep their types.
  connection_->Execute(
      "CREATE FUNCTION dbo.FN_Tipi (@Id INT) RETURNS TABLE AS RETURN "
      "(SELECT CODICE, N FROM TIPI WHERE ID = @Id)");
  rs = connection_->Execute("SELECT P.CODICE, P.N FROM TIPI T cross apply dbo.FN_Tipi(T.ID) P");
  ASSERT_EQ(rs->FieldCount(), 2);
  EXPECT_EQ(rs->FieldAt(0).type, DataType::kVarChar);
  EXPECT_EQ(rs->FieldAt(0).defined_size, 10);
  EXPECT_EQ(rs->FieldAt(1).type, DataType::kSmallInt);
  EXPECT_EQ(Rows(*rs), "0012|3");

  // Text longer than the column is refused when written through the recordset.
  rs = connection_->Execute("SELECT ID, CODICE FROM TIPI");
  EXPECT_THAT(ErrorOf([&] { rs->SetField("CODICE", Value(std::string("01234567890"))); }),
              HasSubstr("exceeds size 10"));
}

TEST_F(SqliteConnectionTest, MergeIsAllOrNothing) {
  connection_->Execute("CREATE TABLE NUOVI (CODICE VARCHAR(10), RAGSOC VARCHAR(40))");
  connection_->Execute(
      "INSERT INTO NUOVI (CODICE, RAGSOC) VALUES ('C1', 'Rossi'); "
      "INSERT INTO NUOVI (CODICE, RAGSOC) VALUES (NULL, 'Senza codice')");
  const std::string merge =
      "MERGE CLIENTI AS T USING (SELECT CODICE, RAGSOC FROM NUOVI) AS S (CODICE, RAGSOC) "
      "ON (T.CODICE = S.CODICE) "
      "WHEN NOT MATCHED BY SOURCE AND T.ZONA IS NOT NULL THEN DELETE "
      "WHEN NOT MATCHED BY TARGET THEN INSERT (CODICE, RAGSOC) VALUES (S.CODICE, S.RAGSOC);";
  // The DELETE runs first; the INSERT of a NULL code then fails.
  EXPECT_THAT(ErrorOf([&] { connection_->Execute(merge); }), HasSubstr("NOT NULL"));
  EXPECT_EQ(Query(*connection_, "SELECT CODICE FROM CLIENTI ORDER BY CODICE"), "C1;c2;C3");

  connection_->Execute("UPDATE NUOVI SET CODICE = 'C9' WHERE CODICE IS NULL");
  connection_->Execute(merge);
  EXPECT_EQ(Query(*connection_, "SELECT CODICE FROM CLIENTI ORDER BY CODICE"), "C1;C3;C9");
}

TEST_F(SqliteConnectionTest, OpenFailuresAreClearAndKeepThePasswordSecret) {
  const std::string missing = TempPath("missing.db");
  auto connection = Connection::Create();
  const std::string error = ErrorOf([&] {
    connection->Open("Driver=SQLite;Database=" + missing + ";PWD=Sup3rSecret", "admin",
                     "An0therSecret");
  });
  EXPECT_THAT(error, HasSubstr("does not exist"));
  EXPECT_THAT(error, Not(HasSubstr("Sup3rSecret")));
  EXPECT_THAT(error, Not(HasSubstr("An0therSecret")));
  for (const DriverMessage& m : connection->Errors()) {
    EXPECT_THAT(m.description, Not(HasSubstr("Secret")));
  }
  EXPECT_FALSE(connection->IsOpen());
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(SqliteConnectionTest, TextLongerThanItsDeclaredColumnIsRefusedAsTheServerRefusesIt) {
  connection_->Execute(
      "CREATE TABLE FAMIGLIE (FAM VARCHAR(4) NOT NULL, SIGLA CHAR(2) NULL, DESCR NVARCHAR(5) NULL, "
      "NOTE VARCHAR(MAX) NULL, N INT NULL)");
  struct Case {
    const char* values;
    bool refused;
  };
  const Case cases[] = {
      {"'ABCD', 'AB', 'àèìòù', NULL, 1", false},  // exactly the declared lengths, in characters
      {"'AB  ', 'A ', 'x    ', NULL, 2", false},  // trailing blanks past the length are dropped
      {"'A', NULL, NULL, NULL, 3", false},
      {"'ABCDE', 'AB', NULL, NULL, 4", true},  // the five-character family code
      {"'AB', 'ABC', NULL, NULL, 5", true},
      {"'AB', 'A', 'àèìòùà', NULL, 6", true},
      {"' ABCD', NULL, NULL, NULL, 7", true},  // a leading blank counts
  };
  for (const Case& c : cases) {
    const std::string error = ErrorOf([&] {
      connection_->Execute(
          std::string("INSERT INTO FAMIGLIE (FAM, SIGLA, DESCR, NOTE, N) VALUES (") + c.values +
          ")");
    });
    if (c.refused) {
      EXPECT_THAT(error, HasSubstr("String or binary data would be truncated")) << c.values;
      EXPECT_THAT(error, HasSubstr("FAMIGLIE")) << c.values;
    } else {
      EXPECT_EQ(error, "") << c.values;
    }
  }
  EXPECT_EQ(Query(*connection_, "SELECT COUNT(*) FROM FAMIGLIE"), "3");
  // An update is held to the same lengths; long text in a MAX column is fine.
  EXPECT_THAT(ErrorOf([&] { connection_->Execute("UPDATE FAMIGLIE SET FAM = 'ABCDE'"); }),
              HasSubstr("column 'FAM'"));
  EXPECT_EQ(ErrorOf([&] {
              connection_->Execute("UPDATE FAMIGLIE SET NOTE = '" + std::string(9000, 'x') + "'");
            }),
            "");
  EXPECT_EQ(Query(*connection_, "SELECT MAX(LEN(FAM)) FROM FAMIGLIE"), "4");
}

}  // namespace
}  // namespace orv::db
