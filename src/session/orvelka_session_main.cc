// orvelka-session: replays an editor session script on a headless host.
//
//   orvelka-session [--db FILE | --connection STRING] [--user LOGIN]
//                   [--company N] [--trace-sql FILE] [--trace-distinct FILE]
//                   SCRIPT|-
//
// The options are the defaults of the script's "open" command. Exit status:
// 0 done, 1 the database or the editor failed, 2 a bad script line or bad
// arguments, 3 a message box found no queued answer.

#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "session/session_script.h"

namespace {

int Usage() {
  std::cerr << "usage: orvelka-session [--db FILE | --connection STRING] [--user LOGIN] "
               "[--company N] [--trace-sql FILE] [--trace-distinct FILE] SCRIPT|-\n";
  return orv::session::SessionScript::kBadScript;
}

}  // namespace

int main(int argc, char** argv) {
  orv::session::SessionScript::Defaults defaults;
  std::string script_path;
  std::string trace_path;
  std::string distinct_path;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
    if (arg == "--db") {
      const std::string path = value();
      if (path.empty()) return Usage();
      defaults.connection_string = orv::session::SessionScript::ConnectionStringForFile(path);
    } else if (arg == "--connection") {
      defaults.connection_string = value();
      if (defaults.connection_string.empty()) return Usage();
    } else if (arg == "--user") {
      defaults.login = value();
      if (defaults.login.empty()) return Usage();
    } else if (arg == "--company") {
      const std::string company = value();
      try {
        size_t used = 0;
        defaults.company = std::stoi(company, &used);
        if (used != company.size()) return Usage();
      } catch (...) {
        return Usage();
      }
    } else if (arg == "--trace-sql") {
      trace_path = value();
      if (trace_path.empty()) return Usage();
    } else if (arg == "--trace-distinct") {
      distinct_path = value();
      if (distinct_path.empty()) return Usage();
    } else if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    } else if (script_path.empty() && (arg == "-" || arg[0] != '-')) {
      script_path = arg;
    } else {
      return Usage();
    }
  }
  if (script_path.empty()) return Usage();

  // The trace files outlive the session, whose connections report to them.
  std::ofstream trace_file;
  std::ofstream distinct_file;
  for (auto [path, file] :
       {std::pair{&trace_path, &trace_file}, {&distinct_path, &distinct_file}}) {
    if (path->empty()) continue;
    file->open(*path);
    if (!*file) {
      std::cerr << "orvelka-session: cannot write " << *path << "\n";
      return orv::session::SessionScript::kBadScript;
    }
  }
  int status;
  {
    orv::session::SessionScript session(defaults, std::cout, std::cerr);
    if (!trace_path.empty() || !distinct_path.empty()) {
      session.SetTrace(std::make_shared<orv::db::StatementTrace>(
          trace_path.empty() ? nullptr : &trace_file,
          distinct_path.empty() ? nullptr : &distinct_file));
    }
    if (script_path == "-") {
      status = session.Run(std::cin);
    } else {
      std::ifstream in(script_path);
      if (!in) {
        std::cerr << "orvelka-session: cannot read " << script_path << "\n";
        return orv::session::SessionScript::kBadScript;
      }
      status = session.Run(in);
    }
  }
  std::cout.flush();
  return status;
}
