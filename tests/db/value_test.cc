#include "db/value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "db/db_error.h"
#include "db/sql_literal.h"

namespace orv::db {
namespace {

TEST(ValueTest, ToTextPrintsNumbersAsPlainDecimalText) {
  struct Case {
    Value in;
    std::string want;
  };
  const std::vector<Case> cases = {
      {Value(), ""},
      {Value(0), "0"},
      {Value(int64_t{-42}), "-42"},
      {Value(int64_t{9007199254740993}), "9007199254740993"},
      {Value(1.5), "1.5"},
      {Value(3.0), "3"},
      {Value(-0.0), "0"},
      {Value(0.1), "0.1"},
      {Value(1.0 / 3.0), "0.333333333333333"},
      {Value(123456789012.25), "123456789012.25"},
      {Value(1e20), "1E+20"},
      {Value(0.00001), "1E-05"},
      {Value(true), "True"},
      {Value(false), "False"},
      {Value("abc "), "abc "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.in.ToText(), c.want) << c.in.DebugString();
  }
}

TEST(ValueTest, IntegerConversionsRoundHalfToEven) {
  struct Case {
    Value in;
    int32_t want;
  };
  const std::vector<Case> cases = {
      {Value(0.5), 0},      {Value(1.5), 2},       {Value(2.5), 2},
      {Value(-2.5), -2},    {Value(-3.5), -4},     {Value(2.4999), 2},
      {Value(2.6), 3},      {Value("  12  "), 12}, {Value("2.5"), 2},
      {Value("3.5"), 4},    {Value("-7"), -7},     {Value("+7"), 7},
      {Value("1e3"), 1000}, {Value(true), -1},     {Value(false), 0},
      {Value(), 0},         {Value("\t5"), 5},     {Value(int64_t{2147483647}), 2147483647},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.in.ToInt32(), c.want) << c.in.DebugString();
  }
  EXPECT_EQ(Value(32767.4).ToInt16(), 32767);
  EXPECT_EQ(Value("-32768").ToInt16(), -32768);
  EXPECT_EQ(Value(int64_t{1} << 40).ToInt64(), int64_t{1} << 40);
}

int64_t ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ConversionError& e) {
    return e.number();
  }
  return 0;
}

TEST(ValueTest, IntegerConversionsFailOnOverflowTextAndNull) {
  struct Case {
    Value in;
    bool sixteen;  // ToInt16 instead of ToInt32
    int64_t want_error;
  };
  const std::vector<Case> cases = {
      {Value(32768), true, kErrOverflow},
      {Value(-32769), true, kErrOverflow},
      {Value(32767.5), true, kErrOverflow},  // rounds to 32768
      {Value("40000"), true, kErrOverflow},
      {Value(int64_t{2147483648}), false, kErrOverflow},
      {Value(-2147483648.6), false, kErrOverflow},
      {Value("99999999999"), false, kErrOverflow},
      {Value(1e300), false, kErrOverflow},
      {Value("abc"), false, kErrTypeMismatch},
      {Value(""), false, kErrTypeMismatch},
      {Value("   "), false, kErrTypeMismatch},
      {Value("12abc"), false, kErrTypeMismatch},
      {Value("1.2.3"), true, kErrTypeMismatch},
      {Value("."), true, kErrTypeMismatch},
      {Value::Null(), false, kErrInvalidNull},
      {Value::Null(), true, kErrInvalidNull},
  };
  for (const auto& c : cases) {
    const int64_t got = ErrorNumberOf([&] {
      if (c.sixteen) {
        c.in.ToInt16();
      } else {
        c.in.ToInt32();
      }
    });
    EXPECT_EQ(got, c.want_error) << c.in.DebugString() << (c.sixteen ? " as int16" : " as int32");
  }
  EXPECT_EQ(ErrorNumberOf([] { Value::Null().ToText(); }), kErrInvalidNull);
  EXPECT_EQ(ErrorNumberOf([] { Value::Null().ToDouble(); }), kErrInvalidNull);
  EXPECT_EQ(ErrorNumberOf([] { Value("x").ToDouble(); }), kErrTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { Value("maybe").ToBool(); }), kErrTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { Value(1).AsText(); }), kErrTypeMismatch);
}

TEST(ValueTest, DoubleBoolAndNumericTests) {
  EXPECT_DOUBLE_EQ(Value(" 1.25 ").ToDouble(), 1.25);
  EXPECT_DOUBLE_EQ(Value(int64_t{7}).ToDouble(), 7.0);
  EXPECT_TRUE(Value(" true ").ToBool());
  EXPECT_FALSE(Value("FALSE").ToBool());
  EXPECT_TRUE(Value("2").ToBool());
  EXPECT_FALSE(Value(0.0).ToBool());
  EXPECT_TRUE(Value(" 12 ").IsNumeric());
  EXPECT_TRUE(Value(1.5).IsNumeric());
  EXPECT_FALSE(Value("1,5").IsNumeric());
  EXPECT_FALSE(Value("").IsNumeric());
  EXPECT_FALSE(Value::Null().IsNumeric());
}

TEST(ValueTest, EveryIntegerTypeBecomesAnInteger) {
  EXPECT_EQ(Value(size_t{3}), Value(3));
  EXPECT_EQ(Value(7LL), Value(7));
  EXPECT_EQ(Value(static_cast<int16_t>(-2)), Value(-2));
  EXPECT_EQ(Value(4u).type(), Value::Type::kInt);
  EXPECT_EQ(Value(true).type(), Value::Type::kBool);
}

TEST(ValueTest, EqualityIsByTypeAndContent) {
  EXPECT_EQ(Value(), Value::Empty());
  EXPECT_EQ(Value::Null(), Value::Null());
  EXPECT_NE(Value(), Value::Null());
  EXPECT_NE(Value(1), Value(1.0));
  EXPECT_NE(Value(1), Value("1"));
  EXPECT_EQ(Value("a"), Value(std::string("a")));
}

// Rows are made again and again over the values of earlier rows: whatever
// a slot held before, it must end up equal to what was written or traded.
TEST(ValueTest, SettersAndTradeGiveTheValueWhateverTheSlotHeld) {
  const std::vector<Value> kinds = {Value(),
                                    Value::Null(),
                                    Value(-4),
                                    Value(2.5),
                                    Value(true),
                                    Value("short"),
                                    Value(std::string(40, 'L'))};
  for (const Value& before : kinds) {
    Value slot = before;
    slot.SetInt(42);
    EXPECT_EQ(slot, Value(42)) << before.DebugString();
    slot = before;
    slot.SetDecimal(-0.5);
    EXPECT_EQ(slot, Value(-0.5)) << before.DebugString();
    slot = before;
    slot.SetBool(false);
    EXPECT_EQ(slot, Value(false)) << before.DebugString();
    slot = before;
    slot.SetNull();
    EXPECT_TRUE(slot.IsNull()) << before.DebugString();
    slot = before;
    slot.TextInPlace() = "in place";
    EXPECT_EQ(slot, Value("in place")) << before.DebugString();
    for (const Value& written : kinds) {
      Value from = written;
      Value to = before;
      TradeInto(from, to);
      EXPECT_EQ(to, written) << before.DebugString() << " <- " << written.DebugString();
      // A text leaves `from` holding the text `to` had, or an empty one.
      if (written.type() == Value::Type::kText) {
        EXPECT_EQ(from.type(), Value::Type::kText);
        if (before.type() == Value::Type::kText) {
          EXPECT_EQ(from, before);
        }
      }
    }
  }
}

TEST(ValueTest, TrimRemovesSpacesOnly) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(LTrim("  a b  "), "a b  ");
  EXPECT_EQ(RTrim("  a b  "), "  a b");
  EXPECT_EQ(Trim("\ta\t"), "\ta\t");
  EXPECT_EQ(Trim("    "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim(" x"), "x");
  EXPECT_EQ(Trim("x "), "x");
  // The view points into the text it trims.
  const std::string text = "  key  ";
  const std::string_view view = TrimView(text);
  EXPECT_EQ(view, "key");
  EXPECT_EQ(view.data(), text.data() + 2);
  EXPECT_TRUE(TrimView("   ").empty());
}

// The one place quotes are doubled: every statement builder writes its text
// values through these.
TEST(SqlLiteralTest, QuotesAreDoubledAndValuesWrittenAsLiterals) {
  EXPECT_EQ(SqlEscape("D'Angelo"), "D''Angelo");
  EXPECT_EQ(SqlEscape("''"), "''''");
  EXPECT_EQ(SqlQuote("a''b"), "'a''''b'");
  EXPECT_EQ(SqlQuote(""), "''");
  EXPECT_EQ(SqlLiteral(Value("l'uno")), "'l''uno'");
  EXPECT_EQ(SqlLiteral(Value::Null()), "NULL");
  EXPECT_EQ(SqlLiteral(Value(int64_t{-7})), "-7");
}

}  // namespace
}  // namespace orv::db
