#include "db/connection_string.h"

#include <algorithm>
#include <cctype>

#include "db/db_error.h"

namespace orv::db {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string TrimBlanks(std::string_view s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

bool IsSecretKey(std::string_view key) {
  return EqualsNoCase(key, "password") || EqualsNoCase(key, "pwd");
}

}  // namespace

ConnectionString::ConnectionString(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    // Key up to '='.
    size_t eq = text.find('=', i);
    size_t semi = text.find(';', i);
    if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
      std::string stray = TrimBlanks(text.substr(i, semi == std::string_view::npos ? n - i
                                                                                    : semi - i));
      if (!stray.empty()) {
        throw DbError(kErrBadArgument,
                      "Connection string: expected Key=Value at position " + std::to_string(i + 1));
      }
      if (semi == std::string_view::npos) break;
      i = semi + 1;
      continue;
    }
    std::string key = TrimBlanks(text.substr(i, eq - i));
    if (key.empty()) {
      throw DbError(kErrBadArgument,
                    "Connection string: empty key at position " + std::to_string(i + 1));
    }
    i = eq + 1;
    while (i < n && text[i] == ' ') ++i;
    std::string value;
    if (i < n && (text[i] == '{' || text[i] == '"')) {
      const char close = text[i] == '{' ? '}' : '"';
      ++i;
      bool closed = false;
      while (i < n) {
        if (text[i] == close) {
          // A doubled closing character stands for itself.
          if (i + 1 < n && text[i + 1] == close) {
            value += close;
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        value += text[i++];
      }
      if (!closed) {
        throw DbError(kErrBadArgument, "Connection string: unterminated value of key '" + key + "'");
      }
      while (i < n && text[i] == ' ') ++i;
      if (i < n && text[i] != ';') {
        throw DbError(kErrBadArgument, "Connection string: text after the quoted value of key '" +
                                           key + "'");
      }
    } else {
      size_t end = text.find(';', i);
      if (end == std::string_view::npos) end = n;
      value = TrimBlanks(text.substr(i, end - i));
      i = end;
    }
    if (i < n && text[i] == ';') ++i;
    pairs_.emplace_back(std::move(key), std::move(value));
  }
}

bool ConnectionString::Has(std::string_view key) const {
  return std::any_of(pairs_.begin(), pairs_.end(),
                     [&](const auto& p) { return EqualsNoCase(p.first, key); });
}

std::string ConnectionString::Get(std::string_view key) const {
  for (const auto& [k, v] : pairs_) {
    if (EqualsNoCase(k, key)) return v;
  }
  return {};
}

std::string ConnectionString::GetAny(std::initializer_list<std::string_view> keys) const {
  for (std::string_view key : keys) {
    if (Has(key)) return Get(key);
  }
  return {};
}

std::string ConnectionString::Redacted() const {
  std::string out;
  for (const auto& [k, v] : pairs_) {
    if (!out.empty()) out += ';';
    out += k;
    out += '=';
    out += IsSecretKey(k) ? std::string("***") : v;
  }
  return out;
}

}  // namespace orv::db
