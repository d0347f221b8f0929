#include "hostapp/host_global.h"

#include "db/connection.h"
#include "hostapp/host_log_class.h"
#include "hostapp/host_lookup_object.h"

namespace orv::hostapp {

HostGlobal::HostGlobal(Settings settings)
    : settings_(std::move(settings)),
      change_log_([this] { return HostConnection(); }, settings_.login),
      ui_(QtHostUi::Hooks{[this] { return HostConnection(); }, {}, {}, {}, {}, {}}) {
  messages_.SetDefaultTitle(settings_.application_title);
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

std::shared_ptr<db::Connection> HostGlobal::CreateConnection() { return db::Connection::Create(); }

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
