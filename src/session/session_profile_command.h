#ifndef ORV_SESSION_SESSION_PROFILE_COMMAND_H_
#define ORV_SESSION_SESSION_PROFILE_COMMAND_H_

#include <string>
#include <vector>

namespace orv::session {

class HeadlessHost;

// The script command "profile": the profile commands of orvelka-profile on
// the session's database, as the session's login (which must be an active
// administrator). Needs an open session.
//
//   profile show PRINCIPAL [--json]
//   profile effective USER [--json]
//   profile diff A B [--json]
//   profile where-used ITEM [--json]
//   profile export PRINCIPAL FILE
//   profile import PRINCIPAL FILE --preview|--apply [--skip-unknown] [--json]
class SessionProfileCommand {
 public:
  // `words` is the whole line, "profile" first. Returns the lines to print;
  // throws std::invalid_argument for a line the command does not allow.
  static std::vector<std::string> Run(HeadlessHost& host, const std::vector<std::string>& words);
};

}  // namespace orv::session

#endif  // ORV_SESSION_SESSION_PROFILE_COMMAND_H_
