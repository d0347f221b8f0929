// The installation script for SQL Server against the schema the embedded
// engine builds from the same definitions: tables, columns, types,
// nullability, indexes; and the demo rows it adds.

#include "hostdb/install_script.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "db/sqlite/routine_store.h"
#include "db/sqlite/sqlite_driver.h"
#include "hostdb/host_database.h"
#include "hostdb/host_schema.h"
#include "hostdb/temporary_demo_database.h"
#include "hostdb_test_util.h"

namespace orv::hostdb {
namespace {

namespace fs = std::filesystem;
using testing::Scalar;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A column as a CREATE TABLE of the script declares it, or as the embedded
// engine reports it.
struct Column {
  std::string name;
  std::string type;  // e.g. "VARCHAR(50)", "INT", "SMALLINT"
  bool not_null = false;
  bool identity = false;  // declared IDENTITY(...)
  bool operator==(const Column&) const = default;
};

struct Index {
  std::string table;
  bool unique = false;
  std::vector<std::string> columns;
  bool filtered = false;  // a WHERE clause limits the rows it holds
  bool operator==(const Index&) const = default;
};

struct Schema {
  std::map<std::string, std::vector<Column>> tables;
  std::map<std::string, Index> indexes;
};

std::string WithoutComments(const std::string& text) {
  return std::regex_replace(text, std::regex("--[^\n]*"), "");
}

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> out;
  std::string current;
  int depth = 0;
  for (char c : list) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 0) {
      out.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  out.push_back(current);
  for (std::string& s : out) {
    s = std::regex_replace(s, std::regex("^\\s+|\\s+$"), "");
    s = std::regex_replace(s, std::regex("\\s+"), " ");
  }
  return out;
}

// Reads the tables and indexes a T-SQL script declares (the subset of DDL
// the host schema is written in).
Schema ReadScript(const std::string& script) {
  Schema schema;
  const std::regex create_table(R"(^\s*CREATE TABLE (\w+) \(([\s\S]*)\)\s*$)", std::regex::icase);
  const std::regex create_index(R"(^\s*CREATE (UNIQUE )?INDEX (\w+) ON (\w+)\s*\(([^)]*)\)(\s+WHERE\s[\s\S]*)?\s*$)",
                                std::regex::icase);
  const std::regex column(R"(^(\w+) (\w+(?:\((?:\d+(?:,\s*\d+)?|MAX)\))?)(.*)$)",
                          std::regex::icase);
  for (const std::string& batch : HostSchema::SplitBatches(script)) {
    const std::string text = WithoutComments(batch);
    std::smatch m;
    if (std::regex_match(text, m, create_table)) {
      std::vector<Column>& columns = schema.tables[m[1]];
      for (const std::string& item : SplitList(m[2])) {
        if (Upper(item).starts_with("CONSTRAINT ")) continue;
        std::smatch c;
        EXPECT_TRUE(std::regex_match(item, c, column)) << item;
        const std::string rest = Upper(c[3]);
        columns.push_back({c[1], Upper(c[2]), rest.find("NOT NULL") != std::string::npos,
                           rest.find("IDENTITY") != std::string::npos});
      }
    } else if (std::regex_match(text, m, create_index)) {
      schema.indexes[m[2]] = {m[3], m[1].matched, SplitList(m[4]), m[5].matched};
    }
  }
  return schema;
}

// The same, as the embedded engine holds it.
Schema ReadDatabase(sqlite3* db) {
  auto rows = [db](const std::string& sql) {
    std::vector<std::vector<std::string>> out;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sql;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        const unsigned char* text = sqlite3_column_text(stmt, i);
        row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
      }
      out.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    return out;
  };
  Schema schema;
  // The engine's own tables (SQLite's, the routine store) are no host tables.
  for (const auto& t : rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                            "LIKE 'sqlite%' AND name <> '" +
                            std::string(db::sqlite::RoutineStore::kTable) + "'")) {
    auto& columns = schema.tables[t[0]];
    for (const auto& c : rows("SELECT name, type, \"notnull\" FROM pragma_table_info('" + t[0] +
                              "') ORDER BY cid")) {
      columns.push_back(
          {c[0], Upper(std::regex_replace(c[1], std::regex("\\s+"), "")), c[2] == "1"});
    }
    for (const auto& i :
         rows("SELECT name, \"unique\", origin, partial FROM pragma_index_list('" + t[0] + "')")) {
      if (i[2] != "c") continue;  // primary keys and constraints are the table's own
      Index& index = schema.indexes[i[0]];
      index.table = t[0];
      index.unique = i[1] == "1";
      index.filtered = i[3] == "1";
      for (const auto& c :
           rows("SELECT name FROM pragma_index_info('" + i[0] + "') ORDER BY seqno")) {
        index.columns.push_back(c[0]);
      }
    }
  }
  return schema;
}

class InstallScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orv-install-script-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static sqlite3* Raw(db::Connection& cn) {
    auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&cn.driver());
    return driver ? driver->handle() : nullptr;
  }

  // A new database file on which every batch of `script` has run.
  std::shared_ptr<db::Connection> RunScript(const std::string& script, const std::string& name) {
    auto cn = db::Connection::Create();
    cn->Open(HostDatabase::ConnectionStringFor((dir_ / name).string()) + ";Create=yes");
    for (const std::string& batch : HostSchema::SplitBatches(script)) {
      cn->Execute(batch, nullptr, db::kAdCmdText | db::kAdExecuteNoRecords);
    }
    return cn;
  }

  fs::path dir_;
};

TEST_F(InstallScriptTest, DeclaresEveryTableColumnAndIndexTheEmbeddedEngineBuilds) {
  const Schema script = ReadScript(InstallScript::Tsql(false));
  auto cn = HostDatabase::CreateEmpty((dir_ / "engine.db").string());
  const Schema engine = ReadDatabase(Raw(*cn));

  std::vector<std::string> script_tables, engine_tables, listed;
  for (const auto& [name, columns] : script.tables) script_tables.push_back(name);
  for (const auto& [name, columns] : engine.tables) engine_tables.push_back(name);
  for (std::string_view name : HostSchema::Tables()) listed.emplace_back(name);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(script_tables, engine_tables);
  EXPECT_EQ(script_tables, listed);
  for (const auto& [name, columns] : script.tables) {
    ASSERT_TRUE(engine.tables.count(name)) << name;
    EXPECT_EQ(columns.size(), engine.tables.at(name).size()) << name;
    for (size_t i = 0; i < columns.size() && i < engine.tables.at(name).size(); ++i) {
      const Column& declared = columns[i];
      const Column& built = engine.tables.at(name)[i];
      EXPECT_EQ(declared.name, built.name) << name;
      // An IDENTITY key is the engine's INTEGER PRIMARY KEY AUTOINCREMENT,
      // a VARCHAR(MAX) its unbounded CLOB.
      const std::string expected = declared.identity              ? "INTEGER"
                                   : declared.type == "VARCHAR(MAX)" ? "CLOB"
                                                                     : declared.type;
      EXPECT_EQ(expected, built.type)
          << name << "." << declared.name;
      EXPECT_EQ(declared.not_null, built.not_null) << name << "." << declared.name;
    }
  }
  ASSERT_FALSE(script.indexes.empty());
  EXPECT_EQ(script.indexes.size(), engine.indexes.size());
  for (const auto& [name, index] : script.indexes) {
    ASSERT_TRUE(engine.indexes.count(name)) << name;
    EXPECT_EQ(index, engine.indexes.at(name)) << name;
  }
}

TEST_F(InstallScriptTest, ScriptRunOnTheEmbeddedEngineGivesTheSameDatabase) {
  const std::string script = InstallScript::Tsql(false);
  // Every batch ends with its own GO line, and the script holds every batch
  // of the schema plus its heading.
  EXPECT_EQ(HostSchema::SplitBatches(script).size(), InstallScript::SchemaBatches().size());
  EXPECT_TRUE(script.ends_with("\nGO\n"));
  EXPECT_NE(script.find("CREATE PROCEDURE SPFW_ReloadListaCFRevocati\n"), std::string::npos);
  EXPECT_NE(script.find("CREATE FUNCTION dbo.FNMG07_MACROAREE"), std::string::npos);

  auto from_script = RunScript(script, "script.db");
  auto installed = HostDatabase::CreateEmpty((dir_ / "installed.db").string());
  const std::string objects =
      "SELECT type || ' ' || name || ': ' || COALESCE(sql, '') FROM sqlite_master ORDER BY 1";
  auto all = [&](db::Connection& cn) {
    std::vector<std::string> out;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(Raw(cn), objects.c_str(), -1, &stmt, nullptr), SQLITE_OK);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    return out;
  };
  const auto expected = all(*installed);
  EXPECT_GT(expected.size(), HostSchema::Tables().size());
  EXPECT_EQ(all(*from_script), expected);
  // The routines arrive too: the engine keeps them as the host does.
  for (std::string_view procedure : HostSchema::Procedures()) {
    EXPECT_NO_THROW(from_script->driver().DescribeProcedure(procedure)) << procedure;
  }
}

TEST_F(InstallScriptTest, DemoRowsFillTheTablesAsTheDemoInstallationDoes) {
  const std::string script = InstallScript::Tsql(true);
  EXPECT_NE(script.find("\nEXEC SPFW_ReloadListaCFRevocati\nGO\n"), std::string::npos);
  auto from_script = RunScript(script, "demo.db");
  TemporaryDemoDatabase demo;
  auto reference = demo.Connect();
  int64_t total = 0;
  for (std::string_view table : HostSchema::Tables()) {
    const std::string count = "SELECT COUNT(*) FROM " + std::string(table);
    EXPECT_EQ(Scalar(*from_script, count), Scalar(*reference, count)) << table;
    total += std::stoll(Scalar(*from_script, count));
  }
  EXPECT_GT(total, 100);
  // The derived list came from the procedure call at the end of the script.
  EXPECT_NE(Scalar(*from_script, "SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI"), "0");
}

TEST(InstallScriptProgramTest, OrvelkaDbPrintsTheScriptAndRefusesOtherDialects) {
  auto run = [](const std::string& args) {
    std::string output;
    FILE* pipe = ::popen((std::string(ORV_BINARY_DIR) + "/src/orvelka-db " + args).c_str(), "r");
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int status = ::pclose(pipe);
    return std::pair{output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
  };
  const auto [script, status] = run("script --dialect tsql");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(script, InstallScript::Tsql(false));
  const auto [demo, demo_status] = run("script --dialect tsql --demo");
  EXPECT_EQ(demo_status, 0);
  EXPECT_EQ(demo, InstallScript::Tsql(true));
  EXPECT_EQ(run("script --dialect sqlite 2>/dev/null").second, 2);
  EXPECT_EQ(run("script 2>/dev/null").second, 2);
}

}  // namespace
}  // namespace orv::hostdb
