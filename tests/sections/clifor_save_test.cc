// Saving a customer/supplier branch: insert then update, the principal's
// columns, quoted codes, sites, refused headings, the change-log record and
// the reload procedure.

#include <gtest/gtest.h>

#include "db/recordset.h"
#include "sections/clifor/clifor_statements.h"
#include "sections/tree_editor.h"
#include "session/memory_tree_grid.h"
#include "store/principal.h"

namespace orv::sections {
namespace {

using orv::testing::TreeEditor;

constexpr const char* kRows =
    "SELECT FW32_ID_FW07, FW32_ID_FW06, FW32_DITTA, FW32_TIPOCF, FW32_CODMACRO, FW32_CODMIDDLE, "
    "FW32_CODRAGG, FW32_TIPORAGG, FW32_FLGABILITATO, FW32_FLGMODIFICA FROM FW32_RVKCLIFOR ";

TEST(CliForSaveTest, FirstClickInsertsThenUpdatesForAGroup) {
  TreeEditor editor;
  editor.Group(6);
  editor.Click("M_1.0.NORD");
  EXPECT_EQ(editor.Cell("M_1.0.NORD", "CHECKED"), "0");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW32_ID_FW06 = 6"),
            std::vector<std::string>{"NULL|6|1|0|NORD|||AREA|0|0"});
  editor.Click("M_1.0.NORD");
  EXPECT_EQ(editor.Cell("M_1.0.NORD", "CHECKED"), "1");
  // Ticking again keeps the row, allowed; nothing else was written.
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW32_ID_FW06 = 6"),
            std::vector<std::string>{"NULL|6|1|0|NORD|||AREA|1|0"});
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR"), 6);
  EXPECT_EQ(editor.Reloads(), (std::vector<std::string>{"G6", "G6"}));
  EXPECT_EQ(editor.Log(15), (std::vector<std::string>{
                                "Gruppo: Produzione; 1: 1; 2: AREA; 3: ; 4: ; 5: ; 6: No; ",
                                "Gruppo: Produzione; 1: 1; 2: AREA; 3: ; 4: ; 5: ; 6: Si; "}));
  EXPECT_TRUE(editor.Messages().empty());

  // A rebuild shows what was written.
  editor.Click("Z_1.0.NORD.LOM.BG");
  editor.Group(5);
  EXPECT_EQ(editor.Cell("Z_1.0.NORD.LOM.BG", "CHECKED"), "1");
  editor.Group(6);
  EXPECT_EQ(editor.Cell("Z_1.0.NORD.LOM.BG", "CHECKED"), "0");
  EXPECT_EQ(editor.Cell("M_1.0.NORD", "CHECKED"), "1");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW32_ID_FW06 = 6 AND FW32_CODRAGG = 'bg'"),
            std::vector<std::string>{"NULL|6|1|0|NORD|Lom|bg|AREA|0|0"});
}

TEST(CliForSaveTest, UserRowsLeaveTheGroupWithTheSameNumberAlone) {
  TreeEditor editor;
  // User 2 revoked IND/MECC (demo); group 2 gets the same branch.
  editor.Exec("INSERT INTO FW32_RVKCLIFOR VALUES (NULL, 2, 1, 0, 'IND', 'MECC', '', 'CAT', 0, 0)");
  editor.User(2);
  EXPECT_EQ(editor.Cell("C_1.0.IND.MECC", "CHECKED"), "0");
  editor.Click("C_1.0.IND.MECC");
  EXPECT_EQ(
      editor.Query(std::string(kRows) + "WHERE FW32_CODMIDDLE = 'MECC' ORDER BY FW32_ID_FW06"),
      (std::vector<std::string>{"2|NULL|1|0|IND|MECC||CAT|1|0", "NULL|2|1|0|IND|MECC||CAT|0|0"}));
  // A new row for a user has NULL for the group.
  editor.Click("Y_1.1.SERV");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW32_CODMACRO = 'SERV'"),
            std::vector<std::string>{"2|NULL|1|1|SERV|||CAT|0|0"});
  EXPECT_EQ(editor.Reloads(), (std::vector<std::string>{"U2", "U2"}));
  EXPECT_EQ(editor.Log(15), (std::vector<std::string>{
                                "Utente: Mario Rossi; 1: 1; 2: CAT; 3: ; 4: ; 5: ; 6: Si; ",
                                "Utente: Mario Rossi; 1: 1; 2: CAT; 3: ; 4: ; 5: ; 6: No; "}));
}

TEST(CliForSaveTest, QuotedCodesAndSites) {
  TreeEditor editor;
  editor.Exec("INSERT INTO MG31_RAGGRCF1 VALUES (1, 0, 'O''K', 'Con apice', 0)");
  editor.Group(6);
  ASSERT_EQ(editor.Cell("1_1.0.O'K", "TEXT"), "O'K - Con apice (cli)");
  editor.Click("1_1.0.O'K");
  editor.Click("1_1.0.O'K");
  editor.Click("1_1.0.O'K");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW32_TIPORAGG = 'RAGG1' AND FW32_ID_FW06 = 6"),
            std::vector<std::string>{"NULL|6|1|0|||O'K|RAGG1|0|0"});

  editor.Click("E_1.SEDE");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW32_TIPORAGG = 'SEDE' AND FW32_ID_FW06 = 6"),
            std::vector<std::string>{"NULL|6|1|-1|||SEDE|SEDE|0|0"});
  editor.Group(5);
  editor.Group(6);
  EXPECT_EQ(editor.Cell("1_1.0.O'K", "CHECKED"), "0");
  EXPECT_EQ(editor.Cell("E_1.SEDE", "CHECKED"), "0");
  EXPECT_EQ(editor.Cell("E_1.MAG", "CHECKED"), "1");

  // The statements double the quote wherever a code goes.
  CliForBranch branch{"1", "0", "A'B", "", "C'D", "RAGG1"};
  const store::Principal group = store::Principal::Group(6);
  EXPECT_EQ(CliForStatements::InsertRevocation(group, branch, 0),
            "INSERT INTO FW32_RVKCLIFOR "
            "(FW32_ID_FW07,FW32_ID_FW06,FW32_DITTA,FW32_TIPOCF,FW32_CODMACRO,FW32_CODMIDDLE,"
            "FW32_CODRAGG,FW32_TIPORAGG,FW32_FLGABILITATO,FW32_FLGMODIFICA)  VALUES ( NULL , 6 , 1 "
            ", 0 , 'A''B' , '' , 'C''D' , 'RAGG1' , 0 , 0)");
  // A grouping is found as the tree's join finds it: on its third code.
  EXPECT_EQ(CliForStatements::UpdateRevocation(group, branch, 1),
            "UPDATE FW32_RVKCLIFOR  SET FW32_FLGABILITATO = 1 , FW32_FLGMODIFICA = 0 WHERE "
            "FW32_DITTA = 1 AND FW32_ID_FW07  IS NULL AND FW32_ID_FW06   =6 AND FW32_TIPOCF = 0 "
            "AND FW32_CODRAGG = 'C''D' AND FW32_TIPORAGG = 'RAGG1'");
  const CliForBranch category{"1", "0", "A'B", "", "C'D", "CAT"};
  EXPECT_EQ(CliForStatements::UpdateRevocation(group, category, 1),
            "UPDATE FW32_RVKCLIFOR  SET FW32_FLGABILITATO = 1 , FW32_FLGMODIFICA = 0 WHERE "
            "FW32_DITTA = 1 AND FW32_ID_FW07  IS NULL AND FW32_ID_FW06   =6 AND FW32_TIPOCF = 0 "
            "AND FW32_CODMACRO = 'A''B' AND FW32_CODMIDDLE = '' AND FW32_CODRAGG = 'C''D' AND "
            "FW32_TIPORAGG = 'CAT'");
}

TEST(CliForSaveTest, HeadingsAreRefusedAndShowNoBox) {
  TreeEditor editor;
  editor.Group(6);
  editor.Click("G.AREE_1");
  editor.Click("G.SEDI_1");
  EXPECT_EQ(editor.Cell("G.AREE_1", "CHECKED"), "<null>");
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 6"), 0);
  EXPECT_TRUE(editor.Reloads().empty());
  EXPECT_TRUE(editor.Log(15).empty());

  // A heading presents the hidden marker column in place of the box.
  editor::FRMFW_ORVELKA& w = editor.window();
  const session::MemoryTreeGrid& grid = *editor.controls().tree_grid;
  const int32_t checked = grid.ColumnIndex("CHECKED");
  const int32_t marker = grid.ColumnIndex("CHECKED2");
  auto reader = [&](std::string_view key) {
    TreeEditor::Row row = editor.RowByKey(key);
    return [row](std::string_view field) {
      auto it = row.find(std::string(field));
      return it == row.end() || it->second == "<null>" ? db::Value::Null() : db::Value(it->second);
    };
  };
  int32_t index = checked;
  w.TGRID_CLIFOR_ColumnSubstitution(reader("G.AREE_1"), index);
  EXPECT_EQ(index, marker);
  index = grid.ColumnIndex("TEXT");
  w.TGRID_CLIFOR_ColumnSubstitution(reader("G.AREE_1"), index);
  EXPECT_EQ(index, grid.ColumnIndex("TEXT"));
  index = checked;
  w.TGRID_CLIFOR_ColumnSubstitution(reader("M_1.0.NORD"), index);
  EXPECT_EQ(index, checked);
  // The family section never swaps.
  w.set_section_code(31);
  index = checked;
  w.TGRID_CLIFOR_ColumnSubstitution(reader("G.AREE_1"), index);
  EXPECT_EQ(index, checked);
}

TEST(CliForSaveTest, FailedWriteIsToldAndPutsTheBoxBack) {
  TreeEditor editor;
  editor.Group(6);
  editor.Exec("DROP TABLE FW32_RVKCLIFOR");
  editor.Click("M_1.0.SUD");
  EXPECT_EQ(editor.Cell("M_1.0.SUD", "CHECKED"), "1");
  const std::vector<std::string> messages = editor.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("FW32_RVKCLIFOR"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("\n in TGRID_CLIFOR_CheckChange"), std::string::npos) << messages[0];
  EXPECT_TRUE(editor.Reloads().empty());
  EXPECT_TRUE(editor.Log(15).empty());
}

TEST(CliForSaveTest, TheHostsListOfRevokedCustomersFollows) {
  TreeEditor editor(/*count_reloads=*/false);
  const char* list =
      "SELECT FW3C_CODCLIFOR FROM FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW06 = 6 AND FW3C_DITTA_CG18 "
      "= 1 ORDER BY FW3C_CODCLIFOR";
  EXPECT_TRUE(editor.Query(list).empty());
  editor.Group(6);
  editor.Click("2_1.0.AG03");
  EXPECT_EQ(editor.Query(list), (std::vector<std::string>{"C0005", "C0006", "C0010"}));
  editor.Click("2_1.0.AG03");
  EXPECT_TRUE(editor.Query(list).empty());
}

}  // namespace
}  // namespace orv::sections
