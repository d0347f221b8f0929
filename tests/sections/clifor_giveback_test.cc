// Giving a customer/supplier branch back: whatever a stored row holds in the
// columns the tree's join does not compare, the save finds that row, so that
// clearing and ticking a branch always leaves one row and the next build
// shows the new state, for every branch kind.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sections/tree_editor.h"

namespace orv::sections {
namespace {

using orv::testing::TreeEditor;

struct BranchCase {
  const char* key_prefix;  // the level's key prefix in the tree
  const char* macro;       // what the stored row holds, given the tree row's codes
  const char* middle;
  const char* ragg;
};

// The stored row differs from the tree row only where the join does not look
// (first and second codes of groupings and sites) or looks through blanks
// (empty levels of the area and category branches written as blanks).
const std::vector<BranchCase> kCases = {
    {"M_", "", "  ", " "}, {"A_", "", "", "   "}, {"Z_", "", "", ""},   {"Y_", "", " ", "  "},
    {"C_", "", "", "  "},  {"S_", "", "", ""},    {"1_", "X", "Y", ""}, {"2_", "X", "Y", ""},
    {"3_", "X", "Y", ""},  {"E_", "X", "Y", ""},
};

TEST(CliForGiveBackTest, TickingARevokedBranchGivesItBackForEveryKind) {
  for (const BranchCase& c : kCases) {
    TreeEditor editor;
    editor.Group(6);
    TreeEditor::Row branch;
    for (const TreeEditor::Row& row : editor.Rows()) {
      if (row.at("KEY").rfind(c.key_prefix, 0) == 0) {
        branch = row;
        break;
      }
    }
    ASSERT_FALSE(branch.empty()) << c.key_prefix;
    auto code = [&](const char* field) {
      const std::string v = branch.at(field);
      return v == "<null>" ? std::string() : v;
    };
    const std::string key = branch.at("KEY");
    const std::string kind = branch.at("TIPORAGG");
    // A level the branch has keeps the tree's code; the others hold the
    // case's variant.
    const std::string macro = code("CODMACRO").empty() ? c.macro : code("CODMACRO");
    const std::string middle = code("CODMIDDLE").empty() ? c.middle : code("CODMIDDLE");
    const std::string ragg = code("CODRAGG").empty() ? c.ragg : code("CODRAGG");
    editor.Exec("DELETE FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 6");
    editor.Exec(
        "INSERT INTO FW32_RVKCLIFOR (FW32_ID_FW07, FW32_ID_FW06, FW32_DITTA, FW32_TIPOCF, "
        "FW32_CODMACRO, FW32_CODMIDDLE, FW32_CODRAGG, FW32_TIPORAGG, FW32_FLGABILITATO, "
        "FW32_FLGMODIFICA) VALUES (NULL, 6, " +
        branch.at("DITTA") + ", " + branch.at("TIPOCF") + ", '" + macro + "', '" + middle + "', '" +
        ragg + "', '" + kind + "', 0, 0)");
    editor.Group(5);
    editor.Group(6);
    auto shown = [&] {
      std::vector<std::string> checked;
      for (const TreeEditor::Row& row : editor.Rows()) {
        if (row.at("KEY") == key) checked.push_back(row.at("CHECKED"));
      }
      return checked;
    };
    ASSERT_EQ(shown(), std::vector<std::string>{"0"}) << key;

    editor.Click(key);
    EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 6"), 1) << key;
    EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 6 AND "
                           "FW32_FLGABILITATO = 1"),
              1)
        << key;
    editor.Group(5);
    editor.Group(6);
    EXPECT_EQ(shown(), std::vector<std::string>{"1"}) << key;
    // And back: one row, revoked again.
    editor.Click(key);
    EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = 6 AND "
                           "FW32_FLGABILITATO = 0"),
              1)
        << key;
    EXPECT_TRUE(editor.Messages().empty()) << key;
  }
}

}  // namespace
}  // namespace orv::sections
