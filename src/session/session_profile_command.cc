#include "session/session_profile_command.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "profile/profile_commands.h"
#include "session/headless_global.h"
#include "session/headless_host.h"

namespace orv::session {
namespace {

constexpr const char* kUsage =
    "profile show PRINCIPAL | effective USER | diff A B | where-used ITEM | export PRINCIPAL "
    "FILE | import PRINCIPAL FILE --preview|--apply [--skip-unknown], each with [--json]";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

}  // namespace

std::vector<std::string> SessionProfileCommand::Run(HeadlessHost& host,
                                                    const std::vector<std::string>& words) {
  std::vector<std::string> args;
  bool json = false;
  bool preview = false;
  bool apply = false;
  bool skip_unknown = false;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "--json") {
      json = true;
    } else if (w == "--preview") {
      preview = true;
    } else if (w == "--apply") {
      apply = true;
    } else if (w == "--skip-unknown") {
      skip_unknown = true;
    } else {
      args.push_back(w);
    }
  }
  auto need = [&](size_t count) {
    if (args.size() != count + 1) throw std::invalid_argument(std::string("expected ") + kUsage);
  };
  if (args.empty()) throw std::invalid_argument(std::string("expected ") + kUsage);
  if (host.global() == nullptr) throw std::runtime_error("profile needs an open session");
  profile::ProfileCommands commands(*host.connection(), host.global()->Login());
  const std::string& what = args[0];
  if (what == "show") {
    need(1);
    return Lines(commands.Show(args[1], json));
  }
  if (what == "effective") {
    need(1);
    return Lines(commands.Effective(args[1], json));
  }
  if (what == "diff") {
    need(2);
    return Lines(commands.Diff(args[1], args[2], json));
  }
  if (what == "where-used") {
    need(1);
    return Lines(commands.WhereUsed(args[1], json));
  }
  if (what == "export") {
    need(2);
    std::ofstream stream(args[2], std::ios::binary | std::ios::trunc);
    stream << commands.Export(args[1]);
    if (!stream.flush()) throw std::runtime_error("cannot write " + args[2]);
    return {"EXPORTED " + args[1] + " " + args[2]};
  }
  if (what == "import") {
    need(2);
    if (preview == apply) throw std::invalid_argument("expected import ... --preview or --apply");
    std::ifstream stream(args[2], std::ios::binary);
    if (!stream) throw std::runtime_error("cannot read " + args[2]);
    std::ostringstream text;
    text << stream.rdbuf();
    return Lines(commands.Import(args[1], text.str(), apply, skip_unknown, json));
  }
  throw std::invalid_argument(std::string("expected ") + kUsage);
}

}  // namespace orv::session
