#include "db/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "db/ascii.h"
#include "db/db_error.h"

namespace orv::db {
namespace {

[[noreturn]] void Mismatch(std::string_view what) {
  throw ConversionError(kErrTypeMismatch, "Type mismatch: " + std::string(what));
}
[[noreturn]] void Overflow() { throw ConversionError(kErrOverflow, "Overflow"); }
[[noreturn]] void InvalidNull() { throw ConversionError(kErrInvalidNull, "Invalid use of Null"); }

// A number read from text: integral text stays exact in `integer`.
struct ParsedNumber {
  std::optional<int64_t> integer;
  double decimal = 0;
};

// Text is numeric when, blanks (spaces, tabs) around it aside, it is an
// optional sign, digits with at most one '.', and an optional exponent.
std::optional<ParsedNumber> ParseNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  size_t i = 0;
  const size_t n = text.size();
  if (text[i] == '+' || text[i] == '-') ++i;
  size_t digits = 0;
  bool integral = true;
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < n && text[i] == '.') {
    integral = false;
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    integral = false;
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exp_digits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;

  ParsedNumber out;
  // from_chars takes no leading '+'.
  std::string_view body = text;
  if (body.front() == '+') body.remove_prefix(1);
  if (integral) {
    int64_t v = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
    if (ec == std::errc() && ptr == body.data() + body.size()) {
      out.integer = v;
      out.decimal = static_cast<double>(v);
      return out;
    }
  }
  double d = 0;
  auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), d);
  if (ec == std::errc::result_out_of_range) Overflow();
  if (ec != std::errc() || ptr != body.data() + body.size()) return std::nullopt;
  out.decimal = d;
  return out;
}

// Rounds to an integer the way the host language's integer conversions do:
// half to even, failing outside [lo, hi].
int64_t RoundChecked(double d, int64_t lo, int64_t hi) {
  if (std::isnan(d)) Overflow();
  const double r = std::nearbyint(d);  // default rounding mode: to nearest, ties to even
  // hi + 1 is a power of two for every range used, so exact in a double.
  if (r < static_cast<double>(lo) || r >= static_cast<double>(hi) + 1.0) Overflow();
  return static_cast<int64_t>(r);
}

int64_t ToIntegerIn(const Value& v, int64_t lo, int64_t hi) {
  switch (v.type()) {
    case Value::Type::kEmpty:
      return 0;
    case Value::Type::kNull:
      InvalidNull();
    case Value::Type::kBool:
      return v.AsBool() ? -1 : 0;
    case Value::Type::kInt: {
      const int64_t i = v.AsInt();
      if (i < lo || i > hi) Overflow();
      return i;
    }
    case Value::Type::kDecimal:
      return RoundChecked(v.AsDecimal(), lo, hi);
    case Value::Type::kText: {
      auto parsed = ParseNumber(v.AsText());
      if (!parsed) {
        if (EqualsIgnoreCase(Trim(v.AsText()), "True")) return -1;
        if (EqualsIgnoreCase(Trim(v.AsText()), "False")) return 0;
        Mismatch("\"" + v.AsText() + "\" is not a number");
      }
      if (parsed->integer) {
        if (*parsed->integer < lo || *parsed->integer > hi) Overflow();
        return *parsed->integer;
      }
      return RoundChecked(parsed->decimal, lo, hi);
    }
  }
  Mismatch("unknown value");
}

}  // namespace

bool Value::IsNumeric() const {
  switch (type()) {
    case Type::kInt:
    case Type::kDecimal:
    case Type::kBool:
      return true;
    case Type::kText:
      try {
        return ParseNumber(AsText()).has_value();
      } catch (const ConversionError&) {
        return true;  // numeric, only too large for a double
      }
    default:
      return false;
  }
}

std::string Value::ToText() const {
  switch (type()) {
    case Type::kEmpty:
      return "";
    case Type::kNull:
      InvalidNull();
    case Type::kInt:
      return std::to_string(AsInt());
    case Type::kDecimal: {
      const double d = AsDecimal();
      if (d == 0) return "0";  // also -0
      // 15 significant digits, exponent only for very large or small
      // magnitudes: the host language's CStr gives the same text.
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.15G", d);
      return buf;
    }
    case Type::kText:
      return AsText();
    case Type::kBool:
      return AsBool() ? "True" : "False";
  }
  return "";
}

int64_t Value::ToInt64() const {
  return ToIntegerIn(*this, std::numeric_limits<int64_t>::min(),
                     std::numeric_limits<int64_t>::max());
}

int32_t Value::ToInt32() const {
  return static_cast<int32_t>(
      ToIntegerIn(*this, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int16_t Value::ToInt16() const {
  return static_cast<int16_t>(
      ToIntegerIn(*this, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

double Value::ToDouble() const {
  switch (type()) {
    case Type::kEmpty:
      return 0;
    case Type::kNull:
      InvalidNull();
    case Type::kBool:
      return AsBool() ? -1 : 0;
    case Type::kInt:
      return static_cast<double>(AsInt());
    case Type::kDecimal:
      return AsDecimal();
    case Type::kText: {
      auto parsed = ParseNumber(AsText());
      if (!parsed) Mismatch("\"" + AsText() + "\" is not a number");
      return parsed->decimal;
    }
  }
  return 0;
}

bool Value::ToBool() const {
  switch (type()) {
    case Type::kEmpty:
      return false;
    case Type::kNull:
      InvalidNull();
    case Type::kBool:
      return AsBool();
    case Type::kInt:
      return AsInt() != 0;
    case Type::kDecimal:
      return AsDecimal() != 0;
    case Type::kText: {
      const std::string t = Trim(AsText());
      if (EqualsIgnoreCase(t, "True")) return true;
      if (EqualsIgnoreCase(t, "False")) return false;
      auto parsed = ParseNumber(t);
      if (!parsed) Mismatch("\"" + AsText() + "\" is not a Boolean");
      return parsed->decimal != 0;
    }
  }
  return false;
}

int64_t Value::AsInt() const {
  if (const auto* p = std::get_if<int64_t>(&data_)) return *p;
  Mismatch("not an integer: " + DebugString());
}

double Value::AsDecimal() const {
  if (const auto* p = std::get_if<double>(&data_)) return *p;
  Mismatch("not a decimal: " + DebugString());
}

const std::string& Value::AsText() const {
  if (const auto* p = std::get_if<std::string>(&data_)) return *p;
  Mismatch("not text: " + DebugString());
}

bool Value::AsBool() const {
  if (const auto* p = std::get_if<bool>(&data_)) return *p;
  Mismatch("not a Boolean: " + DebugString());
}

std::string Value::DebugString() const {
  switch (type()) {
    case Type::kEmpty:
      return "<empty>";
    case Type::kNull:
      return "<null>";
    case Type::kInt:
    case Type::kDecimal:
      return ToText();
    case Type::kText:
      return "'" + AsText() + "'";
    case Type::kBool:
      return AsBool() ? "true" : "false";
  }
  return "?";
}

std::string LTrim(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return std::string(s.substr(i));
}

std::string RTrim(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return std::string(s.substr(0, n));
}

std::string_view TrimView(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

}  // namespace orv::db
