// MERGE becomes an atomic group of plain statements. The source is
// materialised once, and the pairs (target row, source row) that satisfy ON
// are fixed before anything changes, so every action sees the state the host
// would: the one before the statement.
#include <utility>

#include "db/sqlite/translate_error.h"
#include "db/sqlite/tsql_parser.h"

namespace orv::db::sqlite {
namespace {

constexpr std::string_view kSource = "temp.orv_merge_source";
constexpr std::string_view kPairs = "temp.orv_merge_pairs";
// The host's message (its error 8672), without quotes.
constexpr std::string_view kMergeSeveralMatches =
    "The MERGE statement attempted to UPDATE or DELETE the same row more than once. This "
    "happens when a target row matches more than one source row. A MERGE statement cannot "
    "UPDATE/DELETE the same row of the target table multiple times. Refine the ON clause to "
    "ensure a target row matches at most one source row, or use the GROUP BY clause to group "
    "the source rows.";

Step Statement(std::string sql) {
  Step step;
  step.sql = std::move(sql);
  return step;
}

}  // namespace

Step TsqlParser::ParseMerge() {
  const Token& start = Next();  // MERGE
  if (Peek().IsWord("TOP")) Unsupported(Peek(), "MERGE TOP");
  AcceptWord("INTO");
  TableRef target = ParseTableName();
  SkipTableHints();
  std::string target_alias = ParseAlias(false);
  if (target_alias.empty()) target_alias = target.quoted_name;
  ExpectWord("USING");

  // The source: a sub-select or a table, with an alias and maybe column names.
  std::string source_query;
  if (AcceptSymbol("(")) {
    QueryInfo info;
    source_query = ParseQuery(&info);
    ExpectSymbol(")");
  } else {
    TableRef table = ParseTableName();
    source_query = "SELECT * FROM " + table.sql;
  }
  std::string source_alias = ParseAlias(true);
  std::vector<std::string> source_columns;
  if (AcceptSymbol("(")) {
    do {
      source_columns.push_back(QuoteName(ExpectName("column name")));
    } while (AcceptSymbol(","));
    ExpectSymbol(")");
  }
  ExpectWord("ON");
  std::string on = ParseExpr().sql;

  struct Action {
    bool present = false;
    std::string condition;  // "" or the AND condition
    bool is_delete = false;
    std::string set;  // UPDATE SET list
    std::string insert_columns;
    std::string insert_values;
  };
  Action matched, by_target, by_source;
  if (!Peek().IsWord("WHEN")) Fail(Peek(), "expected WHEN");
  while (Peek().IsWord("WHEN")) {
    const Token& when_at = Next();
    Action* action = nullptr;
    if (AcceptWord("MATCHED")) {
      action = &matched;
    } else {
      ExpectWord("NOT");
      ExpectWord("MATCHED");
      if (AcceptWord("BY")) {
        if (AcceptWord("SOURCE")) {
          action = &by_source;
        } else {
          ExpectWord("TARGET");
          action = &by_target;
        }
      } else {
        action = &by_target;
      }
    }
    if (action->present) Unsupported(when_at, "two MERGE clauses of the same kind");
    action->present = true;
    if (AcceptWord("AND")) action->condition = ParseExpr().sql;
    ExpectWord("THEN");
    const Token& verb = Peek();
    if (AcceptWord("DELETE")) {
      if (action == &by_target) Fail(verb, "NOT MATCHED BY TARGET can only INSERT");
      action->is_delete = true;
    } else if (AcceptWord("UPDATE")) {
      if (action == &by_target) Fail(verb, "NOT MATCHED BY TARGET can only INSERT");
      ExpectWord("SET");
      bool first = true;
      do {
        std::vector<NamePart> column = ParseNameParts();
        ExpectSymbol("=");
        action->set +=
            (first ? "" : ", ") + QuoteName(column.back().text) + " = " + ParseExpr().sql;
        first = false;
      } while (AcceptSymbol(","));
    } else if (AcceptWord("INSERT")) {
      if (action != &by_target) Fail(verb, "only NOT MATCHED BY TARGET can INSERT");
      if (AcceptSymbol("(")) {
        bool first = true;
        do {
          action->insert_columns += (first ? "" : ", ") + QuoteName(ExpectName("column name"));
          first = false;
        } while (AcceptSymbol(","));
        ExpectSymbol(")");
        action->insert_columns = " (" + action->insert_columns + ")";
      }
      if (AcceptWord("DEFAULT")) {
        Unsupported(verb, "INSERT DEFAULT VALUES in MERGE");
      }
      ExpectWord("VALUES");
      ExpectSymbol("(");
      bool first = true;
      do {
        action->insert_values += (first ? "" : ", ") + ParseExpr().sql;
        first = false;
      } while (AcceptSymbol(","));
      ExpectSymbol(")");
    } else {
      Fail(verb, "expected UPDATE, DELETE or INSERT");
    }
  }
  if (Peek().IsWord("OUTPUT")) Unsupported(Peek(), "OUTPUT clause");
  if (!Peek().IsSymbol(";") && Peek().kind != Token::Kind::kEnd) {
    Fail(Peek(), "expected ';' after MERGE");
  }
  (void)start;

  const std::string source_ref = std::string(kSource) + " AS " + source_alias;
  const std::string target_ref = target.sql + " AS " + target_alias;
  Step merge;
  merge.kind = Step::Kind::kAtomic;
  std::vector<Step>& body = merge.body;
  body.push_back(Statement("DROP TABLE IF EXISTS " + std::string(kSource)));
  body.push_back(Statement("DROP TABLE IF EXISTS " + std::string(kPairs)));
  if (source_columns.empty()) {
    body.push_back(Statement("CREATE TABLE " + std::string(kSource) + " AS " + source_query));
  } else {
    // Declared columns keep the host's text comparison for the ON clause.
    std::string columns;
    for (size_t i = 0; i < source_columns.size(); ++i) {
      columns += (i ? ", " : "") + source_columns[i] + " COLLATE HOSTCI";
    }
    body.push_back(Statement("CREATE TABLE " + std::string(kSource) + " (" + columns + ")"));
    body.push_back(Statement("INSERT INTO " + std::string(kSource) + " " + source_query));
  }
  body.push_back(Statement("CREATE TABLE " + std::string(kPairs) + " AS SELECT " + target_alias +
                           ".rowid AS target_row, " + source_alias + ".rowid AS source_row FROM " +
                           target_ref + " JOIN " + source_ref + " ON " + on));
  auto and_condition = [](const std::string& c) { return c.empty() ? "" : " AND (" + c + ")"; };
  if (matched.present) {
    // As on the host, a target row that the MATCHED action would update or
    // delete for several source rows fails the statement (nothing changes).
    body.push_back(Statement(
        "UPDATE " + std::string(kPairs) + " SET target_row = tsql_raise('" +
        std::string(kMergeSeveralMatches) + "', target_row) WHERE target_row IN (SELECT " +
        "orv_pair.target_row FROM " + std::string(kPairs) + " AS orv_pair JOIN " + target_ref +
        " ON " + target_alias + ".rowid = orv_pair.target_row JOIN " + source_ref + " ON " +
        source_alias + ".rowid = orv_pair.source_row WHERE 1 = 1" +
        and_condition(matched.condition) + " GROUP BY orv_pair.target_row HAVING COUNT(*) > 1)"));
  }
  std::string not_matched_target =
      target_alias + ".rowid NOT IN (SELECT target_row FROM " + std::string(kPairs) + ")";
  if (by_source.present) {
    if (by_source.is_delete) {
      body.push_back(Statement("DELETE FROM " + target_ref + " WHERE " + not_matched_target +
                               and_condition(by_source.condition)));
    } else {
      body.push_back(Statement("UPDATE " + target_ref + " SET " + by_source.set + " WHERE " +
                               not_matched_target + and_condition(by_source.condition)));
    }
  }
  if (matched.present) {
    if (matched.is_delete) {
      body.push_back(Statement(
          "DELETE FROM " + target_ref + " WHERE EXISTS (SELECT 1 FROM " + std::string(kPairs) +
          " AS orv_pair JOIN " + source_ref + " ON " + source_alias +
          ".rowid = orv_pair.source_row WHERE orv_pair.target_row = " + target_alias + ".rowid" +
          and_condition(matched.condition) + ")"));
    } else {
      body.push_back(Statement("UPDATE " + target_ref + " SET " + matched.set + " FROM " +
                               std::string(kPairs) + " AS orv_pair JOIN " + source_ref + " ON " +
                               source_alias + ".rowid = orv_pair.source_row WHERE " + target_alias +
                               ".rowid = orv_pair.target_row" + and_condition(matched.condition)));
    }
  }
  if (by_target.present) {
    body.push_back(Statement("INSERT INTO " + target.sql + by_target.insert_columns + " SELECT " +
                             by_target.insert_values + " FROM " + source_ref + " WHERE " +
                             source_alias + ".rowid NOT IN (SELECT source_row FROM " +
                             std::string(kPairs) + ")" + and_condition(by_target.condition)));
  }
  body.push_back(Statement("DROP TABLE " + std::string(kPairs)));
  body.push_back(Statement("DROP TABLE " + std::string(kSource)));
  return merge;
}

}  // namespace orv::db::sqlite
