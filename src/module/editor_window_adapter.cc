#include "module/editor_window_adapter.h"

#include <utility>

#include "db/value_variant.h"
#include "editor/frmfw_orvelka.h"
#include "host/tree_row_reader.h"

namespace orv::host {

EditorWindowAdapter::EditorWindowAdapter(std::shared_ptr<editor::FRMFW_ORVELKA> window)
    : window_(std::move(window)) {}

std::shared_ptr<editor::FRMFW_ORVELKA> EditorWindowAdapter::Window(
    const host::EditorWindow& events) {
  const auto* adapter = dynamic_cast<const EditorWindowAdapter*>(&events);
  return adapter ? adapter->window_ : nullptr;
}

std::string EditorWindowAdapter::Caption() const { return window_->Caption(); }
void EditorWindowAdapter::MdiHost1_FormLoad() { window_->MdiHost1_FormLoad(); }
void EditorWindowAdapter::Form_Activate() { window_->Form_Activate(); }
bool EditorWindowAdapter::Unload() { return window_->Unload(); }
bool EditorWindowAdapter::IsUnloaded() const { return window_->unloaded(); }

void EditorWindowAdapter::trv_GU_NodeClick(const std::optional<host::PrincipalNode>& node) {
  window_->trv_GU_NodeClick(node);
}
void EditorWindowAdapter::VRX_TREEUTENTICOPIA_NodeClick(
    const std::optional<host::PrincipalNode>& node) {
  window_->VRX_TREEUTENTICOPIA_NodeClick(node);
}
void EditorWindowAdapter::VRX_SIDEBAR1_ItemClick(const host::SideBarItem& item) {
  window_->VRX_SIDEBAR1_ItemClick(item);
}
void EditorWindowAdapter::ButtonClick(std::string_view name) { window_->ButtonClick(name); }
void EditorWindowAdapter::SetCheckValue(std::string_view name, const host::Variant& value) {
  window_->SetCheckValue(name, db::FromVariant(value));
}

void EditorWindowAdapter::GRIDTIPOLOGIE_SelectionBoxClick(std::string_view row_key,
                                                          std::string_view column_key,
                                                          const host::Variant& value_before,
                                                          bool& cancel) {
  window_->GRIDTIPOLOGIE_SelectionBoxClick(row_key, column_key, db::FromVariant(value_before),
                                           cancel);
}
void EditorWindowAdapter::GRIDTIPOLOGIE_HeaderCheckBoxClick(std::string_view column_key,
                                                            bool new_state, bool& cancel) {
  window_->GRIDTIPOLOGIE_HeaderCheckBoxClick(column_key, new_state, cancel);
}
void EditorWindowAdapter::GRID_DEPOSITO_SelectionBoxClick(std::string_view row_key,
                                                          std::string_view column_key,
                                                          const host::Variant& value_before,
                                                          bool& cancel) {
  window_->GRID_DEPOSITO_SelectionBoxClick(row_key, column_key, db::FromVariant(value_before),
                                           cancel);
}
void EditorWindowAdapter::GRID_DEPOSITO_HeaderCheckBoxClick(std::string_view column_key,
                                                            bool new_state, bool& cancel) {
  window_->GRID_DEPOSITO_HeaderCheckBoxClick(column_key, new_state, cancel);
}
void EditorWindowAdapter::TGRID_CLIFOR_BeforeCheck(bool& cancel) {
  window_->TGRID_CLIFOR_BeforeCheck(cancel);
}
void EditorWindowAdapter::TGRID_CLIFOR_CheckChange(std::string_view column_key,
                                                   std::string_view new_value) {
  window_->TGRID_CLIFOR_CheckChange(column_key, new_value);
}
void EditorWindowAdapter::TGRID_CLIFOR_ColumnSubstitution(const RowReader& row,
                                                          int32_t& column_index) {
  const host::TreeRowReader read = [&row](std::string_view field) {
    return db::FromVariant(row(field));
  };
  window_->TGRID_CLIFOR_ColumnSubstitution(read, column_index);
}

std::optional<host::LookupDefinition> EditorWindowAdapter::ENHQUERY_LookupDefinition(
    std::string_view caption) {
  return window_->ENHQUERY_LookupDefinition(caption);
}
std::string EditorWindowAdapter::ENHQUERY_FieldValue(std::string_view caption,
                                                     std::string_view bound,
                                                     std::string_view value) {
  return window_->ENHQUERY_FieldValue(caption, bound, value);
}

void EditorWindowAdapter::PICUP_DblClick() { window_->PICUP_DblClick(); }
void EditorWindowAdapter::PICDOWN_DblClick() { window_->PICDOWN_DblClick(); }
void EditorWindowAdapter::SPLIT_OCX_DblClick() { window_->SPLIT_OCX_DblClick(); }
void EditorWindowAdapter::SPLIT_OCX_Resize() { window_->SPLIT_OCX_Resize(); }

}  // namespace orv::host
