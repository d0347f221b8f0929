#include "db/field.h"

#include <gtest/gtest.h>

#include "db/db_error.h"

namespace orv::db {
namespace {

FieldInfo MakeField(DataType type, int32_t size, bool nullable = true) {
  FieldInfo f;
  f.name = "F";
  f.type = type;
  f.defined_size = size;
  f.nullable = nullable;
  return f;
}

TEST(FieldTest, FixedTextIsPaddedToItsSize) {
  EXPECT_EQ(CoerceToField(MakeField(DataType::kChar, 5), Value("ab")), Value("ab   "));
  EXPECT_EQ(CoerceToField(MakeField(DataType::kWChar, 3), Value("abc")), Value("abc"));
  // Numbers become text first; accented letters count as one character.
  EXPECT_EQ(CoerceToField(MakeField(DataType::kChar, 4), Value(12)), Value("12  "));
  EXPECT_EQ(CoerceToField(MakeField(DataType::kChar, 4), Value("però")), Value("però"));
  EXPECT_EQ(CoerceToField(MakeField(DataType::kVarChar, 5), Value("ab")), Value("ab"));
}

TEST(FieldTest, TooLongTextAndNullInRequiredFieldAreRefused) {
  try {
    CoerceToField(MakeField(DataType::kChar, 2), Value("abc"));
    FAIL() << "three characters fit in a field of two";
  } catch (const DbError& e) {
    EXPECT_EQ(e.number(), kErrFieldValue);
  }
  EXPECT_THROW(CoerceToField(MakeField(DataType::kVarChar, 2), Value("abc")), DbError);
  EXPECT_THROW(CoerceToField(MakeField(DataType::kInteger, 0, false), Value::Null()), DbError);
  EXPECT_EQ(CoerceToField(MakeField(DataType::kInteger, 0), Value::Null()), Value::Null());
  EXPECT_EQ(CoerceToField(MakeField(DataType::kInteger, 0), Value()), Value::Null());
}

TEST(FieldTest, NumbersConvertToTheFieldType) {
  EXPECT_EQ(CoerceToField(MakeField(DataType::kInteger, 0), Value("  41 ")), Value(41));
  EXPECT_EQ(CoerceToField(MakeField(DataType::kInteger, 0), Value(2.5)), Value(2));
  EXPECT_EQ(CoerceToField(MakeField(DataType::kDouble, 0), Value(3)), Value(3.0));
  EXPECT_EQ(CoerceToField(MakeField(DataType::kBoolean, 0), Value(-1)), Value(true));
  EXPECT_EQ(CoerceToField(MakeField(DataType::kVariant, 0), Value("x")), Value("x"));
  EXPECT_THROW(CoerceToField(MakeField(DataType::kSmallInt, 0), Value(40000)), ConversionError);
  EXPECT_THROW(CoerceToField(MakeField(DataType::kInteger, 0), Value("x")), ConversionError);
}

}  // namespace
}  // namespace orv::db
