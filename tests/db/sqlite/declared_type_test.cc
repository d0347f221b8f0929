#include "db/sqlite/declared_type.h"

#include <gtest/gtest.h>

namespace orv::db::sqlite {
namespace {

TEST(DeclaredTypeTest, HostTypesMapToClientTypesAndSizes) {
  struct Case {
    const char* text;
    DataType type;
    int32_t size;
  } cases[] = {
      {"VARCHAR(10)", DataType::kVarChar, 10},
      {"varchar ( 25 )", DataType::kVarChar, 25},
      {"NVARCHAR(40)", DataType::kVarWChar, 40},
      {"VARCHAR(MAX)", DataType::kLongVarChar, 0},
      {"CHAR(3)", DataType::kChar, 3},
      {"CHAR", DataType::kChar, 1},
      {"NCHAR(2)", DataType::kWChar, 2},
      {"TEXT", DataType::kVarChar, 0},
      {"INT", DataType::kInteger, 0},
      {"integer", DataType::kInteger, 0},
      {"SMALLINT", DataType::kSmallInt, 0},
      {"BIGINT", DataType::kBigInt, 0},
      {"BIT", DataType::kBoolean, 0},
      {"DECIMAL(18, 5)", DataType::kNumeric, 0},
      {"FLOAT", DataType::kDouble, 0},
      {"DATETIME", DataType::kDate, 0},
      {"UNIQUEIDENTIFIER", DataType::kVarChar, 38},
      {"", DataType::kVariant, 0},
      {"GEOGRAPHY", DataType::kVariant, 0},
  };
  for (const Case& c : cases) {
    const DeclaredType t = DeclaredType::Parse(c.text);
    EXPECT_EQ(t.type, c.type) << c.text;
    EXPECT_EQ(t.size, c.size) << c.text;
  }
}

}  // namespace
}  // namespace orv::db::sqlite
