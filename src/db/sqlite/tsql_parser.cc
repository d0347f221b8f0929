#include "db/sqlite/tsql_parser.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "db/db_error.h"
#include "db/sqlite/tokenizer.h"
#include "db/sqlite/translate_error.h"

namespace orv::db::sqlite {
namespace {

// Words that end an expression or a clause: they are never taken as an
// alias or a column name unless quoted.
constexpr std::string_view kReserved[] = {
    "ADD",     "ALL",     "ALTER",      "AND",         "ANY",       "APPLY",     "AS",
    "ASC",     "BEGIN",   "BETWEEN",    "BREAK",       "BY",        "CASE",      "CHECK",
    "COLLATE", "COMMIT",  "CONSTRAINT", "CONTINUE",    "CREATE",    "CROSS",     "DECLARE",
    "DEFAULT", "DELETE",  "DESC",       "DISTINCT",    "DROP",      "ELSE",      "END",
    "ESCAPE",  "EXCEPT",  "EXEC",       "EXECUTE",     "EXISTS",    "FETCH",     "FOR",
    "FOREIGN", "FROM",    "FULL",       "GO",          "GOTO",      "GROUP",     "HAVING",
    "IF",      "IN",      "INNER",      "INSERT",      "INTERSECT", "INTO",      "IS",
    "JOIN",    "KEY",     "LEFT",       "LIKE",        "MERGE",     "NOT",       "NULL",
    "OF",      "ON",      "OPTION",     "OR",          "ORDER",     "OUTER",     "OUTPUT",
    "OVER",    "PRIMARY", "PRINT",      "PROC",        "PROCEDURE", "RAISERROR", "REFERENCES",
    "RETURN",  "RIGHT",   "ROLLBACK",   "SELECT",      "SET",       "SOME",      "TABLE",
    "THEN",    "TOP",     "TRAN",       "TRANSACTION", "TRUNCATE",  "UNION",     "UNIQUE",
    "UPDATE",  "USING",   "VALUES",     "WHEN",        "WHERE",     "WHILE",     "WITH",
};

constexpr std::string_view kStatementStarts[] = {
    "SELECT",  "INSERT", "UPDATE",   "DELETE", "MERGE",    "IF",      "BEGIN",     "EXEC",
    "EXECUTE", "DROP",   "CREATE",   "SET",    "TRUNCATE", "DECLARE", "WHILE",     "PRINT",
    "RETURN",  "COMMIT", "ROLLBACK", "ALTER",  "WITH",     "GO",      "RAISERROR",
};

bool IsPlainIdentifier(std::string_view name) {
  if (name.empty()) return false;
  char c0 = name[0];
  if (!((c0 >= 'A' && c0 <= 'Z') || (c0 >= 'a' && c0 <= 'z') || c0 == '_')) return false;
  for (char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string QuoteName(std::string_view name) {
  if (IsPlainIdentifier(name) &&
      sqlite3_keyword_check(name.data(), static_cast<int>(name.size())) == 0) {
    return std::string(name);
  }
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

TsqlParser::DepthGuard::DepthGuard(TsqlParser* parser) : parser_(parser) {
  constexpr int kMaxDepth = 200;
  if (++parser_->depth_ > kMaxDepth) {
    --parser_->depth_;
    parser_->Fail(parser_->Peek(), "statement nested too deeply");
  }
}

TsqlParser::TsqlParser(std::string_view text, const Catalog* catalog, bool take_literals)
    : text_(text), catalog_(catalog), take_literals_(take_literals) {
  tokens_ = Tokenizer(text_).Tokenize();
  // Each ? marker is the parameter of its position in the text (?1, ?2,
  // ...), wherever the translation moves or repeats it.
  for (Token& t : tokens_) {
    if (t.kind == Token::Kind::kMarker) t.text = "?" + std::to_string(++markers_);
  }
  // Keyword classes are looked up once per token, not at every test.
  static const std::unordered_map<std::string, unsigned char> kWordClasses = [] {
    std::unordered_map<std::string, unsigned char> classes;
    for (std::string_view w : kReserved) classes[std::string(w)] |= 1;
    for (std::string_view w : kStatementStarts) classes[std::string(w)] |= 2;
    return classes;
  }();
  word_flags_.assign(tokens_.size(), 0);
  for (size_t i = 0; i < tokens_.size(); ++i) {
    const Token& t = tokens_[i];
    if (t.kind == Token::Kind::kParameter && t.text.rfind("@@", 0) != 0) {
      // SQLite binds @name only for letters, digits and '_' (and UTF-8).
      for (size_t k = 1; k < t.text.size(); ++k) {
        unsigned char c = static_cast<unsigned char>(t.text[k]);
        if (!(std::isalnum(c) || c == '_' || c >= 0x80)) {
          Unsupported(t, "parameter name " + t.text);
        }
      }
    }
    if (t.kind != Token::Kind::kWord || t.text.size() > 12) continue;
    auto found = kWordClasses.find(ToUpperAscii(t.text));
    if (found != kWordClasses.end()) word_flags_[i] = found->second;
  }
}

// ---------------------------------------------------------------- tokens

const Token& TsqlParser::Peek(size_t ahead) const {
  size_t i = std::min(pos_ + ahead, tokens_.size() - 1);
  return tokens_[i];
}

const Token& TsqlParser::Next() {
  const Token& t = tokens_[pos_];
  if (pos_ + 1 < tokens_.size()) ++pos_;
  return t;
}

bool TsqlParser::AcceptWord(std::string_view keyword) {
  if (Peek().IsWord(keyword)) {
    Next();
    return true;
  }
  return false;
}

void TsqlParser::ExpectWord(std::string_view keyword) {
  if (!AcceptWord(keyword)) Fail(Peek(), "expected " + std::string(keyword));
}

bool TsqlParser::AcceptSymbol(std::string_view symbol) {
  if (Peek().IsSymbol(symbol)) {
    Next();
    return true;
  }
  return false;
}

void TsqlParser::ExpectSymbol(std::string_view symbol) {
  if (!AcceptSymbol(symbol)) Fail(Peek(), "expected '" + std::string(symbol) + "'");
}

void TsqlParser::Fail(const Token& at, std::string_view what) const {
  std::string message(what);
  if (at.kind == Token::Kind::kEnd) {
    message += " at end of text";
    ThrowTranslateError(message, at.line, at.column);
  }
  std::string shown = text_.substr(at.offset, std::min<size_t>(at.length, 40));
  message += " near '" + shown + "'";
  ThrowTranslateError(message, at.line, at.column);
}

void TsqlParser::Unsupported(const Token& at, std::string_view construct) const {
  ThrowTranslateError("unsupported construct " + std::string(construct), at.line, at.column);
}

// Tokens handed around are always elements of tokens_.
bool TsqlParser::IsReservedWord(const Token& t) const {
  return (word_flags_[static_cast<size_t>(&t - tokens_.data())] & 1) != 0;
}

bool TsqlParser::IsStatementStart(const Token& t) const {
  return (word_flags_[static_cast<size_t>(&t - tokens_.data())] & 2) != 0;
}

std::string TsqlParser::ExpectName(std::string_view what) {
  const Token& t = Peek();
  if (!t.IsName() || IsReservedWord(t)) Fail(t, "expected " + std::string(what));
  return Next().text;
}

std::string TsqlParser::TakeLiteral() {
  // SQLite allows 32766 parameters; far fewer keeps any statement clear of it.
  constexpr size_t kMaxLiterals = 2000;
  if (!take_literals_ || keep_literals_ > 0 || literal_tokens_.size() >= kMaxLiterals) return "";
  const Token& t = Peek();
  if (t.kind == Token::Kind::kNumber &&
      (t.text.empty() || t.text.size() > 18 ||
       t.text.find_first_not_of("0123456789") != std::string::npos)) {
    return "";  // decimals and large numbers: SQLite reads them its own way
  }
  literal_tokens_.push_back(pos_);
  return "?" + std::to_string(literal_tokens_.size());
}

std::string TsqlParser::TextBetween(size_t first_token, size_t end_token) const {
  if (end_token <= first_token) return "";
  const Token& a = tokens_[first_token];
  const Token& b = tokens_[end_token - 1];
  return text_.substr(a.offset, b.offset + b.length - a.offset);
}

// ---------------------------------------------------------------- statements

Translation TsqlParser::ParseBatch() {
  Translation translation;
  ParseStatementList(&translation.steps, false);
  if (Peek().kind != Token::Kind::kEnd) Fail(Peek(), "unexpected text after the statement");
  translation.markers = markers_;
  return translation;
}

void TsqlParser::ParseStatementList(std::vector<Step>* out, bool in_block) {
  for (;;) {
    while (AcceptSymbol(";")) {
    }
    const Token& t = Peek();
    if (t.kind == Token::Kind::kEnd) {
      if (in_block) Fail(t, "expected END");
      return;
    }
    if (in_block && t.IsWord("END")) return;
    ParseStatement(out);
  }
}

void TsqlParser::ParseBlockOrStatement(std::vector<Step>* out) {
  while (AcceptSymbol(";")) {
  }
  if (Peek().IsWord("BEGIN") && !Peek(1).IsWord("TRAN") && !Peek(1).IsWord("TRANSACTION")) {
    Next();
    ParseStatementList(out, true);
    ExpectWord("END");
    return;
  }
  ParseStatement(out);
}

void TsqlParser::ParseStatement(std::vector<Step>* out) {
  DepthGuard guard(this);
  const Token& t = Peek();
  // Constants become parameters only in data statements: definitions keep
  // them (SQLite takes no parameters there), and so do MERGE and WITH, whose
  // sources may become tables typed by their columns.
  const bool data = t.IsWord("SELECT") || t.IsSymbol("(") || t.IsWord("INSERT") ||
                    t.IsWord("UPDATE") || t.IsWord("DELETE") || t.IsWord("IF") ||
                    t.IsWord("BEGIN") || t.IsWord("EXEC") || t.IsWord("EXECUTE");
  std::optional<KeepLiterals> keep;
  if (!data) keep.emplace(this);
  creates_temp_.clear();
  drops_temp_.clear();
  auto finish = [&](Step step) {
    step.creates_temp = creates_temp_;
    step.drops_temp = drops_temp_;
    creates_temp_.clear();
    drops_temp_.clear();
    out->push_back(std::move(step));
  };
  if (t.IsWord("WITH")) {
    // Common table expressions: SQLite has them with the same meaning.
    Next();
    std::string with = "WITH ";
    bool first = true;
    do {
      cte_names_.push_back(ExpectName("common table expression name"));
      with += (first ? "" : ", ") + QuoteName(cte_names_.back());
      first = false;
      if (AcceptSymbol("(")) {
        with += " (";
        bool first_column = true;
        do {
          with += (first_column ? "" : ", ") + QuoteName(ExpectName("column name"));
          first_column = false;
        } while (AcceptSymbol(","));
        ExpectSymbol(")");
        with += ")";
      }
      ExpectWord("AS");
      ExpectSymbol("(");
      QueryInfo info;
      with += " AS (" + ParseQuery(&info) + ")";
      ExpectSymbol(")");
    } while (AcceptSymbol(","));
    const Token& verb = Peek();
    Step step;
    if (verb.IsWord("SELECT") || verb.IsSymbol("(")) {
      step = ParseSelectStatement(with + " ");
    } else if (verb.IsWord("INSERT") || verb.IsWord("UPDATE") || verb.IsWord("DELETE")) {
      step = verb.IsWord("INSERT")   ? ParseInsert()
             : verb.IsWord("UPDATE") ? ParseUpdate()
                                     : ParseDelete();
      step.sql = with + " " + step.sql;
    } else {
      Unsupported(verb,
                  "WITH before " + (verb.kind == Token::Kind::kEnd ? std::string() : verb.text));
    }
    finish(std::move(step));
  } else if (t.IsWord("SELECT") || t.IsSymbol("(")) {
    finish(ParseSelectStatement());
  } else if (t.IsWord("INSERT")) {
    finish(ParseInsert());
  } else if (t.IsWord("UPDATE")) {
    finish(ParseUpdate());
  } else if (t.IsWord("DELETE")) {
    finish(ParseDelete());
  } else if (t.IsWord("MERGE")) {
    finish(ParseMerge());
  } else if (t.IsWord("IF")) {
    out->push_back(ParseIf());
  } else if (t.IsWord("BEGIN")) {
    if (Peek(1).IsWord("TRAN") || Peek(1).IsWord("TRANSACTION")) {
      Unsupported(t, "BEGIN TRANSACTION (transactions belong to the connection)");
    }
    Next();
    ParseStatementList(out, true);
    ExpectWord("END");
  } else if (t.IsWord("EXEC") || t.IsWord("EXECUTE")) {
    finish(ParseExec());
  } else if (t.IsWord("SET")) {
    ParseSet();
  } else if (t.IsWord("DROP")) {
    ParseDrop(out);
  } else if (t.IsWord("CREATE")) {
    ParseCreate(out);
  } else if (t.IsWord("TRUNCATE")) {
    Next();
    ExpectWord("TABLE");
    TableRef table = ParseTableName();
    Step step;
    step.sql = "DELETE FROM " + table.sql;
    finish(std::move(step));
  } else if (IsStatementStart(t)) {
    Unsupported(t, ToUpperAscii(t.text));
  } else {
    Fail(t, "expected a statement");
  }
  AcceptSymbol(";");
}

Step TsqlParser::ParseSelectStatement(const std::string& with) {
  QueryInfo info;
  info.allow_into = true;
  const size_t start = pos_;
  const size_t literals = literal_tokens_.size();
  std::string query = with + ParseQuery(&info);
  if (info.has_into && literal_tokens_.size() > literals) {
    // SELECT ... INTO makes a table typed by its columns: constants stay.
    pos_ = start;
    literal_tokens_.resize(literals);
    KeepLiterals keep(this);
    info = QueryInfo();
    info.allow_into = true;
    query = with + ParseQuery(&info);
  }
  Step step;
  if (info.has_into) {
    step.sql = "CREATE TABLE " + info.into.sql + " AS " + query;
    step.into_table = info.into.sql;
    step.into_schema = info.into.schema.empty() ? "main" : info.into.schema;
    step.into_name = info.into.bare_name;
    step.into_query = std::move(query);
    if (!info.into.temp_name.empty()) creates_temp_.push_back(info.into.temp_name);
  } else {
    step.sql = std::move(query);
    step.returns_rows = true;
  }
  return step;
}

Step TsqlParser::ParseInsert() {
  ExpectWord("INSERT");
  if (Peek().IsWord("TOP")) Unsupported(Peek(), "INSERT TOP");
  AcceptWord("INTO");
  TableRef table = ParseTableName();
  std::string sql = "INSERT INTO " + table.sql;
  if (Peek().IsSymbol("(") && !Peek(1).IsWord("SELECT")) {
    Next();
    std::vector<std::string> columns;
    do {
      std::vector<NamePart> parts = ParseNameParts();
      columns.push_back(QuoteName(parts.back().text));
    } while (AcceptSymbol(","));
    ExpectSymbol(")");
    sql += " (";
    for (size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + columns[i];
    sql += ")";
  }
  if (Peek().IsWord("OUTPUT")) Unsupported(Peek(), "OUTPUT clause");
  if (AcceptWord("VALUES")) {
    sql += " VALUES ";
    bool first_row = true;
    do {
      ExpectSymbol("(");
      std::vector<SqlExpr> values;
      do {
        values.push_back(ParseExpr());
      } while (AcceptSymbol(","));
      ExpectSymbol(")");
      sql += first_row ? "(" : ", (";
      first_row = false;
      for (size_t i = 0; i < values.size(); ++i) sql += (i ? ", " : "") + values[i].sql;
      sql += ")";
    } while (AcceptSymbol(","));
  } else if (AcceptWord("DEFAULT")) {
    ExpectWord("VALUES");
    sql += " DEFAULT VALUES";
  } else if (Peek().IsWord("SELECT") || Peek().IsSymbol("(")) {
    QueryInfo info;
    sql += " " + ParseQuery(&info);
  } else if (Peek().IsWord("EXEC") || Peek().IsWord("EXECUTE")) {
    Unsupported(Peek(), "INSERT ... EXEC");
  } else {
    Fail(Peek(), "expected VALUES or SELECT");
  }
  Step step;
  step.sql = std::move(sql);
  return step;
}

Step TsqlParser::ParseUpdate() {
  const Token& start = Next();  // UPDATE
  if (Peek().IsWord("TOP")) Unsupported(Peek(), "UPDATE TOP");
  TableRef table = ParseTableName();
  SkipTableHints();
  ExpectWord("SET");
  std::string sql = "UPDATE " + table.sql + " SET ";
  bool first = true;
  do {
    if (Peek().kind == Token::Kind::kParameter) Unsupported(Peek(), "SET of a variable");
    std::vector<NamePart> target = ParseNameParts();
    if (!Peek().IsSymbol("=")) Fail(Peek(), "expected '='");
    Next();
    SqlExpr value = ParseExpr();
    sql += (first ? "" : ", ") + QuoteName(target.back().text) + " = " + value.sql;
    first = false;
  } while (AcceptSymbol(","));
  if (Peek().IsWord("OUTPUT")) Unsupported(Peek(), "OUTPUT clause");
  if (AcceptWord("FROM")) {
    std::vector<std::string> names;
    std::string from = ParseFrom(&names);
    for (const std::string& n : names) {
      if (EqualsIgnoreCase(n, table.bare_name)) {
        Unsupported(start, "UPDATE whose target also appears in its FROM clause");
      }
    }
    sql += " FROM " + from;
  }
  if (AcceptWord("WHERE")) sql += " WHERE " + ParseExpr().sql;
  Step step;
  step.sql = std::move(sql);
  return step;
}

Step TsqlParser::ParseDelete() {
  Next();  // DELETE
  if (Peek().IsWord("TOP")) Unsupported(Peek(), "DELETE TOP");
  AcceptWord("FROM");
  TableRef table = ParseTableName();
  SkipTableHints();
  if (Peek().IsWord("FROM")) Unsupported(Peek(), "DELETE with a FROM clause (join delete)");
  if (Peek().IsWord("OUTPUT")) Unsupported(Peek(), "OUTPUT clause");
  std::string sql = "DELETE FROM " + table.sql;
  if (AcceptWord("WHERE")) sql += " WHERE " + ParseExpr().sql;
  Step step;
  step.sql = std::move(sql);
  return step;
}

Step TsqlParser::ParseIf() {
  Next();  // IF
  SqlExpr condition = ParseExpr();
  Step step;
  step.kind = Step::Kind::kIf;
  step.condition_sql = "SELECT " + condition.sql;
  ParseBlockOrStatement(&step.body);
  while (AcceptSymbol(";")) {
  }
  if (AcceptWord("ELSE")) ParseBlockOrStatement(&step.else_body);
  return step;
}

Step TsqlParser::ParseExec() {
  Next();  // EXEC
  if (Peek().kind == Token::Kind::kParameter) Unsupported(Peek(), "EXEC @variable");
  if (Peek().IsSymbol("(")) Unsupported(Peek(), "EXEC of a dynamic statement");
  const Token& at = Peek();
  std::vector<NamePart> parts = ParseNameParts();
  if (parts.size() > 2 || (parts.size() == 2 && !EqualsIgnoreCase(parts[0].text, "dbo"))) {
    Fail(at, "unknown schema in procedure name");
  }
  Step step;
  step.kind = Step::Kind::kExecProcedure;
  step.exec_name = parts.back().text;
  const Token& next = Peek();
  bool has_args = !(next.kind == Token::Kind::kEnd || next.IsSymbol(";") ||
                    (next.kind == Token::Kind::kWord && IsStatementStart(next)) ||
                    next.IsWord("END") || next.IsWord("ELSE"));
  if (has_args) {
    do {
      std::string name;
      if (Peek().kind == Token::Kind::kParameter && Peek(1).IsSymbol("=")) {
        name = Next().text;
        Next();
      }
      if (Peek().IsWord("DEFAULT")) Unsupported(Peek(), "DEFAULT argument");
      SqlExpr value = ParseExpr();
      if (Peek().IsWord("OUTPUT") || Peek().IsWord("OUT")) Unsupported(Peek(), "OUTPUT argument");
      step.exec_arg_names.push_back(name);
      step.exec_arg_sql.push_back(value.sql);
    } while (AcceptSymbol(","));
  }
  return step;
}

void TsqlParser::ParseSet() {
  const Token& at = Next();  // SET
  static constexpr std::string_view kOptions[] = {
      "NOCOUNT",    "ANSI_NULLS",   "QUOTED_IDENTIFIER",       "ANSI_WARNINGS",
      "ARITHABORT", "ANSI_PADDING", "CONCAT_NULL_YIELDS_NULL", "XACT_ABORT"};
  for (std::string_view option : kOptions) {
    if (Peek().IsWord(option)) {
      Next();
      // Session options the embedded engine has as fixed behaviour.
      if (!AcceptWord("ON") && !AcceptWord("OFF")) Fail(Peek(), "expected ON or OFF");
      return;
    }
  }
  Unsupported(at, "SET " + (Peek().kind == Token::Kind::kEnd ? std::string() : Peek().text));
}

void TsqlParser::ParseDrop(std::vector<Step>* out) {
  const Token& at = Next();  // DROP
  bool table = AcceptWord("TABLE");
  bool view = !table && AcceptWord("VIEW");
  bool index = !table && !view && AcceptWord("INDEX");
  if (!table && !view && !index) {
    Unsupported(at, "DROP " + (Peek().kind == Token::Kind::kEnd ? std::string() : Peek().text));
  }
  bool if_exists = false;
  if (Peek().IsWord("IF") && Peek(1).IsWord("EXISTS")) {
    Next();
    Next();
    if_exists = true;
  }
  do {
    creates_temp_.clear();
    drops_temp_.clear();
    Step step;
    if (index) {
      // DROP INDEX name ON table, or table.name.
      const Token& name_at = Peek();
      std::vector<NamePart> parts = ParseNameParts();
      std::string index_name;
      std::string schema;
      if (AcceptWord("ON")) {
        TableRef t = ParseTableName();
        schema = t.schema;
        index_name = parts.back().text;
      } else if (parts.size() >= 2) {
        TableRef t = MakeTableRef({parts.begin(), parts.end() - 1}, name_at);
        schema = t.schema;
        index_name = parts.back().text;
      } else {
        Fail(name_at, "expected index name with its table");
      }
      step.sql = std::string("DROP INDEX ") + (if_exists ? "IF EXISTS " : "") +
                 (schema.empty() ? "" : schema + ".") + QuoteName(index_name);
    } else {
      TableRef t = ParseTableName();
      step.sql = std::string(table ? "DROP TABLE " : "DROP VIEW ") +
                 (if_exists ? "IF EXISTS " : "") + t.sql;
      if (!t.temp_name.empty()) step.drops_temp.push_back(t.temp_name);
    }
    out->push_back(std::move(step));
  } while (AcceptSymbol(","));
}

// ---------------------------------------------------------------- queries

std::string TsqlParser::ParseQuery(QueryInfo* info) {
  DepthGuard guard(this);
  if (inline_scope_ != nullptr) Fail(Peek(), "a sub-select in an inlined function");
  bool outer_reads_temp = reads_temp_table_;
  reads_temp_table_ = false;
  struct Restore {
    bool& flag;
    bool value;
    ~Restore() { flag = value; }
  } restore{reads_temp_table_, outer_reads_temp};
  struct Arm {
    std::string sql;
    std::string top;
  };
  std::vector<Arm> arms;
  std::vector<std::string> operators;
  Arm first;
  std::vector<OutputColumn> columns;
  first.sql = ParseQueryArm(info, &first.top, &columns);
  std::vector<FromTable> first_scope = std::move(last_scope_);
  arms.push_back(std::move(first));
  QueryInfo no_into;
  for (;;) {
    std::string op;
    if (AcceptWord("UNION")) {
      op = AcceptWord("ALL") ? "UNION ALL" : "UNION";
    } else if (AcceptWord("EXCEPT")) {
      op = "EXCEPT";
    } else if (AcceptWord("INTERSECT")) {
      op = "INTERSECT";
    } else {
      break;
    }
    Arm arm;
    arm.sql = ParseQueryArm(&no_into, &arm.top, nullptr);
    operators.push_back(op);
    arms.push_back(std::move(arm));
  }
  std::string order_by;
  if (Peek().IsWord("ORDER")) {
    // A function row merged into its caller's row is named as that row there too.
    const bool merged = std::any_of(first_scope.begin(), first_scope.end(),
                                    [](const FromTable& t) { return !t.merged_into.empty(); });
    if (merged) from_scopes_.push_back(std::move(first_scope));
    struct PopScope {
      std::vector<std::vector<FromTable>>& scopes;
      bool pop;
      ~PopScope() {
        if (pop) scopes.pop_back();
      }
    } pop_scope{from_scopes_, merged};
    order_by = ParseOrderBy(columns);
  }
  if (Peek().IsWord("OPTION")) Unsupported(Peek(), "OPTION clause");
  if (Peek().IsWord("FOR")) Unsupported(Peek(), "FOR clause");
  if (arms.size() == 1) {
    std::string sql = arms[0].sql + order_by;
    if (!arms[0].top.empty()) sql += " LIMIT " + arms[0].top;
    return sql;
  }
  // In a compound SQLite's LIMIT would apply to the whole: an arm with its
  // own TOP becomes a sub-select.
  std::string sql;
  for (size_t i = 0; i < arms.size(); ++i) {
    if (i) sql += " " + operators[i - 1] + " ";
    if (arms[i].top.empty()) {
      sql += arms[i].sql;
    } else {
      sql += "SELECT * FROM (" + arms[i].sql + " LIMIT " + arms[i].top + ")";
    }
  }
  return sql + order_by;
}

std::string TsqlParser::ParseQueryArm(QueryInfo* info, std::string* top,
                                      std::vector<OutputColumn>* columns) {
  if (AcceptSymbol("(")) {
    QueryInfo inner;
    std::string sql = ParseQuery(&inner);
    ExpectSymbol(")");
    return "SELECT * FROM (" + sql + ")";
  }
  return ParseSelectCore(info, top, columns);
}

std::string TsqlParser::ParseSelectCore(QueryInfo* info, std::string* top,
                                        std::vector<OutputColumn>* columns) {
  ExpectWord("SELECT");
  from_scopes_.push_back(ScanFromTables());
  PlanMergedFunctions(&from_scopes_.back());
  struct PopScope {
    std::vector<std::vector<FromTable>>& scopes;
    std::vector<FromTable>& last;
    ~PopScope() {
      last = std::move(scopes.back());
      scopes.pop_back();
    }
  } pop_scope{from_scopes_, last_scope_};
  struct RestoreStar {
    bool& flag;
    bool value;
    ~RestoreStar() { flag = value; }
  } restore_star{select_star_, select_star_};
  select_star_ = false;
  std::string sql = "SELECT ";
  if (AcceptWord("DISTINCT")) {
    sql += "DISTINCT ";
  } else {
    AcceptWord("ALL");
  }
  if (Peek().IsWord("TOP")) {
    const Token& at = Next();
    if (AcceptSymbol("(")) {
      *top = ParseExpr().sql;
      ExpectSymbol(")");
    } else if (Peek().kind == Token::Kind::kNumber || Peek().kind == Token::Kind::kParameter ||
               Peek().kind == Token::Kind::kMarker) {
      *top = Next().text;
    } else {
      Fail(Peek(), "expected the row count of TOP");
    }
    if (Peek().IsWord("PERCENT")) Unsupported(at, "TOP ... PERCENT");
    if (Peek().IsWord("WITH") && Peek(1).IsWord("TIES")) Unsupported(at, "TOP ... WITH TIES");
  }
  bool first = true;
  do {
    OutputColumn column;
    sql += (first ? "" : ", ") + ParseSelectItem(&column);
    if (columns != nullptr) columns->push_back(std::move(column));
    first = false;
  } while (AcceptSymbol(","));
  if (Peek().IsWord("INTO")) {
    const Token& at = Next();
    if (!info->allow_into) Fail(at, "INTO is allowed only in the first SELECT of a statement");
    info->into = ParseTableName();
    info->has_into = true;
  }
  std::string merged;  // the conditions of the function rows merged into their callers'
  if (AcceptWord("FROM")) {
    std::vector<std::string> names;
    const size_t outer_merged = merged_sources_;  // of a query this one is part of
    merged_sources_ = 0;
    sql += " FROM " + ParseFrom(&names);
    const size_t merged_here = merged_sources_;
    merged_sources_ = outer_merged;
    size_t planned = 0;
    for (const FromTable& t : from_scopes_.back()) {
      if (t.merged_into.empty()) continue;
      ++planned;
      if (t.merged_condition.empty()) continue;
      merged += (merged.empty() ? "" : " AND ") + t.merged_condition;
    }
    if (planned != merged_here) Fail(Peek(), "a table function read ahead differently");
  }
  if (AcceptWord("WHERE")) {
    const SqlExpr where = ParseExpr();
    sql += " WHERE " +
           (merged.empty() ? where.sql
                           : merged + " AND " + (where.atomic ? where.sql : "(" + where.sql + ")"));
  } else if (!merged.empty()) {
    sql += " WHERE " + merged;
  }
  if (Peek().IsWord("GROUP")) {
    Next();
    ExpectWord("BY");
    sql += " GROUP BY ";
    KeepLiterals keep(this);  // GROUP BY 1 names a position
    bool first_group = true;
    do {
      SqlExpr e = ParseExpr();
      sql += (first_group ? "" : ", ") + SortTerm(e);
      first_group = false;
    } while (AcceptSymbol(","));
  }
  if (AcceptWord("HAVING")) sql += " HAVING " + ParseExpr().sql;
  return sql;
}

std::string TsqlParser::ParseSelectItem(OutputColumn* column) {
  // t.* and *
  if (AcceptSymbol("*")) {
    select_star_ = true;
    return "*";
  }
  {
    size_t i = 0;
    while (Peek(i).IsName() && Peek(i + 1).IsSymbol(".")) i += 2;
    if (i > 0 && Peek(i).IsSymbol("*")) {
      std::vector<NamePart> parts;
      for (size_t k = 0; k < i; k += 2)
        parts.push_back({Peek(k).text, Peek(k).kind == Token::Kind::kQuotedName});
      if (parts.size() > 2 || (parts.size() == 2 && !EqualsIgnoreCase(parts[0].text, "dbo"))) {
        Fail(Peek(), "expected table.*");
      }
      if (parts.size() == 2) parts.erase(parts.begin());  // dbo.
      for (size_t k = 0; k <= i; ++k) Next();
      select_star_ = true;
      return ColumnRef(parts) + ".*";
    }
  }
  // alias = expression
  if (Peek().IsName() && !IsReservedWord(Peek()) && Peek(1).IsSymbol("=")) {
    std::string alias = Next().text;
    Next();
    SqlExpr e = ParseExpr();
    std::string sql = e.sql;
    if (e.IsTextual() && !e.column)
      sql = (e.atomic ? e.sql : "(" + e.sql + ")") + " COLLATE HOSTCI";
    *column = {alias, sql, true, false};
    return sql + " AS " + QuoteName(alias);
  }
  if (Peek().kind == Token::Kind::kParameter && Peek(1).IsSymbol("=")) {
    Unsupported(Peek(), "assignment to a variable in SELECT");
  }
  const size_t first_token = pos_;
  const size_t literals = literal_tokens_.size();
  SqlExpr e = ParseExpr();
  if (literal_tokens_.size() > literals && !Peek().IsWord("AS") &&
      (Peek().kind != Token::Kind::kWord || IsReservedWord(Peek())) &&
      Peek().kind != Token::Kind::kQuotedName && Peek().kind != Token::Kind::kString) {
    // A column without an alias is named after its text: constants stay.
    pos_ = first_token;
    literal_tokens_.resize(literals);
    KeepLiterals keep(this);
    e = ParseExpr();
  }
  if (e.type == SqlExpr::Type::kBool) Fail(Peek(), "a condition cannot be a select-list column");
  std::string sql = e.sql;
  // Text computed without a column has no declared collation: give it the
  // host's, so DISTINCT and UNION compare it as the host does.
  if (e.IsTextual() && !e.column) sql = (e.atomic ? e.sql : "(" + e.sql + ")") + " COLLATE HOSTCI";
  const std::string alias_token = Peek().IsWord("AS") ? Peek(1).text : Peek().text;
  std::string alias = ParseAlias(false);
  if (!alias.empty()) {
    *column = {alias_token, sql, true, false};
    return sql + " AS " + alias;
  }
  // t.col (or dbo.t.col): its output name is col.
  if (e.column && pos_ - first_token >= 3) *column = {tokens_[pos_ - 1].text, sql, false, true};
  return sql;
}

std::string TsqlParser::ParseAlias(bool required) {
  if (AcceptWord("AS")) {
    const Token& t = Peek();
    if (t.kind == Token::Kind::kString || t.IsName()) return QuoteName(Next().text);
    Fail(t, "expected an alias");
  }
  const Token& t = Peek();
  if ((t.kind == Token::Kind::kQuotedName) ||
      (t.kind == Token::Kind::kWord && !IsReservedWord(t)) || t.kind == Token::Kind::kString) {
    if (t.kind == Token::Kind::kWord && IsStatementStart(t)) {
      if (required) Fail(t, "expected an alias");
      return "";
    }
    return QuoteName(Next().text);
  }
  if (required) Fail(t, "expected an alias");
  return "";
}

std::string TsqlParser::SortTerm(const SqlExpr& e) const {
  // Numbers ignore a collation, so adding it to a column of unknown type is safe.
  if ((e.IsTextual() && !e.column) || (e.column && reads_temp_table_)) {
    return (e.atomic ? e.sql : "(" + e.sql + ")") + " COLLATE HOSTCI";
  }
  return e.sql;
}

std::string TsqlParser::ParseOrderBy(const std::vector<OutputColumn>& columns) {
  ExpectWord("ORDER");
  ExpectWord("BY");
  std::string sql = " ORDER BY ";
  KeepLiterals keep(this);  // ORDER BY 1 names a position
  bool first = true;
  do {
    const size_t first_token = pos_;
    SqlExpr e = ParseExpr();
    if (e.column && pos_ - first_token == 1) {
      // The host takes a bare name for the select-list column of that name
      // before any column of the FROM clause. SQLite does so only for an
      // alias; a column written t.col is named by its reference instead
      // (which is also how SQLite matches it to a compound's result).
      const std::string& name = tokens_[first_token].text;
      for (const OutputColumn& c : columns) {
        if (!EqualsIgnoreCase(c.name, name)) continue;
        if (c.qualified_column) e.sql = c.sql;
        break;
      }
    }
    std::string term = SortTerm(e);
    if (AcceptWord("DESC")) {
      term += " DESC";
    } else if (AcceptWord("ASC")) {
      term += " ASC";
    }
    sql += (first ? "" : ", ") + term;
    first = false;
  } while (AcceptSymbol(","));
  if (Peek().IsWord("OFFSET")) Unsupported(Peek(), "OFFSET ... FETCH");
  return sql;
}

void TsqlParser::SkipTableHints() {
  if (Peek().IsWord("WITH") && Peek(1).IsSymbol("(")) {
    // Locking hints (NOLOCK, ROWLOCK, ...) have no meaning for the embedded engine.
    Next();
    Next();
    do {
      const Token& h = Peek();
      static constexpr std::string_view kHints[] = {
          "NOLOCK",        "ROWLOCK",  "UPDLOCK",     "HOLDLOCK", "READUNCOMMITTED",
          "READCOMMITTED", "PAGLOCK",  "TABLOCK",     "TABLOCKX", "XLOCK",
          "NOWAIT",        "READPAST", "SERIALIZABLE"};
      bool known = false;
      for (std::string_view k : kHints) known = known || h.IsWord(k);
      if (!known) Unsupported(h, "table hint " + h.text);
      Next();
    } while (AcceptSymbol(","));
    ExpectSymbol(")");
  }
}

std::string TsqlParser::ParseFrom(std::vector<std::string>* names) {
  std::string sql = ParseTableSource(names, false);
  for (;;) {
    const Token& t = Peek();
    if (AcceptSymbol(",")) {
      sql += ", " + ParseTableSource(names, false);
      continue;
    }
    std::string join;
    bool needs_on = true;
    bool apply = false;
    if (t.IsWord("JOIN")) {
      Next();
      join = " JOIN ";
    } else if (t.IsWord("INNER") && Peek(1).IsWord("JOIN")) {
      Next();
      Next();
      join = " JOIN ";
    } else if (t.IsWord("LEFT") || t.IsWord("RIGHT") || t.IsWord("FULL")) {
      std::string kind = ToUpperAscii(Next().text);
      AcceptWord("OUTER");
      if (!Peek().IsWord("JOIN")) Fail(Peek(), "expected JOIN");
      Next();
      join = " " + kind + " JOIN ";
    } else if (t.IsWord("CROSS") && Peek(1).IsWord("JOIN")) {
      Next();
      Next();
      join = " CROSS JOIN ";
      needs_on = false;
    } else if (t.IsWord("CROSS") && Peek(1).IsWord("APPLY")) {
      Next();
      Next();
      // A table function whose arguments come from the tables on its left:
      // SQLite's table-valued functions join exactly that way. An inlined
      // one keeps that order (CROSS JOIN fixes it in SQLite), so the rows
      // come as they did.
      join = " JOIN ";
      needs_on = false;
      apply = true;
    } else if (t.IsWord("OUTER") && Peek(1).IsWord("APPLY")) {
      Unsupported(t, "OUTER APPLY");
    } else if ((t.IsWord("LOOP") || t.IsWord("HASH") || t.IsWord("MERGE")) &&
               Peek(1).IsWord("JOIN")) {
      Unsupported(t, "join hint " + t.text);
    } else {
      break;
    }
    inlined_source_ = false;
    merged_source_ = false;
    std::string source = ParseTableSource(names, apply);
    if (merged_source_) continue;  // its row is the caller's: nothing to join
    if (inlined_source_) join = " CROSS JOIN ";
    sql += join + source;
    if (needs_on) {
      ExpectWord("ON");
      sql += " ON " + ParseExpr().sql;
    }
  }
  return sql;
}

std::string TsqlParser::ParseTableSource(std::vector<std::string>* names, bool apply) {
  const Token& at = Peek();
  if (AcceptSymbol("(")) {
    if (apply) Unsupported(at, "CROSS APPLY over a sub-select");
    if (!Peek().IsWord("SELECT") && !Peek().IsSymbol("(")) Unsupported(at, "parenthesised join");
    QueryInfo info;
    std::string sql = "(" + ParseQuery(&info) + ")";
    ExpectSymbol(")");
    std::string alias = ParseAlias(true);
    names->push_back(alias);
    return sql + " AS " + alias;
  }
  if (!at.IsName() || IsReservedWord(at)) Fail(at, "expected a table name");
  std::vector<NamePart> parts = ParseNameParts();
  if (Peek().IsSymbol("(")) {
    // Table function: dbo.FN(args).
    if (parts.size() > 2 || (parts.size() == 2 && !EqualsIgnoreCase(parts[0].text, "dbo"))) {
      Fail(at, "unknown schema in table function name");
    }
    const std::string& name = parts.back().text;
    if (catalog_ != nullptr && !catalog_->IsTableFunction(name)) {
      Fail(at, "unknown table function " + name);
    }
    std::vector<SqlExpr> args = ParseArgs();
    std::string sql = QuoteName(name) + "(";
    for (size_t i = 0; i < args.size(); ++i) sql += (i ? ", " : "") + args[i].sql;
    sql += ")";
    std::string alias = ParseAlias(false);
    names->push_back(alias.empty() ? name : alias);
    if (apply && !alias.empty() && !from_scopes_.empty()) {
      for (const FromTable& t : from_scopes_.back()) {
        if (!t.merged_into.empty() && t.applied && QuoteName(t.alias) == alias &&
            EqualsIgnoreCase(t.function, name)) {
          merged_source_ = true;
          ++merged_sources_;
          return "";
        }
      }
    }
    if (apply && !select_star_ && catalog_ != nullptr) {
      if (const Step::Routine* function = catalog_->TableFunction(name)) {
        std::string joined =
            InlineTableFunction(*function, args, alias.empty() ? QuoteName(name) : alias);
        if (!joined.empty()) {
          inlined_source_ = true;
          return joined;
        }
      }
    }
    return alias.empty() ? sql : sql + " AS " + alias;
  }
  if (apply) Fail(at, "CROSS APPLY needs a table function");
  TableRef table = MakeTableRef(parts, at);
  if (table.is_temp_schema) reads_temp_table_ = true;
  std::string alias = ParseAlias(false);
  SkipTableHints();
  names->push_back(table.bare_name);
  if (!alias.empty()) names->push_back(alias);
  return alias.empty() ? table.sql : table.sql + " AS " + alias;
}

std::string TsqlParser::InlineTableFunction(const Step::Routine& function,
                                            const std::vector<SqlExpr>& args,
                                            const std::string& alias) const {
  if (function.type != Step::Routine::Type::kTableFunction ||
      args.size() != function.params.size()) {
    return "";
  }
  // A bound parameter has no affinity, no collation and is no column:
  // coalesce(x, NULL) is the same value with none of them either, so each
  // comparison in the body behaves as it did with the parameter.
  std::vector<std::string> values;
  for (const SqlExpr& a : args) values.push_back("coalesce(" + a.sql + ", NULL)");
  try {
    TsqlParser body(function.body, catalog_);
    static const std::vector<FromTable> kNoTables;
    return body.ParseInlineBody(function, values, alias, args,
                                from_scopes_.empty() ? kNoTables : from_scopes_.back());
  } catch (const DbError&) {
    return "";  // not that simple: the function runs as a table of its own
  }
}

std::string TsqlParser::ParseInlineBody(const Step::Routine& function,
                                        const std::vector<std::string>& args,
                                        const std::string& alias, const std::vector<SqlExpr>& calls,
                                        const std::vector<FromTable>& caller, bool merged) {
  ExpectWord("SELECT");
  if (Peek().IsWord("DISTINCT") || Peek().IsWord("TOP") || Peek().IsWord("ALL")) {
    Fail(Peek(), "not a plain select list");
  }
  std::vector<std::string> columns;
  do {
    const Token& t = Peek();
    if (!t.IsName() || IsReservedWord(t)) Fail(t, "not a plain column");
    for (const std::string& c : columns) {
      if (EqualsIgnoreCase(c, t.text)) Fail(t, "a column twice");
    }
    columns.push_back(Next().text);
  } while (AcceptSymbol(","));
  ExpectWord("FROM");
  TableRef table = ParseTableName();
  if (table.is_temp_schema) Fail(Peek(), "a temporary table");
  std::string condition = "1";
  if (AcceptWord("WHERE")) {
    std::vector<size_t> implied;
    const std::string same_row =
        SameRowTerm(function, table.bare_name, alias, calls, caller, &implied);
    InlineScope scope{alias, &function.params, &args};
    inline_scope_ = &scope;
    if (merged) {
      if (same_row.empty()) Fail(Peek(), "not the caller's own row");
      condition.clear();
      do {
        const bool holds = std::find(implied.begin(), implied.end(), pos_) != implied.end();
        const SqlExpr term = ParseNot();
        if (holds) continue;
        condition +=
            (condition.empty() ? "" : " AND ") + (term.atomic ? term.sql : "(" + term.sql + ")");
      } while (AcceptWord("AND"));
    } else if (same_row.empty()) {
      condition = "(" + ParseExpr().sql + ")";
    } else {
      // The row id joins the caller's row; the terms it makes true are left
      // out, the others kept.
      condition = "(" + same_row;
      do {
        const bool holds = std::find(implied.begin(), implied.end(), pos_) != implied.end();
        const SqlExpr term = ParseNot();
        if (!holds) condition += " AND " + (term.atomic ? term.sql : "(" + term.sql + ")");
      } while (AcceptWord("AND"));
      condition += ")";
    }
    inline_scope_ = nullptr;
  }
  if (Peek().kind != Token::Kind::kEnd) Fail(Peek(), "more than a WHERE");
  if (merged) {
    if (condition == "1") Fail(Peek(), "no WHERE");
    return condition;
  }
  return table.sql + " AS " + alias + " ON " + condition;
}

std::string TsqlParser::SameRowTerm(const Step::Routine& function, const std::string& table,
                                    const std::string& alias, const std::vector<SqlExpr>& calls,
                                    const std::vector<FromTable>& caller,
                                    std::vector<size_t>* implied) const {
  if (catalog_ == nullptr || calls.size() != function.params.size()) return "";
  // The WHERE's terms joined by AND at the top level, as token positions;
  // anything else (OR, NOT, BETWEEN ... AND) and the body is left as it is.
  std::vector<std::vector<size_t>> terms(1);
  int depth = 0;
  for (size_t i = pos_; i < tokens_.size() && tokens_[i].kind != Token::Kind::kEnd; ++i) {
    const Token& t = tokens_[i];
    if (t.IsSymbol("(")) ++depth;
    if (t.IsSymbol(")")) --depth;
    if (depth == 0 && (t.IsWord("OR") || t.IsWord("NOT") || t.IsWord("BETWEEN"))) return "";
    if (depth == 0 && t.IsWord("AND")) {
      terms.emplace_back();
      continue;
    }
    terms.back().push_back(i);
  }
  // Terms "column = @parameter" whose argument is the same column of one
  // row of the caller, that row of the same table.
  std::string row;  // the caller's name of that row
  std::vector<std::string> columns;
  std::vector<size_t> starts;  // of those terms
  for (const std::vector<size_t>& term : terms) {
    if (term.size() != 3 || !tokens_[term[1]].IsSymbol("=")) continue;
    const bool left = tokens_[term[0]].kind == Token::Kind::kParameter;
    const Token& column = tokens_[term[left ? 2 : 0]];
    const Token& parameter = tokens_[term[left ? 0 : 2]];
    if (parameter.kind != Token::Kind::kParameter || !column.IsName() || IsReservedWord(column)) {
      continue;
    }
    size_t p = 0;
    while (p < function.params.size() && !EqualsIgnoreCase(function.params[p], parameter.text)) {
      ++p;
    }
    if (p == function.params.size()) continue;
    const SqlExpr& arg = calls[p];
    if (!arg.column || arg.qualifier.empty() || !EqualsIgnoreCase(arg.name, column.text)) continue;
    if (!row.empty() && !EqualsIgnoreCase(row, arg.qualifier)) return "";
    row = arg.qualifier;
    columns.push_back(column.text);
    starts.push_back(term[0]);
  }
  if (row.empty()) return "";
  // The caller's row must be of a table of that name: not a sub-select, a
  // function or a common table expression, and named once in its FROM.
  int sources = 0;
  for (const FromTable& t : caller) {
    const std::string& name = t.alias.empty() ? t.table : t.alias;
    if (!EqualsIgnoreCase(name, row)) continue;
    ++sources;
    if (t.table.empty() || !EqualsIgnoreCase(t.table, table)) return "";
  }
  if (sources != 1) return "";
  for (const std::string& cte : cte_names_) {
    if (EqualsIgnoreCase(cte, table)) return "";
  }
  if (!catalog_->IsRowKey(table, columns)) return "";
  // A column that is never NULL equals itself: on the same row its term holds.
  for (size_t k = 0; k < columns.size(); ++k) {
    if (catalog_->IsNotNull(table, columns[k])) implied->push_back(starts[k]);
  }
  return alias + ".rowid = " + QuoteName(row) + ".rowid";
}

void TsqlParser::PlanMergedFunctions(std::vector<FromTable>* scope) const {
  if (catalog_ == nullptr || inline_scope_ != nullptr) return;
  if (std::none_of(scope->begin(), scope->end(), [](const FromTable& t) { return t.applied; })) {
    return;
  }
  // A "*" before FROM (t.*, *, or anything else) may show the function's own
  // columns: nothing is merged.
  int depth = 0;
  for (size_t i = pos_; i < tokens_.size() && tokens_[i].kind != Token::Kind::kEnd; ++i) {
    const Token& t = tokens_[i];
    if (t.IsSymbol("*")) return;
    if (t.IsSymbol("(")) ++depth;
    if (t.IsSymbol(")") && --depth < 0) return;
    if (depth == 0 && t.IsWord("FROM")) break;
  }
  for (FromTable& t : *scope) {
    if (!t.applied || t.alias.empty() || t.may_be_null) continue;
    const Step::Routine* function = catalog_->TableFunction(t.function);
    if (function == nullptr || function->type != Step::Routine::Type::kTableFunction) continue;
    // The arguments, each a column of one row: row.column.
    std::vector<SqlExpr> args;
    std::string row;
    bool plain = true;
    size_t i = t.args_at + 1;
    while (plain && i + 3 < tokens_.size()) {
      const Token& q = tokens_[i];
      const Token& c = tokens_[i + 2];
      plain = q.IsName() && !IsReservedWord(q) && tokens_[i + 1].IsSymbol(".") && c.IsName() &&
              !IsReservedWord(c) &&
              (tokens_[i + 3].IsSymbol(",") || tokens_[i + 3].IsSymbol(")")) &&
              (row.empty() || EqualsIgnoreCase(row, q.text));
      if (!plain) break;
      row = q.text;
      SqlExpr a;
      a.sql = QuoteName(q.text) + "." + QuoteName(c.text);
      a.column = true;
      a.qualifier = q.text;
      a.name = c.text;
      args.push_back(std::move(a));
      const bool last = tokens_[i + 3].IsSymbol(")");
      i += 4;
      if (last) break;
    }
    if (!plain || args.empty() || args.size() != function->params.size()) continue;
    // That row is a table of this query that no outer join can make NULL.
    const FromTable* caller = nullptr;
    for (const FromTable& c : *scope) {
      if (EqualsIgnoreCase(c.alias.empty() ? c.table : c.alias, row)) caller = &c;
    }
    if (caller == nullptr || caller->table.empty() || caller->may_be_null) continue;
    std::vector<std::string> values;
    for (const SqlExpr& a : args) values.push_back("coalesce(" + a.sql + ", NULL)");
    try {
      TsqlParser body(function->body, catalog_);
      t.merged_condition =
          body.ParseInlineBody(*function, values, QuoteName(row), args, *scope, true);
      t.merged_into = QuoteName(row);
    } catch (const DbError&) {
      // Not provably the same row: joined as before.
    }
  }
}

const std::string* TsqlParser::MergedName(std::string_view qualifier) const {
  for (auto scope = from_scopes_.rbegin(); scope != from_scopes_.rend(); ++scope) {
    for (const FromTable& t : *scope) {
      if (EqualsIgnoreCase(t.alias.empty() ? t.table : t.alias, qualifier)) {
        return t.merged_into.empty() ? nullptr : &t.merged_into;
      }
    }
  }
  return nullptr;
}

std::vector<TsqlParser::FromTable> TsqlParser::ScanFromTables() const {
  std::vector<FromTable> tables;
  if (catalog_ == nullptr) return tables;
  int depth = 0;
  bool in_from = false;
  bool expect_table = false;
  bool apply = false;       // the next table follows APPLY
  bool after_left = false;  // a LEFT join came before
  bool right_or_full = false;
  for (size_t i = pos_; i < tokens_.size(); ++i) {
    const Token& t = tokens_[i];
    if (t.kind == Token::Kind::kEnd || (depth == 0 && t.IsSymbol(";"))) break;
    if (t.IsSymbol("(")) {
      if (expect_table) tables.push_back({});  // a sub-select: its columns are not known
      expect_table = false;
      ++depth;
      continue;
    }
    if (t.IsSymbol(")")) {
      if (--depth < 0) break;
      continue;
    }
    if (depth > 0) continue;
    // A SELECT without FROM ends at the next arm of a compound, whose
    // tables are not its own (and a compound of many such arms is then
    // scanned once, not once per arm).
    if (t.IsWord("UNION") || t.IsWord("EXCEPT") || t.IsWord("INTERSECT")) break;
    if (!in_from) {
      in_from = t.IsWord("FROM");
      expect_table = in_from;
      continue;
    }
    if (t.IsWord("WHERE") || t.IsWord("GROUP") || t.IsWord("ORDER") || t.IsWord("HAVING") ||
        (IsStatementStart(t) && !t.IsWord("WITH"))) {
      break;
    }
    if ((t.IsWord("LEFT") || t.IsWord("RIGHT") || t.IsWord("FULL")) &&
        !tokens_[i + 1].IsSymbol("(")) {
      after_left = after_left || t.IsWord("LEFT");
      right_or_full = right_or_full || !t.IsWord("LEFT");
    }
    if (t.IsWord("JOIN") || t.IsWord("APPLY") || t.IsSymbol(",")) {
      expect_table = true;
      apply = t.IsWord("APPLY");
      continue;
    }
    if (!expect_table || !t.IsName() || IsReservedWord(t)) continue;
    expect_table = false;
    // schema.table or table, then a function's "(" or an alias.
    size_t k = i;
    while (k + 2 < tokens_.size() && tokens_[k + 1].IsSymbol(".") && tokens_[k + 2].IsName())
      k += 2;
    FromTable table;
    const bool function = tokens_[k + 1].IsSymbol("(");
    if (!function) table.table = tokens_[k].text;
    if (function) {
      table.function = tokens_[k].text;
      table.args_at = k + 1;
      table.applied = apply;
    }
    table.may_be_null = after_left;
    size_t a = function ? k : k + 1;
    if (function) {
      // The alias follows the argument list.
      int inner = 0;
      for (a = k + 1; a < tokens_.size() && tokens_[a].kind != Token::Kind::kEnd; ++a) {
        if (tokens_[a].IsSymbol("(")) ++inner;
        if (tokens_[a].IsSymbol(")") && --inner == 0) break;
      }
      ++a;
    }
    if (a < tokens_.size() && tokens_[a].IsWord("AS")) ++a;
    if (a < tokens_.size() && tokens_[a].IsName() && !IsReservedWord(tokens_[a])) {
      table.alias = tokens_[a].text;
    }
    tables.push_back(std::move(table));
    i = function ? a - 1 : k;
  }
  if (right_or_full) {
    for (FromTable& t : tables) t.may_be_null = true;
  }
  return tables;
}

std::string TsqlParser::DeclaredTypeOf(const SqlExpr& column) const {
  if (catalog_ == nullptr || from_scopes_.empty() || !column.column || column.name.empty()) {
    return "";
  }
  // Temporary tables are made anew under the same name with other columns,
  // while the translation stays cached by its text: their types are not used.
  auto known = [&](const FromTable& t) {
    return !t.table.empty() && t.table[0] != '#' ? catalog_->ColumnType(t.table, column.name)
                                                 : std::string();
  };
  const std::vector<FromTable>& scope = from_scopes_.back();
  if (!column.qualifier.empty()) {
    for (const FromTable& t : scope) {
      if (EqualsIgnoreCase(t.alias, column.qualifier) ||
          (t.alias.empty() && EqualsIgnoreCase(t.table, column.qualifier))) {
        return known(t);
      }
    }
    return "";
  }
  std::string type;
  for (const FromTable& t : scope) {
    if (t.table.empty() || t.table[0] == '#') return "";  // its columns are not known
    std::string found = known(t);
    if (found.empty()) continue;
    if (!type.empty()) return "";  // ambiguous
    type = std::move(found);
  }
  return type;
}

// ---------------------------------------------------------------- names

std::vector<TsqlParser::NamePart> TsqlParser::ParseNameParts() {
  std::vector<NamePart> parts;
  for (;;) {
    const Token& t = Peek();
    if (!t.IsName()) Fail(t, "expected a name");
    parts.push_back({t.text, t.kind == Token::Kind::kQuotedName});
    Next();
    if (Peek().IsSymbol(".") && Peek(1).IsName()) {
      Next();
      continue;
    }
    break;
  }
  return parts;
}

TsqlParser::TableRef TsqlParser::MakeTableRef(const std::vector<NamePart>& parts, const Token& at) {
  if (parts.empty() || parts.size() > 3) Fail(at, "malformed table name");
  const std::string& name = parts.back().text;
  if (parts.size() >= 2) {
    const std::string& schema = parts[parts.size() - 2].text;
    if (!EqualsIgnoreCase(schema, "dbo")) Fail(at, "unknown schema " + schema);
  }
  if (parts.size() == 3) Fail(at, "names with a database are not supported");
  TableRef ref;
  ref.bare_name = name;
  ref.quoted_name = QuoteName(name);
  if (name.rfind("##", 0) == 0) {
    ref.schema = "tempdb";
    ref.temp_name = name;
  } else if (name.rfind("#", 0) == 0) {
    ref.schema = "temp";
  }
  ref.is_temp_schema = !ref.schema.empty();
  ref.sql = ref.schema.empty() ? ref.quoted_name : ref.schema + "." + ref.quoted_name;
  return ref;
}

TsqlParser::TableRef TsqlParser::ParseTableName() {
  const Token& at = Peek();
  if (!at.IsName() || (IsReservedWord(at))) Fail(at, "expected a table name");
  std::vector<NamePart> parts = ParseNameParts();
  return MakeTableRef(parts, at);
}

std::string TsqlParser::ColumnRef(const std::vector<NamePart>& parts) const {
  size_t first = 0;
  // dbo.T.col: the schema is dropped; everything lives in one database.
  if (parts.size() >= 3 && EqualsIgnoreCase(parts[parts.size() - 3].text, "dbo")) {
    first = parts.size() - 2;
  }
  std::string sql;
  for (size_t i = first; i < parts.size(); ++i) {
    if (i > first) sql += ".";
    sql += QuoteName(parts[i].text);
  }
  return sql;
}

}  // namespace orv::db::sqlite
