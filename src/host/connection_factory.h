#ifndef ORV_HOST_CONNECTION_FACTORY_H_
#define ORV_HOST_CONNECTION_FACTORY_H_

#include <memory>

namespace orv::db {
class Connection;
}

namespace orv::host {

class ClsGlobal;

// A connection factory a host of this source tree adds to its ClsGlobal
// object, to see the statements of the window's connection (the session
// driver's trace) or to find the connection a gesture writes on.
class ConnectionFactory {
 public:
  virtual ~ConnectionFactory() = default;
  // A new, closed connection.
  virtual std::shared_ptr<db::Connection> CreateConnection() = 0;
};

// A new, closed connection for a window: from the host's factory when its
// ClsGlobal object is also a ConnectionFactory, else one of the module's own.
std::shared_ptr<db::Connection> NewWindowConnection(ClsGlobal& global);

}  // namespace orv::host

#endif  // ORV_HOST_CONNECTION_FACTORY_H_
