#include "session/recordset_rows.h"

namespace orv::session {
namespace {

// Restores the cursor on scope exit.
class CursorKeeper {
 public:
  explicit CursorKeeper(db::Recordset& rs) : rs_(rs) {
    if (!rs_.BOF() && !rs_.IsEof()) saved_ = rs_.GetBookmark();
  }
  ~CursorKeeper() {
    try {
      if (saved_) rs_.SetBookmark(*saved_);
    } catch (...) {
    }
  }

 private:
  db::Recordset& rs_;
  std::optional<db::Recordset::Bookmark> saved_;
};

}  // namespace

std::vector<db::Recordset::Bookmark> VisibleRows(db::Recordset& recordset) {
  std::vector<db::Recordset::Bookmark> rows;
  if (!recordset.IsOpen() || recordset.RecordCount() == 0) return rows;
  CursorKeeper keeper(recordset);
  for (recordset.MoveFirst(); !recordset.IsEof(); recordset.MoveNext()) {
    rows.push_back(recordset.GetBookmark());
  }
  return rows;
}

std::optional<db::Recordset::Bookmark> FindRow(db::Recordset& recordset, std::string_view field,
                                               std::string_view text) {
  for (db::Recordset::Bookmark row : VisibleRows(recordset)) {
    CursorKeeper keeper(recordset);
    recordset.SetBookmark(row);
    if (CellText(recordset, field) == text) return row;
  }
  return std::nullopt;
}

std::string CellText(const db::Recordset& recordset, std::string_view field) {
  const db::Value& value = recordset.Field(field);
  if (value.IsNull() || value.IsEmpty()) return {};
  return db::Trim(value.ToText());
}

}  // namespace orv::session
