#include "session/session_script.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "hostdb/temporary_demo_database.h"

namespace orv::session {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs a program and returns its standard output and exit status.
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

// Each script of tests/session replayed by orvelka-session on a fresh demo
// installation: every expectation in it holds, and where the script has a
// .expected file its output (grids, messages, change-log lines, rows) is
// that file's text.
class SessionProgramScriptTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SessionProgramScriptTest, GivesTheExpectedOutput) {
  hostdb::TemporaryDemoDatabase database;
  const std::string dir = std::string(ORV_SOURCE_DIR) + "/tests/session/";
  const std::string script = GetParam();
  const auto [output, status] =
      RunProgram(std::string(ORV_BINARY_DIR) + "/src/orvelka-session --db '" + database.path() +
                 "' " + dir + script + ".session 2>&1");
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output.find("FAIL"), std::string::npos) << output;
  const std::string expected = dir + script + ".expected";
  if (std::ifstream(expected).good()) {
    EXPECT_EQ(output, ReadFile(expected));
  } else {
    EXPECT_NE(output.find(" passed, 0 failed\n"), std::string::npos) << output;
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, SessionProgramScriptTest,
                         ::testing::Values("basic", "trees", "warehouses", "nodes", "bulk",
                                           "journal"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

// Every row of every table of a SQLite file, sorted per table.
std::string DumpTables(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return "";
  auto rows = [db](const std::string& sql) {
    std::vector<std::string> out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return out;
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const unsigned char* text = sqlite3_column_text(st, i);
        row += (text ? reinterpret_cast<const char*>(text) : "<null>") + std::string("|");
      }
      out.push_back(row);
    }
    sqlite3_finalize(st);
    return out;
  };
  std::string dump;
  for (std::string table : rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name "
                                "NOT LIKE 'sqlite%' ORDER BY name")) {
    table.pop_back();  // the cell separator
    std::vector<std::string> content = rows("SELECT * FROM \"" + table + "\"");
    std::sort(content.begin(), content.end());
    dump += "[" + table + "]\n";
    for (const std::string& row : content) dump += row + "\n";
  }
  sqlite3_close(db);
  return dump;
}

// The statements of a full trace, in order (comment lines and GO dropped).
std::vector<std::string> TracedStatements(const std::string& trace) {
  std::vector<std::string> statements;
  std::istringstream in(trace);
  std::string line, statement;
  while (std::getline(in, line)) {
    if (line.rfind("-- ", 0) == 0 && statement.empty()) continue;
    if (line == "GO") {
      statements.push_back(statement);
      statement.clear();
      continue;
    }
    statement += (statement.empty() ? "" : "\n") + line;
  }
  return statements;
}

// The trace of a whole session, run on the database as it was, leaves it as
// the session did: it holds every statement of every section the script
// visits, as the driver received it.
TEST_P(SessionProgramScriptTest, ItsStatementTraceReplaysTheSession) {
  hostdb::TemporaryDemoDatabase session_db;
  hostdb::TemporaryDemoDatabase replay_db;
  const std::string dir = std::string(ORV_SOURCE_DIR) + "/tests/session/";
  const std::string trace_path = session_db.path() + ".trace.sql";
  const auto [output, status] =
      RunProgram(std::string(ORV_BINARY_DIR) + "/src/orvelka-session --db '" + session_db.path() +
                 "' --trace-sql '" + trace_path + "' " + dir + GetParam() + ".session 2>&1");
  ASSERT_EQ(status, 0) << output;
  const std::string trace = ReadFile(trace_path);
  std::remove(trace_path.c_str());
  const std::vector<std::string> statements = TracedStatements(trace);
  ASSERT_GT(statements.size(), 5u) << trace;
  auto connection = replay_db.Connect();
  for (const std::string& statement : statements) {
    if (statement == "BEGIN TRANSACTION") {
      connection->BeginTrans();
    } else if (statement == "COMMIT TRANSACTION") {
      connection->CommitTrans();
    } else if (statement == "ROLLBACK TRANSACTION") {
      connection->RollbackTrans();
    } else {
      connection->Execute(statement);
    }
  }
  connection->Close();
  EXPECT_EQ(DumpTables(replay_db.path()), DumpTables(session_db.path()));
}

TEST(SessionProgramTest, TheDocumentedDemoRunsToItsEnd) {
  hostdb::TemporaryDemoDatabase database;
  const auto [output, status] =
      RunProgram(std::string(ORV_BINARY_DIR) + "/src/orvelka-session --db '" + database.path() +
                 "' " + ORV_SOURCE_DIR + "/docs/examples/demo.session 2>&1");
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("CLOSE true"), std::string::npos) << output;
}

TEST(SessionProgramTest, BadArgumentsAndMissingScript) {
  const std::string program = std::string(ORV_BINARY_DIR) + "/src/orvelka-session";
  EXPECT_EQ(RunProgram(program + " 2>/dev/null").second, 2);
  EXPECT_EQ(RunProgram(program + " --company x script 2>/dev/null").second, 2);
  EXPECT_EQ(RunProgram(program + " /no/such/script 2>/dev/null").second, 2);
}

class SessionScriptTest : public ::testing::Test {
 protected:
  int Run(const std::string& script) {
    SessionScript::Defaults defaults;
    defaults.connection_string = database_.connection_string();
    SessionScript session(defaults, out_, err_);
    std::istringstream in(script);
    return session.Run(in);
  }

  hostdb::TemporaryDemoDatabase database_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(SessionScriptTest, BadLineStopsWithItsNumber) {
  EXPECT_EQ(Run("open\n\n# comment\nsidebar\nclose\n"), SessionScript::kBadScript);
  EXPECT_EQ(err_.str(), "line 4: expected sidebar KEY\n");
  EXPECT_EQ(out_.str().find("> close"), std::string::npos);
}

TEST_F(SessionScriptTest, UnknownCommandAndBadArguments) {
  EXPECT_EQ(Run("open\nvola via\n"), SessionScript::kBadScript);
  EXPECT_NE(err_.str().find("line 2: expected a command"), std::string::npos);
  err_.str("");
  EXPECT_EQ(Run("open\nprincipal user due\n"), SessionScript::kBadScript);
  EXPECT_EQ(err_.str(), "line 2: expected a numeric identifier\n");
  err_.str("");
  EXPECT_EQ(Run("open\nprincipal user 999\n"), SessionScript::kBadScript);
  EXPECT_EQ(err_.str(), "line 2: no such principal in the tree\n");
  err_.str("");
  EXPECT_EQ(Run("principal user 1\n"), SessionScript::kBadScript);
  EXPECT_EQ(err_.str(), "line 1: the editor is not open\n");
  err_.str("");
  EXPECT_EQ(Run("open\nfilter Progetto \"A B\n"), SessionScript::kBadScript);
  EXPECT_EQ(err_.str(), "line 2: expected a closing double quote\n");
}

TEST_F(SessionScriptTest, ABoxThatNeedsAnAnswerStopsTheScriptWithoutOne) {
  const std::string disable =
      "open\nprincipal group 2\nsidebar ITM50017\nbutton VRX_DISABILITATUTTI\n";
  EXPECT_EQ(Run(disable + "close\n"), SessionScript::kUnanswered);
  EXPECT_EQ(err_.str().rfind("line 4: no answer queued for the message box \"Si è scelto", 0), 0u)
      << err_.str();
  EXPECT_EQ(out_.str().find("> close"), std::string::npos);
  // An OK box needs none, and leaves the queued answer to the box it was
  // meant for.
  err_.str("");
  out_.str("");
  EXPECT_EQ(Run("answer yes\nopen --user mrossi\nshow ANSWERS\nclose\n"), SessionScript::kOk)
      << err_.str();
  EXPECT_NE(out_.str().find("MSG 64\tUtente non autorizzato\tSolo l'utente"), std::string::npos);
  EXPECT_NE(out_.str().find("ANSWER\tFOR\nyes\tany\n"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("UNUSED ANSWERS yes\tend\n"), std::string::npos) << out_.str();
}

TEST_F(SessionScriptTest, AnswersForTheNextCommandDoNotLeakPastIt) {
  EXPECT_EQ(Run("open\nprincipal group 2\nsidebar ITM50017\nanswer --next yes no\n"
                "button VRX_DISABILITATUTTI\nshow ANSWERS\nanswer ok cancel\nanswer clear\n"
                "show ANSWERS\n"),
            SessionScript::kOk)
      << err_.str();
  EXPECT_NE(out_.str().find("UNUSED ANSWERS no\tline 5\n> show ANSWERS\nANSWER\tFOR\n> answer"),
            std::string::npos)
      << out_.str();
  EXPECT_EQ(out_.str().find("UNUSED ANSWERS ok"), std::string::npos) << out_.str();
}

TEST_F(SessionScriptTest, MessagesAndLogLinesNameTheCommandThatRaisedThem) {
  EXPECT_EQ(Run("open\n# a comment\n\ncheck CHK_ABILREVOKE 0\nchangeditta\n"), SessionScript::kOk)
      << err_.str();
  EXPECT_NE(out_.str().find("> open\nLOG 11\t1: Attivo; \tline 1\n"), std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find("LOG 11\t1: Non attivo; \tline 4\n"), std::string::npos);
  EXPECT_NE(out_.str().find("MSG 48\tAvviso\tNon è possibile cambiare l'azienda di lavoro "
                            "durante l'esecuzione del programma.\tline 5\n"),
            std::string::npos);
}

// Each expectation, holding and failing: the failures print the command and
// a difference, the run goes on, and ends with the count and status 4.
TEST_F(SessionScriptTest, FailedExpectationsShowTheDifferenceAndSetTheStatus) {
  const std::string script =
      "open\nprincipal group 2\nsidebar ITM50017\n"
      "expect sql SELECT FW06_CODICE, NULL FROM FW06_GROUPUSR WHERE FW06_ID IN (2, 3) ORDER BY 1\n"
      "| AMMIN NULL\n| VENDITE NULL\n"
      "expect sql SELECT FW06_CODICE FROM FW06_GROUPUSR WHERE FW06_ID = 3\n| VENDUTE\n"
      "expect sql SELECT FW06_CODICE FROM FW06_GROUPUSR WHERE FW06_ID = 99\n"
      "expect cell GRIDTIPOLOGIE 2 ABILITATO 0\n"
      "expect cell GRIDTIPOLOGIE 2 ABILITATO 1\n"
      "expect cell GRIDTIPOLOGIE 2 INDTIPO 6\n"
      "expect row GRIDTIPOLOGIE 7\nexpect norow GRIDTIPOLOGIE 8\n"
      "expect row GRID_DEPOSITO ZZ\n"
      "click GRIDTIPOLOGIE 8 ABILITATO\n"
      "expect msg none\nexpect log none\nexpect err none\n"
      "expect msg \"a box\"\n"
      "expect state SECTION 6\nexpect state SECTION 7\n";
  EXPECT_EQ(Run(script), SessionScript::kExpectFailed) << err_.str();
  const std::string out = out_.str();
  EXPECT_NE(out.find("FAIL line 7: expect sql SELECT FW06_CODICE FROM FW06_GROUPUSR WHERE "
                     "FW06_ID = 3\n- | VENDUTE\n+ | VENDITE\n> expect sql"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("FAIL line 11: expect cell GRIDTIPOLOGIE 2 ABILITATO 1\n- 1\n+ 0\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("FAIL line 15: expect row GRID_DEPOSITO ZZ\n- | ZZ\n+ (no row)\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("FAIL line 16: click GRIDTIPOLOGIE 8 ABILITATO: no row 8 in GRIDTIPOLOGIE\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("FAIL line 20: expect msg \"a box\"\n- \"a box\"\n+ (none)\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("FAIL line 22: expect state SECTION 7\n- 7\n+ 6\n"), std::string::npos) << out;
  EXPECT_TRUE(out.ends_with("10 passed, 6 failed\n")) << out;
}

TEST_F(SessionScriptTest, GridRowsCompareAsAWholeWithTheirDifference) {
  const std::string grid =
      "expect grid GRIDTIPOLOGIE\n"
      "| 1 01 \"01 - Magazzino centrale\" 1\n"
      "| 2 02 \"02 - Deposito Milano Nord\" 0\n"
      "| 3 A \"A - Magazzino accessori\" 1\n"
      "| 4 CL \"\" 1\n"
      "| 5 \"DEP 1\" \"DEP 1 - Deposito esterno n. 1\" 1\n"
      "| 6 MP \"MP - Materie prime\" 1\n"
      "| 7 PF \"PF - Prodotti finiti\" 1\n";
  EXPECT_EQ(Run("open\nprincipal group 2\nsidebar ITM50017\n" + grid +
                "select GRIDTIPOLOGIE 2\nclick GRIDTIPOLOGIE 3 ABILITATO\n" + grid),
            SessionScript::kExpectFailed)
      << err_.str();
  EXPECT_NE(out_.str().find("  | 2 02 \"02 - Deposito Milano Nord\" 0\n"
                            "- | 3 A \"A - Magazzino accessori\" 1\n"
                            "+ | 3 A \"A - Magazzino accessori\" 0\n"
                            "  | 4 CL \"\" 1\n"),
            std::string::npos)
      << out_.str();
  EXPECT_TRUE(out_.str().ends_with("1 passed, 1 failed\n")) << out_.str();
}

TEST_F(SessionScriptTest, OpenWritesEveryHostPropertyAndTheModuleJudgesThem) {
  EXPECT_EQ(Run("sql SELECT COUNT(*) AS N FROM FW06_GROUPUSR WHERE FW06_ID = 3\n"
                "open --window-state 2 --program-mode 70000 --top abc --left 120 "
                "--filtro \"X = 1\" --caption \"Revoche di prova\"\n"
                "expect state WINDOWSTATE 2\nexpect state PROGRAMMODE 0\n"
                "expect state TOP 0\nexpect state LEFT 120\n"
                "expect state CAPTION \"Revoche di prova\"\n"
                "permessiditta\ncopyfrom none\n"),
            SessionScript::kOk)
      << err_.str() << out_.str();
  EXPECT_NE(out_.str().find("N\n1\n"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("Abilitazione\tInserimento\tModifica\tEliminazione\tScript\tLayout\t"
                            "Multimedia\tOffice\tStampa\tAnteprima\tExportToFile\tMail\tFax\n"
                            "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n"),
            std::string::npos)
      << out_.str();
  EXPECT_EQ(Run("open --window-state 99999999999\n"), SessionScript::kBadScript);
}

TEST_F(SessionScriptTest, TheWindowsTemporaryTableIsToldWithoutItsName) {
  EXPECT_EQ(Run("open\nprincipal group 3\nsidebar ITM_NODI\nexpect state TEMPEXISTS 0\n"
                "button CMD_UPDATE\nexpect state TEMPEXISTS 1\nshow STATE\nclose\n"
                "expect state TEMPEXISTS 0\n"),
            SessionScript::kOk)
      << err_.str() << out_.str();
  EXPECT_EQ(out_.str().find("##tempT0"), std::string::npos);
  EXPECT_NE(out_.str().find("##tempT<32 digits>\t1\t"), std::string::npos) << out_.str();
}

TEST_F(SessionScriptTest, GroupedGridsShowTheirCompaniesAndOnRequestHiddenFields) {
  EXPECT_EQ(Run("open\nprincipal group 4\nsidebar ITM_NODI\nbutton CMD_UPDATE\n"
                "show GRIDTIPOLOGIE\nshow GRIDTIPOLOGIE --hidden\n"
                "expect cell GRIDTIPOLOGIE 1 INCLUSA 1\n"),
            SessionScript::kOk)
      << err_.str();
  const std::string out = out_.str();
  EXPECT_NE(out.find("> show GRIDTIPOLOGIE\nROW\tPROGETTO\tCODICE\tDESCRIZIONE\tABILITATO\t"
                     "RAGGRUPPAMENTO\nGROUP\t1 - Officine Meccaniche Bresciane S.p.A.\n1\t"),
            std::string::npos)
      << out;
  const size_t hidden = out.find(
      "> show GRIDTIPOLOGIE --hidden\nROW\tPROGETTO\tCODICE\t"
      "DESCRIZIONE\tABILITATO\tRAGGRUPPAMENTO\t");
  ASSERT_NE(hidden, std::string::npos) << out;
  EXPECT_NE(out.find("INCLUSA", hidden), std::string::npos) << out;
}

TEST_F(SessionScriptTest, SqlPrintsRowsAndNulls) {
  EXPECT_EQ(Run("open\nsql SELECT FW06_CODICE, NULL AS N FROM FW06_GROUPUSR WHERE FW06_ID = 3\n"
                "sql UPDATE FW06_GROUPUSR SET FW06_DESCR = 'x' WHERE FW06_ID = 99\n"),
            SessionScript::kOk)
      << err_.str();
  EXPECT_NE(out_.str().find("FW06_CODICE\tN\nVENDITE\tNULL\n"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("OK 0\n"), std::string::npos) << out_.str();
}

TEST(SessionScriptSplitTest, QuotesKeepBlanks) {
  EXPECT_EQ(SessionScript::Split("filter Progetto \"A B\" \"x\"\"y\""),
            (std::vector<std::string>{"filter", "Progetto", "A B", "x\"y"}));
  EXPECT_EQ(SessionScript::Split("  a\tb  "), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SessionScript::ConnectionStringForFile("/tmp/a}b.db"),
            "Driver=SQLite;Database={/tmp/a}}b.db}");
}

}  // namespace
}  // namespace orv::session
