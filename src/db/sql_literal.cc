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

std::string SqlWithValues(std::string_view sql, const std::vector<Value>& values) {
  std::string out;
  out.reserve(sql.size() + values.size() * 8);
  size_t next = 0;
  size_t i = 0;
  // Copies from `i` up to and including the `close` that ends what starts
  // there; a doubled `close` ('it''s', [a]]b]) does not end it.
  auto copy_through = [&](char close, size_t from) {
    size_t end = sql.find(close, from);
    while (end != std::string_view::npos && close != '\n' && end + 1 < sql.size() &&
           sql[end + 1] == close) {
      end = sql.find(close, end + 2);
    }
    const size_t stop = end == std::string_view::npos ? sql.size() : end + 1;
    out.append(sql.substr(i, stop - i));
    i = stop;
  };
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'' || c == '[' || c == '"') {
      copy_through(c == '[' ? ']' : c, i + 1);
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      copy_through('\n', i + 2);
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      const size_t end = sql.find("*/", i + 2);
      const size_t stop = end == std::string_view::npos ? sql.size() : end + 2;
      out.append(sql.substr(i, stop - i));
      i = stop;
    } else if (c == '?' && next < values.size()) {
      out += SqlLiteral(values[next++]);
      ++i;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
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
