#ifndef ORV_EDITOR_FRMFW_ORVELKA_H_
#define ORV_EDITOR_FRMFW_ORVELKA_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"
#include "editor/control.h"
#include "editor/section.h"
#include "editor/section_codes.h"
#include "editor/section_context.h"
#include "host/err_object.h"
#include "host/instance_id.h"
#include "host/live_objects.h"
#include "journal/journal.h"
#include "store/principal.h"
#include "zere_orvelka/host_controls.h"
#include "zere_orvelka/host_form.h"
#include "zere_orvelka/resize_client.h"

namespace orv::db {
class Command;
class Connection;
class Recordset;
}  // namespace orv::db

namespace orv::host {
class Cinterface;
class ClsGlobal;
class ChangeLog;
class LogClass;
class LookupObject;
}  // namespace orv::host

namespace orv::editor {

// The revocation editor's window.
//
// Made by CLSFW_ORVELKA::ShowForm with the controls of its host, always held
// by shared_ptr (the host's models may keep references to it). Everything
// runs on one thread. The host (a view, the headless host, a test) calls the
// lifecycle entry points and the event handlers, named after the controls
// whose events they handle; handlers never throw: each traps and reports its
// errors as its routine does (VisualizzaErrore, LogError, or silently).
//
// Lifecycle: constructed (trace "INI") -> Form_Load (log object, position)
// -> Form_Activate (first time: start-up; refuses non-administrators and
// unloads) -> ... -> QueryUnload / Form_Unload (temporary table dropped,
// host told, references released; HostInterface() is null afterwards) ->
// destroyed (trace "TER").
//
// Ownership: the window owns its connection, temporary table, log object,
// lookup objects, recordsets and sections; it shares the host controls and
// holds the module interface (HostInterface) until it unloads.
class FRMFW_ORVELKA : public host::HostForm, public host::ResizeClient, public SectionCodes {
 public:
  static constexpr std::string_view kFormName = "FRMFW_ORVELKA";
  static constexpr std::string_view kModelCaption = "Gestione Autorizzazioni";
  static constexpr std::string_view kDesignCaption = "Gestione Autorizzazioni per azienda";

  // The section codes and frames are those of SectionCodes.

  explicit FRMFW_ORVELKA(host::HostControls controls);
  ~FRMFW_ORVELKA() override;
  FRMFW_ORVELKA(const FRMFW_ORVELKA&) = delete;
  FRMFW_ORVELKA& operator=(const FRMFW_ORVELKA&) = delete;

  // --- set by the entry class before Form_Load
  void SetHostInterface(std::shared_ptr<host::Cinterface> host_interface);
  std::shared_ptr<host::Cinterface> HostInterface() const { return host_interface_; }
  void SetOwnerModule(host::Cinterface* owner) { owner_module_ = owner; }
  host::Cinterface* OwnerModule() const { return owner_module_; }
  // The entry object is going away: drop every reference to it (a window
  // the host still shows then works without a module interface).
  void DetachModule(host::Cinterface* owner);
  // Called once when the window has unloaded (the entry class tells its
  // host's user interface).
  void SetUnloadedHandler(std::function<void(FRMFW_ORVELKA&)> handler) {
    unloaded_handler_ = std::move(handler);
  }
  void SetCaption(std::string_view caption);
  std::string Caption() const;

  // Sections. The side-bar choice (the section code) makes one section
  // active and the window calls that section's hooks; the hooks of a control
  // shared by several codes go to that control's owner (see SectionFor and
  // the routing in the gesture handlers). Added by the entry class
  // (host::AddModuleSections); a later owner of a code replaces an earlier
  // one, so a test may put its own section in front of the module's.
  // `toolbar` sections are also offered the buttons the active section
  // leaves (bulk, copy), in the order added.
  void AddSection(std::unique_ptr<Section> section, const std::vector<int32_t>& codes,
                  bool toolbar = false);
  // The owner of a section code; null when nobody owns it.
  Section* SectionFor(int32_t code) const;
  // The owner of the current section code (null before start-up).
  Section* ActiveSection() const { return SectionFor(section_code_); }
  const std::vector<std::unique_ptr<Section>>& sections() const { return sections_; }

  // --- HostForm
  std::string FormName() const override { return std::string(kFormName); }
  std::string FormCaption() const override { return Caption(); }

  // --- lifecycle (called by the host)
  void Form_Load();
  void MdiHost1_FormLoad();
  void Form_Activate();
  // Closes the window as a user would: query-close, then unload unless
  // refused. True when the window unloaded (now or before).
  bool Unload();
  void Form_QueryUnload(bool& cancel);
  void Form_Unload();
  bool loaded() const { return loaded_; }
  bool unloaded() const { return unloaded_; }
  bool started() const { return started_; }

  // --- reporting routines
  // Shows the error being handled (call inside a catch block) as
  // "Errore N° :" + number + LF + description + LF + " in " + routine.
  db::Value VisualizzaErrore(std::string_view routine);
  db::Value VisualizzaErrore(std::string_view routine, const host::ErrObject& error);
  // Hands the error being handled (call inside a catch block) to the log
  // class; returns 3 abort, 4 retry or 5 ignore.
  int32_t LogError(std::string_view routine);
  int32_t LogError(std::string_view routine, const host::ErrObject& error);
  // Through HostInterface's message service, else the standard message box.
  int32_t ShowMessage(std::string_view prompt, int32_t buttons, std::string_view title,
                      const host::HostForm* owner = nullptr);
  static db::Value NvlValue(const db::Value& value, const db::Value& default_value);

  // --- host notification and scripts
  db::Value ExecuteFormEvent(const db::Value& event_name);
  void NotifyHostActivation();
  void InizializzaScriptELayout();

  // --- layout
  void ArrangePanes(bool open);
  void PICUP_DblClick();
  void PICDOWN_DblClick();
  void SPLIT_OCX_DblClick();
  void SPLIT_OCX_Resize();
  void InizializzaProgressBar();
  void ShowProgress(bool show);
  void CenterProgress();
  int32_t mouse_pointer() const { return mouse_pointer_; }
  // ResizeClient: anchoring codes of every control; the second event.
  void RegisterControls(host::ResizeControl& control) override;
  bool AcceptResize() override { return true; }

  // --- principal selection
  void InitUserTree();
  void trv_GU_NodeClick(const std::optional<host::PrincipalNode>& node);
  // The principal of the main tree's selected node (both Null when none).
  store::Principal CurrentPrincipal() const;
  // The copy tree's node click (copy panel source).
  void VRX_TREEUTENTICOPIA_NodeClick(const std::optional<host::PrincipalNode>& node);

  // --- side bar
  void InitSideBar();
  void SelectFrame(int16_t& index);
  void VRX_SIDEBAR1_ItemClick(const host::SideBarItem& item);
  void ArrangeUserPane(bool section_chosen);

  // --- master switch
  void LoadRevokeSetting();
  void CHK_ABILREVOKE_Click();
  void AggiornaRevoke();

  // --- temporary table
  db::Value GetTempTableName();

  // --- gestures the host forwards to the sections
  // A button by control name ("CMD_UPDATE", "VRX_ABILITATUTTI", ...).
  void ButtonClick(std::string_view name);
  // Sets a check box's value as the user would; a change raises its click.
  void SetCheckValue(std::string_view name, const db::Value& value);
  void GRIDTIPOLOGIE_SelectionBoxClick(std::string_view row_key, std::string_view column_key,
                                       const db::Value& value_before, bool& cancel);
  void GRIDTIPOLOGIE_HeaderCheckBoxClick(std::string_view column_key, bool new_state, bool& cancel);
  void GRID_DEPOSITO_SelectionBoxClick(std::string_view row_key, std::string_view column_key,
                                       const db::Value& value_before, bool& cancel);
  void GRID_DEPOSITO_HeaderCheckBoxClick(std::string_view column_key, bool new_state, bool& cancel);
  void TGRID_CLIFOR_BeforeCheck(bool& cancel);
  void TGRID_CLIFOR_CheckChange(std::string_view column_key, std::string_view new_value);
  void TGRID_CLIFOR_ColumnSubstitution(const host::TreeRowReader& row, int32_t& column_index);
  std::optional<host::LookupDefinition> ENHQUERY_LookupDefinition(std::string_view caption);
  std::string ENHQUERY_FieldValue(std::string_view caption, std::string_view bound,
                                  std::string_view value);

  // --- hooks into the sections (each does nothing when no section owns it)
  // The grid layout of a side-bar choice, on the grid that layout is for.
  void InitGrid(int32_t layout, std::string_view item_key);
  // The catalogue of the active section.
  void LoadData();
  // The customer/supplier classification tree and the family tree, by the
  // sections that own them (also while another section is chosen: the bulk
  // gestures refresh the tree behind the grid).
  void LoadTreeCausali();
  void InitTreeFamiglie();
  // Fills the warehouse-transfer matrix with the principal's revocations.
  void LoadRevokeDepositi();

  // Runs the host database's procedure that refreshes its list of revoked
  // customers and suppliers for one principal (a group when `group` is
  // true). Errors go to LogError as "ReloadListaCFRevocati"; a retry runs
  // the procedure again.
  void ReloadListaCFRevocati(const db::Value& id, bool group);
  // The same procedure for the principal, run once; errors are thrown, for
  // a gesture that reloads inside its own transaction. Nothing for no one.
  void RunReloadListaCFRevocati(const store::Principal& principal);
  // The procedure that refreshes every principal's list, run once; throws.
  void RunReloadAllListaCFRevocati();

  // A gesture (a side-bar choice, a principal pick) may build a section
  // more than once (the side bar loads it, the principal's reload builds it
  // again): true the first time `what` is reported in the current gesture,
  // so that one failure costs the user one message.
  bool FirstReportInGesture(std::string_view what);

  // --- journal of gestures
  // The journal the gestures write to; null before start-up and in a
  // viewer. Made at start-up on the window's connection.
  journal::Journal* journal() const { return journal_.get(); }
  // Replaces the journal; null leaves the gestures unjournaled (a bench
  // measures them both ways).
  void SetJournal(std::unique_ptr<journal::Journal> journal) { journal_ = std::move(journal); }
  // Undo, redo and revert through the journal: a refusal is shown as an
  // exclamation message titled with the window's caption; what was put back
  // is shown (the current section reloads). True when applied.
  bool UndoGesture();
  bool RedoGesture();
  bool RevertGesture(int64_t entry_id);
  // Reloads what the current section shows from the database.
  void ReloadCurrentSection();

  // --- state the sections share
  // Opened on a connection that may not write: the window shows what the
  // tables hold and refuses every gesture that would write.
  bool viewer() const;
  // True for the buttons whose gestures write.
  static bool WritesData(std::string_view button);
  std::shared_ptr<db::Connection> connection() const { return connection_; }
  const db::Value& current_company() const { return current_company_; }
  const std::string& temp_table_name() const { return temp_table_name_; }
  int32_t section_code() const { return section_code_; }
  void set_section_code(int32_t code) { section_code_ = code; }
  int16_t frame_index() const { return frame_index_; }
  bool section_chosen() const { return section_chosen_; }
  bool loaded_flag() const { return loaded_flag_; }
  void set_loaded_flag(bool value) { loaded_flag_ = value; }
  bool skip_reload() const { return skip_reload_; }
  void set_skip_reload(bool value) { skip_reload_ = value; }
  // The rows bound to a grid (see SectionContext): the sections reach their
  // own through their context.
  std::shared_ptr<db::Recordset>& RowsOf(SectionContext::Grid grid);
  // The rows of the chosen section's grid: the parameter or node rows, the
  // warehouse matrix while the transfers are chosen.
  std::shared_ptr<db::Recordset>& work_recordset() {
    return RowsOf(section_code_ == kSectionTransfers ? SectionContext::Grid::kTransfers
                                                     : SectionContext::Grid::kParameters);
  }
  // The rows of TGRID_CLIFOR.
  std::shared_ptr<db::Recordset>& tree_rowset() { return tree_rowset_; }

  // The host's global services through HostInterface (null when missing).
  std::shared_ptr<host::ClsGlobal> global() const;
  // The change log; throws the "object not set" error when missing.
  host::ChangeLog& change_log() const;
  host::LogClass* log_object() const { return log_object_.get(); }
  const std::vector<std::shared_ptr<host::LookupObject>>& lookup_objects() const {
    return lookup_objects_;
  }

  // --- controls
  const host::HostControls& host_controls() const { return controls_; }
  // The window's own controls and host-control placements, by name; throws
  // the "object not set" error for an unknown name.
  Control& control(std::string_view name);
  const Control& control(std::string_view name) const;
  Control* FindControl(std::string_view name);
  Control& VRX_FRM(int index);                    // "VRX_FRM(0)" .. "VRX_FRM(6)"
  Control& form() { return control(kFormName); }  // the window itself
  // In creation order.
  std::vector<Control*> controls();
  std::vector<Control*> ControlsOfType(std::string_view type);

  const std::string& InstanceIdText() { return instance_id_.Get(); }

 private:
  void CreateControls();
  Control& Add(std::string name, std::string type, std::string container, int32_t left, int32_t top,
               int32_t width, int32_t height, std::string caption = {}, bool visible = true);
  void StartUp();
  // The window's left and top from the host's Left and Top (100 when unset).
  std::pair<int32_t, int32_t> HostPosition() const;
  // Adds 10 twips to the height and takes them off again, so that the
  // resize control lays everything out.
  void NudgeHeight();
  std::optional<host::PrincipalNode> SelectedNode() const;
  // Shows a refused step, or the state a step put back.
  bool AfterJournalStep(const journal::Journal::Result& result);
  // Runs `hook` on `section` when there is one; false otherwise.
  template <typename Hook>
  static bool Call(Section* section, Hook&& hook) {
    return section != nullptr && hook(*section);
  }
  // The owners of the grids and the tree: GRIDTIPOLOGIE (its layouts 0, 2
  // and 6) belongs to the parameter sections, GRID_DEPOSITO (layout 9) to
  // the transfers, TGRID_CLIFOR to the families while they are chosen and
  // to the customers/suppliers otherwise.
  Section* GridOwner(std::string_view grid) const;
  Section* TreeOwner() const;
  // The item-click steps of one key.
  void DispatchSideBarKey(std::string_view key, int32_t& grid_kind);

  host::InstanceId instance_id_;
  host::LiveObjects::Token live_token_;
  host::HostControls controls_;
  std::map<std::string, std::unique_ptr<Control>, std::less<>> control_map_;
  std::vector<Control*> control_order_;
  std::vector<std::unique_ptr<Section>> sections_;
  std::map<int32_t, Section*> section_by_code_;
  std::vector<Section*> toolbar_sections_;

  std::shared_ptr<host::Cinterface> host_interface_;
  host::Cinterface* owner_module_ = nullptr;  // the entry object that made the window
  std::unique_ptr<host::LogClass> log_object_;
  std::string connection_string_;
  std::shared_ptr<db::Connection> connection_;
  std::unique_ptr<journal::Journal> journal_;
  bool loaded_ = false;
  bool unloaded_ = false;
  bool started_ = false;
  db::Value current_company_;
  std::vector<std::shared_ptr<host::LookupObject>> lookup_objects_;
  std::string temp_table_name_;
  int32_t section_code_ = 0;
  int16_t frame_index_ = 0;
  bool section_chosen_ = false;
  bool loaded_flag_ = false;
  bool skip_reload_ = false;
  int32_t mouse_pointer_ = 0;
  bool resize_started_ = false;
  std::function<void(FRMFW_ORVELKA&)> unloaded_handler_;
  // The gesture being handled (depth of nested handlers) and what it
  // reported: a handler that starts a gesture holds a GestureScope.
  class GestureScope {
   public:
    explicit GestureScope(FRMFW_ORVELKA& w) : w_(w) {
      if (w_.gesture_depth_++ == 0) w_.gesture_reports_.clear();
    }
    ~GestureScope() { --w_.gesture_depth_; }
    GestureScope(const GestureScope&) = delete;
    GestureScope& operator=(const GestureScope&) = delete;

   private:
    FRMFW_ORVELKA& w_;
  };
  int gesture_depth_ = 0;
  std::vector<std::string> gesture_reports_;
  // The rows bound to GRIDTIPOLOGIE, GRID_DEPOSITO and TGRID_CLIFOR, and
  // the slot of a section without a grid.
  std::shared_ptr<db::Recordset> work_recordset_;
  std::shared_ptr<db::Recordset> matrix_rows_;
  std::shared_ptr<db::Recordset> tree_rowset_;
  std::shared_ptr<db::Recordset> no_rows_;
  void ResetRows();
  // The reload procedure's command, made new at each reload.
  std::shared_ptr<db::Command> reload_command_;
};

}  // namespace orv::editor

#endif  // ORV_EDITOR_FRMFW_ORVELKA_H_
