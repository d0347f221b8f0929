// Expressions: operator precedence as the host has it (* / %, then + - & |,
// then comparisons, NOT, AND, OR) and the rewrites of host functions.
#include <utility>

#include "db/sql_literal.h"
#include "db/sqlite/declared_type.h"
#include "db/sqlite/translate_error.h"
#include "db/sqlite/tsql_parser.h"

namespace orv::db::sqlite {
namespace {

using Type = SqlExpr::Type;

std::string Operand(const SqlExpr& e) { return e.atomic ? e.sql : "(" + e.sql + ")"; }

// Binding strength of an operator as written for SQLite. Operands come from a
// precedence parse of the host text (parentheses in the source stay as they
// are), so an operand needs parentheses only when it binds less tightly than
// its parent. '&' and '|' sit at a different level in SQLite than on the host,
// so they are always parenthesised.
int Level(std::string_view op) {
  if (op == "OR") return 1;
  if (op == "AND") return 2;
  if (op == "NOT") return 3;
  if (op == "+" || op == "-") return 6;
  if (op == "*" || op == "/" || op == "%") return 7;
  if (op == "||") return 8;
  if (op == "&" || op == "|") return 0;
  return 4;  // comparisons, IS, IN, LIKE, BETWEEN
}

std::string OperandOf(const SqlExpr& child, std::string_view parent) {
  if (child.atomic) return child.sql;
  int c = Level(child.op), p = Level(parent);
  if (c == 0 || p == 0 || c < p) return "(" + child.sql + ")";
  return child.sql;
}

SqlExpr Atom(std::string sql, Type type) {
  SqlExpr e;
  e.sql = std::move(sql);
  e.type = type;
  return e;
}

SqlExpr Binary(std::string sql, Type type, std::string op) {
  SqlExpr e;
  e.sql = std::move(sql);
  e.type = type;
  e.atomic = false;
  e.op = std::move(op);
  return e;
}

std::string WithCollation(const SqlExpr& e) { return Operand(e) + " COLLATE HOSTCI"; }

bool IsNumberLike(const SqlExpr& e) { return e.type == Type::kNumber; }

}  // namespace

SqlExpr TsqlParser::ParseExpr() {
  DepthGuard guard(this);
  return ParseOr();
}

SqlExpr TsqlParser::ParseOr() {
  SqlExpr left = ParseAnd();
  while (Peek().IsWord("OR")) {
    Next();
    SqlExpr right = ParseAnd();
    left = Binary(OperandOf(left, "OR") + " OR " + OperandOf(right, "OR"), Type::kBool, "OR");
  }
  return left;
}

SqlExpr TsqlParser::ParseAnd() {
  SqlExpr left = ParseNot();
  while (Peek().IsWord("AND")) {
    Next();
    SqlExpr right = ParseNot();
    left = Binary(OperandOf(left, "AND") + " AND " + OperandOf(right, "AND"), Type::kBool, "AND");
  }
  return left;
}

SqlExpr TsqlParser::ParseNot() {
  DepthGuard guard(this);
  if (Peek().IsWord("NOT")) {
    Next();
    SqlExpr inner = ParseNot();
    return Binary("NOT " + OperandOf(inner, "NOT"), Type::kBool, "NOT");
  }
  return ParsePredicate();
}

SqlExpr TsqlParser::Compare(const SqlExpr& left, std::string_view op, const SqlExpr& right) const {
  // Text is compared as the host's default collation does: case folded,
  // trailing blanks ignored. Columns carry HOSTCI from their declaration;
  // anything compared with text gets it explicitly.
  std::string l = OperandOf(left, op);
  if ((left.IsTextual() || right.IsTextual()) && left.type != Type::kNull &&
      right.type != Type::kNull) {
    l = WithCollation(left);
  }
  return Binary(l + " " + std::string(op) + " " + OperandOf(right, op), Type::kBool,
                std::string(op));
}

SqlExpr TsqlParser::ParsePredicate() {
  SqlExpr left = ParseAdditive();
  const Token& t = Peek();
  if (t.kind == Token::Kind::kSymbol) {
    std::string op;
    if (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" || t.text == "<=" ||
        t.text == ">=") {
      op = t.text;
    } else if (t.text == "!=") {
      op = "<>";
    } else if (t.text == "!<") {
      op = ">=";
    } else if (t.text == "!>") {
      op = "<=";
    }
    if (!op.empty()) {
      Next();
      if (Peek().IsWord("ALL") || Peek().IsWord("ANY") || Peek().IsWord("SOME")) {
        Unsupported(Peek(), "comparison with " + ToUpperAscii(Peek().text));
      }
      SqlExpr right = ParseAdditive();
      return Compare(left, op, right);
    }
    return left;
  }
  bool negated = false;
  if (t.IsWord("NOT") &&
      (Peek(1).IsWord("IN") || Peek(1).IsWord("LIKE") || Peek(1).IsWord("BETWEEN"))) {
    Next();
    negated = true;
  }
  std::string not_text = negated ? "NOT " : "";
  if (AcceptWord("IN")) {
    ExpectSymbol("(");
    if (Peek().IsWord("SELECT")) {
      QueryInfo info;
      std::string query = ParseQuery(&info);
      ExpectSymbol(")");
      std::string l = left.IsTextual() ? WithCollation(left) : Operand(left);
      return Binary(l + " " + not_text + "IN (" + query + ")", Type::kBool, "IN");
    }
    std::vector<SqlExpr> items;
    do {
      items.push_back(ParseExpr());
    } while (AcceptSymbol(","));
    ExpectSymbol(")");
    bool text = left.IsTextual();
    for (const SqlExpr& i : items) text = text || i.IsTextual();
    std::string sql = (text ? WithCollation(left) : Operand(left)) + " " + not_text + "IN (";
    for (size_t i = 0; i < items.size(); ++i) sql += (i ? ", " : "") + items[i].sql;
    sql += ")";
    return Binary(sql, Type::kBool, "IN");
  }
  if (Peek().IsWord("LIKE")) {
    Next();
    KeepLiterals keep(this);  // the pattern is checked as written
    const Token& pattern_at = Peek();
    SqlExpr pattern = ParseAdditive();
    if (pattern_at.kind == Token::Kind::kString && pattern_at.text.find('[') != std::string::npos) {
      Unsupported(pattern_at, "LIKE pattern with [ ] character classes");
    }
    std::string sql = Operand(left) + " " + not_text + "LIKE " + Operand(pattern);
    if (AcceptWord("ESCAPE")) sql += " ESCAPE " + Operand(ParseAdditive());
    return Binary(sql, Type::kBool, "LIKE");
  }
  if (AcceptWord("BETWEEN")) {
    SqlExpr low = ParseAdditive();
    ExpectWord("AND");
    SqlExpr high = ParseAdditive();
    bool text = left.IsTextual() || low.IsTextual() || high.IsTextual();
    std::string sql = (text ? WithCollation(left) : Operand(left)) + " " + not_text + "BETWEEN " +
                      Operand(low) + " AND " + Operand(high);
    return Binary(sql, Type::kBool, "BETWEEN");
  }
  if (negated) Fail(Peek(), "expected IN, LIKE or BETWEEN");
  if (AcceptWord("IS")) {
    bool is_not = AcceptWord("NOT");
    ExpectWord("NULL");
    return Binary(Operand(left) + (is_not ? " IS NOT NULL" : " IS NULL"), Type::kBool, "IS");
  }
  return left;
}

bool TsqlParser::IsSurelyText(const SqlExpr& e) const {
  if (e.type == Type::kText) return true;
  if (!e.column) return false;
  // A column declared as text has SQLite's text affinity: a number stored
  // in it is stored as its text, so its values are texts or NULL.
  return IsTextType(DeclaredType::Parse(DeclaredTypeOf(e)).type);
}

SqlExpr TsqlParser::Add(const SqlExpr& left, const SqlExpr& right) const {
  if (IsNumberLike(left) && IsNumberLike(right)) {
    return Binary(OperandOf(left, "+") + " + " + OperandOf(right, "+"), Type::kNumber, "+");
  }
  if (IsSurelyText(left) && IsSurelyText(right)) {
    // Both sides are text (or NULL) for sure: plain concatenation, which
    // SQLite's optimiser understands and which needs no call per row.
    return Binary(OperandOf(left, "||") + " || " + OperandOf(right, "||"), Type::kText, "||");
  }
  // Everything else follows the host at run time: text + text concatenates,
  // number + number adds, NULL propagates, number + non-numeric text fails.
  Type type = (left.IsTextual() || right.IsTextual()) ? Type::kTextLike : Type::kUnknown;
  return Atom("tsql_add(" + left.sql + ", " + right.sql + ")", type);
}

SqlExpr TsqlParser::ParseAdditive() {
  SqlExpr left = ParseMultiplicative();
  for (;;) {
    const Token& t = Peek();
    if (t.IsSymbol("+")) {
      Next();
      left = Add(left, ParseMultiplicative());
    } else if (t.IsSymbol("-") || t.IsSymbol("&") || t.IsSymbol("|")) {
      std::string op = Next().text;
      SqlExpr right = ParseMultiplicative();
      // A right operand of the same level came from parentheses in the text.
      left = Binary(OperandOf(left, op) + " " + op + " " + OperandOf(right, op), Type::kNumber, op);
    } else if (t.IsSymbol("^")) {
      Unsupported(t, "bitwise exclusive or '^'");
    } else {
      return left;
    }
  }
}

SqlExpr TsqlParser::ParseMultiplicative() {
  SqlExpr left = ParseUnary();
  while (Peek().IsSymbol("*") || Peek().IsSymbol("/") || Peek().IsSymbol("%")) {
    std::string op = Next().text;
    SqlExpr right = ParseUnary();
    left = Binary(OperandOf(left, op) + " " + op + " " + OperandOf(right, op), Type::kNumber, op);
  }
  return left;
}

SqlExpr TsqlParser::ParseUnary() {
  DepthGuard guard(this);
  const Token& t = Peek();
  if (t.IsSymbol("-") || t.IsSymbol("+") || t.IsSymbol("~")) {
    std::string op = Next().text;
    SqlExpr inner = ParseUnary();
    SqlExpr e =
        Atom(op + Operand(inner), inner.type == Type::kNumber ? Type::kNumber : Type::kUnknown);
    e.literal = inner.literal;
    // "- -1" must not become "--1", a comment.
    if (op == "-" && !inner.sql.empty() && inner.sql[0] == '-') e.sql = "-(" + inner.sql + ")";
    return e;
  }
  SqlExpr e = ParsePrimary();
  if (Peek().IsWord("COLLATE")) {
    Next();
    const Token& name = Peek();
    if (!name.IsName()) Fail(name, "expected a collation name");
    std::string upper = ToUpperAscii(Next().text);
    // Case-sensitive and binary host collations keep case; all others fold it.
    std::string collation = "HOSTCI";
    if (upper.find("_CS") != std::string::npos || upper.find("BIN") != std::string::npos) {
      collation = "RTRIM";
    }
    SqlExpr c = Atom(Operand(e) + " COLLATE " + collation, e.type);
    return c;
  }
  return e;
}

SqlExpr TsqlParser::ParseSubquery() {
  QueryInfo info;
  std::string query = ParseQuery(&info);
  ExpectSymbol(")");
  return Atom("(" + query + ")", Type::kUnknown);
}

std::vector<SqlExpr> TsqlParser::ParseArgs() {
  ExpectSymbol("(");
  std::vector<SqlExpr> args;
  if (AcceptSymbol(")")) return args;
  do {
    args.push_back(ParseExpr());
  } while (AcceptSymbol(","));
  ExpectSymbol(")");
  return args;
}

SqlExpr TsqlParser::ParsePrimary() {
  const Token& t = Peek();
  switch (t.kind) {
    case Token::Kind::kNumber: {
      std::string param = TakeLiteral();
      const Token& number = Next();
      SqlExpr e = Atom(param.empty() ? number.text : param, Type::kNumber);
      e.literal = true;
      return e;
    }
    case Token::Kind::kString: {
      std::string param = TakeLiteral();
      const Token& text = Next();
      SqlExpr e = Atom(param.empty() ? SqlQuote(text.text) : param, Type::kText);
      e.literal = true;
      return e;
    }
    case Token::Kind::kParameter: {
      std::string name = Next().text;
      if (name.rfind("@@", 0) == 0) {
        std::string upper = ToUpperAscii(name);
        if (upper == "@@ROWCOUNT") return Atom("changes()", Type::kNumber);
        if (upper == "@@IDENTITY") return Atom("last_insert_rowid()", Type::kNumber);
        Unsupported(t, "system variable " + name);
      }
      if (inline_scope_ != nullptr) {
        for (size_t i = 0; i < inline_scope_->params->size(); ++i) {
          if (EqualsIgnoreCase((*inline_scope_->params)[i], name)) {
            return Atom((*inline_scope_->args)[i], Type::kUnknown);
          }
        }
        Fail(t, "unknown parameter " + name);
      }
      return Atom(name, Type::kUnknown);
    }
    case Token::Kind::kMarker:
      // A text run without values numbers its own constants ?1, ?2, ...:
      // a marker there would have no value.
      if (take_literals_) Unsupported(t, "parameter marker ? in a statement run without values");
      return Atom(Next().text, Type::kUnknown);
    case Token::Kind::kSymbol: {
      if (t.IsSymbol("(")) {
        Next();
        if (Peek().IsWord("SELECT") || (Peek().IsSymbol("(") && Peek(1).IsWord("SELECT"))) {
          return ParseSubquery();
        }
        SqlExpr inner = ParseExpr();
        ExpectSymbol(")");
        SqlExpr e = Atom("(" + inner.sql + ")", inner.type);
        e.literal = inner.literal;
        return e;
      }
      Fail(t, "expected an expression");
    }
    case Token::Kind::kEnd:
      Fail(t, "expected an expression");
    case Token::Kind::kWord:
    case Token::Kind::kQuotedName:
      break;
  }
  if (t.IsWord("NULL")) {
    Next();
    SqlExpr e = Atom("NULL", Type::kNull);
    e.literal = true;
    return e;
  }
  if (t.IsWord("CASE")) return ParseCase();
  if (t.IsWord("EXISTS")) {
    Next();
    ExpectSymbol("(");
    SqlExpr sub = ParseSubquery();
    return Atom("EXISTS " + sub.sql, Type::kBool);
  }
  if (t.kind == Token::Kind::kWord &&
      (t.IsWord("CAST") || t.IsWord("CONVERT") || t.IsWord("TRY_CONVERT") ||
       t.IsWord("TRY_CAST")) &&
      Peek(1).IsSymbol("(")) {
    if (t.IsWord("TRY_CONVERT") || t.IsWord("TRY_CAST")) Unsupported(t, ToUpperAscii(t.text));
    bool is_cast = t.IsWord("CAST");
    const Token& at = Next();
    return ParseConversion(at, is_cast);
  }
  bool function_keyword = (t.IsWord("LEFT") || t.IsWord("RIGHT")) && Peek(1).IsSymbol("(");
  if (IsReservedWord(t) && !function_keyword) Fail(t, "expected an expression");
  const Token& at = t;
  std::vector<NamePart> parts = ParseNameParts();
  if (Peek().IsSymbol("(") && !parts.back().quoted) return ParseFunction(parts, at);
  if (parts.size() > 3 || (parts.size() == 3 && !EqualsIgnoreCase(parts[0].text, "dbo"))) {
    Fail(at, "column names are table.column (or dbo.table.column)");
  }
  if (inline_scope_ != nullptr) {
    if (parts.size() != 1) Fail(at, "a qualified column in an inlined function");
    SqlExpr e = Atom(inline_scope_->alias + "." + QuoteName(parts[0].text), Type::kUnknown);
    e.column = true;
    return e;
  }
  SqlExpr e = Atom(ColumnRef(parts), Type::kUnknown);
  e.column = true;
  e.name = parts.back().text;
  if (parts.size() >= 2) e.qualifier = parts[parts.size() - 2].text;
  if (parts.size() == 2) {
    // A merged function's row is read as its caller's row.
    if (const std::string* row = MergedName(e.qualifier)) e.sql = *row + "." + QuoteName(e.name);
  }
  return e;
}

SqlExpr TsqlParser::ParseCase() {
  Next();  // CASE
  bool simple = !Peek().IsWord("WHEN");
  SqlExpr base;
  if (simple) base = ParseExpr();
  struct Arm {
    SqlExpr when;
    SqlExpr then;
  };
  std::vector<Arm> arms;
  if (!Peek().IsWord("WHEN")) Fail(Peek(), "expected WHEN");
  while (AcceptWord("WHEN")) {
    Arm arm;
    arm.when = ParseExpr();
    ExpectWord("THEN");
    arm.then = ParseExpr();
    arms.push_back(std::move(arm));
  }
  bool has_else = false;
  SqlExpr else_value;
  if (AcceptWord("ELSE")) {
    has_else = true;
    else_value = ParseExpr();
  }
  ExpectWord("END");
  std::string sql = "CASE";
  if (simple) {
    bool text = base.IsTextual();
    for (const Arm& a : arms) text = text || a.when.IsTextual();
    sql += " " + (text ? WithCollation(base) : Operand(base));
  }
  // The result type is known when every branch agrees.
  Type type = arms.front().then.type;
  for (const Arm& a : arms) {
    sql += " WHEN " + a.when.sql + " THEN " + a.then.sql;
    if (a.then.type != type && a.then.type != Type::kNull) type = Type::kUnknown;
  }
  if (has_else) {
    sql += " ELSE " + else_value.sql;
    if (else_value.type != type && else_value.type != Type::kNull) type = Type::kUnknown;
  }
  sql += " END";
  if (type == Type::kNull || type == Type::kBool) type = Type::kUnknown;
  return Atom(sql, type);
}

SqlExpr TsqlParser::ParseConversion(const Token& at, bool is_cast) {
  ExpectSymbol("(");
  SqlExpr value;
  HostType type;
  if (is_cast) {
    value = ParseExpr();
    ExpectWord("AS");
    type = ParseHostType();
  } else {
    type = ParseHostType();
    ExpectSymbol(",");
    value = ParseExpr();
    if (Peek().IsSymbol(",")) Unsupported(Peek(), "CONVERT with a style");
  }
  ExpectSymbol(")");
  const std::string& n = type.name;
  if (n == "VARCHAR" || n == "NVARCHAR" || n == "CHAR" || n == "NCHAR") {
    // A column's declared type decides what its values can be.
    const DeclaredType declared =
        value.column ? DeclaredType::Parse(DeclaredTypeOf(value)) : DeclaredType{};
    const bool text_column =
        declared.type == DataType::kVarChar || declared.type == DataType::kVarWChar;
    const int target = type.length >= 0 ? type.length : 30;
    if ((n == "VARCHAR" || n == "NVARCHAR") && text_column && declared.size > 0 &&
        (type.max || declared.size <= target)) {
      // Already text no longer than the target: the conversion changes nothing.
      return Atom(value.sql, Type::kText);
    }
    const bool integer_column = declared.type == DataType::kInteger ||
                                declared.type == DataType::kSmallInt ||
                                declared.type == DataType::kBigInt;
    // The host prints numbers as plain decimal text: an integral REAL as an
    // integer, not "5.0".
    std::string text;
    if (value.type == Type::kText || value.type == Type::kTextLike || text_column) {
      text = value.sql;
    } else if ((value.type == Type::kNumber && value.literal) || integer_column) {
      // An integer column stores an integral number as an integer, never as
      // a REAL: its text is the plain decimal one.
      text = "CAST(" + value.sql + " AS TEXT)";
    } else {
      std::string v = Operand(value);
      text = "CASE WHEN typeof(" + v + ") = 'real' AND " + v + " = CAST(" + v +
             " AS INTEGER) THEN CAST(CAST(" + v + " AS INTEGER) AS TEXT) ELSE CAST(" + v +
             " AS TEXT) END";
    }
    int length = type.max ? -1 : (type.length >= 0 ? type.length : 30);
    if (length >= 0) text = "substr(" + text + ", 1, " + std::to_string(length) + ")";
    return Atom(text, Type::kText);
  }
  if (n == "INT" || n == "INTEGER" || n == "SMALLINT" || n == "BIGINT" || n == "TINYINT" ||
      n == "BIT") {
    return Atom("CAST(" + value.sql + " AS INTEGER)", Type::kNumber);
  }
  if (n == "DECIMAL" || n == "NUMERIC" || n == "MONEY" || n == "SMALLMONEY") {
    return Atom("CAST(" + value.sql + " AS NUMERIC)", Type::kNumber);
  }
  if (n == "FLOAT" || n == "REAL") return Atom("CAST(" + value.sql + " AS REAL)", Type::kNumber);
  Unsupported(at, "conversion to " + type.text);
}

SqlExpr TsqlParser::ParseObjectId(const Token& at) {
  ExpectSymbol("(");
  const Token& name_token = Peek();
  if (name_token.kind != Token::Kind::kString) {
    Unsupported(name_token, "OBJECT_ID of anything but a literal name");
  }
  std::string name = Next().text;
  if (AcceptSymbol(",")) {
    if (Peek().kind != Token::Kind::kString) Fail(Peek(), "expected the object type");
    Next();
  }
  ExpectSymbol(")");
  // 'tempdb..##x', 'dbo.x', '[x]': the last part names the object.
  std::string schema = "main";
  std::string lower_db;
  size_t dot = name.rfind('.');
  std::string object = dot == std::string::npos ? name : name.substr(dot + 1);
  if (dot != std::string::npos) {
    std::string qualifier = name.substr(0, dot);
    size_t first_dot = qualifier.find('.');
    std::string database = first_dot == std::string::npos ? "" : qualifier.substr(0, first_dot);
    if (EqualsIgnoreCase(database, "tempdb")) schema = "tempdb";
  }
  if (object.size() >= 2 && object.front() == '[' && object.back() == ']') {
    object = object.substr(1, object.size() - 2);
  }
  if (object.empty()) Fail(at, "OBJECT_ID without an object name");
  if (object.rfind("##", 0) == 0) {
    schema = "tempdb";
  } else if (object.rfind("#", 0) == 0) {
    schema = "temp";
  }
  std::string sql = "(SELECT 1 FROM " + schema + ".sqlite_master WHERE name = " + SqlQuote(object) +
                    " COLLATE NOCASE)";
  return Atom(sql, Type::kNumber);
}

SqlExpr TsqlParser::ParseFunction(const std::vector<NamePart>& parts, const Token& at) {
  if (parts.size() > 1) Unsupported(at, "user-defined scalar function " + parts.back().text);
  std::string name = ToUpperAscii(parts.back().text);
  if (name == "OBJECT_ID") return ParseObjectId(at);
  if (name == "COUNT") {
    ExpectSymbol("(");
    std::string sql;
    if (AcceptSymbol("*")) {
      sql = "count(*)";
    } else {
      bool distinct = AcceptWord("DISTINCT");
      sql = std::string("count(") + (distinct ? "DISTINCT " : "") + ParseExpr().sql + ")";
    }
    ExpectSymbol(")");
    return Atom(sql, Type::kNumber);
  }
  if (name == "SUM" || name == "MIN" || name == "MAX" || name == "AVG") {
    ExpectSymbol("(");
    bool distinct = AcceptWord("DISTINCT");
    SqlExpr arg = ParseExpr();
    ExpectSymbol(")");
    if (Peek().IsWord("OVER")) Unsupported(Peek(), "window function");
    Type type = (name == "MIN" || name == "MAX") ? arg.type : Type::kNumber;
    std::string lower = name == "SUM"   ? "sum"
                        : name == "MIN" ? "min"
                        : name == "MAX" ? "max"
                                        : "avg";
    return Atom(lower + "(" + (distinct ? "DISTINCT " : "") + arg.sql + ")", type);
  }
  std::vector<SqlExpr> args = ParseArgs();
  auto need = [&](size_t low, size_t high) {
    if (args.size() < low || args.size() > high) {
      Fail(at, "wrong number of arguments to " + name);
    }
  };
  if (name == "ISNULL") {
    need(2, 2);
    Type type = args[0].type == args[1].type                   ? args[0].type
                : (args[0].IsTextual() || args[1].IsTextual()) ? Type::kTextLike
                : (args[0].type == Type::kNull)                ? args[1].type
                                                               : Type::kUnknown;
    return Atom("ifnull(" + args[0].sql + ", " + args[1].sql + ")", type);
  }
  if (name == "COALESCE") {
    if (args.size() < 2) Fail(at, "COALESCE needs two arguments or more");
    std::string sql = "coalesce(";
    bool text = false;
    for (size_t i = 0; i < args.size(); ++i) {
      sql += (i ? ", " : "") + args[i].sql;
      text = text || args[i].IsTextual();
    }
    return Atom(sql + ")", text ? Type::kTextLike : Type::kUnknown);
  }
  if (name == "NULLIF") {
    need(2, 2);
    return Atom("nullif(" + args[0].sql + ", " + args[1].sql + ")", args[0].type);
  }
  if (name == "LEN") {
    need(1, 1);
    // The host's LEN does not count trailing blanks.
    return Atom("length(rtrim(" + args[0].sql + "))", Type::kNumber);
  }
  if (name == "DATALENGTH") {
    need(1, 1);
    return Atom("length(CAST(" + args[0].sql + " AS BLOB))", Type::kNumber);
  }
  if (name == "LTRIM" || name == "RTRIM" || name == "UPPER" || name == "LOWER") {
    need(1, 1);
    std::string lower = name == "LTRIM"   ? "ltrim"
                        : name == "RTRIM" ? "rtrim"
                        : name == "UPPER" ? "upper"
                                          : "lower";
    return Atom(lower + "(" + args[0].sql + ")", Type::kText);
  }
  if (name == "SUBSTRING") {
    need(3, 3);
    return Atom("substr(" + args[0].sql + ", " + args[1].sql + ", " + args[2].sql + ")",
                Type::kText);
  }
  if (name == "LEFT") {
    need(2, 2);
    return Atom("substr(" + args[0].sql + ", 1, " + args[1].sql + ")", Type::kText);
  }
  if (name == "RIGHT") {
    need(2, 2);
    return Atom("CASE WHEN " + Operand(args[1]) + " <= 0 THEN '' ELSE substr(" + args[0].sql +
                    ", -" + Operand(args[1]) + ") END",
                Type::kText);
  }
  if (name == "REPLACE") {
    need(3, 3);
    return Atom("replace(" + args[0].sql + ", " + args[1].sql + ", " + args[2].sql + ")",
                Type::kText);
  }
  if (name == "CHARINDEX") {
    need(2, 2);
    // Case folded, as the host's default collation finds text.
    return Atom("instr(upper(" + args[1].sql + "), upper(" + args[0].sql + "))", Type::kNumber);
  }
  if (name == "ABS") {
    need(1, 1);
    return Atom("abs(" + args[0].sql + ")", Type::kNumber);
  }
  if (name == "ROUND") {
    need(2, 2);
    return Atom("round(" + args[0].sql + ", " + args[1].sql + ")", Type::kNumber);
  }
  if (name == "GETDATE" || name == "CURRENT_TIMESTAMP") {
    need(0, 0);
    return Atom("strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')", Type::kText);
  }
  if (name == "NEWID") {
    need(0, 0);
    return Atom("tsql_newid()", Type::kText);
  }
  if (name == "SCOPE_IDENTITY") {
    need(0, 0);
    return Atom("last_insert_rowid()", Type::kNumber);
  }
  Unsupported(at, "function " + parts.back().text);
}

TsqlParser::HostType TsqlParser::ParseHostType() {
  const Token& at = Peek();
  if (at.kind != Token::Kind::kWord && at.kind != Token::Kind::kQuotedName) {
    Fail(at, "expected a type name");
  }
  HostType type;
  type.name = ToUpperAscii(Next().text);
  if (type.name == "DOUBLE" && Peek().IsWord("PRECISION")) {
    Next();
    type.name = "FLOAT";
  }
  type.text = type.name;
  if (AcceptSymbol("(")) {
    type.text += "(";
    if (AcceptWord("MAX")) {
      type.max = true;
      type.text += "MAX";
    } else {
      const Token& length = Peek();
      if (length.kind != Token::Kind::kNumber ||
          length.text.find_first_not_of("0123456789") != std::string::npos ||
          length.text.size() > 9) {
        Fail(length, "expected a type length");
      }
      type.text += length.text;
      type.length = std::stoi(Next().text);
      if (AcceptSymbol(",")) {
        const Token& scale = Peek();
        if (scale.kind != Token::Kind::kNumber ||
            scale.text.find_first_not_of("0123456789") != std::string::npos ||
            scale.text.size() > 9) {
          Fail(scale, "expected a type scale");
        }
        type.text += "," + Next().text;
      }
    }
    ExpectSymbol(")");
    type.text += ")";
  }
  return type;
}

}  // namespace orv::db::sqlite
