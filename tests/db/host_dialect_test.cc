// The data layer over the embedded engine speaking the host's dialect: the
// batches and the node work table as the editor uses them.
#include <gtest/gtest.h>

#include <string>

#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "db/recordset_text.h"

namespace orv::db {
namespace {

using testing::Rows;

class HostDialectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection_->Open("Database=:memory:");
    connection_->Execute(
        "CREATE TABLE PD0C_NODO (PD0C_DITTA_CG18 INT, PD0C_CODPROG_PD68 VARCHAR(25), "
        "PD0C_CODNODO VARCHAR(25), PD0C_DESCR VARCHAR(60))");
    connection_->Execute(
        "INSERT INTO PD0C_NODO VALUES (1, 'P1', 'N1', 'Nodo uno'), (1, 'P1', 'N2', 'L''altro'),"
        " (1, 'P2', 'N1', NULL)");
  }
  void TearDown() override {
    connection_->Execute(
        "if object_id('tempdb..##tempTdbcore') is not null BEGIN DROP TABLE ##tempTdbcore END");
  }

  std::shared_ptr<Connection> connection_ = Connection::Create();
};

TEST_F(HostDialectTest, BatchOfSelectsGivesOneResultEachInOrder) {
  auto first = connection_->Execute(
      "SELECT TOP 1 PD0C_CODNODO FROM PD0C_NODO ORDER BY PD0C_CODNODO DESC;\r\n"
      "select count(*) AS N from PD0C_NODO where PD0C_CODPROG_PD68 = 'p1';\r\n"
      "SELECT ISNULL(PD0C_DESCR, '-') + ' (' + PD0C_CODNODO + ')' AS D FROM PD0C_NODO "
      "ORDER BY PD0C_CODPROG_PD68, PD0C_CODNODO");
  EXPECT_EQ(Rows(*first), "N2");
  auto second = connection_->NextRecordset();
  ASSERT_TRUE(second);
  EXPECT_EQ(Rows(*second), "2");
  auto third = connection_->NextRecordset();
  ASSERT_TRUE(third);
  EXPECT_EQ(Rows(*third), "Nodo uno (N1);L'altro (N2);- (N1)");
  EXPECT_EQ(connection_->NextRecordset(), nullptr);
}

TEST_F(HostDialectTest, WorkTableChangesGoBackInOneBatch) {
  connection_->Execute(
      " if object_id('tempdb..##tempTdbcore') is not null  BEGIN  DROP TABLE ##tempTdbcore END ");
  connection_->Execute(
      " select  \r\n     PD0C_CODNODO as CODICE,  \r\n     PD0C_CODPROG_PD68 as PROGETTO, \r\n"
      "     PD0C_DESCR as DESCRIZIONE, 0 AS INDTIPO, \r\n     1 AS ABILITATO, \r\n"
      "     0 AS INCLUSA, \r\n     PD0C_NODO.* into ##tempTdbcore\r\n from PD0C_NODO \r\n"
      " WHERE PD0C_DITTA_CG18 = 1");
  connection_->Execute(
      "update ##tempTdbcore set INCLUSA=1 where 1 = 1  AND PD0C_CODPROG_PD68 = 'P1'");

  Recordset rs;
  rs.Open("select * from ##tempTdbcore where INCLUSA=1 order by PROGETTO, CODICE", connection_);
  ASSERT_EQ(rs.RecordCount(), 2);
  rs.MoveLast();  // N2 of P1, the description with a quote
  rs.SetField("ABILITATO", Value(0));
  rs.Update();
  EXPECT_EQ(rs.PendingCount(), 1);
  rs.UpdateBatch();
  EXPECT_EQ(rs.PendingCount(), 0);

  auto check = connection_->Execute(
      "SELECT PROGETTO, CODICE, ABILITATO FROM ##tempTdbcore ORDER BY PROGETTO, CODICE");
  EXPECT_EQ(Rows(*check), "P1|N1|1;P1|N2|0;P2|N1|1");
  // A second connection sees the global temporary table and the change.
  auto other = Connection::Create();
  other->Open("Database=:memory:");
  EXPECT_EQ(Rows(*other->Execute("SELECT CODICE FROM ##tempTdbcore WHERE ABILITATO = 0")), "N2");
}

}  // namespace
}  // namespace orv::db
