#include "sections/tree_editor.h"

#include <gtest/gtest.h>

#include "db/recordset.h"
#include "session/memory_tree_grid.h"

namespace orv::testing {

namespace {

std::string CellText(const db::Value& v) { return v.IsNull() ? "<null>" : v.ToText(); }

}  // namespace

TreeEditor::TreeEditor(bool count_reloads) : SectionEditor(false) {
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
  Open();
}

void TreeEditor::DisableAll(int32_t answer) {
  host().answers().Push(answer);
  host().Button("VRX_DISABILITATUTTI_CLIFOR");
}

std::vector<TreeEditor::Row> TreeEditor::Rows() {
  std::vector<Row> rows;
  const std::shared_ptr<db::Recordset>& tree = window().tree_rowset();
  if (!tree) return rows;
  std::shared_ptr<db::Recordset> rs = tree->Clone();
  if (rs->RecordCount() == 0) return rows;
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
    Row row;
    for (int i = 0; i < rs->FieldCount(); ++i) row[rs->FieldAt(i).name] = CellText(rs->Field(i));
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

std::vector<std::string> TreeEditor::Reloads() {
  return Query("SELECT WHO FROM T_RELOADS ORDER BY N");
}

}  // namespace orv::testing
