#include "db/sqlite/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/db_error.h"

namespace orv::db::sqlite {
namespace {

// Renders tokens as "kind:text@line:column" so a whole stream compares at once.
std::string Render(const std::vector<Token>& tokens) {
  std::string out;
  for (const Token& t : tokens) {
    const char* kind = "?";
    switch (t.kind) {
      case Token::Kind::kWord:
        kind = "w";
        break;
      case Token::Kind::kQuotedName:
        kind = "q";
        break;
      case Token::Kind::kString:
        kind = "s";
        break;
      case Token::Kind::kNumber:
        kind = "n";
        break;
      case Token::Kind::kParameter:
        kind = "p";
        break;
      case Token::Kind::kSymbol:
        kind = "y";
        break;
      case Token::Kind::kMarker:
        kind = "m";
        break;
      case Token::Kind::kEnd:
        kind = "end";
        break;
    }
    if (!out.empty()) out += " ";
    out += std::string(kind) + ":" + t.text + "@" + std::to_string(t.line) + ":" +
           std::to_string(t.column);
  }
  return out;
}

std::string Tokens(const std::string& text) { return Render(Tokenizer(text).Tokenize()); }

TEST(TokenizerTest, LiteralsNamesAndParameters) {
  EXPECT_EQ(Tokens("SELECT 'a''b', N'x', 12, 1.5, .5, 2e3"),
            "w:SELECT@1:1 s:a'b@1:8 y:,@1:14 s:x@1:16 y:,@1:20 n:12@1:22 y:,@1:24 n:1.5@1:26 "
            "y:,@1:29 n:.5@1:31 y:,@1:33 n:2e3@1:35 end:@1:38");
  EXPECT_EQ(Tokens("[a]]b] \"c\"\"d\" @p ##tempT1 #t dbo.x"),
            "q:a]b@1:1 q:c\"d@1:8 p:@p@1:15 w:##tempT1@1:18 w:#t@1:27 w:dbo@1:30 y:.@1:33 "
            "w:x@1:34 end:@1:35");
  EXPECT_EQ(Tokens("x=? AND '?'=?"),
            "w:x@1:1 y:=@1:2 m:?@1:3 w:AND@1:5 s:?@1:9 y:=@1:12 m:?@1:13 end:@1:14");
  EXPECT_EQ(Tokens("a<>b!=c<=d>=e"),
            "w:a@1:1 y:<>@1:2 w:b@1:4 y:!=@1:5 w:c@1:7 y:<=@1:8 "
            "w:d@1:10 y:>=@1:11 w:e@1:13 end:@1:14");
}

TEST(TokenizerTest, CommentsAndLineEnds) {
  EXPECT_EQ(Tokens("a -- comment ' not a string\r\n b /* x /* nested */ ' */ c\n\rd"),
            "w:a@1:1 w:b@2:2 w:c@2:27 w:d@4:1 end:@4:2");
  // CRLF inside a string literal stays in the value and moves the line count.
  std::vector<Token> tokens = Tokenizer("'x\r\ny' z").Tokenize();
  EXPECT_EQ(tokens[0].text, "x\r\ny");
  EXPECT_EQ(tokens[1].line, 2);
  EXPECT_EQ(tokens[1].column, 4);
}

TEST(TokenizerTest, KeywordsMatchInAnyCase) {
  std::vector<Token> tokens = Tokenizer("sElEcT [select]").Tokenize();
  EXPECT_TRUE(tokens[0].IsWord("SELECT"));
  EXPECT_FALSE(tokens[1].IsWord("SELECT")) << "a bracketed name is never a keyword";
}

TEST(TokenizerTest, SpansCoverTheSourceText) {
  std::string text = "select [a b], 'q''q' from t";
  for (const Token& t : Tokenizer(text).Tokenize()) {
    if (t.kind == Token::Kind::kEnd) continue;
    std::string raw = text.substr(t.offset, t.length);
    if (t.kind == Token::Kind::kQuotedName) {
      EXPECT_EQ(raw, "[a b]");
    } else if (t.kind == Token::Kind::kString) {
      EXPECT_EQ(raw, "'q''q'");
    }
  }
}

TEST(TokenizerTest, BadInputNamesTheProblemAndPosition) {
  struct Case {
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"select 'abc", "unterminated string literal at line 1, column 8"},
      {"select\n [abc", "unterminated quoted name at line 2, column 2"},
      {"a /* b /* c */", "unterminated comment at line 1, column 3"},
      {"select `a`", "unexpected character '`' at line 1, column 8"},
      {"select 0x1F", "binary literal 0x... is not supported at line 1, column 8"},
      {"select @ ", "parameter without a name at line 1, column 8"},
      {"select 12abc", "malformed number at line 1, column 8"},
      {"select []", "empty quoted name at line 1, column 8"},
  };
  for (const Case& c : cases) {
    try {
      Tokenizer(c.text).Tokenize();
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const DbError& e) {
      EXPECT_EQ(e.description(), "Translator: " + c.message) << c.text;
      ASSERT_EQ(e.messages().size(), 1u);
      EXPECT_EQ(e.messages()[0].source, "Translator");
      EXPECT_EQ(e.number(), kErrProvider);
    }
  }
}

}  // namespace
}  // namespace orv::db::sqlite
