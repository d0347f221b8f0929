// The undo of a revoke-all removes the rows its entry wrote and no other:
// a row another editor put in the same principal's scope after the undo
// read the rows (on the host server nothing locks the scope in between)
// stays.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "db/connection.h"
#include "db/sqlite/sqlite_driver.h"
#include "db/statement_observer.h"
#include "journal/journal.h"
#include "support/headless_editor.h"
#include "zere_orvelka/message_service.h"
#include "zere_orvelka/principal_node.h"

namespace orv::journal {
namespace {

using host::PrincipalNode;
using testing::HeadlessEditor;

// Once the undo has read the group's parameter rows, puts in a row of the
// same scope as another editor's insert would land between that reading
// and the undo's delete. The embedded engine lets one writer at a time,
// so the row goes in through the editor's own connection at that moment.
class LateInsert : public db::StatementObserver {
 public:
  explicit LateInsert(sqlite3* handle) : handle_(handle) {}
  void OnStatement(const db::StatementEvent& event) override {
    if (!armed || done || event.kind != db::StatementEvent::Kind::kText) return;
    const std::string text(event.text);
    if (text.rfind("SELECT", 0) != 0 || text.find("FW31_RVKPARAMETRI") == std::string::npos) {
      return;
    }
    done = sqlite3_exec(handle_,
                        "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, "
                        "FW31_INDTIPO, FW31_CODTIPO, FW31_DITTARAGG) VALUES (NULL, 3, 30, "
                        "'LATE', 1)",
                        nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  bool armed = false;
  bool done = false;

 private:
  sqlite3* handle_;
};

int64_t GroupRows(HeadlessEditor& e, const std::string& where) {
  return e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 3" + where);
}

TEST(JournalUndoScopeTest, ARowPutInTheScopeAfterTheCheckSurvivesTheUndo) {
  HeadlessEditor e;
  e.Open();
  // The group's only parameter rows are those the revoke-all writes, so
  // the undo removes every row of its scope.
  e.Exec("DELETE FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 3");
  e.host().SelectPrincipal(PrincipalNode::kGroup, 3);
  e.host().ChooseSection("ITM50017");
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_DISABILITATUTTI");
  const int64_t written = GroupRows(e, "");
  ASSERT_GT(written, 3);

  std::shared_ptr<db::Connection> cn = e.window().connection();
  auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&cn->driver());
  ASSERT_NE(driver, nullptr);
  auto late = std::make_shared<LateInsert>(driver->handle());
  late->armed = true;
  cn->SetStatementObserver(late, "test");
  const Journal::Result undone = e.window().journal()->Undo();
  cn->SetStatementObserver(nullptr);

  ASSERT_TRUE(late->done);
  EXPECT_TRUE(undone.applied) << undone.message;
  EXPECT_EQ(GroupRows(e, " AND FW31_CODTIPO = 'LATE' AND FW31_INDTIPO = 30"), 1);
  EXPECT_EQ(GroupRows(e, ""), 1);
}

TEST(JournalUndoScopeTest, WithNothingElseInTheScopeTheUndoRemovesEveryRowItWrote) {
  HeadlessEditor e;
  e.Open();
  e.Exec("DELETE FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 3");
  e.host().SelectPrincipal(PrincipalNode::kGroup, 3);
  e.host().ChooseSection("ITM50017");
  e.host().answers().Push(host::kVbYes);
  e.host().Button("VRX_DISABILITATUTTI");
  ASSERT_GT(GroupRows(e, ""), 3);
  // Another group's row of the same kind and company is not in the scope.
  e.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG) VALUES (NULL, 2, 6, 'ZZ', 1)");
  const Journal::Result undone = e.window().journal()->Undo();
  EXPECT_TRUE(undone.applied) << undone.message;
  EXPECT_EQ(GroupRows(e, ""), 0);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 2 AND "
                    "FW31_CODTIPO = 'ZZ'"),
            1);
}

}  // namespace
}  // namespace orv::journal
