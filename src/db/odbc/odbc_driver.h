#ifndef ORV_DB_ODBC_ODBC_DRIVER_H_
#define ORV_DB_ODBC_ODBC_DRIVER_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection_string.h"
#include "db/driver.h"

namespace orv::db::odbc {

// The server driver: the host's own database through unixODBC (SQL Server
// through FreeTDS or the vendor's ODBC driver). Statements are passed as
// they are, since the server speaks the host dialect; every result is read
// in full before Execute returns. Stored procedures are described with
// SQLProcedureColumns and called with "{CALL name(?, ...)}".
//
// The ODBC handles are private to odbc_driver.cc so that no ODBC header
// leaks out of this folder.
class OdbcDriver : public Driver {
 public:
  // Connects with SQLDriverConnect (no prompt). ADO-style keys are accepted
  // too: Provider= is dropped, "Data Source" becomes Server, "Initial
  // Catalog" Database, "User ID" UID and Password PWD; without Driver= or
  // DSN= the driver named by $ORV_ODBC_DRIVER (default FreeTDS) is used.
  // Throws DbError with the driver manager's messages; never shows the
  // password. On SQL Server, switches NOCOUNT off for the session: the
  // batch update of a recordset relies on the row count of each statement.
  explicit OdbcDriver(const ConnectionString& connection_string);
  ~OdbcDriver() override;

  std::vector<ResultSet> Execute(std::string_view sql, int32_t timeout_seconds) override;
  // The values go to the server beside the text (SQLBindParameter), one per
  // ? marker: the server reuses its plan for the text whatever the values.
  std::vector<ResultSet> Execute(std::string_view sql, const std::vector<Value>& values,
                                 int32_t timeout_seconds) override;
  std::vector<ParameterInfo> DescribeProcedure(std::string_view name) override;
  std::vector<ResultSet> ExecuteProcedure(std::string_view name,
                                          const std::vector<ParameterInfo>& params,
                                          const std::vector<Value>& values,
                                          int32_t timeout_seconds) override;
  void BeginTransaction() override;
  void CommitTransaction() override;
  void RollbackTransaction() override;
  bool InTransaction() const override;
  void Savepoint(const std::string& name) override;
  void ReleaseSavepoint(const std::string& name) override;
  void RollbackToSavepoint(const std::string& name) override;
  std::string Name() const override { return "ODBC"; }
  // The server product as the driver names it (SQL_DBMS_NAME).
  std::string DbmsName() const;

  // The connection string handed to the driver manager, from an ADO- or
  // ODBC-style one (exposed for tests; still holds the password).
  static ConnectionString ToOdbc(const ConnectionString& connection_string);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

std::unique_ptr<Driver> OpenOdbcDriver(const ConnectionString& connection_string);

}  // namespace orv::db::odbc

#endif  // ORV_DB_ODBC_ODBC_DRIVER_H_
