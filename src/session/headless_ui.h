#ifndef ORV_SESSION_HEADLESS_UI_H_
#define ORV_SESSION_HEADLESS_UI_H_

#include <functional>
#include <memory>
#include <vector>

#include "session/memory_grouping_grid.h"
#include "session/memory_matrix_grid.h"
#include "session/memory_mdi_container.h"
#include "session/memory_principal_tree.h"
#include "session/memory_progress_control.h"
#include "session/memory_query_control.h"
#include "session/memory_resize_control.h"
#include "session/memory_side_bar.h"
#include "session/memory_tree_grid.h"
#include "zere_orvelka/host_ui.h"

namespace orv::editor {
class FRMFW_ORVELKA;
}

namespace orv::session {

// The in-memory controls of one window, typed for the headless host.
struct MemoryControls {
  std::shared_ptr<MemoryPrincipalTree> tree;
  std::shared_ptr<MemoryPrincipalTree> copy_tree;
  std::shared_ptr<MemorySideBar> side_bar;
  std::shared_ptr<MemoryProgressControl> progress;
  std::shared_ptr<MemoryResizeControl> resize;
  std::shared_ptr<MemoryMdiContainer> mdi;
  std::shared_ptr<MemoryGroupingGrid> grid;
  std::shared_ptr<MemoryTreeGrid> tree_grid;
  std::shared_ptr<MemoryMatrixGrid> matrix;
  std::shared_ptr<MemoryQueryControl> query;
};

// The headless host's user interface: in-memory controls for each window,
// and a "screen" that holds the windows shown until they close. Showing a
// window raises the container's form-load event and one activation, modal
// or not (nothing waits on a headless screen).
class HeadlessUi : public host::HostUi {
 public:
  explicit HeadlessUi(MemoryPrincipalTree::ConnectionProvider provider)
      : provider_(std::move(provider)) {}

  host::HostControls CreateControls() override;
  void ShowWindow(std::shared_ptr<host::EditorWindow> events, bool modal) override;
  void WindowClosed(host::EditorWindow& events) override;

  // The controls made last (those of the newest window).
  const MemoryControls& controls() const { return controls_; }
  // The windows on screen, oldest first.
  std::vector<std::shared_ptr<editor::FRMFW_ORVELKA>> windows() const;
  bool last_modal() const { return last_modal_; }
  // Drops the windows that closed (never call from inside a window).
  void ForgetClosedWindows() { closed_.clear(); }

 private:
  MemoryPrincipalTree::ConnectionProvider provider_;
  MemoryControls controls_;
  std::vector<std::shared_ptr<host::EditorWindow>> windows_;
  std::vector<std::shared_ptr<host::EditorWindow>> closed_;
  bool last_modal_ = false;
};

}  // namespace orv::session

#endif  // ORV_SESSION_HEADLESS_UI_H_
