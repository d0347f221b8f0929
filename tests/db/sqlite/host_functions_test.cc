#include "db/sqlite/host_functions.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <regex>
#include <string>

namespace orv::db::sqlite {
namespace {

// A private memory database with the host functions, and a helper that reads
// one value (as text, "NULL" for NULL) or the error the statement raised.
class HostFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_TRUE(RegisterHostFunctions(db_));
  }
  void TearDown() override { sqlite3_close(db_); }

  void Exec(const std::string& sql) {
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << sql << ": " << (error ? error : "");
  }

  std::string Scalar(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      return std::string("prepare: ") + sqlite3_errmsg(db_);
    }
    std::string result;
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
      const int type = sqlite3_column_type(stmt, 0);
      if (type == SQLITE_NULL) {
        result = "NULL";
      } else {
        result = (type == SQLITE_INTEGER ? "int:"
                  : type == SQLITE_FLOAT ? "real:"
                                         : "text:") +
                 std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
      }
    } else if (rc == SQLITE_DONE) {
      result = "no row";
    } else {
      result = std::string("error: ") + sqlite3_errmsg(db_);
    }
    sqlite3_finalize(stmt);
    return result;
  }

  sqlite3* db_ = nullptr;
};

TEST(HostCiCompareTest, FoldsCaseAndIgnoresTrailingBlanks) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {
      {"A", "A ", 0},
      {"a", "A", 0},
      {"abc", "ABC   ", 0},
      {"", "   ", 0},
      {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89", 0},  // Été / éTÉ
      {"e", "\xC3\xA9", -1},                          // accents still count
      {" a", "a", -1},                                // leading blanks count
      {"a", "b", -1},
      {"B", "a", 1},
      {"ab", "abc", -1},
      {"_", "a", -1},                // punctuation sorts before letters
      {"\xC3\x97", "\xC3\xB7", -1},  // multiplication sign does not fold to division sign
      // Long codes that share their first bytes: folding picks up where the
      // bytes first differ, in or after the first eight.
      {"PRJ-0001-NODO-07", "PRJ-0001-NODO-08", -1},
      {"PRJ-0001-NODO-07", "PRJ-0001-nodo-07", 0},
      {"PRJ-0001x", "PRJ-0001Y", -1},
      {"PRJ-000", "prj-000", 0},
      {"PROGETTO-12345678", "PROGETTO-12345678  ", 0},
      {"PROGETTO-123456789", "PROGETTO-12345678", 1},
      {"abcdefg\xC3\x80", "abcdefg\xC3\xA0", 0},  // abcdefgÀ / abcdefgà: the lead byte is shared
      {"abcdefgh\xC3\x89z", "abcdefgh\xC3\xA9Z", 0},
      {"abcdefg\xC3\x80"
       "b",
       "abcdefg\xC3\xA0"
       "a",
       1},
  };
  for (const Case& c : cases) {
    const int got = HostCiCompare(c.a, c.b);
    EXPECT_EQ((got > 0) - (got < 0), c.sign) << "'" << c.a << "' vs '" << c.b << "'";
    const int back = HostCiCompare(c.b, c.a);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign) << "'" << c.b << "' vs '" << c.a << "'";
  }
}

TEST_F(HostFunctionsTest, CollationDrivesEqualityUniqueIndexAndGrouping) {
  Exec("CREATE TABLE t (code VARCHAR(10) COLLATE HOSTCI PRIMARY KEY, n INT)");
  Exec("INSERT INTO t VALUES ('abc', 1), ('X', 2)");
  EXPECT_EQ(Scalar("SELECT n FROM t WHERE code = 'ABC  '"), "int:1");
  EXPECT_EQ(Scalar("SELECT count(*) FROM t WHERE code IN ('x', 'y')"), "int:1");
  EXPECT_EQ(Scalar("SELECT 'A' = 'A ' COLLATE HOSTCI"), "int:1");
  EXPECT_EQ(Scalar("SELECT 'a' = 'A' COLLATE HOSTCI"), "int:1");
  EXPECT_EQ(Scalar("SELECT 'a' <> 'A' COLLATE HOSTCI"), "int:0");
  // The primary key's index uses the collation: a second 'ABC' is refused.
  char* error = nullptr;
  EXPECT_NE(sqlite3_exec(db_, "INSERT INTO t VALUES ('ABC ', 3)", nullptr, nullptr, &error),
            SQLITE_OK);
  EXPECT_NE(std::string(error ? error : "").find("UNIQUE"), std::string::npos);
  sqlite3_free(error);
  Exec("CREATE TABLE g (name TEXT COLLATE HOSTCI)");
  Exec("INSERT INTO g VALUES ('Rossi'), ('ROSSI '), ('rossi'), ('Bianchi')");
  EXPECT_EQ(Scalar("SELECT count(*) FROM (SELECT name FROM g GROUP BY name)"), "int:2");
  EXPECT_EQ(Scalar("SELECT count(DISTINCT name) FROM g"), "int:2");
  EXPECT_EQ(Scalar("SELECT count(*) FROM (SELECT name FROM g UNION SELECT 'BIANCHI')"), "int:2");
}

TEST_F(HostFunctionsTest, PlannerSearchesTheCollatedIndex) {
  Exec("CREATE TABLE t (code VARCHAR(10) COLLATE HOSTCI PRIMARY KEY, n INT)");
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db_, "EXPLAIN QUERY PLAN SELECT n FROM t WHERE code = 'abc'", -1,
                               &stmt, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  const std::string detail = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3));
  sqlite3_finalize(stmt);
  EXPECT_NE(detail.find("USING INDEX"), std::string::npos) << detail;
}

TEST_F(HostFunctionsTest, TsqlAddFollowsTheHostOperator) {
  struct Case {
    const char* expr;
    const char* expected;
  } cases[] = {
      {"tsql_add('ab', 'cd')", "text:abcd"},
      {"tsql_add('1', '2')", "text:12"},  // text + text concatenates, even digits
      {"tsql_add(1, 2)", "int:3"},
      {"tsql_add(1.5, 2)", "real:3.5"},
      {"tsql_add(NULL, 'x')", "NULL"},
      {"tsql_add(1, NULL)", "NULL"},
      {"tsql_add(1, ' 41 ')", "int:42"},  // numeric text converts
      {"tsql_add('-2', 5)", "int:3"},
      {"tsql_add(1.5, '2.25')", "real:3.75"},
      {"tsql_add(1, 'x')",
       "error: Conversion failed when converting the varchar value 'x' to data type int."},
      {"tsql_add('it''s', 1)",
       "error: Conversion failed when converting the varchar value 'it''s' to data type int."},
      {"tsql_add(1, '1.5')",
       "error: Conversion failed when converting the varchar value '1.5' to data type int."},
      {"tsql_add(9223372036854775807, 1)",
       "error: Arithmetic overflow error converting expression to data type bigint."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Scalar(std::string("SELECT ") + c.expr), c.expected) << c.expr;
  }
}

TEST_F(HostFunctionsTest, NewIdIsABracedUpperCaseGuidEachTimeNew) {
  const std::string a = Scalar("SELECT tsql_newid()");
  const std::string b = Scalar("SELECT tsql_newid()");
  const std::regex form(
      "text:\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
  EXPECT_TRUE(std::regex_match(a, form)) << a;
  EXPECT_TRUE(std::regex_match(b, form)) << b;
  EXPECT_NE(a, b);
  // Not constant-folded within one statement either.
  EXPECT_EQ(Scalar("SELECT tsql_newid() <> tsql_newid()"), "int:1");
}

}  // namespace
}  // namespace orv::db::sqlite
