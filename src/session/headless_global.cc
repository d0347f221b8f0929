#include "session/headless_global.h"

#include "db/connection.h"
#include "session/headless_lookup_object.h"

namespace orv::session {

HeadlessGlobal::HeadlessGlobal(Settings settings, AnswerQueue& answers, SessionOutput& output)
    : settings_(std::move(settings)),
      answers_(answers),
      output_(output),
      messages_(answers, output),
      change_log_(output) {}

std::shared_ptr<db::Connection> HeadlessGlobal::CreateConnection() {
  ++connections_created_;
  auto connection = db::Connection::Create();
  if (settings_.statement_observer) {
    connection->SetStatementObserver(settings_.statement_observer, "module");
  }
  return connection;
}

std::unique_ptr<host::LogClass> HeadlessGlobal::CreateLogClass() {
  return std::make_unique<HeadlessLogClass>(answers_, output_, logged_errors_);
}

std::shared_ptr<host::LookupObject> HeadlessGlobal::CreateLookupObject(int kind) {
  return std::make_shared<HeadlessLookupObject>(kind);
}

void HeadlessGlobal::ForgetModule(host::Cinterface* module) {
  ++forget_count_;
  if (active_module_ == module) active_module_ = nullptr;
  if (application_ == module) application_ = nullptr;
}

}  // namespace orv::session
