#ifndef ORV_MODULE_EDITOR_WINDOW_ADAPTER_H_
#define ORV_MODULE_EDITOR_WINDOW_ADAPTER_H_

#include <memory>

#include "zere_orvelka/editor_window.h"

namespace orv::editor {
class FRMFW_ORVELKA;
}

namespace orv::host {

// The editor window as the public EditorWindow a host drives: each handler
// passes to the window's own, with the host's values converted. Holds the
// window for as long as the host holds it.
class EditorWindowAdapter final : public host::EditorWindow {
 public:
  explicit EditorWindowAdapter(std::shared_ptr<editor::FRMFW_ORVELKA> window);

  // The window behind a window the module handed to HostUi, for the hosts
  // of this source tree (they read the window's own controls and state).
  static std::shared_ptr<editor::FRMFW_ORVELKA> Window(const host::EditorWindow& events);

  std::string Caption() const override;
  void MdiHost1_FormLoad() override;
  void Form_Activate() override;
  bool Unload() override;
  bool IsUnloaded() const override;
  void trv_GU_NodeClick(const std::optional<host::PrincipalNode>& node) override;
  void VRX_TREEUTENTICOPIA_NodeClick(const std::optional<host::PrincipalNode>& node) override;
  void VRX_SIDEBAR1_ItemClick(const host::SideBarItem& item) override;
  void ButtonClick(std::string_view name) override;
  void SetCheckValue(std::string_view name, const host::Variant& value) override;
  void GRIDTIPOLOGIE_SelectionBoxClick(std::string_view row_key, std::string_view column_key,
                                       const host::Variant& value_before, bool& cancel) override;
  void GRIDTIPOLOGIE_HeaderCheckBoxClick(std::string_view column_key, bool new_state,
                                         bool& cancel) override;
  void GRID_DEPOSITO_SelectionBoxClick(std::string_view row_key, std::string_view column_key,
                                       const host::Variant& value_before, bool& cancel) override;
  void GRID_DEPOSITO_HeaderCheckBoxClick(std::string_view column_key, bool new_state,
                                         bool& cancel) override;
  void TGRID_CLIFOR_BeforeCheck(bool& cancel) override;
  void TGRID_CLIFOR_CheckChange(std::string_view column_key, std::string_view new_value) override;
  void TGRID_CLIFOR_ColumnSubstitution(const RowReader& row, int32_t& column_index) override;
  std::optional<host::LookupDefinition> ENHQUERY_LookupDefinition(
      std::string_view caption) override;
  std::string ENHQUERY_FieldValue(std::string_view caption, std::string_view bound,
                                  std::string_view value) override;
  void PICUP_DblClick() override;
  void PICDOWN_DblClick() override;
  void SPLIT_OCX_DblClick() override;
  void SPLIT_OCX_Resize() override;

 private:
  std::shared_ptr<editor::FRMFW_ORVELKA> window_;
};

}  // namespace orv::host

#endif  // ORV_MODULE_EDITOR_WINDOW_ADAPTER_H_
