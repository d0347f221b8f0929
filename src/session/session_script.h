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
#include "session/script_reader.h"

namespace orv::session {

// Replays a session script (docs/session-scripts.md) on a headless host and
// writes what a user would see: "> command" for each command, then a line
// per message box ("MSG buttons\ttitle\tprompt"), per change-log entry
// ("LOG event\ttext"), per error handed to the log class ("ERR routine\t
// number\tdescription"), each ending in "\tline N" (the command that raised
// it), and the rows a show or sql command prints. Expectations that fail
// print "FAIL line N: ..." with the difference; the run ends with
// "N passed, M failed" when the script checked anything.
class SessionScript {
 public:
  // Exit statuses of Run.
  static constexpr int kOk = 0;
  static constexpr int kFailed = 1;        // the database or the editor failed
  static constexpr int kBadScript = 2;     // a line the language does not allow
  static constexpr int kUnanswered = 3;    // a message box found no queued answer
  static constexpr int kExpectFailed = 4;  // the script ran, an expectation failed

  struct Defaults {
    std::string connection_string;  // used by "open" without --db, and by "sql" before it
    std::string login = "admin";
    std::optional<int32_t> company;
  };

  SessionScript(Defaults defaults, std::ostream& out, std::ostream& err);
  ~SessionScript();

  // Runs every command; stops at the first failing one (its message, with
  // the line number, goes to `err`); a failed expectation does not stop the
  // run. Returns one of the statuses above.
  int Run(std::istream& script);
  // Runs one line as the command of line `line_number` (no "|" rows, no
  // final report); same statuses.
  int RunLine(const std::string& line, int line_number);

  HeadlessHost& host() { return host_; }
  int passed() const { return passed_; }
  int failed() const { return failed_; }

  // Traces every statement of the session from now on ("trace on|off"
  // pause and resume it).
  void SetTrace(std::shared_ptr<db::StatementTrace> trace);

  // "Driver=SQLite;Database={path}".
  static std::string ConnectionStringForFile(const std::string& path);
  static std::vector<std::string> Split(const std::string& line) {
    return ScriptReader::Split(line);
  }

 private:
  // What the last gesture raised: indices into the host's records.
  struct Raised {
    const void* global = nullptr;
    size_t messages = 0, log = 0, errors = 0;  // counts before the gesture
    size_t messages_end = 0, log_end = 0, errors_end = 0;
  };

  int RunCommand(const ScriptCommand& command);
  void Execute(const ScriptCommand& command);
  void Expect(const ScriptCommand& command);
  void Print(const std::vector<std::string>& lines);
  // Counts an expectation; a failure prints "FAIL line N: what" and the
  // difference.
  void Pass();
  void Fail(const std::string& what, const std::vector<std::string>& difference = {});
  // The expected rows against the actual ones, as script lines; passes
  // when they are equal.
  void CompareRows(const std::string& what, const std::vector<std::vector<std::string>>& expected,
                   const std::vector<std::vector<std::string>>& actual);
  void BeginGesture();
  void EndGesture();
  // Reports queued answers that nobody used ("UNUSED ANSWERS ...").
  void ReportUnused(const std::vector<int32_t>& answers, const std::string& where);

  Defaults defaults_;
  std::ostream& out_;
  std::ostream& err_;
  HeadlessHost host_;
  std::shared_ptr<db::StatementTrace> trace_;
  std::unique_ptr<std::ofstream> trace_file_;  // of "trace on FILE"
  int line_ = 0;                               // the command running; 0 after the script
  int passed_ = 0;
  int failed_ = 0;
  Raised raised_;
  std::vector<int> scopes_;  // lines of "answer --next" waiting for their command
};

}  // namespace orv::session

#endif  // ORV_SESSION_SESSION_SCRIPT_H_
