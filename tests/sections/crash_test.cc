// An editor killed (SIGKILL) at random points of its gestures, slowed down
// so the kills land between their statements: after each kill the file
// reopens, passes SQLite's integrity check, every row it held before is
// still there, no key is doubled, and the derived customer/supplier list is
// what its procedure makes of the tables. Bounded: a handful of kills per
// gesture.

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sqlite/host_functions.h"
#include "hostdb/demo_installation.h"
#include "hostdb/host_schema.h"
#include "hostdb/temporary_demo_database.h"
#include "session/headless_host.h"
#include "store/principal_node.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;

constexpr int kKillsPerGesture = 5;

struct CrashGesture {
  const char* name;
  const char* section;
  // Runs the gesture once more (forever, in the child, until killed).
  std::function<void(session::HeadlessHost&, int round)> run;
};

void PrintTo(const CrashGesture& g, std::ostream* out) { *out << g.name; }

const std::vector<CrashGesture>& CrashGestures() {
  static const std::vector<CrashGesture> gestures = {
      {"clifor_click", "ITM50010",
       [](session::HeadlessHost& h, int round) {
         h.ClickGrid("TGRID_CLIFOR", round % 2 ? "M_1.0.NORD" : "Y_1.0.IND", "CHECKED");
       }},
      {"clifor_disable_all_and_click", "ITM50010",
       [](session::HeadlessHost& h, int round) {
         // The click gives the next walk a row to change again.
         if (round % 2) {
           h.ClickGrid("TGRID_CLIFOR", "M_1.0.NORD", "CHECKED");
         } else {
           h.answers().Push(host::kVbYes);
           h.Button("VRX_DISABILITATUTTI_CLIFOR");
         }
       }},
      {"family_disable_all_and_click", "ITM_ARTFAM",
       [](session::HeadlessHost& h, int round) {
         if (round % 2) {
           h.ClickGrid("TGRID_CLIFOR", "F_1.FERR", "INSERIMENTO");
         } else {
           h.answers().Push(host::kVbYes);
           h.Button("VRX_DISABILITATUTTI_CLIFOR");
         }
       }},
      {"switch", "ITM50010",
       [](session::HeadlessHost& h, int round) {
         h.Check("CHK_ABILREVOKE", db::Value(round % 2 ? 1 : 0));
       }},
  };
  return gestures;
}

// Every write waits a little (a recursive count in a trigger), so that the
// statements of one gesture are spread over time.
void SlowDown(const std::string& path) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  sqlite3_busy_timeout(db, 5000);
  for (std::string_view table : {"FW31_RVKPARAMETRI", "FW32_RVKCLIFOR", "FW3H_RVKARTICOLI",
                                 "FW3C_LISTACFREVOCATI", "FW95_SETTINGS"}) {
    for (const char* op : {"INSERT", "UPDATE", "DELETE"}) {
      const std::string sql = "CREATE TRIGGER ORV_SLOW_" + std::string(table) + "_" + op +
                              " BEFORE " + op + " ON " + std::string(table) +
                              " BEGIN SELECT COUNT(*) FROM (WITH RECURSIVE C(X) AS (SELECT 1 "
                              "UNION ALL SELECT X + 1 FROM C WHERE X < 20000) SELECT X FROM C); "
                              "END";
      ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
          << sqlite3_errmsg(db);
    }
  }
  sqlite3_close(db);
}

std::string IntegrityCheck(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return "cannot open";
  }
  // The indexes are ordered by the host's collation: the check needs it.
  if (!db::sqlite::RegisterHostFunctions(db)) {
    sqlite3_close(db);
    return "cannot register the host functions";
  }
  std::string result;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) != SQLITE_OK) {
    result = sqlite3_errmsg(db);
  }
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    result += reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return result;
}

std::vector<std::string> Rows(db::Connection& cn, const std::string& sql) {
  std::vector<std::string> rows;
  std::shared_ptr<db::Recordset> rs = cn.Execute(sql);
  if (!rs || !rs->IsOpen() || rs->RecordCount() == 0) return rows;
  for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
    std::string line;
    for (int i = 0; i < rs->FieldCount(); ++i) {
      line += (rs->Field(i).IsNull() ? "NULL" : rs->Field(i).ToText()) + "|";
    }
    rows.push_back(line);
  }
  return rows;
}

// The principal and key columns of every revocation row (flags left out:
// gestures change them).
std::set<std::string> Keys(db::Connection& cn) {
  std::set<std::string> keys;
  const std::vector<std::pair<std::string, std::string>> tables = {
      {"FW32_RVKCLIFOR",
       "FW32_ID_FW07, FW32_ID_FW06, FW32_DITTA, FW32_TIPOCF, FW32_TIPORAGG, FW32_CODMACRO, "
       "FW32_CODMIDDLE, FW32_CODRAGG"},
      {"FW3H_RVKARTICOLI",
       "FW3H_ID_FW07, FW3H_ID_FW06, FW3H_DITTA, FW3H_TIPORAGG, FW3H_CODMACRO, FW3H_CODMIDDLE, "
       "FW3H_CODRAGG"},
      {"FW31_RVKPARAMETRI",
       "FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, FW31_DITTARAGG"},
  };
  for (const auto& [table, columns] : tables) {
    for (const std::string& row : Rows(cn, "SELECT " + columns + " FROM " + table)) {
      keys.insert(table + "|" + row);
    }
  }
  return keys;
}

[[noreturn]] void RunChild(const std::string& connection_string, const CrashGesture& g,
                           int first_round, int ready_fd) {
  try {
    session::HeadlessHost host;
    host.answers().set_strict(false);
    session::HeadlessOptions options;
    options.connection_string = connection_string;
    options.company = 1;
    host.Open(options);
    host.ChooseSection(g.section);
    host.SelectPrincipal(store::PrincipalNode::kGroup, DemoInstallation::kGroupProduzione);
    // The editor is up: from here on every moment is inside a gesture.
    const char ready = 1;
    if (write(ready_fd, &ready, 1) != 1) _exit(4);
    for (int round = first_round;; ++round) g.run(host, round);
  } catch (...) {
    _exit(3);
  }
}

class CrashTest : public ::testing::TestWithParam<CrashGesture> {};

TEST_P(CrashTest, KilledAnywhereTheFileStaysSound) {
  const CrashGesture& g = GetParam();
  hostdb::TemporaryDemoDatabase database;
  SlowDown(database.path());
  std::set<std::string> before;
  {
    std::shared_ptr<db::Connection> cn = database.Connect();
    before = Keys(*cn);
  }
  std::mt19937 random(20261206u + static_cast<unsigned>(std::hash<std::string>()(g.name)));
  std::uniform_int_distribution<int> delay_ms(5, 400);
  int kills = 0;
  for (int k = 0; k < kKillsPerGesture; ++k) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(ready[0]);
      RunChild(database.connection_string(), g, k, ready[1]);
    }
    close(ready[1]);
    char byte = 0;
    const bool started = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    if (started) std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms(random)));
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == 0) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      ++kills;
    }
    ASSERT_TRUE(WIFSIGNALED(status))
        << g.name << ": the editor ended by itself (status " << status << ")";
    const std::string where = std::string(g.name) + ", kill " + std::to_string(k + 1);
    EXPECT_EQ(IntegrityCheck(database.path()), "ok") << where;
    std::shared_ptr<db::Connection> cn = database.Connect();
    const std::set<std::string> after = Keys(*cn);
    for (const std::string& key : before) {
      EXPECT_TRUE(after.count(key)) << where << ": lost " << key;
    }
    for (const auto& t : hostdb::HostSchema::RevocationTables()) {
      EXPECT_EQ(Rows(*cn, "SELECT COUNT(*) FROM " + std::string(t.table) + " WHERE (" +
                              std::string(t.user_column) + " IS NULL) = (" +
                              std::string(t.group_column) + " IS NULL)"),
                std::vector<std::string>{"0|"})
          << where;
    }
    const std::string list =
        "SELECT FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR FROM "
        "FW3C_LISTACFREVOCATI ORDER BY 1, 2, 3, 4, 5";
    const std::vector<std::string> derived = Rows(*cn, list);
    cn->Execute("EXEC SPFW_ReloadListaCFRevocati");
    EXPECT_EQ(derived, Rows(*cn, list)) << where << ": the derived list is out of step";
    before = Keys(*cn);
  }
  EXPECT_EQ(kills, kKillsPerGesture) << g.name;
}

INSTANTIATE_TEST_SUITE_P(Gestures, CrashTest, ::testing::ValuesIn(CrashGestures()),
                         [](const ::testing::TestParamInfo<CrashGesture>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace orv::sections
