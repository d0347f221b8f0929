#include "db/filter_expression.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/db_error.h"

namespace orv::db {
namespace {

TEST(FilterExpressionTest, ParsesIntoCanonicalForm) {
  struct Case {
    const char* criteria;
    const char* want;
  };
  const std::vector<Case> cases = {
      {"A = 'x'", "A = 'x'"},
      {"a='it''s'", "a = 'it's'"},
      {"A = 1 AND B = 2 OR C = 3", "((A = 1 AND B = 2) OR C = 3)"},
      {"A = 1 OR B = 2 AND C = 3", "(A = 1 OR (B = 2 AND C = 3))"},
      {"A = 1 and (B = 2 or C = 3)", "(A = 1 AND (B = 2 OR C = 3))"},
      {" FW31_ID_FW07 =  NULL AND FW31_ID_FW06 = 5", "(FW31_ID_FW07 IS NULL AND FW31_ID_FW06 = 5)"},
      {"X <> null", "X IS NOT NULL"},
      {"N >= -1.5e2 AND N <= $10 AND N < 3 AND N > .5",
       "(N >= -150 AND N <= 10 AND N < 3 AND N > 0.5)"},
      {"D = #2024-01-31#", "D = '2024-01-31'"},
      {"[Ship Name] like 'a*'", "Ship Name LIKE 'a*'"},
      {"B = true OR B = FALSE", "(B = true OR B = false)"},
      {"((A = 1))", "A = 1"},
      {"ORDINE = 1 AND ANDATA = 2", "(ORDINE = 1 AND ANDATA = 2)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilterExpression::Parse(c.criteria).DebugString(), c.want) << c.criteria;
  }
}

TEST(FilterExpressionTest, BadCriteriaNameThePosition) {
  struct Case {
    const char* criteria;
    const char* position;  // "position N" expected in the message
  };
  const std::vector<Case> cases = {
      {"", "position 1"},           {"A = 'abc", "position 5"},  // the opening quote
      {"A = 1 AND", "position 10"},                              // end of text
      {"(A = 1", "position 1"},                                  // the unclosed parenthesis
      {"A = 1)", "position 6"},     {"A 1", "position 3"},       // missing operator
      {"A = ", "position 5"},       {"A = B", "position 5"},     // a name is not a value
      {"A < NULL", "position 3"},                                // NULL only with = and <>
      {"A LIKE 5", "position 8"},   {"A = 1 B = 2", "position 7"}, {"A = 12x", "position 5"},
      {"= 1", "position 1"},        {"[A = 1", "position 1"},      {"A = #2024", "position 5"},
      {"AND = 1", "position 1"},
  };
  for (const auto& c : cases) {
    try {
      FilterExpression::Parse(c.criteria);
      ADD_FAILURE() << "accepted: " << c.criteria;
    } catch (const DbError& e) {
      EXPECT_EQ(e.number(), kErrBadArgument) << c.criteria;
      EXPECT_NE(std::string(e.what()).find(c.position), std::string::npos)
          << c.criteria << " -> " << e.what();
    }
  }
}

TEST(FilterExpressionTest, NestingIsBounded) {
  std::string deep(FilterExpression::kMaxDepth + 1, '(');
  deep += "A = 1";
  deep += std::string(FilterExpression::kMaxDepth + 1, ')');
  EXPECT_THROW(FilterExpression::Parse(deep), DbError);
  std::string ok(FilterExpression::kMaxDepth, '(');
  ok += "A = 1";
  ok += std::string(FilterExpression::kMaxDepth, ')');
  EXPECT_EQ(FilterExpression::Parse(ok).DebugString(), "A = 1");
}

class FilterMatchTest : public ::testing::Test {
 protected:
  FilterMatchTest() {
    for (const char* name : {"CODE", "N", "FLAG", "NOTE"}) {
      FieldInfo f;
      f.name = name;
      fields_.push_back(f);
    }
  }
  bool Matches(const char* criteria, std::vector<Value> row) {
    FilterExpression e = FilterExpression::Parse(criteria);
    e.Bind(fields_);
    return e.Matches(row);
  }
  std::vector<FieldInfo> fields_;
};

TEST_F(FilterMatchTest, TextComparesWithoutCaseAndTrailingBlanks) {
  const std::vector<Value> row = {Value("Abc  "), Value(5), Value(true), Value::Null()};
  EXPECT_TRUE(Matches("code = 'ABC'", row));
  EXPECT_TRUE(Matches("CODE <> 'abd'", row));
  EXPECT_TRUE(Matches("CODE < 'abd'", row));
  EXPECT_TRUE(Matches("CODE >= 'ABC'", row));
  EXPECT_FALSE(Matches("CODE > 'abc'", row));
  EXPECT_FALSE(Matches("CODE = ' abc'", row));
  EXPECT_TRUE(Matches("CODE LIKE 'a*'", row));
  EXPECT_TRUE(Matches("CODE LIKE '%BC'", row));
  EXPECT_TRUE(Matches("CODE LIKE '*b*'", row));
  EXPECT_FALSE(Matches("CODE LIKE 'b*'", row));
  EXPECT_TRUE(Matches("CODE LIKE 'abc'", row));
  EXPECT_FALSE(Matches("CODE LIKE 'ab'", row));
}

TEST_F(FilterMatchTest, QuoteInsideAStringIsMatched) {
  EXPECT_TRUE(Matches("CODE = 'l''uno'", {Value("L'UNO"), Value(1), Value(false), Value()}));
  EXPECT_FALSE(Matches("CODE = 'l''uno'", {Value("luno"), Value(1), Value(false), Value()}));
}

TEST_F(FilterMatchTest, NullTestsAndComparisonsWithNull) {
  const std::vector<Value> row = {Value("a"), Value::Null(), Value(false), Value()};
  EXPECT_TRUE(Matches("N = NULL", row));
  EXPECT_FALSE(Matches("N <> NULL", row));
  EXPECT_TRUE(Matches("NOTE = NULL", row));  // Empty reads as NULL
  EXPECT_TRUE(Matches("CODE <> NULL", row));
  EXPECT_FALSE(Matches("N = 0", row));
  EXPECT_FALSE(Matches("N <> 0", row));  // a NULL field fails every comparison
  EXPECT_FALSE(Matches("N LIKE '*'", row));
}

TEST_F(FilterMatchTest, NumbersCompareNumericallyIncludingNumericText) {
  EXPECT_TRUE(Matches("N = 5", {Value("x"), Value(5), Value(true), Value()}));
  EXPECT_TRUE(Matches("N = 5", {Value("x"), Value(5.0), Value(true), Value()}));
  EXPECT_TRUE(Matches("N < 10", {Value("x"), Value(9), Value(true), Value()}));
  EXPECT_TRUE(Matches("CODE = 10", {Value(" 10"), Value(5), Value(true), Value()}));
  EXPECT_TRUE(Matches("CODE > 9", {Value("10"), Value(5), Value(true), Value()}));  // not as text
  EXPECT_TRUE(Matches("N = '5'", {Value("x"), Value(5), Value(true), Value()}));
  EXPECT_TRUE(Matches("FLAG = TRUE", {Value("x"), Value(5), Value(true), Value()}));
  EXPECT_TRUE(Matches("FLAG = -1", {Value("x"), Value(5), Value(true), Value()}));
  EXPECT_TRUE(Matches("FLAG = 'False'", {Value("x"), Value(5), Value(false), Value()}));
}

TEST_F(FilterMatchTest, EveryOperatorAtItsBoundary) {
  // N = 5 against bounds just below, at and just above it, for numbers and
  // for text: an operator that includes or excludes its bound wrongly fails.
  struct Case {
    const char* criteria;
    bool matches;
  };
  const Case cases[] = {
      {"N <= 5", true},      {"N <= 4", false},      {"N >= 5", true},      {"N >= 6", false},
      {"N < 5", false},      {"N < 6", true},        {"N > 5", false},      {"N > 4", true},
      {"N = 5", true},       {"N <> 5", false},      {"CODE <= 'm'", true}, {"CODE <= 'l'", false},
      {"CODE >= 'm'", true}, {"CODE >= 'n'", false}, {"CODE < 'm'", false}, {"CODE > 'm'", false},
  };
  const std::vector<Value> row = {Value("M"), Value(5), Value(true), Value()};
  for (const Case& c : cases) EXPECT_EQ(Matches(c.criteria, row), c.matches) << c.criteria;
}

TEST_F(FilterMatchTest, AndBindsTighterThanOr) {
  // A OR B AND C: true when A alone holds, even if C fails.
  const std::vector<Value> row = {Value("a"), Value(1), Value(false), Value("n")};
  EXPECT_TRUE(Matches("CODE = 'a' OR N = 2 AND NOTE = 'zz'", row));
  EXPECT_FALSE(Matches("(CODE = 'a' OR N = 2) AND NOTE = 'zz'", row));
  EXPECT_TRUE(Matches("NOTE = 'zz' AND N = 2 OR CODE = 'a'", row));
  EXPECT_FALSE(Matches("NOTE = 'zz' AND (N = 2 OR CODE = 'a')", row));
}

TEST_F(FilterMatchTest, UnknownFieldFailsAtBind) {
  FilterExpression e = FilterExpression::Parse("MISSING = 1");
  EXPECT_THROW(e.Bind(fields_), DbError);
}

TEST(FilterLikeMatchTest, Wildcards) {
  EXPECT_TRUE(FilterLikeMatch("", "*"));
  EXPECT_TRUE(FilterLikeMatch("abcabd", "*abd"));
  EXPECT_TRUE(FilterLikeMatch("aXbXc", "a*b*c"));
  EXPECT_FALSE(FilterLikeMatch("aXbXd", "a*b*c"));
  EXPECT_FALSE(FilterLikeMatch("abc", "abc_"));
  EXPECT_TRUE(FilterLikeMatch("a_c", "a_c"));
}

}  // namespace
}  // namespace orv::db
