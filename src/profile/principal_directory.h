#ifndef ORV_PROFILE_PRINCIPAL_DIRECTORY_H_
#define ORV_PROFILE_PRINCIPAL_DIRECTORY_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/principal.h"

namespace orv::db {
class Connection;
}

namespace orv::profile {

// A user or a group as people and files name it: the login or the group
// code (stable between installations), beside the principal of this one.
struct NamedPrincipal {
  store::Principal principal;  // its name is FW07_NOMEUTENTE or FW06_DESCR (else the code)
  std::string code;            // FW07_LOGIN or FW06_CODICE

  bool IsUser() const { return principal.IsUser(); }
  // "user:mrossi" or "group:VENDITE".
  std::string Reference() const;
  // What an effective profile names as a source: "utente" for the user
  // itself, "gruppo " + the group's name for a group.
  std::string SourceLabel() const;
};

// Finds principals in the host tables (FW07_APPUSER, FW06_GROUPUSR,
// FW00_GRPUSRASSOC). Errors are std::runtime_error with a message for people.
class PrincipalDirectory {
 public:
  explicit PrincipalDirectory(db::Connection& connection) : connection_(connection) {}

  // "user:LOGIN" or "group:CODE"; a bare word is a login.
  NamedPrincipal Find(std::string_view reference);
  NamedPrincipal User(int64_t id);
  NamedPrincipal Group(int64_t id);
  // The groups the user belongs to, by code.
  std::vector<NamedPrincipal> GroupsOf(int64_t user_id);
  // Refuses anyone but an active administrator, as the editor does.
  void RequireAdministrator(std::string_view login);

 private:
  db::Connection& connection_;
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_PRINCIPAL_DIRECTORY_H_
