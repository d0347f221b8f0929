// The orvelka-db program: exit codes and the refusal to overwrite.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "hostdb/host_database.h"
#include "hostdb_test_util.h"

namespace orv::hostdb {
namespace {

namespace fs = std::filesystem;

int RunDb(const std::string& args) {
  const std::string command =
      std::string(ORV_BINARY_DIR) + "/src/orvelka-db " + args + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(OrvelkaDbTest, CreatesRefusesToOverwriteAndReplacesOnRequest) {
  const fs::path dir = fs::temp_directory_path() / ("orv-cli-test-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string file = (dir / "demo db.db").string();
  const std::string quoted = "'" + file + "'";

  ASSERT_EQ(RunDb("create --demo " + quoted), 0);
  auto cn = db::Connection::Create();
  cn->Open(HostDatabase::ConnectionStringFor(file));
  testing::Exec(*cn, "DELETE FROM FW07_APPUSER WHERE FW07_ID = 9");
  cn->Close();

  EXPECT_EQ(RunDb("create --demo " + quoted), 3);  // exists: left alone
  cn->Open(HostDatabase::ConnectionStringFor(file));
  EXPECT_EQ(testing::Scalar(*cn, "SELECT COUNT(*) FROM FW07_APPUSER"), "10");
  cn->Close();

  EXPECT_EQ(RunDb("create --demo --force " + quoted), 0);
  cn->Open(HostDatabase::ConnectionStringFor(file));
  EXPECT_EQ(testing::Scalar(*cn, "SELECT COUNT(*) FROM FW07_APPUSER"), "11");
  cn->Close();

  EXPECT_EQ(RunDb("create --scale 0.002 --seed 5 --quiet " + quoted), 3);
  EXPECT_EQ(RunDb("create --scale 0.002 --seed 5 --quiet --force " + quoted), 0);

  // Usage errors.
  EXPECT_EQ(RunDb("create " + quoted), 2);
  EXPECT_EQ(RunDb("create --demo --scale 1 " + quoted), 2);
  EXPECT_EQ(RunDb("create --scale -1 " + quoted), 2);
  EXPECT_EQ(RunDb("create --scale nan " + quoted), 2);
  EXPECT_EQ(RunDb("create --demo"), 2);
  EXPECT_EQ(RunDb("drop " + quoted), 2);

  // A folder that does not exist: a clean failure, nothing left behind.
  EXPECT_EQ(RunDb("create --demo '" + (dir / "missing" / "x.db").string() + "'"), 1);
  EXPECT_FALSE(fs::exists(dir / "missing"));
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1u);  // no partial files beside the database
  fs::remove_all(dir);
}

}  // namespace
}  // namespace orv::hostdb
