// The statement check of CI: the collector replays a session script and
// keeps every statement sent; the checker (scripts/check_statements.py)
// passes clean statements and fails each kind of fault, a statement that is
// not T-SQL included.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "hostdb/host_schema.h"
#include "hostdb/install_script.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

std::pair<std::string, int> RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return {"", -1};
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = ::pclose(pipe);
  return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class StatementCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orv-statement-check-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ofstream(dir_ / "schema.sql") << hostdb::InstallScript::Tsql(false);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the checker on `statements` (separated by GO lines).
  std::pair<std::string, int> Check(const std::string& statements, bool parse = true) {
    std::ofstream(dir_ / "statements.sql") << statements;
    return RunCommand(std::string("/usr/bin/python3 ") + ORV_SOURCE_DIR +
                      "/scripts/check_statements.py" + (parse ? "" : " --no-parse") + " --schema " +
                      (dir_ / "schema.sql").string() + " " + (dir_ / "statements.sql").string());
  }
  static bool HaveSqlfluff() {
    return RunCommand("/usr/bin/python3 -c 'import sqlfluff'").second == 0;
  }

  fs::path dir_;
};

TEST_F(StatementCheckTest, EachKindOfFaultFailsTheCheck) {
  if (!HaveSqlfluff()) GTEST_SKIP() << "sqlfluff is not installed (scripts/setup.sh)";
  struct Case {
    const char* statement;
    const char* fault;
  };
  const std::vector<Case> cases = {
      {"SELECT FROM WHERE FW07_ID", "does not parse as T-SQL"},
      {"SELECT FW07_ID FROM Fw07_AppUser", "identifier Fw07_AppUser is FW07_APPUSER"},
      {"UPDATE FW06_GROUPUSR SET FW06_CODICE = 'ABCDEFGHIJKLMNOPQRSTU' WHERE FW06_ID = 1",
       "literal 'ABCDEFGHIJKLMNOPQRSTU' (21 characters) is longer than FW06_CODICE VARCHAR(20)"},
      {"SELECT FW07_ID FROM FW07_APPUSER WHERE FW07_LOGIN = 12",
       "unquoted value 12 for text column FW07_LOGIN"},
      {"INSERT INTO FW06_GROUPUSR (FW06_ID, FW06_CODICE) VALUES (1, 'A'), (2, 7)",
       "unquoted value 7 for text column FW06_CODICE"},
      {"DELETE FROM FW07_APPUSER WHERE FW07_ID IN (1, 'x')",
       "text value 'x' for number column FW07_ID"},
      {"EXEC SPFW_ReloadListaCFRevocatiGruppo @idgruppo = 'tre'",
       "text value 'tre' for number column @idgruppo"},
      {"SELECT TOP 1 FW07_ID FROM FW07_APPUSER WHERE IFNULL(FW07_EMAIL, '') = ''",
       "SQLite-only syntax: IFNULL"},
      {"SELECT FW07_LOGIN FROM FW07_APPUSER LIMIT 3", "SQLite-only syntax: LIMIT"},
      {"SELECT \"FW07_LOGIN\" FROM FW07_APPUSER", "SQLite-only syntax: double-quoted name"},
  };
  std::string all;
  for (const Case& c : cases) all += std::string(c.statement) + "\nGO\n";
  const auto [output, status] = Check(all);
  EXPECT_EQ(status, 1) << output;
  // One line per fault: "statement N: <fault>".
  for (size_t i = 0; i < cases.size(); ++i) {
    const std::string head = "statement " + std::to_string(i + 1) + ": ";
    bool found = false;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
      found = found || (line.starts_with(head) && line.find(cases[i].fault) != std::string::npos);
    }
    EXPECT_TRUE(found) << cases[i].statement << "\n" << output;
  }
  EXPECT_NE(output.find(std::to_string(cases.size()) + " statements, " +
                        std::to_string(cases.size()) + " with faults"),
            std::string::npos)
      << output;
}

TEST_F(StatementCheckTest, CleanStatementsAndTheSchemaPass) {
  if (!HaveSqlfluff()) GTEST_SKIP() << "sqlfluff is not installed (scripts/setup.sh)";
  const auto [output, status] = Check(
      "SELECT FW07_ID FROM FW07_APPUSER WHERE FW07_LOGIN = 'admin' AND FW07_FLGADMIN = 1\n"
      "GO\n"
      "INSERT INTO FW06_GROUPUSR (FW06_ID, FW06_CODICE, FW06_DESCR) VALUES (7, 'O''K', "
      "NULL)\nGO\n"
      "EXEC SPFW_ReloadListaCFRevocatiUtente @idutente = 2\nGO\n");
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("3 statements, 0 with faults"), std::string::npos) << output;
  // The schema's own batches pass the checks beyond the grammar (the whole
  // grammar run over them is the CI step's).
  const auto [schema_output, schema_status] = Check(ReadFile(dir_ / "schema.sql"), /*parse=*/false);
  EXPECT_EQ(schema_status, 0) << schema_output;
  EXPECT_NE(schema_output.find(std::to_string(hostdb::InstallScript::SchemaBatches().size()) +
                               " statements, 0 with faults"),
            std::string::npos)
      << schema_output;
}

TEST_F(StatementCheckTest, CollectorKeepsEveryDistinctStatementOfASessionOnce) {
  const std::string script = std::string(ORV_SOURCE_DIR) + "/tests/session/basic.session";
  const fs::path out = dir_ / "collected.sql";
  const auto [output, status] =
      RunCommand(std::string(ORV_BINARY_DIR) + "/src/orvelka-statements " + "--schema " +
                 out.string() + " " + script);
  ASSERT_EQ(status, 0) << output;
  const std::string text = ReadFile(out);
  const std::vector<std::string> batches = hostdb::HostSchema::SplitBatches(text);
  const size_t schema_batches = hostdb::InstallScript::SchemaBatches().size();
  ASSERT_GT(batches.size(), schema_batches + 10) << output;
  for (size_t i = 0; i < batches.size(); ++i) {
    for (size_t j = i + 1; j < batches.size(); ++j) EXPECT_NE(batches[i], batches[j]);
  }
  // The script's own queries are among them, as typed.
  std::string line;
  std::ifstream in(script);
  bool found_sql = false;
  while (std::getline(in, line)) {
    for (const std::string_view command : {"sql ", "expect sql "}) {
      if (!line.starts_with(command)) continue;
      found_sql = true;
      EXPECT_NE(text.find(line.substr(command.size()) + "\nGO\n"), std::string::npos) << line;
    }
  }
  EXPECT_TRUE(found_sql);
  EXPECT_NE(output.find("distinct"), std::string::npos) << output;
  // A script that fails is reported.
  std::ofstream(dir_ / "bad.session") << "open\nsidebar\nno_such_command\n";
  EXPECT_EQ(RunCommand(std::string(ORV_BINARY_DIR) + "/src/orvelka-statements " + out.string() +
                       " " + (dir_ / "bad.session").string())
                .second,
            1);
}

}  // namespace
}  // namespace orv
