#include "session/session_script.h"

#include <stdexcept>

#include "db/db_error.h"
#include "session/session_profile_command.h"
#include "zere_orvelka/message_service.h"

namespace orv::session {
namespace {

// A line the language does not allow.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Expected(const std::string& what) { throw ScriptError("expected " + what); }

int64_t Integer(const std::string& word, const std::string& what) {
  try {
    size_t used = 0;
    const long long v = std::stoll(word, &used);
    if (used != word.size()) Expected(what);
    return v;
  } catch (const ScriptError&) {
    throw;
  } catch (...) {
    Expected(what);
  }
}

bool Flag(const std::string& word, const std::string& what) {
  if (word == "0") return false;
  if (word == "1") return true;
  Expected(what + " 0 or 1");
}

// "user ID" | "group ID" -> (kind, id)
std::pair<int32_t, int64_t> PrincipalWords(const std::vector<std::string>& words, size_t at,
                                           const std::string& command) {
  if (words.size() != at + 2 || (words[at] != "user" && words[at] != "group")) {
    Expected(command + " user ID | group ID");
  }
  const int32_t kind =
      words[at] == "group" ? store::PrincipalNode::kGroup : store::PrincipalNode::kUser;
  return {kind, Integer(words[at + 1], "a numeric identifier")};
}

}  // namespace

SessionScript::SessionScript(Defaults defaults, std::ostream& out, std::ostream& err)
    : defaults_(std::move(defaults)), out_(out), err_(err) {
  host_.SetOutput([this](std::string_view line) { out_ << line << '\n'; });
}

std::string SessionScript::ConnectionStringForFile(const std::string& path) {
  std::string escaped;
  for (char c : path) {
    escaped += c;
    if (c == '}') escaped += '}';
  }
  return "Driver=SQLite;Database={" + escaped + "}";
}

std::vector<std::string> SessionScript::Split(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    std::string word;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            word += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        word += line[i++];
      }
      if (!closed) throw std::invalid_argument("a closing double quote");
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        word += line[i++];
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

void SessionScript::Print(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) out_ << line << '\n';
}

int SessionScript::Run(std::istream& script) {
  std::string line;
  int number = 0;
  while (std::getline(script, line)) {
    ++number;
    const int status = RunLine(line, number);
    if (status != kOk) return status;
  }
  return kOk;
}

int SessionScript::RunLine(const std::string& raw, int line_number) {
  std::string line = raw;
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.pop_back();
  }
  const size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line[first] == '#') return kOk;
  line = line.substr(first);
  const std::string where = "line " + std::to_string(line_number) + ": ";
  try {
    std::vector<std::string> words;
    try {
      words = Split(line);
    } catch (const std::invalid_argument& e) {
      throw ScriptError(std::string("expected ") + e.what());
    }
    // The statement of "sql" is the rest of the line, as typed.
    const size_t space = line.find_first_of(" \t");
    const std::string rest = space == std::string::npos
                                 ? std::string()
                                 : line.substr(line.find_first_not_of(" \t", space));
    out_ << "> " << line << '\n';
    host_.answers().ResetUnanswered();
    Execute(words, rest);
    if (host_.answers().unanswered()) {
      out_.flush();
      err_ << where << "no answer queued for the message box \""
           << OneLine(*host_.answers().unanswered()) << "\"\n";
      return kUnanswered;
    }
    return kOk;
  } catch (const ScriptError& e) {
    out_.flush();
    err_ << where << e.what() << '\n';
    return kBadScript;
  } catch (const std::invalid_argument& e) {
    out_.flush();
    err_ << where << e.what() << '\n';
    return kBadScript;
  } catch (const db::DbError& e) {
    out_.flush();
    err_ << where << "database error " << e.number() << ": " << e.description() << '\n';
    return kFailed;
  } catch (const std::exception& e) {
    out_.flush();
    err_ << where << e.what() << '\n';
    return kFailed;
  }
}

void SessionScript::Execute(const std::vector<std::string>& words, const std::string& rest) {
  const std::string& command = words[0];
  const size_t n = words.size();
  if (command == "open") {
    HeadlessOptions options;
    options.connection_string = defaults_.connection_string;
    options.login = defaults_.login;
    options.company = defaults_.company;
    for (size_t i = 1; i < n; ++i) {
      const std::string& option = words[i];
      auto value = [&](const char* what) -> const std::string& {
        if (i + 1 >= n) Expected(std::string(what) + " after " + option);
        return words[++i];
      };
      if (option == "--db") {
        options.connection_string = ConnectionStringForFile(value("a file"));
      } else if (option == "--connection") {
        options.connection_string = value("a connection string");
      } else if (option == "--user") {
        options.login = value("a login");
      } else if (option == "--company") {
        options.company = static_cast<int32_t>(Integer(value("a company"), "a numeric company"));
      } else if (option == "--modal") {
        options.modal = true;
      } else if (option == "--left") {
        options.left = db::Value(value("a value"));
      } else if (option == "--top") {
        options.top = db::Value(value("a value"));
      } else if (option == "--caption") {
        options.caption = db::Value(value("a caption"));
      } else {
        Expected(
            "open [--db FILE] [--user LOGIN] [--company N] [--modal] [--left V] [--top V] "
            "[--caption TEXT]");
      }
    }
    if (options.connection_string.empty()) Expected("--db FILE (no database given)");
    host_.Open(options);
  } else if (command == "activate") {
    if (n != 1) Expected("activate");
    host_.Activate();
  } else if (command == "showform") {
    if (n != 1) Expected("showform");
    host_.ShowAgain();
  } else if (command == "principal") {
    if (n == 2 && words[1] == "none") {
      host_.SelectNoPrincipal();
    } else {
      auto [kind, id] = PrincipalWords(words, 1, "principal");
      host_.SelectPrincipal(kind, id);
    }
  } else if (command == "copyfrom") {
    auto [kind, id] = PrincipalWords(words, 1, "copyfrom");
    host_.CopyFrom(kind, id);
  } else if (command == "sidebar") {
    if (n != 2) Expected("sidebar KEY");
    host_.ChooseSection(words[1]);
  } else if (command == "click") {
    if (n != 4) Expected("click GRID ROW COLUMN");
    host_.ClickGrid(words[1], words[2], words[3]);
  } else if (command == "header") {
    if (n != 4) Expected("header GRID COLUMN 0|1");
    host_.HeaderClick(words[1], words[2], Flag(words[3], "a header state"));
  } else if (command == "button") {
    if (n != 2) Expected("button NAME");
    host_.Button(words[1]);
  } else if (command == "check") {
    if (n != 3) Expected("check NAME VALUE");
    host_.Check(words[1], db::Value(static_cast<int>(Integer(words[2], "a numeric value"))));
  } else if (command == "tick") {
    if (n != 3) Expected("tick NAME 0|1");
    host_.Tick(words[1], Flag(words[2], "a box state"));
  } else if (command == "filter") {
    if (n != 3 && n != 4) Expected("filter FIELD FROM [TO]");
    host_.Filter(words[1], words[2], n == 4 ? words[3] : std::string());
  } else if (command == "answer") {
    if (n < 2) Expected("answer yes|no|ok|cancel|abort|retry|ignore");
    for (size_t i = 1; i < n; ++i) {
      const std::string& a = words[i];
      int32_t code;
      if (a == "yes") {
        code = host::kVbYes;
      } else if (a == "no") {
        code = host::kVbNo;
      } else if (a == "ok") {
        code = host::kVbOK;
      } else if (a == "cancel") {
        code = host::kVbCancel;
      } else if (a == "abort") {
        code = host::kVbAbort;
      } else if (a == "retry") {
        code = host::kVbRetry;
      } else if (a == "ignore") {
        code = host::kVbIgnore;
      } else {
        Expected("answer yes|no|ok|cancel|abort|retry|ignore");
      }
      host_.answers().Push(code);
    }
  } else if (command == "show") {
    if (n != 2) Expected("show GRID | CONTROLS | MESSAGES | LOG | STATE");
    const std::string& what = words[1];
    if (what == "CONTROLS") {
      Print(host_.ShowControls());
    } else if (what == "MESSAGES") {
      Print(host_.ShowMessages());
    } else if (what == "LOG") {
      Print(host_.ShowLog());
    } else if (what == "STATE") {
      Print(host_.ShowState());
    } else if (what == "GRIDTIPOLOGIE" || what == "TGRID_CLIFOR" || what == "GRID_DEPOSITO") {
      Print(host_.ShowGrid(what));
    } else {
      Expected(
          "show GRIDTIPOLOGIE | TGRID_CLIFOR | GRID_DEPOSITO | CONTROLS | MESSAGES | LOG | "
          "STATE");
    }
  } else if (command == "profile") {
    Print(SessionProfileCommand::Run(host_, words));
  } else if (command == "sql") {
    if (rest.empty()) Expected("sql STATEMENT");
    Print(host_.Sql(rest));
  } else if (command == "changeditta") {
    if (n != 1) Expected("changeditta");
    const bool refused = host_.RaiseChangeDitta();
    out_ << "CHANGEDITTA " << (refused ? "refused" : "allowed") << '\n';
  } else if (command == "refuseclose") {
    if (n != 2) Expected("refuseclose 0|1");
    host_.navigator()->script_model().refuse_close = Flag(words[1], "refuseclose");
  } else if (command == "close") {
    if (n != 1) Expected("close");
    const bool closed = host_.Close();
    out_ << "CLOSE " << (closed ? "true" : "false") << '\n';
  } else if (command == "release") {
    if (n != 1) Expected("release");
    host_.Release();
  } else {
    Expected(
        "a command (open, principal, sidebar, click, header, button, check, tick, filter, "
        "copyfrom, answer, show, profile, sql, activate, showform, changeditta, refuseclose, close, "
        "release)");
  }
}

}  // namespace orv::session
