#include "db/sqlite/sqlite_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "db/db_error.h"
#include "db/sqlite/stand_in_translator.h"

namespace orv::db::sqlite {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::StandInTranslator;

// A directory of its own per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv_driver_XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The rows of a result as text: "1|abc;2|<null>".
std::string Rows(const ResultSet& result) {
  std::string out;
  for (const auto& row : result.rows) {
    if (!out.empty()) out += ";";
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out += "|";
      out += row[i].IsNull() ? "<null>" : row[i].ToText();
    }
  }
  return out;
}

class SqliteDriverTest : public ::testing::Test {
 protected:
  // Rows of the first result of `sql`.
  std::string Query(SqliteDriver& driver, const std::string& sql) {
    std::vector<ResultSet> results = driver.Execute(sql, 0);
    EXPECT_FALSE(results.empty());
    return results.empty() ? "" : Rows(results[0]);
  }

  // The description of the DbError `f` throws ("" when it throws none).
  template <typename F>
  static std::string ErrorOf(F&& f) {
    try {
      f();
    } catch (const DbError& e) {
      return e.description();
    }
    return "";
  }

  TempDir dir_;
  StandInTranslator translator_;
};

TEST_F(SqliteDriverTest, MultiResultBatchGivesOneResultPerStatementInOrder) {
  auto driver = translator_.Open("Database=:memory:");
  std::vector<ResultSet> results = driver->Execute(
      "CREATE TABLE t (id INTEGER PRIMARY KEY, code VARCHAR(8) NOT NULL, flag BIT, "
      "fixed CHAR(4), amount DECIMAL(10,2));\r\n"
      "INSERT INTO t (code, flag, fixed, amount) VALUES ('a', 1, 'xy', 1.5), ('b', 0, NULL, 2);\n"
      "SELECT id, code, flag, fixed FROM t ORDER BY id;\n"
      "UPDATE t SET code = 'c' WHERE id = 99;\n"
      "SELECT count(*) AS n, max(code) || '!' AS top FROM t",
      0);
  ASSERT_EQ(results.size(), 4u);  // CREATE gives none
  EXPECT_TRUE(results[0].fields.empty());
  EXPECT_EQ(results[0].records_affected, 2);
  EXPECT_EQ(Rows(results[1]), "1|a|True|xy  ;2|b|False|<null>");
  EXPECT_EQ(results[1].records_affected, -1);
  EXPECT_TRUE(results[2].fields.empty());
  EXPECT_EQ(results[2].records_affected, 0);
  EXPECT_EQ(Rows(results[3]), "2|b!");

  // Field descriptions: declared types, sizes, base table and key.
  const std::vector<FieldInfo>& f = results[1].fields;
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[0].name, "id");
  EXPECT_EQ(f[0].type, DataType::kInteger);
  EXPECT_TRUE(f[0].key);
  EXPECT_EQ(f[0].base_table, "t");
  EXPECT_EQ(f[1].type, DataType::kVarChar);
  EXPECT_EQ(f[1].defined_size, 8);
  EXPECT_FALSE(f[1].nullable);
  EXPECT_FALSE(f[1].key);
  EXPECT_EQ(f[1].base_column, "code");
  EXPECT_EQ(f[2].type, DataType::kBoolean);
  EXPECT_EQ(f[3].type, DataType::kChar);
  EXPECT_EQ(f[3].defined_size, 4);
  // Expression columns take the type of their values.
  const std::vector<FieldInfo>& g = results[3].fields;
  EXPECT_EQ(g[0].name, "n");
  EXPECT_EQ(g[0].type, DataType::kInteger);
  EXPECT_EQ(g[1].type, DataType::kVarChar);
  EXPECT_EQ(g[1].defined_size, 2);
  EXPECT_TRUE(g[1].base_table.empty());

  // A batch with nothing to report still has a first result.
  results = driver->Execute("CREATE TABLE u (x INT)", 0);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_TRUE(results[0].fields.empty());
  EXPECT_EQ(results[0].records_affected, 0);
}

// Every kind of cell read back as stored: integers (wide ones too),
// decimals, Booleans, NULLs, fixed text padded to its size in characters,
// UTF-8 and text far past any short-string size; and expression columns
// typed after all their values, whatever row they first appear in.
TEST_F(SqliteDriverTest, CellsOfEveryKindReadBackAsStored) {
  auto driver = translator_.Open("Database=:memory:");
  const std::string long_text(3000, 'x');
  const std::string accented = "Perché più città";
  driver->Execute(
      "CREATE TABLE c (id INTEGER PRIMARY KEY, n BIGINT, d DECIMAL(10,2), b BIT, "
      "f CHAR(6), v VARCHAR(4000))",
      0);
  driver->Execute("INSERT INTO c VALUES (1, 9000000000, 1.25, 1, 'città', '" + accented +
                      "'), (2, NULL, NULL, NULL, NULL, NULL), (3, -7, 0, 0, 'abcdef', '" +
                      long_text + "'), (4, 0, -2.5, 0, '', '')",
                  0);
  std::vector<ResultSet> results = driver->Execute(
      "SELECT id, n, d, b, f, v, "
      "CASE WHEN id = 1 THEN NULL WHEN id = 3 THEN 'più' ELSE 'ab' END AS t, "
      "CASE WHEN id = 4 THEN 5000000000 ELSE id END AS w, "
      "CASE WHEN id = 2 THEN 0.5 ELSE NULL END AS r "
      "FROM c ORDER BY id",
      0);
  ASSERT_EQ(results.size(), 1u);
  const ResultSet& r = results[0];
  ASSERT_EQ(r.rows.size(), 4u);
  for (const auto& row : r.rows) ASSERT_EQ(row.size(), 9u);
  EXPECT_EQ(r.rows[0][1], Value(int64_t{9000000000}));
  EXPECT_EQ(r.rows[0][2], Value(1.25));
  EXPECT_EQ(r.rows[0][3], Value(true));
  EXPECT_EQ(r.rows[0][4], Value("città "));  // six characters, seven bytes
  EXPECT_EQ(r.rows[0][5], Value(accented));
  for (size_t i = 1; i < 6; ++i) EXPECT_TRUE(r.rows[1][i].IsNull()) << i;
  EXPECT_EQ(r.rows[2][1], Value(-7));
  EXPECT_EQ(r.rows[2][3], Value(false));
  EXPECT_EQ(r.rows[2][4], Value("abcdef"));
  EXPECT_EQ(r.rows[2][5], Value(long_text));
  EXPECT_EQ(r.rows[3][2], Value(-2.5));
  EXPECT_EQ(r.rows[3][4], Value("      "));  // empty fixed text is all blanks
  EXPECT_EQ(r.rows[3][5], Value(""));
  // Expression columns.
  EXPECT_TRUE(r.rows[0][6].IsNull());
  EXPECT_EQ(r.rows[2][6], Value("più"));
  EXPECT_EQ(r.fields[6].type, DataType::kVarChar);
  EXPECT_EQ(r.fields[6].defined_size, 3);  // characters, not bytes
  EXPECT_EQ(r.rows[3][7], Value(int64_t{5000000000}));
  EXPECT_EQ(r.fields[7].type, DataType::kBigInt);  // one wide value, in the last row
  EXPECT_EQ(r.rows[1][8], Value(0.5));
  EXPECT_EQ(r.fields[8].type, DataType::kDouble);
  // The same statement again, with other values: typed anew.
  results = driver->Execute(
      "SELECT CASE WHEN id = 1 THEN NULL WHEN id = 3 THEN 'più' ELSE 'ab' END AS t, "
      "CASE WHEN id = 4 THEN 5000000000 ELSE id END AS w, "
      "CASE WHEN id = 2 THEN 0.5 ELSE NULL END AS r "
      "FROM c WHERE id = 1",
      0);
  ASSERT_EQ(results.at(0).rows.size(), 1u);
  EXPECT_EQ(results[0].fields[1].type, DataType::kInteger);
  EXPECT_NE(results[0].fields[0].type, DataType::kVarChar);  // only NULLs: no text seen
}

TEST_F(SqliteDriverTest, SameTextOverATableMadeAnewDescribesItsNewColumns) {
  auto driver = translator_.Open("Database=:memory:");
  driver->Execute(
      "CREATE TABLE tempdb.\"##orv_shape\" (a INT); INSERT INTO \"##orv_shape\" VALUES (1)", 0);
  const std::string select = "SELECT * FROM tempdb.\"##orv_shape\"";
  std::vector<ResultSet> results = driver->Execute(select, 0);
  ASSERT_EQ(results[0].fields.size(), 1u);
  driver->Execute(
      "DROP TABLE tempdb.\"##orv_shape\";"
      "CREATE TABLE tempdb.\"##orv_shape\" (b VARCHAR(5), c BIT);"
      "INSERT INTO tempdb.\"##orv_shape\" VALUES ('x', 1)",
      0);
  results = driver->Execute(select, 0);
  ASSERT_EQ(results[0].fields.size(), 2u);
  EXPECT_EQ(results[0].fields[0].name, "b");
  EXPECT_EQ(results[0].fields[0].defined_size, 5);
  EXPECT_EQ(results[0].fields[1].type, DataType::kBoolean);
  EXPECT_EQ(Rows(results[0]), "x|True");
  driver->Execute("DROP TABLE tempdb.\"##orv_shape\"", 0);
}

TEST_F(SqliteDriverTest, FailingStatementEndsTheBatchKeepingEarlierChanges) {
  auto driver = translator_.Open("Database=:memory:");
  driver->Execute("CREATE TABLE t (id INT PRIMARY KEY)", 0);
  EXPECT_THAT(ErrorOf([&] {
                driver->Execute(
                    "INSERT INTO t VALUES (1); INSERT INTO t VALUES (1); "
                    "INSERT INTO t VALUES (2)",
                    0);
              }),
              HasSubstr("UNIQUE constraint failed"));
  EXPECT_EQ(Query(*driver, "SELECT id FROM t"), "1");
  EXPECT_THAT(ErrorOf([&] { driver->Execute("SELECT x FROM nowhere", 0); }),
              HasSubstr("no such table: nowhere"));
  EXPECT_THAT(ErrorOf([&] { driver->Execute("SELECT @undeclared", 0); }),
              HasSubstr("Must declare the scalar variable \"@undeclared\""));
}

TEST_F(SqliteDriverTest, MemoryDatabasesArePrivateUnlessNamedShared) {
  auto a = translator_.Open("Database=:memory:");
  auto b = translator_.Open("Data Source=:memory:");
  a->Execute("CREATE TABLE mine (x INT)", 0);
  EXPECT_THAT(ErrorOf([&] { b->Execute("SELECT x FROM mine", 0); }), HasSubstr("no such table"));

  auto c = translator_.Open("Database=file:orv_shared_test?mode=memory&cache=shared");
  auto d = translator_.Open("Database=file:orv_shared_test?mode=memory&cache=shared");
  c->Execute("CREATE TABLE ours (x INT); INSERT INTO ours VALUES (7)", 0);
  EXPECT_EQ(Query(*d, "SELECT x FROM ours"), "7");
}

TEST_F(SqliteDriverTest, FileDatabaseUsesWalAndForeignKeys) {
  const std::string path = dir_.File("host.db");
  EXPECT_THAT(ErrorOf([&] { translator_.Open("Driver=SQLite;Database=" + path); }),
              HasSubstr("does not exist"));
  EXPECT_FALSE(std::filesystem::exists(path));
  auto driver = translator_.Open("Driver=SQLite;Database=" + path + ";Create=yes");
  EXPECT_EQ(Query(*driver, "PRAGMA journal_mode"), "wal");
  EXPECT_EQ(Query(*driver, "PRAGMA foreign_keys"), "1");
  EXPECT_EQ(Query(*driver, "PRAGMA synchronous"), "2") << "commits are durable by default";
  // Pages freed in the file are zeroed or not as the library is built to do;
  // those of temporary tables (process memory only) are not.
  sqlite3* plain = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &plain), SQLITE_OK);
  sqlite3_stmt* pragma = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(plain, "PRAGMA secure_delete", -1, &pragma, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(pragma), SQLITE_ROW);
  const std::string library_default = std::to_string(sqlite3_column_int(pragma, 0));
  sqlite3_finalize(pragma);
  sqlite3_close(plain);
  EXPECT_EQ(Query(*driver, "PRAGMA main.secure_delete"), library_default);
  EXPECT_EQ(Query(*driver, "PRAGMA temp.secure_delete"), "0");
  EXPECT_EQ(Query(*driver, "PRAGMA tempdb.secure_delete"), "0");
  driver->Execute("CREATE TABLE p (id INT PRIMARY KEY); CREATE TABLE c (p INT REFERENCES p(id))",
                  0);
  EXPECT_THAT(ErrorOf([&] { driver->Execute("INSERT INTO c VALUES (5)", 0); }),
              HasSubstr("FOREIGN KEY"));
  driver.reset();
  // Without Create, an existing file opens.
  auto again = translator_.Open("Database=" + path + ";Busy Timeout=100;Synchronous=Normal");
  EXPECT_EQ(Query(*again, "SELECT count(*) FROM p"), "0");
  EXPECT_EQ(Query(*again, "PRAGMA synchronous"), "1");
  EXPECT_THAT(ErrorOf([&] { translator_.Open("Database=" + path + ";Synchronous=Sometimes"); }),
              HasSubstr("Synchronous"));
}

TEST_F(SqliteDriverTest, BadConnectionOptionsAreNamed) {
  EXPECT_THAT(ErrorOf([&] { translator_.Open("Driver=SQLite"); }), HasSubstr("names no database"));
  EXPECT_THAT(ErrorOf([&] { translator_.Open("Database=:memory:;Busy Timeout=soon"); }),
              HasSubstr("Busy Timeout"));
  EXPECT_THAT(ErrorOf([&] { translator_.Open("Database=:memory:;Mode=Sideways"); }),
              HasSubstr("Mode"));
}

TEST_F(SqliteDriverTest, ErrorsNeverShowThePassword) {
  const std::string path = dir_.File("absent.db");
  const std::string error =
      ErrorOf([&] { translator_.Open("Database=" + path + ";User ID=sa;Password=S3cr3t!"); });
  EXPECT_THAT(error, HasSubstr("does not exist"));
  EXPECT_THAT(error, Not(HasSubstr("S3cr3t!")));
  const std::string corrupt = dir_.File("junk.db");
  std::ofstream(corrupt) << std::string(8192, 'x');
  const std::string error2 =
      ErrorOf([&] { translator_.Open("Database=" + corrupt + ";PWD=S3cr3t!"); });
  EXPECT_THAT(error2, HasSubstr("not a database"));
  EXPECT_THAT(error2, Not(HasSubstr("S3cr3t!")));
}

// A database file with one table t(id) holding 1 and 2.
std::string MakeDatabase(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db,
               "PRAGMA journal_mode=WAL; CREATE TABLE t (id INT PRIMARY KEY); "
               "INSERT INTO t VALUES (1), (2);",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return path;
}

TEST_F(SqliteDriverTest, CorruptFileIsRefusedAndLeftAsItWas) {
  // Not a database at all.
  const std::string junk = dir_.File("junk.db");
  std::ofstream(junk, std::ios::binary) << std::string(10000, '\x5a');
  const std::string before = ReadBytes(junk);
  EXPECT_THAT(ErrorOf([&] { translator_.Open("Database=" + junk); }),
              HasSubstr("is not a database or is corrupt"));
  EXPECT_EQ(ReadBytes(junk), before);
  EXPECT_FALSE(std::filesystem::exists(junk + "-wal"));

  // A database whose table page is overwritten: opening works, reading the
  // table fails clearly, a write fails and the file stays as it was.
  const std::string path = MakeDatabase(dir_.File("damaged.db"));
  {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(4096 + 0);  // page 2: the table's b-tree page
    const std::string garbage(4096, '\xff');
    f.write(garbage.data(), garbage.size());
  }
  const std::string damaged = ReadBytes(path);
  EXPECT_THAT(ErrorOf([&] {
                auto driver = translator_.Open("Database=" + path);
                driver->Execute("SELECT id FROM t", 0);
              }),
              HasSubstr("corrupt"));
  EXPECT_THAT(ErrorOf([&] {
                auto driver = translator_.Open("Database=" + path);
                driver->Execute("INSERT INTO t VALUES (3)", 0);
              }),
              HasSubstr("corrupt"));
  EXPECT_EQ(ReadBytes(path), damaged);
}

TEST_F(SqliteDriverTest, ReadOnlyDatabaseRefusesWritesAndKeepsItsRows) {
  const std::string path = MakeDatabase(dir_.File("ro.db"));
  auto driver = translator_.Open("Database=" + path + ";Mode=ReadOnly");
  EXPECT_EQ(Query(*driver, "SELECT id FROM t ORDER BY id"), "1;2");
  EXPECT_THAT(ErrorOf([&] { driver->Execute("DELETE FROM t", 0); }), HasSubstr("read-only"));
  EXPECT_EQ(Query(*driver, "SELECT id FROM t ORDER BY id"), "1;2");
}

TEST_F(SqliteDriverTest, ReadOnlyFileRefusesWrites) {
  const std::string path = MakeDatabase(dir_.File("perm.db"));
  chmod(path.c_str(), 0444);
  if (access(path.c_str(), W_OK) == 0) {
    GTEST_SKIP() << "this user writes read-only files (root); covered by Mode=ReadOnly";
  }
  auto driver = translator_.Open("Database=" + path);
  EXPECT_THAT(ErrorOf([&] { driver->Execute("INSERT INTO t VALUES (3)", 0); }),
              HasSubstr("read-only"));
  EXPECT_EQ(Query(*driver, "SELECT count(*) FROM t"), "2");
}

TEST_F(SqliteDriverTest, WriterLockedOutByAnotherWriterChangesNothing) {
  const std::string path = MakeDatabase(dir_.File("locked.db"));
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(other, "BEGIN IMMEDIATE; INSERT INTO t VALUES (10)", nullptr, nullptr, nullptr),
      SQLITE_OK);
  auto driver = translator_.Open("Database=" + path + ";Busy Timeout=50");
  EXPECT_EQ(Query(*driver, "SELECT count(*) FROM t"), "2");  // readers still read
  const std::string error = ErrorOf([&] { driver->Execute("INSERT INTO t VALUES (3)", 0); });
  EXPECT_THAT(error, HasSubstr("locked by another connection"));
  EXPECT_THAT(error, HasSubstr("50 ms"));
  // Inside a transaction the first write meets the lock; rolling back leaves nothing.
  driver->BeginTransaction();
  EXPECT_THAT(ErrorOf([&] { driver->Execute("DELETE FROM t", 0); }), HasSubstr("locked"));
  driver->RollbackTransaction();
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(Query(*driver, "SELECT id FROM t ORDER BY id"), "1;2");
  driver->Execute("INSERT INTO t VALUES (3)", 0);  // free again
  EXPECT_EQ(Query(*driver, "SELECT count(*) FROM t"), "3");
}

TEST_F(SqliteDriverTest, TransactionsCommitAndRollBack) {
  const std::string path = MakeDatabase(dir_.File("tx.db"));
  auto driver = translator_.Open("Database=" + path);
  auto reader = translator_.Open("Database=" + path);
  EXPECT_FALSE(driver->InTransaction());
  driver->BeginTransaction();
  EXPECT_TRUE(driver->InTransaction());
  EXPECT_THAT(ErrorOf([&] { driver->BeginTransaction(); }), HasSubstr("already active"));
  driver->Execute("DELETE FROM t", 0);
  EXPECT_EQ(Query(*reader, "SELECT count(*) FROM t"), "2");  // not yet visible
  driver->RollbackTransaction();
  EXPECT_EQ(Query(*driver, "SELECT count(*) FROM t"), "2");
  driver->BeginTransaction();
  driver->Execute("DELETE FROM t WHERE id = 1", 0);
  driver->CommitTransaction();
  EXPECT_FALSE(driver->InTransaction());
  EXPECT_EQ(Query(*reader, "SELECT id FROM t"), "2");
  EXPECT_THAT(ErrorOf([&] { driver->CommitTransaction(); }), HasSubstr("No transaction"));
}

TEST_F(SqliteDriverTest, AtomicStepLeavesTargetUnchangedWhenAStatementFails) {
  auto driver = translator_.Open("Database=:memory:");
  driver->Execute(
      "CREATE TABLE target (k INT PRIMARY KEY, v TEXT NOT NULL);"
      "INSERT INTO target VALUES (1, 'one'), (2, 'two')",
      0);
  // A MERGE as the translator runs it: delete what the source lacks, update,
  // insert what is new. The insert fails (NOT NULL) after the others ran.
  Step merge;
  merge.kind = Step::Kind::kAtomic;
  merge.body = {StandInTranslator::Statement("DELETE FROM target WHERE k NOT IN (2, 3)"),
                StandInTranslator::Statement("UPDATE target SET v = 'TWO' WHERE k = 2"),
                StandInTranslator::Statement("INSERT INTO target VALUES (3, NULL)")};
  translator_.Add("MERGE failing", Translation{{merge}});
  EXPECT_THAT(ErrorOf([&] { driver->Execute("MERGE failing", 0); }), HasSubstr("NOT NULL"));
  EXPECT_EQ(Query(*driver, "SELECT k, v FROM target ORDER BY k"), "1|one;2|two");
  EXPECT_FALSE(driver->InTransaction());

  // The same inside the caller's transaction: only the group is undone.
  driver->BeginTransaction();
  driver->Execute("INSERT INTO target VALUES (5, 'five')", 0);
  EXPECT_THAT(ErrorOf([&] { driver->Execute("MERGE failing", 0); }), HasSubstr("NOT NULL"));
  EXPECT_TRUE(driver->InTransaction());
  driver->CommitTransaction();
  EXPECT_EQ(Query(*driver, "SELECT k FROM target ORDER BY k"), "1;2;5");

  // When it succeeds: one count for the whole group.
  merge.body[2] = StandInTranslator::Statement("INSERT INTO target VALUES (3, 'three')");
  translator_.Add("MERGE working", Translation{{merge}});
  std::vector<ResultSet> results = driver->Execute("MERGE working", 0);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].records_affected, 4);  // 2 deleted, 1 updated, 1 inserted
  EXPECT_EQ(Query(*driver, "SELECT k, v FROM target ORDER BY k"), "2|TWO;3|three");
}

// ##tables as the translator hands them over.
Translation CreateGlobalTemp(const std::string& name, const std::string& select) {
  Step step = StandInTranslator::Statement("CREATE TABLE tempdb.\"" + name + "\" AS " + select);
  step.creates_temp = {name};
  return Translation{{step}};
}

Translation DropGlobalTempIfExists(const std::string& name) {
  Step drop = StandInTranslator::Statement("DROP TABLE tempdb.\"" + name + "\"");
  drop.drops_temp = {name};
  Step check;
  check.kind = Step::Kind::kIf;
  check.condition_sql =
      "SELECT count(*) FROM tempdb.sqlite_schema WHERE type = 'table' AND name = '" + name + "'";
  check.body = {drop};
  return Translation{{check}};
}

TEST_F(SqliteDriverTest, GlobalTempTablesAreSharedAndDroppedWithTheirOwner) {
  translator_.Add("SELECT 1 AS a INTO ##orv_t", CreateGlobalTemp("##orv_t", "SELECT 1 AS a"));
  translator_.Add("SELECT 2 AS b INTO ##orv_u", CreateGlobalTemp("##orv_u", "SELECT 2 AS b"));
  translator_.Add("drop ##orv_t if any", DropGlobalTempIfExists("##orv_t"));
  const std::string path = MakeDatabase(dir_.File("host.db"));
  auto first = translator_.Open("Database=" + path);
  auto second = translator_.Open("Database=:memory:");  // another database, same process
  first->Execute("SELECT 1 AS a INTO ##orv_t", 0);
  second->Execute("SELECT 2 AS b INTO ##orv_u", 0);
  EXPECT_EQ(Query(*second, "SELECT a FROM tempdb.\"##orv_t\""), "1");
  EXPECT_EQ(Query(*first, "SELECT b FROM tempdb.\"##orv_u\""), "2");

  first.reset();  // its tables go with it; the other's stay
  EXPECT_THAT(ErrorOf([&] { second->Execute("SELECT a FROM tempdb.\"##orv_t\"", 0); }),
              HasSubstr("no such table"));
  EXPECT_EQ(Query(*second, "SELECT b FROM tempdb.\"##orv_u\""), "2");

  // Dropping when present, nothing when absent.
  auto third = translator_.Open("Database=:memory:");
  third->Execute("SELECT 1 AS a INTO ##orv_t", 0);
  second->Execute("drop ##orv_t if any", 0);
  EXPECT_THAT(ErrorOf([&] { third->Execute("SELECT a FROM tempdb.\"##orv_t\"", 0); }),
              HasSubstr("no such table"));
  second->Execute("drop ##orv_t if any", 0);
  // A table dropped by another connection and made again by a third is not
  // dropped when the first maker closes.
  auto fourth = translator_.Open("Database=:memory:");
  fourth->Execute("SELECT 1 AS a INTO ##orv_t", 0);
  third.reset();
  EXPECT_EQ(Query(*fourth, "SELECT a FROM tempdb.\"##orv_t\""), "1");

  // A transaction of one connection does not hold the "##" tables of others.
  fourth->BeginTransaction();
  fourth->Execute("CREATE TABLE local_t (x INT); INSERT INTO local_t VALUES (1)", 0);
  second->Execute("CREATE TABLE tempdb.\"##orv_v\" (x INT); DROP TABLE tempdb.\"##orv_v\"", 0);
  fourth->CommitTransaction();
}

Translation CreateRoutine(Step::Routine::Type type, const std::string& name,
                          std::vector<std::string> params, std::vector<std::string> types,
                          const std::string& body) {
  Step step;
  step.kind = Step::Kind::kCreateRoutine;
  step.routine.type = type;
  step.routine.name = name;
  step.routine.params = std::move(params);
  step.routine.param_types = std::move(types);
  step.routine.body = body;
  return Translation{{step}};
}

TEST_F(SqliteDriverTest, ProceduresAreStoredInTheDatabaseAndRunWithNamedParameters) {
  translator_.Add("CREATE PROCEDURE dbo.SP_Add",
                  CreateRoutine(Step::Routine::Type::kProcedure, "dbo.SP_Add", {"@Code", "@Qty"},
                                {"VARCHAR(10)", "INT"}, "add body"));
  translator_.Add("add body",
                  Translation{{StandInTranslator::Statement(
                                   "INSERT INTO stock (code, qty) VALUES (@code, @QTY)"),
                               StandInTranslator::Statement(
                                   "SELECT sum(qty) AS total FROM stock WHERE code = @Code")}});
  Step exec;
  exec.kind = Step::Kind::kExecProcedure;
  exec.exec_name = "sp_add";
  exec.exec_arg_names = {"@qty", "@code"};
  exec.exec_arg_sql = {"40 + 2", "'b'"};
  translator_.Add("EXEC sp_add @qty = 40 + 2, @code = 'b'", Translation{{exec}});

  const std::string path = dir_.File("routines.db");
  {
    auto driver = translator_.Open("Database=" + path + ";Create=yes");
    driver->Execute("CREATE TABLE stock (code VARCHAR(10) COLLATE HOSTCI, qty INT)", 0);
    driver->Execute("CREATE PROCEDURE dbo.SP_Add", 0);
    EXPECT_THAT(ErrorOf([&] { driver->Execute("CREATE PROCEDURE dbo.SP_Add", 0); }),
                HasSubstr("There is already an object named 'SP_Add'"));
  }
  // Another connection, later: the procedure is part of the database.
  auto driver = translator_.Open("Database=" + path);
  std::vector<ParameterInfo> params = driver->DescribeProcedure("[dbo].[sp_ADD]");
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0].name, "@Code");
  EXPECT_EQ(params[0].type, DataType::kVarChar);
  EXPECT_EQ(params[0].size, 10);
  EXPECT_EQ(params[1].name, "@Qty");
  EXPECT_EQ(params[1].type, DataType::kInteger);

  std::vector<ResultSet> results = driver->ExecuteProcedure("SP_Add", params, {"A", 5}, 0);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].records_affected, 1);
  EXPECT_EQ(Rows(results[1]), "5");
  // Numeric text converts to the INT parameter; the code matches without case.
  results = driver->ExecuteProcedure("SP_Add", params, {"a ", " 7"}, 0);
  EXPECT_EQ(Rows(results[1]), "12");

  results = driver->Execute("EXEC sp_add @qty = 40 + 2, @code = 'b'", 0);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(Rows(results[1]), "42");

  EXPECT_THAT(ErrorOf([&] { driver->DescribeProcedure("SP_Missing"); }),
              HasSubstr("Could not find stored procedure 'SP_Missing'"));
  EXPECT_THAT(ErrorOf([&] { driver->ExecuteProcedure("SP_Add", {params[0]}, {"x"}, 0); }),
              HasSubstr("expects parameter '@Qty', which was not supplied"));
  EXPECT_NE(ErrorOf([&] { driver->ExecuteProcedure("SP_Add", params, {"x", "many"}, 0); }), "");
  EXPECT_EQ(Query(*driver, "SELECT count(*) FROM stock"), "3");

  // A procedure failing part-way leaves nothing done: its DELETE is undone
  // with the INSERT that failed.
  translator_.Add("CREATE PROCEDURE SP_Refill",
                  CreateRoutine(Step::Routine::Type::kProcedure, "SP_Refill", {"@qty"}, {"INT"},
                                "refill body"));
  translator_.Add(
      "refill body",
      Translation{{StandInTranslator::Statement("DELETE FROM stock"),
                   StandInTranslator::Statement(
                       "INSERT INTO stock (code, qty) VALUES ('z', tsql_add(@qty, 'x'))")}});
  driver->Execute("CREATE PROCEDURE SP_Refill", 0);
  EXPECT_THAT(ErrorOf([&] { driver->ExecuteProcedure("SP_Refill", {}, {}, 0); }),
              HasSubstr("expects parameter '@qty'"));
  std::vector<ParameterInfo> refill = driver->DescribeProcedure("SP_Refill");
  EXPECT_THAT(ErrorOf([&] { driver->ExecuteProcedure("SP_Refill", refill, {1}, 0); }),
              HasSubstr("Conversion failed"));
  EXPECT_EQ(Query(*driver, "SELECT count(*) FROM stock"), "3");
  EXPECT_FALSE(driver->InTransaction());
}

TEST_F(SqliteDriverTest, TableFunctionsTakeArgumentsFromTheLeftOfTheJoin) {
  translator_.Add(
      "CREATE FUNCTION dbo.FN_Children",
      CreateRoutine(Step::Routine::Type::kTableFunction, "dbo.FN_Children", {"@parent", "@depth"},
                    {"VARCHAR(10)", "INT"},
                    "SELECT child AS CHILD, @depth AS DEPTH FROM tree WHERE parent = @parent"));
  const std::string path = dir_.File("functions.db");
  auto driver = translator_.Open("Database=" + path + ";Create=yes");
  driver->Execute(
      "CREATE TABLE tree (parent VARCHAR(10) COLLATE HOSTCI, child VARCHAR(10));"
      "INSERT INTO tree VALUES ('A', 'a1'), ('A', 'a2'), ('B', 'b1');"
      "CREATE TABLE roots (code VARCHAR(10), name VARCHAR(20));"
      "INSERT INTO roots VALUES ('a', 'first'), ('b', 'second'), ('c', 'third')",
      0);
  driver->Execute("CREATE FUNCTION dbo.FN_Children", 0);
  const std::string join =
      "SELECT r.name, P.CHILD, P.DEPTH FROM roots r JOIN FN_Children(r.code, 3) AS P "
      "ORDER BY P.CHILD";
  std::vector<ResultSet> results = driver->Execute(join, 0);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(Rows(results[0]), "first|a1|3;first|a2|3;second|b1|3");
  EXPECT_EQ(results[0].fields[1].name, "CHILD");
  // Written with the function first, the planner still feeds it from roots.
  EXPECT_EQ(Query(*driver, "SELECT count(*) FROM FN_Children(r.code, 1) AS P, roots r"), "3");

  // A second connection opened later knows the function from the database.
  auto other = translator_.Open("Database=" + path);
  EXPECT_EQ(Query(*other, join), "first|a1|3;first|a2|3;second|b1|3");
  // One opened before the function existed learns it on first use.
  auto early = translator_.Open("Database=" + path);
  translator_.Add("CREATE FUNCTION FN_Upper",
                  CreateRoutine(Step::Routine::Type::kTableFunction, "FN_Upper", {"@x"},
                                {"VARCHAR(10)"}, "SELECT upper(@x) AS U"));
  driver->Execute("CREATE FUNCTION FN_Upper", 0);
  EXPECT_EQ(Query(*early, "SELECT U FROM roots JOIN FN_Upper(roots.code) ORDER BY U"), "A;B;C");
}

TEST_F(SqliteDriverTest, ProcedureCallsNestAndRecursionIsBounded) {
  translator_.Add("CREATE PROCEDURE SP_Loop",
                  CreateRoutine(Step::Routine::Type::kProcedure, "SP_Loop", {}, {}, "loop body"));
  Step exec;
  exec.kind = Step::Kind::kExecProcedure;
  exec.exec_name = "SP_Loop";
  translator_.Add("loop body", Translation{{exec}});
  auto driver = translator_.Open("Database=:memory:");
  driver->Execute("CREATE PROCEDURE SP_Loop", 0);
  EXPECT_THAT(ErrorOf([&] { driver->ExecuteProcedure("SP_Loop", {}, {}, 0); }),
              HasSubstr("nesting level exceeded (limit 32)"));
}

}  // namespace
}  // namespace orv::db::sqlite
