#ifndef ORV_HOSTAPP_HOST_LOOKUP_OBJECT_H_
#define ORV_HOSTAPP_HOST_LOOKUP_OBJECT_H_

#include <functional>
#include <memory>

#include "zere_orvelka/lookup_object.h"

namespace orv::db {
class Connection;
}

namespace orv::hostapp {

// The project lookup services of the desktop host: for a project or node
// attribute, the statement over its code table (PD68_PROGETTI, PD0C_NODO,
// PD1D_TIPIPROG ... PD1H_CLASSEC) and a check that finds the stored code of
// a typed value without regard to case. Typed values reach SQL only quoted.
class HostLookupObject : public host::LookupObject {
 public:
  using ConnectionProvider = std::function<std::shared_ptr<db::Connection>()>;
  HostLookupObject(int kind, ConnectionProvider provider)
      : kind_(kind), provider_(std::move(provider)) {}

  void SetHost(host::Cinterface* host) override { host_ = host; }
  host::LookupDefinition Definition(std::string_view column) override;
  std::optional<std::string> Resolve(std::string_view column, std::string_view value,
                                     std::string_view project) override;

  int kind() const { return kind_; }

 private:
  // The company of the host, or nullopt without one.
  std::optional<int32_t> Company() const;

  int kind_;
  ConnectionProvider provider_;
  host::Cinterface* host_ = nullptr;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HOST_LOOKUP_OBJECT_H_
