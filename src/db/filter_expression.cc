#include "db/filter_expression.h"

#include <charconv>
#include <cmath>

#include "db/ascii.h"
#include "db/db_error.h"

namespace orv::db {

// Recursive-descent parser over the criteria text; nesting is bounded by
// FilterExpression::kMaxDepth.
class FilterParser {
 public:
  FilterParser(std::string_view text, FilterExpression& out) : text_(text), out_(out) {}

  void Run() {
    SkipBlanks();
    if (pos_ >= text_.size()) Fail("empty criteria");
    out_.root_ = ParseOr(0);
    SkipBlanks();
    if (pos_ < text_.size()) {
      if (text_[pos_] == ')') Fail("')' without '('");
      Fail("expected AND, OR or the end of the criteria");
    }
  }

 private:
  using Node = FilterExpression::Node;
  using Op = FilterExpression::Op;

  [[noreturn]] void Fail(const std::string& why) const { FailAt(pos_, why); }
  [[noreturn]] void FailAt(size_t pos, const std::string& why) const {
    throw DbError(kErrBadArgument,
                  "Invalid filter at position " + std::to_string(pos + 1) + ": " + why);
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }

  static bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
  }
  static bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

  // Consumes `word` as a whole keyword (any case) when it comes next.
  bool AcceptKeyword(std::string_view word) {
    SkipBlanks();
    if (text_.size() - pos_ < word.size()) return false;
    if (!EqualsIgnoreCase(text_.substr(pos_, word.size()), word)) return false;
    const size_t end = pos_ + word.size();
    if (end < text_.size() && IsNameChar(text_[end])) return false;
    pos_ = end;
    return true;
  }

  int Add(Node node) {
    out_.nodes_.push_back(std::move(node));
    return static_cast<int>(out_.nodes_.size() - 1);
  }

  int ParseOr(int depth) {
    int first = ParseAnd(depth);
    if (!AcceptKeyword("OR")) return first;
    Node node;
    node.kind = Node::Kind::kOr;
    node.children.push_back(first);
    do {
      node.children.push_back(ParseAnd(depth));
    } while (AcceptKeyword("OR"));
    return Add(std::move(node));
  }

  int ParseAnd(int depth) {
    int first = ParseTerm(depth);
    if (!AcceptKeyword("AND")) return first;
    Node node;
    node.kind = Node::Kind::kAnd;
    node.children.push_back(first);
    do {
      node.children.push_back(ParseTerm(depth));
    } while (AcceptKeyword("AND"));
    return Add(std::move(node));
  }

  int ParseTerm(int depth) {
    SkipBlanks();
    if (pos_ >= text_.size()) Fail("unexpected end of the criteria, expected a field name");
    if (text_[pos_] == '(') {
      if (depth >= FilterExpression::kMaxDepth) Fail("parentheses nested too deeply");
      const size_t open = pos_;
      ++pos_;
      int inner = ParseOr(depth + 1);
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != ')') {
        if (pos_ >= text_.size()) FailAt(open, "'(' is never closed");
        Fail("expected ')'");
      }
      ++pos_;
      return inner;
    }
    Node node;
    node.kind = Node::Kind::kCompare;
    node.field = ParseName();
    const size_t op_pos = (SkipBlanks(), pos_);
    node.op = ParseOp();
    SkipBlanks();
    const size_t literal_pos = pos_;
    node.literal = ParseLiteral();
    if (node.literal.IsNull() && node.op != Op::kEq && node.op != Op::kNe) {
      FailAt(op_pos, "NULL can only be compared with = or <>");
    }
    if (node.op == Op::kLike && node.literal.type() != Value::Type::kText) {
      FailAt(literal_pos, "LIKE needs a quoted pattern");
    }
    return Add(std::move(node));
  }

  std::string ParseName() {
    SkipBlanks();
    if (pos_ >= text_.size()) Fail("expected a field name");
    if (text_[pos_] == '[') {
      const size_t open = pos_;
      ++pos_;
      std::string name;
      while (true) {
        if (pos_ >= text_.size()) FailAt(open, "'[' is never closed");
        if (text_[pos_] == ']') {
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == ']') {
            name += ']';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        name += text_[pos_++];
      }
      if (name.empty()) FailAt(open, "empty field name");
      return name;
    }
    if (!IsNameStart(text_[pos_])) Fail("expected a field name");
    const size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    std::string name(text_.substr(start, pos_ - start));
    if (EqualsIgnoreCase(name, "AND") || EqualsIgnoreCase(name, "OR") ||
        EqualsIgnoreCase(name, "LIKE")) {
      FailAt(start, "expected a field name, found " + AsciiUpper(name));
    }
    return name;
  }

  Op ParseOp() {
    if (pos_ >= text_.size()) Fail("expected a comparison operator");
    const char c = text_[pos_];
    const char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    if (c == '=') return ++pos_, Op::kEq;
    if (c == '<' && next == '>') return pos_ += 2, Op::kNe;
    if (c == '<' && next == '=') return pos_ += 2, Op::kLe;
    if (c == '>' && next == '=') return pos_ += 2, Op::kGe;
    if (c == '<') return ++pos_, Op::kLt;
    if (c == '>') return ++pos_, Op::kGt;
    if (AcceptKeyword("LIKE")) return Op::kLike;
    Fail("expected a comparison operator (=, <>, <, >, <=, >=, LIKE)");
  }

  Value ParseLiteral() {
    if (pos_ >= text_.size()) Fail("expected a value");
    const char c = text_[pos_];
    if (c == '\'') {
      const size_t open = pos_;
      ++pos_;
      std::string s;
      while (true) {
        if (pos_ >= text_.size()) FailAt(open, "unterminated string");
        if (text_[pos_] == '\'') {
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
            s += '\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        s += text_[pos_++];
      }
      return Value(std::move(s));
    }
    if (c == '#') {
      const size_t open = pos_;
      ++pos_;
      const size_t start = pos_;
      while (pos_ < text_.size() && text_[pos_] != '#') ++pos_;
      if (pos_ >= text_.size()) FailAt(open, "unterminated date");
      std::string date(text_.substr(start, pos_ - start));
      ++pos_;
      if (Trim(date).empty()) FailAt(open, "empty date");
      return Value(Trim(date));
    }
    if (c == '+' || c == '-' || c == '.' || c == '$' || (c >= '0' && c <= '9')) {
      return ParseNumber();
    }
    if (AcceptKeyword("NULL")) return Value::Null();
    if (AcceptKeyword("TRUE")) return Value(true);
    if (AcceptKeyword("FALSE")) return Value(false);
    Fail("expected a value (a quoted string, a number, a #date# or NULL)");
  }

  Value ParseNumber() {
    const size_t start = pos_;
    std::string digits;
    if (text_[pos_] == '+' || text_[pos_] == '-') digits += text_[pos_++];
    if (pos_ < text_.size() && text_[pos_] == '$') ++pos_;  // currency sign is allowed
    size_t mantissa = 0;
    bool integral = true;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      digits += text_[pos_++];
      ++mantissa;
    }
    if (pos_ < text_.size() && text_[pos_] == '.') {
      integral = false;
      digits += text_[pos_++];
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
        digits += text_[pos_++];
        ++mantissa;
      }
    }
    if (mantissa == 0) FailAt(start, "malformed number");
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      integral = false;
      digits += text_[pos_++];
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
        digits += text_[pos_++];
      }
      size_t exp_digits = 0;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
        digits += text_[pos_++];
        ++exp_digits;
      }
      if (exp_digits == 0) FailAt(start, "malformed number");
    }
    if (pos_ < text_.size() && IsNameChar(text_[pos_])) FailAt(start, "malformed number");
    std::string_view body = digits;
    if (body.front() == '+') body.remove_prefix(1);
    if (integral) {
      int64_t v = 0;
      auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
      if (ec == std::errc() && ptr == body.data() + body.size()) return Value(v);
    }
    double d = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), d);
    if (ec != std::errc() || ptr != body.data() + body.size() || !std::isfinite(d)) {
      FailAt(start, "number out of range");
    }
    return Value(d);
  }

  std::string_view text_;
  size_t pos_ = 0;
  FilterExpression& out_;
};

FilterExpression FilterExpression::Parse(std::string_view criteria) {
  FilterExpression out;
  FilterParser(criteria, out).Run();
  return out;
}

void FilterExpression::Bind(const std::vector<FieldInfo>& fields) {
  for (Node& node : nodes_) {
    if (node.kind != Node::Kind::kCompare) continue;
    node.column = -1;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (EqualsIgnoreCase(fields[i].name, node.field)) {
        node.column = static_cast<int>(i);
        break;
      }
    }
    if (node.column < 0) {
      throw DbError(kErrBadArgument, "Invalid filter: no field named '" + node.field + "'");
    }
  }
  bound_ = true;
}

namespace {

bool IsNumberValue(const Value& v) {
  return v.type() == Value::Type::kInt || v.type() == Value::Type::kDecimal ||
         v.type() == Value::Type::kBool;
}

int Sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

int CompareNumbers(const Value& a, const Value& b) {
  if (a.type() == Value::Type::kInt && b.type() == Value::Type::kInt) {
    return a.AsInt() < b.AsInt() ? -1 : (a.AsInt() > b.AsInt() ? 1 : 0);
  }
  return Sign(a.ToDouble() - b.ToDouble());
}

int CompareText(const Value& a, const Value& b) {
  return CompareIgnoreCase(RTrim(a.ToText()), RTrim(b.ToText()));
}

// A field against a number literal: numerically when the field holds a
// number or numeric text, otherwise as text.
int CompareWithNumber(const Value& field, const Value& literal) {
  if (field.type() != Value::Type::kText) return CompareNumbers(field, literal);
  try {
    if (field.IsNumeric()) return CompareNumbers(Value(field.ToDouble()), literal);
  } catch (const ConversionError&) {
    // numeric text beyond a double's range: fall back to text
  }
  return CompareText(field, literal);
}

// Orders a non-NULL field value against a non-NULL literal.
int CompareField(const Value& field, const Value& literal) {
  if (IsNumberValue(literal)) return CompareWithNumber(field, literal);
  if (field.type() == Value::Type::kInt || field.type() == Value::Type::kDecimal) {
    return literal.IsNumeric() ? CompareNumbers(field, Value(literal.ToDouble()))
                               : CompareText(field, literal);
  }
  if (field.type() == Value::Type::kBool) {
    const std::string t = Trim(literal.AsText());
    if (EqualsIgnoreCase(t, "True") || EqualsIgnoreCase(t, "False") || literal.IsNumeric()) {
      return CompareNumbers(field, Value(literal.ToBool()));
    }
  }
  return CompareText(field, literal);
}

}  // namespace

bool FilterLikeMatch(std::string_view text, std::string_view pattern) {
  // Greedy match with backtracking to the last wildcard: linear in practice,
  // O(n*m) at worst, no recursion.
  size_t t = 0, p = 0;
  size_t star_p = std::string_view::npos, star_t = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '%')) {
      star_p = p++;
      star_t = t;
    } else if (p < pattern.size() && AsciiUpper(pattern[p]) == AsciiUpper(text[t])) {
      ++p;
      ++t;
    } else if (star_p != std::string_view::npos) {
      p = star_p + 1;
      t = ++star_t;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '%')) ++p;
  return p == pattern.size();
}

bool FilterExpression::Matches(std::span<const Value> row) const {
  if (!bound_) throw DbError(kErrBadArgument, "Filter used before it was bound to fields");
  return Eval(root_, row);
}

bool FilterExpression::Eval(int index, std::span<const Value> row) const {
  const Node& node = nodes_[static_cast<size_t>(index)];
  switch (node.kind) {
    case Node::Kind::kAnd:
      for (int child : node.children) {
        if (!Eval(child, row)) return false;
      }
      return true;
    case Node::Kind::kOr:
      for (int child : node.children) {
        if (Eval(child, row)) return true;
      }
      return false;
    case Node::Kind::kCompare:
      break;
  }
  const auto column = static_cast<size_t>(node.column);
  static const Value kNull = Value::Null();
  const Value& field = column < row.size() ? row[column] : kNull;
  const bool field_null = field.IsNull() || field.IsEmpty();
  if (node.literal.IsNull()) return node.op == Op::kEq ? field_null : !field_null;
  if (field_null) return false;
  if (node.op == Op::kLike) return FilterLikeMatch(RTrim(field.ToText()), node.literal.AsText());

  int c;
  try {
    c = CompareField(field, node.literal);
  } catch (const ConversionError&) {
    c = CompareText(field, node.literal);  // numeric text beyond a double's range
  }
  switch (node.op) {
    case Op::kEq:
      return c == 0;
    case Op::kNe:
      return c != 0;
    case Op::kLt:
      return c < 0;
    case Op::kGt:
      return c > 0;
    case Op::kLe:
      return c <= 0;
    case Op::kGe:
      return c >= 0;
    case Op::kLike:
      break;
  }
  return false;
}

std::string FilterExpression::DebugString() const {
  return root_ < 0 ? std::string() : Debug(root_);
}

std::string FilterExpression::Debug(int index) const {
  const Node& node = nodes_[static_cast<size_t>(index)];
  if (node.kind != Node::Kind::kCompare) {
    std::string out = "(";
    for (size_t i = 0; i < node.children.size(); ++i) {
      if (i > 0) out += node.kind == Node::Kind::kAnd ? " AND " : " OR ";
      out += Debug(node.children[i]);
    }
    return out + ")";
  }
  if (node.literal.IsNull()) return node.field + (node.op == Op::kEq ? " IS NULL" : " IS NOT NULL");
  static constexpr const char* kOps[] = {"=", "<>", "<", ">", "<=", ">=", "LIKE"};
  return node.field + " " + kOps[static_cast<int>(node.op)] + " " + node.literal.DebugString();
}

}  // namespace orv::db
