// The customer/supplier classification tree: rows, keys and texts, the
// principal's revocations joined in, the grid layout and a failing build.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <set>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/sqlite/sqlite_driver.h"
#include "sections/clifor/clifor_section.h"
#include "sections/clifor/clifor_statements.h"
#include "sections/tree_editor.h"
#include "session/memory_tree_grid.h"
#include "store/principal.h"

namespace orv::sections {
namespace {

using orv::testing::TreeEditor;

// key -> "PADRE_KEY|TEXT|IMAGE|CHECKED|CHECKED2|DITTA|TIPOCF|CODMACRO|CODMIDDLE|CODRAGG|TIPORAGG"
std::string Describe(TreeEditor& editor, std::string_view key) {
  TreeEditor::Row row = editor.RowByKey(key);
  if (row.empty()) return "<none>";
  std::string s;
  for (const char* field : {"PADRE_KEY", "TEXT", "IMAGE", "CHECKED", "CHECKED2", "DITTA", "TIPOCF",
                            "CODMACRO", "CODMIDDLE", "CODRAGG", "TIPORAGG"}) {
    if (!s.empty()) s += "|";
    s += row[field];
  }
  return s;
}

TEST(CliForTreeTest, NoPrincipalGivesNoRowsAndNoMessage) {
  TreeEditor editor;
  editor.Group(3);
  editor.Section("ITM50010");
  EXPECT_FALSE(editor.Rows().empty());
  editor.host().SelectNoPrincipal();
  editor.Section("ITM50010");
  EXPECT_EQ(editor.window().section_code(), 24);
  ASSERT_NE(editor.window().tree_rowset(), nullptr);
  EXPECT_TRUE(editor.Rows().empty());
  EXPECT_EQ(editor.controls().tree_grid->recordset(), nullptr);
  EXPECT_TRUE(editor.Messages().empty());
}

TEST(CliForTreeTest, HeadingsBranchesKeysAndTexts) {
  TreeEditor editor;
  // A macro category stored in lower case and a source row of type 2.
  editor.Exec("INSERT INTO MG10_MACROCAT VALUES (1, 0, 'agr', 'Agricoltura', 0)");
  editor.Exec("INSERT INTO MG11_CATEG VALUES (1, 0, 'agr', 'vit', 'Viticoltura', 0)");
  editor.Exec("INSERT INTO MG07_MACROAREE VALUES (1, 2, 'ALTRO', NULL, 0)");
  editor.Group(1);

  // Six headings, in order, without a box.
  std::vector<std::string> headings;
  for (TreeEditor::Row& row : editor.Rows()) {
    if (row["PADRE_KEY"] == "<null>") headings.push_back(row["KEY"] + "=" + row["TEXT"]);
  }
  EXPECT_EQ(headings,
            (std::vector<std::string>{"G.AREE_1=MacroArea/Area/Zona",
                                      "G.CATs_1=MacroCategoria/Categoria/ SottoCategoria",
                                      "G.RAG1_1=Raggruppamento 1", "G.RAG2_1=Raggruppamento 2",
                                      "G.RAG3_1=Raggruppamento 3", "G.SEDI_1=Sedi"}));
  EXPECT_EQ(editor.Rows().front()["KEY"], "G.AREE_1");
  // key -> the row's description.
  const std::vector<std::pair<std::string, std::string>> described = {
      {"G.SEDI_1", "<null>|Sedi|open|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>"},
      // Areas: codes upper-cased in keys, kept as stored in texts and codes.
      {"M_1.0.NORD",
       "G.AREE_1|NORD - Italia settentrionale "
       "(cli)|Raggruppamento|1|1|1|0|NORD|<null>|<null>|AREA"},
      {"A_1.0.NORD.LOM",
       "M_1.0.NORD|Lom - Lombardia (cli)|Raggruppamento|1|1|1|0|NORD|Lom|<null>|AREA"},
      {"Z_1.0.NORD.LOM.BG",
       "A_1.0.NORD.LOM|bg - Bergamo (cli)|Raggruppamento|1|1|1|0|NORD|Lom|bg|AREA"},
      {"M_1.1.NORD",
       "G.AREE_1|NORD - Fornitori del nord (for)|Raggruppamento|1|1|1|1|NORD|<null>|<null>|AREA"},
      {"M_1.2.ALTRO", "G.AREE_1|ALTRO -  (?\?\?)|Raggruppamento|1|1|1|2|ALTRO|<null>|<null>|AREA"},
      // Rows the table functions no longer offer.
      {"M_1.0.ISOLE", "<none>"},
      {"A_1.0.CENTRO.UMB", "<none>"},
      {"3_1.0.VECCHIO", "<none>"},
      // Categories keep the stored case.
      {"Y_1.0.agr",
       "G.CATs_1|agr - Agricoltura (cli)|Raggruppamento|1|1|1|0|agr|<null>|<null>|CAT"},
      {"C_1.0.agr.vit",
       "Y_1.0.agr|vit - Viticoltura (cli)|Raggruppamento|1|1|1|0|agr|vit|<null>|CAT"},
      {"S_1.1.MATP.MET.ACC",
       "C_1.1.MATP.MET|ACC - Acciaio (for)|Raggruppamento|1|1|1|1|MATP|MET|ACC|CAT"},
      // Groupings: " - " for the first, "-" for the other two.
      {"1_1.0.A",
       "G.RAG1_1|A - Clienti strategici (cli)|Raggruppamento|1|1|1|0|<null>|<null>|A|RAGG1"},
      {"2_1.0.AG01",
       "G.RAG2_1|AG01-Agente Lombardia (cli)|Raggruppamento|1|1|1|0|<null>|<null>|AG01|RAGG2"},
      {"3_1.1.CERT",
       "G.RAG3_1|CERT-Fornitori certificati ISO "
       "(for)|Raggruppamento|1|1|1|1|<null>|<null>|CERT|RAGG3"},
      // Sites: type -1, no suffix, the address only when not blank.
      {"E_1.SEDE",
       "G.SEDI_1|SEDE-Via dell'Industria 12|Raggruppamento|1|1|1|-1|<null>|<null>|SEDE|SEDE"},
  };
  for (const auto& [key, expected] : described) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Describe(editor, key), expected);
  }

  EXPECT_EQ(editor.Cell("E_1.MAG", "TEXT"), "MAG");
  EXPECT_EQ(editor.Cell("E_1.UFF", "TEXT"), "UFF");

  // Only company 1, and every parent link found.
  std::set<std::string> keys;
  for (TreeEditor::Row& row : editor.Rows()) keys.insert(row["KEY"]);
  for (TreeEditor::Row& row : editor.Rows()) {
    if (row["PADRE_KEY"] != "<null>") {
      EXPECT_TRUE(keys.count(row["PADRE_KEY"])) << row["KEY"];
      EXPECT_EQ(row["DITTA"], "1") << row["KEY"];
    }
  }
  EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM CG31_ANADITTASEDI WHERE CG31_DITTA_CG18 = 1"), 4);
  EXPECT_TRUE(editor.Messages().empty());
}

TEST(CliForTreeTest, GridLayout) {
  TreeEditor editor;
  editor.Group(1);
  const session::MemoryTreeGrid& grid = *editor.controls().tree_grid;
  ASSERT_EQ(grid.columns().size(), 4u);
  std::vector<std::string> columns;
  for (const host::GridColumn& c : grid.columns()) {
    columns.push_back(c.key + "/" + c.field + "/" + c.caption + "/" + std::to_string(c.width) +
                      (c.shown ? "/shown" : "/hidden") +
                      (c.check_box ? "/box " + c.checked_value + c.unchecked_value : ""));
  }
  EXPECT_EQ(columns,
            (std::vector<std::string>{"CODICE/CODICE/Codice/800/shown", "TEXT/TEXT/Nome/4200/shown",
                                      "CHECKED2/CHECKED2/Checked2/20/hidden",
                                      "CHECKED/CHECKED/Abilita/800/shown/box 10"}));
  ASSERT_TRUE(grid.settings().has_value());
  EXPECT_EQ(grid.settings()->key_field, "KEY");
  EXPECT_EQ(grid.settings()->parent_field, "PADRE_KEY");
  EXPECT_EQ(grid.settings()->host, editor.window().HostInterface());
  EXPECT_EQ(grid.options(), std::make_pair(true, true));
  EXPECT_EQ(grid.recordset(), editor.window().tree_rowset());
}

TEST(CliForTreeTest, RevocationsOfThePrincipalOnly) {
  TreeEditor editor;
  // Group 3 revokes the customers' macro area SUD (demo). Rows that must not
  // change its tree: another company, the other type, a grouping row whose
  // macro and middle codes are filled.
  editor.Exec("INSERT INTO FW32_RVKCLIFOR VALUES (NULL, 3, 2, 0, 'NORD', '', '', 'AREA', 0, 0)");
  editor.Exec("INSERT INTO FW32_RVKCLIFOR VALUES (NULL, 3, 1, 1, 'NORD', '', '', 'AREA', 0, 0)");
  editor.Exec("INSERT INTO FW32_RVKCLIFOR VALUES (NULL, 3, 1, 0, 'XX', 'YY', 'B', 'RAGG1', 0, 0)");
  // A macro area matches only a row with blank middle and third codes.
  editor.Exec(
      "INSERT INTO FW32_RVKCLIFOR VALUES (NULL, 3, 1, 0, 'CENTRO', 'TOS', '', 'AREA', 0, 0)");
  editor.Exec(
      "INSERT INTO FW32_RVKCLIFOR VALUES (NULL, 3, 1, 0, 'ESTERO', '  ', ' ', 'AREA', 0, 0)");
  editor.Group(3);
  EXPECT_EQ(editor.Cell("M_1.0.SUD", "CHECKED"), "0");
  EXPECT_EQ(editor.Cell("A_1.0.SUD.CAM", "CHECKED"), "1");
  EXPECT_EQ(editor.Cell("M_1.0.NORD", "CHECKED"), "1");
  EXPECT_EQ(editor.Cell("M_1.1.NORD", "CHECKED"), "0");
  EXPECT_EQ(editor.Cell("1_1.0.B", "CHECKED"), "0");
  EXPECT_EQ(editor.Cell("M_1.0.CENTRO", "CHECKED"), "1");
  EXPECT_EQ(editor.Cell("A_1.0.CENTRO.TOS", "CHECKED"), "0");
  EXPECT_EQ(editor.Cell("M_1.0.ESTERO", "CHECKED"), "0");
  int revoked = 0;
  for (TreeEditor::Row& row : editor.Rows()) revoked += row["CHECKED"] == "0";
  EXPECT_EQ(revoked, 5);

  // User 3 shares the number with group 3 and has only an allowed row.
  editor.User(3);
  for (TreeEditor::Row& row : editor.Rows()) {
    if (row["PADRE_KEY"] != "<null>") {
      EXPECT_EQ(row["CHECKED"], "1") << row["KEY"];
    }
  }
  // Group 4 revokes the suppliers' grouping 3 CERT; user 5 the site MAG.
  editor.Group(4);
  EXPECT_EQ(editor.Cell("3_1.1.CERT", "CHECKED"), "0");
  editor.User(5);
  EXPECT_EQ(editor.Cell("E_1.MAG", "CHECKED"), "0");
  EXPECT_EQ(editor.Cell("E_1.SEDE", "CHECKED"), "1");
}

TEST(CliForTreeTest, FailingBuildShowsOneMessageAndLeavesTheGridEmpty) {
  TreeEditor editor;
  editor.Group(1);
  editor.Exec("DROP TABLE MG33_RAGGRCF3");
  editor.ClearOutput();
  editor.Group(2);
  const std::vector<std::string> messages = editor.Messages();
  ASSERT_EQ(messages.size(), 1u);
  const std::string& m = messages[0];
  EXPECT_EQ(m.rfind("16||", 0), 0u) << m;
  const std::string suffix = " in ZERE_TALMIRE: FRMFW_Talmire - LoadTreeCausali";
  ASSERT_GT(m.size(), suffix.size());
  EXPECT_EQ(m.substr(m.size() - suffix.size()), suffix);
  // The error number, "-", the description.
  const std::string text = m.substr(4);
  const size_t dash = text.find('-', 1);
  ASSERT_NE(dash, std::string::npos);
  EXPECT_NO_THROW((void)std::stoll(text.substr(0, dash))) << m;
  EXPECT_NE(text.find("MG33_RAGGRCF3"), std::string::npos) << m;
  EXPECT_EQ(editor.controls().tree_grid->recordset(), nullptr);
  EXPECT_TRUE(editor.Rows().empty());
}

TEST(CliForTreeTest, ABatchFailingAtItsLastStatementLeavesNoHalfTree) {
  // The tree's rows are made while the batch runs: the sites, its last
  // statement, fail once the other nine results became rows.
  TreeEditor editor;
  editor.Group(1);
  ASSERT_FALSE(editor.Rows().empty());
  editor.Exec("DROP TABLE CG31_ANADITTASEDI");
  editor.ClearOutput();
  editor.Group(2);
  const std::vector<std::string> messages = editor.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("CG31_ANADITTASEDI"), std::string::npos) << messages[0];
  EXPECT_EQ(editor.controls().tree_grid->recordset(), nullptr);
  EXPECT_TRUE(editor.Rows().empty());
}

TEST(CliForTreeTest, DescrTipoCFAndBatchShape) {
  EXPECT_EQ(CliForSection::DescrTipoCF(db::Value(0)), " (cli)");
  EXPECT_EQ(CliForSection::DescrTipoCF(db::Value(1)), " (for)");
  EXPECT_EQ(CliForSection::DescrTipoCF(db::Value(-1)), " (?\?\?)");
  EXPECT_EQ(CliForSection::DescrTipoCF(db::Value::Null()), " (?\?\?)");

  EXPECT_EQ(CliForStatements::PrincipalClause(store::Principal::Group(3)),
            " AND FW32_ID_FW07 IS NULL AND FW32_ID_FW06 =3");
  EXPECT_EQ(CliForStatements::PrincipalClause(store::Principal::User(12)),
            " AND FW32_ID_FW07 =12 AND FW32_ID_FW06 IS NULL");
  const std::string clause = CliForStatements::PrincipalClause(store::Principal::User(12));
  EXPECT_EQ(
      CliForStatements::MacroAreas(clause, 1),
      " SELECT distinct P.MG07_DITTA_CG18, P.MG07_TIPOCF, P.MG07_MACROAREA, "
      "P.MG07_DESCRMACROAR, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
      "        FROM MG07_MACROAREE FF cross apply dbo.FNMG07_MACROAREE(FF.MG07_MACROAREA, "
      "FF.MG07_DITTA_CG18, FF.MG07_TIPOCF) P "
      "        LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG07_TIPOCF AND FW32_DITTA = "
      "P.MG07_DITTA_CG18 "
      "             AND P.MG07_MACROAREA = FW32_CODMACRO AND RTRIM(LTRIM(FW32_CODMIDDLE)) = '' "
      "AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND FW32_TIPORAGG = 'AREA' "
      " AND FW32_ID_FW07 =12 AND FW32_ID_FW06 IS NULL"
      "        WHERE P.MG07_DITTA_CG18 = 1 ORDER BY P.MG07_TIPOCF ");
  EXPECT_EQ(
      CliForStatements::Sites(clause, 2),
      " ; SELECT distinct CG31_DITTA_CG18, CG31_CODICE, CG31_INDIRIZZO, "
      "ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
      "          FROM CG31_ANADITTASEDI "
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = -1 AND FW32_DITTA = CG31_DITTA_CG18 "
      "             AND CG31_CODICE = FW32_CODRAGG AND FW32_TIPORAGG = 'SEDE' "
      " AND FW32_ID_FW07 =12 AND FW32_ID_FW06 IS NULL"
      "          WHERE CG31_DITTA_CG18 = 2");
  // Ten statements, only the sub-categories without distinct.
  const std::string batch = CliForStatements::TreeBatch(store::Principal::Group(3), 1);
  size_t selects = 0;
  size_t distincts = 0;
  for (size_t at = batch.find("SELECT "); at != std::string::npos;
       at = batch.find("SELECT ", at + 1)) {
    ++selects;
    distincts += batch.compare(at, 16, "SELECT distinct ") == 0;
  }
  EXPECT_EQ(selects, 10u);
  EXPECT_EQ(distincts, 9u);
}

// The planner's lines for `sql` on `db`.
std::vector<std::string> Plan(sqlite3* db, const std::string& sql) {
  std::vector<std::string> lines;
  sqlite3_stmt* stmt = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &stmt, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(db) << ": " << sql;
  while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
    lines.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)));
  }
  sqlite3_finalize(stmt);
  return lines;
}

TEST(CliForTreeTest, EachSourceRowIsReadAsItsOwnFunctionRow) {
  // Each source table is applied to its table function with its own key:
  // the function's row is the source row itself (the key is unique under
  // the columns' collation), so each statement reads its source table once,
  // searched by company through the key's index, whose order is the ORDER
  // BY's (no sort), and the tree keeps its rows.
  TreeEditor editor;
  editor.Group(1);
  editor.Section("ITM50010");
  const size_t rows = editor.Rows().size();
  ASSERT_GT(rows, 6u);
  auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&editor.window().connection()->driver());
  ASSERT_NE(driver, nullptr);
  int merged = 0;
  for (sqlite3_stmt* stmt = sqlite3_next_stmt(driver->handle(), nullptr); stmt != nullptr;
       stmt = sqlite3_next_stmt(driver->handle(), stmt)) {
    const std::string sql = sqlite3_sql(stmt);
    if (sql.find("FW32_RVKCLIFOR") == std::string::npos) continue;
    if (sql.find("_FLGOBSOLETO = 0") == std::string::npos) continue;  // the sites
    ++merged;
    EXPECT_EQ(sql.find(" AS P "), std::string::npos) << sql;
    EXPECT_EQ(sql.find("coalesce(FF."), std::string::npos) << sql;
    int by_company = 0;
    for (const std::string& line : Plan(driver->handle(), sql)) {
      if (line.rfind("SEARCH FF USING INDEX sqlite_autoindex_", 0) == 0 &&
          line.find("_DITTA_CG18=?)") != std::string::npos) {
        ++by_company;
      }
      EXPECT_EQ(line.find("FOR ORDER BY"), std::string::npos) << line << "\n" << sql;
    }
    EXPECT_EQ(by_company, 1) << sql;
  }
  EXPECT_EQ(merged, 9);
}

}  // namespace
}  // namespace orv::sections
