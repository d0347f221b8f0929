#include "module/module_sections.h"

#include <memory>

#include "bulk/bulk_section.h"
#include "bulk/copy_section.h"
#include "editor/frmfw_orvelka.h"
#include "sections/clifor/clifor_section.h"
#include "sections/families/family_section.h"
#include "sections/nodes/node_section.h"
#include "sections/parameters/parameter_section.h"
#include "sections/transfers/transfer_section.h"

namespace orv::host {

void AddModuleSections(editor::FRMFW_ORVELKA& window) {
  // One line per section, in the order the window consults them.
  window.AddSection(std::make_unique<sections::ParameterSection>(window));
  window.AddSection(std::make_unique<sections::TransferSection>(window));
  window.AddSection(std::make_unique<sections::NodeSection>(window));
  window.AddSection(std::make_unique<sections::CliForSection>(window));
  window.AddSection(std::make_unique<sections::FamilySection>(window));
  window.AddSection(std::make_unique<bulk::BulkSection>(window));
  window.AddSection(std::make_unique<bulk::CopySection>(window));
}

}  // namespace orv::host
