#include "journal/row_snapshot.h"

#include "db/connection.h"
#include "db/recordset.h"
#include "journal/journal_statements.h"
#include "journal/row_text.h"

namespace orv::journal {

void RowSnapshot::Read(db::Connection& connection, const JournalTable& table, const RowScope& scope,
                       Rows& rows) {
  Visit(connection, table, scope, false,
        [&](std::string& key, std::string& values) { rows.insert_or_assign(key, values); });
}

void RowSnapshot::ReadOrdered(db::Connection& connection, const JournalTable& table,
                              const RowScope& scope, OrderedRows& rows) {
  Visit(connection, table, scope, true, [&](std::string& key, std::string& values) {
    rows.emplace_back(std::move(key), std::move(values));
  });
}

void RowSnapshot::Visit(db::Connection& connection, const JournalTable& table,
                        const RowScope& scope, bool ordered,
                        const std::function<void(std::string&, std::string&)>& row) {
  std::string sql = JournalStatements::SelectRows(table, scope);
  if (ordered) sql += JournalStatements::OrderByKey(table);
  std::shared_ptr<db::Recordset> rs = connection.Execute(sql);
  if (!rs || !rs->IsOpen()) return;
  const int keys = static_cast<int>(table.keys.size());
  const int columns = keys + static_cast<int>(table.values.size());
  std::string key;
  std::string values;
  std::string number;
  auto append = [&](std::string& out, int index, bool first) {
    const db::Value& v = rs->Field(index);
    if (v.IsNull() || v.IsEmpty()) {
      RowText::Append(out, std::nullopt, first);
    } else if (v.type() == db::Value::Type::kText) {
      RowText::Append(out, std::string_view(v.AsText()), first);
    } else if (v.type() == db::Value::Type::kInt) {
      number = std::to_string(v.AsInt());
      RowText::Append(out, std::string_view(number), first);
    } else {
      number = v.ToText();
      RowText::Append(out, std::string_view(number), first);
    }
  };
  for (; !rs->IsEof(); rs->MoveNext()) {
    key.clear();
    values.clear();
    for (int i = 0; i < keys; ++i) append(key, i, i == 0);
    for (int i = keys; i < columns; ++i) append(values, i, i == keys);
    row(key, values);
  }
}

}  // namespace orv::journal
