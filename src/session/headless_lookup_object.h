#ifndef ORV_SESSION_HEADLESS_LOOKUP_OBJECT_H_
#define ORV_SESSION_HEADLESS_LOOKUP_OBJECT_H_

#include "zere_orvelka/lookup_object.h"

namespace orv::session {

// A project lookup of the headless host: the distinct values of the column
// in its table. Project and node codes typed in another case resolve to the
// stored code (a node within the given project) through the connection the
// window handed to its module interface; other values are kept as typed.
class HeadlessLookupObject : public host::LookupObject {
 public:
  explicit HeadlessLookupObject(int kind) : kind_(kind) {}

  void SetHost(host::Cinterface* host) override { host_ = host; }
  host::LookupDefinition Definition(std::string_view column) override;
  std::optional<std::string> Resolve(std::string_view column, std::string_view value,
                                     std::string_view project) override;

  int kind() const { return kind_; }
  host::Cinterface* host() const { return host_; }

 private:
  int kind_;
  host::Cinterface* host_ = nullptr;
};

}  // namespace orv::session

#endif  // ORV_SESSION_HEADLESS_LOOKUP_OBJECT_H_
