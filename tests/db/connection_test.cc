// Connection and Command over the embedded engine: results, batches, errors,
// transactions and stored procedures.
#include "db/connection.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "db/command.h"
#include "db/db_error.h"
#include "db/recordset_text.h"
#include "db/row_sink.h"
#include "db/statement_observer.h"
#include "db/sqlite/stand_in_translator.h"

namespace orv::db {
namespace {

using testing::ErrorNumber;
using testing::Rows;

using sqlite::Step;
using sqlite::Translation;
using sqlite::testing::StandInTranslator;

std::shared_ptr<Connection> OpenMemory() {
  auto connection = Connection::Create();
  connection->Open("Database=:memory:");
  connection->Execute("CREATE TABLE art (code VARCHAR(10) PRIMARY KEY, descr VARCHAR(40), qty INT)",
                      nullptr, kAdExecuteNoRecords);
  connection->Execute("INSERT INTO art VALUES ('A', 'Primo', 1)");
  connection->Execute("INSERT INTO art VALUES ('B', NULL, 2)");
  return connection;
}

TEST(ConnectionTest, ExecuteReturnsRowsOrAClosedRecordsetAndCountsChanges) {
  auto connection = OpenMemory();
  EXPECT_TRUE(connection->IsOpen());
  auto rs = connection->Execute("SELECT code, descr, qty FROM art ORDER BY code");
  ASSERT_TRUE(rs && rs->IsOpen());
  EXPECT_EQ(Rows(*rs), "A|Primo|1;B|<null>|2");
  EXPECT_EQ(rs->ActiveConnection(), connection);

  int64_t affected = -5;
  auto closed = connection->Execute("UPDATE art SET qty = qty + 1", &affected);
  ASSERT_TRUE(closed);
  EXPECT_FALSE(closed->IsOpen());
  EXPECT_EQ(affected, 2);
  EXPECT_EQ(ErrorNumber([&] { closed->EOF_(); }), kErrClosed);

  EXPECT_EQ(connection->Execute("DELETE FROM art WHERE code = 'Z'", &affected,
                                kAdCmdText | kAdExecuteNoRecords),
            nullptr);
  EXPECT_EQ(affected, 0);
  EXPECT_EQ(connection->NextRecordset(), nullptr);
}

TEST(ConnectionTest, BatchResultsComeThroughNextRecordsetInOrder) {
  StandInTranslator translator;
  translator.Add("the batch",
                 Translation{{StandInTranslator::Statement("SELECT 1 AS one"),
                              StandInTranslator::Statement("UPDATE art SET qty = 0"),
                              StandInTranslator::Statement("SELECT code FROM art ORDER BY code")}});
  auto connection = Connection::Create();
  connection->Open(translator.Open("Database=:memory:"));
  connection->Execute("CREATE TABLE art (code VARCHAR(10), qty INT)");
  connection->Execute("INSERT INTO art VALUES ('x', 1), ('y', 2)");

  auto first = connection->Execute("the batch");
  EXPECT_EQ(Rows(*first), "1");
  auto second = connection->NextRecordset();
  ASSERT_TRUE(second);
  EXPECT_FALSE(second->IsOpen());  // the UPDATE: no rows
  auto third = connection->NextRecordset();
  ASSERT_TRUE(third);
  EXPECT_EQ(Rows(*third), "x;y");
  EXPECT_EQ(connection->NextRecordset(), nullptr);
  // A new Execute drops what was left of the previous batch.
  connection->Execute("the batch");
  connection->Execute("SELECT 2");
  EXPECT_EQ(connection->NextRecordset(), nullptr);
}

TEST(ConnectionTest, FailureFillsErrorsUntilTheNextCall) {
  auto connection = OpenMemory();
  try {
    connection->Execute("SELECT nope FROM art");
    FAIL() << "a missing column was accepted";
  } catch (const DbError& e) {
    ASSERT_FALSE(connection->Errors().empty());
    EXPECT_NE(connection->Errors().front().description.find("nope"), std::string::npos)
        << connection->Errors().front().description;
    EXPECT_EQ(e.messages().size(), connection->Errors().size());
  }
  connection->Execute("SELECT 1");
  EXPECT_TRUE(connection->Errors().empty());
  // A duplicate key is refused and reported the same way.
  EXPECT_NE(ErrorNumber([&] { connection->Execute("INSERT INTO art VALUES ('A', 'x', 1)"); }), 0);
  EXPECT_FALSE(connection->Errors().empty());
  connection->ClearErrors();
  EXPECT_TRUE(connection->Errors().empty());
}

// What a sink was given, as text: "[fields|count]" per result, then its rows
// as "v|v" (DebugString of each value).
class RecordingSink : public RowSink {
 public:
  void BeginResult(const std::vector<FieldInfo>& fields, int64_t records_affected) override {
    std::string names;
    for (const FieldInfo& f : fields) names += (names.empty() ? "" : ",") + f.name;
    log_.push_back("[" + names + "|" + std::to_string(records_affected) + "]");
  }
  void Row(std::span<Value> values) override {
    std::string row;
    for (const Value& v : values) row += (row.empty() ? "" : "|") + v.DebugString();
    log_.push_back(row);
    if (++rows_ == throw_at_) throw DbError(kErrBadArgument, "the sink refused a row");
  }
  const std::vector<std::string>& log() const { return log_; }
  int throw_at_ = 0;  // the row (1-based, over every result) the sink refuses

 private:
  std::vector<std::string> log_;
  int rows_ = 0;
};

// The same as text from the materialised results of Execute.
std::vector<std::string> Materialised(Connection& cn, const std::string& sql) {
  std::vector<std::string> log;
  for (std::shared_ptr<Recordset> rs = cn.Execute(sql); rs; rs = cn.NextRecordset()) {
    std::string names;
    for (int i = 0; rs->IsOpen() && i < rs->FieldCount(); ++i) {
      names += (names.empty() ? "" : ",") + rs->FieldAt(i).name;
    }
    log.push_back("[" + names + "|" + (rs->IsOpen() ? "-1" : "?") + "]");
    if (!rs->IsOpen() || rs->RecordCount() == 0) continue;
    for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
      std::string row;
      for (int i = 0; i < rs->FieldCount(); ++i) {
        row += (row.empty() ? "" : "|") + rs->Field(i).DebugString();
      }
      log.push_back(row);
    }
  }
  return log;
}

TEST(ConnectionTest, StreamedResultsAreTheMaterialisedOnesInTheirOrder) {
  // Rows with texts long and short after one another (the driver refills
  // one buffer: nothing of a longer text may stay behind), fixed-length
  // text, NULLs, numbers; a statement without rows between two with rows.
  StandInTranslator translator;
  translator.Add("the batch",
                 Translation{{StandInTranslator::Statement(
                                  "SELECT code, descr, qty, fixed, price FROM art ORDER BY code"),
                              StandInTranslator::Statement("UPDATE art SET qty = qty"),
                              StandInTranslator::Statement("SELECT count(*) AS n FROM art")}});
  auto cn = Connection::Create();
  cn->Open(translator.Open("Database=:memory:"));
  cn->Execute("CREATE TABLE art (code VARCHAR(10), descr VARCHAR(60), qty INT, fixed CHAR(6), "
              "price FLOAT)");
  cn->Execute("INSERT INTO art VALUES ('A', 'una descrizione lunga oltre i sedici caratteri', 1, "
              "'ab', 1.5), ('B', 'corta', NULL, NULL, NULL), ('C', NULL, 3, 'abcdef', 2), "
              "('D', 'x', 4, '', 0.25)");
  RecordingSink sink;
  cn->ExecuteStreaming("the batch", sink);
  const std::vector<std::string> expected = {
      "[code,descr,qty,fixed,price|-1]",
      "'A'|'una descrizione lunga oltre i sedici caratteri'|1|'ab    '|1.5",
      "'B'|'corta'|<null>|<null>|<null>",
      "'C'|<null>|3|'abcdef'|2",
      "'D'|'x'|4|'      '|0.25",
      "[|4]",
      "[n|-1]",
      "4",
  };
  EXPECT_EQ(sink.log(), expected);
  // What Execute hands out is the same, the count of the UPDATE aside (a
  // closed recordset does not tell it).
  std::vector<std::string> materialised = Materialised(*cn, "the batch");
  ASSERT_EQ(materialised.size(), expected.size());
  materialised[5] = "[|4]";
  EXPECT_EQ(materialised, expected);
  EXPECT_EQ(cn->NextRecordset(), nullptr);

  // A batch of no results gives one without columns, as Execute's closed one.
  RecordingSink none;
  cn->ExecuteStreaming("CREATE TABLE t (x INT)", none);
  EXPECT_EQ(none.log(), std::vector<std::string>{"[|0]"});
}

TEST(ConnectionTest, ASinkThatThrowsEndsTheBatchAndTheConnectionGoesOn) {
  auto cn = OpenMemory();
  RecordingSink sink;
  sink.throw_at_ = 1;
  EXPECT_EQ(ErrorNumber([&] { cn->ExecuteStreaming("SELECT code FROM art ORDER BY code", sink); }),
            kErrBadArgument);
  EXPECT_EQ(sink.log().size(), 2u);  // the result begun, its first row
  ASSERT_FALSE(cn->Errors().empty());
  EXPECT_EQ(cn->Errors().front().description, "the sink refused a row");
  // The statement was put back: it runs again from its first row, and the
  // table can be written (no statement left reading it, no transaction).
  EXPECT_FALSE(cn->InTransaction());
  RecordingSink again;
  cn->ExecuteStreaming("SELECT code FROM art ORDER BY code", again);
  EXPECT_EQ(again.log(), (std::vector<std::string>{"[code|-1]", "'A'", "'B'"}));
  cn->Execute("DROP TABLE art");
  EXPECT_EQ(ErrorNumber([&] { cn->ExecuteStreaming("SELECT code FROM art", again); }) != 0, true);
}

TEST(ConnectionTest, TheObserverSeesAStreamedBatchAsAnExecutedOne) {
  struct Seen : StatementObserver {
    void OnStatement(const StatementEvent& event) override {
      texts.emplace_back(event.text);
      rows.push_back(event.rows);
      counts.push_back(event.records_affected);
      failed.push_back(event.error != nullptr);
    }
    std::vector<std::string> texts;
    std::vector<int64_t> rows, counts;
    std::vector<bool> failed;
  };
  auto cn = OpenMemory();
  auto seen = std::make_shared<Seen>();
  cn->SetStatementObserver(seen, "test");
  RecordingSink sink;
  cn->ExecuteStreaming("SELECT code FROM art", sink);
  cn->ExecuteStreaming("UPDATE art SET qty = 0", sink);
  EXPECT_NE(ErrorNumber([&] { cn->ExecuteStreaming("SELECT nope FROM art", sink); }), 0);
  EXPECT_EQ(seen->texts, (std::vector<std::string>{"SELECT code FROM art",
                                                   "UPDATE art SET qty = 0",
                                                   "SELECT nope FROM art"}));
  EXPECT_EQ(seen->rows, (std::vector<int64_t>{2, 0, 0}));
  EXPECT_EQ(seen->counts, (std::vector<int64_t>{-1, 2, -1}));
  EXPECT_EQ(seen->failed, (std::vector<bool>{false, false, true}));
}

TEST(ConnectionTest, ClosedConnectionAndBadStringsFail) {
  auto connection = Connection::Create();
  EXPECT_EQ(ErrorNumber([&] { connection->Execute("SELECT 1"); }), kErrClosed);
  EXPECT_EQ(ErrorNumber([&] { connection->BeginTrans(); }), kErrClosed);
  EXPECT_EQ(ErrorNumber([&] { connection->Open("UID=u;PWD=Segreto99"); }), kErrBadArgument);
  EXPECT_FALSE(connection->Errors().empty());  // parse failures are listed too
  const std::string missing = "/nonexistent-dir-orv/x.db";
  try {
    connection->Open("Driver=SQLite;Database=" + missing + ";PWD=Segreto99");
    FAIL() << "opened a file in a missing folder";
  } catch (const DbError& e) {
    EXPECT_EQ(std::string(e.what()).find("Segreto99"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(connection->IsOpen());
  connection->ConnectionString = "Database=:memory:";
  connection->Open();
  EXPECT_TRUE(connection->IsOpen());
  EXPECT_EQ(ErrorNumber([&] { connection->Open("Database=:memory:"); }), kErrBadArgument);
  connection->Close();
  EXPECT_FALSE(connection->IsOpen());
}

TEST(ConnectionTest, UserAndPasswordArgumentsStayOutOfMessages) {
  auto connection = Connection::Create();
  connection->ConnectionString = "Driver=SQLite;Database=/nonexistent-dir-orv/y.db";
  try {
    connection->Open({}, "admin", "Segreto99");
    FAIL();
  } catch (const DbError& e) {
    EXPECT_EQ(std::string(e.what()).find("Segreto99"), std::string::npos) << e.what();
    for (const auto& m : connection->Errors()) {
      EXPECT_EQ(m.description.find("Segreto99"), std::string::npos) << m.description;
    }
  }
  connection->ConnectionString = "Driver=SQLite;Database=x.db;Password={a;b};PWD=c";
  EXPECT_EQ(connection->RedactedConnectionString(),
            "Driver=SQLite;Database=x.db;Password=***;PWD=***");
}

TEST(ConnectionTest, TransactionsCommitRollBackAndTheGuardRollsBack) {
  auto connection = OpenMemory();
  connection->BeginTrans();
  connection->Execute("DELETE FROM art");
  connection->RollbackTrans();
  EXPECT_EQ(Rows(*connection->Execute("SELECT count(*) FROM art")), "2");

  connection->BeginTrans();
  connection->Execute("DELETE FROM art WHERE code = 'A'");
  connection->CommitTrans();
  EXPECT_EQ(Rows(*connection->Execute("SELECT count(*) FROM art")), "1");

  try {
    Transaction tx(*connection);
    connection->Execute("DELETE FROM art");
    connection->Execute("INSERT INTO art VALUES (NULL, NULL)");  // wrong column count
    tx.Commit();
    FAIL() << "the INSERT should fail";
  } catch (const DbError&) {
    EXPECT_FALSE(connection->Errors().empty());  // the guard's rollback keeps them
  }
  EXPECT_EQ(Rows(*connection->Execute("SELECT count(*) FROM art")), "1");  // DELETE undone
  {
    Transaction tx(*connection);
    connection->Execute("INSERT INTO art VALUES ('C', 'Terzo', 3)");
    tx.Commit();
  }
  EXPECT_EQ(Rows(*connection->Execute("SELECT count(*) FROM art")), "2");
  EXPECT_FALSE(connection->driver().InTransaction());
}

// A guard opened inside a transaction is a savepoint of it: a failing row of
// a walk is undone alone and the rest commits; the outer rollback undoes all.
TEST(ConnectionTest, NestedGuardsAreSavepoints) {
  auto connection = OpenMemory();
  auto count = [&] { return Rows(*connection->Execute("SELECT count(*) FROM art")); };
  {
    Transaction outer(*connection);
    EXPECT_FALSE(outer.nested());
    for (const char* code : {"C", "A", "D"}) {  // "A" exists: its insert fails
      try {
        Transaction row(*connection);
        EXPECT_TRUE(row.nested());
        connection->Execute(std::string("UPDATE art SET qty = qty + 1 WHERE code <> '") + code +
                            "'");
        connection->Execute(std::string("INSERT INTO art VALUES ('") + code + "', 'x', 1)");
        row.Commit();
      } catch (const DbError& e) {
        EXPECT_TRUE(IsDuplicateKey(e)) << e.description();
      }
    }
    EXPECT_TRUE(connection->InTransaction());
    outer.Commit();
  }
  EXPECT_FALSE(connection->InTransaction());
  EXPECT_EQ(count(), "4");
  // The failed row's update was undone with its insert: two updates each.
  EXPECT_EQ(Rows(*connection->Execute("SELECT qty FROM art WHERE code = 'A'")), "3");
  {
    Transaction outer(*connection);
    {
      Transaction row(*connection);
      connection->Execute("DELETE FROM art");
      row.Commit();
    }
    EXPECT_EQ(count(), "0");
  }  // no commit: the savepoint's work goes with the transaction
  EXPECT_EQ(count(), "4");
  // A guard ended twice is refused, and a rollback after a commit is a no-op.
  Transaction done(*connection);
  done.Commit();
  done.Rollback();
  EXPECT_THROW(done.Commit(), DbError);
  EXPECT_FALSE(connection->InTransaction());
}

// A stored procedure as the host database keeps it.
class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Step create;
    create.kind = Step::Kind::kCreateRoutine;
    create.routine.type = Step::Routine::Type::kProcedure;
    create.routine.name = "SP_Reload";
    create.routine.params = {"@IdUtente", "@Ditta"};
    create.routine.param_types = {"INT", "VARCHAR(5)"};
    create.routine.body = "reload body";
    translator_.Add("CREATE PROCEDURE SP_Reload", Translation{{create}});
    translator_.Add(
        "reload body",
        Translation{{StandInTranslator::Statement(
                         "INSERT INTO calls (utente, ditta) VALUES (@IdUtente, @Ditta)"),
                     StandInTranslator::Statement(
                         "SELECT count(*) AS n FROM calls WHERE ditta = @Ditta")}});
    connection_->Open(translator_.Open("Database=:memory:"));
    connection_->Execute("CREATE TABLE calls (utente INT, ditta VARCHAR(5))");
    connection_->Execute("CREATE PROCEDURE SP_Reload");
  }

  StandInTranslator translator_;
  std::shared_ptr<Connection> connection_ = Connection::Create();
};

TEST_F(CommandTest, StoredProcedureParametersAreDescribedAndSetByName) {
  Command cmd;
  cmd.ActiveConnection = connection_;
  cmd.CommandText = "SP_Reload";
  cmd.CommandType = kAdCmdStoredProc;
  cmd.CommandTimeout = 0;
  ASSERT_EQ(cmd.Parameters().size(), 2u);
  EXPECT_EQ(cmd.Parameters()[0].info.name, "@IdUtente");
  EXPECT_EQ(cmd.Parameters()[1].info.type, DataType::kVarChar);
  cmd.SetParameter("idutente", Value(7));
  cmd.SetParameter("@DITTA", Value("D1"));
  EXPECT_EQ(cmd.GetParameter("@idUtente"), Value(7));
  auto rs = cmd.Execute();
  ASSERT_TRUE(rs);
  EXPECT_FALSE(rs->IsOpen());  // the INSERT comes first
  auto count = connection_->NextRecordset();
  ASSERT_TRUE(count);
  EXPECT_EQ(Rows(*count), "1");
  // An unset parameter goes as NULL.
  Command second;
  second.ActiveConnection = connection_;
  second.CommandText = "SP_Reload";
  second.CommandType = kAdCmdStoredProc;
  second.SetParameter("Ditta", Value("D1"));
  second.Execute(nullptr, kAdExecuteNoRecords);
  EXPECT_EQ(Rows(*connection_->Execute("SELECT utente FROM calls ORDER BY rowid")), "7;<null>");
  // The connection runs a procedure by name too, every parameter NULL.
  connection_->Execute("SP_Reload", nullptr, kAdCmdStoredProc | kAdExecuteNoRecords);
  EXPECT_EQ(Rows(*connection_->Execute("SELECT count(*) FROM calls WHERE ditta IS NULL")), "1");
}

TEST_F(CommandTest, UnknownNamesAndProceduresFail) {
  Command cmd;
  cmd.ActiveConnection = connection_;
  cmd.CommandType = kAdCmdStoredProc;
  cmd.CommandText = "SP_Reload";
  EXPECT_EQ(ErrorNumber([&] { cmd.SetParameter("@Nope", Value(1)); }), kErrItemNotFound);
  cmd.CommandText = "SP_Missing";
  EXPECT_NE(ErrorNumber([&] { cmd.Parameters(); }), 0);
  EXPECT_FALSE(connection_->Errors().empty());
  Command unconnected;
  unconnected.CommandText = "SELECT 1";
  EXPECT_EQ(ErrorNumber([&] { unconnected.Execute(); }), kErrClosed);
}

TEST_F(CommandTest, TextCommandRunsItsText) {
  Command cmd;
  cmd.ActiveConnection = connection_;
  cmd.CommandText = "SELECT 40 + 2 AS answer";
  EXPECT_TRUE(cmd.Parameters().empty());
  auto rs = cmd.Execute();
  EXPECT_EQ(rs->Field("ANSWER"), Value(42));
}

}  // namespace
}  // namespace orv::db
