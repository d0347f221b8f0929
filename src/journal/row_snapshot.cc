#include "journal/row_snapshot.h"

#include "db/connection.h"
#include "db/recordset.h"
#include "journal/journal_statements.h"
#include "journal/row_text.h"

namespace orv::journal {

namespace {

void AppendValue(std::string& out, const db::Value& v, bool first) {
  if (v.IsNull() || v.IsEmpty()) {
    RowText::Append(out, std::nullopt, first);
  } else if (v.type() == db::Value::Type::kText) {
    RowText::Append(out, std::string_view(v.AsText()), first);
  } else if (v.type() == db::Value::Type::kInt) {
    const std::string number = std::to_string(v.AsInt());
    RowText::Append(out, std::string_view(number), first);
  } else {
    const std::string number = v.ToText();
    RowText::Append(out, std::string_view(number), first);
  }
}

}  // namespace

std::string RowSnapshot::Text(const std::vector<db::Value>& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) AppendValue(out, fields[i], i == 0);
  return out;
}

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
  auto append = [&](std::string& out, int index, bool first) {
    AppendValue(out, rs->Field(index), first);
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
