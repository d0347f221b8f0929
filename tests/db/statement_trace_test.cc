// The statement observer of a connection and the trace written from it:
// every call to the driver, as the driver got it, with its outcome.
#include "db/statement_trace.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "db/command.h"
#include "db/connection.h"
#include "db/recordset_text.h"
#include "db/sqlite/stand_in_translator.h"

namespace orv::db {
namespace {

using sqlite::Step;
using sqlite::Translation;
using sqlite::testing::StandInTranslator;

// The trace with every elapsed time as "T ms".
std::string Timeless(const std::string& trace) {
  return std::regex_replace(trace, std::regex("[0-9]+\\.[0-9]{3} ms"), "T ms");
}

class StatementTraceTest : public ::testing::Test {
 protected:
  std::shared_ptr<Connection> OpenTraced(const std::string& connection_string) {
    auto connection = Connection::Create();
    connection->SetStatementObserver(trace_, "test");
    connection->Open(connection_string);
    return connection;
  }

  std::ostringstream full_;
  std::ostringstream distinct_;
  std::shared_ptr<StatementTrace> trace_ = std::make_shared<StatementTrace>(&full_, &distinct_);
};

TEST_F(StatementTraceTest, EveryCallWithItsOutcomeAndNoPassword) {
  auto connection = OpenTraced("Database=:memory:;UID=sa;PWD=s3cret!");
  connection->Execute("CREATE TABLE art (code VARCHAR(10) PRIMARY KEY, qty INT)");
  {
    Transaction tx(*connection);
    connection->Execute("INSERT INTO art VALUES ('A', 1)");
    connection->Execute("INSERT INTO art VALUES ('B', 2)");
    tx.Commit();
  }
  connection->Execute("SELECT code FROM art ORDER BY code");
  EXPECT_THROW(connection->Execute("SELECT nope FROM art"), DbError);
  {
    // A transaction given up rolls back in the trace too; the failure stays
    // in Errors().
    Transaction tx(*connection);
    EXPECT_THROW(connection->Execute("INSERT INTO art VALUES ('A', 3)"), DbError);
  }
  EXPECT_FALSE(connection->Errors().empty());
  const std::string trace = Timeless(full_.str());
  EXPECT_EQ(trace.find("s3cret"), std::string::npos) << trace;
  EXPECT_EQ(trace.substr(0, trace.find("-- 8 ")),
            "-- 1 test open Database=:memory:;UID=sa;PWD=***\n"
            "-- 2 test T ms, 0 rows affected\n"
            "CREATE TABLE art (code VARCHAR(10) PRIMARY KEY, qty INT)\nGO\n"
            "-- 3 test T ms, 0 rows affected\nBEGIN TRANSACTION\nGO\n"
            "-- 4 test T ms, 1 row affected\nINSERT INTO art VALUES ('A', 1)\nGO\n"
            "-- 5 test T ms, 1 row affected\nINSERT INTO art VALUES ('B', 2)\nGO\n"
            "-- 6 test T ms, 0 rows affected\nCOMMIT TRANSACTION\nGO\n"
            "-- 7 test T ms, 2 rows\nSELECT code FROM art ORDER BY code\nGO\n");
  EXPECT_NE(trace.find("-- 8 test T ms, failed: error "), std::string::npos) << trace;
  EXPECT_NE(trace.find("-- 10 test T ms, failed: error "), std::string::npos) << trace;
  EXPECT_NE(trace.find("-- 11 test T ms, 0 rows affected\nROLLBACK TRANSACTION\nGO\n"),
            std::string::npos)
      << trace;
  EXPECT_EQ(trace_->count(), 11);
}

TEST_F(StatementTraceTest, AFailedOpeningIsReportedWithoutItsPassword) {
  auto connection = Connection::Create();
  connection->SetStatementObserver(trace_, "test");
  EXPECT_THROW(connection->Open("Driver=Nessuno;Server=x;PWD=s3cret!"), DbError);
  const std::string trace = full_.str();
  EXPECT_EQ(trace.rfind("-- 1 test open Driver=Nessuno;Server=x;PWD=***, failed: error ", 0), 0u)
      << trace;
  EXPECT_EQ(trace.find("s3cret"), std::string::npos) << trace;
}

TEST_F(StatementTraceTest, DistinctListsEachStatementOnceAndPauseWritesNothing) {
  auto connection = OpenTraced("Database=:memory:");
  for (int i = 0; i < 3; ++i) connection->Execute("SELECT 1");
  connection->Execute("SELECT 'it''s'");
  trace_->set_enabled(false);
  connection->Execute("SELECT 2");
  trace_->set_enabled(true);
  connection->Execute("SELECT 1");
  EXPECT_EQ(distinct_.str(), "SELECT 1\nGO\nSELECT 'it''s'\nGO\n");
  EXPECT_EQ(trace_->distinct(), (std::vector<std::string>{"SELECT 1", "SELECT 'it''s'"}));
  EXPECT_EQ(trace_->count(), 6);  // the opening and five statements
  EXPECT_EQ(full_.str().find("SELECT 2"), std::string::npos);
}

TEST_F(StatementTraceTest, ConnectionsCreatedUnderADefaultObserverReport) {
  Connection::SetDefaultStatementObserver(trace_, "all");
  auto connection = Connection::Create();
  Connection::SetDefaultStatementObserver(nullptr);
  auto unwatched = Connection::Create();
  connection->Open("Database=:memory:");
  unwatched->Open("Database=:memory:");
  connection->Execute("SELECT 'watched'");
  unwatched->Execute("SELECT 'not watched'");
  connection->SetStatementObserver(nullptr);
  connection->Execute("SELECT 'after'");
  EXPECT_EQ(trace_->distinct(), (std::vector<std::string>{"SELECT 'watched'"}));
  EXPECT_NE(full_.str().find("-- 2 all "), std::string::npos) << full_.str();
}

TEST_F(StatementTraceTest, StoredProceduresAreWrittenAsTheirExecWithInputs) {
  StandInTranslator translator;
  Step create;
  create.kind = Step::Kind::kCreateRoutine;
  create.routine.type = Step::Routine::Type::kProcedure;
  create.routine.name = "SP_Reload";
  create.routine.params = {"@IdUtente", "@Ditta"};
  create.routine.param_types = {"INT", "VARCHAR(5)"};
  create.routine.body = "reload body";
  translator.Add("CREATE PROCEDURE SP_Reload", Translation{{create}});
  translator.Add("reload body",
                 Translation{{StandInTranslator::Statement(
                     "INSERT INTO calls (utente, ditta) VALUES (@IdUtente, @Ditta)")}});
  auto connection = Connection::Create();
  connection->SetStatementObserver(trace_, "test");
  connection->Open(translator.Open("Database=:memory:"));
  connection->Execute("CREATE TABLE calls (utente INT, ditta VARCHAR(5))");
  connection->Execute("CREATE PROCEDURE SP_Reload");
  Command cmd;
  cmd.ActiveConnection = connection;
  cmd.CommandText = "SP_Reload";
  cmd.CommandType = kAdCmdStoredProc;
  cmd.SetParameter("IdUtente", Value(7));
  cmd.SetParameter("Ditta", Value("D'1"));
  cmd.Execute();
  connection->Execute("SP_Reload", nullptr, kAdCmdStoredProc);
  EXPECT_EQ(trace_->distinct(),
            (std::vector<std::string>{"CREATE TABLE calls (utente INT, ditta VARCHAR(5))",
                                      "CREATE PROCEDURE SP_Reload",
                                      "EXEC SP_Reload @IdUtente = 7, @Ditta = 'D''1'",
                                      "EXEC SP_Reload @IdUtente = NULL, @Ditta = NULL"}));
  EXPECT_NE(Timeless(full_.str()).find("T ms, 1 row affected\nEXEC SP_Reload @IdUtente = 7"),
            std::string::npos)
      << full_.str();

  std::vector<ParameterInfo> params{
      {"@In", DataType::kInteger, 0, ParameterDirection::kInput},
      {"@Out", DataType::kInteger, 0, ParameterDirection::kOutput},
      {"@Both", DataType::kVarChar, 5, ParameterDirection::kInputOutput}};
  EXPECT_EQ(StatementTrace::ProcedureCall("P", params, {Value(1), Value(2), Value::Null()}),
            "EXEC P @In = 1, @Both = NULL");
  EXPECT_EQ(StatementTrace::ProcedureCall("P", {}, {}), "EXEC P");
}

}  // namespace
}  // namespace orv::db
