// Clicks on GRIDTIPOLOGIE in the parameter sections: the rows they write and
// delete in FW31_RVKPARAMETRI, the change-log entries, the messages, and
// what the grid shows when a write cannot be made.

#include <gtest/gtest.h>

#include <algorithm>

#include "db/recordset.h"
#include "hostdb/demo_installation.h"
#include "sections/parameter_editor.h"
#include "sections/parameters/parameter_section.h"
#include "session/headless_change_log.h"
#include "session/headless_global.h"
#include "session/memory_grouping_grid.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::ParameterEditor;

struct SectionCase {
  const char* key;
  int32_t kind;
  const char* code;  // an item of company 1 nobody has revoked
  int64_t company;   // its company
  bool projects;     // the grid fills on "Aggiorna"
};

constexpr SectionCase kSections[] = {
    {"ITM50017", 6, "PF", 1, false},
    {"ITM50026", 8, "COMM-MI-01", 1, true},
    {"ITM50016", 15, "SIM2024B", 1, false},
    {"ITM_MODBLOCCO", 30, "RESO", 1, false},
};

void Open(ParameterEditor& e, const SectionCase& c) {
  e.Section(c.key);
  if (c.projects) e.host().Button("CMD_UPDATE");
}

// The rows as "user,group,flags...;" each.
std::string RowsOf(ParameterEditor& e, const std::string& where) {
  std::string text;
  for (std::string row :
       e.Query("SELECT FW31_ID_FW07, FW31_ID_FW06, FW31_FLGABILITATO, FW31_FLGMODIFICA, "
               "FW31_FLGELIMINA, FW31_FLGINSERISCI FROM FW31_RVKPARAMETRI WHERE " +
               where)) {
    std::replace(row.begin(), row.end(), '|', ',');
    text += row + ";";
  }
  return text;
}

std::string Where(const SectionCase& c) {
  return "FW31_INDTIPO = " + std::to_string(c.kind) + " AND FW31_CODTIPO = '" + c.code +
         "' AND FW31_DITTARAGG = " + std::to_string(c.company);
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(ParameterClickTest, RevokeWritesOneRowAndRestoreDeletesItInEverySection) {
  for (const SectionCase& c : kSections) {
    SCOPED_TRACE(c.key);
    ParameterEditor e;
    session::HeadlessChangeLog& log = e.host().global()->change_log();
    // A user.
    e.User(DemoInstallation::kUserOspite);
    Open(e, c);
    e.ClearOutput();
    e.Click(c.code, c.company);
    EXPECT_EQ(RowsOf(e, Where(c)), "9,NULL,0,0,0,0;");
    EXPECT_EQ(e.Row(c.code, c.company).abilitato, "0");
    EXPECT_EQ(e.Row(c.code, c.company).modifica, "0");
    ASSERT_EQ(e.Log16().size(), 1u);
    EXPECT_EQ(e.Log16()[0].find(log.FormatUser(e.window().CurrentPrincipal().name())), 0u)
        << e.Log16()[0];
    EXPECT_TRUE(EndsWith(e.Log16()[0], log.FormatDetail(3, c.code) + log.FormatDetail(4, "No")))
        << e.Log16()[0];
    EXPECT_TRUE(e.Messages().empty());

    e.Click(c.code, c.company);
    EXPECT_EQ(RowsOf(e, Where(c)), "");
    EXPECT_EQ(e.Row(c.code, c.company).abilitato, "1");
    ASSERT_EQ(e.Log16().size(), 2u);
    EXPECT_TRUE(EndsWith(e.Log16()[1], log.FormatDetail(2, "") + log.FormatDetail(3, c.code) +
                                           log.FormatDetail(4, "Si")))
        << e.Log16()[1];

    // A group: the user column stays NULL, the entry starts with the group.
    e.Group(DemoInstallation::kGroupAcquisti);
    e.ClearOutput();
    e.Click(c.code, c.company);
    EXPECT_EQ(RowsOf(e, Where(c)), "NULL,4,0,0,0,0;");
    ASSERT_EQ(e.Log16().size(), 1u);
    EXPECT_EQ(e.Log16()[0].find(log.FormatGroup(e.window().CurrentPrincipal().name())), 0u);
    // Other rows of the table are untouched.
    EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), 9);
  }
}

TEST(ParameterClickTest, RevokingAnItemThatGotARowMeanwhileUpdatesIt) {
  for (const SectionCase& c : kSections) {
    SCOPED_TRACE(c.key);
    ParameterEditor e;
    e.User(DemoInstallation::kUserOspite);
    Open(e, c);
    // Another connection writes a row with other flags after the load.
    e.Exec(
        "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
        "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI) "
        "VALUES (9, NULL, " +
        std::to_string(c.kind) + ", '" + c.code + "', " + std::to_string(c.company) +
        ", 1, 1, 1, 1)");
    e.Click(c.code, c.company);
    EXPECT_EQ(RowsOf(e, Where(c)), "9,NULL,0,0,0,0;");
  }
}

TEST(ParameterClickTest, RestoringARowAlreadyGoneWarnsOutsideTheProjects) {
  for (const SectionCase& c : kSections) {
    SCOPED_TRACE(c.key);
    ParameterEditor e;
    e.Group(DemoInstallation::kGroupAcquisti);
    Open(e, c);
    e.Click(c.code, c.company);
    ASSERT_EQ(e.Row(c.code, c.company).abilitato, "0");
    e.Exec("DELETE FROM FW31_RVKPARAMETRI WHERE " + Where(c));
    e.ClearOutput();
    e.Click(c.code, c.company);
    if (c.projects) {
      EXPECT_TRUE(e.Messages().empty());
    } else {
      EXPECT_EQ(e.Messages(),
                std::vector<std::string>{"48|" + e.window().Caption() + "|Revoca non presente!"});
    }
    EXPECT_TRUE(e.Log16().empty());
    // The database holds no row: the item is allowed, as the grid shows.
    EXPECT_EQ(e.Row(c.code, c.company).abilitato, "1");
    const ParameterSection* section = e.Find<const ParameterSection>();
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->current_code(), c.code);
  }
}

TEST(ParameterClickTest, HeaderClickChangesNoRow) {
  ParameterEditor e;
  e.User(DemoInstallation::kUserRossi);
  e.Section("ITM50017");
  const auto rows = e.Rows();
  const int64_t count = e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI");
  for (bool state : {true, false, true}) {
    e.host().HeaderClick("GRIDTIPOLOGIE", "ABILITATO", state);
    EXPECT_FALSE(e.controls().grid->FindColumn("ABILITATO")->header_checked);
  }
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), count);
  const auto after = e.Rows();
  ASSERT_EQ(after.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(after[i].abilitato, rows[i].abilitato);
  EXPECT_TRUE(e.Log16().empty());
}

TEST(ParameterClickTest, WithoutAPrincipalNothingIsWrittenAndTheRowStays) {
  ParameterEditor e;
  e.User(DemoInstallation::kUserRossi);
  e.Section("ITM50017");
  e.host().SelectNoPrincipal();
  e.ClearOutput();
  const int64_t count = e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI");
  ASSERT_EQ(e.Row("01").abilitato, "1");
  e.Click("01");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), count);
  EXPECT_EQ(e.Row("01").abilitato, "1");
  EXPECT_EQ(e.Row("01").modifica, "1");
  EXPECT_EQ(e.Messages(),
            std::vector<std::string>{
                "48|Operazione non valida|Selezionare almeno un gruppo o un utente!"});
  EXPECT_TRUE(e.Log16().empty());
}

TEST(ParameterClickTest, CodesWithAQuoteAreWrittenAndFoundAgain) {
  ParameterEditor e;
  e.Exec(
      "INSERT INTO MG58_DEPOSITI (MG58_DITTA_CG18, MG58_CODDEP, MG58_DESCRDEP) "
      "VALUES (1, 'O''B', 'Deposito dell''ovest')");
  // Another principal's row for the same code must stay where it is.
  e.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
      "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI) "
      "VALUES (3, NULL, 6, 'O''B', 1, 0, 0, 0, 0)");
  e.User(DemoInstallation::kUserOspite);
  e.Section("ITM50017");
  ASSERT_EQ(e.Row("O'B").abilitato, "1");
  e.Click("O'B");
  EXPECT_EQ(RowsOf(e, "FW31_CODTIPO = 'O''B' ORDER BY FW31_ID_FW07"),
            "3,NULL,0,0,0,0;9,NULL,0,0,0,0;");
  e.User(DemoInstallation::kUserOspite);  // reload: the revocation is found
  EXPECT_EQ(e.Row("O'B").abilitato, "0");
  e.Click("O'B");
  EXPECT_EQ(RowsOf(e, "FW31_CODTIPO = 'O''B'"), "3,NULL,0,0,0,0;");
  EXPECT_EQ(e.Row("O'B").abilitato, "1");
}

TEST(ParameterClickTest, AFailedWriteShowsTheErrorAndPutsTheRowBack) {
  ParameterEditor e;
  e.User(DemoInstallation::kUserRossi);
  e.Section("ITM50017");
  ASSERT_EQ(e.Row("A").abilitato, "0");
  ASSERT_EQ(e.Row("01").abilitato, "1");
  e.Exec("DROP TABLE FW31_RVKPARAMETRI");
  e.ClearOutput();
  e.Click("01");  // revoke
  ASSERT_EQ(e.Messages().size(), 1u);
  EXPECT_NE(e.Messages()[0].find(" in InserisciRevocaTipologie"), std::string::npos)
      << e.Messages()[0];
  EXPECT_EQ(e.Row("01").abilitato, "1");
  EXPECT_EQ(e.Row("01").modifica, "1");
  e.ClearOutput();
  e.Click("A");  // restore
  ASSERT_EQ(e.Messages().size(), 1u);
  EXPECT_NE(e.Messages()[0].find(" in cmd_RimuoviTIPO_Click"), std::string::npos);
  EXPECT_EQ(e.Row("A").abilitato, "0");
  EXPECT_TRUE(e.Log16().empty());
}

TEST(ParameterClickTest, ProjectClicksBeforeAggiornaWriteNothing) {
  ParameterEditor e;
  e.Group(DemoInstallation::kGroupVendite);
  e.Section("ITM50017");  // warehouses loaded
  e.Section("ITM50026");  // projects: nothing loaded yet
  const int64_t count = e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI");
  bool cancel = false;
  e.window().GRIDTIPOLOGIE_SelectionBoxClick("01", "ABILITATO", db::Value(1), cancel);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), count);
  EXPECT_TRUE(e.Messages().empty());
}

}  // namespace
}  // namespace orv::sections
