#ifndef ORV_DB_SQLITE_TSQL_PARSER_H_
#define ORV_DB_SQLITE_TSQL_PARSER_H_

#include <string>
#include <string_view>
#include <vector>

#include "db/sqlite/sql_expr.h"
#include "db/sqlite/token.h"
#include "db/sqlite/translation.h"
#include "db/sqlite/translator.h"

namespace orv::db::sqlite {

// Parses a batch of host-dialect statements and writes each one in SQLite's
// dialect as it goes (syntax-directed translation): expressions by operator
// precedence, statements by their clause structure. What the parser does not
// know is an error naming the construct and its position; nothing is copied
// through unread. One parser per batch.
class TsqlParser {
 public:
  // `catalog` (may be null) tells which names are host table functions.
  // With `take_literals`, constants that stand for values in data
  // statements are written as parameters ?1, ?2, ... (see
  // Translator::TranslateShared).
  TsqlParser(std::string_view text, const Catalog* catalog, bool take_literals = false);

  Translation ParseBatch();

  // The token of each parameter ?k+1 written for a constant.
  const std::vector<size_t>& literal_tokens() const { return literal_tokens_; }

 private:
  struct NamePart {
    std::string text;
    bool quoted = false;
  };
  struct TableRef {
    std::string sql;              // as written for SQLite: tempdb."##t", "x", x
    std::string temp_name;        // "##t" for a global temporary table, else ""
    std::string bare_name;        // last part, for messages and alias checks
    bool is_temp_schema = false;  // in tempdb or temp (affects index syntax)
    std::string schema;           // "tempdb", "temp" or ""
    std::string quoted_name;      // the table name alone, quoted for SQLite
  };
  struct FromTable {
    std::string table;  // "" for a sub-select or a table function
    std::string alias;
    // A table function: its name and the token of its "(".
    std::string function;
    size_t args_at = 0;
    bool applied = false;  // after CROSS APPLY
    // An outer join may give this source a row of NULLs.
    bool may_be_null = false;
    // An applied function whose row is the row of the caller's table named
    // `merged_into`: its columns are read there and `merged_condition` (the
    // rest of its WHERE, perhaps "") joins the query's WHERE.
    std::string merged_into;
    std::string merged_condition;
  };
  struct QueryInfo {
    bool allow_into = false;
    bool has_into = false;
    TableRef into;
  };
  // A select-list item as ORDER BY may name it: its output name (the alias,
  // or the column of a plain column reference) and its SQLite text.
  struct OutputColumn {
    std::string name;
    std::string sql;
    bool aliased = false;
    bool qualified_column = false;  // t.col without an alias
  };

  // ---- tokens
  const Token& Peek(size_t ahead = 0) const;
  const Token& Next();
  bool AcceptWord(std::string_view keyword);
  void ExpectWord(std::string_view keyword);
  bool AcceptSymbol(std::string_view symbol);
  void ExpectSymbol(std::string_view symbol);
  [[noreturn]] void Fail(const Token& at, std::string_view what) const;
  [[noreturn]] void Unsupported(const Token& at, std::string_view construct) const;
  bool IsReservedWord(const Token& t) const;
  bool IsStatementStart(const Token& t) const;
  std::string ExpectName(std::string_view what);

  // ---- statements
  void ParseStatementList(std::vector<Step>* out, bool in_block);
  void ParseStatement(std::vector<Step>* out);
  void ParseBlockOrStatement(std::vector<Step>* out);
  // `with` is "" or the statement's "WITH ... " prefix, already translated.
  Step ParseSelectStatement(const std::string& with = "");
  Step ParseInsert();
  Step ParseUpdate();
  Step ParseDelete();
  Step ParseMerge();
  Step ParseIf();
  Step ParseExec();
  void ParseSet();
  void ParseDrop(std::vector<Step>* out);
  void ParseCreate(std::vector<Step>* out);
  Step ParseCreateTable();
  Step ParseCreateIndex(bool unique);
  Step ParseCreateView();
  Step ParseCreateRoutine(bool function);
  void ParseRoutineParams(Step::Routine* routine, bool parenthesised);
  std::string TextBetween(size_t first_token, size_t end_token) const;

  // ---- queries
  std::string ParseQuery(QueryInfo* info);
  // `columns` (may be null) receives the arm's select list.
  std::string ParseQueryArm(QueryInfo* info, std::string* top, std::vector<OutputColumn>* columns);
  std::string ParseSelectCore(QueryInfo* info, std::string* top,
                              std::vector<OutputColumn>* columns);
  std::string ParseFrom(std::vector<std::string>* names);
  std::string ParseTableSource(std::vector<std::string>* names, bool apply);
  std::string ParseAlias(bool required);
  // "T AS alias ON (condition)" for `cross apply fn(args) alias` when the
  // function's body is one SELECT of plain columns of one table with a WHERE
  // on its parameters; "" when it is not that simple.
  std::string InlineTableFunction(const Step::Routine& function, const std::vector<SqlExpr>& args,
                                  const std::string& alias) const;
  // Parses this parser's text as such a body; throws when it is not one.
  // `calls` are the arguments as parsed and `caller` the FROM tables of the
  // query that applies the function.
  // With `merged`, the caller's row is the function's (`alias` is the
  // caller's name of it): only the terms that row does not make true come
  // back, joined by AND ("" for none); throws when the row is not provably
  // the caller's.
  std::string ParseInlineBody(const Step::Routine& function, const std::vector<std::string>& args,
                              const std::string& alias, const std::vector<SqlExpr>& calls,
                              const std::vector<FromTable>& caller, bool merged = false);
  // "alias.rowid = X.rowid" when the body's WHERE (from the current token)
  // matches a row key of `table` with the same columns of the caller's row X
  // of that table, so the function's row can only be X; "" otherwise.
  // `implied` receives the token positions of the key terms that row makes
  // true (their columns are never NULL).
  std::string SameRowTerm(const Step::Routine& function, const std::string& table,
                          const std::string& alias, const std::vector<SqlExpr>& calls,
                          const std::vector<FromTable>& caller, std::vector<size_t>* implied) const;
  // Marks the applied functions of the current scope whose row is provably
  // the caller's own row (see SameRowTerm) as merged into it, when nothing in
  // the query could tell the two apart: no "*" in the select list, no outer
  // join that could give the caller's row NULLs, arguments that are plain
  // columns of that row.
  void PlanMergedFunctions(std::vector<FromTable>* scope) const;
  // The caller's name of a merged function's row for `qualifier`, looked up
  // from the innermost query out; null when `qualifier` names no merged row.
  const std::string* MergedName(std::string_view qualifier) const;
  void SkipTableHints();
  // `columns` is the select list of the query's first arm, where the host
  // looks up a bare name first.
  std::string ParseOrderBy(const std::vector<OutputColumn>& columns);
  std::string SortTerm(const SqlExpr& e) const;
  std::string ParseSelectItem(OutputColumn* column);

  // ---- names
  std::vector<NamePart> ParseNameParts();
  TableRef MakeTableRef(const std::vector<NamePart>& parts, const Token& at);
  TableRef ParseTableName();
  std::string ColumnRef(const std::vector<NamePart>& parts) const;

  // ---- expressions
  SqlExpr ParseExpr();
  SqlExpr ParseOr();
  SqlExpr ParseAnd();
  SqlExpr ParseNot();
  SqlExpr ParsePredicate();
  SqlExpr ParseAdditive();
  SqlExpr ParseMultiplicative();
  SqlExpr ParseUnary();
  SqlExpr ParsePrimary();
  SqlExpr ParseCase();
  SqlExpr ParseFunction(const std::vector<NamePart>& name, const Token& at);
  SqlExpr ParseConversion(const Token& at, bool is_cast);
  SqlExpr ParseObjectId(const Token& at);
  SqlExpr ParseSubquery();
  std::vector<SqlExpr> ParseArgs();
  SqlExpr Add(const SqlExpr& left, const SqlExpr& right) const;
  // True when every value of `e` is a text or NULL: text expressions and
  // columns declared as text.
  bool IsSurelyText(const SqlExpr& e) const;
  SqlExpr Compare(const SqlExpr& left, std::string_view op, const SqlExpr& right) const;

  // A host type ("VARCHAR(10)", "DECIMAL(18,2)", "INT"): upper-case name,
  // its host text and its length (-1 for none or MAX).
  struct HostType {
    std::string name;
    std::string text;
    int length = -1;
    bool max = false;
  };
  HostType ParseHostType();

  // The tables a query's FROM clause names, read ahead when its select list
  // starts, so a column's declared type is known where it is used.
  std::vector<FromTable> ScanFromTables() const;
  // The declared type of a column reference of the query being parsed, or ""
  // when it is not certain which table's column it is.
  std::string DeclaredTypeOf(const SqlExpr& column) const;

  // Counts nesting (parentheses, NOT, unary signs, sub-selects, blocks) so a
  // hostile text fails cleanly instead of exhausting the stack.
  class DepthGuard {
   public:
    explicit DepthGuard(TsqlParser* parser);
    ~DepthGuard() { --parser_->depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    TsqlParser* parser_;
  };

  // Keeps constants as written while it lives (positions, patterns, DDL).
  class KeepLiterals {
   public:
    explicit KeepLiterals(TsqlParser* parser) : parser_(parser) { ++parser_->keep_literals_; }
    ~KeepLiterals() { --parser_->keep_literals_; }
    KeepLiterals(const KeepLiterals&) = delete;
    KeepLiterals& operator=(const KeepLiterals&) = delete;

   private:
    TsqlParser* parser_;
  };
  // A constant at the current token as a parameter, or "" to write it as is.
  std::string TakeLiteral();

  std::string text_;
  const Catalog* catalog_;
  bool take_literals_ = false;
  size_t markers_ = 0;  // ? markers of the text
  int keep_literals_ = 0;
  std::vector<size_t> literal_tokens_;
  // While a table function's body is written as a join: its columns are
  // qualified by the alias and its parameters replaced by the arguments.
  struct InlineScope {
    std::string alias;
    const std::vector<std::string>* params = nullptr;
    const std::vector<std::string>* args = nullptr;
  };
  const InlineScope* inline_scope_ = nullptr;
  // The select list being parsed has a "*" or "t.*" item: a table function
  // joined in it keeps its own columns only, so it is not inlined.
  bool select_star_ = false;
  // The FROM item just parsed is an inlined table function.
  bool inlined_source_ = false;
  // The FROM item just parsed is a table function merged into its caller's
  // row; how many of the query's were.
  bool merged_source_ = false;
  size_t merged_sources_ = 0;
  // Names of the common table expressions of the statement being parsed.
  std::vector<std::string> cte_names_;
  // The FROM tables of the queries being parsed, innermost last.
  std::vector<std::vector<FromTable>> from_scopes_;
  // The FROM tables of the query parsed last, for its ORDER BY.
  std::vector<FromTable> last_scope_;
  int depth_ = 0;
  // The query being parsed reads a temporary table. Tables made by SELECT ...
  // INTO have no declared collation, so its text columns get HOSTCI where
  // they are sorted or grouped.
  bool reads_temp_table_ = false;
  std::vector<Token> tokens_;
  // Per token: bit 1 reserved word, bit 2 word that starts a statement.
  std::vector<unsigned char> word_flags_;
  size_t pos_ = 0;
  // Global temporary tables made and dropped by the statement being parsed.
  std::vector<std::string> creates_temp_;
  std::vector<std::string> drops_temp_;
};

// Writes a name for SQLite: as it is when it is a plain identifier that is no
// SQLite keyword, otherwise between double quotes.
std::string QuoteName(std::string_view name);

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_TSQL_PARSER_H_
