#ifndef ORV_HOSTAPP_QT_CONTROLS_H_
#define ORV_HOSTAPP_QT_CONTROLS_H_

#include <memory>

#include "hostapp/qt_grouping_grid.h"
#include "hostapp/qt_matrix_grid.h"
#include "hostapp/qt_mdi_container.h"
#include "hostapp/qt_principal_tree.h"
#include "hostapp/qt_progress_control.h"
#include "hostapp/qt_query_control.h"
#include "hostapp/qt_resize_control.h"
#include "hostapp/qt_side_bar.h"
#include "hostapp/qt_tree_grid.h"
#include "hostapp/window_link.h"
#include "zere_orvelka/host_controls.h"

namespace orv::hostapp {

// The host controls of one editor window, typed for the desktop host, and
// the link they report to.
struct QtControls {
  std::shared_ptr<WindowLink> link;
  std::shared_ptr<QtPrincipalTree> tree;
  std::shared_ptr<QtPrincipalTree> copy_tree;
  std::shared_ptr<QtSideBar> side_bar;
  std::shared_ptr<QtProgressControl> progress;
  std::shared_ptr<QtResizeControl> resize;
  std::shared_ptr<QtMdiContainer> mdi;
  std::shared_ptr<QtGroupingGrid> grid;
  std::shared_ptr<QtTreeGrid> tree_grid;
  std::shared_ptr<QtMatrixGrid> matrix;
  std::shared_ptr<QtQueryControl> query;

  // The same controls as the window knows them.
  host::HostControls ForWindow() const {
    host::HostControls c;
    c.VRX_TREEUTENTI1 = tree;
    c.VRX_TREEUTENTICOPIA = copy_tree;
    c.VRX_SIDEBAR1 = side_bar;
    c.VRX_PROGRESS = progress;
    c.VRX_RESIZEFORM1 = resize;
    c.MdiHost1 = mdi;
    c.GRIDTIPOLOGIE = grid;
    c.TGRID_CLIFOR = tree_grid;
    c.GRID_DEPOSITO = matrix;
    c.ENHQUERY = query;
    return c;
  }
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_CONTROLS_H_
