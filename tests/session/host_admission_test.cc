// What a host admits: only active logins (administrators included), a file
// only when it is a database, and a read-only database only as a viewer
// that writes nothing. And what the session output writes: no raw control
// byte, NUL included.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "db/connection.h"
#include "db/db_error.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/demo_installation.h"
#include "hostdb/temporary_demo_database.h"
#include "session/headless_host.h"
#include "session/session_output.h"
#include "store/principal_node.h"
#include "zere_orvelka/message_service.h"

namespace orv::session {
namespace {

using hostdb::DemoInstallation;

HeadlessOptions Options(const std::string& connection_string, std::string_view login) {
  HeadlessOptions options;
  options.connection_string = connection_string;
  options.login = std::string(login);
  options.company = 1;
  return options;
}

TEST(HostAdmissionTest, AnInactiveLoginIsRefusedAsAnUnknownOneIs) {
  hostdb::TemporaryDemoDatabase database;
  database.Connect()->Execute(
      "UPDATE FW07_APPUSER SET FW07_FLGATTIVO = 0 WHERE FW07_LOGIN = 'supervisore'");
  struct Case {
    std::string_view login;
    std::optional<bool> administrator;
    const char* refusal;  // nullptr: admitted
  };
  const Case cases[] = {
      {DemoInstallation::kLoginSupervisore, std::nullopt, "login not active: supervisore"},
      {DemoInstallation::kLoginSupervisore, true, "login not active: supervisore"},
      {"nessuno", std::nullopt, "unknown login: nessuno"},
      {DemoInstallation::kLoginAdmin, std::nullopt, nullptr},
  };
  for (const Case& c : cases) {
    HeadlessHost host;
    HeadlessOptions options = Options(database.connection_string(), c.login);
    options.administrator = c.administrator;
    if (c.refusal == nullptr) {
      EXPECT_NO_THROW(host.Open(options)) << c.login;
      EXPECT_NE(host.window(), nullptr) << c.login;
    } else {
      try {
        host.Open(options);
        ADD_FAILURE() << c.login << " was let in";
      } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), c.refusal);
      }
      EXPECT_EQ(host.window(), nullptr) << c.login;
    }
    host.Release();
  }
}

TEST(HostAdmissionTest, AnEmptyFileIsRefusedAndLeftUntouched) {
  const std::string path = ::testing::TempDir() + "/orvelka_empty.db";
  { std::ofstream create(path, std::ios::trunc); }
  auto connection = db::Connection::Create();
  try {
    connection->Open("Driver=SQLite;Database=" + path);
    ADD_FAILURE() << "an empty file opened";
  } catch (const db::DbError& e) {
    EXPECT_NE(e.description().find("is not a host database"), std::string::npos) << e.description();
  }
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0);
  std::remove(path.c_str());
}

TEST(HostAdmissionTest, AReadOnlyDatabaseOpensAsAViewerThatWritesNothing) {
  hostdb::TemporaryDemoDatabase database;
  std::shared_ptr<db::Connection> check = database.Connect();
  auto count = [&](const char* table) {
    return check->Execute(std::string("SELECT COUNT(*) FROM ") + table)->Field(0).ToInt64();
  };
  const int64_t settings = count("FW95_SETTINGS");
  const int64_t list = count("FW3C_LISTACFREVOCATI");
  const int64_t clifor = count("FW32_RVKCLIFOR");
  const int64_t parameters = count("FW31_RVKPARAMETRI");
  HeadlessHost host;
  host.answers().set_strict(false);
  std::vector<std::string> lines;
  host.SetOutput([&](std::string_view line) { lines.emplace_back(line); });
  host.Open(Options(database.connection_string() + ";Mode=ReadOnly", "admin"));
  ASSERT_NE(host.window(), nullptr);
  // Opening told nothing (it wrote nothing, so nothing failed).
  for (const std::string& line : lines) {
    EXPECT_NE(line.rfind("MSG ", 0), 0u) << line;
    EXPECT_NE(line.rfind("ERR ", 0), 0u) << line;
  }
  editor::FRMFW_ORVELKA& w = *host.window();
  EXPECT_TRUE(w.viewer());
  EXPECT_FALSE(w.control("CHK_ABILREVOKE").enabled());
  EXPECT_FALSE(w.control("VRX_DISABILITATUTTI_CLIFOR").enabled());
  EXPECT_TRUE(w.control("CMD_UPDATE").enabled());
  // Every gesture is refused without a word and without a write.
  host.ChooseSection("ITM50010");
  host.SelectPrincipal(store::PrincipalNode::kGroup, DemoInstallation::kGroupProduzione);
  const std::vector<std::string> grid = host.ShowGrid("TGRID_CLIFOR");
  host.ClickGrid("TGRID_CLIFOR", "M_1.0.NORD", "CHECKED");
  host.answers().Push(host::kVbYes);
  host.Button("VRX_DISABILITATUTTI_CLIFOR");
  host.Check("CHK_ABILREVOKE", db::Value(0));
  EXPECT_EQ(host.ShowGrid("TGRID_CLIFOR"), grid);
  EXPECT_EQ(w.control("CHK_ABILREVOKE").value().ToInt32(), 1);
  host.ChooseSection("ITM50017");
  host.ClickGrid("GRIDTIPOLOGIE", "1", "ABILITATO");
  for (const std::string& line : lines) {
    EXPECT_NE(line.rfind("ERR ", 0), 0u) << line;
  }
  host.Release();
  EXPECT_EQ(count("FW95_SETTINGS"), settings);
  EXPECT_EQ(count("FW3C_LISTACFREVOCATI"), list);
  EXPECT_EQ(count("FW32_RVKCLIFOR"), clifor);
  EXPECT_EQ(count("FW31_RVKPARAMETRI"), parameters);
}

TEST(SessionOutputTest, ControlBytesAreEscapedNulIncluded) {
  EXPECT_EQ(OneLine(std::string("a\0b", 3)), "a\\0b");
  EXPECT_EQ(OneLine("t\tn\nr\r\\"), "t\\tn\\nr\\r\\\\");
  EXPECT_EQ(OneLine("\x01\x1f\x7f"
                    "ok \xC3\xA0"),
            "\\x01\\x1F\\x7Fok \xC3\xA0");
}

}  // namespace
}  // namespace orv::session
