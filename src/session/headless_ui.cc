#include "session/headless_ui.h"

#include <algorithm>

#include "editor/frmfw_orvelka.h"
#include "module/editor_window_adapter.h"

namespace orv::session {

host::HostControls HeadlessUi::CreateControls() {
  controls_ = MemoryControls{};
  controls_.tree = std::make_shared<MemoryPrincipalTree>(provider_);
  controls_.copy_tree = std::make_shared<MemoryPrincipalTree>(provider_);
  controls_.side_bar = std::make_shared<MemorySideBar>();
  controls_.progress = std::make_shared<MemoryProgressControl>();
  controls_.resize = std::make_shared<MemoryResizeControl>();
  controls_.mdi = std::make_shared<MemoryMdiContainer>();
  controls_.grid = std::make_shared<MemoryGroupingGrid>();
  controls_.tree_grid = std::make_shared<MemoryTreeGrid>();
  controls_.matrix = std::make_shared<MemoryMatrixGrid>();
  controls_.query = std::make_shared<MemoryQueryControl>();

  host::HostControls controls;
  controls.VRX_TREEUTENTI1 = controls_.tree;
  controls.VRX_TREEUTENTICOPIA = controls_.copy_tree;
  controls.VRX_SIDEBAR1 = controls_.side_bar;
  controls.VRX_PROGRESS = controls_.progress;
  controls.VRX_RESIZEFORM1 = controls_.resize;
  controls.MdiHost1 = controls_.mdi;
  controls.GRIDTIPOLOGIE = controls_.grid;
  controls.TGRID_CLIFOR = controls_.tree_grid;
  controls.GRID_DEPOSITO = controls_.matrix;
  controls.ENHQUERY = controls_.query;
  return controls;
}

void HeadlessUi::ShowWindow(std::shared_ptr<host::EditorWindow> events, bool modal) {
  last_modal_ = modal;
  closed_.clear();
  windows_.push_back(events);
  events->MdiHost1_FormLoad();
  events->Form_Activate();
}

std::vector<std::shared_ptr<editor::FRMFW_ORVELKA>> HeadlessUi::windows() const {
  std::vector<std::shared_ptr<editor::FRMFW_ORVELKA>> shown;
  for (const auto& events : windows_) shown.push_back(host::EditorWindowAdapter::Window(*events));
  return shown;
}

void HeadlessUi::WindowClosed(host::EditorWindow& window) {
  // Called from inside the window's unload: keep it alive until the host
  // lets go of closed windows.
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [&](const auto& shown) { return shown.get() == &window; });
  if (it == windows_.end()) return;
  closed_.push_back(std::move(*it));
  windows_.erase(it);
}

}  // namespace orv::session
