#include "db/connection_string.h"

#include <gtest/gtest.h>

#include "db/db_error.h"
#include "db/driver.h"

namespace orv::db {
namespace {

TEST(ConnectionStringTest, ParsesKeysWithoutRegardToCaseAndQuotedValues) {
  ConnectionString cs(
      " Driver={ODBC Driver 18 for SQL Server} ; server = db1;DATABASE=erp;"
      "PWD={a;b}}c};App=\"x=\"\"y\"\"\";;");
  EXPECT_EQ(cs.Get("driver"), "ODBC Driver 18 for SQL Server");
  EXPECT_EQ(cs.Get("SERVER"), "db1");
  EXPECT_EQ(cs.Get("Database"), "erp");
  EXPECT_EQ(cs.Get("pwd"), "a;b}c");
  EXPECT_EQ(cs.Get("app"), "x=\"y\"");
  EXPECT_FALSE(cs.Has("UID"));
  EXPECT_EQ(cs.GetAny({"Data Source", "Database"}), "erp");
  EXPECT_EQ(cs.pairs().size(), 5u);
}

TEST(ConnectionStringTest, LaterDuplicateKeyWinsAndSetReplaces) {
  ConnectionString cs("Database=a;database=b");
  EXPECT_EQ(cs.Get("DATABASE"), "b");
  cs.Set("uid", "me");
  cs.Set("UID", "you");
  EXPECT_EQ(cs.Get("Uid"), "you");
  EXPECT_EQ(cs.pairs().size(), 2u);
}

TEST(ConnectionStringTest, RedactedHidesEveryPassword) {
  ConnectionString cs("Server=s;UID=u;Password=hunter2;PWD={x;y}");
  const std::string redacted = cs.Redacted();
  EXPECT_EQ(redacted.find("hunter2"), std::string::npos) << redacted;
  EXPECT_EQ(redacted.find("x;y"), std::string::npos) << redacted;
  EXPECT_NE(redacted.find("UID=u"), std::string::npos) << redacted;
  EXPECT_EQ(ConnectionString(cs.ToString()).Get("PWD"), "x;y");  // round trip keeps quoting
  EXPECT_EQ(ConnectionString::RedactText("Server=s;Pwd={se;cret;UID=u"), "Server=s;Pwd=***");
  EXPECT_EQ(ConnectionString::RedactText("password = abc ;x=1"), "password =***;x=1");
}

TEST(ConnectionStringTest, MalformedStringsFailWithoutShowingThePassword) {
  for (const char* bad : {"Server=s;PWD={secret", "Server=s;PWD=secret;novalue", "=x;PWD=secret",
                          "PWD=\"secret\"tail"}) {
    try {
      ConnectionString cs(bad);
      FAIL() << "accepted " << bad;
    } catch (const DbError& e) {
      EXPECT_EQ(e.number(), kErrBadArgument);
      EXPECT_EQ(std::string(e.what()).find("secret"), std::string::npos) << e.what();
    }
  }
}

TEST(ConnectionStringTest, DriverSelection) {
  struct Case {
    const char* text;
    DriverKind want;
  };
  for (const Case& c : {
           Case{"Driver=SQLite;Database=/tmp/x.db", DriverKind::kSqlite},
           Case{"driver={sqlite3};Database=:memory:", DriverKind::kSqlite},
           Case{"Database=:memory:", DriverKind::kSqlite},
           Case{"Data Source=/var/lib/host.db", DriverKind::kSqlite},
           Case{"Driver={ODBC Driver 18 for SQL Server};Server=h;Database=erp", DriverKind::kOdbc},
           Case{"DSN=erp;UID=u", DriverKind::kOdbc},
           Case{"Server=h;Database=erp", DriverKind::kOdbc},
       }) {
    EXPECT_EQ(SelectDriver(ConnectionString(c.text)), c.want) << c.text;
  }
  EXPECT_THROW(SelectDriver(ConnectionString("UID=u;PWD=p")), DbError);
}

}  // namespace
}  // namespace orv::db
