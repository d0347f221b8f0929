#ifndef ORV_DB_SQLITE_TOKENIZER_H_
#define ORV_DB_SQLITE_TOKENIZER_H_

#include <string_view>
#include <vector>

#include "db/sqlite/token.h"

namespace orv::db::sqlite {

// Splits host-dialect (T-SQL) text into tokens: string literals with doubled
// quotes and the N prefix, numbers, words, [bracketed] names with "]]",
// "quoted" names, @parameters, ? markers, #temp and ##temp names, operators; skips
// blanks, CR/LF line ends, "--" and nested "/* */" comments. Every token
// carries its 1-based line and column. Throws DbError on an unterminated
// literal or comment and on a character the dialect does not have.
class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : text_(text) {}

  // The tokens of the whole text, the last one of kind kEnd.
  std::vector<Token> Tokenize();

 private:
  char At(size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
  void Advance(size_t n);
  void SkipBlanksAndComments();
  Token Start(Token::Kind kind) const;
  Token ReadString(size_t prefix);
  Token ReadQuotedName(char close);
  Token ReadNumber();
  Token ReadWord(Token::Kind kind);
  Token ReadSymbol();

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  int column_ = 1;
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_TOKENIZER_H_
