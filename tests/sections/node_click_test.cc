// A click in the project-node section goes through the shared grid click to
// InserisciRevocaNodi: the row is written back to the node work table and
// the node section's MERGE runs for the principal; the parameter table is
// never touched.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sqlite/sqlite_driver.h"
#include "db/sqlite/translator.h"
#include "db/statement_observer.h"
#include "hostdb/demo_installation.h"
#include "sections/node_editor.h"
#include "sections/nodes/node_statements.h"
#include "session/headless_change_log.h"
#include "session/headless_global.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::NodeEditor;

class NodeClickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e_.Group(DemoInstallation::kGroupAcquisti);
    e_.OpenNodes();
    e_.ClearOutput();
  }

  int64_t RevokedInWorkTable() {
    return e_.Count("SELECT COUNT(*) FROM " + e_.window().temp_table_name() +
                    " WHERE ABILITATO = 0");
  }
  int64_t GroupRows() {
    return e_.Count("SELECT COUNT(*) FROM FW3N_RVKNODI WHERE FW3N_ID_FW06 = 4");
  }

  NodeEditor e_;
};

TEST_F(NodeClickTest, ClickWritesTheWorkTableAndMergesForThePrincipal) {
  const int64_t parameters = e_.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI");
  e_.ClickNode("24002", "020");
  EXPECT_EQ(RevokedInWorkTable(), 1);
  EXPECT_EQ(GroupRows(), 1);
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3N_RVKNODI WHERE FW3N_ID_FW06 = 4 AND "
                     "FW3N_ID_FW07 IS NULL AND FW3N_CODPROG_PD68 = '24002' AND FW3N_CODNODO = "
                     "'020' AND FW3N_DITTA_CG18 = 1"),
            1);
  EXPECT_EQ(e_.Shown()[7], "24002/020=0");
  ASSERT_EQ(e_.Log16().size(), 1u);
  session::HeadlessChangeLog& log = e_.host().global()->change_log();
  const std::string group = e_.window().CurrentPrincipal().GroupName();
  ASSERT_FALSE(group.empty());
  EXPECT_EQ(e_.Log16()[0].rfind(log.FormatGroup(group) + log.FormatUser(""), 0), 0u)
      << e_.Log16()[0];
  EXPECT_NE(e_.Log16()[0].find(log.FormatDetail(1, "Acquisto cabina di verniciatura") +
                               log.FormatDetail(2, "") + log.FormatDetail(3, "020") +
                               log.FormatDetail(4, "No")),
            std::string::npos)
      << e_.Log16()[0];
  e_.ClickNode("24002", "020");
  EXPECT_EQ(RevokedInWorkTable(), 0);
  EXPECT_EQ(GroupRows(), 0);
  ASSERT_EQ(e_.Log16().size(), 2u);
  EXPECT_NE(e_.Log16()[1].find(log.FormatDetail(4, "Si")), std::string::npos) << e_.Log16()[1];
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), parameters);
  EXPECT_TRUE(e_.Messages().empty());
}

TEST_F(NodeClickTest, WithoutAPrincipalTheNodeStays) {
  e_.host().SelectNoPrincipal();
  e_.ClearOutput();
  e_.ClickNode("24001", "010");
  EXPECT_EQ(e_.Messages(),
            std::vector<std::string>{
                "48|Operazione non valida|Selezionare almeno un gruppo o un utente!"});
  EXPECT_EQ(e_.Shown()[0], "24001/010=1");
  EXPECT_EQ(RevokedInWorkTable(), 0);
  EXPECT_EQ(GroupRows(), 0);
  EXPECT_TRUE(e_.Log16().empty());
}

TEST_F(NodeClickTest, AFailedMergePutsTheRowBack) {
  // The revocation table is gone: the MERGE fails and the log class is told.
  // Abort and ignore alike leave the row showing what the database holds and
  // write no change-log entry.
  e_.Exec("DROP TABLE FW3N_RVKNODI");
  e_.host().answers().Push(host::kVbAbort);
  e_.ClickNode("24001", "010");
  e_.host().answers().Push(host::kVbIgnore);
  e_.ClickNode("24001", "020");
  const auto& errors = e_.host().global()->logged_errors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].routine, "ConfermaModificheNodi");
  EXPECT_EQ(errors[1].routine, "ConfermaModificheNodi");
  EXPECT_EQ(e_.Shown()[0], "24001/010=1");
  EXPECT_EQ(e_.Shown()[1], "24001/020=1");
  EXPECT_TRUE(e_.Log16().empty());
  EXPECT_TRUE(e_.Messages().empty());
}

// The texts a connection sends.
class Sent : public db::StatementObserver {
 public:
  void OnStatement(const db::StatementEvent& event) override {
    if (event.kind == db::StatementEvent::Kind::kText) texts.emplace_back(event.text);
  }
  std::vector<std::string> texts;
};

// Follows the window's transactions and notes, for every question the log
// class was asked, how many transactions were open at that moment.
class QuestionWatch : public db::StatementObserver {
 public:
  explicit QuestionWatch(NodeEditor& e) : e_(e) {}
  void OnStatement(const db::StatementEvent& event) override {
    // Questions asked since the last statement were asked at this depth.
    const size_t asked = e_.host().global()->logged_errors().size();
    while (seen_ < asked) {
      depth_at_question.push_back(depth_);
      ++seen_;
    }
    if (event.error != nullptr) return;
    if (event.kind == db::StatementEvent::Kind::kBeginTrans) {
      ++depth_;
      ++begins;
    }
    if (event.kind == db::StatementEvent::Kind::kCommitTrans ||
        event.kind == db::StatementEvent::Kind::kRollbackTrans) {
      --depth_;
    }
  }
  std::vector<int> depth_at_question;
  int begins = 0;

 private:
  NodeEditor& e_;
  int depth_ = 0;
  size_t seen_ = 0;
};

// The planner's lines for every statement of `tsql` as the driver runs it.
std::vector<std::string> Plan(sqlite3* db, const std::string& tsql) {
  db::sqlite::Translator translator;
  std::vector<db::sqlite::Literal> literals;
  std::vector<std::string> lines;
  std::vector<db::sqlite::Step> steps = translator.TranslateShared(tsql, &literals)->steps;
  while (!steps.empty()) {
    const db::sqlite::Step step = steps.front();
    steps.erase(steps.begin());
    steps.insert(steps.end(), step.body.begin(), step.body.end());
    if (step.sql.empty()) continue;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(
        sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + step.sql).c_str(), -1, &stmt, nullptr),
        SQLITE_OK)
        << sqlite3_errmsg(db) << ": " << step.sql;
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
      lines.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)));
    }
    sqlite3_finalize(stmt);
  }
  return lines;
}

TEST_F(NodeClickTest, AClickFindsItsRowsByKey) {
  // However many nodes there are, a click reads no table through: the work
  // row is found by its key (the work table's text columns compare as the
  // translated comparisons do) and so is the node's revocation row.
  auto sent = std::make_shared<Sent>();
  std::shared_ptr<db::Connection> cn = e_.window().connection();
  cn->SetStatementObserver(sent, "test");
  e_.ClickNode("24002", "020");
  e_.ClickNode("24002", "020");
  cn->SetStatementObserver(nullptr);
  auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&cn->driver());
  ASSERT_NE(driver, nullptr);
  const std::string work = e_.window().temp_table_name();
  int work_searches = 0;
  int revocation_searches = 0;
  for (const std::string& text : sent->texts) {
    for (const std::string& line : Plan(driver->handle(), text)) {
      if (line != "SCAN CONSTANT ROW") {
        EXPECT_EQ(line.rfind("SCAN", 0), std::string::npos) << line << "\n" << text;
      }
      if (line.find(work) != std::string::npos) {
        ++work_searches;
        EXPECT_NE(line.find("PROGETTO=? AND CODICE=? AND DITTARAG=?"), std::string::npos) << line;
      }
      if (line.find("FW3N_RVKNODI") != std::string::npos) {
        ++revocation_searches;
        EXPECT_NE(line.find("FW3N_CODNODO=?"), std::string::npos) << line;
      }
    }
  }
  EXPECT_EQ(work_searches, 2);
  // Per click: the keyed write, and the journal's keyed reads of the same
  // row before and after it.
  EXPECT_EQ(revocation_searches, 6);
}

TEST_F(NodeClickTest, TheShownRowsAreReadInKeyOrderWithoutASort) {
  // The grid's rows come in project and node order; the work table's key
  // gives that order, so the rows are not copied into a sorter first.
  auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&e_.window().connection()->driver());
  ASSERT_NE(driver, nullptr);
  const std::vector<std::string> lines =
      Plan(driver->handle(), NodeStatements::RowsShown(e_.window().temp_table_name()));
  ASSERT_FALSE(lines.empty());
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << line;
  }
  EXPECT_NE(lines[0].find("USING INDEX IX_"), std::string::npos) << lines[0];
}

TEST_F(NodeClickTest, NoTransactionWaitsOnTheQuestionAndRetryRunsTheWholeWrite) {
  // The node's revocation row cannot be written: the log class is asked
  // only after the click's transaction rolled back, and retry writes the
  // row, its change-log entry and its journal entry again, together.
  e_.Exec("DROP TABLE FW3N_RVKNODI");
  auto watch = std::make_shared<QuestionWatch>(e_);
  e_.window().connection()->SetStatementObserver(watch, "test");
  e_.host().answers().Push(host::kVbRetry);
  e_.host().answers().Push(host::kVbAbort);
  e_.ClickNode("24001", "010");
  // A statement after the last question, to note it.
  e_.window().connection()->Execute("SELECT 1");
  e_.window().connection()->SetStatementObserver(nullptr);
  const auto& errors = e_.host().global()->logged_errors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].routine, "ConfermaModificheNodi");
  EXPECT_EQ(errors[1].routine, "ConfermaModificheNodi");
  EXPECT_EQ(watch->depth_at_question, (std::vector<int>{0, 0}));
  EXPECT_GE(watch->begins, 2);  // the retry began the write again
  EXPECT_EQ(e_.Shown()[0], "24001/010=1");
  EXPECT_TRUE(e_.Log16().empty());
}

TEST_F(NodeClickTest, DisableAllAsksAfterItsTransactionRolledBack) {
  e_.Exec("DROP TABLE FW3N_RVKNODI");
  auto watch = std::make_shared<QuestionWatch>(e_);
  e_.window().connection()->SetStatementObserver(watch, "test");
  e_.host().answers().Push(host::kVbYes);
  e_.host().answers().Push(host::kVbIgnore);
  e_.host().Button("VRX_DISABILITATUTTI");
  e_.window().connection()->Execute("SELECT 1");
  e_.window().connection()->SetStatementObserver(nullptr);
  const auto& errors = e_.host().global()->logged_errors();
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors[0].routine, "ConfermaModificheNodi");
  ASSERT_EQ(watch->depth_at_question.size(), errors.size());
  for (int depth : watch->depth_at_question) EXPECT_EQ(depth, 0);
  EXPECT_TRUE(e_.Log16().empty());
}

}  // namespace
}  // namespace orv::sections
