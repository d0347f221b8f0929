// Every identifier the module sends is written in the case of the schema's
// own definition: on a server with a case-sensitive collation another case
// names no column. The test replays the session scripts (every section and
// gesture they cover) and checks each statement's words against the tables
// and columns of the demo database.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/statement_observer.h"
#include "db/sqlite/token.h"
#include "db/sqlite/tokenizer.h"
#include "hostdb/temporary_demo_database.h"
#include "session/session_script.h"

namespace orv::session {
namespace {

// Keeps the text of every batch the module sends.
class Collector : public db::StatementObserver {
 public:
  explicit Collector(std::vector<std::string>& statements) : statements_(statements) {}
  void OnStatement(const db::StatementEvent& event) override {
    if (event.kind == db::StatementEvent::Kind::kText) statements_.emplace_back(event.text);
  }

 private:
  std::vector<std::string>& statements_;
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Table and column names of the database, by their lower-case spelling.
std::map<std::string, std::string> SchemaNames(const std::string& path) {
  std::map<std::string, std::string> names;
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT m.name, p.name FROM sqlite_master m, pragma_table_info(m.name) p "
                     "WHERE m.type IN ('table', 'view')",
                     -1, &stmt, nullptr);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    for (int i = 0; i < 2; ++i) {
      const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
      names[Lower(name)] = name;
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return names;
}

// The words of `sql` that name a table or column of the schema in another
// case, as "word (schema: NAME)".
std::vector<std::string> Miscased(const std::string& sql,
                                  const std::map<std::string, std::string>& schema) {
  std::vector<std::string> found;
  for (const db::sqlite::Token& token : db::sqlite::Tokenizer(sql).Tokenize()) {
    if (!token.IsName()) continue;
    auto it = schema.find(Lower(token.text));
    if (it != schema.end() && it->second != token.text) {
      found.push_back(token.text + " (schema: " + it->second + ")");
    }
  }
  return found;
}

TEST(IdentifierCaseTest, EveryStatementOfTheSessionsNamesColumnsAsTheSchemaDoes) {
  hostdb::TemporaryDemoDatabase database;
  const std::map<std::string, std::string> schema = SchemaNames(database.path());
  ASSERT_GT(schema.count("fw3e_coddep_ori"), 0u);
  // The check catches the fault it is for.
  ASSERT_FALSE(Miscased("SELECT ori.mg58_CODDEP FROM MG58_DEPOSITI ori", schema).empty());

  std::vector<std::string> statements;
  for (const char* script : {"basic", "bulk", "nodes", "trees", "warehouses"}) {
    hostdb::TemporaryDemoDatabase copy;
    SessionScript::Defaults defaults;
    defaults.connection_string = copy.connection_string();
    std::ostringstream out;
    std::ostringstream err;
    SessionScript session(defaults, out, err);
    std::ifstream in(std::string(ORV_SOURCE_DIR) + "/tests/session/" + script + ".session");
    ASSERT_TRUE(in) << script;
    // Every connection the session opens reports to the collector.
    db::Connection::SetDefaultStatementObserver(std::make_shared<Collector>(statements));
    const int status = session.Run(in);
    db::Connection::SetDefaultStatementObserver(nullptr);
    ASSERT_EQ(status, SessionScript::kOk) << script << " " << err.str();
  }
  ASSERT_GT(statements.size(), 50u);
  for (const std::string& sql : statements) {
    const std::vector<std::string> wrong = Miscased(sql, schema);
    EXPECT_TRUE(wrong.empty()) << wrong.front() << " in:\n" << sql;
  }
}

}  // namespace
}  // namespace orv::session
