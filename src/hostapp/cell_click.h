#ifndef ORV_HOSTAPP_CELL_CLICK_H_
#define ORV_HOSTAPP_CELL_CLICK_H_

#include <functional>
#include <memory>
#include <string_view>

#include "db/recordset.h"
#include "db/value.h"
#include "host/grid_column.h"

namespace orv::hostapp {

// A click on a check-box cell of a grid bound to a recordset, as the host's
// grids deliver it: the row becomes current, the window's selection-box
// handler gets the row key ("CODICE"), the column key and the value before
// the click, and unless it cancels, the grid toggles the cell itself.
class CellClick {
 public:
  // The window's handler: (row key, column key, value before, cancel).
  using Handler = std::function<void(std::string_view, std::string_view, const db::Value&, bool&)>;

  // `still_bound` tells whether the recordset is still the grid's data
  // source once the handler ran (a handler may rebind the grid); the cell is
  // toggled only then. Errors are reported with `grid` as a warning.
  static void Run(std::string_view grid, const std::shared_ptr<db::Recordset>& recordset,
                  db::Recordset::Bookmark row, const host::GridColumn& column,
                  const Handler& handler, const std::function<bool()>& still_bound);
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_CELL_CLICK_H_
