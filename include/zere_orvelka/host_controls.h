#ifndef ORV_HOST_HOST_CONTROLS_H_
#define ORV_HOST_HOST_CONTROLS_H_

#include <memory>

#include "host/grouping_grid.h"
#include "host/matrix_grid.h"
#include "host/mdi_container.h"
#include "host/principal_tree.h"
#include "host/progress_control.h"
#include "host/query_control.h"
#include "host/resize_control.h"
#include "host/side_bar.h"
#include "host/tree_grid.h"

namespace orv::host {

// The host controls of one editor window, made by the host (HostUi) when the
// window is created. The window shares them for its whole life; any of them
// may be null, and the routines that need a missing control fail with error
// 91 ("Object variable or With block variable not set") through their usual
// error trap.
struct HostControls {
  std::shared_ptr<PrincipalTree> VRX_TREEUTENTI1;
  std::shared_ptr<PrincipalTree> VRX_TREEUTENTICOPIA;
  std::shared_ptr<SideBar> VRX_SIDEBAR1;
  std::shared_ptr<ProgressControl> VRX_PROGRESS;
  std::shared_ptr<ResizeControl> VRX_RESIZEFORM1;
  std::shared_ptr<MdiContainer> MdiHost1;
  std::shared_ptr<GroupingGrid> GRIDTIPOLOGIE;
  std::shared_ptr<TreeGrid> TGRID_CLIFOR;
  std::shared_ptr<MatrixGrid> GRID_DEPOSITO;
  std::shared_ptr<QueryControl> ENHQUERY;
};

}  // namespace orv::host

#endif  // ORV_HOST_HOST_CONTROLS_H_
