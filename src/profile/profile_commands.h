#ifndef ORV_PROFILE_PROFILE_COMMANDS_H_
#define ORV_PROFILE_PROFILE_COMMANDS_H_

#include <optional>
#include <string>
#include <string_view>

namespace orv::db {
class Connection;
}

namespace orv::profile {

// The profile commands as the command-line program and the session scripts
// offer them, each returning what it prints (text for people or JSON).
// Principals are named "user:LOGIN" or "group:CODE" (a bare word is a
// login). Errors are exceptions with a message for people.
class ProfileCommands {
 public:
  // Refuses `login` unless it is an active administrator.
  ProfileCommands(db::Connection& connection, std::string login);

  std::string Show(std::string_view principal, bool json);
  std::string Effective(std::string_view user, bool json);
  std::string Diff(std::string_view a, std::string_view b, bool json);
  std::string WhereUsed(std::string_view item, bool json);
  // The profile file of the principal.
  std::string Export(std::string_view principal);
  // Previews (apply false) or applies the file onto the principal. A refused
  // apply throws UnknownCodesError with the list.
  std::string Import(std::string_view principal, std::string_view file_text, bool apply,
                     bool skip_unknown, bool json);
  // The journal of gestures, newest first: `principal` is "user:LOGIN",
  // "group:CODE", "all" or empty; dates "yyyyMMdd[ HH:mm:ss]"; CSV or a
  // tab-separated table.
  std::string Journal(std::string_view principal, std::optional<int32_t> section,
                      std::string_view login, std::string_view from, std::string_view to, bool csv);

 private:
  db::Connection& connection_;
  std::string login_;
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_PROFILE_COMMANDS_H_
