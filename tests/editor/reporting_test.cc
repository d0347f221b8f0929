// The reporting routines (VisualizzaErrore, LogError, ShowMessage), NvlValue,
// the pane layout, splitter gestures, progress and resize registration.

#include <gtest/gtest.h>

#include "db/db_error.h"
#include "editor/log_error_routine.h"
#include "host/fallback_message_box.h"
#include "support/headless_editor.h"
#include "zere_orvelka/message_service.h"

namespace orv::editor {
namespace {

using orv::testing::HeadlessEditor;

TEST(ReportingTest, VisualizzaErroreShowsNumberDescriptionAndRoutine) {
  HeadlessEditor editor;
  editor.Open();
  try {
    throw db::DbError(3021, "Nessun record corrente");
  } catch (...) {
    EXPECT_TRUE(editor.window().VisualizzaErrore("LoadData").IsEmpty());
  }
  ASSERT_EQ(editor.messages().size(), 1u);
  EXPECT_EQ(editor.messages()[0].prompt, "Errore N° :3021\nNessun record corrente\n in LoadData");
  EXPECT_EQ(editor.messages()[0].buttons, 0);
  EXPECT_EQ(editor.messages()[0].title, "");
}

// Three statements; the second fails on its first run with a real database
// error (a table that does not exist yet) and succeeds afterwards.
struct ThreeStatements {
  int first = 0;
  int second = 0;
  int third = 0;
  bool completed = false;

  void Run(FRMFW_ORVELKA& window) {
    LogErrorRoutine routine(window, "ProvaLogError");
    routine.Run([&] { ++first; });
    routine.Run([&] {
      ++second;
      const char* table = second == 1 ? "TABELLA_CHE_NON_ESISTE" : "FW95_SETTINGS";
      window.connection()->Execute(std::string("SELECT * FROM ") + table);
    });
    routine.Run([&] { ++third; });
    completed = !routine.aborted();
  }
};

TEST(ReportingTest, LogErrorRetryRunsOnlyTheFailingStatementAgain) {
  HeadlessEditor editor;
  editor.Open();
  editor.host().answers().Push(host::kVbRetry);
  ThreeStatements s;
  s.Run(editor.window());
  EXPECT_EQ(s.first, 1);
  EXPECT_EQ(s.second, 2);
  EXPECT_EQ(s.third, 1);
  EXPECT_TRUE(s.completed);
  ASSERT_EQ(editor.global().logged_errors().size(), 1u);
  const session::LoggedError& e = editor.global().logged_errors()[0];
  EXPECT_EQ(e.routine, "ProvaLogError");
  EXPECT_NE(e.error.description.find("TABELLA_CHE_NON_ESISTE"), std::string::npos);
  EXPECT_FALSE(e.connection_errors.empty());
  EXPECT_EQ(e.answer, host::kVbRetry);
}

TEST(ReportingTest, LogErrorAbortEndsAndIgnoreGoesOn) {
  HeadlessEditor editor;
  editor.Open();
  editor.host().answers().Push(host::kVbAbort);
  ThreeStatements aborted;
  aborted.Run(editor.window());
  EXPECT_EQ(aborted.second, 1);
  EXPECT_EQ(aborted.third, 0);
  EXPECT_FALSE(aborted.completed);

  editor.host().answers().Push(host::kVbIgnore);
  ThreeStatements ignored;
  ignored.Run(editor.window());
  EXPECT_EQ(ignored.second, 1);
  EXPECT_EQ(ignored.third, 1);
  EXPECT_TRUE(ignored.completed);
  EXPECT_EQ(editor.global().logged_errors().size(), 2u);
}

TEST(ReportingTest, WithoutLogClassAndHostTheStandardBoxIsUsed) {
  std::vector<std::string> boxes;
  host::SetFallbackMessageBox([&](std::string_view prompt, int32_t buttons,
                                  std::string_view title) {
    boxes.push_back(std::to_string(buttons) + "|" + std::string(title) + "|" + std::string(prompt));
    return host::kVbOK;
  });
  {
    FRMFW_ORVELKA window{host::HostControls{}};
    window.SetCaption("Revoche");
    LogErrorRoutine routine(window, "Prova");
    EXPECT_FALSE(routine.Run([] { throw db::DbError(5, "x"); }));
    EXPECT_EQ(window.ShowMessage("Ciao", 64, "Titolo"), host::kVbOK);
    // A routine needing a missing control reports error 91 and goes on.
    window.InitSideBar();
  }
  host::SetFallbackMessageBox({});
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], "0|Revoche|Classe Log non settata");
  EXPECT_EQ(boxes[1], "64|Titolo|Ciao");
  EXPECT_EQ(boxes[2].rfind("0||Errore N° :91\n", 0), 0u) << boxes[2];
  EXPECT_NE(boxes[2].find(" in InitSideBar"), std::string::npos);
}

TEST(ReportingTest, NvlValue) {
  const db::Value d("default");
  EXPECT_EQ(FRMFW_ORVELKA::NvlValue(db::Value(), d), d);
  EXPECT_EQ(FRMFW_ORVELKA::NvlValue(db::Value::Null(), d), d);
  EXPECT_EQ(FRMFW_ORVELKA::NvlValue(db::Value("   "), d), d);
  EXPECT_EQ(FRMFW_ORVELKA::NvlValue(db::Value(""), d), d);
  EXPECT_EQ(FRMFW_ORVELKA::NvlValue(db::Value(" x "), d), db::Value(" x "));
  EXPECT_EQ(FRMFW_ORVELKA::NvlValue(db::Value(0), d), db::Value(0));
  EXPECT_EQ(FRMFW_ORVELKA::NvlValue(db::Value(false), d), db::Value(false));
}

TEST(LayoutTest, ArrangePanesOpenAndClosed) {
  HeadlessEditor editor;
  editor.Open();
  FRMFW_ORVELKA& w = editor.window();
  const Control& frame = w.VRX_FRM(3);
  const Control& split = w.control("SPLIT_OCX");
  const Control& grid_pane = w.control("VRX_FMEGRID");
  const Control& query = w.control("VRX_FMEHENQUERY");
  const Control& update = w.control("CMD_UPDATE");

  w.ArrangePanes(true);
  EXPECT_EQ(split.top(), query.height() + 100);
  EXPECT_EQ(grid_pane.top(), split.top() + split.height() - 50);
  EXPECT_EQ(grid_pane.height(), frame.height() - query.height() - split.height() - 50);
  EXPECT_TRUE(query.visible());
  EXPECT_TRUE(w.control("PICUP").visible());
  EXPECT_FALSE(w.control("PICDOWN").visible());
  EXPECT_EQ(update.top(), grid_pane.height() - update.height() - 40);
  for (const char* name : {"VRX_ABILITATUTTI", "VRX_COPIAUTENTE", "VRX_DISABILITATUTTI"}) {
    EXPECT_EQ(w.control(name).top(), update.top()) << name;
  }
  EXPECT_EQ(w.control("GRIDTIPOLOGIE").height(), update.top() - 170);

  const int32_t height = w.form().height();
  const int layouts = editor.controls().resize->layouts;
  w.ArrangePanes(false);
  EXPECT_EQ(split.top(), 90);
  EXPECT_EQ(grid_pane.top(), split.height() + 30);
  EXPECT_EQ(grid_pane.height(), frame.height() - split.height() - 35);
  EXPECT_FALSE(query.visible());
  EXPECT_FALSE(w.control("PICUP").visible());
  EXPECT_TRUE(w.control("PICDOWN").visible());
  EXPECT_EQ(w.control("GRIDTIPOLOGIE").height(), update.top() - 170);
  EXPECT_EQ(w.form().height(), height);
  EXPECT_EQ(editor.controls().resize->layouts, layouts + 2);
}

TEST(LayoutTest, SplitterGesturesOnlyInProjectSections) {
  HeadlessEditor editor;
  editor.Open();
  FRMFW_ORVELKA& w = editor.window();
  editor.host().ChooseSection("ITM50017");  // warehouses: code 6
  EXPECT_FALSE(w.control("VRX_FMEHENQUERY").visible());
  editor.host().Button("PICDOWN");
  editor.host().Button("SPLIT_OCX");
  EXPECT_FALSE(w.control("VRX_FMEHENQUERY").visible());

  editor.host().ChooseSection("ITM50026");  // projects: opened by the side bar
  EXPECT_TRUE(w.control("VRX_FMEHENQUERY").visible());
  editor.host().Button("PICUP");
  EXPECT_FALSE(w.control("VRX_FMEHENQUERY").visible());
  editor.host().Button("PICDOWN");
  EXPECT_TRUE(w.control("VRX_FMEHENQUERY").visible());
  editor.host().Button("SPLIT_OCX");  // splitter below 90: collapses
  EXPECT_FALSE(w.control("VRX_FMEHENQUERY").visible());
  editor.host().Button("SPLIT_OCX");  // at 90: opens
  EXPECT_TRUE(w.control("VRX_FMEHENQUERY").visible());

  w.control("SPLIT_OCX").SetWidth(9000);
  w.SPLIT_OCX_Resize();
  EXPECT_EQ(w.control("PICUP").left(), (9000 - 240) / 2);
  EXPECT_EQ(w.control("PICDOWN").left(), (9000 - 240) / 2);
}

TEST(LayoutTest, ProgressRoutines) {
  HeadlessEditor editor;
  editor.Open();
  FRMFW_ORVELKA& w = editor.window();
  const Control& progress = w.control("VRX_PROGRESS");
  w.ShowProgress(true);
  EXPECT_EQ(w.mouse_pointer(), 11);
  EXPECT_TRUE(progress.visible());
  EXPECT_TRUE(editor.controls().progress->running);
  EXPECT_EQ(editor.controls().progress->starts, 1);
  EXPECT_EQ(progress.left(), (w.form().width() - progress.width()) / 2);
  EXPECT_EQ(progress.top(), (w.form().height() - progress.height()) / 2);
  w.ShowProgress(false);
  EXPECT_EQ(w.mouse_pointer(), 0);
  EXPECT_FALSE(progress.visible());
  EXPECT_FALSE(editor.controls().progress->running);
  EXPECT_EQ(editor.controls().progress->stops, 1);
}

TEST(LayoutTest, ResizeRegistrationCodes) {
  HeadlessEditor editor;
  editor.Open();
  const auto& codes = editor.controls().resize->registrations;
  EXPECT_EQ(codes.size(), 38u);
  const std::pair<const char*, int> expected[] = {
      {"VRX_FRM(0)", 15},     {"VRX_FRM(6)", 15},
      {"GRID_DEPOSITO", 15},  {"SPLIT_OCX", 7},
      {"Label3", 7},          {"PCB_UTENTI", 13},
      {"VRX_SIDEBAR1", 11},   {"VRX_TREEUTENTICOPIA", 11},
      {"CHK_ABILREVOKE", 10}, {"LblDepositoSelezionato", 10},
      {"CMD_OK", 12},         {"VRX_COPIADEP", 12},
      {"CMD_SELEZIONA", 5},
  };
  for (const auto& [name, code] : expected) {
    ASSERT_EQ(codes.count(name), 1u) << name;
    EXPECT_EQ(codes.at(name), code) << name;
  }
  // Every registered name is a control of the window.
  for (const auto& [name, code] : codes) {
    EXPECT_NE(editor.window().FindControl(name), nullptr) << name;
  }
}

TEST(ControlTest, ObserversSeeOnlyRealChanges) {
  Control c("CMD_X", "CommandButton", "", 0, 0, 100, 100, "X");
  std::vector<Control::Property> seen;
  const int id = c.AddObserver([&](const Control&, Control::Property p) { seen.push_back(p); });
  EXPECT_TRUE(c.SetTop(10));
  EXPECT_FALSE(c.SetTop(10));
  EXPECT_TRUE(c.SetCaption("Y"));
  EXPECT_TRUE(c.SetValue(db::Value(1)));
  EXPECT_FALSE(c.SetValue(db::Value(1)));
  c.RemoveObserver(id);
  EXPECT_TRUE(c.SetVisible(false));
  EXPECT_EQ(seen,
            (std::vector<Control::Property>{Control::Property::kTop, Control::Property::kCaption,
                                            Control::Property::kValue}));
}

}  // namespace
}  // namespace orv::editor
