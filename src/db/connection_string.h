#ifndef ORV_DB_CONNECTION_STRING_H_
#define ORV_DB_CONNECTION_STRING_H_

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv::db {

// A parsed connection string: "Key=Value;Key2={va;lue};Key3=\"x\"". Keys are
// matched without regard to case and blanks around keys and values are
// dropped. A value in braces ({...}, "}}" stands for '}') or double quotes
// ("...", '""' stands for '"') may hold ';' and '='. A later duplicate key
// replaces the earlier value, as ODBC does.
//
// Forms the data layer understands (see OpenDriver()):
//   Driver=SQLite;Database=/path/host.db     embedded engine on a file
//   Database=:memory:                        embedded engine, private memory database
//   Data Source=/path/host.db                same as Database=
//   Driver={ODBC Driver 18 for SQL Server};Server=host;Database=erp;UID=u;PWD=p
//   DSN=erp;UID=u;PWD=p                      an ODBC data source
//
// Throws DbError(kErrBadArgument) on a malformed string, with a message that
// never repeats a password: Redacted() and every error text show "***".
class ConnectionString {
 public:
  ConnectionString() = default;
  explicit ConnectionString(std::string_view text);

  bool Has(std::string_view key) const { return Find(key).has_value(); }
  // The value of `key` (any case), or "" when absent.
  std::string Get(std::string_view key) const { return Find(key).value_or(std::string()); }
  // The value of `key`, or nullopt when absent (tells "Key=" from no key).
  std::optional<std::string> Find(std::string_view key) const;
  // The value of the first of the keys present, or `fallback` when none is.
  std::string GetAny(std::initializer_list<std::string_view> keys,
                     std::string_view fallback = {}) const;

  // Sets (or replaces) a key's value; used to add the user and password
  // that Connection::Open receives apart from the string.
  void Set(std::string_view key, std::string_view value);

  // Keys in their original spelling, in order of first appearance.
  const std::vector<std::pair<std::string, std::string>>& pairs() const { return pairs_; }

  // The string rebuilt, values quoted where needed; Redacted() shows the
  // values of Password/PWD as "***".
  std::string ToString() const;
  std::string Redacted() const;

  // Redacts raw text without requiring it to parse (for messages about a
  // string that could not be parsed).
  static std::string RedactText(std::string_view text);
  // True for keys that carry a secret (Password, PWD).
  static bool IsSecretKey(std::string_view key);

 private:
  std::string Render(bool redact) const;

  std::vector<std::pair<std::string, std::string>> pairs_;
};

}  // namespace orv::db

#endif  // ORV_DB_CONNECTION_STRING_H_
