// The server driver without a server: connection-string handling and the
// errors a missing data source or driver gives.
#include <gtest/gtest.h>

#include <string>

#include "db/connection.h"
#include "db/db_error.h"

#ifdef ORV_HAVE_ODBC
#include "db/odbc/odbc_driver.h"
#endif

namespace orv::db {
namespace {

#ifdef ORV_HAVE_ODBC

TEST(OdbcDriverTest, AdoStyleKeysBecomeOdbcKeywords) {
  const ConnectionString odbc = odbc::OdbcDriver::ToOdbc(ConnectionString(
      "Provider=SQLOLEDB.1;Data Source=srv\\inst;Initial Catalog=erp;User ID=sa;Password=p;x"
      "=1"));
  EXPECT_FALSE(odbc.Has("Provider"));
  EXPECT_EQ(odbc.Get("Server"), "srv\\inst");
  EXPECT_EQ(odbc.Get("Database"), "erp");
  EXPECT_EQ(odbc.Get("UID"), "sa");
  EXPECT_EQ(odbc.Get("PWD"), "p");
  EXPECT_FALSE(odbc.Get("Driver").empty());  // a default driver is named
  const ConnectionString dsn = odbc::OdbcDriver::ToOdbc(ConnectionString("DSN=erp;PWD=p"));
  EXPECT_FALSE(dsn.Has("Driver"));
}

TEST(OdbcDriverTest, MissingDataSourceOrDriverFailsClearlyWithoutThePassword) {
  for (const char* text : {"DSN=orv_no_such_dsn;UID=u;PWD=Segreto99",
                           "Driver={No Such Driver};Server=127.0.0.1;PWD=Segreto99",
                           "Server=127.0.0.1;Port=1;Database=erp;User ID=u;Password=Segreto99"}) {
    auto connection = Connection::Create();
    try {
      connection->Open(text);
      FAIL() << "opened " << text;
    } catch (const DbError& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.find("Segreto99"), std::string::npos) << what;
      EXPECT_NE(what.find("Cannot connect through ODBC"), std::string::npos) << what;
      ASSERT_FALSE(connection->Errors().empty()) << text;
      for (const auto& m : connection->Errors()) {
        EXPECT_EQ(m.description.find("Segreto99"), std::string::npos) << m.description;
      }
    }
    EXPECT_FALSE(connection->IsOpen());
    EXPECT_EQ(connection->RedactedConnectionString().find("Segreto99"), std::string::npos);
  }
}

#endif  // ORV_HAVE_ODBC

}  // namespace
}  // namespace orv::db
