#ifndef ORV_SESSION_SCRIPT_READER_H_
#define ORV_SESSION_SCRIPT_READER_H_

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace orv::session {

// One command of a session script, with the row lines that follow it.
struct ScriptCommand {
  int line = 0;                                // 1-based line number in the script
  std::string text;                            // the line without its surrounding blanks
  std::vector<std::string> words;              // text split into words
  std::string rest;                            // the text after the first word, as typed (sql)
  std::vector<std::vector<std::string>> rows;  // the words of each "|" line after it
  std::vector<std::string> row_texts;          // those lines as typed
};

// Reads a session script (docs/session-scripts.md) into commands and checks
// each against the language, without running anything: the words of a
// command, their number and form (numbers, 0/1 flags, answers, grids,
// options). What a command's target is (a principal, a row, a control) is
// left to the run.
class ScriptReader {
 public:
  explicit ScriptReader(std::istream& in) : in_(in) {}

  // The next command, or nothing at the end of the script. Comments and
  // empty lines are skipped; "|" lines are gathered into the command before
  // them. Throws ScriptError for a line the language does not allow;
  // error_line() then tells which.
  std::optional<ScriptCommand> Next();
  int error_line() const { return error_line_; }

  // Checks one command (throws ScriptError "expected ...").
  static void Check(const ScriptCommand& command);
  // Splits a line into words; "double quotes" keep blanks, "" inside
  // quotes is one quote. Throws ScriptError on an open quote.
  static std::vector<std::string> Split(const std::string& line);
  // A word as a script writes it: in double quotes when it is empty or
  // holds blanks, quotes or a leading '#' or '|'.
  static std::string Quote(const std::string& word);

  // The answers "answer" takes, and the grids.
  static bool IsAnswer(const std::string& word);
  static bool IsGrid(const std::string& word);

 private:
  // The line with its line feed, carriage return and outer blanks removed;
  // empty for a comment.
  static std::string Clean(const std::string& raw);

  std::istream& in_;
  int number_ = 0;
  std::optional<std::string> pending_;  // a line read ahead
  int pending_number_ = 0;
  int error_line_ = 0;
};

}  // namespace orv::session

#endif  // ORV_SESSION_SCRIPT_READER_H_
