#ifndef ORV_SESSION_HEADLESS_HOST_H_
#define ORV_SESSION_HEADLESS_HOST_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/statement_observer.h"
#include "db/value.h"
#include "session/answer_queue.h"
#include "session/headless_global.h"
#include "session/headless_navigator.h"
#include "session/headless_ui.h"
#include "session/session_output.h"

namespace orv::db {
class Connection;
}
namespace orv::editor {
class FRMFW_ORVELKA;
}
namespace orv::host {
class CLSFW_ORVELKA;
}

namespace orv::session {

// How the headless host opens the editor.
struct HeadlessOptions {
  std::string connection_string;      // the host database
  std::string login = "admin";        // FW07_LOGIN of the user working in the host
  std::optional<int32_t> company;     // working company; default: the lowest CG18_DITTA
  std::optional<bool> administrator;  // default: FW07_FLGADMIN of the login
  bool modal = false;
  db::Value left;  // Cinterface::Left / Top as the host writes them
  db::Value top;
  db::Value caption = db::Value("Gestione Autorizzazioni");
  bool active = true;                   // Cinterface::IsActive
  std::optional<int32_t> window_state;  // written only when given
  std::optional<int32_t> program_mode;
  std::optional<db::Value> filtro;
};

// A grid as a user reads it: a header, then one row of cells per display
// row, each cell as it is shown (one line). The first cell names the row as
// "click" does: the display row number (GRIDTIPOLOGIE), the row's KEY
// (TGRID_CLIFOR), the origin code (GRID_DEPOSITO). `groups` holds, per row,
// the value of the column the grid groups by (empty when it does not).
struct GridTable {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> groups;
  // The row whose first cell is `id`, or null.
  const std::vector<std::string>* Row(std::string_view id) const;
};

// A host without a screen: every host service and control in memory, the
// editor module driven as a user would drive it. What a user would see goes
// to the output as lines (message boxes, change-log entries, errors handed
// to the log class); everything is also kept for tests to read.
//
// Not thread-safe; one editor session at a time (a second Open releases the
// first module object).
class HeadlessHost {
 public:
  HeadlessHost();
  ~HeadlessHost();
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  void SetOutput(SessionOutput output) { output_ = std::move(output); }
  AnswerQueue& answers() { return answers_; }
  // Reports every statement of the host's own connection (named "host")
  // and of the module's connections (named "module"); null stops it.
  void SetStatementObserver(std::shared_ptr<db::StatementObserver> observer);

  // The database of "sql" before any Open (and of an Open with the same
  // string, which then keeps the connection).
  void UseDatabase(const std::string& connection_string);

  // Creates the module object, writes its properties and calls ShowForm (the
  // window starts up on its first activation). Throws std::runtime_error
  // for an unknown login or an unreadable database.
  void Open(const HeadlessOptions& options);
  // Another activation of the window.
  void Activate();
  // CloseForm: true when the window is gone.
  bool Close();
  // Releases the module object (its destruction runs DestroyClass).
  void Release();
  // A second ShowForm on the same module object.
  void ShowAgain();

  // --- gestures (each throws std::invalid_argument when its target does
  // not exist: unknown principal, row, column or control)
  void SelectPrincipal(int32_t kind, int64_t id);
  void SelectNoPrincipal();
  void CopyFrom(int32_t kind, int64_t id);
  void CopyFromNone();
  // Makes a row the grid's current row, as a click beside the check boxes
  // does, without raising a click.
  void SelectRow(std::string_view grid, std::string_view row);
  void ChooseSection(std::string_view key);
  void ClickGrid(std::string_view grid, std::string_view row, std::string_view column);
  void HeaderClick(std::string_view grid, std::string_view column, bool state);
  void Button(std::string_view name);
  void Check(std::string_view name, const db::Value& value);
  void Tick(std::string_view name, bool ticked);
  void Filter(std::string_view field, std::string_view from, std::string_view to);
  bool RaiseChangeDitta();
  // Edit menu's undo and redo, and the audit view's revert of one entry.
  void Undo();
  void Redo();
  void Revert(int64_t entry_id);

  // --- reading (lines of tab-separated values under a header line)
  // The grid's rows; `hidden` adds the bound fields the grid does not show.
  // Leaves the grid's current row where it was.
  GridTable ReadGrid(std::string_view grid, bool hidden = false);
  // ReadGrid as lines; a grouped grid has a "GROUP<TAB>value" line before
  // each group.
  std::vector<std::string> ShowGrid(std::string_view grid, bool hidden = false);
  std::vector<std::string> ShowControls();
  std::vector<std::string> ShowMessages();
  std::vector<std::string> ShowLog();
  std::vector<std::string> ShowState();
  // The window's journal, newest entry first.
  std::vector<std::string> ShowJournal();
  std::vector<std::string> Sql(std::string_view statement);
  // Creates the company permissions record and lists its flags.
  std::vector<std::string> ShowPermessiDitta();

  // --- for tests
  std::shared_ptr<db::Connection> connection();  // the host's own connection
  host::CLSFW_ORVELKA* module() { return module_.get(); }
  std::shared_ptr<host::CLSFW_ORVELKA> module_ptr() { return module_; }
  editor::FRMFW_ORVELKA* window();  // the module's window (null when none)
  HeadlessGlobal* global() { return global_.get(); }
  HeadlessNavigator* navigator() { return navigator_.get(); }
  HeadlessUi* ui() { return ui_.get(); }
  const MemoryControls& controls() const { return ui_->controls(); }

 private:
  editor::FRMFW_ORVELKA& NeedWindow();

  SessionOutput output_;
  AnswerQueue answers_;
  std::string connection_string_;
  std::shared_ptr<db::Connection> connection_;
  std::shared_ptr<db::StatementObserver> observer_;
  std::shared_ptr<HeadlessGlobal> global_;
  std::shared_ptr<HeadlessNavigator> navigator_;
  std::shared_ptr<HeadlessUi> ui_;
  std::shared_ptr<host::CLSFW_ORVELKA> module_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_HEADLESS_HOST_H_
