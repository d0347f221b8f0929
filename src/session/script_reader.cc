#include "session/script_reader.h"

#include <cstdint>

#include "session/script_error.h"

namespace orv::session {
namespace {

[[noreturn]] void Expected(const std::string& what) { throw ScriptError("expected " + what); }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsInteger(const std::string& word) {
  size_t i = word.size() > 1 && (word[0] == '-' || word[0] == '+') ? 1 : 0;
  if (i >= word.size() || word.size() - i > 18) return false;
  for (; i < word.size(); ++i) {
    if (word[i] < '0' || word[i] > '9') return false;
  }
  return true;
}

void Integer(const std::string& word, const std::string& what) {
  if (!IsInteger(word)) Expected(what);
}

void Flag(const std::string& word, const std::string& what) {
  if (word != "0" && word != "1") Expected(what + " 0 or 1");
}

void Count(const ScriptCommand& c, size_t n, const std::string& form) {
  if (c.words.size() != n) Expected(form);
}

// "user ID" | "group ID" | "none"
void Principal(const ScriptCommand& c, const std::string& command) {
  const auto& w = c.words;
  if (w.size() == 2 && w[1] == "none") return;
  if (w.size() != 3 || (w[1] != "user" && w[1] != "group")) {
    Expected(command + " user ID | group ID | none");
  }
  Integer(w[2], "a numeric identifier");
}

void Grid(const std::string& word) {
  if (!ScriptReader::IsGrid(word)) Expected("a grid (GRIDTIPOLOGIE, TGRID_CLIFOR, GRID_DEPOSITO)");
}

constexpr const char* kOpenForm =
    "open [--db FILE] [--connection STRING] [--user LOGIN] [--company N] [--modal] "
    "[--window-state N] [--program-mode N] [--left V] [--top V] [--filtro V] [--caption TEXT]";
constexpr const char* kShowForm =
    "show GRIDTIPOLOGIE|TGRID_CLIFOR|GRID_DEPOSITO [--hidden] | CONTROLS | MESSAGES | LOG | "
    "STATE | ANSWERS | JOURNAL";
constexpr const char* kExpectForm =
    "expect sql STATEMENT | grid GRID | cell GRID ROW COLUMN VALUE | row GRID ROW | norow GRID "
    "ROW | msg TEXT|none | log TEXT|none | err NUMBER|none | state NAME VALUE";
constexpr const char* kCommands =
    "a command (open, principal, copyfrom, sidebar, click, select, header, button, check, tick, "
    "filter, answer, show, expect, profile, sql, trace, permessiditta, activate, showform, "
    "changeditta, "
    "refuseclose, close, release, undo, redo, revert)";

void CheckOpen(const ScriptCommand& c) {
  const auto& w = c.words;
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& option = w[i];
    if (option == "--modal") continue;
    const bool takes_value = option == "--db" || option == "--connection" || option == "--user" ||
                             option == "--company" || option == "--left" || option == "--top" ||
                             option == "--caption" || option == "--window-state" ||
                             option == "--program-mode" || option == "--filtro";
    if (!takes_value) Expected(kOpenForm);
    if (i + 1 >= w.size()) Expected("a value after " + option);
    const std::string& value = w[++i];
    if (option == "--company") Integer(value, "a numeric company");
    if (option == "--window-state" || option == "--program-mode") {
      Integer(value, "a number after " + option);
    }
  }
}

void CheckAnswer(const ScriptCommand& c) {
  const auto& w = c.words;
  if (w.size() == 2 && w[1] == "clear") return;
  size_t first = w.size() > 1 && w[1] == "--next" ? 2 : 1;
  if (first >= w.size())
    Expected("answer [--next] yes|no|ok|cancel|abort|retry|ignore ... | clear");
  for (size_t i = first; i < w.size(); ++i) {
    if (!ScriptReader::IsAnswer(w[i])) {
      Expected("answer [--next] yes|no|ok|cancel|abort|retry|ignore ... | clear");
    }
  }
}

void CheckShow(const ScriptCommand& c) {
  const auto& w = c.words;
  if (w.size() == 3 && ScriptReader::IsGrid(w[1]) && w[2] == "--hidden") return;
  if (w.size() != 2) Expected(kShowForm);
  if (ScriptReader::IsGrid(w[1])) return;
  if (w[1] != "CONTROLS" && w[1] != "MESSAGES" && w[1] != "LOG" && w[1] != "STATE" &&
      w[1] != "ANSWERS" && w[1] != "JOURNAL") {
    Expected(kShowForm);
  }
}

void CheckExpect(const ScriptCommand& c) {
  const auto& w = c.words;
  if (w.size() < 2) Expected(kExpectForm);
  const std::string& what = w[1];
  if (what == "sql") {
    if (w.size() < 3) Expected("expect sql STATEMENT");
  } else if (what == "grid") {
    Count(c, 3, "expect grid GRID");
    Grid(w[2]);
  } else if (what == "cell") {
    Count(c, 6, "expect cell GRID ROW COLUMN VALUE");
    Grid(w[2]);
  } else if (what == "row" || what == "norow") {
    Count(c, 4, "expect " + what + " GRID ROW");
    Grid(w[2]);
  } else if (what == "msg" || what == "log") {
    Count(c, 3, "expect " + what + " TEXT|none");
  } else if (what == "err") {
    Count(c, 3, "expect err NUMBER|none");
    if (w[2] != "none") Integer(w[2], "expect err NUMBER|none");
  } else if (what == "state") {
    Count(c, 4, "expect state NAME VALUE");
  } else {
    Expected(kExpectForm);
  }
  if (!c.rows.empty() && what != "sql" && what != "grid") {
    Expected("no | lines after expect " + what);
  }
}

}  // namespace

bool ScriptReader::IsAnswer(const std::string& word) {
  return word == "yes" || word == "no" || word == "ok" || word == "cancel" || word == "abort" ||
         word == "retry" || word == "ignore";
}

bool ScriptReader::IsGrid(const std::string& word) {
  return word == "GRIDTIPOLOGIE" || word == "TGRID_CLIFOR" || word == "GRID_DEPOSITO";
}

std::vector<std::string> ScriptReader::Split(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
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
      if (!closed) Expected("a closing double quote");
    } else {
      while (i < line.size() && !IsBlank(line[i])) word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string ScriptReader::Quote(const std::string& word) {
  bool plain = !word.empty() && word[0] != '#' && word[0] != '|';
  for (char c : word) {
    if (IsBlank(c) || c == '"') plain = false;
  }
  if (plain) return word;
  std::string quoted = "\"";
  for (char c : word) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

std::string ScriptReader::Clean(const std::string& raw) {
  size_t end = raw.size();
  while (end > 0 && (raw[end - 1] == '\n' || IsBlank(raw[end - 1]))) --end;
  size_t begin = 0;
  while (begin < end && IsBlank(raw[begin])) ++begin;
  if (begin == end || raw[begin] == '#') return std::string();
  return raw.substr(begin, end - begin);
}

std::optional<ScriptCommand> ScriptReader::Next() {
  auto read = [this](std::string& text, int& number) {
    if (pending_) {
      text = std::move(*pending_);
      number = pending_number_;
      pending_.reset();
      return true;
    }
    std::string raw;
    while (std::getline(in_, raw)) {
      ++number_;
      text = Clean(raw);
      number = number_;
      if (!text.empty()) return true;
    }
    return false;
  };
  ScriptCommand command;
  if (!read(command.text, command.line)) return std::nullopt;
  error_line_ = command.line;
  if (command.text[0] == '|') Expected("a command before the | line");
  command.words = Split(command.text);
  size_t space = 0;
  while (space < command.text.size() && !IsBlank(command.text[space])) ++space;
  while (space < command.text.size() && IsBlank(command.text[space])) ++space;
  command.rest = command.text.substr(space);
  std::string text;
  int number = 0;
  while (read(text, number)) {
    if (text[0] != '|') {
      pending_ = std::move(text);
      pending_number_ = number;
      break;
    }
    error_line_ = number;
    command.rows.push_back(Split(text.substr(1)));
    command.row_texts.push_back(text);
  }
  error_line_ = command.line;
  Check(command);
  return command;
}

void ScriptReader::Check(const ScriptCommand& c) {
  const auto& w = c.words;
  if (w.empty()) Expected(kCommands);
  const std::string& command = w[0];
  if (command != "expect" && !c.rows.empty()) Expected("no | lines after " + command);
  if (command == "open") {
    CheckOpen(c);
  } else if (command == "activate" || command == "showform" || command == "changeditta" ||
             command == "close" || command == "release" || command == "permessiditta" ||
             command == "undo" || command == "redo") {
    Count(c, 1, command);
  } else if (command == "principal" || command == "copyfrom") {
    Principal(c, command);
  } else if (command == "sidebar") {
    Count(c, 2, "sidebar KEY");
  } else if (command == "click") {
    Count(c, 4, "click GRID ROW COLUMN");
    Grid(w[1]);
  } else if (command == "select") {
    Count(c, 3, "select GRID ROW");
    Grid(w[1]);
  } else if (command == "header") {
    Count(c, 4, "header GRID COLUMN 0|1");
    if (w[1] != "GRIDTIPOLOGIE" && w[1] != "GRID_DEPOSITO") {
      Expected("a grid with header boxes (GRIDTIPOLOGIE, GRID_DEPOSITO)");
    }
    Flag(w[3], "a header state");
  } else if (command == "button") {
    Count(c, 2, "button NAME");
  } else if (command == "check") {
    Count(c, 3, "check NAME VALUE");
    Integer(w[2], "a numeric value");
  } else if (command == "tick") {
    Count(c, 3, "tick NAME 0|1");
    Flag(w[2], "a box state");
  } else if (command == "filter") {
    if (w.size() != 3 && w.size() != 4) Expected("filter FIELD FROM [TO]");
  } else if (command == "answer") {
    CheckAnswer(c);
  } else if (command == "show") {
    CheckShow(c);
  } else if (command == "expect") {
    CheckExpect(c);
  } else if (command == "sql") {
    if (w.size() < 2) Expected("sql STATEMENT");
  } else if (command == "profile") {
    // The profile command checks its own words when it runs.
    if (w.size() < 2) Expected("profile show|effective|diff|where-used|export|import ...");
  } else if (command == "trace") {
    const bool on = w.size() >= 2 && w[1] == "on";
    if (!((on && w.size() <= 3) || (w.size() == 2 && w[1] == "off"))) {
      Expected("trace on [FILE] | trace off");
    }
  } else if (command == "revert") {
    Count(c, 2, "revert ENTRY");
    Integer(w[1], "a journal entry number");
  } else if (command == "refuseclose") {
    Count(c, 2, "refuseclose 0|1");
    Flag(w[1], "refuseclose");
  } else {
    Expected(kCommands);
  }
}

}  // namespace orv::session
