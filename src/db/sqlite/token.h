#ifndef ORV_DB_SQLITE_TOKEN_H_
#define ORV_DB_SQLITE_TOKEN_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace orv::db::sqlite {

// One lexical unit of host-dialect text. Keywords are words: the parser
// decides what a word means from where it stands.
struct Token {
  enum class Kind {
    kWord,        // identifier or keyword as written; "#t" and "##t" names too
    kQuotedName,  // [name] or "name", text holds the name without quotes
    kString,      // 'text' or N'text', text holds the decoded value
    kNumber,      // 12, 1.5, .5, 1e3, as written
    kParameter,   // @name (or @@name), as written
    kSymbol,      // operator or punctuation: ( ) , . ; = <> != <= >= < > + - * / % & | ^ ~
    kMarker,      // ?, a positional parameter marker: the next value bound with the text
    kEnd,         // end of text
  };

  Kind kind = Kind::kEnd;
  std::string text;
  size_t offset = 0;  // byte span of the token in the source text
  size_t length = 0;
  int line = 1;  // 1-based position of the first character
  int column = 1;

  // Case-insensitive keyword test; never true for quoted names.
  bool IsWord(std::string_view keyword) const;
  bool IsSymbol(std::string_view symbol) const { return kind == Kind::kSymbol && text == symbol; }
  // A name usable as an identifier (word or quoted name).
  bool IsName() const { return kind == Kind::kWord || kind == Kind::kQuotedName; }
};

// ASCII case-insensitive equality, the way the host compares keywords.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view s);

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_TOKEN_H_
