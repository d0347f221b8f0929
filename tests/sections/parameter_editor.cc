#include "sections/parameter_editor.h"

#include <gtest/gtest.h>

#include "db/recordset.h"
#include "session/memory_grouping_grid.h"

namespace orv::testing {

namespace {

WorkRow ReadRow(const db::Recordset& rs) {
  auto* const Text = &SectionEditor::Text;
  return WorkRow{Text(rs, "CODICE"),   Text(rs, "DESCRIZIONE"),    Text(rs, "ABILITATO"),
                 Text(rs, "MODIFICA"), Text(rs, "INSERIMENTO"),    Text(rs, "ELIMINAZIONE"),
                 Text(rs, "DITTARAG"), Text(rs, "RAGGRUPPAMENTO"), Text(rs, "INDTIPO")};
}

}  // namespace

void ParameterEditor::Click(std::string_view code, int64_t company) {
  ClickFirst(
      [&](const db::Recordset& rs) {
        return Text(rs, "CODICE") == code &&
               (company == 0 || Text(rs, "DITTARAG") == std::to_string(company));
      },
      "row " + std::string(code));
}

void ParameterEditor::ClickFirst(const std::function<bool(const db::Recordset&)>& matches,
                                 const std::string& what) {
  session::MemoryGroupingGrid& grid = *controls().grid;
  std::shared_ptr<db::Recordset> rs = grid.recordset();
  ASSERT_TRUE(rs) << "no rows bound";
  const size_t count = grid.DisplayRows().size();
  for (size_t i = 1; i <= count; ++i) {
    ASSERT_TRUE(grid.MoveToDisplayRow(static_cast<int>(i)));
    if (matches(*rs)) {
      host().ClickGrid("GRIDTIPOLOGIE", std::to_string(i), "ABILITATO");
      return;
    }
  }
  FAIL() << "no " << what;
}

std::vector<WorkRow> ParameterEditor::Rows() {
  std::vector<WorkRow> rows;
  const std::shared_ptr<db::Recordset>& work = window().work_recordset();
  if (!work) return rows;
  std::shared_ptr<db::Recordset> rs = work->Clone();
  if (rs->RecordCount() == 0) return rows;
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) rows.push_back(ReadRow(*rs));
  return rows;
}

std::vector<std::string> ParameterEditor::Codes() {
  std::vector<std::string> codes;
  for (const WorkRow& row : Rows()) codes.push_back(row.code);
  return codes;
}

WorkRow ParameterEditor::Row(std::string_view code, int64_t company) {
  for (WorkRow& row : Rows()) {
    if (row.code == code && (company == 0 || row.dittarag == std::to_string(company))) return row;
  }
  WorkRow none;
  none.code = "<none>";
  return none;
}

}  // namespace orv::testing
