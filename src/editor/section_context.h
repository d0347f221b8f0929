#ifndef ORV_EDITOR_SECTION_CONTEXT_H_
#define ORV_EDITOR_SECTION_CONTEXT_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"
#include "editor/section_codes.h"
#include "store/principal.h"
#include "zere_orvelka/host_controls.h"

namespace orv::db {
class Connection;
class Recordset;
}  // namespace orv::db

namespace orv::host {
class Cinterface;
class ClsGlobal;
class ChangeLog;
class LookupObject;
struct ErrObject;
}  // namespace orv::host

namespace orv::journal {
class Journal;
}

namespace orv::editor {

class Control;
class FRMFW_ORVELKA;
class LogErrorRoutine;
class Section;

// What a section reaches of its window: the connection, the current company
// and principal, its own rows (the recordset bound to its grid), the host's
// controls, the reporting routines, the change log, the journal, progress,
// and the window's steps a section's gesture ends with (reloads, frames).
//
// Made by the assembly for each section; a copy refers to the same window
// and rows. The rows are the window's slot for the section's grid: the
// parameter and node sections share GRIDTIPOLOGIE's, the transfers have
// GRID_DEPOSITO's, the customers/suppliers and the families TGRID_CLIFOR's.
// A side-bar choice and the unload empty every slot.
class SectionContext {
 public:
  enum class Grid { kNone, kParameters, kTransfers, kTree };

  SectionContext(FRMFW_ORVELKA& window, Grid grid) : window_(&window), grid_(grid) {}

  // --- data
  std::shared_ptr<db::Connection> connection() const;
  const db::Value& current_company() const;
  // The principal of the main tree's selected node (both Null when none).
  store::Principal CurrentPrincipal() const;
  const std::string& temp_table_name() const;
  // The code the side-bar choice set.
  int32_t section_code() const;
  // The section the side-bar choice made active (null before start-up).
  Section* active_section() const;
  // The owner of a section code (null when nobody owns it).
  Section* SectionFor(int32_t code) const;
  // The section's own rows.
  std::shared_ptr<db::Recordset>& rows() const;
  void set_loaded_flag(bool value) const;

  // --- the host
  std::shared_ptr<host::Cinterface> HostInterface() const;
  std::shared_ptr<host::ClsGlobal> global() const;
  const std::vector<std::shared_ptr<host::LookupObject>>& lookup_objects() const;
  const host::HostControls& host_controls() const;
  // The window's own controls by name; throws "object not set" when unknown.
  Control& control(std::string_view name) const;
  std::vector<Control*> ControlsOfType(std::string_view type) const;
  std::string Caption() const;

  // --- reporting (see FRMFW_ORVELKA)
  db::Value VisualizzaErrore(std::string_view routine) const;
  db::Value VisualizzaErrore(std::string_view routine, const host::ErrObject& error) const;
  int32_t LogError(std::string_view routine) const;
  int32_t LogError(std::string_view routine, const host::ErrObject& error) const;
  int32_t ShowMessage(std::string_view prompt, int32_t buttons, std::string_view title) const;
  bool FirstReportInGesture(std::string_view what) const;
  void ShowProgress(bool show) const;
  static db::Value NvlValue(const db::Value& value, const db::Value& default_value);

  // --- change log and journal
  // Throws the "object not set" error when missing.
  host::ChangeLog& change_log() const;
  // Null before start-up and in a viewer.
  journal::Journal* journal() const;

  // --- the window's steps
  void LoadData() const;
  void LoadTreeCausali() const;
  void InitTreeFamiglie() const;
  void LoadRevokeDepositi() const;
  void SelectFrame(int16_t& index) const;
  void ArrangePanes(bool open) const;
  void ReloadListaCFRevocati(const db::Value& id, bool group) const;
  void RunReloadListaCFRevocati(const store::Principal& principal) const;

 private:
  friend class LogErrorRoutine;

  FRMFW_ORVELKA* window_;
  Grid grid_;
};

}  // namespace orv::editor

#endif  // ORV_EDITOR_SECTION_CONTEXT_H_
