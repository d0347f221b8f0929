// An editor killed (SIGKILL) at random moments while it clicks one transfer
// cell over and over, each write slowed down so that kills land between
// the gesture's statements and its journal entry: afterwards the cell's row
// is there exactly when an odd number of clicks were journaled, and every
// entry has its one image.

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostdb/temporary_demo_database.h"
#include "session/headless_host.h"
#include "zere_orvelka/principal_node.h"

namespace orv::journal {
namespace {

constexpr int kKills = 6;

void SlowDown(const std::string& path) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  sqlite3_busy_timeout(db, 5000);
  for (std::string_view table : {"FW3E_RVKDEPCOLL", "FW3J_GIORNALEREVOKE", "FW3K_IMMAGINIREVOKE"}) {
    for (const char* op : {"INSERT", "DELETE"}) {
      const std::string sql = "CREATE TRIGGER ORV_SLOW_" + std::string(table) + "_" + op +
                              " BEFORE " + op + " ON " + std::string(table) +
                              " BEGIN SELECT COUNT(*) FROM (WITH RECURSIVE C(X) AS (SELECT 1 "
                              "UNION ALL SELECT X + 1 FROM C WHERE X < 30000) SELECT X FROM C); "
                              "END";
      ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
          << sqlite3_errmsg(db);
    }
  }
  sqlite3_close(db);
}

int64_t Count(db::Connection& cn, const std::string& sql) {
  std::shared_ptr<db::Recordset> rs = cn.Execute(sql);
  return rs && !rs->IsEof() ? rs->Field(0).ToInt64() : -1;
}

[[noreturn]] void RunChild(const std::string& connection_string, int ready_fd) {
  try {
    session::HeadlessHost host;
    host.answers().set_strict(false);
    session::HeadlessOptions options;
    options.connection_string = connection_string;
    options.company = 1;
    host.Open(options);
    host.SelectPrincipal(host::PrincipalNode::kUser, 5);
    host.ChooseSection("ITM_TRANSORIDEST");
    const char ready = 1;
    if (write(ready_fd, &ready, 1) != 1) _exit(4);
    for (;;) host.ClickGrid("GRID_DEPOSITO", "02", "C_A");
  } catch (...) {
    _exit(3);
  }
}

TEST(JournalCrashTest, KilledBetweenAGestureAndItsEntryLeavesBothOrNeither) {
  hostdb::TemporaryDemoDatabase database;
  SlowDown(database.path());
  const std::string cell =
      "SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW07 = 5 AND FW3E_DITTA_CG18 = 1 AND "
      "FW3E_CODDEP_ORI = '02' AND FW3E_CODDEP_DES = 'A'";
  int64_t present_at_start = 0;
  {
    std::shared_ptr<db::Connection> cn = database.Connect();
    present_at_start = Count(*cn, cell);
  }
  std::mt19937 random(20261207u);
  std::uniform_int_distribution<int> delay_ms(20, 600);
  int64_t last_entries = 0;
  for (int k = 0; k < kKills; ++k) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(ready[0]);
      RunChild(database.connection_string(), ready[1]);
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
    }
    ASSERT_TRUE(WIFSIGNALED(status)) << "the editor ended by itself (status " << status << ")";
    std::shared_ptr<db::Connection> cn = database.Connect();
    const int64_t entries = Count(*cn, "SELECT COUNT(*) FROM FW3J_GIORNALEREVOKE");
    EXPECT_GE(entries, last_entries);
    last_entries = entries;
    EXPECT_EQ(Count(*cn, cell), (present_at_start + entries) % 2) << "kill " << k + 1;
    EXPECT_EQ(Count(*cn,
                    "SELECT COUNT(*) FROM FW3J_GIORNALEREVOKE WHERE FW3J_NUMRIGHE <> 1 OR "
                    "FW3J_ID NOT IN (SELECT FW3K_ID_FW3J FROM FW3K_IMMAGINIREVOKE)"),
              0)
        << "kill " << k + 1;
    EXPECT_EQ(Count(*cn, "SELECT COUNT(*) FROM FW3K_IMMAGINIREVOKE"), entries) << "kill " << k + 1;
  }
  EXPECT_GT(last_entries, 0) << "no click was ever committed";
}

}  // namespace
}  // namespace orv::journal
