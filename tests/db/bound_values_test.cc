// Statements whose values are bound to ? markers instead of written into
// their text: through Connection::Execute and Command, on the embedded
// engine with the host's dialect, and as traces write them.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "db/command.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset_text.h"
#include "db/sql_literal.h"
#include "db/statement_trace.h"

namespace orv::db {
namespace {

using testing::ErrorNumber;
using testing::Rows;

class BoundValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cn_->Open("Database=:memory:");
    cn_->Execute(
        "CREATE TABLE ART (CODE VARCHAR(20) NOT NULL PRIMARY KEY, DESCR VARCHAR(40) NULL, "
        "QTY INT NULL, PRICE FLOAT NULL)",
        nullptr, kAdExecuteNoRecords);
  }
  std::string Table() {
    return Rows(*cn_->Execute("SELECT CODE, DESCR, QTY, PRICE FROM ART ORDER BY CODE"));
  }
  static constexpr const char* kInsert =
      "INSERT INTO ART (CODE, DESCR, QTY, PRICE) VALUES (?, ?, ?, ?)";
  std::shared_ptr<Connection> cn_ = Connection::Create();
};

TEST_F(BoundValuesTest, ValuesArriveAsTheyAreQuotesNullsAndNumbersIncluded) {
  int64_t affected = -1;
  cn_->Execute(kInsert, {Value("O'Brien"), Value("it's -- not a comment"), Value(3), Value(2.5)},
               &affected, kAdExecuteNoRecords);
  EXPECT_EQ(affected, 1);
  cn_->Execute(kInsert, {Value("B"), Value::Null(), Value(), Value(true)});
  EXPECT_EQ(Table(), "B|<null>|<null>|1;O'Brien|it's -- not a comment|3|2.5");
  // A marker in a comparison, and a ? inside a literal or a quoted name is
  // text, not a marker.
  auto rs =
      cn_->Execute("SELECT '?' AS [Q?], DESCR FROM ART WHERE CODE = ? /* ? */", {Value("O'Brien")});
  EXPECT_EQ(Rows(*rs), "?|it's -- not a comment");
  EXPECT_EQ(rs->FieldAt(0).name, "Q?");
  // The host compares text without regard to case, bound or not.
  EXPECT_EQ(Rows(*cn_->Execute("SELECT COUNT(*) FROM ART WHERE CODE = ?", {Value("o'brien")})),
            "1");
}

TEST_F(BoundValuesTest, OneTextRunsAgainWithOtherValuesWithoutKeepingTheOldOnes) {
  const std::string select = "SELECT CODE FROM ART WHERE QTY = ? OR DESCR = ? ORDER BY CODE";
  for (int i = 0; i < 5; ++i) {
    cn_->Execute(kInsert, {Value("C" + std::to_string(i)), Value("d" + std::to_string(i % 2)),
                           Value(i), Value::Null()});
  }
  EXPECT_EQ(Rows(*cn_->Execute(select, {Value(4), Value("d0")})), "C0;C2;C4");
  // The same prepared statement: a NULL now where a value was before.
  EXPECT_EQ(Rows(*cn_->Execute(select, {Value(1), Value::Null()})), "C1");
  EXPECT_EQ(Rows(*cn_->Execute(select, {Value::Null(), Value("d1")})), "C1;C3");
  // Markers count across the statements of a batch; each reads its own.
  auto rs =
      cn_->Execute("UPDATE ART SET QTY = ? WHERE CODE = ?; SELECT QTY FROM ART WHERE CODE = ?",
                   {Value(40), Value("C3"), Value("C3")});
  EXPECT_FALSE(rs->IsOpen());
  EXPECT_EQ(Rows(*cn_->NextRecordset()), "40");
  // The markers of a derived table of constants (a UNION ALL of SELECTs).
  int64_t inserted = -1;
  cn_->Execute(
      "INSERT INTO ART (CODE, QTY) SELECT V.CODE, ? FROM (SELECT ? AS CODE UNION ALL SELECT ? "
      "UNION ALL SELECT ?) AS V WHERE NOT EXISTS (SELECT 1 FROM ART A WHERE A.CODE = V.CODE)",
      {Value(7), Value("c1"), Value("N1"), Value("N2")}, &inserted);
  EXPECT_EQ(inserted, 2);  // c1 is C1 to the host
  EXPECT_EQ(Rows(*cn_->Execute("SELECT CODE, QTY FROM ART WHERE QTY = 7 ORDER BY CODE")),
            "N1|7;N2|7");
}

TEST_F(BoundValuesTest, WrongCountsAndFailuresAreToldAndLeaveTheTransactionUsable) {
  cn_->BeginTrans();
  cn_->Execute(kInsert, {Value("A"), Value("one"), Value(1), Value::Null()});
  // Too few and too many values, and values for text without markers.
  for (const std::vector<Value>& values :
       {std::vector<Value>{Value("A")}, std::vector<Value>(5, Value(1))}) {
    EXPECT_NE(ErrorNumber([&] { cn_->Execute(kInsert, values); }), 0);
    ASSERT_FALSE(cn_->Errors().empty());
    EXPECT_NE(cn_->Errors().front().description.find("parameter markers"), std::string::npos)
        << cn_->Errors().front().description;
  }
  EXPECT_NE(ErrorNumber([&] { cn_->Execute("SELECT 1", {Value(1)}); }), 0);
  // A marker in text run without values.
  EXPECT_NE(ErrorNumber([&] { cn_->Execute("SELECT CODE FROM ART WHERE CODE = ?"); }), 0);
  // The key taken already: the statement fails, the transaction stays.
  EXPECT_NE(ErrorNumber([&] {
              cn_->Execute(kInsert, {Value("a"), Value("dup"), Value(2), Value::Null()});
            }),
            0);
  EXPECT_FALSE(cn_->Errors().empty());
  EXPECT_TRUE(cn_->InTransaction());
  cn_->Execute(kInsert, {Value("B"), Value("two"), Value(2), Value::Null()});
  cn_->CommitTrans();
  EXPECT_EQ(Table(), "A|one|1|<null>;B|two|2|<null>");
}

TEST_F(BoundValuesTest, CommandBindsItsAppendedParametersToText) {
  Command cmd;
  cmd.ActiveConnection = cn_;
  cmd.CommandText = kInsert;
  for (const Value& v : {Value("K'1"), Value("k"), Value(9), Value(0.25)}) {
    cmd.Parameters().push_back(Parameter{ParameterInfo{}, v});
  }
  cmd.Execute(nullptr, kAdExecuteNoRecords);
  cmd.Parameters()[0].value = Value("K2");
  cmd.Parameters()[1].value = Value::Null();
  cmd.Execute(nullptr, kAdExecuteNoRecords);
  EXPECT_EQ(Table(), "K'1|k|9|0.25;K2|<null>|9|0.25");
}

TEST_F(BoundValuesTest, TracesWriteTheValuesInPlaceOfTheMarkers) {
  std::ostringstream full;
  std::ostringstream distinct;
  cn_->SetStatementObserver(std::make_shared<StatementTrace>(&full, &distinct), "t");
  cn_->Execute(kInsert, {Value("it's"), Value::Null(), Value(-4), Value(true)});
  cn_->SetStatementObserver(nullptr);
  EXPECT_EQ(distinct.str(),
            "INSERT INTO ART (CODE, DESCR, QTY, PRICE) VALUES ('it''s', NULL, -4, 1)\nGO\n");
  EXPECT_NE(full.str().find("1 row affected\nINSERT INTO ART"), std::string::npos) << full.str();

  // Only markers outside literals, quoted names and comments; a marker
  // without a value stays.
  EXPECT_EQ(SqlWithValues("SELECT '?''?', [a]]?], \"?\", ? -- ?\n, ? /* ? */ , ?",
                          {Value("x"), Value(2)}),
            "SELECT '?''?', [a]]?], \"?\", 'x' -- ?\n, 2 /* ? */ , ?");
}

}  // namespace
}  // namespace orv::db
