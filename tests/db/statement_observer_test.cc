// The capture point of the data layer: every text statement and procedure
// call reaches the registered observers as the driver receives it.
#include "db/statement_observer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/command.h"
#include "db/connection.h"
#include "hostdb/temporary_demo_database.h"

namespace orv::db {
namespace {

class Keep : public StatementObserver {
 public:
  void OnStatement(const SentStatement& statement) override {
    seen.push_back(statement.HostText());
  }
  std::vector<std::string> seen;
};

TEST(StatementObserverTest, SeesTextAndProcedureCallsUntilRemoved) {
  hostdb::TemporaryDemoDatabase database;
  auto cn = database.Connect();
  Keep keep;
  StatementObserver::Add(&keep);
  StatementObserver::Add(&keep);  // once only
  const std::string select = "SELECT FW07_ID FROM FW07_APPUSER WHERE FW07_LOGIN = 'd''Amico'";
  cn->Execute(select);
  Command text;
  text.ActiveConnection = cn;
  text.CommandText = "SELECT 1";
  text.Execute();
  Command procedure;
  procedure.ActiveConnection = cn;
  procedure.CommandType = kAdCmdStoredProc;
  procedure.CommandText = "SPFW_ReloadListaCFRevocatiUtente";
  procedure.SetParameter("idutente", Value(2));
  procedure.Execute(nullptr, kAdExecuteNoRecords);
  cn->Execute("SPFW_ReloadListaCFRevocati", nullptr, kAdCmdStoredProc | kAdExecuteNoRecords);
  // A failing statement was still sent.
  EXPECT_THROW(cn->Execute("SELECT * FROM ORV_NO_SUCH_TABLE"), DbError);
  StatementObserver::Remove(&keep);
  cn->Execute("SELECT 2");
  EXPECT_EQ(keep.seen,
            (std::vector<std::string>{
                select, "SELECT 1", "EXEC SPFW_ReloadListaCFRevocatiUtente @idutente = 2",
                "EXEC SPFW_ReloadListaCFRevocati", "SELECT * FROM ORV_NO_SUCH_TABLE"}));
}

TEST(StatementObserverTest, ProcedureCallTextQuotesValuesAndLeavesOutOutputs) {
  const std::vector<ParameterInfo> params = {
      {"@codice", DataType::kVarChar, 10, ParameterDirection::kInput},
      {"@esito", DataType::kInteger, 0, ParameterDirection::kOutput},
      {"ditta", DataType::kInteger, 0, ParameterDirection::kInput},
      {"@nota", DataType::kVarChar, 10, ParameterDirection::kInputOutput}};
  const std::vector<Value> values = {Value("l'uno"), Value(5), Value(3), Value::Null()};
  SentStatement call{"dbo.SP_X", true, &params, &values};
  EXPECT_EQ(call.HostText(), "EXEC dbo.SP_X @codice = 'l''uno', @ditta = 3, @nota = NULL");
  SentStatement text{"SELECT 'x'"};
  EXPECT_EQ(text.HostText(), "SELECT 'x'");
}

}  // namespace
}  // namespace orv::db
