#include "host/module_sections.h"

#include "editor/frmfw_orvelka.h"

namespace orv::host {

void AddModuleSections(editor::FRMFW_ORVELKA& window) {
  // One line per section, in the order the window consults them, e.g.
  //   window.AddSection(std::make_unique<sections::ParameterSection>(window));
  (void)window;
}

}  // namespace orv::host
