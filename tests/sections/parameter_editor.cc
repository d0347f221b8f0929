#include "sections/parameter_editor.h"

#include <gtest/gtest.h>

#include "db/recordset.h"
#include "session/headless_change_log.h"
#include "session/headless_global.h"
#include "session/headless_message_service.h"
#include "session/memory_grouping_grid.h"

namespace orv::testing {

namespace {

std::string Text(const db::Recordset& rs, std::string_view field) {
  const db::Value& v = rs.Field(field);
  return v.IsNull() ? std::string() : db::Trim(v.ToText());
}

WorkRow ReadRow(const db::Recordset& rs) {
  return WorkRow{Text(rs, "CODICE"),   Text(rs, "DESCRIZIONE"),    Text(rs, "ABILITATO"),
                 Text(rs, "MODIFICA"), Text(rs, "INSERIMENTO"),    Text(rs, "ELIMINAZIONE"),
                 Text(rs, "DITTARAG"), Text(rs, "RAGGRUPPAMENTO"), Text(rs, "INDTIPO")};
}

}  // namespace

ParameterEditor::ParameterEditor() : connection_(database_.Connect()) {
  session::HeadlessOptions options;
  options.connection_string = database_.connection_string();
  options.login = "admin";
  options.company = 1;
  host_.Open(options);
}

ParameterEditor::~ParameterEditor() = default;

void ParameterEditor::Click(std::string_view code, int64_t company) {
  session::MemoryGroupingGrid& grid = *controls().grid;
  std::shared_ptr<db::Recordset> rs = grid.GetDataSource();
  ASSERT_TRUE(rs) << "no rows bound";
  const size_t count = grid.DisplayRows().size();
  for (size_t i = 1; i <= count; ++i) {
    ASSERT_TRUE(grid.MoveToDisplayRow(static_cast<int>(i)));
    if (Text(*rs, "CODICE") == code &&
        (company == 0 || Text(*rs, "DITTARAG") == std::to_string(company))) {
      host_.ClickGrid("GRIDTIPOLOGIE", std::to_string(i), "ABILITATO");
      return;
    }
  }
  FAIL() << "no row " << code;
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

WorkRow ParameterEditor::Row(std::string_view code, int64_t company) {
  for (WorkRow& row : Rows()) {
    if (row.code == code && (company == 0 || row.dittarag == std::to_string(company))) return row;
  }
  WorkRow none;
  none.code = "<none>";
  return none;
}

std::vector<std::string> ParameterEditor::Messages() {
  std::vector<std::string> lines;
  for (const session::ShownMessage& m : host_.global()->messages().messages()) {
    lines.push_back(std::to_string(m.buttons) + "|" + m.title + "|" + m.prompt);
  }
  return lines;
}

std::vector<std::string> ParameterEditor::Log16() {
  std::vector<std::string> lines;
  for (const session::ChangeLogEntry& e : host_.global()->change_log().entries()) {
    if (e.event == 16) lines.push_back(e.text);
  }
  return lines;
}

void ParameterEditor::ClearOutput() {
  host_.global()->messages().Clear();
  host_.global()->change_log().Clear();
}

int64_t ParameterEditor::Count(std::string_view sql) {
  std::shared_ptr<db::Recordset> rs = connection_->Execute(sql);
  return rs->Field(0).ToInt64();
}

void ParameterEditor::Exec(std::string_view sql) {
  connection_->Execute(sql, nullptr, db::kAdExecuteNoRecords);
}

}  // namespace orv::testing
