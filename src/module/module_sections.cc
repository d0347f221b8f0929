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
  // One line per section with the section codes it owns (FW31_INDTIPO of
  // the parameter sections); bulk and copy also take the toolbar buttons the
  // active section leaves.
  // Each section's context gives it the rows of its grid.
  using W = editor::FRMFW_ORVELKA;
  using Grid = editor::SectionContext::Grid;
  auto on = [&](Grid grid) { return editor::SectionContext(window, grid); };
  window.AddSection(
      std::make_unique<sections::ParameterSection>(on(Grid::kParameters)),
      {W::kSectionWarehouses, W::kSectionProjects, W::kSectionMrpSimulations, W::kSectionBlocking});
  window.AddSection(std::make_unique<sections::TransferSection>(on(Grid::kTransfers)),
                    {W::kSectionTransfers});
  window.AddSection(std::make_unique<sections::NodeSection>(on(Grid::kParameters)),
                    {W::kSectionNodes});
  window.AddSection(std::make_unique<sections::CliForSection>(on(Grid::kTree)),
                    {W::kSectionCliFor});
  window.AddSection(std::make_unique<sections::FamilySection>(on(Grid::kTree)),
                    {W::kSectionFamilies});
  // The revoke-all walk goes over the parameter grid's rows.
  window.AddSection(std::make_unique<bulk::BulkSection>(on(Grid::kParameters)), {}, true);
  window.AddSection(std::make_unique<bulk::CopySection>(on(Grid::kNone)), {W::kSectionCopy}, true);
}

}  // namespace orv::host
