#include "db/sqlite/tokenizer.h"

#include <string>

#include "db/sqlite/translate_error.h"

namespace orv::db::sqlite {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordStart(char c) {
  // Bytes >= 0x80 belong to UTF-8 letters, which the host accepts in names.
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}
bool IsWordPart(char c) { return IsWordStart(c) || IsDigit(c) || c == '@' || c == '#' || c == '$'; }

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string ToUpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool Token::IsWord(std::string_view keyword) const {
  return kind == Kind::kWord && EqualsIgnoreCase(text, keyword);
}

void Tokenizer::Advance(size_t n) {
  for (size_t i = 0; i < n && pos_ < text_.size(); ++i) {
    char c = text_[pos_++];
    if (c == '\n') {
      ++line_;
      column_ = 1;
    } else if (c == '\r') {
      // CR LF is one line end; a lone CR counts as one too.
      if (At(pos_) != '\n') {
        ++line_;
        column_ = 1;
      }
    } else {
      ++column_;
    }
  }
}

void Tokenizer::SkipBlanksAndComments() {
  while (pos_ < text_.size()) {
    char c = text_[pos_];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
      Advance(1);
    } else if (c == '-' && At(pos_ + 1) == '-') {
      while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') Advance(1);
    } else if (c == '/' && At(pos_ + 1) == '*') {
      int line = line_, column = column_;
      int depth = 0;  // the host nests block comments
      do {
        if (pos_ >= text_.size()) ThrowTranslateError("unterminated comment", line, column);
        if (text_[pos_] == '/' && At(pos_ + 1) == '*') {
          ++depth;
          Advance(2);
        } else if (text_[pos_] == '*' && At(pos_ + 1) == '/') {
          --depth;
          Advance(2);
        } else {
          Advance(1);
        }
      } while (depth > 0);
    } else {
      break;
    }
  }
}

Token Tokenizer::Start(Token::Kind kind) const {
  Token t;
  t.kind = kind;
  t.offset = pos_;
  t.line = line_;
  t.column = column_;
  return t;
}

Token Tokenizer::ReadString(size_t prefix) {
  Token t = Start(Token::Kind::kString);
  Advance(prefix + 1);
  for (;;) {
    if (pos_ >= text_.size()) ThrowTranslateError("unterminated string literal", t.line, t.column);
    char c = text_[pos_];
    // SQLite ends its text at a NUL byte: such a literal cannot be passed on.
    if (c == '\0') ThrowTranslateError("NUL character in a string literal", line_, column_);
    if (c == '\'') {
      if (At(pos_ + 1) == '\'') {
        t.text += '\'';
        Advance(2);
        continue;
      }
      Advance(1);
      break;
    }
    t.text += c;
    Advance(1);
  }
  t.length = pos_ - t.offset;
  return t;
}

Token Tokenizer::ReadQuotedName(char close) {
  Token t = Start(Token::Kind::kQuotedName);
  Advance(1);
  for (;;) {
    if (pos_ >= text_.size()) ThrowTranslateError("unterminated quoted name", t.line, t.column);
    char c = text_[pos_];
    if (c == '\0') ThrowTranslateError("NUL character in a quoted name", line_, column_);
    if (c == close) {
      if (At(pos_ + 1) == close) {
        t.text += close;
        Advance(2);
        continue;
      }
      Advance(1);
      break;
    }
    t.text += c;
    Advance(1);
  }
  if (t.text.empty()) ThrowTranslateError("empty quoted name", t.line, t.column);
  t.length = pos_ - t.offset;
  return t;
}

Token Tokenizer::ReadNumber() {
  Token t = Start(Token::Kind::kNumber);
  size_t p = pos_;
  if (At(p) == '0' && (At(p + 1) == 'x' || At(p + 1) == 'X')) {
    ThrowTranslateError("binary literal 0x... is not supported", t.line, t.column);
  }
  while (IsDigit(At(p))) ++p;
  if (At(p) == '.') {
    ++p;
    while (IsDigit(At(p))) ++p;
  }
  if ((At(p) == 'e' || At(p) == 'E') &&
      (IsDigit(At(p + 1)) || ((At(p + 1) == '+' || At(p + 1) == '-') && IsDigit(At(p + 2))))) {
    p += 2;
    while (IsDigit(At(p))) ++p;
  }
  if (IsWordStart(At(p))) {
    ThrowTranslateError("malformed number", t.line, t.column);
  }
  t.text = std::string(text_.substr(pos_, p - pos_));
  Advance(p - pos_);
  t.length = pos_ - t.offset;
  return t;
}

Token Tokenizer::ReadWord(Token::Kind kind) {
  Token t = Start(kind);
  size_t p = pos_ + 1;
  while (IsWordPart(At(p))) ++p;
  t.text = std::string(text_.substr(pos_, p - pos_));
  Advance(p - pos_);
  t.length = pos_ - t.offset;
  return t;
}

Token Tokenizer::ReadSymbol() {
  Token t = Start(Token::Kind::kSymbol);
  static constexpr std::string_view kTwo[] = {"<>", "!=", "<=", ">=", "!<", "!>"};
  for (std::string_view two : kTwo) {
    if (text_.substr(pos_, 2) == two) {
      t.text = std::string(two);
      Advance(2);
      t.length = 2;
      return t;
    }
  }
  char c = text_[pos_];
  static constexpr std::string_view kOne = "(),.;=<>+-*/%&|^~";
  if (kOne.find(c) == std::string_view::npos) {
    std::string what = "unexpected character '";
    what += c;
    what += "'";
    ThrowTranslateError(what, t.line, t.column);
  }
  t.text = std::string(1, c);
  Advance(1);
  t.length = 1;
  return t;
}

std::vector<Token> Tokenizer::Tokenize() {
  std::vector<Token> tokens;
  for (;;) {
    SkipBlanksAndComments();
    if (pos_ >= text_.size()) break;
    char c = text_[pos_];
    if (c == '\'') {
      tokens.push_back(ReadString(0));
    } else if ((c == 'N' || c == 'n') && At(pos_ + 1) == '\'') {
      tokens.push_back(ReadString(1));
    } else if (c == '[') {
      tokens.push_back(ReadQuotedName(']'));
    } else if (c == '"') {
      tokens.push_back(ReadQuotedName('"'));
    } else if (IsDigit(c) || (c == '.' && IsDigit(At(pos_ + 1)))) {
      tokens.push_back(ReadNumber());
    } else if (c == '@') {
      if (!IsWordPart(At(pos_ + 1)))
        ThrowTranslateError("parameter without a name", line_, column_);
      tokens.push_back(ReadWord(Token::Kind::kParameter));
    } else if (c == '?') {
      Token t = Start(Token::Kind::kMarker);
      t.text = std::string(1, '?');
      Advance(1);
      t.length = 1;
      tokens.push_back(std::move(t));
    } else if (c == '#') {
      if (!IsWordPart(At(pos_ + 1))) {
        ThrowTranslateError("temporary table without a name", line_, column_);
      }
      tokens.push_back(ReadWord(Token::Kind::kWord));
    } else if (IsWordStart(c)) {
      tokens.push_back(ReadWord(Token::Kind::kWord));
    } else {
      tokens.push_back(ReadSymbol());
    }
  }
  Token end = Start(Token::Kind::kEnd);
  tokens.push_back(end);
  return tokens;
}

}  // namespace orv::db::sqlite
