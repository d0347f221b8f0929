// The window's life with its host: start-up, refusal of non-administrators,
// later activations, the close protocol, position rules.

#include <gtest/gtest.h>

#include <regex>

#include "host/trace.h"
#include "module/clsfw_orvelka.h"
#include "support/headless_editor.h"
#include "zere_orvelka/host_frame.h"

namespace orv::editor {
namespace {

using orv::testing::HeadlessEditor;

TEST(LifecycleTest, AdministratorStartUp) {
  HeadlessEditor editor;
  editor.Open();
  FRMFW_ORVELKA& w = editor.window();
  EXPECT_TRUE(w.started());
  EXPECT_TRUE(editor.messages().empty()) << editor.messages()[0].prompt;
  // Own connection, handed to the host's interface.
  ASSERT_NE(w.connection(), nullptr);
  EXPECT_EQ(editor.host().module()->GetConnection(), w.connection());
  EXPECT_EQ(w.current_company(), db::Value(1));
  // The temporary table name is made; frame 5 is shown; trees and side bar ready.
  EXPECT_EQ(w.temp_table_name().size(), 39u);
  EXPECT_EQ(w.temp_table_name().rfind("##tempT", 0), 0u);
  EXPECT_EQ(w.temp_table_name().find_first_of("-{}"), std::string::npos);
  EXPECT_EQ(w.frame_index(), 5);
  EXPECT_TRUE(w.VRX_FRM(5).visible());
  EXPECT_FALSE(w.VRX_FRM(3).visible());
  // The section code agrees with the side bar and the frame: customers/suppliers.
  EXPECT_EQ(w.section_code(), FRMFW_ORVELKA::kSectionCliFor);
  EXPECT_TRUE(editor.controls().tree->initialized());
  EXPECT_TRUE(editor.controls().tree->show_users());
  EXPECT_TRUE(editor.controls().tree->show_groups());
  EXPECT_EQ(editor.controls().tree->load_count(), 1);
  EXPECT_TRUE(editor.controls().side_bar->initialized());
  EXPECT_EQ(editor.controls().side_bar->selected_group(), "GRP1013");
  EXPECT_EQ(editor.controls().side_bar->selected_item(), "ITM50010");
  EXPECT_TRUE(editor.controls().resize->started);
  EXPECT_TRUE(editor.controls().resize->accepted);
  EXPECT_GE(editor.controls().resize->layouts, 2);  // the 10-twip nudge
  EXPECT_TRUE(editor.controls().progress->auto_start);
  EXPECT_FALSE(w.control("VRX_PROGRESS").visible());
  // The host was told: script opened, navigator opened, application handed.
  EXPECT_EQ(editor.host().navigator()->open_count, 1);
  EXPECT_EQ(editor.global().application(), editor.host().module());
  const auto& events = editor.host().navigator()->script_model().events;
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0], "open FRMFW_ORVELKA");
  EXPECT_EQ(editor.host().module()->GetCaption(), db::Value("Gestione Autorizzazioni"));
  EXPECT_EQ(w.Caption(), "Gestione Autorizzazioni");
}

TEST(LifecycleTest, NonAdministratorGetsOneMessageAndTheWindowCloses) {
  HeadlessEditor editor;
  editor.Open("mrossi");
  ASSERT_EQ(editor.messages().size(), 1u);
  const session::ShownMessage& m = editor.messages()[0];
  EXPECT_EQ(m.prompt,
            "Solo l'utente amministratore può configurare le autorizzazioni.\n"
            "Consultare l'amministrazione del'installazione.");
  EXPECT_EQ(m.buttons, 64);
  EXPECT_EQ(m.title, "Utente non autorizzato");
  FRMFW_ORVELKA& w = editor.window();
  EXPECT_FALSE(w.started());
  EXPECT_TRUE(w.unloaded());
  EXPECT_EQ(w.HostInterface(), nullptr);
  EXPECT_TRUE(w.temp_table_name().empty());
  // The switch was never loaded: nothing written, nothing logged.
  EXPECT_TRUE(editor.log().empty());
  EXPECT_TRUE(editor.host().ui()->windows().empty());
  // The unload ignored the drop with an empty name and went on to the end.
  EXPECT_EQ(editor.global().forget_count(), 1);
  EXPECT_EQ(editor.host().navigator()->forget_count, 1);
  EXPECT_EQ(editor.host().module()->GetActiveDll(), nullptr);
  EXPECT_TRUE(editor.global().logged_errors().empty());
  // Activating again does nothing; closing succeeds.
  w.Form_Activate();
  EXPECT_EQ(editor.messages().size(), 1u);
  EXPECT_TRUE(editor.host().Close());
}

TEST(LifecycleTest, SecondActivationNeitherReconnectsNorReloads) {
  HeadlessEditor editor;
  editor.Open();
  FRMFW_ORVELKA& w = editor.window();
  const std::string temp = w.temp_table_name();
  const auto connection = w.connection();
  const int refreshes = editor.host().navigator()->refresh_count;
  const size_t log_entries = editor.log().size();
  editor.host().Activate();
  editor.host().Activate();
  EXPECT_EQ(w.temp_table_name(), temp);
  EXPECT_EQ(w.connection(), connection);
  EXPECT_EQ(editor.global().connections_created(), 1);
  EXPECT_EQ(editor.controls().tree->load_count(), 1);
  EXPECT_EQ(editor.log().size(), log_entries);
  EXPECT_EQ(editor.host().navigator()->refresh_count, refreshes + 2);
  EXPECT_EQ(editor.global().active_module(), editor.host().module());
}

TEST(LifecycleTest, RefusedCloseKeepsTheWindowAndItsTemporaryTable) {
  HeadlessEditor editor;
  editor.Open();
  FRMFW_ORVELKA& w = editor.window();
  const std::string temp = w.temp_table_name();
  // Make the table exist, as a section would.
  w.connection()->Execute("SELECT 1 AS X INTO " + temp);
  ASSERT_TRUE(editor.TempTableExists(temp));

  editor.host().navigator()->script_model().refuse_close = true;
  EXPECT_FALSE(editor.host().Close());
  EXPECT_FALSE(w.unloaded());
  EXPECT_NE(w.HostInterface(), nullptr);
  EXPECT_TRUE(editor.TempTableExists(temp));
  const auto& events = editor.host().navigator()->script_model().events;
  EXPECT_EQ(events.back(), "query-close FRMFW_ORVELKA");

  editor.host().navigator()->script_model().refuse_close = false;
  EXPECT_TRUE(editor.host().Close());
  EXPECT_TRUE(w.unloaded());
  EXPECT_EQ(w.HostInterface(), nullptr);
  EXPECT_FALSE(editor.TempTableExists(temp));
  EXPECT_EQ(events.back(), "closed FRMFW_ORVELKA");
  EXPECT_EQ(editor.host().module()->GetActiveDll(), nullptr);
  // Closing again: nothing left to close.
  EXPECT_TRUE(editor.host().Close());
}

TEST(LifecycleTest, UnloadWithoutATableRunsTheDropWithoutError) {
  HeadlessEditor editor;
  editor.Open();
  EXPECT_FALSE(editor.TempTableExists(editor.window().temp_table_name()));
  EXPECT_TRUE(editor.host().Close());
  EXPECT_TRUE(editor.global().logged_errors().empty());
  EXPECT_TRUE(editor.messages().empty());
}

TEST(LifecycleTest, WindowPositionFromTheHostsLeftAndTop) {
  struct Case {
    db::Value left;
    db::Value top;
    int32_t want_left;
    int32_t want_top;
  };
  const Case cases[] = {
      {db::Value(), db::Value(), 100, 100},
      {db::Value(0), db::Value(0), 100, 100},
      {db::Value(2500), db::Value(1200), 2500, 1200},
      {db::Value("  "), db::Value("300"), 100, 300},
  };
  for (const Case& c : cases) {
    HeadlessEditor editor;
    session::HeadlessOptions options = editor.Options();
    options.left = c.left;
    options.top = c.top;
    editor.Open(options);
    FRMFW_ORVELKA& w = editor.window();
    EXPECT_EQ(w.form().left(), c.want_left) << c.left.DebugString();
    EXPECT_EQ(w.form().top(), c.want_top) << c.top.DebugString();
    EXPECT_EQ(editor.controls().mdi->left, c.want_left);
    EXPECT_EQ(editor.controls().mdi->top, c.want_top);
    EXPECT_EQ(editor.controls().mdi->width, 16290);
    EXPECT_EQ(editor.controls().mdi->height, 8400);
  }
}

TEST(LifecycleTest, SecondShowFormHoldsOnlyTheNewerWindow) {
  HeadlessEditor editor;
  editor.Open();
  FRMFW_ORVELKA* first = &editor.window();
  editor.host().ShowAgain();
  FRMFW_ORVELKA* second = &editor.window();
  EXPECT_NE(first, second);
  ASSERT_EQ(editor.host().ui()->windows().size(), 2u);
  EXPECT_EQ(editor.host().ui()->windows()[0].get(), first);
  EXPECT_FALSE(first->unloaded());
  EXPECT_NE(first->temp_table_name(), second->temp_table_name());
  // Closing through the module closes the newer one; the first stays.
  EXPECT_TRUE(editor.host().Close());
  EXPECT_TRUE(second->unloaded());
  EXPECT_FALSE(first->unloaded());
  // The user closes the first one.
  EXPECT_TRUE(first->Unload());
}

TEST(LifecycleTest, ModuleReleaseWhileAWindowIsShownLeavesNoDanglingModule) {
  HeadlessEditor editor;
  editor.Open();
  editor.host().ShowAgain();
  std::shared_ptr<FRMFW_ORVELKA> first = editor.host().ui()->windows()[0];
  editor.host().Release();
  EXPECT_EQ(first->OwnerModule(), nullptr);
  EXPECT_EQ(first->HostInterface(), nullptr);
  first->Form_Activate();  // no module: nothing to notify, no crash
  EXPECT_TRUE(first->Unload());
}

TEST(LifecycleTest, ChangeDittaIsRefusedWhileTheEditorRuns) {
  HeadlessEditor editor;
  editor.Open();
  EXPECT_TRUE(editor.host().RaiseChangeDitta());
  ASSERT_EQ(editor.messages().size(), 1u);
  EXPECT_EQ(editor.messages()[0].buttons, 48);
  EXPECT_EQ(editor.messages()[0].title, "Avviso");
  EXPECT_EQ(editor.window().current_company(), db::Value(1));
}

class StatusFrame : public host::HostFrame {
 public:
  int16_t Status() const override { return 3; }
};

TEST(LifecycleTest, ActivationTellsTheHostAndTheWindowTraces) {
  std::vector<std::string> traces;
  host::SetTraceSink([&](std::string_view line) { traces.emplace_back(line); });
  {
    HeadlessEditor editor;
    editor.Open();
    editor.host().module()->SetActiveFrame(std::make_shared<StatusFrame>());
    editor.host().Activate();
    EXPECT_EQ(editor.host().navigator()->last_status, 3);
    EXPECT_TRUE(editor.host().Close());
  }
  host::SetTraceSink({});
  std::vector<std::string> window_lines;
  const std::regex window_line("CVGE:\\|([0-9A-F]{32})\\|(INI|TER)\\|ZERE_ORVELKA\\|FRMFW_ORVELKA");
  for (const std::string& line : traces) {
    if (std::regex_match(line, window_line)) window_lines.push_back(line);
  }
  ASSERT_EQ(window_lines.size(), 2u);
  EXPECT_EQ(window_lines[0].substr(0, 39), window_lines[1].substr(0, 39));
  EXPECT_NE(window_lines[0].find("|INI|"), std::string::npos);
  EXPECT_NE(window_lines[1].find("|TER|"), std::string::npos);
}

TEST(LifecycleTest, TwoWindowsGetDifferentTemporaryTables) {
  HeadlessEditor a;
  HeadlessEditor b;
  a.Open();
  b.Open();
  EXPECT_NE(a.window().temp_table_name(), b.window().temp_table_name());
}

}  // namespace
}  // namespace orv::editor
