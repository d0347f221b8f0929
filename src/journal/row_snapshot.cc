#include "journal/row_snapshot.h"

#include "db/connection.h"
#include "db/recordset.h"
#include "journal/journal_statements.h"
#include "journal/row_text.h"

namespace orv::journal {

void RowSnapshot::Read(db::Connection& connection, const JournalTable& table, const RowScope& scope,
                       Rows& rows) {
  std::shared_ptr<db::Recordset> rs =
      connection.Execute(JournalStatements::SelectRows(table, scope));
  if (!rs || !rs->IsOpen()) return;
  const size_t keys = table.keys.size();
  const size_t values = table.values.size();
  RowText::Fields key(keys);
  RowText::Fields value(values);
  auto text = [&](int index) -> std::optional<std::string> {
    const db::Value& v = rs->Field(index);
    if (v.IsNull() || v.IsEmpty()) return std::nullopt;
    return v.ToText();
  };
  for (; !rs->IsEof(); rs->MoveNext()) {
    for (size_t i = 0; i < keys; ++i) key[i] = text(static_cast<int>(i));
    for (size_t i = 0; i < values; ++i) value[i] = text(static_cast<int>(keys + i));
    rows.insert_or_assign(RowText::Join(key), RowText::Join(value));
  }
}

}  // namespace orv::journal
