// Definitions written in the host dialect: tables, indexes, views, stored
// procedures and table functions.
#include <utility>

#include "db/sqlite/sqlite_error.h"
#include "db/sqlite/translate_error.h"
#include "db/sqlite/tsql_parser.h"

namespace orv::db::sqlite {
namespace {

struct MappedType {
  std::string sql;
  bool text = false;
  bool integer = false;
};

bool TypeIs(const std::string& n, std::initializer_list<std::string_view> names) {
  for (std::string_view x : names) {
    if (n == x) return true;
  }
  return false;
}

}  // namespace

void TsqlParser::ParseCreate(std::vector<Step>* out) {
  const Token& at = Next();  // CREATE
  creates_temp_.clear();
  drops_temp_.clear();
  if (Peek().IsWord("OR") && Peek(1).IsWord("ALTER")) Unsupported(at, "CREATE OR ALTER");
  Step step;
  if (Peek().IsWord("TABLE")) {
    step = ParseCreateTable();
  } else if (Peek().IsWord("UNIQUE") || Peek().IsWord("INDEX") || Peek().IsWord("CLUSTERED") ||
             Peek().IsWord("NONCLUSTERED")) {
    bool unique = AcceptWord("UNIQUE");
    if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
    ExpectWord("INDEX");
    step = ParseCreateIndex(unique);
  } else if (Peek().IsWord("VIEW")) {
    step = ParseCreateView();
  } else if (Peek().IsWord("PROCEDURE") || Peek().IsWord("PROC")) {
    step = ParseCreateRoutine(false);
  } else if (Peek().IsWord("FUNCTION")) {
    step = ParseCreateRoutine(true);
  } else {
    Unsupported(at, "CREATE " + (Peek().kind == Token::Kind::kEnd ? std::string() : Peek().text));
  }
  step.creates_temp = creates_temp_;
  creates_temp_.clear();
  out->push_back(std::move(step));
}

Step TsqlParser::ParseCreateTable() {
  ExpectWord("TABLE");
  TableRef table = ParseTableName();
  if (!table.temp_name.empty()) creates_temp_.push_back(table.temp_name);
  ExpectSymbol("(");

  struct Column {
    std::string name;
    MappedType type;
    bool identity = false;
    bool primary_key = false;
    bool not_null = false;
    bool primary_key_member = false;  // named by a table's PRIMARY KEY
    std::string constraints;          // everything after the type but the key
  };
  std::vector<Column> columns;
  struct TableConstraint {
    std::string name_sql;  // "CONSTRAINT x " or ""
    std::string kind;      // PRIMARY KEY, UNIQUE, CHECK, FOREIGN KEY
    std::vector<std::string> columns;
    std::string rest;
  };
  std::vector<TableConstraint> table_constraints;

  auto parse_column_list = [&](std::vector<std::string>* names) {
    ExpectSymbol("(");
    do {
      names->push_back(QuoteName(ExpectName("column name")));
      if (!AcceptWord("ASC")) AcceptWord("DESC");
    } while (AcceptSymbol(","));
    ExpectSymbol(")");
  };
  auto skip_index_options = [&]() {
    if (Peek().IsWord("WITH") && Peek(1).IsSymbol("(")) {
      // Storage options (FILLFACTOR, PAD_INDEX, ...) mean nothing here.
      Next();
      Next();
      int depth = 1;
      while (depth > 0) {
        if (Peek().kind == Token::Kind::kEnd) Fail(Peek(), "expected ')'");
        if (Peek().IsSymbol("(")) ++depth;
        if (Peek().IsSymbol(")")) --depth;
        Next();
      }
    }
    if (Peek().IsWord("ON") && (Peek(1).IsName())) {
      Next();
      Next();  // filegroup
    }
  };

  do {
    const Token& at = Peek();
    std::string constraint_name;
    if (AcceptWord("CONSTRAINT"))
      constraint_name = "CONSTRAINT " + QuoteName(ExpectName("constraint name")) + " ";
    if (Peek().IsWord("PRIMARY") || Peek().IsWord("UNIQUE") || Peek().IsWord("CHECK") ||
        Peek().IsWord("FOREIGN")) {
      TableConstraint c;
      c.name_sql = constraint_name;
      if (AcceptWord("PRIMARY")) {
        ExpectWord("KEY");
        c.kind = "PRIMARY KEY";
      } else if (AcceptWord("UNIQUE")) {
        c.kind = "UNIQUE";
      } else if (AcceptWord("CHECK")) {
        c.kind = "CHECK";
        ExpectSymbol("(");
        c.rest = "(" + ParseExpr().sql + ")";
        ExpectSymbol(")");
      } else {
        Next();
        ExpectWord("KEY");
        c.kind = "FOREIGN KEY";
      }
      if (c.kind != "CHECK") {
        if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
        parse_column_list(&c.columns);
      }
      if (c.kind == "FOREIGN KEY") {
        ExpectWord("REFERENCES");
        TableRef ref = ParseTableName();
        std::vector<std::string> ref_columns;
        parse_column_list(&ref_columns);
        c.rest = " REFERENCES " + ref.quoted_name + " (";
        for (size_t i = 0; i < ref_columns.size(); ++i) c.rest += (i ? ", " : "") + ref_columns[i];
        c.rest += ")";
      }
      skip_index_options();
      table_constraints.push_back(std::move(c));
      continue;
    }
    if (!constraint_name.empty())
      Fail(Peek(), "expected PRIMARY KEY, UNIQUE, CHECK or FOREIGN KEY");
    Column col;
    if (!at.IsName()) Fail(at, "expected a column name");
    col.name = Next().text;
    HostType host = ParseHostType();
    const std::string& n = host.name;
    // The host's type name is kept wherever SQLite's affinity rules give it
    // the storage it needs, so the driver can report the column's type and
    // size as the host does (the declared type is what it reads back).
    if (TypeIs(n, {"INT", "INTEGER"})) {
      // INT, not INTEGER: an INTEGER key would become SQLite's rowid and
      // take a number for a NULL instead of refusing it.
      col.type = {"INT", false, true};
    } else if (TypeIs(n, {"SMALLINT", "BIGINT", "TINYINT"})) {
      col.type = {host.text, false, true};  // "INT" in the name: INTEGER affinity
    } else if (TypeIs(n, {"BIT"})) {
      col.type = {"BIT", false, false};  // NUMERIC affinity: stores 0 and 1 as integers
    } else if (TypeIs(n, {"VARCHAR", "NVARCHAR", "CHAR", "NCHAR"})) {
      // "CHAR" in the name: TEXT affinity. (MAX) is no SQLite type length.
      col.type = {(host.max ? std::string("CLOB") : host.text) + " COLLATE HOSTCI", true, false};
    } else if (TypeIs(n, {"TEXT", "NTEXT"})) {
      col.type = {n + " COLLATE HOSTCI", true, false};
    } else if (TypeIs(n, {"SYSNAME"})) {
      col.type = {"NVARCHAR(128) COLLATE HOSTCI", true, false};
    } else if (TypeIs(n, {"UNIQUEIDENTIFIER"})) {
      // NUMERIC affinity, but a GUID's text never reads as a number.
      col.type = {"UNIQUEIDENTIFIER COLLATE HOSTCI", true, false};
    } else if (TypeIs(n, {"DECIMAL", "NUMERIC", "MONEY", "SMALLMONEY"})) {
      col.type = {host.text, false, false};  // NUMERIC affinity
    } else if (TypeIs(n, {"FLOAT", "REAL"})) {
      col.type = {host.text, false, false};  // "FLOA" / "REAL": REAL affinity
    } else if (TypeIs(n, {"DATETIME", "DATETIME2", "SMALLDATETIME", "DATE", "TIME"})) {
      // NUMERIC affinity keeps a date's text ('2024-05-01 10:00:00') as text.
      col.type = {host.text, false, false};
    } else if (TypeIs(n, {"VARBINARY", "BINARY", "IMAGE"})) {
      col.type = {"BLOB", false, false};
    } else {
      Unsupported(at, "column type " + host.text);
    }
    if (host.max && !TypeIs(n, {"VARCHAR", "NVARCHAR", "VARBINARY"})) {
      Fail(at, "MAX is a length only of VARCHAR, NVARCHAR and VARBINARY");
    }
    std::string& c = col.constraints;
    if (TypeIs(n, {"VARCHAR", "NVARCHAR", "CHAR", "NCHAR"}) && !host.max && host.length > 0) {
      // The server refuses text longer than the declared length (trailing
      // blanks aside); SQLite would keep it. The constraint's name carries
      // what the driver reports (TruncationCheckName).
      c += " CONSTRAINT " + QuoteName(TruncationCheckName(table.bare_name, col.name)) +
           " CHECK (length(rtrim(" + QuoteName(col.name) +
           ", ' ')) <= " + std::to_string(host.length) + ")";
    }
    for (;;) {
      const Token& t = Peek();
      if (t.IsWord("IDENTITY")) {
        Next();
        if (AcceptSymbol("(")) {
          // Seed and increment other than (1,1) cannot be kept.
          std::string seed = Peek().text;
          Next();
          ExpectSymbol(",");
          std::string step = Peek().text;
          Next();
          ExpectSymbol(")");
          if (seed != "1" || step != "1") Unsupported(t, "IDENTITY other than (1,1)");
        }
        if (!col.type.integer) Fail(t, "IDENTITY on a column that is not an integer");
        col.identity = true;
      } else if (t.IsWord("NOT") && Peek(1).IsWord("NULL")) {
        Next();
        Next();
        c += " NOT NULL";
        col.not_null = true;
      } else if (t.IsWord("NULL")) {
        Next();
      } else if (t.IsWord("CONSTRAINT")) {
        Next();
        c += " CONSTRAINT " + QuoteName(ExpectName("constraint name"));
      } else if (t.IsWord("DEFAULT")) {
        Next();
        SqlExpr value = ParseUnary();
        bool wrapped = value.atomic && !value.sql.empty() && value.sql[0] == '(';
        c += " DEFAULT " + (wrapped ? value.sql : "(" + value.sql + ")");
      } else if (t.IsWord("PRIMARY")) {
        Next();
        ExpectWord("KEY");
        if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
        col.primary_key = true;
      } else if (t.IsWord("UNIQUE")) {
        Next();
        if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
        c += " UNIQUE";
      } else if (t.IsWord("CHECK")) {
        Next();
        ExpectSymbol("(");
        c += " CHECK (" + ParseExpr().sql + ")";
        ExpectSymbol(")");
      } else if (t.IsWord("COLLATE")) {
        Next();
        ExpectName("collation name");  // every text column gets the host's collation
      } else if (t.IsWord("REFERENCES")) {
        Next();
        TableRef ref = ParseTableName();
        c += " REFERENCES " + ref.quoted_name;
        if (Peek().IsSymbol("(")) {
          std::vector<std::string> ref_columns;
          parse_column_list(&ref_columns);
          c += " (";
          for (size_t i = 0; i < ref_columns.size(); ++i) c += (i ? ", " : "") + ref_columns[i];
          c += ")";
        }
      } else if (t.IsWord("ROWGUIDCOL")) {
        Next();
      } else {
        break;
      }
    }
    columns.push_back(std::move(col));
  } while (AcceptSymbol(","));
  ExpectSymbol(")");
  skip_index_options();
  if (Peek().IsWord("TEXTIMAGE_ON")) {
    Next();
    Next();
  }

  // IDENTITY becomes SQLite's INTEGER PRIMARY KEY AUTOINCREMENT, which must
  // be the table's key; a key declared on other columns stays unique.
  // The host's keys refuse NULL; SQLite's (but the rowid) take it unless told.
  for (const TableConstraint& c : table_constraints) {
    if (c.kind != "PRIMARY KEY") continue;
    for (Column& col : columns) {
      for (const std::string& key : c.columns) {
        if (EqualsIgnoreCase(QuoteName(col.name), key)) col.primary_key_member = true;
      }
    }
  }
  const Column* identity = nullptr;
  for (const Column& col : columns) {
    if (col.identity) {
      if (identity != nullptr) Fail(Peek(), "two IDENTITY columns");
      identity = &col;
    }
  }
  std::string sql = "CREATE TABLE " + table.sql + " (";
  bool first = true;
  for (const Column& col : columns) {
    sql += (first ? "" : ", ") + QuoteName(col.name) + " ";
    first = false;
    if (col.identity) {
      sql += "INTEGER PRIMARY KEY AUTOINCREMENT" + col.constraints;
    } else {
      sql += col.type.sql;
      if (col.primary_key) sql += identity != nullptr ? " UNIQUE" : " PRIMARY KEY";
      if ((col.primary_key || col.primary_key_member) && !col.not_null) sql += " NOT NULL";
      sql += col.constraints;
    }
  }
  for (const TableConstraint& c : table_constraints) {
    std::string kind = c.kind;
    if (kind == "PRIMARY KEY" && identity != nullptr) {
      if (c.columns.size() == 1 && c.columns[0] == QuoteName(identity->name)) continue;
      kind = "UNIQUE";
    }
    sql += ", " + c.name_sql + kind;
    if (!c.columns.empty()) {
      sql += " (";
      for (size_t i = 0; i < c.columns.size(); ++i) sql += (i ? ", " : "") + c.columns[i];
      sql += ")";
    }
    sql += c.rest.empty() ? "" : (kind == "CHECK" ? " " : "") + c.rest;
  }
  sql += ")";
  Step step;
  step.sql = std::move(sql);
  return step;
}

Step TsqlParser::ParseCreateIndex(bool unique) {
  std::string name = ExpectName("index name");
  ExpectWord("ON");
  TableRef table = ParseTableName();
  ExpectSymbol("(");
  std::string columns;
  bool first = true;
  do {
    columns += (first ? "" : ", ") + QuoteName(ExpectName("column name"));
    first = false;
    if (AcceptWord("DESC")) {
      columns += " DESC";
    } else {
      AcceptWord("ASC");
    }
  } while (AcceptSymbol(","));
  ExpectSymbol(")");
  if (AcceptWord("INCLUDE")) {
    // Covered columns only speed up the host's plans.
    ExpectSymbol("(");
    do {
      ExpectName("column name");
    } while (AcceptSymbol(","));
    ExpectSymbol(")");
  }
  std::string where;
  if (AcceptWord("WHERE")) where = " WHERE " + ParseExpr().sql;
  if (Peek().IsWord("WITH") && Peek(1).IsSymbol("(")) {
    Next();
    Next();
    int depth = 1;
    while (depth > 0) {
      if (Peek().kind == Token::Kind::kEnd) Fail(Peek(), "expected ')'");
      if (Peek().IsSymbol("(")) ++depth;
      if (Peek().IsSymbol(")")) --depth;
      Next();
    }
  }
  if (Peek().IsWord("ON") && Peek(1).IsName()) {
    Next();
    Next();
  }
  Step step;
  // SQLite puts the schema on the index name; the table is named alone.
  step.sql = std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " +
             (table.schema.empty() ? "" : table.schema + ".") + QuoteName(name) + " ON " +
             table.quoted_name + " (" + columns + ")" + where;
  step.index_table = table.sql;
  return step;
}

Step TsqlParser::ParseCreateView() {
  ExpectWord("VIEW");
  TableRef view = ParseTableName();
  ExpectWord("AS");
  QueryInfo info;
  std::string query = ParseQuery(&info);
  Step step;
  step.sql = "CREATE VIEW " + view.sql + " AS " + query;
  return step;
}

void TsqlParser::ParseRoutineParams(Step::Routine* routine, bool parenthesised) {
  if (parenthesised) {
    ExpectSymbol("(");
    if (AcceptSymbol(")")) return;
  } else if (Peek().kind != Token::Kind::kParameter) {
    return;
  }
  do {
    const Token& p = Peek();
    if (p.kind != Token::Kind::kParameter) Fail(p, "expected a parameter name");
    routine->params.push_back(Next().text);
    AcceptWord("AS");
    HostType type = ParseHostType();
    routine->param_types.push_back(type.text);
    if (Peek().IsSymbol("=")) Unsupported(Peek(), "parameter default value");
    if (Peek().IsWord("OUTPUT") || Peek().IsWord("OUT")) Unsupported(Peek(), "OUTPUT parameter");
    if (Peek().IsWord("READONLY")) Unsupported(Peek(), "READONLY parameter");
  } while (AcceptSymbol(","));
  if (parenthesised) ExpectSymbol(")");
}

Step TsqlParser::ParseCreateRoutine(bool function) {
  Next();  // PROCEDURE / PROC / FUNCTION
  const Token& name_at = Peek();
  std::vector<NamePart> parts = ParseNameParts();
  if (parts.size() > 2 || (parts.size() == 2 && !EqualsIgnoreCase(parts[0].text, "dbo"))) {
    Fail(name_at, "unknown schema in routine name");
  }
  Step step;
  step.kind = Step::Kind::kCreateRoutine;
  Step::Routine& routine = step.routine;
  routine.name = parts.back().text;
  routine.type = function ? Step::Routine::Type::kTableFunction : Step::Routine::Type::kProcedure;
  if (function) {
    ParseRoutineParams(&routine, true);
    ExpectWord("RETURNS");
    if (Peek().kind == Token::Kind::kParameter)
      Unsupported(Peek(), "multi-statement table function");
    if (!Peek().IsWord("TABLE")) Unsupported(Peek(), "scalar function");
    Next();
    if (Peek().IsWord("WITH")) {
      Next();
      ExpectName("function option");
    }
    ExpectWord("AS");
    ExpectWord("RETURN");
    bool parenthesised = AcceptSymbol("(");
    size_t first = pos_;
    QueryInfo info;
    ParseQuery(&info);  // checked now, so a bad body fails at creation
    routine.body = TextBetween(first, pos_);
    if (parenthesised) ExpectSymbol(")");
    AcceptSymbol(";");
    if (Peek().kind != Token::Kind::kEnd) Fail(Peek(), "expected the end of the function");
    return step;
  }
  bool parenthesised = Peek().IsSymbol("(");
  ParseRoutineParams(&routine, parenthesised);
  if (Peek().IsWord("WITH")) {
    Next();
    ExpectName("procedure option");
  }
  ExpectWord("AS");
  // The body runs to the end of the batch, as on the host. An enclosing
  // BEGIN ... END is left out of the stored text.
  size_t body_start = pos_;
  std::vector<Step> checked;
  if (Peek().IsWord("BEGIN") && !Peek(1).IsWord("TRAN") && !Peek(1).IsWord("TRANSACTION")) {
    Next();
    size_t inner_start = pos_;
    ParseStatementList(&checked, true);
    size_t inner_end = pos_;
    ExpectWord("END");
    while (AcceptSymbol(";")) {
    }
    if (Peek().kind == Token::Kind::kEnd) {
      routine.body = TextBetween(inner_start, inner_end);
      return step;
    }
  }
  pos_ = body_start;
  ParseStatementList(&checked, false);
  routine.body = TextBetween(body_start, pos_);
  return step;
}

}  // namespace orv::db::sqlite
