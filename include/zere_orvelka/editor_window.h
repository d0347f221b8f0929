#ifndef ZERE_ORVELKA_EDITOR_WINDOW_H_
#define ZERE_ORVELKA_EDITOR_WINDOW_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "zere_orvelka/lookup_object.h"
#include "zere_orvelka/principal_node.h"
#include "zere_orvelka/side_bar.h"
#include "zere_orvelka/variant.h"

namespace orv::host {

// The editor window FRMFW_ORVELKA as its host drives it. The host's
// controls raise no events of their own: the host calls these handlers,
// named after the control and its event, on its user-interface thread. No
// exception leaves a handler; each reports its errors to the user as the
// window's routines do.
//
// The module hands the window to HostUi::ShowWindow (already loaded) and
// tells HostUi::WindowClosed once it has unloaded.
class EditorWindow {
 public:
  virtual ~EditorWindow() = default;

  virtual std::string Caption() const = 0;

  // --- lifecycle
  // The MDI container has loaded the window: it places itself.
  virtual void MdiHost1_FormLoad() = 0;
  // Every activation; the first one opens the database and fills the window
  // (a user who is not the administrator is told and the window unloads).
  virtual void Form_Activate() = 0;
  // Closes the window as a user would: query-close, then unload unless
  // refused. True when the window unloaded (now or before).
  virtual bool Unload() = 0;
  virtual bool IsUnloaded() const = 0;

  // --- principal trees (the host changed the selection first)
  virtual void trv_GU_NodeClick(const std::optional<PrincipalNode>& node) = 0;
  virtual void VRX_TREEUTENTICOPIA_NodeClick(const std::optional<PrincipalNode>& node) = 0;

  // --- side bar
  virtual void VRX_SIDEBAR1_ItemClick(const SideBarItem& item) = 0;

  // --- the window's own buttons and check boxes
  // A button by control name ("CMD_UPDATE", "VRX_ABILITATUTTI", ...).
  virtual void ButtonClick(std::string_view name) = 0;
  // Sets a check box's value as the user would; a change raises its click.
  virtual void SetCheckValue(std::string_view name, const Variant& value) = 0;

  // --- grids (the grid made the clicked row its rows' current row first)
  virtual void GRIDTIPOLOGIE_SelectionBoxClick(std::string_view row_key,
                                               std::string_view column_key,
                                               const Variant& value_before, bool& cancel) = 0;
  virtual void GRIDTIPOLOGIE_HeaderCheckBoxClick(std::string_view column_key, bool new_state,
                                                 bool& cancel) = 0;
  virtual void GRID_DEPOSITO_SelectionBoxClick(std::string_view row_key,
                                               std::string_view column_key,
                                               const Variant& value_before, bool& cancel) = 0;
  virtual void GRID_DEPOSITO_HeaderCheckBoxClick(std::string_view column_key, bool new_state,
                                                 bool& cancel) = 0;
  virtual void TGRID_CLIFOR_BeforeCheck(bool& cancel) = 0;
  virtual void TGRID_CLIFOR_CheckChange(std::string_view column_key,
                                        std::string_view new_value) = 0;
  // A row as the column-substitution event presents it: a field by name.
  using RowReader = std::function<Variant(std::string_view field)>;
  virtual void TGRID_CLIFOR_ColumnSubstitution(const RowReader& row, int32_t& column_index) = 0;

  // --- query control lookups
  virtual std::optional<LookupDefinition> ENHQUERY_LookupDefinition(std::string_view caption) = 0;
  virtual std::string ENHQUERY_FieldValue(std::string_view caption, std::string_view bound,
                                          std::string_view value) = 0;

  // --- the splitter and its pictures
  virtual void PICUP_DblClick() = 0;
  virtual void PICDOWN_DblClick() = 0;
  virtual void SPLIT_OCX_DblClick() = 0;
  virtual void SPLIT_OCX_Resize() = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_EDITOR_WINDOW_H_
