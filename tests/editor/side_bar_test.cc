// Section navigation: the item-click dispatch table, what each key shows and
// calls, the principal pane, and the emptying of the grids.

#include <gtest/gtest.h>

#include <algorithm>

#include "db/recordset.h"
#include "recording_section.h"
#include "support/headless_editor.h"

namespace orv::editor {
namespace {

using orv::testing::HeadlessEditor;
using orv::testing::RecordingSection;

struct KeyCase {
  const char* key;
  int16_t frame;
  int32_t code;
  bool chosen;
  bool update_visible;
  std::vector<std::string> calls;  // hooks reached, with section code/frame at the time
};

class SideBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor_.Open();
    // The recorder takes over every section code, so that it sees each hook
    // the window calls whichever section owns it.
    editor_.window().AddSection(std::make_unique<RecordingSection>(editor_.window(), calls_),
                                RecordingSection::kAllCodes, true);
    editor_.host().SelectPrincipal(host::PrincipalNode::kGroup, 3);
    calls_.clear();
  }

  HeadlessEditor editor_;
  std::vector<std::string> calls_;
};

TEST_F(SideBarTest, DispatchTable) {
  const KeyCase cases[] = {
      {"ITM50010",
       5,
       24,
       true,
       false,
       {"ResetCopySelection@24/5", "LoadTreeCausali@24/5", "InitGrid(0,ITM50010)@24/5",
        "LoadData@24/5", "LoadTreeCausali@24/5"}},
      {"ITM50017",
       3,
       6,
       true,
       false,
       {"ResetCopySelection@24/3", "InitGrid(2,ITM50017)@6/3", "LoadData@6/3"}},
      {"ITM_ARTFAM",
       5,
       31,
       true,
       false,
       {"InitTreeFamiglie@31/3", "ResetCopySelection@31/5", "InitGrid(0,ITM_ARTFAM)@31/5",
        "LoadData@31/5", "InitTreeFamiglie@31/5"}},
      {"ITM50016",
       3,
       15,
       true,
       false,
       {"ResetCopySelection@31/3", "InitGrid(2,ITM50016)@15/3", "LoadData@15/3"}},
      {"ITM50026",
       3,
       8,
       true,
       true,
       {"ResetCopySelection@15/3", "InitEnquery@8/3", "InitGrid(6,ITM50026)@8/3"}},
      {"ITM_NODI",
       3,
       33,
       true,
       true,
       {"ResetCopySelection@8/3", "InitEnquery@33/3", "InitGrid(6,ITM_NODI)@33/3"}},
      {"ITM_MODBLOCCO",
       3,
       30,
       true,
       false,
       {"ResetCopySelection@33/3", "InitGrid(2,ITM_MODBLOCCO)@30/3", "LoadData@30/3"}},
      {"ITM_TRANSORIDEST",
       6,
       32,
       true,
       false,
       {"ResetCopySelection@30/6", "InitGrid(9,ITM_TRANSORIDEST)@32/6", "LoadData@32/6",
        "LoadRevokeDepositi@32/6"}},
      {"ITM154",
       4,
       22,
       false,
       false,
       {"CopyTreeNodeClick(none)@22/4", "InitGrid(0,ITM154)@22/4", "LoadData@22/4"}},
      // Unknown: frame and code stay, the data of the principal is refreshed.
      {"ITM_SCONOSCIUTO",
       4,
       22,
       false,
       false,
       {"InitGrid(0,ITM_SCONOSCIUTO)@22/4", "LoadData@22/4"}},
  };
  for (const KeyCase& c : cases) {
    calls_.clear();
    editor_.host().ChooseSection(c.key);
    FRMFW_ORVELKA& w = editor_.window();
    EXPECT_EQ(w.frame_index(), c.frame) << c.key;
    EXPECT_TRUE(w.VRX_FRM(c.frame).visible()) << c.key;
    EXPECT_EQ(w.section_code(), c.code) << c.key;
    EXPECT_EQ(w.section_chosen(), c.chosen) << c.key;
    EXPECT_EQ(w.control("CMD_UPDATE").visible(), c.update_visible) << c.key;
    EXPECT_EQ(w.control("BTN_ABILITATUTTIDEP").visible(), c.code == 32) << c.key;
    EXPECT_EQ(w.control("VRX_DISABILITATUTTIDEP").visible(), c.code == 32) << c.key;
    EXPECT_EQ(w.control("LblTitle").caption(), editor_.controls().side_bar->ItemCaption(c.key))
        << c.key;
    EXPECT_FALSE(w.loaded_flag()) << c.key;
    // The projects and nodes skip the first reload; the node click of step 6
    // then clears the flag.
    EXPECT_FALSE(w.skip_reload()) << c.key;
    EXPECT_EQ(calls_, c.calls) << c.key;
  }
}

TEST_F(SideBarTest, CopyPanelTitleIsReplacedByTheItemCaption) {
  FRMFW_ORVELKA& w = editor_.window();
  w.VRX_SIDEBAR1_ItemClick({"ITM154", "Copia profilo"});
  EXPECT_EQ(w.frame_index(), 4);
  EXPECT_EQ(w.control("LblTitle").caption(), "Copia profilo");
  // The destination shows the principal of the main tree.
  EXPECT_EQ(w.control("txtA").caption(), "Gruppo - Ufficio vendite (3)");
  editor_.host().SelectPrincipal(host::PrincipalNode::kUser, 2);
  EXPECT_EQ(w.control("txtA").caption(), "Utente - Mario Rossi (2)");
}

TEST_F(SideBarTest, EveryChoiceEmptiesTheGridsFirst) {
  FRMFW_ORVELKA& w = editor_.window();
  editor_.host().ChooseSection("ITM50017");
  auto rows = std::make_shared<db::Recordset>();
  rows->AppendField("CODICE", db::DataType::kChar, 25, false);
  rows->Open();
  w.work_recordset() = rows;
  editor_.controls().grid->SetDataSource(rows);
  editor_.controls().matrix->SetDataSource(rows);
  editor_.controls().tree_grid->SetDataSource(rows);
  // Projects fill only on CMD_UPDATE: until then no warehouse row remains.
  editor_.host().ChooseSection("ITM50026");
  EXPECT_EQ(editor_.controls().grid->recordset(), nullptr);
  EXPECT_EQ(editor_.controls().matrix->recordset(), nullptr);
  EXPECT_EQ(editor_.controls().tree_grid->recordset(), nullptr);
  EXPECT_EQ(w.work_recordset(), nullptr);
}

TEST_F(SideBarTest, PrincipalClickReloadsTheVisibleSection) {
  FRMFW_ORVELKA& w = editor_.window();
  editor_.host().ChooseSection("ITM50026");
  calls_.clear();
  // Right after opening projects: no reload (nothing loaded yet).
  editor_.host().SelectPrincipal(host::PrincipalNode::kUser, 2);
  EXPECT_EQ(calls_, std::vector<std::string>{});
  // Once a catalogue is loaded, a click reloads it.
  w.set_loaded_flag(true);
  editor_.host().SelectPrincipal(host::PrincipalNode::kUser, 3);
  EXPECT_EQ(calls_, std::vector<std::string>{"LoadData@8/3"});
  // The skip flag wins once, then is cleared.
  calls_.clear();
  w.set_skip_reload(true);
  editor_.host().SelectPrincipal(host::PrincipalNode::kUser, 4);
  EXPECT_TRUE(calls_.empty());
  EXPECT_FALSE(w.skip_reload());
  editor_.host().SelectPrincipal(host::PrincipalNode::kUser, 5);
  EXPECT_EQ(calls_, std::vector<std::string>{"LoadData@8/3"});

  calls_.clear();
  editor_.host().ChooseSection("ITM_ARTFAM");
  calls_.clear();
  editor_.host().SelectPrincipal(host::PrincipalNode::kGroup, 4);
  EXPECT_EQ(calls_, std::vector<std::string>{"InitTreeFamiglie@31/5"});
  editor_.host().ChooseSection("ITM_TRANSORIDEST");
  calls_.clear();
  editor_.host().SelectPrincipal(host::PrincipalNode::kGroup, 4);
  EXPECT_EQ(calls_, std::vector<std::string>{"LoadRevokeDepositi@32/6"});
}

TEST_F(SideBarTest, PrincipalPaneFollowsTheSection) {
  FRMFW_ORVELKA& w = editor_.window();
  const int32_t pane = w.control("PCB_UTENTI").height();
  editor_.host().ChooseSection("ITM50017");
  EXPECT_TRUE(w.control("CHK_ABILREVOKE").visible());
  EXPECT_EQ(w.control("VRX_TREEUTENTI1").height(), pane - 545);
  EXPECT_FALSE(w.control("LblDepositoSelezionato").visible());
  editor_.host().ChooseSection("ITM_TRANSORIDEST");
  EXPECT_FALSE(w.control("CHK_ABILREVOKE").visible());
  EXPECT_EQ(w.control("VRX_TREEUTENTI1").height(), pane - 1200);
  EXPECT_TRUE(w.control("LblDepositoSelezionato").visible());
  EXPECT_GE(w.control("LblDepositoSelezionato").top(), pane - 1200);
  editor_.host().ChooseSection("ITM154");
  EXPECT_FALSE(w.control("CHK_ABILREVOKE").visible());
  EXPECT_EQ(w.control("VRX_TREEUTENTI1").height(), pane - 150);
  EXPECT_FALSE(w.control("LblDepositoSelezionato").visible());
}

TEST_F(SideBarTest, BlockingParametersUseTheWholePane) {
  FRMFW_ORVELKA& w = editor_.window();
  editor_.host().ChooseSection("ITM_MODBLOCCO");
  EXPECT_FALSE(w.control("ENHQUERY").visible());
  EXPECT_FALSE(w.control("SPLIT_OCX").visible());
  const Control& pane = w.control("VRX_FMEGRID");
  EXPECT_EQ(pane.top(), 0);
  EXPECT_EQ(pane.height(), w.control("PCB_UTENTI").height());
  const int32_t top = pane.height() - w.control("CMD_UPDATE").height() - 40;
  for (const char* name :
       {"CMD_UPDATE", "VRX_ABILITATUTTI", "VRX_DISABILITATUTTI", "VRX_COPIAUTENTE"}) {
    EXPECT_EQ(w.control(name).top(), top) << name;
  }
  EXPECT_EQ(w.control("GRIDTIPOLOGIE").height(),
            pane.height() - w.control("CMD_UPDATE").height() - 200);
  // The next choice shows the query control again.
  editor_.host().ChooseSection("ITM50017");
  EXPECT_TRUE(w.control("ENHQUERY").visible());
  EXPECT_TRUE(w.control("SPLIT_OCX").visible());
}

TEST_F(SideBarTest, ButtonsReachTheSections) {
  editor_.host().Button("VRX_ABILITATUTTI");
  EXPECT_EQ(calls_, std::vector<std::string>{"ButtonClick(VRX_ABILITATUTTI)@24/5"});
  EXPECT_THROW(editor_.host().Button("NON_ESISTE"), std::invalid_argument);
}

// Two recorders, one owning the warehouses (6) and one the customers/
// suppliers (24): a hook reaches the active section only, a shared control's
// event its owner whichever section is chosen.
TEST(ActiveSectionTest, HooksReachOnlyTheOwnerOfTheChosenCode) {
  HeadlessEditor editor;
  editor.Open();
  std::vector<std::string> warehouses;
  std::vector<std::string> clifor;
  FRMFW_ORVELKA& w = editor.window();
  w.AddSection(std::make_unique<RecordingSection>(w, warehouses), {6});
  w.AddSection(std::make_unique<RecordingSection>(w, clifor), {24});
  editor.host().SelectPrincipal(host::PrincipalNode::kGroup, 3);
  warehouses.clear();
  clifor.clear();

  editor.host().ChooseSection("ITM50017");
  EXPECT_EQ(w.ActiveSection(), w.SectionFor(6));
  EXPECT_EQ(warehouses, (std::vector<std::string>{"InitGrid(2,ITM50017)@6/3", "LoadData@6/3"}));
  // The principal click of the choice reloads nothing of the tree's owner.
  EXPECT_TRUE(clifor.empty());
  warehouses.clear();
  w.ButtonClick("CMD_UPDATE");
  w.ENHQUERY_LookupDefinition("Codice");
  EXPECT_EQ(warehouses, (std::vector<std::string>{"ButtonClick(CMD_UPDATE)@6/3",
                                                  "QueryLookupDefinition(Codice)@6/3"}));
  // The tree belongs to the customers/suppliers even while 6 is chosen.
  w.TGRID_CLIFOR_CheckChange("CHECKED", "1");
  EXPECT_EQ(clifor, std::vector<std::string>{"TreeCheckChange(CHECKED)@6/3"});

  warehouses.clear();
  clifor.clear();
  editor.host().ChooseSection("ITM50010");
  w.ButtonClick("CMD_UPDATE");
  EXPECT_EQ(clifor.back(), "ButtonClick(CMD_UPDATE)@24/5");
  // The parameter grid's layout and click go to its owner, not to the
  // active section.
  bool cancel = false;
  w.GRIDTIPOLOGIE_SelectionBoxClick("A1", "ABILITATO", db::Value("1"), cancel);
  EXPECT_EQ(warehouses, (std::vector<std::string>{"InitGrid(0,ITM50010)@24/5",
                                                  "GridSelectionBoxClick(GRIDTIPOLOGIE,A1)@24/5"}));
  EXPECT_EQ(std::count_if(clifor.begin(), clifor.end(),
                          [](const std::string& c) { return c.starts_with("GridSelection"); }),
            0);
}

TEST(SideBarWithModuleSectionsTest, EveryItemOpensWithoutAnError) {
  HeadlessEditor editor;
  editor.Open();
  editor.host().SelectPrincipal(host::PrincipalNode::kGroup, 3);
  for (const char* key : {"ITM50010", "ITM_ARTFAM", "ITM50017", "ITM50016", "ITM50026", "ITM_NODI",
                          "ITM_MODBLOCCO", "ITM_TRANSORIDEST", "ITM154"}) {
    editor.host().ChooseSection(key);
  }
  editor.host().Button("CMD_UPDATE");
  EXPECT_EQ(editor.window().section_code(), 22);
  EXPECT_TRUE(editor.messages().empty());
  EXPECT_TRUE(editor.global().logged_errors().empty());
}

}  // namespace
}  // namespace orv::editor
