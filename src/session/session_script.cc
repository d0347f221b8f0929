#include "session/session_script.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "db/db_error.h"
#include "session/script_error.h"
#include "session/session_profile_command.h"
#include "zere_orvelka/message_service.h"

namespace orv::session {
namespace {

[[noreturn]] void Expected(const std::string& what) { throw ScriptError("expected " + what); }

int32_t Int32(const std::string& word, const std::string& what) {
  long long v = 0;
  try {
    v = std::stoll(word);
  } catch (...) {
    Expected(what);
  }
  if (v < INT32_MIN || v > INT32_MAX) Expected(what + " (a 32-bit number)");
  return static_cast<int32_t>(v);
}

struct AnswerName {
  const char* name;
  int32_t code;
};
constexpr AnswerName kAnswers[] = {{"yes", host::kVbYes},      {"no", host::kVbNo},
                                   {"ok", host::kVbOK},        {"cancel", host::kVbCancel},
                                   {"abort", host::kVbAbort},  {"retry", host::kVbRetry},
                                   {"ignore", host::kVbIgnore}};

int32_t AnswerCode(const std::string& word) {
  for (const AnswerName& a : kAnswers) {
    if (word == a.name) return a.code;
  }
  Expected("an answer");
}

std::string AnswerText(int32_t code) {
  for (const AnswerName& a : kAnswers) {
    if (code == a.code) return a.name;
  }
  return std::to_string(code);
}

// A printed line of tab-separated cells, back into its cells.
std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  size_t start = 0;
  for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
    cells.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  cells.push_back(line.substr(start));
  return cells;
}

// A row as a script writes it: "| a "two words" """.
std::string RowText(const std::vector<std::string>& cells) {
  std::string text = "|";
  for (const std::string& cell : cells) text += " " + ScriptReader::Quote(cell);
  return text;
}

// A line-by-line difference: "  " same, "- " expected only, "+ " actual only.
std::vector<std::string> Difference(const std::vector<std::string>& expected,
                                    const std::vector<std::string>& actual) {
  const size_t n = expected.size(), m = actual.size();
  std::vector<std::vector<size_t>> common(n + 1, std::vector<size_t>(m + 1, 0));
  for (size_t i = n; i-- > 0;) {
    for (size_t j = m; j-- > 0;) {
      common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1
                                              : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  std::vector<std::string> lines;
  size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && expected[i] == actual[j]) {
      lines.push_back("  " + expected[i++]);
      ++j;
    } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
      lines.push_back("- " + expected[i++]);
    } else {
      lines.push_back("+ " + actual[j++]);
    }
  }
  return lines;
}

// Commands that neither act on the window nor raise anything: expectations
// after them still look at the gesture before.
bool IsGesture(const std::string& command) {
  return command != "expect" && command != "show" && command != "answer" && command != "trace" &&
         command != "sql";
}

}  // namespace

SessionScript::SessionScript(Defaults defaults, std::ostream& out, std::ostream& err)
    : defaults_(std::move(defaults)), out_(out), err_(err) {
  host_.SetOutput([this](std::string_view line) {
    out_ << line << '\t' << (line_ > 0 ? "line " + std::to_string(line_) : std::string("end"))
         << '\n';
  });
  if (!defaults_.connection_string.empty()) host_.UseDatabase(defaults_.connection_string);
}

SessionScript::~SessionScript() {
  // What the module still says while it goes belongs to no command.
  line_ = 0;
}

void SessionScript::SetTrace(std::shared_ptr<db::StatementTrace> trace) {
  trace_ = std::move(trace);
  host_.SetStatementObserver(trace_);
}

std::string SessionScript::ConnectionStringForFile(const std::string& path) {
  std::string escaped;
  for (char c : path) {
    escaped += c;
    if (c == '}') escaped += '}';
  }
  return "Driver=SQLite;Database={" + escaped + "}";
}

void SessionScript::Print(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) out_ << line << '\n';
}

int SessionScript::Run(std::istream& script) {
  ScriptReader reader(script);
  int status = kOk;
  for (;;) {
    std::optional<ScriptCommand> command;
    try {
      command = reader.Next();
    } catch (const ScriptError& e) {
      out_.flush();
      err_ << "line " << reader.error_line() << ": " << e.what() << '\n';
      status = kBadScript;
      break;
    }
    if (!command) break;
    status = RunCommand(*command);
    if (status != kOk) break;
  }
  line_ = 0;
  std::vector<int32_t> left;
  for (const AnswerQueue::Entry& e : host_.answers().entries()) left.push_back(e.answer);
  host_.answers().Clear();
  ReportUnused(left, "end");
  if (passed_ + failed_ > 0) out_ << passed_ << " passed, " << failed_ << " failed\n";
  out_.flush();
  if (status == kOk && failed_ > 0) status = kExpectFailed;
  return status;
}

int SessionScript::RunLine(const std::string& line, int line_number) {
  std::istringstream in(line);
  ScriptReader reader(in);
  std::optional<ScriptCommand> command;
  try {
    command = reader.Next();
  } catch (const ScriptError& e) {
    out_.flush();
    err_ << "line " << line_number << ": " << e.what() << '\n';
    return kBadScript;
  }
  if (!command) return kOk;
  command->line = line_number;
  return RunCommand(*command);
}

int SessionScript::RunCommand(const ScriptCommand& command) {
  line_ = command.line;
  const std::string where = "line " + std::to_string(command.line) + ": ";
  out_ << "> " << command.text << '\n';
  for (const std::string& row : command.row_texts) out_ << "> " << row << '\n';
  const bool gesture = IsGesture(command.words[0]);
  try {
    host_.answers().ResetUnanswered();
    if (gesture) BeginGesture();
    try {
      Execute(command);
    } catch (...) {
      if (gesture) EndGesture();
      throw;
    }
    if (gesture) EndGesture();
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

void SessionScript::BeginGesture() {
  HeadlessGlobal* g = host_.global();
  raised_ = Raised();
  raised_.global = g;
  if (g == nullptr) return;
  raised_.messages = g->messages().messages().size();
  raised_.log = g->change_log().entries().size();
  raised_.errors = g->logged_errors().size();
}

void SessionScript::EndGesture() {
  HeadlessGlobal* g = host_.global();
  if (g != raised_.global) {  // a new module object: all it raised is new
    raised_ = Raised();
    raised_.global = g;
  }
  if (g != nullptr) {
    raised_.messages_end = g->messages().messages().size();
    raised_.log_end = g->change_log().entries().size();
    raised_.errors_end = g->logged_errors().size();
  }
  for (int scope : scopes_) {
    ReportUnused(host_.answers().TakeScope(scope), "line " + std::to_string(line_));
  }
  scopes_.clear();
}

void SessionScript::ReportUnused(const std::vector<int32_t>& answers, const std::string& where) {
  if (answers.empty()) return;
  out_ << "UNUSED ANSWERS";
  for (int32_t a : answers) out_ << ' ' << AnswerText(a);
  out_ << '\t' << where << '\n';
}

void SessionScript::Pass() { ++passed_; }

void SessionScript::Fail(const std::string& what, const std::vector<std::string>& difference) {
  ++failed_;
  out_ << "FAIL line " << line_ << ": " << what << '\n';
  for (const std::string& line : difference) out_ << line << '\n';
}

void SessionScript::CompareRows(const std::string& what,
                                const std::vector<std::vector<std::string>>& expected,
                                const std::vector<std::vector<std::string>>& actual) {
  if (expected == actual) return Pass();
  std::vector<std::string> e, a;
  for (const auto& row : expected) e.push_back(RowText(row));
  for (const auto& row : actual) a.push_back(RowText(row));
  Fail(what, Difference(e, a));
}

void SessionScript::Execute(const ScriptCommand& c) {
  const std::vector<std::string>& words = c.words;
  const std::string& command = words[0];
  const size_t n = words.size();
  if (command == "open") {
    HeadlessOptions options;
    options.connection_string = defaults_.connection_string;
    options.login = defaults_.login;
    options.company = defaults_.company;
    for (size_t i = 1; i < n; ++i) {
      const std::string& option = words[i];
      if (option == "--modal") {
        options.modal = true;
        continue;
      }
      const std::string& value = words[++i];  // the reader saw it there
      if (option == "--db") {
        options.connection_string = ConnectionStringForFile(value);
      } else if (option == "--connection") {
        options.connection_string = value;
      } else if (option == "--user") {
        options.login = value;
      } else if (option == "--company") {
        options.company = Int32(value, "a numeric company");
      } else if (option == "--left") {
        options.left = db::Value(value);
      } else if (option == "--top") {
        options.top = db::Value(value);
      } else if (option == "--caption") {
        options.caption = db::Value(value);
      } else if (option == "--window-state") {
        options.window_state = Int32(value, "a number after --window-state");
      } else if (option == "--program-mode") {
        options.program_mode = Int32(value, "a number after --program-mode");
      } else if (option == "--filtro") {
        options.filtro = db::Value(value);
      }
    }
    if (options.connection_string.empty()) Expected("--db FILE (no database given)");
    host_.Open(options);
  } else if (command == "activate") {
    host_.Activate();
  } else if (command == "showform") {
    host_.ShowAgain();
  } else if (command == "principal" || command == "copyfrom") {
    const bool none = words[1] == "none";
    const int32_t kind =
        words[1] == "group" ? host::PrincipalNode::kGroup : host::PrincipalNode::kUser;
    const int64_t id = none ? 0 : std::stoll(words[2]);
    if (command == "principal") {
      none ? host_.SelectNoPrincipal() : host_.SelectPrincipal(kind, id);
    } else {
      none ? host_.CopyFromNone() : host_.CopyFrom(kind, id);
    }
  } else if (command == "sidebar") {
    host_.ChooseSection(words[1]);
  } else if (command == "click" || command == "select") {
    // A row that is not there is a fact the script learns, not a fault.
    if (host_.ReadGrid(words[1]).Row(words[2]) == nullptr) {
      return Fail(c.text + ": no row " + ScriptReader::Quote(words[2]) + " in " + words[1]);
    }
    if (command == "click") {
      host_.ClickGrid(words[1], words[2], words[3]);
    } else {
      host_.SelectRow(words[1], words[2]);
    }
  } else if (command == "header") {
    host_.HeaderClick(words[1], words[2], words[3] == "1");
  } else if (command == "button") {
    host_.Button(words[1]);
  } else if (command == "check") {
    host_.Check(words[1], db::Value(Int32(words[2], "a numeric value")));
  } else if (command == "tick") {
    host_.Tick(words[1], words[2] == "1");
  } else if (command == "filter") {
    host_.Filter(words[1], words[2], n == 4 ? words[3] : std::string());
  } else if (command == "answer") {
    if (words[1] == "clear") {
      host_.answers().Clear();
      scopes_.clear();
      return;
    }
    const bool next = words[1] == "--next";
    for (size_t i = next ? 2 : 1; i < n; ++i) {
      host_.answers().Push(AnswerCode(words[i]), next ? c.line : 0);
    }
    if (next) scopes_.push_back(c.line);
  } else if (command == "show") {
    const std::string& what = words[1];
    if (what == "CONTROLS") {
      Print(host_.ShowControls());
    } else if (what == "MESSAGES") {
      Print(host_.ShowMessages());
    } else if (what == "LOG") {
      Print(host_.ShowLog());
    } else if (what == "STATE") {
      Print(host_.ShowState());
    } else if (what == "JOURNAL") {
      Print(host_.ShowJournal());
    } else if (what == "ANSWERS") {
      out_ << "ANSWER\tFOR\n";
      for (const AnswerQueue::Entry& e : host_.answers().entries()) {
        out_ << AnswerText(e.answer) << '\t'
             << (e.scope == 0 ? std::string("any") : "line " + std::to_string(e.scope)) << '\n';
      }
    } else {
      Print(host_.ShowGrid(what, n == 3));
    }
  } else if (command == "expect") {
    Expect(c);
  } else if (command == "profile") {
    Print(SessionProfileCommand::Run(host_, words));
  } else if (command == "sql") {
    Print(host_.Sql(c.rest));
  } else if (command == "permessiditta") {
    Print(host_.ShowPermessiDitta());
  } else if (command == "trace") {
    if (n == 3) {
      auto file = std::make_unique<std::ofstream>(words[2]);
      if (!*file) throw std::runtime_error("cannot write " + words[2]);
      SetTrace(std::make_shared<db::StatementTrace>(file.get(), nullptr));
      trace_file_ = std::move(file);
    } else {
      if (!trace_) Expected("trace on FILE (no trace yet)");
      trace_->set_enabled(words[1] == "on");
    }
  } else if (command == "changeditta") {
    const bool refused = host_.RaiseChangeDitta();
    out_ << "CHANGEDITTA " << (refused ? "refused" : "allowed") << '\n';
  } else if (command == "refuseclose") {
    host_.navigator()->script_model().refuse_close = words[1] == "1";
  } else if (command == "close") {
    const bool closed = host_.Close();
    out_ << "CLOSE " << (closed ? "true" : "false") << '\n';
  } else if (command == "release") {
    host_.Release();
  } else if (command == "undo") {
    host_.Undo();
  } else if (command == "redo") {
    host_.Redo();
  } else if (command == "revert") {
    host_.Revert(Int32(words[1], "a journal entry number"));
  }
}

void SessionScript::Expect(const ScriptCommand& c) {
  const std::vector<std::string>& w = c.words;
  const std::string& what = w[1];
  if (what == "sql") {
    const std::string statement = c.rest.substr(c.rest.find_first_of(" \t") + 1);
    const std::vector<std::string> lines =
        host_.Sql(statement.substr(std::min(statement.size(), statement.find_first_not_of(" \t"))));
    std::vector<std::vector<std::string>> actual;
    const bool rows = !(lines.size() == 1 && lines[0].rfind("OK ", 0) == 0);
    for (size_t i = 1; rows && i < lines.size(); ++i) actual.push_back(Cells(lines[i]));
    return CompareRows(c.text, c.rows, actual);
  }
  if (what == "grid") return CompareRows(c.text, c.rows, host_.ReadGrid(w[2]).rows);
  if (what == "cell" || what == "row" || what == "norow") {
    const GridTable table = host_.ReadGrid(w[2], true);
    const std::vector<std::string>* row = table.Row(w[3]);
    if (what == "row") return row ? Pass() : Fail(c.text, {"- " + RowText({w[3]}), "+ (no row)"});
    if (what == "norow") return row ? Fail(c.text, {"- (no row)", "+ " + RowText(*row)}) : Pass();
    if (row == nullptr) return Fail(c.text, {"- " + ScriptReader::Quote(w[5]), "+ (no row)"});
    const auto column = std::find(table.header.begin(), table.header.end(), w[4]);
    if (column == table.header.end()) {
      return Fail(c.text, {"- " + ScriptReader::Quote(w[5]), "+ (no column " + w[4] + ")"});
    }
    const std::string& cell = (*row)[column - table.header.begin()];
    if (cell == w[5]) return Pass();
    return Fail(c.text, {"- " + ScriptReader::Quote(w[5]), "+ " + ScriptReader::Quote(cell)});
  }
  if (what == "msg" || what == "log" || what == "err") {
    std::vector<std::string> raised;
    if (HeadlessGlobal* g = host_.global(); g != nullptr && g == raised_.global) {
      if (what == "msg") {
        const auto& all = g->messages().messages();
        for (size_t i = raised_.messages; i < raised_.messages_end; ++i) {
          raised.push_back(OneLine(all[i].prompt));
        }
      } else if (what == "log") {
        const auto& all = g->change_log().entries();
        for (size_t i = raised_.log; i < raised_.log_end; ++i)
          raised.push_back(OneLine(all[i].text));
      } else {
        const auto& all = g->logged_errors();
        for (size_t i = raised_.errors; i < raised_.errors_end; ++i) {
          raised.push_back(std::to_string(all[i].error.number));
        }
      }
    }
    std::vector<std::string> actual;
    for (const std::string& text : raised) actual.push_back("+ " + ScriptReader::Quote(text));
    if (w[2] == "none") {
      if (raised.empty()) return Pass();
      actual.insert(actual.begin(), "- (none)");
      return Fail(c.text, actual);
    }
    if (std::find(raised.begin(), raised.end(), w[2]) != raised.end()) return Pass();
    if (actual.empty()) actual.push_back("+ (none)");
    actual.insert(actual.begin(), "- " + ScriptReader::Quote(w[2]));
    return Fail(c.text, actual);
  }
  if (what == "state") {
    const std::vector<std::string> lines = host_.ShowState();
    const std::vector<std::string> header = Cells(lines[0]);
    const auto column = std::find(header.begin(), header.end(), w[2]);
    if (column == header.end()) {
      std::string names;
      for (const std::string& name : header) names += (names.empty() ? "" : ", ") + name;
      Expected("a column of show STATE (" + names + ")");
    }
    if (lines.size() < 2) return Fail(c.text, {"- " + ScriptReader::Quote(w[3]), "+ (no window)"});
    const std::string value = Cells(lines[1])[column - header.begin()];
    if (value == w[3]) return Pass();
    return Fail(c.text, {"- " + ScriptReader::Quote(w[3]), "+ " + ScriptReader::Quote(value)});
  }
}

}  // namespace orv::session
