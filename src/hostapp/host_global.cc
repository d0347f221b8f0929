#include "hostapp/host_global.h"

#include "db/connection.h"
#include "hostapp/host_log_class.h"
#include "hostapp/host_lookup_object.h"

namespace orv::hostapp {

HostGlobal::HostGlobal(Settings settings)
    : settings_(std::move(settings)),
      change_log_([this] { return ChangeLogConnection(); }, settings_.login),
      ui_([this] {
        QtHostUi::Hooks hooks;
        hooks.connection = [this] { return HostConnection(); };
        return hooks;
      }()) {
  messages_.SetDefaultTitle(settings_.application_title);
  ui_.hooks().messages = &messages_;
  ui_.hooks().administrator = settings_.administrator;
}

HostGlobal::~HostGlobal() = default;

std::shared_ptr<db::Connection> HostGlobal::HostConnection() {
  if (!connection_) {
    auto connection = db::Connection::Create();
    connection->Open(settings_.connection_string);
    connection_ = std::move(connection);
  }
  return connection_;
}

std::shared_ptr<db::Connection> HostGlobal::ChangeLogConnection() {
  std::shared_ptr<db::Connection> in_gesture;
  std::erase_if(module_connections_, [&](const std::weak_ptr<db::Connection>& weak) {
    std::shared_ptr<db::Connection> connection = weak.lock();
    if (!connection) return true;
    if (!in_gesture && connection->InTransaction()) in_gesture = connection;
    return false;
  });
  return in_gesture ? in_gesture : HostConnection();
}

std::shared_ptr<db::Connection> HostGlobal::CreateConnection() {
  std::shared_ptr<db::Connection> connection = db::Connection::Create();
  module_connections_.push_back(connection);
  return connection;
}

std::unique_ptr<host::LogClass> HostGlobal::CreateLogClass() {
  return std::make_unique<HostLogClass>(messages_);
}

std::shared_ptr<host::LookupObject> HostGlobal::CreateLookupObject(int kind) {
  return std::make_shared<HostLookupObject>(kind, [this] { return HostConnection(); });
}

void HostGlobal::ForgetModule(host::Cinterface* module) {
  if (active_module_ == module) active_module_ = nullptr;
  if (application_ == module) application_ = nullptr;
}

}  // namespace orv::hostapp
