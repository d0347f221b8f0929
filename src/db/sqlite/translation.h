#ifndef ORV_DB_SQLITE_TRANSLATION_H_
#define ORV_DB_SQLITE_TRANSLATION_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orv::db::sqlite {

// The host's dialect (T-SQL) turned into what the embedded driver runs.
// Produced by Translator, consumed by SqliteDriver. A batch of host text
// becomes a list of steps, run in order; each step that returns rows gives one
// result of the batch.
//
// Names: a global temporary table "##x" becomes tempdb."##x" (the shared
// in-memory database attached to every connection as "tempdb"). Parameters
// "@name" stay "@name" (SQLite binds them by that name). Text comparisons use
// the collation HOSTCI (case folded, trailing blanks ignored) that the driver
// registers on every connection. T-SQL '+' becomes the SQL function
// tsql_add(a, b); NEWID() becomes tsql_newid(); both are registered by the
// driver.
struct Step {
  enum class Kind {
    kStatement,      // sql: one SQLite statement (may return rows)
    kIf,             // run condition_sql; if its first column of its first row is
                     // true (non-zero, not NULL), run `body`, else `else_body`
    kAtomic,         // run `body` inside a savepoint; any failure rolls it all back
                     // (MERGE and other statements that become several)
    kCreateRoutine,  // store `routine` in the database (CREATE PROCEDURE / FUNCTION)
    kExecProcedure,  // EXEC name @p = value, ...: run a stored procedure
  };

  struct Routine {
    enum class Type { kProcedure, kTableFunction };
    Type type = Type::kProcedure;
    std::string name;                      // without schema ("dbo.") and brackets
    std::vector<std::string> params;       // "@name", in declaration order
    std::vector<std::string> param_types;  // host type text, e.g. "INT", "VARCHAR(10)"
    std::string body;                      // host-dialect text of the body (translated on use)
  };

  Kind kind = Kind::kStatement;
  std::string sql;              // kStatement
  bool returns_rows = false;    // kStatement: SELECT (or anything yielding a result set)
  std::string condition_sql;    // kIf
  std::vector<Step> body;       // kIf, kAtomic
  std::vector<Step> else_body;  // kIf
  Routine routine;              // kCreateRoutine
  std::string exec_name;        // kExecProcedure
  std::vector<std::string> exec_arg_names;  // kExecProcedure: "@p" or "" for positional
  std::vector<std::string> exec_arg_sql;    // kExecProcedure: SQLite expressions

  // kStatement of a SELECT ... INTO (`sql` is then its plain
  // CREATE TABLE ... AS form): the new table as written for SQLite, its
  // schema ("tempdb", "temp" or "main") and bare name, and the query that
  // fills it. The driver declares the table's columns itself, each with
  // HOSTCI, as the host gives a new table's text columns the database's
  // collation (SQLite's CREATE TABLE ... AS would leave them binary, and an
  // index on them unusable for the translated comparisons).
  std::string into_table;
  std::string into_schema;
  std::string into_name;
  std::string into_query;

  // kStatement of a CREATE INDEX: the table it is on, written as into_table
  // writes a table, so that a batch which makes a table by SELECT ... INTO
  // and keys it next can key it before filling it.
  std::string index_table;

  // Global temporary tables this step creates / drops ("##x" names), so the
  // driver can remember which connection owns which table.
  std::vector<std::string> creates_temp;
  std::vector<std::string> drops_temp;
};

struct Translation {
  std::vector<Step> steps;
  // The ? markers of the text: its statements read the values bound with
  // it as the parameters ?1 ... ?markers, in the order of the markers.
  size_t markers = 0;
};

// A constant of the host text that a shared translation reads as the
// parameter ?N (N its position in the list plus one): an integer or a text.
struct Literal {
  bool is_text = false;
  int64_t integer = 0;
  std::string text;
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_TRANSLATION_H_
