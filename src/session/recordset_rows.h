#ifndef ORV_SESSION_RECORDSET_ROWS_H_
#define ORV_SESSION_RECORDSET_ROWS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/recordset.h"

namespace orv::session {

// Walks the visible rows of a recordset for a grid: the bookmarks in order.
// The current row is restored afterwards.
std::vector<db::Recordset::Bookmark> VisibleRows(db::Recordset& recordset);

// The first visible row whose `field`, as trimmed text, equals `text`.
std::optional<db::Recordset::Bookmark> FindRow(db::Recordset& recordset, std::string_view field,
                                               std::string_view text);

// A field as a grid shows it: trimmed text, "" for Null.
std::string CellText(const db::Recordset& recordset, std::string_view field);

}  // namespace orv::session

#endif  // ORV_SESSION_RECORDSET_ROWS_H_
