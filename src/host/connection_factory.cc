#include "host/connection_factory.h"

#include "db/connection.h"
#include "zere_orvelka/cls_global.h"

namespace orv::host {

std::shared_ptr<db::Connection> NewWindowConnection(ClsGlobal& global) {
  if (auto* factory = dynamic_cast<ConnectionFactory*>(&global)) return factory->CreateConnection();
  return db::Connection::Create();
}

}  // namespace orv::host
