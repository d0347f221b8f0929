#include "support/headless_editor.h"

#include <stdexcept>

#include "db/recordset.h"

namespace orv::testing {

HeadlessEditor::HeadlessEditor() : connection_string_(database_.connection_string()) {
  host_.SetOutput([this](std::string_view line) { output_.emplace_back(line); });
}

HeadlessEditor::~HeadlessEditor() { host_.Release(); }

session::HeadlessOptions HeadlessEditor::Options(std::string_view login) const {
  session::HeadlessOptions options;
  options.connection_string = connection_string_;
  options.login = std::string(login);
  options.company = 1;
  return options;
}

void HeadlessEditor::Open(std::string_view login) { Open(Options(login)); }

void HeadlessEditor::Open(session::HeadlessOptions options) { host_.Open(options); }

editor::FRMFW_ORVELKA& HeadlessEditor::window() {
  editor::FRMFW_ORVELKA* w = host_.window();
  if (w == nullptr) throw std::logic_error("the editor is not open");
  return *w;
}

session::HeadlessGlobal& HeadlessEditor::global() {
  if (host_.global() == nullptr) throw std::logic_error("the editor is not open");
  return *host_.global();
}

const std::vector<session::ShownMessage>& HeadlessEditor::messages() {
  return global().messages().messages();
}

const std::vector<session::ChangeLogEntry>& HeadlessEditor::log() {
  return global().change_log().entries();
}

db::Connection& HeadlessEditor::db() {
  if (!connection_) {
    connection_ = db::Connection::Create();
    connection_->Open(connection_string_);
  }
  return *connection_;
}

db::Value HeadlessEditor::Scalar(std::string_view sql) {
  std::shared_ptr<db::Recordset> rs = db().Execute(sql);
  if (!rs || rs->FieldCount() == 0 || rs->IsEof()) return db::Value();
  return rs->Field(0);
}

int64_t HeadlessEditor::Count(std::string_view sql) { return Scalar(sql).ToInt64(); }

void HeadlessEditor::Exec(std::string_view sql) { db().Execute(sql); }

bool HeadlessEditor::TempTableExists(const std::string& name) {
  if (name.empty()) return false;
  try {
    db().Execute("SELECT COUNT(*) FROM " + name);
    return true;
  } catch (const db::DbError&) {
    return false;
  }
}

}  // namespace orv::testing
