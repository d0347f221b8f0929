#ifndef ORV_STORE_SETTINGS_H_
#define ORV_STORE_SETTINGS_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orv::db {
class Connection;
}

namespace orv::store {

// The installation setting 'AUT_RVKENABLED' of FW95_SETTINGS: the
// revocation switch ('1' active, '0' not active, no row = not active).
class Settings {
 public:
  static constexpr std::string_view kRevokeKey = "AUT_RVKENABLED";
  static constexpr std::string_view kRevokeDescription = "Abilitazione Revoke";

  // The read of the window's start-up.
  static std::string SelectRevokeOnLoad();
  // The read of the switch's click handling (same row, other spacing).
  static std::string SelectRevokeOnClick();
  // The insert and the update of the click handling; `value` is the check
  // box value as decimal text (quoted, quotes doubled).
  static std::string InsertRevoke(std::string_view value);
  static std::string UpdateRevoke(std::string_view value);

  // The stored FW95_VALORE, or nothing when there is no row.
  static std::optional<std::string> ReadRevokeValue(db::Connection& connection);
  // True when the stored value is '1'.
  static bool RevokeEnabled(db::Connection& connection);
};

}  // namespace orv::store

#endif  // ORV_STORE_SETTINGS_H_
