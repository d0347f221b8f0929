#ifndef ORV_DB_SQLITE_SQL_EXPR_H_
#define ORV_DB_SQLITE_SQL_EXPR_H_

#include <string>

namespace orv::db::sqlite {

// An expression already written in SQLite's dialect, with what the parser
// could prove about its value: the rewrite of '+' and the collation of text
// comparisons depend on it.
struct SqlExpr {
  enum class Type {
    kUnknown,   // column, parameter, function of unknown result
    kNumber,    // numeric literal or arithmetic on numbers
    kText,      // text literal, CONVERT to text, text functions, text || text
    kTextLike,  // most likely text (text + unknown): collation yes, '||' no
    kNull,      // the NULL literal
    kBool,      // a predicate (comparison, AND, OR, NOT, EXISTS, ...)
  };

  std::string sql;
  Type type = Type::kUnknown;
  bool atomic = true;    // usable as an operand without parentheses
  bool literal = false;  // a constant written in the text
  bool column = false;   // a plain column reference
  std::string op;        // top-level operator when not atomic ("AND", "OR", "+", ...)
  // A plain column reference as written: its table or alias ("" for a bare
  // name) and its name.
  std::string qualifier;
  std::string name;

  bool IsTextual() const { return type == Type::kText || type == Type::kTextLike; }
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_SQL_EXPR_H_
