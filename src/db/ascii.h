#ifndef ORV_DB_ASCII_H_
#define ORV_DB_ASCII_H_

#include <cstring>
#include <string>
#include <string_view>

namespace orv::db {

// Case folding for names and for text comparison. The host's names and
// codes are ASCII; bytes outside ASCII compare as they are.
inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

inline std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// <0, 0, >0 comparing case-insensitively.
inline int CompareIgnoreCase(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AsciiUpper(a[i]));
    const auto y = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// Characters (code points) in UTF-8 text, for defined sizes of text fields.
inline size_t Utf8Length(std::string_view s) {
  size_t n = 0;
  for (char c : s) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

// `to` made a copy of `from` (which must not point into `to`); a text no
// longer than the one `to` holds is written over it where it stands.
inline void AssignText(std::string& to, std::string_view from) {
  if (from.size() <= to.size()) {
    to.resize(from.size());
    if (!from.empty()) std::memcpy(to.data(), from.data(), from.size());
  } else {
    to.assign(from);
  }
}

// The length in bytes of well-formed UTF-8 starting at `s` (1 to 4), or 0
// when the bytes there are not a whole, shortest-form, valid character.
inline size_t Utf8SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  const auto b0 = static_cast<unsigned char>(s[0]);
  if (b0 < 0x80) return 1;
  size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    if (b0 == 0xE0) lo = 0xA0;  // no overlong forms
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (s.size() < n) return 0;
  const auto b1 = static_cast<unsigned char>(s[1]);
  if (b1 < lo || b1 > hi) return 0;
  for (size_t i = 2; i < n; ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

// `s` as well-formed UTF-8: each byte that does not begin a valid character
// becomes U+FFFD, so no invalid text reaches a database.
inline std::string ValidUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  while (!s.empty()) {
    const size_t n = Utf8SequenceLength(s);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      s.remove_prefix(1);
    } else {
      out.append(s.substr(0, n));
      s.remove_prefix(n);
    }
  }
  return out;
}

// The first `count` characters of well-formed UTF-8 text (all of it when
// shorter): a cut never splits a character.
inline std::string_view Utf8Prefix(std::string_view s, size_t count) {
  size_t at = 0;
  for (size_t seen = 0; seen < count && at < s.size(); ++seen) {
    const size_t n = Utf8SequenceLength(s.substr(at));
    at += n == 0 ? 1 : n;
  }
  return s.substr(0, at);
}

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace orv::db

#endif  // ORV_DB_ASCII_H_
