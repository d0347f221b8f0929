#ifndef ORV_STORE_LOGIN_H_
#define ORV_STORE_LOGIN_H_

#include <optional>
#include <string>
#include <string_view>

namespace orv::db {
class Connection;
}

namespace orv::store {

// A user of the host as a host reads it at sign-in (FW07_APPUSER). Every
// host refuses a login that is unknown or no longer active, administrators
// included.
struct Login {
  bool administrator = false;
  bool active = false;

  static std::string SelectLogin(std::string_view login);
  // The login's row; nullopt when there is none. Throws DbError.
  static std::optional<Login> Read(db::Connection& connection, std::string_view login);
  // The login's row when it may sign in; throws std::runtime_error naming
  // the login as unknown or not active otherwise.
  static Login Admit(db::Connection& connection, std::string_view login);
};

}  // namespace orv::store

#endif  // ORV_STORE_LOGIN_H_
