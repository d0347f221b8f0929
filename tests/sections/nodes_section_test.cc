// The project-node section end to end on the demo database: what a
// principal sees after "Aggiorna", what clicks write to FW3N_RVKNODI through
// the MERGE, how the filter narrows the rows without touching hidden
// revocations, and the life of the work table.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/recordset.h"
#include "hostdb/demo_installation.h"
#include "sections/node_editor.h"
#include "sections/parameters/node_merge.h"
#include "session/headless_global.h"
#include "session/headless_log_class.h"
#include "session/memory_grouping_grid.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::NodeEditor;
using Strings = std::vector<std::string>;

// The demo's nodes of company 1, in the order the section shows them.
const Strings kCompany1Nodes = {
    "24001/010", "24001/020",      "24001/030",      "24001/030.01", "24001/030.02",
    "24001/040", "24002/010",      "24002/020",      "24002/030",    "24003/010",
    "24003/020", "COMM-MI-01/010", "COMM-MI-01/020", "R&D-07/010",
};

// kCompany1Nodes with "=1", except the given nodes with "=0".
Strings AllowedExcept(const Strings& revoked) {
  Strings rows;
  for (const std::string& node : kCompany1Nodes) {
    bool off = false;
    for (const std::string& r : revoked) off = off || r == node;
    rows.push_back(node + (off ? "=0" : "=1"));
  }
  return rows;
}

// The demo's own revocations: group 6 in company 1, user 7 in company 1.
const Strings kDemoRows = {"1|24001|030|6|NULL", "1|24002|020|NULL|7"};

TEST(NodeSectionTest, WhatEachPrincipalSees) {
  NodeEditor e;
  e.Group(DemoInstallation::kGroupAcquisti);
  e.Section("ITM_NODI");
  // Entering the section loads nothing: the rows come with "Aggiorna".
  EXPECT_TRUE(e.Shown().empty());
  EXPECT_EQ(e.window().section_code(), 33);
  e.host().Button("CMD_UPDATE");
  // A principal without rows: every node of the company, every box checked.
  EXPECT_EQ(e.Shown(), AllowedExcept({}));
  EXPECT_TRUE(e.window().loaded_flag());
  EXPECT_EQ(e.controls().grid->GetDataSource(), e.window().work_recordset());
  const std::vector<testing::WorkRow> rows = e.Rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0].description, "Progettazione");
  EXPECT_EQ(rows[0].dittarag, "1");
  EXPECT_EQ(rows[0].raggruppamento, "1 - Officine Meccaniche Bresciane S.p.A.");
  EXPECT_EQ(rows[0].modifica, "0");

  // A principal change reloads the loaded section for the new principal.
  e.Group(DemoInstallation::kGroupProduzione);
  EXPECT_EQ(e.Shown(), AllowedExcept({"24001/030"}));
  e.User(DemoInstallation::kUserFerrari);
  EXPECT_EQ(e.Shown(), AllowedExcept({"24002/020"}));
  // A user whose identifier is that of a group with rows is another principal.
  e.User(DemoInstallation::kUserRomano);
  EXPECT_EQ(e.Shown(), AllowedExcept({}));
  EXPECT_TRUE(e.Messages().empty());
}

TEST(NodeSectionTest, EachClickWritesExactlyItsRow) {
  NodeEditor e;
  e.Group(DemoInstallation::kGroupAcquisti);
  e.OpenNodes();
  e.ClearOutput();

  e.ClickNode("24001", "010");
  EXPECT_EQ(e.Revocations(),
            (Strings{"1|24001|010|4|NULL", "1|24001|030|6|NULL", "1|24002|020|NULL|7"}));
  e.ClickNode("24002", "010");
  EXPECT_EQ(e.Revocations(), (Strings{"1|24001|010|4|NULL", "1|24001|030|6|NULL",
                                      "1|24002|010|4|NULL", "1|24002|020|NULL|7"}));
  EXPECT_EQ(e.Shown(), AllowedExcept({"24001/010", "24002/010"}));

  // Checking one again deletes exactly that row.
  e.ClickNode("24001", "010");
  EXPECT_EQ(e.Revocations(),
            (Strings{"1|24001|030|6|NULL", "1|24002|010|4|NULL", "1|24002|020|NULL|7"}));
  EXPECT_EQ(e.Shown(), AllowedExcept({"24002/010"}));
  EXPECT_EQ(e.Log16().size(), 3u);
  EXPECT_TRUE(e.Messages().empty());

  // What was written is what the next load shows.
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Shown(), AllowedExcept({"24002/010"}));
}

TEST(NodeSectionTest, AUserRowNamesTheUserOnly) {
  NodeEditor e;
  e.User(DemoInstallation::kUserFerrari);
  e.OpenNodes();
  e.ClickNode("R&D-07", "010");
  e.ClickNode("24002", "020");  // the demo's revocation, given back
  EXPECT_EQ(e.Revocations(), (Strings{"1|24001|030|6|NULL", "1|R&D-07|010|NULL|7"}));
}

TEST(NodeSectionTest, AFilterHidingARevokedNodeKeepsItsRevocation) {
  NodeEditor e;
  e.Group(DemoInstallation::kGroupAcquisti);
  e.OpenNodes();
  e.ClickNode("24001", "020");

  e.host().Filter("Progetto", "24002", "");
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Shown(), (Strings{"24002/010=1", "24002/020=1", "24002/030=1"}));
  e.ClickNode("24002", "030");
  e.ClickNode("24002", "010");
  e.ClickNode("24002", "010");
  EXPECT_EQ(e.Revocations(), (Strings{"1|24001|020|4|NULL", "1|24001|030|6|NULL",
                                      "1|24002|020|NULL|7", "1|24002|030|4|NULL"}));

  // Without the filter the hidden revocation is still there.
  e.host().Filter("Progetto", "", "");
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Shown(), AllowedExcept({"24001/020", "24002/030"}));
}

TEST(NodeSectionTest, OtherCompaniesAndPrincipalsAreNeverTouched) {
  NodeEditor e;
  // Rows the group's MERGE must leave alone: the group in other companies
  // (one for a node that exists, one for a node the catalogue no longer
  // has), the user with the group's identifier, another group.
  e.Exec(
      "INSERT INTO FW3N_RVKNODI (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW06, "
      "FW3N_ID_FW07) VALUES (2, '24001', '010', 4, NULL), (3, 'OLD', '999', 4, NULL), "
      "(1, '24001', '040', NULL, 4), (1, '24001', '040', 5, NULL)");
  const Strings others = {"1|24001|030|6|NULL", "1|24001|040|5|NULL", "1|24001|040|NULL|4",
                          "1|24002|020|NULL|7", "2|24001|010|4|NULL", "3|OLD|999|4|NULL"};
  EXPECT_EQ(e.Revocations(), others);
  e.Group(DemoInstallation::kGroupAcquisti);
  e.OpenNodes();
  EXPECT_EQ(e.Shown(), AllowedExcept({}));
  e.ClickNode("24001", "040");
  Strings with = others;
  with.insert(with.begin() + 1, "1|24001|040|4|NULL");
  EXPECT_EQ(e.Revocations(), with);
  e.ClickNode("24001", "040");
  EXPECT_EQ(e.Revocations(), others);
}

TEST(NodeSectionTest, WithoutAPrincipalNothingIsWritten) {
  NodeEditor e;
  e.Group(DemoInstallation::kGroupAcquisti);
  e.OpenNodes();
  e.host().SelectNoPrincipal();
  e.ClearOutput();
  e.ClickNode("24001", "010");
  EXPECT_EQ(e.Messages(), Strings{"48|Operazione non valida|Selezionare almeno un gruppo o un "
                                  "utente!"});
  EXPECT_EQ(e.Revocations(), kDemoRows);
  EXPECT_TRUE(e.Log16().empty());
}

TEST(NodeSectionTest, AFailedMergeChangesNothingAndIsLogged) {
  NodeEditor e;
  e.Group(DemoInstallation::kGroupAcquisti);
  e.OpenNodes();
  NodeMerge* merge = e.Find<NodeMerge>();
  ASSERT_NE(merge, nullptr);
  // A principal that is both or neither is refused before any statement.
  EXPECT_FALSE(merge->ConfermaModificheNodi(db::Value::Null(), db::Value::Null()));
  EXPECT_FALSE(merge->ConfermaModificheNodi(db::Value(4), db::Value(4)));
  // So is one the work table was not built for (user 7, rows of group 4).
  const Strings demo = e.Revocations();
  EXPECT_FALSE(merge->ConfermaModificheNodi(db::Value(7), db::Value::Null()));
  EXPECT_EQ(e.Revocations(), demo);
  EXPECT_TRUE(e.host().global()->logged_errors().empty());

  e.ClickNode("24001", "010");
  // The work table goes away behind the window's back: the MERGE fails, the
  // log class answers abort, the table of revocations keeps its rows.
  e.Exec(" if object_id('tempdb.." + e.window().temp_table_name() +
         "') is not null  BEGIN  DROP TABLE " + e.window().temp_table_name() + " END ");
  const Strings before = e.Revocations();
  EXPECT_FALSE(merge->ConfermaModificheNodi(db::Value::Null(), db::Value(4)));
  ASSERT_EQ(e.host().global()->logged_errors().size(), 1u);
  EXPECT_EQ(e.host().global()->logged_errors()[0].routine, "ConfermaModificheNodi");
  EXPECT_EQ(e.Revocations(), before);
}

TEST(NodeSectionTest, AFailedLoadLeavesNoRowsToClick) {
  NodeEditor e;
  e.Group(DemoInstallation::kGroupAcquisti);
  e.OpenNodes();
  ASSERT_FALSE(e.Shown().empty());
  e.Exec("DROP TABLE FW3N_RVKNODI");
  e.ClearOutput();
  e.host().Button("CMD_UPDATE");
  const Strings messages = e.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Errore N"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find(" in LoadData"), std::string::npos) << messages[0];
  EXPECT_FALSE(e.window().work_recordset());
  EXPECT_FALSE(e.controls().grid->GetDataSource());
}

TEST(NodeSectionTest, TheWorkTableLivesWithTheWindow) {
  NodeEditor e;
  const std::string table = e.window().temp_table_name();
  ASSERT_EQ(table.size(), 39u);
  e.Group(DemoInstallation::kGroupAcquisti);
  e.Section("ITM_NODI");
  EXPECT_FALSE(e.TempTableExists(table));
  e.host().Button("CMD_UPDATE");
  ASSERT_TRUE(e.TempTableExists(table));
  // Every row is staged, INCLUSA marks those that pass the filter.
  e.host().Filter("Nodo", "030", "030.02");
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM " + table), 14);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM " + table + " WHERE INCLUSA = 1"), 4);
  EXPECT_EQ(e.Shown(), (Strings{"24001/030=1", "24001/030.01=1", "24001/030.02=1", "24002/030=1"}));
  ASSERT_TRUE(e.host().Close());
  EXPECT_FALSE(e.TempTableExists(table));
}

}  // namespace
}  // namespace orv::sections
