#include "db/sql_literal.h"

#include <cmath>
#include <cstdio>

namespace orv::db {

std::string SqlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string SqlQuote(std::string_view text) { return "'" + SqlEscape(text) + "'"; }

std::string SqlLiteral(const Value& value) {
  switch (value.type()) {
    case Value::Type::kEmpty:
    case Value::Type::kNull:
      return "NULL";
    case Value::Type::kInt:
      return std::to_string(value.AsInt());
    case Value::Type::kDecimal: {
      const double d = value.AsDecimal();
      if (!std::isfinite(d)) return "NULL";
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.17G", d);
      return buf;
    }
    case Value::Type::kBool:
      return value.AsBool() ? "1" : "0";
    case Value::Type::kText:
      return SqlQuote(value.AsText());
  }
  return "NULL";
}

std::string SqlIdentifier(std::string_view name) {
  bool plain = !name.empty() && !(name.front() >= '0' && name.front() <= '9');
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '#' || c == '.';
    if (!ok) plain = false;
  }
  if (plain) return std::string(name);
  std::string out = "[";
  for (char c : name) {
    out += c;
    if (c == ']') out += ']';
  }
  return out + "]";
}

}  // namespace orv::db
