#ifndef ORV_DB_CONNECTION_STRING_H_
#define ORV_DB_CONNECTION_STRING_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv::db {

// A parsed connection string: "Key=Value;Key2={va;lue};Key3=\"x\"". Keys are
// matched without regard to case; a value in braces or double quotes may hold
// semicolons. Throws DbError(kErrBadArgument) on a malformed string, with a
// message that never repeats a password.
class ConnectionString {
 public:
  explicit ConnectionString(std::string_view text);

  bool Has(std::string_view key) const;
  // The value of the first of the keys present, or "" when none is.
  std::string Get(std::string_view key) const;
  std::string GetAny(std::initializer_list<std::string_view> keys) const;

  const std::vector<std::pair<std::string, std::string>>& pairs() const { return pairs_; }

  // The string with the values of Password/PWD replaced by "***".
  std::string Redacted() const;

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

}  // namespace orv::db

#endif  // ORV_DB_CONNECTION_STRING_H_
