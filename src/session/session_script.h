#ifndef ORV_SESSION_SESSION_SCRIPT_H_
#define ORV_SESSION_SESSION_SCRIPT_H_

#include <cstdint>
#include <fstream>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "db/statement_trace.h"
#include "session/headless_host.h"

namespace orv::session {

// Replays a session script (docs/session-scripts.md) on a headless host and
// writes what a user would see: "> command" for each command, then a line
// per message box ("MSG buttons\ttitle\tprompt"), per change-log entry
// ("LOG event\ttext"), per error handed to the log class ("ERR routine\t
// number\tdescription"), and the rows a show or sql command prints.
class SessionScript {
 public:
  // Exit statuses of Run.
  static constexpr int kOk = 0;
  static constexpr int kFailed = 1;      // the database or the editor failed
  static constexpr int kBadScript = 2;   // a line the language does not allow
  static constexpr int kUnanswered = 3;  // a message box found no queued answer

  struct Defaults {
    std::string connection_string;  // used by "open" without --db
    std::string login = "admin";
    std::optional<int32_t> company;
  };

  SessionScript(Defaults defaults, std::ostream& out, std::ostream& err);

  // Runs every line; stops at the first failing one (its message, with the
  // line number, goes to `err`). Returns one of the statuses above.
  int Run(std::istream& script);
  // Runs one line (for tests); same statuses.
  int RunLine(const std::string& line, int line_number);

  HeadlessHost& host() { return host_; }

  // Traces every statement of the session from now on ("trace on|off"
  // pause and resume it).
  void SetTrace(std::shared_ptr<db::StatementTrace> trace);

  // "Driver=SQLite;Database={path}".
  static std::string ConnectionStringForFile(const std::string& path);
  // Splits a line into words; "double quotes" keep blanks, "" inside
  // quotes is one quote. Throws std::invalid_argument on an open quote.
  static std::vector<std::string> Split(const std::string& line);

 private:
  void Execute(const std::vector<std::string>& words, const std::string& rest);
  void Print(const std::vector<std::string>& lines);

  Defaults defaults_;
  std::ostream& out_;
  std::ostream& err_;
  HeadlessHost host_;
  std::shared_ptr<db::StatementTrace> trace_;
  std::unique_ptr<std::ofstream> trace_file_;  // of "trace on FILE"
};

}  // namespace orv::session

#endif  // ORV_SESSION_SESSION_SCRIPT_H_
