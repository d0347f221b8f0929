// What the four parameter catalogues list for a principal on the demo
// database: which rows count as revocations, the columns each kind fills, the
// order of rows, the flags around a load.

#include <gtest/gtest.h>

#include "db/recordset.h"
#include "hostdb/demo_installation.h"
#include "sections/parameter_editor.h"
#include "sections/parameters/parameter_section.h"
#include "session/memory_grouping_grid.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::ParameterEditor;
using testing::WorkRow;

std::vector<std::string> Codes(const std::vector<WorkRow>& rows) {
  std::vector<std::string> codes;
  for (const WorkRow& r : rows) codes.push_back(r.code + "@" + r.dittarag);
  return codes;
}

TEST(ParameterCatalogueTest, WarehousesReadOnlyThePrincipalsRowsOfTheirKindAndCompany) {
  ParameterEditor e;
  e.User(DemoInstallation::kUserRossi);  // user 2
  e.Section("ITM50017");
  ASSERT_EQ(e.window().section_code(), 6);
  EXPECT_TRUE(e.window().loaded_flag());
  // Company 1 only, every warehouse once.
  EXPECT_EQ(e.Rows().size(), 7u);
  // Rows of user 2: revoked, INDTIPO from the row.
  EXPECT_EQ(e.Row("A").abilitato, "0");
  EXPECT_EQ(e.Row("A").indtipo, "6");
  EXPECT_EQ(e.Row("DEP 1").abilitato, "0");
  // Group 2 (same number, used as a group) and user 3's row of company 2
  // change nothing; nor does user 2's row of another kind.
  EXPECT_EQ(e.Row("02").abilitato, "1");
  EXPECT_EQ(e.Row("02").indtipo, "");
  EXPECT_EQ(e.Row("01").abilitato, "1");
  EXPECT_EQ(e.Row("A").description, "A - Magazzino accessori");
  EXPECT_EQ(e.Row("CL").description, "");  // no description: the sum is Null
  EXPECT_EQ(e.Row("01").dittarag, "1");
  const std::string company_caption =
      e.db()
          .Execute(
              "SELECT CG16_RAGSOANAG FROM CG18_ANADITTABASE INNER JOIN CG16_ANAGGEN ON "
              "CG18_CODICE_CG16 = CG16_CODICE WHERE CG18_DITTA = 1")
          ->Field(0)
          .ToText();
  EXPECT_EQ(e.Row("01").raggruppamento, "1 - " + company_caption);

  // A row of any flags reads as a revocation; its flags show through.
  e.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
      "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI) "
      "VALUES (2, NULL, 6, 'MP', 1, 1, 1, 0, 1)");
  e.User(DemoInstallation::kUserRossi);
  EXPECT_EQ(e.Row("MP").abilitato, "0");
  EXPECT_EQ(e.Row("MP").modifica, "1");
  EXPECT_EQ(e.Row("MP").eliminazione, "0");

  // The group 2 sees its own row and not user 2's.
  e.Group(DemoInstallation::kGroupAmmin);
  EXPECT_EQ(e.Row("02").abilitato, "0");
  EXPECT_EQ(e.Row("A").abilitato, "1");
  EXPECT_EQ(e.Row("MP").abilitato, "1");
}

TEST(ParameterCatalogueTest, SimulationsOfEveryCompanyOrderedByCompany) {
  ParameterEditor e;
  e.User(DemoInstallation::kUserVerdi);  // user 4: BASE revoked in company 2
  e.Section("ITM50016");
  const std::vector<WorkRow> rows = e.Rows();
  ASSERT_EQ(rows.size(), 5u) << ::testing::PrintToString(Codes(rows));
  // Company 1 first, then company 2; BASE appears once per company.
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(rows[i].dittarag, "1") << i;
  for (size_t i = 3; i < 5; ++i) EXPECT_EQ(rows[i].dittarag, "2") << i;
  EXPECT_EQ(e.Row("BASE", 1).abilitato, "1");
  EXPECT_EQ(e.Row("BASE", 2).abilitato, "0");
  EXPECT_EQ(e.Row("BASE", 2).indtipo, "15");
  EXPECT_EQ(e.Row("BASE", 1).indtipo, "");
  EXPECT_EQ(e.Row("PROVA").description, "");
}

TEST(ParameterCatalogueTest, ProjectsMatchTheirCodeAsTextAndBlockingParametersShowZeros) {
  ParameterEditor e;
  e.Group(DemoInstallation::kGroupVendite);  // group 3: project 24002 revoked
  e.Section("ITM50026");
  // The project grid stays empty until "Aggiorna".
  EXPECT_TRUE(e.Rows().empty());
  EXPECT_FALSE(e.controls().grid->recordset());
  e.host().Button("CMD_UPDATE");
  std::vector<WorkRow> rows = e.Rows();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(e.Row("24002").abilitato, "0");
  EXPECT_EQ(e.Row("24001").abilitato, "1");
  for (const WorkRow& r : rows) {
    EXPECT_EQ(r.indtipo, "0") << r.code;
    EXPECT_EQ(r.dittarag, "1") << r.code;
  }
  // A project whose code is a number in the revocation's text form.
  e.Exec(
      "INSERT INTO PD68_PROGETTI (PD68_DITTA_CG18, PD68_CODPROG, PD68_DESCRPROG) "
      "VALUES (1, '777', 'Numerico')");
  e.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
      "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI) "
      "VALUES (NULL, 3, 8, '777', 1, 0, 0, 0, 0)");
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Row("777").abilitato, "0");

  e.Group(DemoInstallation::kGroupMagazzino);  // group 5: QUAL revoked
  e.Section("ITM_MODBLOCCO");
  rows = e.Rows();
  ASSERT_EQ(rows.size(), 4u);
  for (const WorkRow& r : rows) {
    EXPECT_EQ(r.modifica, "0") << r.code;
    EXPECT_EQ(r.inserimento, "0") << r.code;
    EXPECT_EQ(r.eliminazione, "0") << r.code;
    EXPECT_EQ(r.raggruppamento, "0") << r.code;
    EXPECT_EQ(r.indtipo, "30") << r.code;
    EXPECT_EQ(r.abilitato, r.code == "QUAL" ? "0" : "1") << r.code;
  }
}

TEST(ParameterCatalogueTest, EmptyCatalogueBindsAnEmptyGridAndAClickDoesNothing) {
  ParameterEditor e;
  e.Exec("DELETE FROM MG0F_BLMPARAM WHERE MG0F_DITTA_CG18 = 1");
  e.Group(DemoInstallation::kGroupMagazzino);
  e.Section("ITM_MODBLOCCO");
  std::shared_ptr<db::Recordset> bound = e.controls().grid->recordset();
  ASSERT_TRUE(bound);
  EXPECT_EQ(bound, e.window().work_recordset());
  EXPECT_EQ(bound->RecordCount(), 0);
  EXPECT_TRUE(e.window().loaded_flag());
  e.ClearOutput();
  const int64_t before = e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI");
  bool cancel = false;
  e.window().GRIDTIPOLOGIE_SelectionBoxClick("", "ABILITATO", db::Value(1), cancel);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), before);
  EXPECT_TRUE(e.Messages().empty());
  EXPECT_TRUE(e.Log16().empty());
}

TEST(ParameterCatalogueTest, WorkRecordsetShape) {
  std::shared_ptr<db::Recordset> rs = ParameterSection::CreaRecordset();
  const char* names[] = {"CODICE",         "DESCRIZIONE",  "ABILITATO", "MODIFICA",
                         "INSERIMENTO",    "ELIMINAZIONE", "VISIBLE",   "DITTARAG",
                         "RAGGRUPPAMENTO", "INDTIPO"};
  ASSERT_EQ(rs->FieldCount(), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(rs->FieldAt(i).name, names[i]);
  EXPECT_TRUE(rs->FieldAt(0).IsFixedText());
  EXPECT_EQ(rs->FieldAt(0).defined_size, 25);
  EXPECT_FALSE(rs->FieldAt(0).nullable);
  rs->AddNew();
  rs->SetField("CODICE", db::Value("A"));
  rs->SetField("DITTARAG", db::Value(2));
  rs->Update();
  EXPECT_EQ(rs->Field("CODICE").ToText(), "A" + std::string(24, ' '));
  EXPECT_EQ(rs->Field("DITTARAG").ToText(), "2");
}

TEST(ParameterCatalogueTest, PrincipalChangeReloadsOnlyALoadedCatalogue) {
  ParameterEditor e;
  e.User(DemoInstallation::kUserRossi);
  e.Section("ITM50026");
  EXPECT_TRUE(e.window().skip_reload() == false);  // the side bar's own node pass cleared it
  // Not loaded yet: a principal change loads nothing.
  e.User(DemoInstallation::kUserBianchi);
  EXPECT_TRUE(e.Rows().empty());
  e.host().Button("CMD_UPDATE");
  EXPECT_EQ(e.Row("24002").abilitato, "1");
  // Loaded: the next principal change reloads for the new principal.
  e.Group(DemoInstallation::kGroupVendite);
  EXPECT_EQ(e.Row("24002").abilitato, "0");
}

// Every field of every work row, as stored (padding, Nulls and types shown).
std::string Dump(ParameterEditor& e) {
  std::shared_ptr<db::Recordset> rs = e.window().work_recordset();
  if (!rs || !rs->IsOpen()) return "<none>";
  std::string out;
  for (int64_t r = 0; r < rs->RecordCount(); ++r) {
    for (const db::Value& v : rs->RowAt(r)) out += v.DebugString() + "|";
    out += "\n";
  }
  return out;
}

void Show(ParameterEditor& e, const char* section) {
  e.Section(section);
  if (std::string_view(section) == "ITM50026") e.host().Button("CMD_UPDATE");
}

TEST(ParameterCatalogueTest, AReloadShowsWhatAFreshLoadShowsWhateverRowsCameBefore) {
  // A load reuses the storage of the rows it replaces (other sections',
  // another principal's, the customer/supplier tree's, of other lengths and
  // types): nothing of them may show through.
  const std::vector<const char*> sections = {"ITM50017", "ITM_MODBLOCCO", "ITM50010", "ITM50016",
                                             "ITM50026", "ITM50010", "ITM50017"};
  ParameterEditor e;
  e.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
      "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI) "
      "VALUES (2, NULL, 6, 'MP', 1, 1, 0, 1, 1)");
  for (const bool group : {false, true}) {
    for (const char* section : sections) {
      if (group) {
        e.Group(DemoInstallation::kGroupVendite);
      } else {
        e.User(DemoInstallation::kUserRossi);
      }
      Show(e, section);
      if (std::string_view(section) == "ITM50010") continue;  // the tree: not a catalogue
      ParameterEditor fresh;
      fresh.Exec(
          "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
          "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI) "
          "VALUES (2, NULL, 6, 'MP', 1, 1, 0, 1, 1)");
      if (group) {
        fresh.Group(DemoInstallation::kGroupVendite);
      } else {
        fresh.User(DemoInstallation::kUserRossi);
      }
      Show(fresh, section);
      const std::string shown = Dump(e);
      EXPECT_NE(shown, "") << section;
      EXPECT_EQ(shown, Dump(fresh)) << section << (group ? " for the group" : " for the user");
    }
  }
}

TEST(ParameterCatalogueTest, LayoutsOfTheGrid) {
  ParameterEditor e;
  e.Group(DemoInstallation::kGroupVendite);
  auto keys = [&] {
    std::vector<std::string> k;
    for (const auto& c : e.controls().grid->columns()) k.push_back(c.key);
    return k;
  };
  e.Section("ITM50017");  // layout 2
  EXPECT_EQ(keys(), (std::vector<std::string>{"CODICE", "DESCRIZIONE", "ABILITATO"}));
  const host::GridColumn* check = e.controls().grid->FindColumn("ABILITATO");
  ASSERT_NE(check, nullptr);
  EXPECT_TRUE(check->check_box);
  EXPECT_EQ(check->checked_value, "1");
  EXPECT_EQ(check->unchecked_value, "0");
  EXPECT_EQ(check->caption, "Abilitato");
  EXPECT_EQ(check->width, 1100);
  EXPECT_FALSE(check->header_check_box);
  EXPECT_EQ(e.controls().grid->group_column(), "");
  ASSERT_TRUE(e.controls().grid->GetLayout());
  EXPECT_EQ(e.controls().grid->GetLayout()->key_column, "CODICE");

  e.Section("ITM50026");  // layout 6
  EXPECT_EQ(keys(),
            (std::vector<std::string>{"CODICE", "DESCRIZIONE", "ABILITATO", "RAGGRUPPAMENTO"}));
  EXPECT_EQ(e.controls().grid->FindColumn("DESCRIZIONE")->width, 3800);
  EXPECT_EQ(e.controls().grid->group_column(), "RAGGRUPPAMENTO");
  EXPECT_FALSE(e.controls().grid->FindColumn("ABILITATO")->header_check_box);

  e.Section("ITM_NODI");  // layout 6 with the project column
  EXPECT_EQ(keys(), (std::vector<std::string>{"PROGETTO", "CODICE", "DESCRIZIONE", "ABILITATO",
                                              "RAGGRUPPAMENTO"}));

  e.Section("ITM154");  // layout 0
  EXPECT_EQ(keys(), (std::vector<std::string>{"DESCRIZIONE", "ABILITATO", "RAGGRUPPAMENTO"}));
  EXPECT_EQ(e.controls().grid->group_column(), "RAGGRUPPAMENTO");
  EXPECT_TRUE(e.controls().grid->FindColumn("ABILITATO")->header_check_box);
}

}  // namespace
}  // namespace orv::sections
