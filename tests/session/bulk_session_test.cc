// The bulk-operation script through the orvelka-session program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "hostdb/temporary_demo_database.h"

namespace orv::session {
namespace {

std::string ReadScriptFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(BulkSessionTest, BulkScriptGivesTheExpectedOutput) {
  hostdb::TemporaryDemoDatabase database;
  const std::string dir = std::string(ORV_SOURCE_DIR) + "/tests/session/";
  const std::string command = std::string(ORV_BINARY_DIR) + "/src/orvelka-session --db '" +
                              database.path() + "' " + dir + "bulk.session 2>&1";
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = ::pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
  EXPECT_EQ(output, ReadScriptFile(dir + "bulk.expected"));
}

}  // namespace
}  // namespace orv::session
