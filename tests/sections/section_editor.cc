#include "sections/section_editor.h"

#include "session/headless_change_log.h"
#include "session/headless_global.h"
#include "session/headless_message_service.h"
#include "session/memory_query_control.h"

namespace orv::testing {

std::vector<std::string> SectionEditor::Messages() {
  std::vector<std::string> lines;
  for (const session::ShownMessage& m : global().messages().messages()) {
    lines.push_back(std::to_string(m.buttons) + "|" + m.title + "|" + m.prompt);
  }
  return lines;
}

std::vector<std::string> SectionEditor::Log(int32_t event) {
  std::vector<std::string> lines;
  for (const session::ChangeLogEntry& e : global().change_log().entries()) {
    if (e.event == event) lines.push_back(e.text);
  }
  return lines;
}

void SectionEditor::ClearOutput() {
  global().messages().Clear();
  global().change_log().Clear();
}

std::vector<std::string> SectionEditor::QueryFields() const {
  std::vector<std::string> lines;
  for (const auto& f : controls().query->fields()) {
    lines.push_back(f.caption + "|" + f.column + "|" + std::to_string(f.max_length));
  }
  return lines;
}

std::vector<std::string> SectionEditor::Query(std::string_view sql) {
  std::vector<std::string> lines;
  std::shared_ptr<db::Recordset> rs = db().Execute(sql);
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

std::string SectionEditor::Text(const db::Recordset& rs, std::string_view field) {
  const db::Value& v = rs.Field(field);
  return v.IsNull() ? std::string() : db::Trim(v.ToText());
}

}  // namespace orv::testing
