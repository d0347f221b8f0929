#ifndef ORV_DB_FILTER_EXPRESSION_H_
#define ORV_DB_FILTER_EXPRESSION_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/field.h"
#include "db/value.h"

namespace orv::db {

// A recordset filter in ADO's criteria grammar:
//
//   criteria   := clause { OR clause }
//   clause     := term { AND term }
//   term       := '(' criteria ')' | field op literal
//   field      := name | '[' name ']'
//   op         := = | <> | < | > | <= | >= | LIKE
//   literal    := 'text' ('' stands for ') | #date# | number | NULL | TRUE | FALSE
//
// Keywords in any case; AND binds tighter than OR. "field = NULL" is true
// when the field is NULL (or Empty), "field <> NULL" when it is not; other
// comparisons with a NULL field are false. Text compares without regard to
// case and to trailing blanks (as the host server does); LIKE takes '*' and
// '%' for any run of characters. A number compares numerically with a field
// whose value is numeric (numeric text included).
//
// Parse() throws DbError(kErrBadArgument) naming the 1-based position of the
// fault. A parsed expression is bound to a recordset's fields before use.
class FilterExpression {
 public:
  static FilterExpression Parse(std::string_view criteria);

  // Resolves field names (without regard to case) to column indices;
  // throws DbError(kErrBadArgument) on a name that is not a field.
  void Bind(const std::vector<FieldInfo>& fields);

  // True when the row (values in field order) passes. Requires Bind().
  bool Matches(std::span<const Value> row) const;

  // The expression in a canonical form, for tests and diagnostics:
  // (A = 'x' AND (B > 1 OR C IS NULL)).
  std::string DebugString() const;

  // Nesting limit for parentheses, so hostile criteria cannot exhaust the stack.
  static constexpr int kMaxDepth = 64;

 private:
  enum class Op { kEq, kNe, kLt, kGt, kLe, kGe, kLike };
  struct Node {
    enum class Kind { kAnd, kOr, kCompare };
    Kind kind = Kind::kCompare;
    std::vector<int> children;  // kAnd, kOr: node indices
    std::string field;          // kCompare
    int column = -1;            // bound column
    Op op = Op::kEq;
    Value literal;  // Null for NULL
  };
  friend class FilterParser;

  bool Eval(int node, std::span<const Value> row) const;
  std::string Debug(int node) const;

  std::vector<Node> nodes_;
  int root_ = -1;
  bool bound_ = false;
};

// True when `text` matches the LIKE `pattern` ('*' and '%' match any run of
// characters), without regard to case.
bool FilterLikeMatch(std::string_view text, std::string_view pattern);

}  // namespace orv::db

#endif  // ORV_DB_FILTER_EXPRESSION_H_
