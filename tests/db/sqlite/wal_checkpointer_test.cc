#include "db/sqlite/wal_checkpointer.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "db/sqlite/sqlite_driver.h"
#include "db/sqlite/stand_in_translator.h"

namespace orv::db::sqlite {
namespace {

using testing::StandInTranslator;

class WalCheckpointerTest : public ::testing::Test {
 protected:
  WalCheckpointerTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv_wal_XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    path_ = (dir_ / "host.db").string();
  }
  ~WalCheckpointerTest() override { std::filesystem::remove_all(dir_); }

  std::unique_ptr<SqliteDriver> Open() {
    auto driver = translator_.Open("Driver=SQLite;Database=" + path_ + ";Create=yes");
    driver->Execute("CREATE TABLE IF NOT EXISTS t (id INTEGER PRIMARY KEY, payload BLOB)", 0);
    // The table in the file itself, so that a copy of the file alone has it.
    driver->Execute("PRAGMA wal_checkpoint(TRUNCATE)", 0);
    return driver;
  }

  // One transaction of `rows` rows of 2 KB each (half a page of the log per row).
  static void Write(SqliteDriver& driver, int64_t rows) {
    driver.BeginTransaction();
    driver.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                       std::to_string(rows) +
                       ") INSERT INTO t (payload) SELECT zeroblob(2048) FROM n",
                   0);
    driver.CommitTransaction();
  }

  // The rows of `t` in the database file alone, without its log: the
  // file is copied and the copy opened.
  int64_t RowsInTheFileAlone() {
    const std::string copy = (dir_ / "copy.db").string();
    std::filesystem::copy_file(path_, copy, std::filesystem::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    int64_t rows = -1;
    if (sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
      sqlite3_stmt* stmt = nullptr;
      if (sqlite3_prepare_v2(db, "SELECT count(*) FROM t", -1, &stmt, nullptr) == SQLITE_OK &&
          sqlite3_step(stmt) == SQLITE_ROW) {
        rows = sqlite3_column_int64(stmt, 0);
      }
      sqlite3_finalize(stmt);
    }
    sqlite3_close_v2(db);
    std::filesystem::remove(copy);
    return rows;
  }

  uintmax_t LogSize() const {
    std::error_code ignored;
    const uintmax_t size = std::filesystem::file_size(path_ + "-wal", ignored);
    return ignored ? 0 : size;
  }

  std::filesystem::path dir_;
  std::string path_;
  StandInTranslator translator_;
};

TEST_F(WalCheckpointerTest, ALogPastItsThresholdIsCopiedIntoTheFile) {
  auto driver = Open();
  WalCheckpointer* checkpointer = driver->checkpointer();
  ASSERT_NE(checkpointer, nullptr);
  // A small commit leaves the rows in the log only.
  Write(*driver, 10);
  checkpointer->WaitIdle();
  EXPECT_EQ(checkpointer->completed(), 0);
  EXPECT_EQ(RowsInTheFileAlone(), 0);
  // One past SQLite's threshold is copied, the small commit's rows with it.
  Write(*driver, 3000);
  checkpointer->WaitIdle();
  EXPECT_GE(checkpointer->completed(), 1);
  EXPECT_EQ(RowsInTheFileAlone(), 3010);
}

TEST_F(WalCheckpointerTest, SmallCommitsCopyTheLogThemselves) {
  // Clicks: a copy beside a stream of small commits would compete with each
  // commit's sync, so the one that takes the log past the threshold copies
  // it, as SQLite does, and the log starts again.
  auto driver = Open();
  int commits = 0;
  while (RowsInTheFileAlone() == 0 && commits < 2000) {
    Write(*driver, 20);  // a score of pages
    ++commits;
  }
  EXPECT_GT(commits, 10);
  EXPECT_LT(commits, 2000);
  EXPECT_EQ(RowsInTheFileAlone(), 20 * commits);
  driver->checkpointer()->WaitIdle();
  EXPECT_EQ(driver->checkpointer()->completed(), 0);
  Write(*driver, 20);
  EXPECT_LT(LogSize(), 6u << 20);
}

TEST_F(WalCheckpointerTest, CommitsGoOnWhileTheLogIsCopiedAndTheLogIsReused) {
  auto driver = Open();
  // Forty commits of about 1.2 MB each, back to back, with checkpoints
  // running beside them. A commit that finds the copying behind waits for
  // it, so that the next one starts the log again: it never holds the 48 MB.
  for (int i = 0; i < 40; ++i) Write(*driver, 600);
  EXPECT_GE(driver->checkpointer()->completed(), 1);
  EXPECT_LT(LogSize(), 24u << 20) << LogSize();
  std::vector<ResultSet> check = driver->Execute("PRAGMA integrity_check", 0);
  ASSERT_EQ(check.size(), 1u);
  EXPECT_EQ(check[0].rows.at(0).at(0).ToText(), "ok");
  std::vector<ResultSet> count = driver->Execute("SELECT count(*) FROM t", 0);
  EXPECT_EQ(count[0].rows.at(0).at(0).ToInt64(), 40 * 600);
}

TEST_F(WalCheckpointerTest, ClosingWithACheckpointUnderWayKeepsEveryRowAndRemovesTheLog) {
  for (int round = 0; round < 3; ++round) {
    auto driver = Open();
    Write(*driver, 3000);  // asks for a checkpoint, then closes at once
    driver.reset();
    EXPECT_FALSE(std::filesystem::exists(path_ + "-wal")) << round;
    EXPECT_EQ(RowsInTheFileAlone(), 3000 * (round + 1)) << round;
  }
}

TEST_F(WalCheckpointerTest, AFileThatCannotBeOpenedIsTriedAgainAtTheNextRequest) {
  WalCheckpointer checkpointer(path_, true);
  checkpointer.Request();  // no file yet: nothing copied, nothing made
  checkpointer.WaitIdle();
  EXPECT_EQ(checkpointer.completed(), 0);
  EXPECT_FALSE(std::filesystem::exists(path_));
  auto driver = Open();
  Write(*driver, 100);  // below the threshold: the driver does not ask
  checkpointer.Request();
  checkpointer.WaitIdle();
  EXPECT_EQ(checkpointer.completed(), 1);
  EXPECT_EQ(RowsInTheFileAlone(), 100);
}

TEST_F(WalCheckpointerTest, MemoryAndReadOnlyDatabasesHaveNone) {
  auto memory = translator_.Open("Driver=SQLite;Database=:memory:");
  EXPECT_EQ(memory->checkpointer(), nullptr);
  Open().reset();
  auto read_only = translator_.Open("Driver=SQLite;Database=" + path_ + ";Mode=ReadOnly");
  EXPECT_EQ(read_only->checkpointer(), nullptr);
}

}  // namespace
}  // namespace orv::db::sqlite
