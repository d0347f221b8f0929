// The project section's filter bar: how the query control is set up, how a
// typed filter narrows the projects on "Aggiorna", the pane gestures, and
// the project-code lookups.

#include <gtest/gtest.h>

#include <sstream>

#include "hostdb/demo_installation.h"
#include "sections/parameter_editor.h"
#include "session/memory_query_control.h"
#include "session/session_script.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::ParameterEditor;

TEST(ProjectFilterTest, QueryControlSetUp) {
  ParameterEditor e;
  e.Group(DemoInstallation::kGroupVendite);
  e.Section("ITM50026");
  const session::MemoryQueryControl& q = *e.controls().query;
  EXPECT_EQ(q.context_name(), "ZERE_MIRSENT");
  EXPECT_TRUE(q.enabled());
  EXPECT_EQ(q.company(), 1);
  EXPECT_EQ(q.build_count, 1);
  const std::vector<std::string> expected = {
      "Progetto|PD68_CODPROG|25",
      "Tipo progetto|PD68_TIPO_PD1D|10",
      "Stato progetto|PD68_STATO_PD1E|10",
      "Classe A progetto|PD68_CLASSEA_PD1F|10",
      "Classe B progetto|PD68_CLASSEB_PD1G|10",
      "Classe C progetto|PD68_CLASSEC_PD1H|10",
  };
  EXPECT_EQ(e.QueryFields(), expected);
  // Opening the section again starts from a clean control.
  e.Section("ITM50017");
  e.Section("ITM50026");
  EXPECT_EQ(e.controls().query->fields().size(), expected.size());
  EXPECT_TRUE(e.window().control("CMD_UPDATE").visible());
  EXPECT_TRUE(e.window().control("VRX_FMEHENQUERY").visible());
}

TEST(ProjectFilterTest, AggiornaAppliesTheFilterAndCollapsesThePane) {
  ParameterEditor e;
  e.Group(DemoInstallation::kGroupVendite);
  e.Section("ITM50026");
  ASSERT_TRUE(e.window().control("PICUP").visible());
  e.host().Filter("Progetto", "24001", "24002");
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Codes(), (std::vector<std::string>{"24001", "24002"}));
  EXPECT_FALSE(e.window().control("VRX_FMEHENQUERY").visible());
  EXPECT_TRUE(e.window().control("PICDOWN").visible());
  EXPECT_FALSE(e.window().control("PICUP").visible());
  EXPECT_EQ(e.window().control("SPLIT_OCX").top(), 90);

  // The splitter gestures open and close the pane in this section.
  e.window().PICDOWN_DblClick();
  EXPECT_TRUE(e.window().control("VRX_FMEHENQUERY").visible());
  e.window().PICUP_DblClick();
  EXPECT_FALSE(e.window().control("VRX_FMEHENQUERY").visible());

  // Only "Da": that one project. Other fields combine with AND.
  e.host().Filter("Progetto", "", "");
  e.host().Filter("Stato progetto", "APE", "");
  e.host().Filter("Tipo progetto", "EST", "");
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Codes(), (std::vector<std::string>{"24002", "COMM-MI-01"}));

  // A quote typed into a bound reaches the statement as a literal.
  e.host().Filter("Stato progetto", "", "");
  e.host().Filter("Tipo progetto", "", "");
  e.host().Filter("Progetto", "R&D'07", "");
  e.ClearOutput();
  e.host().Button("CMD_UPDATE");
  EXPECT_TRUE(e.Messages().empty());
  EXPECT_TRUE(e.Rows().empty());
  e.host().Filter("Progetto", "x' OR 1=1 --", "");
  e.host().Button("CMD_UPDATE");
  EXPECT_TRUE(e.Messages().empty());
  EXPECT_TRUE(e.Rows().empty());
}

TEST(ProjectFilterTest, LookupsOfProjectFieldsGoToTheHostServices) {
  ParameterEditor e;
  e.Group(DemoInstallation::kGroupVendite);
  e.Section("ITM50026");
  std::optional<host::LookupDefinition> lookup =
      e.window().ENHQUERY_LookupDefinition("Stato progetto");
  ASSERT_TRUE(lookup);
  EXPECT_NE(lookup->statement.find("PD68_STATO_PD1E"), std::string::npos) << lookup->statement;
  EXPECT_FALSE(e.window().ENHQUERY_LookupDefinition("Nodo"));  // not a field of projects
  // The headless services keep a typed value as it is; blanks stay blanks.
  EXPECT_EQ(e.window().ENHQUERY_FieldValue("Progetto", "Da", "24001"), "24001");
  EXPECT_EQ(e.window().ENHQUERY_FieldValue("Progetto", "A", "  "), "  ");
  // Outside the project section nothing answers.
  e.Section("ITM50017");
  EXPECT_FALSE(e.window().ENHQUERY_LookupDefinition("Progetto"));
}

TEST(ProjectFilterTest, SessionScriptDrivesAParameterSection) {
  ParameterEditor e;
  std::ostringstream out, err;
  session::SessionScript::Defaults defaults;
  defaults.connection_string = session::SessionScript::ConnectionStringForFile(e.database_path());
  session::SessionScript script(defaults, out, err);
  std::istringstream lines(
      "open\n"
      "principal group 4\n"
      "sidebar ITM50026\n"
      "filter Progetto 24003\n"
      "button CMD_UPDATE\n"
      "show GRIDTIPOLOGIE\n"
      "click GRIDTIPOLOGIE 1 ABILITATO\n"
      "header GRIDTIPOLOGIE ABILITATO 1\n"
      "show GRIDTIPOLOGIE\n"
      "sql SELECT FW31_ID_FW06, FW31_CODTIPO FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 8 AND "
      "FW31_ID_FW06 = 4\n");
  ASSERT_EQ(script.Run(lines), session::SessionScript::kOk) << err.str() << out.str();
  const std::string text = out.str();
  EXPECT_NE(text.find("24003"), std::string::npos) << text;
  EXPECT_NE(text.find("LOG 16"), std::string::npos) << text;
  EXPECT_NE(text.find("4\t24003"), std::string::npos) << text;
  EXPECT_EQ(text.find("24001"), std::string::npos) << text;
}

}  // namespace
}  // namespace orv::sections
