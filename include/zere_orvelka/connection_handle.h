#ifndef ZERE_ORVELKA_CONNECTION_HANDLE_H_
#define ZERE_ORVELKA_CONNECTION_HANDLE_H_

namespace orv::host {

// The window's own database connection as the module interface and the
// query control carry it. Opaque to a host: it may only hold it and hand it
// back; the module's connection is one.
class ConnectionHandle {
 public:
  virtual ~ConnectionHandle() = default;

 protected:
  ConnectionHandle() = default;
  ConnectionHandle(const ConnectionHandle&) = default;
  ConnectionHandle& operator=(const ConnectionHandle&) = default;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_CONNECTION_HANDLE_H_
