// The installation-wide revocation switch: the FW95_SETTINGS row, the host
// flag, the change log (event 11) and the reload procedure.

#include <gtest/gtest.h>

#include "support/headless_editor.h"

namespace orv::editor {
namespace {

using orv::testing::HeadlessEditor;

class MasterSwitchTest : public ::testing::Test {
 protected:
  // Replaces the reload procedure by one that counts its runs, so that the
  // test sees how often the editor ran it.
  void CountProcedureRuns() {
    editor_.Exec("CREATE TABLE T_PROC_RUNS (N INT)");
    editor_.Exec("DELETE FROM ORV_ROUTINES WHERE NAME = 'SPFW_ReloadListaCFRevocati'");
    editor_.Exec(
        "CREATE PROCEDURE SPFW_ReloadListaCFRevocati AS BEGIN INSERT INTO T_PROC_RUNS (N) "
        "VALUES (1) END");
  }
  int64_t ProcedureRuns() { return editor_.Count("SELECT COUNT(*) FROM T_PROC_RUNS"); }
  db::Value Stored() {
    return editor_.Scalar(
        "SELECT FW95_VALORE FROM FW95_SETTINGS WHERE FW95_CODICE = 'AUT_RVKENABLED'");
  }
  int64_t Rows() {
    return editor_.Count("SELECT COUNT(*) FROM FW95_SETTINGS WHERE FW95_CODICE = 'AUT_RVKENABLED'");
  }

  HeadlessEditor editor_;
};

TEST_F(MasterSwitchTest, StoredOneIsRewrittenOnOpenWithOneEntryAndOneRun) {
  CountProcedureRuns();
  editor_.Open();
  EXPECT_EQ(editor_.window().control("CHK_ABILREVOKE").value(), db::Value(1));
  ASSERT_EQ(editor_.log().size(), 1u);
  EXPECT_EQ(editor_.log()[0].event, 11);
  EXPECT_EQ(editor_.log()[0].text, "1: Attivo; ");
  EXPECT_EQ(ProcedureRuns(), 1);
  EXPECT_EQ(Stored(), db::Value("1"));
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(editor_.global().revocation_enabled(), std::optional<bool>(true));
  EXPECT_TRUE(editor_.messages().empty());
}

TEST_F(MasterSwitchTest, FirstUseInsertsThenUpdates) {
  editor_.Exec("DELETE FROM FW95_SETTINGS WHERE FW95_CODICE = 'AUT_RVKENABLED'");
  CountProcedureRuns();
  editor_.Open();
  // A missing row reads as not active: nothing runs.
  EXPECT_EQ(editor_.window().control("CHK_ABILREVOKE").value(), db::Value(0));
  EXPECT_TRUE(editor_.log().empty());
  EXPECT_EQ(ProcedureRuns(), 0);
  EXPECT_EQ(Rows(), 0);
  EXPECT_FALSE(editor_.global().revocation_enabled().has_value());

  editor_.host().Check("CHK_ABILREVOKE", db::Value(1));
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(Stored(), db::Value("1"));
  EXPECT_EQ(editor_.Scalar("SELECT FW95_DESCR FROM FW95_SETTINGS WHERE FW95_CODICE = "
                           "'AUT_RVKENABLED'"),
            db::Value("Abilitazione Revoke"));
  EXPECT_EQ(editor_.global().revocation_enabled(), std::optional<bool>(true));
  ASSERT_EQ(editor_.log().size(), 1u);
  EXPECT_EQ(editor_.log()[0].text, "1: Attivo; ");
  EXPECT_EQ(ProcedureRuns(), 1);

  editor_.host().Check("CHK_ABILREVOKE", db::Value(0));
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(Stored(), db::Value("0"));
  EXPECT_EQ(editor_.global().revocation_enabled(), std::optional<bool>(false));
  ASSERT_EQ(editor_.log().size(), 2u);
  EXPECT_EQ(editor_.log()[1].event, 11);
  EXPECT_EQ(editor_.log()[1].text, "1: Non attivo; ");
  EXPECT_EQ(ProcedureRuns(), 2);

  // Setting the same value again is no click.
  editor_.host().Check("CHK_ABILREVOKE", db::Value(0));
  EXPECT_EQ(editor_.log().size(), 2u);
}

TEST_F(MasterSwitchTest, GreyValueIsStoredAndLoggedAsNotActive) {
  editor_.Open();
  editor_.host().Check("CHK_ABILREVOKE", db::Value(2));
  EXPECT_EQ(Stored(), db::Value("2"));
  EXPECT_EQ(editor_.log().back().text, "1: Non attivo; ");
  EXPECT_EQ(editor_.global().revocation_enabled(), std::optional<bool>(false));
}

TEST_F(MasterSwitchTest, StoredZeroRunsNothing) {
  editor_.Exec("UPDATE FW95_SETTINGS SET FW95_VALORE = '0' WHERE FW95_CODICE = 'AUT_RVKENABLED'");
  CountProcedureRuns();
  editor_.Open();
  EXPECT_EQ(editor_.window().control("CHK_ABILREVOKE").value(), db::Value(0));
  EXPECT_TRUE(editor_.log().empty());
  EXPECT_EQ(ProcedureRuns(), 0);
}

TEST_F(MasterSwitchTest, StoredTextThatIsNoNumberIsReportedAndLeavesTheBoxUnchecked) {
  editor_.Exec("UPDATE FW95_SETTINGS SET FW95_VALORE = 'si' WHERE FW95_CODICE = 'AUT_RVKENABLED'");
  editor_.Open();
  EXPECT_EQ(editor_.window().control("CHK_ABILREVOKE").value(), db::Value(0));
  ASSERT_EQ(editor_.messages().size(), 1u);
  EXPECT_EQ(editor_.messages()[0].prompt.rfind("Errore N° :13\n", 0), 0u)
      << editor_.messages()[0].prompt;
  EXPECT_NE(editor_.messages()[0].prompt.find("\n in LoadRevokeSetting"), std::string::npos);
  EXPECT_EQ(editor_.messages()[0].buttons, 0);
  EXPECT_EQ(editor_.messages()[0].title, "");
  EXPECT_TRUE(editor_.log().empty());
  EXPECT_TRUE(editor_.window().started());  // the start-up went on
}

// The setting and the lists derived from it change together: when the
// reload fails the setting stays, the box shows it, no entry is written and
// the failure is told once.
TEST_F(MasterSwitchTest, FailingProcedureTakesTheSwitchBack) {
  editor_.Open();
  editor_.Exec("DELETE FROM ORV_ROUTINES WHERE NAME = 'SPFW_ReloadListaCFRevocati'");
  // The editor's own connection may have cached the routines: open a new one.
  editor_.host().Close();
  editor_.Open();
  // Opening wrote the loaded value back; its reload failed, and the box
  // still shows what the table holds.
  EXPECT_EQ(editor_.window().control("CHK_ABILREVOKE").value(), db::Value(1));
  const size_t before = editor_.log().size();
  const size_t told = editor_.messages().size();
  editor_.host().Check("CHK_ABILREVOKE", db::Value(0));
  ASSERT_EQ(editor_.messages().size(), told + 1);
  EXPECT_NE(editor_.messages().back().prompt.find(" in AggiornaRevoke"), std::string::npos);
  EXPECT_EQ(Stored(), db::Value("1"));
  EXPECT_EQ(editor_.window().control("CHK_ABILREVOKE").value(), db::Value(1));
  EXPECT_EQ(editor_.log().size(), before);
}

}  // namespace
}  // namespace orv::editor
