#ifndef ZERE_ORVELKA_LOOKUP_OBJECT_H_
#define ZERE_ORVELKA_LOOKUP_OBJECT_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::host {

class Cinterface;

// What a lookup shows: the statement it runs, its title and column headings.
struct LookupDefinition {
  std::string statement;
  std::string title;
  std::vector<std::string> headings;
};

// One of the host's project lookup services (the window creates seven at
// start-up: project, project type, project state, project classes A, B and C,
// node). They serve the lookups and code checks of the query control.
class LookupObject {
 public:
  enum Kind { kProject = 0, kProjectType, kProjectState, kClassA, kClassB, kClassC, kNode };
  static constexpr int kCount = 7;

  virtual ~LookupObject() = default;
  // The module interface held by the window; borrowed until SetHost(nullptr).
  virtual void SetHost(Cinterface* host) = 0;
  // The lookup of one attribute (a database column such as "PD68_TIPO_PD1D").
  virtual LookupDefinition Definition(std::string_view column) = 0;
  // The stored code for a typed value, or nothing when no code matches. For
  // nodes `project` is the project the node belongs to.
  virtual std::optional<std::string> Resolve(std::string_view column, std::string_view value,
                                             std::string_view project) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_LOOKUP_OBJECT_H_
