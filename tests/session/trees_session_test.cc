// The customer/supplier tree and the article families replayed by
// orvelka-session: the script's output (grids, change-log lines, revocation
// rows) is compared with its expected text.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "hostdb/temporary_demo_database.h"

namespace orv::session {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::pair<std::string, int> RunProgram(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {"", -1};
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = ::pclose(pipe);
  return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(TreeSessionTest, TreeScriptGivesTheExpectedOutput) {
  hostdb::TemporaryDemoDatabase database;
  const std::string dir = std::string(ORV_SOURCE_DIR) + "/tests/session/";
  const auto [output, status] =
      RunProgram(std::string(ORV_BINARY_DIR) + "/src/orvelka-session --db '" + database.path() +
                 "' " + dir + "trees.session 2>&1");
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output, ReadFile(dir + "trees.expected"));
}

}  // namespace
}  // namespace orv::session
