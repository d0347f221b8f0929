// The server driver against a real driver manager (unixODBC) and a real
// driver: the SQLite ODBC driver, registered for the test in a private
// odbcinst.ini/odbc.ini (ODBCSYSINI), so no root and no system files.
//
// What that driver cannot stand in for: SQL Server's dialect (the statements
// here are plain SQL both engines accept) and stored procedures (SQLite has
// none, so the driver's "{CALL ...}" with bound parameters only meets the
// procedure look-up here). The module's T-SQL statements and procedure calls
// are checked against a T-SQL grammar by the statement check of .ci/run
// (scripts/check_statements.sh); the embedded engine runs the procedures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "db/row_sink.h"

#if defined(ORV_HAVE_ODBC) && defined(ORV_SQLITE_ODBC_DRIVER)
#include "db/odbc/odbc_driver.h"
#endif

namespace orv::db {
namespace {

#if defined(ORV_HAVE_ODBC) && defined(ORV_SQLITE_ODBC_DRIVER)

namespace fs = std::filesystem;

// The driver registered as "SQLite3 (orvelka tests)" and a data source
// "orv_sqlite" on a database file of the test's folder. The driver manager
// reads ODBCSYSINI once per process, at its first call, so the files are
// written and the variables set while the program starts, before any test.
const fs::path& IniFolder() {
  static const fs::path dir = [] {
    const fs::path d =
        fs::temp_directory_path() / ("orv-odbc-sqlite-" + std::to_string(::getpid()));
    fs::remove_all(d);
    fs::create_directories(d);
    std::ofstream(d / "odbcinst.ini") << "[SQLite3 (orvelka tests)]\n"
                                      << "Description=SQLite3 ODBC driver\n"
                                      << "Driver=" << ORV_SQLITE_ODBC_DRIVER << "\n";
    std::ofstream(d / "odbc.ini") << "[orv_sqlite]\n"
                                  << "Driver=SQLite3 (orvelka tests)\n"
                                  << "Database=" << (d / "dsn.db").string() << "\n"
                                  << "[orv_broken]\n"
                                  << "Driver=SQLite3 (orvelka tests)\n"
                                  << "Database=/nonexistent/folder/x.db\n";
    ::setenv("ODBCSYSINI", d.c_str(), 1);
    ::setenv("ODBCINSTINI", "odbcinst.ini", 1);
    ::setenv("ODBCINI", (d / "odbc.ini").c_str(), 1);
    return d;
  }();
  return dir;
}
const bool kIniFolderReady = !IniFolder().empty();

// Under AddressSanitizer the data-source (DSN=) cases are left out: the SQLite
// ODBC driver leaks what it reads from odbc.ini for a data source (memory of
// the driver, outside this program), which the leak check would report. The
// default build runs them.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kDataSourceCases = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kDataSourceCases = false;
#else
constexpr bool kDataSourceCases = true;
#endif
#else
constexpr bool kDataSourceCases = true;
#endif

class OdbcSqliteTest : public ::testing::Test {
 protected:
  static void TearDownTestSuite() {
    for (const auto& entry : fs::directory_iterator(IniFolder())) {
      if (entry.path().extension() == ".db") fs::remove(entry.path());
    }
  }

  void SetUp() override {
    ASSERT_TRUE(kIniFolderReady);
    database_ =
        (IniFolder() /
         (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".db"))
            .string();
    fs::remove(database_);
  }

  std::string DsnLess() const {
    return std::string("Driver=") + ORV_SQLITE_ODBC_DRIVER + ";Database=" + database_;
  }
  std::shared_ptr<Connection> Open(const std::string& text) {
    auto cn = Connection::Create();
    cn->Open(text);
    return cn;
  }
  static std::string Scalar(Connection& cn, const std::string& sql) {
    auto rs = cn.Execute(sql);
    EXPECT_TRUE(rs && rs->IsOpen() && !rs->IsEof()) << sql;
    const Value v = rs->Field(0);
    return v.IsNull() ? "NULL" : v.ToText();
  }

  std::string database_;
};

TEST_F(OdbcSqliteTest, ConnectsThroughADataSourceAndWithoutOneAndDisconnects) {
  std::vector<std::string> texts = {
      DsnLess(), std::string("Driver={SQLite3 (orvelka tests)};Database=") + database_};
  if (kDataSourceCases) texts.push_back("DSN=orv_sqlite");
  for (const std::string& text : texts) {
    auto cn = Open(text);
    ASSERT_TRUE(cn->IsOpen()) << text;
    EXPECT_EQ(cn->driver().Name(), "ODBC");
    // Not SQL Server: no SET NOCOUNT OFF was sent (SQLite would refuse it).
    EXPECT_EQ(dynamic_cast<odbc::OdbcDriver&>(cn->driver()).DbmsName(), "SQLite");
    EXPECT_EQ(Scalar(*cn, "SELECT 40 + 2"), "42") << text;
    cn->Close();
    EXPECT_FALSE(cn->IsOpen());
    cn->Open(text);  // again on the same object
    EXPECT_EQ(Scalar(*cn, "SELECT 'again'"), "again");
  }
  // The data source's file is the one odbc.ini names.
  if (kDataSourceCases) {
    EXPECT_TRUE(fs::exists(IniFolder() / "dsn.db"));
  }
}

TEST_F(OdbcSqliteTest, StatementErrorsCarrySqlStateAndNativeCode) {
  auto cn = Open(DsnLess());
  struct Case {
    const char* sql;
    const char* text;  // part of the driver's message
  };
  for (const Case& c : {Case{"SELECT * FROM ORV_NO_SUCH_TABLE", "no such table"},
                        Case{"SELEKT 1", "syntax error"}}) {
    try {
      cn->Execute(c.sql);
      FAIL() << c.sql;
    } catch (const DbError& e) {
      EXPECT_NE(std::string(e.what()).find(c.text), std::string::npos) << e.what();
      ASSERT_FALSE(cn->Errors().empty());
      const DriverMessage& m = cn->Errors().front();
      EXPECT_EQ(m.sql_state.size(), 5u) << m.sql_state;
      EXPECT_NE(m.sql_state.substr(0, 2), "00") << m.sql_state;
      EXPECT_NE(m.number, 0) << m.description;
      EXPECT_NE(m.description.find(c.text), std::string::npos) << m.description;
    }
  }
  // The connection stays usable after a failed statement.
  EXPECT_EQ(Scalar(*cn, "SELECT 1"), "1");
  EXPECT_TRUE(cn->Errors().empty());
}

TEST_F(OdbcSqliteTest, RowCountsNullsLongAndUtf8TextRoundTrip) {
  auto cn = Open(DsnLess());
  cn->Execute("CREATE TABLE T (ID INTEGER NOT NULL, TESTO VARCHAR(200000) NULL, N INTEGER NULL)",
              nullptr, kAdExecuteNoRecords);
  int64_t affected = -1;
  cn->Execute("INSERT INTO T (ID, TESTO, N) VALUES (1, 'a', 1), (2, NULL, NULL), (3, 'c', 3)",
              &affected);
  EXPECT_EQ(affected, 3);
  cn->Execute("UPDATE T SET N = 10 WHERE ID >= 2", &affected);
  EXPECT_EQ(affected, 2);
  cn->Execute("UPDATE T SET N = 10 WHERE ID = 99", &affected);
  EXPECT_EQ(affected, 0);
  cn->Execute("DELETE FROM T WHERE ID = 3", &affected);
  EXPECT_EQ(affected, 1);

  EXPECT_EQ(Scalar(*cn, "SELECT TESTO FROM T WHERE ID = 2"), "NULL");
  EXPECT_EQ(Scalar(*cn, "SELECT COUNT(*) FROM T WHERE TESTO IS NULL"), "1");

  // UTF-8 text, and text longer than the driver's read buffer, come back whole.
  const std::string utf8 = "Società Cooperativa «Colli» € — 日本 ü";
  std::string long_text;
  for (int i = 0; long_text.size() < 100000; ++i) long_text += "riga " + std::to_string(i) + "; ";
  long_text += "àé";
  cn->Execute("UPDATE T SET TESTO = '" + utf8 + "' WHERE ID = 1");
  cn->Execute("INSERT INTO T (ID, TESTO) VALUES (4, '" + long_text + "')");
  EXPECT_EQ(Scalar(*cn, "SELECT TESTO FROM T WHERE ID = 1"), utf8);
  EXPECT_EQ(Scalar(*cn, "SELECT TESTO FROM T WHERE ID = 4"), long_text);
  EXPECT_EQ(Scalar(*cn, "SELECT LENGTH(TESTO) FROM T WHERE ID = 4"),
            std::to_string(long_text.size() - 2));  // characters, not bytes

  // Columns arrive with their names, types and NULLs for the recordset.
  auto rs = cn->Execute("SELECT ID, TESTO, N FROM T ORDER BY ID");
  ASSERT_TRUE(rs && rs->IsOpen());
  ASSERT_EQ(rs->FieldCount(), 3);
  EXPECT_EQ(rs->FieldAt(0).name, "ID");
  EXPECT_EQ(rs->FieldAt(1).name, "TESTO");
  int rows = 0;
  for (; !rs->IsEof(); rs->MoveNext()) ++rows;
  EXPECT_EQ(rows, 3);
}

TEST_F(OdbcSqliteTest, BatchUpdateOfARecordsetWritesThroughTheDriver) {
  // The editor's work tables are saved with UpdateBatch, which relies on the
  // row count of each UPDATE and DELETE to find a row changed meanwhile.
  auto cn = Open(DsnLess());
  cn->Execute("CREATE TABLE W (ID INTEGER NOT NULL PRIMARY KEY, FLG SMALLINT NOT NULL)", nullptr,
              kAdExecuteNoRecords);
  cn->Execute("INSERT INTO W (ID, FLG) VALUES (1, 0), (2, 0), (3, 0)", nullptr,
              kAdExecuteNoRecords);
  auto rs = std::make_shared<Recordset>();
  rs->Open("SELECT ID, FLG FROM W ORDER BY ID", cn);
  rs->SetField("FLG", Value(1));
  rs->Update();
  rs->MoveNext();
  rs->Delete();
  rs->UpdateBatch();
  EXPECT_EQ(Scalar(*cn, "SELECT SUM(FLG) || '/' || COUNT(*) FROM W"), "1/2");

  // A row deleted behind the recordset's back is reported, not skipped.
  rs->MoveFirst();
  rs->SetField("FLG", Value(0));
  rs->Update();
  cn->Execute("DELETE FROM W WHERE ID = 1", nullptr, kAdExecuteNoRecords);
  EXPECT_THROW(rs->UpdateBatch(), DbError);
}

TEST_F(OdbcSqliteTest, OneResultPerStatementAndABatchRefusedByTheDriverIsReported) {
  // The SQLite ODBC driver runs one statement per call and says so for a
  // batch; a server's several results of one batch (SQLMoreResults) cannot
  // be had from it. What it does show: the end of the results is found
  // after the first, and the driver's refusal arrives as a DbError.
  auto cn = Open(DsnLess());
  auto first = cn->Execute("SELECT 'uno' AS A, 2 AS B");
  ASSERT_TRUE(first && first->IsOpen());
  EXPECT_EQ(first->Field("A").ToText(), "uno");
  EXPECT_EQ(first->Field("B").ToText(), "2");
  EXPECT_EQ(cn->NextRecordset(), nullptr);
  try {
    cn->Execute("SELECT 1 AS A; SELECT 2 AS B");
    ADD_FAILURE() << "the driver ran a batch";
  } catch (const DbError& e) {
    EXPECT_NE(std::string(e.what()).find("only one SQL statement"), std::string::npos) << e.what();
  }
}

TEST_F(OdbcSqliteTest, AStreamedResultIsTheExecutedOne) {
  // The server driver streams by reading its results whole first: the sink
  // sees the columns, the count and every row as Execute gives them.
  struct Sink : RowSink {
    void BeginResult(const std::vector<FieldInfo>& fields, int64_t records_affected) override {
      for (const FieldInfo& f : fields) log += f.name + ",";
      log += std::to_string(records_affected) + ";";
    }
    void Row(std::span<Value> values) override {
      for (const Value& v : values) log += v.DebugString() + ",";
      log += ";";
    }
    std::string log;
  };
  auto cn = Open(DsnLess());
  cn->Execute("CREATE TABLE S (ID INTEGER, T VARCHAR(40))");
  cn->Execute("INSERT INTO S VALUES (1, 'una riga lunga più di sedici byte'), (2, NULL)");
  Sink rows;
  cn->ExecuteStreaming("SELECT ID, T FROM S ORDER BY ID", rows);
  EXPECT_EQ(rows.log, "ID,T,-1;1,'una riga lunga più di sedici byte',;2,<null>,;");
  Sink update;
  cn->ExecuteStreaming("UPDATE S SET T = 'x'", update);
  EXPECT_EQ(update.log, "2;");
}

TEST_F(OdbcSqliteTest, TransactionsCommitAndRollBack) {
  auto cn = Open(DsnLess());
  cn->Execute("CREATE TABLE T (ID INTEGER)", nullptr, kAdExecuteNoRecords);
  cn->BeginTrans();
  cn->Execute("INSERT INTO T VALUES (1)", nullptr, kAdExecuteNoRecords);
  cn->RollbackTrans();
  EXPECT_EQ(Scalar(*cn, "SELECT COUNT(*) FROM T"), "0");
  cn->BeginTrans();
  cn->Execute("INSERT INTO T VALUES (2)", nullptr, kAdExecuteNoRecords);
  cn->CommitTrans();
  auto other = Open(DsnLess());
  EXPECT_EQ(Scalar(*other, "SELECT ID FROM T"), "2");
}

TEST_F(OdbcSqliteTest, ValuesBoundToMarkersGoBesideTheText) {
  auto cn = Open(DsnLess());
  cn->Execute("CREATE TABLE T (ID INTEGER, TESTO VARCHAR(40) NULL, X DOUBLE NULL)", nullptr,
              kAdExecuteNoRecords);
  const std::string insert = "INSERT INTO T (ID, TESTO, X) VALUES (?, ?, ?)";
  int64_t affected = -1;
  cn->Execute(insert, {Value(1), Value("l'uno"), Value(0.5)}, &affected);
  EXPECT_EQ(affected, 1);
  // The same text again: other values, a NULL where text was.
  cn->Execute(insert, {Value(2), Value::Null(), Value(true)}, nullptr, kAdExecuteNoRecords);
  auto rs = cn->Execute("SELECT TESTO, X FROM T WHERE ID = ? OR TESTO = ? ORDER BY ID",
                        {Value(2), Value("l'uno")});
  ASSERT_TRUE(rs && rs->IsOpen());
  EXPECT_EQ(rs->Field(0).ToText(), "l'uno");
  EXPECT_EQ(rs->Field(1).ToDouble(), 0.5);
  rs->MoveNext();
  EXPECT_TRUE(rs->Field(0).IsNull());
  EXPECT_EQ(rs->Field(1).ToDouble(), 1.0);
  // Values and markers not as many: refused before anything runs.
  cn->BeginTrans();
  try {
    cn->Execute(insert, {Value(3)});
    ADD_FAILURE() << "three markers ran with one value";
  } catch (const DbError& e) {
    EXPECT_NE(std::string(e.what()).find("parameter markers"), std::string::npos) << e.what();
  }
  cn->Execute(insert, {Value(3), Value("tre"), Value::Null()});
  cn->CommitTrans();
  EXPECT_EQ(Scalar(*cn, "SELECT COUNT(*) FROM T"), "3");
  // Text longer than the sizes texts are declared with arrives whole.
  for (size_t length : {size_t{300}, size_t{9000}}) {
    const std::string text(length, 'x');
    cn->Execute(insert, {Value(static_cast<int64_t>(length)), Value(text), Value::Null()});
    auto back =
        cn->Execute("SELECT TESTO FROM T WHERE ID = ?", {Value(static_cast<int64_t>(length))});
    EXPECT_EQ(back->Field(0).ToText(), text);
  }
}

TEST_F(OdbcSqliteTest, AProcedureTheServerDoesNotHaveIsNamed) {
  // The procedure look-up runs SQLProcedureColumns and SQLProcedures on a
  // driver that has no procedures at all.
  auto cn = Open(DsnLess());
  try {
    cn->driver().DescribeProcedure("dbo.SPFW_ReloadListaCFRevocati");
    FAIL();
  } catch (const DbError& e) {
    EXPECT_NE(std::string(e.what()).find("SPFW_ReloadListaCFRevocati"), std::string::npos)
        << e.what();
  }
}

TEST_F(OdbcSqliteTest, ALoginFailureNamesTheDataSourceAndNeverThePassword) {
  // A data source whose database cannot be opened: the driver refuses the
  // connection as a server refuses a login (the data source itself exists).
  std::vector<std::string> texts = {std::string("Driver=") + ORV_SQLITE_ODBC_DRIVER +
                                    ";Database=/nonexistent/folder/x.db;UID=sa;PWD={Segreto;99}"};
  if (kDataSourceCases) texts.push_back("DSN=orv_broken;UID=sa;PWD=Segreto99");
  for (const std::string& text : texts) {
    auto cn = Connection::Create();
    try {
      cn->Open(text);
      FAIL() << "opened " << text;
    } catch (const DbError& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.find("Segreto"), std::string::npos) << what;
      const std::string source = text.starts_with("DSN") ? "DSN=orv_broken" : "x.db";
      EXPECT_NE(what.find(source), std::string::npos) << what;
      EXPECT_EQ(what.find("Data source name not found"), std::string::npos) << what;
      for (const DriverMessage& m : cn->Errors()) {
        EXPECT_EQ(m.description.find("Segreto"), std::string::npos) << m.description;
      }
    }
    EXPECT_FALSE(cn->IsOpen());
  }
}

TEST_F(OdbcSqliteTest, ALostDatabaseFailsEachCallClearlyAndCloses) {
  // SQLite has no link to lose; a database file destroyed under an open
  // connection is the nearest: every later call must fail with the driver's
  // message, never crash or report success, and the connection must still
  // close and open again.
  auto cn = Open(DsnLess());
  cn->Execute("CREATE TABLE T (ID INTEGER)", nullptr, kAdExecuteNoRecords);
  cn->Execute("INSERT INTO T VALUES (1)", nullptr, kAdExecuteNoRecords);
  {
    std::ofstream garbage(database_, std::ios::binary | std::ios::trunc);
    garbage << std::string(8192, 'x');
  }
  for (int i = 0; i < 2; ++i) {
    EXPECT_THROW(cn->Execute("SELECT ID FROM T"), DbError);
    ASSERT_FALSE(cn->Errors().empty());
    EXPECT_FALSE(cn->Errors().front().description.empty());
  }
  EXPECT_NO_THROW(cn->Close());
  fs::remove(database_);
  cn->Open(DsnLess());
  EXPECT_EQ(Scalar(*cn, "SELECT 5"), "5");
}

#endif

}  // namespace
}  // namespace orv::db
