#include "sections/tree_editor.h"

#include <gtest/gtest.h>

#include "db/recordset.h"
#include "session/headless_change_log.h"
#include "session/headless_global.h"
#include "session/headless_message_service.h"
#include "session/memory_tree_grid.h"

namespace orv::testing {

namespace {

std::string Text(const db::Value& v) { return v.IsNull() ? "<null>" : v.ToText(); }

}  // namespace

TreeEditor::TreeEditor(bool count_reloads) : connection_(database_.Connect()) {
  if (count_reloads) {
    Exec("CREATE TABLE T_RELOADS (N INT IDENTITY(1,1) NOT NULL, WHO VARCHAR(20) NOT NULL)");
    Exec(
        "DELETE FROM ORV_ROUTINES WHERE NAME IN ('SPFW_ReloadListaCFRevocatiUtente', "
        "'SPFW_ReloadListaCFRevocatiGruppo')");
    Exec(
        "CREATE PROCEDURE SPFW_ReloadListaCFRevocatiUtente @idutente INT AS BEGIN INSERT INTO "
        "T_RELOADS (WHO) VALUES ('U' + CONVERT(VARCHAR(10), @idutente)) END");
    Exec(
        "CREATE PROCEDURE SPFW_ReloadListaCFRevocatiGruppo @idgruppo INT AS BEGIN INSERT INTO "
        "T_RELOADS (WHO) VALUES ('G' + CONVERT(VARCHAR(10), @idgruppo)) END");
  }
  session::HeadlessOptions options;
  options.connection_string = database_.connection_string();
  options.login = "admin";
  options.company = 1;
  host_.Open(options);
}

TreeEditor::~TreeEditor() = default;

void TreeEditor::DisableAll(int32_t answer) {
  host_.answers().Push(answer);
  host_.Button("VRX_DISABILITATUTTI_CLIFOR");
}

std::vector<TreeEditor::Row> TreeEditor::Rows() {
  std::vector<Row> rows;
  const std::shared_ptr<db::Recordset>& tree = window().tree_rowset();
  if (!tree) return rows;
  std::shared_ptr<db::Recordset> rs = tree->Clone();
  if (rs->RecordCount() == 0) return rows;
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
    Row row;
    for (int i = 0; i < rs->FieldCount(); ++i) row[rs->FieldAt(i).name] = Text(rs->Field(i));
    rows.push_back(std::move(row));
  }
  return rows;
}

TreeEditor::Row TreeEditor::RowByKey(std::string_view key) {
  for (Row& row : Rows()) {
    if (row["KEY"] == key) return row;
  }
  return {};
}

std::string TreeEditor::Cell(std::string_view key, std::string_view field) {
  Row row = RowByKey(key);
  if (row.empty()) return "<none>";
  auto it = row.find(std::string(field));
  return it == row.end() ? "<no field>" : it->second;
}

std::vector<std::string> TreeEditor::Messages() {
  std::vector<std::string> lines;
  for (const session::ShownMessage& m : host_.global()->messages().messages()) {
    lines.push_back(std::to_string(m.buttons) + "|" + m.title + "|" + m.prompt);
  }
  return lines;
}

std::vector<std::string> TreeEditor::Log(int32_t event) {
  std::vector<std::string> lines;
  for (const session::ChangeLogEntry& e : host_.global()->change_log().entries()) {
    if (e.event == event) lines.push_back(e.text);
  }
  return lines;
}

void TreeEditor::ClearOutput() {
  host_.global()->messages().Clear();
  host_.global()->change_log().Clear();
}

std::vector<std::string> TreeEditor::Reloads() {
  return Query("SELECT WHO FROM T_RELOADS ORDER BY N");
}

std::vector<std::string> TreeEditor::Query(std::string_view sql) {
  std::vector<std::string> lines;
  std::shared_ptr<db::Recordset> rs = connection_->Execute(sql);
  if (!rs || !rs->IsOpen() || rs->RecordCount() == 0) return lines;
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
    std::string line;
    for (int i = 0; i < rs->FieldCount(); ++i) {
      if (i > 0) line += "|";
      const db::Value& v = rs->Field(i);
      line += v.IsNull() ? "NULL" : v.ToText();
    }
    lines.push_back(line);
  }
  return lines;
}

int64_t TreeEditor::Count(std::string_view sql) {
  return connection_->Execute(sql)->Field(0).ToInt64();
}

void TreeEditor::Exec(std::string_view sql) {
  connection_->Execute(sql, nullptr, db::kAdExecuteNoRecords);
}

}  // namespace orv::testing
