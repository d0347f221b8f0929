#include "db/connection_string.h"

#include "db/ascii.h"
#include "db/db_error.h"

namespace orv::db {
namespace {

std::string_view Strip(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool NeedsQuoting(std::string_view value) {
  if (value.empty()) return false;
  if (IsBlank(value.front()) || IsBlank(value.back())) return true;
  for (char c : value) {
    if (c == ';' || c == '=' || c == '{' || c == '}' || c == '"') return true;
  }
  return false;
}

std::string Quote(std::string_view value) {
  std::string out = "{";
  for (char c : value) {
    out += c;
    if (c == '}') out += '}';
  }
  out += '}';
  return out;
}

}  // namespace

bool ConnectionString::IsSecretKey(std::string_view key) {
  key = Strip(key);
  return EqualsIgnoreCase(key, "Password") || EqualsIgnoreCase(key, "PWD");
}

ConnectionString::ConnectionString(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  auto fail = [&](const std::string& why) {
    throw DbError(kErrBadArgument, "Invalid connection string (" + why + "): " + RedactText(text));
  };
  while (i < n) {
    // Key up to '='.
    const size_t key_start = i;
    while (i < n && text[i] != '=' && text[i] != ';') ++i;
    std::string_view key = Strip(text.substr(key_start, i - key_start));
    if (i >= n || text[i] == ';') {
      if (!key.empty()) fail("no '=' in the part ending at position " + std::to_string(i));
      ++i;  // empty part ("a=b;;c=d" or a trailing ';')
      continue;
    }
    if (key.empty()) fail("empty key at position " + std::to_string(i + 1));
    ++i;  // '='
    while (i < n && IsBlank(text[i])) ++i;
    std::string value;
    if (i < n && (text[i] == '{' || text[i] == '"')) {
      const char close = text[i] == '{' ? '}' : '"';
      const size_t open_pos = i;
      ++i;
      bool closed = false;
      while (i < n) {
        if (text[i] == close) {
          if (i + 1 < n && text[i + 1] == close) {  // doubled closer stands for itself
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
      if (!closed) fail("unterminated quote at position " + std::to_string(open_pos + 1));
      while (i < n && IsBlank(text[i])) ++i;
      if (i < n && text[i] != ';') fail("text after a quoted value");
    } else {
      const size_t value_start = i;
      while (i < n && text[i] != ';') ++i;
      value = std::string(Strip(text.substr(value_start, i - value_start)));
    }
    if (i < n) ++i;  // ';'
    Set(key, value);
  }
}

std::optional<std::string> ConnectionString::Find(std::string_view key) const {
  key = Strip(key);
  for (const auto& [k, v] : pairs_) {
    if (EqualsIgnoreCase(k, key)) return v;
  }
  return std::nullopt;
}

std::string ConnectionString::GetAny(std::initializer_list<std::string_view> keys,
                                     std::string_view fallback) const {
  for (std::string_view key : keys) {
    if (auto v = Find(key)) return *v;
  }
  return std::string(fallback);
}

void ConnectionString::Set(std::string_view key, std::string_view value) {
  key = Strip(key);
  for (auto& [k, v] : pairs_) {
    if (EqualsIgnoreCase(k, key)) {
      v = std::string(value);
      return;
    }
  }
  pairs_.emplace_back(std::string(key), std::string(value));
}

std::string ConnectionString::Render(bool redact) const {
  std::string out;
  for (const auto& [k, v] : pairs_) {
    if (!out.empty()) out += ';';
    out += k;
    out += '=';
    if (redact && IsSecretKey(k)) {
      out += "***";
    } else {
      out += NeedsQuoting(v) ? Quote(v) : v;
    }
  }
  return out;
}

std::string ConnectionString::ToString() const { return Render(false); }
std::string ConnectionString::Redacted() const { return Render(true); }

std::string ConnectionString::RedactText(std::string_view text) {
  // Tolerant scan: whatever follows a secret key's '=' up to the next ';'
  // (or the end of a quoted value) is hidden, even in text that does not parse.
  std::string out;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const size_t key_start = i;
    while (i < n && text[i] != '=' && text[i] != ';') ++i;
    out.append(text.substr(key_start, i - key_start));
    if (i >= n) break;
    if (text[i] == ';') {
      out += ';';
      ++i;
      continue;
    }
    const bool secret = IsSecretKey(text.substr(key_start, i - key_start));
    out += '=';
    ++i;
    size_t value_start = i;
    while (i < n && IsBlank(text[i])) ++i;
    if (i < n && (text[i] == '{' || text[i] == '"')) {
      const char close = text[i] == '{' ? '}' : '"';
      ++i;
      while (i < n) {
        if (text[i] == close) {
          if (i + 1 < n && text[i + 1] == close) {
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        ++i;
      }
    }
    while (i < n && text[i] != ';') ++i;
    if (secret) {
      out += "***";
    } else {
      out.append(text.substr(value_start, i - value_start));
    }
  }
  return out;
}

}  // namespace orv::db
