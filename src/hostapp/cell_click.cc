#include "hostapp/cell_click.h"

#include <QtGlobal>
#include <exception>
#include <string>

#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

void CellClick::Run(std::string_view grid, const std::shared_ptr<db::Recordset>& recordset,
                    db::Recordset::Bookmark row, const host::GridColumn& column,
                    const Handler& handler, const std::function<bool()>& still_bound) {
  try {
    recordset->SetBookmark(row);
    const db::Value before = recordset->Field(column.field);
    const std::string key = recordset->HasField("CODICE")
                                ? RecordsetCells::Text(recordset->Field("CODICE"))
                                : std::string();
    bool cancel = false;
    handler(key, column.key, before, cancel);
    if (!cancel && still_bound()) {
      recordset->SetBookmark(row);
      recordset->SetField(
          column.field,
          db::Value(column.Toggled(RecordsetCells::Text(recordset->Field(column.field)))));
    }
  } catch (const std::exception& e) {
    qWarning("%.*s: %s", static_cast<int>(grid.size()), grid.data(), e.what());
  }
}

}  // namespace orv::hostapp
