// The article family section: the list, the three rights of a family, the
// Elim -> Mod cascade, codes with quotes and blanks, and disable-all.

#include <gtest/gtest.h>

#include "sections/families/family_statements.h"
#include "sections/tree_editor.h"
#include "session/memory_tree_grid.h"
#include "store/principal.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using orv::testing::TreeEditor;

constexpr const char* kRows =
    "SELECT FW3H_ID_FW07, FW3H_ID_FW06, FW3H_DITTA, FW3H_CODMACRO, FW3H_CODMIDDLE, FW3H_CODRAGG, "
    "FW3H_TIPORAGG, FW3H_FLGABILITATO, FW3H_FLGMODIFICA, FW3H_FLGINSERIMENTO, FW3H_FLGELIMINA "
    "FROM FW3H_RVKARTICOLI ";

// "KEY|CODICE|TEXT|INS|MOD|ELIM" of every row, in order.
std::vector<std::string> Families(TreeEditor& editor) {
  std::vector<std::string> lines;
  for (TreeEditor::Row& row : editor.Rows()) {
    lines.push_back(row["KEY"] + "|" + row["CODICE"] + "|" + row["TEXT"] + "|" +
                    row["INSERIMENTO"] + row["MODIFICA"] + row["ELIMINAZIONE"]);
  }
  return lines;
}

TEST(ArticlesFamilyTest, ListByDescriptionWithThePrincipalsRights) {
  TreeEditor editor;
  editor.Group(6);
  editor.Section("ITM_ARTFAM");
  EXPECT_EQ(editor.window().section_code(), 31);
  EXPECT_EQ(Families(editor), (std::vector<std::string>{
                                  "F_1.L'A|L'A|Articoli per l'arredo|111",
                                  "F_1.FERR|FERR|Ferramenta|111",
                                  "F_1.IDRA|IDRA|Idraulica|111",
                                  "F_1.ELET|ELET|Materiale elettrico|111",
                                  "F_1.MINU|MINU|Minuteria metallica|111",
                                  "F_1.UTEN|UTEN|Utensileria|111",
                                  "F_1.VERN|VERN|Vernici e solventi|100",
                                  "F_1. VI | VI |Viteria e bulloneria|111",
                              }));
  for (TreeEditor::Row& row : editor.Rows()) {
    EXPECT_EQ(row["PADRE_KEY"], "<null>");
    EXPECT_EQ(row["TIPORAGG"], "FAM");
    EXPECT_EQ(row["DITTA"], "1");
    EXPECT_EQ(row["CODFAM"], row["CODICE"]);
    EXPECT_EQ(row["CODSFAM"], "<null>");
  }
  const session::MemoryTreeGrid& grid = *editor.controls().tree_grid;
  std::vector<std::string> columns;
  for (const session::GridColumn& c : grid.columns()) {
    columns.push_back(c.key + "/" + c.caption + "/" + std::to_string(c.width) +
                      (c.check_box ? "/box" : ""));
  }
  EXPECT_EQ(columns, (std::vector<std::string>{"CODICE/Codice/800", "TEXT/Nome/4200",
                                               "INSERIMENTO/Ins/500/box", "MODIFICA/Mod/500/box",
                                               "ELIMINAZIONE/Elim/500/box"}));
  EXPECT_EQ(grid.settings()->parent_field, "PADRE_KEY");

  // User 2's row revokes L'A insertion; group 6's row does not show for user 6.
  editor.User(2);
  EXPECT_EQ(editor.Boxes("F_1.L'A"), "011");
  editor.User(6);
  EXPECT_EQ(editor.Boxes("F_1.VERN"), "111");
  // A row whose middle or third code is not blank does not count.
  editor.Exec(
      "INSERT INTO FW3H_RVKARTICOLI VALUES (6, NULL, 1, 'FERR', 'X', '', 'FAM', 1, 0, 0, 0)");
  editor.Exec(
      "INSERT INTO FW3H_RVKARTICOLI VALUES (6, NULL, 1, 'IDRA', '', 'Y', 'FAM', 1, 0, 0, 0)");
  editor.User(6);
  EXPECT_EQ(editor.Boxes("F_1.FERR"), "111");
  EXPECT_EQ(editor.Boxes("F_1.IDRA"), "111");
  EXPECT_TRUE(editor.Messages().empty());
}

TEST(ArticlesFamilyTest, FirstChangeInsertsAllowedThenUpdatesOneRight) {
  TreeEditor editor;
  editor.Group(5);
  editor.Section("ITM_ARTFAM");
  editor.Click("F_1.FERR", "INSERIMENTO");
  EXPECT_EQ(editor.Boxes("F_1.FERR"), "011");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW06 = 5"),
            std::vector<std::string>{"NULL|5|1|FERR|||FAM|1|1|0|1"});
  editor.Click("F_1.FERR", "MODIFICA");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW06 = 5"),
            std::vector<std::string>{"NULL|5|1|FERR|||FAM|1|0|0|1"});
  editor.Click("F_1.FERR", "INSERIMENTO");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW06 = 5"),
            std::vector<std::string>{"NULL|5|1|FERR|||FAM|1|0|1|1"});
  EXPECT_EQ(editor.Reloads(), (std::vector<std::string>{"G5", "G5", "G5"}));
  EXPECT_TRUE(editor.Log(15).empty());
  EXPECT_TRUE(editor.Messages().empty());

  // A user's row has NULL for the group.
  editor.User(4);
  editor.Click("F_1.UTEN", "ELIMINAZIONE");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW07 = 4"),
            std::vector<std::string>{"4|NULL|1|UTEN|||FAM|1|0|1|0"});
}

TEST(ArticlesFamilyTest, ClearingElimClearsModInTheTableAndOnScreen) {
  TreeEditor editor;
  editor.Group(5);
  editor.Section("ITM_ARTFAM");
  editor.Click("F_1.IDRA", "ELIMINAZIONE");
  EXPECT_EQ(editor.Boxes("F_1.IDRA"), "100");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW06 = 5"),
            std::vector<std::string>{"NULL|5|1|IDRA|||FAM|1|0|1|0"});
  // Ticking Elim again leaves Mod as it is.
  editor.Click("F_1.IDRA", "ELIMINAZIONE");
  EXPECT_EQ(editor.Boxes("F_1.IDRA"), "101");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW06 = 5"),
            std::vector<std::string>{"NULL|5|1|IDRA|||FAM|1|0|1|1"});
  editor.Group(4);
  editor.Group(5);
  EXPECT_EQ(editor.Boxes("F_1.IDRA"), "101");

  EXPECT_EQ(FamilyStatements::UpdateRight(store::Principal::Group(5), {"1", "A'B", "", "FAM"},
                                          "FW3H_FLGELIMINA", 0),
            "UPDATE FW3H_RVKARTICOLI  SET FW3H_FLGELIMINA= 0, FW3H_FLGMODIFICA = 0 WHERE "
            "FW3H_DITTA = 1 AND FW3H_ID_FW07  IS NULL AND FW3H_ID_FW06   =5 AND FW3H_CODMACRO = "
            "'A''B' AND FW3H_CODMIDDLE = '' AND FW3H_CODRAGG = '' AND FW3H_TIPORAGG = 'FAM'");
  EXPECT_EQ(FamilyStatements::UpdateRight(store::Principal::User(5), {"1", "X", "", "FAM"},
                                          "FW3H_FLGMODIFICA", 1),
            "UPDATE FW3H_RVKARTICOLI  SET FW3H_FLGMODIFICA= 1 WHERE FW3H_DITTA = 1 AND "
            "FW3H_ID_FW07   =5 AND FW3H_ID_FW06  IS NULL AND FW3H_CODMACRO = 'X' AND "
            "FW3H_CODMIDDLE = '' AND FW3H_CODRAGG = '' AND FW3H_TIPORAGG = 'FAM'");
}

TEST(ArticlesFamilyTest, QuotedAndBlankFamilyCodes) {
  TreeEditor editor;
  editor.Group(5);
  editor.Section("ITM_ARTFAM");
  editor.Click("F_1.L'A", "MODIFICA");
  editor.Click("F_1.L'A", "INSERIMENTO");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW06 = 5"),
            std::vector<std::string>{"NULL|5|1|L'A|||FAM|1|0|0|1"});

  // A code stored with blanks around it is written trimmed, and the list
  // still finds its row.
  editor.Click("F_1. VI", "ELIMINAZIONE");
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW06 = 5 AND FW3H_CODMACRO <> 'L''A'"),
            std::vector<std::string>{"NULL|5|1|VI|||FAM|1|0|1|0"});
  editor.Click("F_1. VI", "INSERIMENTO");
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW3H_RVKARTICOLI WHERE FW3H_ID_FW06 = 5"), 2);
  editor.Group(4);
  editor.Group(5);
  EXPECT_EQ(editor.Boxes("F_1. VI "), "000");
  EXPECT_EQ(editor.Boxes("F_1.L'A"), "001");
}

TEST(ArticlesFamilyTest, ARowWithAnotherThirdCodeDoesNotSwallowTheChange) {
  TreeEditor editor;
  editor.Exec(
      "INSERT INTO FW3H_RVKARTICOLI VALUES (NULL, 5, 1, 'FERR', '', 'X', 'FAM', 1, 1, 1, 1)");
  editor.Group(5);
  editor.Section("ITM_ARTFAM");
  editor.Click("F_1.FERR", "INSERIMENTO");
  EXPECT_EQ(
      editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW06 = 5 ORDER BY FW3H_CODRAGG"),
      (std::vector<std::string>{"NULL|5|1|FERR|||FAM|1|1|0|1", "NULL|5|1|FERR||X|FAM|1|1|1|1"}));
  editor.Group(4);
  editor.Group(5);
  EXPECT_EQ(editor.Boxes("F_1.FERR"), "011");
}

TEST(ArticlesFamilyTest, NoPrincipalShowsTheBuildErrorAndAnEmptyList) {
  TreeEditor editor;
  editor.Section("ITM_ARTFAM");
  // The side bar's load and the principal refresh that follows both fail;
  // the gesture reports it once.
  const std::string error =
      "16||91-Object variable or With block variable not set in ZERE_TALMIRE: FRMFW_Talmire - "
      "InitTreeFamiglie";
  EXPECT_EQ(editor.Messages(), (std::vector<std::string>{error}));
  EXPECT_TRUE(editor.Rows().empty());
  EXPECT_EQ(editor.controls().tree_grid->GetDataSource(), nullptr);
}

TEST(ArticlesFamilyTest, DisableAllRevokesEveryFamilyInPlace) {
  TreeEditor editor;
  editor.Group(6);
  editor.Section("ITM_ARTFAM");
  const auto before = editor.window().tree_rowset();
  editor.DisableAll(host::kVbNo);
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW3H_RVKARTICOLI"), 2);
  EXPECT_TRUE(editor.Reloads().empty());

  editor.DisableAll(host::kVbYes);
  EXPECT_EQ(editor.Messages().size(), 2u);
  // One row per family, every right revoked; the existing VERN row keeps its
  // FW3H_FLGABILITATO, new rows have 1.
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW3H_RVKARTICOLI WHERE FW3H_ID_FW06 = 6"), 8);
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW3H_RVKARTICOLI WHERE FW3H_ID_FW06 = 6 AND "
                         "FW3H_FLGABILITATO = 1 AND FW3H_FLGMODIFICA = 0 AND FW3H_FLGINSERIMENTO = "
                         "0 AND FW3H_FLGELIMINA = 0"),
            8);
  EXPECT_EQ(editor.Query(std::string(kRows) + "WHERE FW3H_ID_FW07 = 2"),
            std::vector<std::string>{"2|NULL|1|L'A|||FAM|1|1|0|1"});
  EXPECT_EQ(editor.Reloads(), std::vector<std::string>{"G6"});
  // Changed in place, not rebuilt.
  EXPECT_EQ(editor.window().tree_rowset(), before);
  for (const std::string& line : Families(editor)) {
    EXPECT_EQ(line.substr(line.size() - 3), "000") << line;
  }
  EXPECT_FALSE(editor.window().control("VRX_PROGRESS").visible());
}

}  // namespace
}  // namespace orv::sections
