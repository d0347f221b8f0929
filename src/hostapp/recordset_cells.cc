#include "hostapp/recordset_cells.h"

#include <exception>

namespace orv::hostapp {

std::vector<db::Recordset::Bookmark> RecordsetCells::VisibleRows(db::Recordset& recordset) {
  std::vector<db::Recordset::Bookmark> rows;
  if (!recordset.IsOpen()) return rows;
  std::optional<db::Recordset::Bookmark> current;
  if (!recordset.BOF() && !recordset.IsEof()) current = recordset.GetBookmark();
  if (recordset.RecordCount() > 0) {
    for (recordset.MoveFirst(); !recordset.IsEof(); recordset.MoveNext()) {
      rows.push_back(recordset.GetBookmark());
    }
  }
  if (current) {
    try {
      recordset.SetBookmark(*current);
    } catch (const std::exception&) {
      if (recordset.RecordCount() > 0) recordset.MoveFirst();
    }
  } else if (recordset.RecordCount() > 0) {
    recordset.MoveFirst();
  }
  return rows;
}

std::string RecordsetCells::Text(const db::Value& value) {
  if (value.IsNull() || value.IsEmpty()) return {};
  try {
    return db::Trim(value.ToText());
  } catch (const std::exception&) {
    return {};
  }
}

bool RecordsetCells::IsChecked(const db::Value& value, std::string_view checked) {
  const std::string text = Text(value);
  if (text == checked) return true;
  if (text.empty() || checked.empty()) return false;
  try {
    return value.IsNumeric() && db::Value(checked).IsNumeric() &&
           value.ToDouble() == db::Value(checked).ToDouble();
  } catch (const std::exception&) {
    return false;
  }
}

db::Value RowReader::Get(db::Recordset::Bookmark row, std::string_view field) {
  try {
    if (!clone_ || !clone_->HasField(field)) return db::Value::Null();
    clone_->SetBookmark(row);
    return clone_->Field(field);
  } catch (const std::exception&) {
    return db::Value::Null();
  }
}

}  // namespace orv::hostapp
