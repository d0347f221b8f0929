#ifndef ZERE_ORVELKA_HOST_CONTROLS_H_
#define ZERE_ORVELKA_HOST_CONTROLS_H_

#include <memory>

#include "zere_orvelka/grouping_grid.h"
#include "zere_orvelka/matrix_grid.h"
#include "zere_orvelka/mdi_container.h"
#include "zere_orvelka/principal_tree.h"
#include "zere_orvelka/progress_control.h"
#include "zere_orvelka/query_control.h"
#include "zere_orvelka/resize_control.h"
#include "zere_orvelka/side_bar.h"
#include "zere_orvelka/tree_grid.h"

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

#endif  // ZERE_ORVELKA_HOST_CONTROLS_H_
