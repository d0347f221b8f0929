// The filter bar of the project-node section: its set-up, how typed bounds
// (quotes included) narrow the rows, and the lookups of its fields, a node
// being looked up within the project of its own bound.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "hostdb/demo_installation.h"
#include "sections/node_editor.h"
#include "sections/nodes/node_section.h"
#include "session/memory_query_control.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::NodeEditor;
using Strings = std::vector<std::string>;

TEST(NodeFilterTest, QueryControlSetUp) {
  NodeEditor e;
  e.Group(DemoInstallation::kGroupAcquisti);
  e.Section("ITM_NODI");
  const session::MemoryQueryControl& q = *e.controls().query;
  EXPECT_EQ(q.context_name(), "ZERE_MIRSENTNODI");
  EXPECT_TRUE(q.enabled());
  EXPECT_EQ(q.company(), 1);
  EXPECT_EQ(q.build_count, 1);
  const std::vector<std::string> expected = {
      "Progetto|PD0C_CODPROG_PD68|25",          "Nodo|PD0C_CODNODO|25",
      "Tipo progetto|PD68_TIPO_PD1D|10",        "Stato progetto|PD68_STATO_PD1E|10",
      "Classe A progetto|PD68_CLASSEA_PD1F|10", "Classe B progetto|PD68_CLASSEB_PD1G|10",
      "Classe C progetto|PD68_CLASSEC_PD1H|10", "Tipo nodo|PD0C_TIPO_PD1D|10",
      "Stato nodo|PD0C_STATO_PD1E|10",          "Classe A nodo|PD0C_CLASSEA_PD1F|10",
      "Classe B nodo|PD0C_CLASSEB_PD1G|10",     "Classe C nodo|PD0C_CLASSEC_PD1H|10",
  };
  EXPECT_EQ(e.QueryFields(), expected);
  EXPECT_TRUE(e.window().control("CMD_UPDATE").visible());
  EXPECT_TRUE(e.window().control("VRX_FMEHENQUERY").visible());

  // The project section gets its own six fields back.
  e.Section("ITM50026");
  EXPECT_EQ(e.controls().query->context_name(), "ZERE_MIRSENT");
  ASSERT_EQ(e.controls().query->fields().size(), 6u);
  EXPECT_EQ(e.controls().query->fields()[0].column, "PD68_CODPROG");
  e.Section("ITM_NODI");
  EXPECT_EQ(e.controls().query->fields().size(), expected.size());
}

TEST(NodeFilterTest, FieldsOfProjectsAndNodesCombine) {
  NodeEditor e;
  e.Group(DemoInstallation::kGroupAcquisti);
  e.Section("ITM_NODI");
  e.host().Filter("Stato nodo", "CHI", "");
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Shown(), (Strings{"24001/010=1", "24003/010=1", "R&D-07/010=1"}));
  e.host().Filter("Stato progetto", "APE", "");
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Shown(), (Strings{"24001/010=1"}));
  // "Aggiorna" collapses the query pane.
  EXPECT_FALSE(e.window().control("VRX_FMEHENQUERY").visible());
  EXPECT_TRUE(e.window().control("PICDOWN").visible());
}

TEST(NodeFilterTest, QuotesInTypedBoundsStayLiterals) {
  NodeEditor e;
  e.Exec(
      "INSERT INTO PD68_PROGETTI (PD68_DITTA_CG18, PD68_CODPROG, PD68_DESCRPROG, PD68_TIPO_PD1D, "
      "PD68_STATO_PD1E) VALUES (1, 'L''ARCO', 'Ponte ad arco', 'EST', 'APE')");
  e.Exec(
      "INSERT INTO PD0C_NODO (PD0C_DITTA_CG18, PD0C_CODPROG_PD68, PD0C_CODNODO, PD0C_DESCR) "
      "VALUES (1, 'L''ARCO', 'N''1', 'Fondazioni'), (1, 'L''ARCO', 'N2', 'Campata')");
  e.Group(DemoInstallation::kGroupAcquisti);
  e.Section("ITM_NODI");
  e.host().Filter("Progetto", "L'ARCO", "");
  e.ClearOutput();
  e.host().Button("CMD_UPDATE");
  EXPECT_TRUE(e.Messages().empty());
  EXPECT_EQ(e.Shown(), (Strings{"L'ARCO/N'1=1", "L'ARCO/N2=1"}));
  // A node with a quote in its code is revoked and given back like any other.
  e.ClickNode("L'ARCO", "N'1");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3N_RVKNODI WHERE FW3N_CODPROG_PD68 = 'L''ARCO' AND "
                    "FW3N_CODNODO = 'N''1' AND FW3N_ID_FW06 = 4"),
            1);
  e.host().Filter("Nodo", "N'1", "N'1");
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Shown(), (Strings{"L'ARCO/N'1=0"}));

  // Text meant to widen the filter is only a value.
  e.host().Filter("Nodo", "", "");
  e.host().Filter("Progetto", "x' OR 1=1 --", "");
  e.host().Button("CMD_UPDATE");
  EXPECT_TRUE(e.Messages().empty());
  EXPECT_TRUE(e.Shown().empty());
  e.host().Filter("Progetto", "", "");
  e.host().Filter("Stato nodo", "'); DROP TABLE PD0C_NODO; --", "");
  e.host().Button("CMD_UPDATE");
  EXPECT_TRUE(e.Messages().empty());
  EXPECT_TRUE(e.Shown().empty());
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM PD0C_NODO"), 20);
}

TEST(NodeFilterTest, LookupsGoToTheHostServices) {
  NodeEditor e;
  e.Exec(
      "INSERT INTO PD0C_NODO (PD0C_DITTA_CG18, PD0C_CODPROG_PD68, PD0C_CODNODO, PD0C_DESCR) "
      "VALUES (1, '24002', 'Fase-A', 'Fase A'), (1, '24003', 'Fase-B', 'Fase B')");
  e.Group(DemoInstallation::kGroupAcquisti);
  e.Section("ITM_NODI");
  editor::FRMFW_ORVELKA& w = e.window();
  for (const char* caption : {"Nodo", "Tipo nodo", "Classe C nodo", "Progetto"}) {
    std::optional<host::LookupDefinition> lookup = w.ENHQUERY_LookupDefinition(caption);
    ASSERT_TRUE(lookup) << caption;
    EXPECT_FALSE(lookup->statement.empty()) << caption;
  }
  EXPECT_NE(w.ENHQUERY_LookupDefinition("Nodo")->statement.find("PD0C_CODNODO"), std::string::npos);
  EXPECT_FALSE(w.ENHQUERY_LookupDefinition("Magazzino"));

  // A project typed in another case becomes the stored code.
  EXPECT_EQ(w.ENHQUERY_FieldValue("Progetto", "Da", "comm-mi-01"), "COMM-MI-01");
  EXPECT_EQ(w.ENHQUERY_FieldValue("Progetto", "A", "  "), "  ");
  // A node is looked up within the project of its own bound.
  EXPECT_EQ(w.ENHQUERY_FieldValue("Progetto", "Da", "24002"), "24002");
  EXPECT_EQ(w.ENHQUERY_FieldValue("Progetto", "A", "24003"), "24003");
  EXPECT_EQ(w.ENHQUERY_FieldValue("Nodo", "Da", "fase-a"), "Fase-A");
  EXPECT_EQ(w.ENHQUERY_FieldValue("Nodo", "A", "fase-a"), "fase-a");  // not in 24003
  EXPECT_EQ(w.ENHQUERY_FieldValue("Nodo", "A", "FASE-B"), "Fase-B");
  EXPECT_EQ(w.ENHQUERY_FieldValue("Nodo", "Da", "fase-b"), "fase-b");  // not in 24002
  EXPECT_EQ(w.ENHQUERY_FieldValue("Nodo", "Da", "x' OR '1'='1"), "x' OR '1'='1");

  // Opening the section again forgets the projects of the old filter.
  e.Section("ITM_NODI");
  EXPECT_EQ(w.ENHQUERY_FieldValue("Nodo", "A", "fase-a"), "Fase-A");

  // The project section answers for its own fields only.
  e.Section("ITM50026");
  EXPECT_FALSE(w.ENHQUERY_LookupDefinition("Nodo"));
  EXPECT_EQ(w.ENHQUERY_FieldValue("Progetto", "Da", "comm-mi-01"), "COMM-MI-01");
}

}  // namespace
}  // namespace orv::sections
