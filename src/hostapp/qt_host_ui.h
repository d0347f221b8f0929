#ifndef ORV_HOSTAPP_QT_HOST_UI_H_
#define ORV_HOSTAPP_QT_HOST_UI_H_

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostapp/journal_viewer.h"
#include "hostapp/main_window.h"
#include "hostapp/qt_controls.h"
#include "zere_orvelka/host_ui.h"

class QEventLoop;

namespace orv::db {
class Connection;
}

namespace orv::hostapp {

class FormView;
class QtMessageService;

// The desktop host's user interface: Qt controls for each new window, and
// a main window that shows it. Showing a window raises the container's
// form-load event and the first activation (the start-up); later
// activations come from the window system. A modal window runs its own
// event loop until it closes. A user's close goes to the close handler
// (the host calls CloseForm), never straight to the window.
class QtHostUi : public host::HostUi {
 public:
  struct Hooks {
    std::function<std::shared_ptr<db::Connection>()> connection;  // the host's own
    std::function<void()> close_requested;
    std::function<void()> window_closed;
    QString status;
    QtMessageService* messages = nullptr;  // the boxes shown, for the status line
    bool administrator = true;             // false: nothing is shown before the start-up
    // Remember the window's size, the last principal and section (QSettings)
    // and open on them again.
    bool remember = false;
    std::string login;  // the user working in the host (profile imports log it)
  };

  explicit QtHostUi(Hooks hooks);
  ~QtHostUi() override;

  host::HostControls CreateControls() override;
  void ShowWindow(std::shared_ptr<host::EditorWindow> events, bool modal) override;
  void WindowClosed(host::EditorWindow& events) override;

  Hooks& hooks() { return hooks_; }
  // The controls made last (those of the newest window).
  const QtControls& controls() const { return controls_; }
  MainWindow* main_window() const { return main_window_; }
  FormView* view() const;
  // The window shown (null when none or after it closed).
  editor::FRMFW_ORVELKA* window() const;
  // An activation of the window (ignored while one runs).
  void Activate();
  void ShowChangeLog();
  // The audit viewer over the window's journal (modal).
  void ShowJournal();
  // What the audit viewer reads and reverts with, for the window shown
  // (nothing to read when there is no window or no journal).
  JournalViewer::Source JournalSource();
  // The Edit menu names the next undo and redo of the window's journal.
  void UpdateUndoRedo();
  // Undo and redo as the Edit menu makes them; true when applied.
  bool Undo();
  bool Redo();
  // The settings keys of what is remembered.
  static constexpr const char* kGeometryKey = "editor/geometry";
  static constexpr const char* kPrincipalKey = "editor/principal";
  static constexpr const char* kSectionKey = "editor/section";
  static constexpr const char* kSplitKey = "editor/split";

 private:
  Hooks hooks_;
  QtControls controls_;
  std::shared_ptr<editor::FRMFW_ORVELKA> window_;
  std::shared_ptr<host::EditorWindow> events_;  // the window as the module handed it
  std::vector<std::shared_ptr<host::EditorWindow>> closed_;
  QPointer<MainWindow> main_window_;
  std::vector<QPointer<MainWindow>> closing_;  // deleted later
  QEventLoop* modal_loop_ = nullptr;
  bool activating_ = false;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_HOST_UI_H_
