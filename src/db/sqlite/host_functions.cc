#include "db/sqlite/host_functions.h"

#include <sqlite3.h>
#include <uuid/uuid.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "db/sql_literal.h"

namespace orv::db::sqlite {
namespace {

std::string_view WithoutTrailingBlanks(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

// Folds one byte of UTF-8 text to lower case. `after_c3` says the byte
// continues a sequence led by 0xC3, the Latin-1 letters U+00C0..U+00FF:
// capitals U+00C0..U+00DE (but not U+00D7, the multiplication sign) become
// their small letters by adding 0x20 to the continuation byte.
inline unsigned char Fold(unsigned char c, bool after_c3) {
  if (after_c3) {
    return (c >= 0x80 && c <= 0x9E && c != 0x97) ? static_cast<unsigned char>(c + 0x20) : c;
  }
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
}

int HostCiCollation(void*, int len_a, const void* a, int len_b, const void* b) {
  return HostCiCompare(std::string_view(static_cast<const char*>(a), len_a),
                       std::string_view(static_cast<const char*>(b), len_b));
}

std::string ValueText(sqlite3_value* v) {
  const unsigned char* text = sqlite3_value_text(v);
  return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_value_bytes(v))
              : std::string();
}

std::string_view TrimSpaces(std::string_view s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Text the host server converts to an int: blanks, an optional sign, digits.
std::optional<int64_t> TextAsInteger(std::string_view text) {
  std::string_view t = TrimSpaces(text);
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  if (i == t.size()) return std::nullopt;
  for (size_t j = i; j < t.size(); ++j) {
    if (!std::isdigit(static_cast<unsigned char>(t[j]))) return std::nullopt;
  }
  errno = 0;
  std::string copy(t);
  char* end = nullptr;
  long long v = std::strtoll(copy.c_str(), &end, 10);
  if (errno == ERANGE) return std::nullopt;
  return static_cast<int64_t>(v);
}

std::optional<double> TextAsFloat(std::string_view text) {
  std::string copy(TrimSpaces(text));
  if (copy.empty()) return std::nullopt;
  for (char c : copy) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
          c == 'e' || c == 'E')) {
      return std::nullopt;
    }
  }
  char* end = nullptr;
  double v = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

void ResultSum(sqlite3_context* ctx, int64_t a, int64_t b) {
  int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) {
    sqlite3_result_error(
        ctx, "Arithmetic overflow error converting expression to data type bigint.", -1);
    return;
  }
  sqlite3_result_int64(ctx, sum);
}

void TsqlAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_value* a = argv[0];
  sqlite3_value* b = argv[1];
  const int ta = sqlite3_value_type(a);
  const int tb = sqlite3_value_type(b);
  if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const bool a_text = ta == SQLITE_TEXT || ta == SQLITE_BLOB;
  const bool b_text = tb == SQLITE_TEXT || tb == SQLITE_BLOB;
  if (a_text && b_text) {
    std::string joined = ValueText(a) + ValueText(b);
    sqlite3_result_text(ctx, joined.data(), static_cast<int>(joined.size()), SQLITE_TRANSIENT);
    return;
  }
  if (!a_text && !b_text) {
    if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
      ResultSum(ctx, sqlite3_value_int64(a), sqlite3_value_int64(b));
    } else {
      sqlite3_result_double(ctx, sqlite3_value_double(a) + sqlite3_value_double(b));
    }
    return;
  }
  // One side is a number: the text converts to the number's type, or the
  // statement fails with the host server's message.
  sqlite3_value* number = a_text ? b : a;
  const std::string text = ValueText(a_text ? a : b);
  if (sqlite3_value_type(number) == SQLITE_INTEGER) {
    std::optional<int64_t> converted = TextAsInteger(text);
    if (!converted) {
      const std::string quoted = SqlEscape(text);
      std::string message =
          "Conversion failed when converting the varchar value '" + quoted + "' to data type int.";
      sqlite3_result_error(ctx, message.c_str(), -1);
      return;
    }
    ResultSum(ctx, sqlite3_value_int64(number), *converted);
    return;
  }
  std::optional<double> converted = TextAsFloat(text);
  if (!converted) {
    sqlite3_result_error(ctx, "Error converting data type varchar to float.", -1);
    return;
  }
  sqlite3_result_double(ctx, sqlite3_value_double(number) + *converted);
}

void TsqlNewId(sqlite3_context* ctx, int, sqlite3_value**) {
  uuid_t id;
  uuid_generate_random(id);
  char text[40];
  text[0] = '{';
  uuid_unparse_upper(id, text + 1);
  text[37] = '}';
  text[38] = '\0';
  sqlite3_result_text(ctx, text, 38, SQLITE_TRANSIENT);
}

// tsql_raise(message, any): fails the statement with `message`. The second
// argument ties the call to a row, so it runs only for a row that exists.
void TsqlRaise(sqlite3_context* ctx, int /*argc*/, sqlite3_value** argv) {
  const unsigned char* message = sqlite3_value_text(argv[0]);
  sqlite3_result_error(ctx, message ? reinterpret_cast<const char*>(message) : "error", -1);
}

}  // namespace

int HostCiCompare(std::string_view a, std::string_view b) {
  a = WithoutTrailingBlanks(a);
  b = WithoutTrailingBlanks(b);
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  // Equal bytes fold alike: the common prefix (most of two codes, often) is
  // passed over eight bytes at a time, and folding starts where they differ.
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t x;
    uint64_t y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  while (i < n && a[i] == b[i]) ++i;
  bool a_c3 = i > 0 && static_cast<unsigned char>(a[i - 1]) == 0xC3;
  bool b_c3 = a_c3;
  for (; i < n; ++i) {
    const unsigned char ca = static_cast<unsigned char>(a[i]);
    const unsigned char cb = static_cast<unsigned char>(b[i]);
    const unsigned char fa = Fold(ca, a_c3);
    const unsigned char fb = Fold(cb, b_c3);
    if (fa != fb) return fa < fb ? -1 : 1;
    a_c3 = ca == 0xC3;
    b_c3 = cb == 0xC3;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool RegisterHostFunctions(sqlite3* db) {
  constexpr int kPure = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  bool ok = sqlite3_create_collation_v2(db, "HOSTCI", SQLITE_UTF8, nullptr, HostCiCollation,
                                        nullptr) == SQLITE_OK;
  // SQLite's Bloom filters (on automatic indexes of joins) hash a text by its
  // length, so a value equal under HOSTCI with other trailing blanks ('AB '
  // and 'ab') is skipped: the join loses rows. 0x00080000 is the switch of
  // that optimisation (SQLITE_BloomFilter).
  sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, db, 0x00080000);
  ok = ok && sqlite3_create_function_v2(db, "tsql_add", 2, kPure, nullptr, TsqlAdd, nullptr,
                                        nullptr, nullptr) == SQLITE_OK;
  ok = ok && sqlite3_create_function_v2(db, "tsql_newid", 0, SQLITE_UTF8 | SQLITE_INNOCUOUS,
                                        nullptr, TsqlNewId, nullptr, nullptr, nullptr) == SQLITE_OK;
  ok = ok && sqlite3_create_function_v2(db, "tsql_raise", 2, SQLITE_UTF8 | SQLITE_INNOCUOUS,
                                        nullptr, TsqlRaise, nullptr, nullptr, nullptr) == SQLITE_OK;
  return ok;
}

}  // namespace orv::db::sqlite
