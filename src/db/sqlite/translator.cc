#include "db/sqlite/translator.h"

#include <list>
#include <unordered_map>
#include <utility>

#include "db/sqlite/tokenizer.h"
#include "db/sqlite/tsql_parser.h"

namespace orv::db::sqlite {
namespace {

constexpr size_t kCacheCapacity = 512;

// A number token SQLite reads as the same 64-bit integer it would bind.
bool IsPlainInteger(const Token& t) {
  return t.kind == Token::Kind::kNumber && !t.text.empty() && t.text.size() <= 18 &&
         t.text.find_first_not_of("0123456789") == std::string::npos;
}

bool IsLiteral(const Token& t) { return t.kind == Token::Kind::kString || IsPlainInteger(t); }

// The text with every constant blanked out: texts of one shape differ only
// in their constants.
std::string ShapeOf(const std::vector<Token>& tokens) {
  std::string shape;
  for (const Token& t : tokens) {
    shape += static_cast<char>('0' + static_cast<int>(t.kind));
    if (!IsLiteral(t)) shape += t.text;
    shape += '\x1f';
  }
  return shape;
}

Literal LiteralOf(const Token& t) {
  Literal literal;
  literal.is_text = t.kind == Token::Kind::kString;
  if (literal.is_text) {
    literal.text = t.text;
  } else {
    literal.integer = std::stoll(t.text);
  }
  return literal;
}

}  // namespace

// Least-recently-used cache of translations by statement text. Statement
// texts repeat with the same values (the same principal, the same company),
// so a small cache catches most of them.
struct Translator::Impl {
  using Entry = std::pair<std::string, std::shared_ptr<const Translation>>;
  const Catalog* catalog = nullptr;
  std::list<Entry> order;  // most recent first
  std::unordered_map<std::string_view, std::list<Entry>::iterator> index;
  size_t hits = 0;

  // Shared translations by shape. `params[k]` is the token that gives ?k+1;
  // `fixed` are the constants the translation kept as written (an ORDER BY
  // position, a TOP count, ...), which a text must repeat to share it.
  struct Shared {
    std::shared_ptr<const Translation> translation;
    std::vector<size_t> params;
    std::vector<std::pair<size_t, std::string>> fixed;
  };
  using SharedEntry = std::pair<std::string, Shared>;
  std::list<SharedEntry> shared_order;
  std::unordered_map<std::string_view, std::list<SharedEntry>::iterator> shared_index;
};

Translator::Translator(const Catalog* catalog) : impl_(std::make_unique<Impl>()) {
  impl_->catalog = catalog;
}

Translator::~Translator() = default;

std::shared_ptr<const Translation> Translator::Translate(std::string_view tsql) {
  auto found = impl_->index.find(tsql);
  if (found != impl_->index.end()) {
    ++impl_->hits;
    impl_->order.splice(impl_->order.begin(), impl_->order, found->second);
    return found->second->second;
  }
  auto translation =
      std::make_shared<const Translation>(TsqlParser(tsql, impl_->catalog).ParseBatch());
  impl_->order.emplace_front(std::string(tsql), translation);
  // The key views the string owned by the list node, which never moves.
  impl_->index.emplace(impl_->order.front().first, impl_->order.begin());
  if (impl_->order.size() > kCacheCapacity) {
    impl_->index.erase(impl_->order.back().first);
    impl_->order.pop_back();
  }
  return translation;
}

std::shared_ptr<const Translation> Translator::TranslateShared(std::string_view tsql,
                                                               std::vector<Literal>* literals) {
  literals->clear();
  std::vector<Token> tokens = Tokenizer(tsql).Tokenize();
  std::string shape = ShapeOf(tokens);
  auto found = impl_->shared_index.find(shape);
  if (found != impl_->shared_index.end()) {
    const Impl::Shared& shared = found->second->second;
    bool same = true;
    for (const auto& [token, text] : shared.fixed) same = same && tokens[token].text == text;
    if (same) {
      ++impl_->hits;
      impl_->shared_order.splice(impl_->shared_order.begin(), impl_->shared_order, found->second);
      for (size_t token : shared.params) literals->push_back(LiteralOf(tokens[token]));
      return shared.translation;
    }
  }
  TsqlParser parser(tsql, impl_->catalog, /*take_literals=*/true);
  Impl::Shared shared;
  shared.translation = std::make_shared<const Translation>(parser.ParseBatch());
  shared.params = parser.literal_tokens();
  std::vector<bool> taken(tokens.size(), false);
  for (size_t token : shared.params) taken[token] = true;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (IsLiteral(tokens[i]) && !taken[i]) shared.fixed.emplace_back(i, tokens[i].text);
  }
  for (size_t token : shared.params) literals->push_back(LiteralOf(tokens[token]));
  if (found != impl_->shared_index.end()) {
    // Same shape, other fixed constants: the newer text takes the place.
    auto stale = found->second;
    impl_->shared_index.erase(found);
    impl_->shared_order.erase(stale);
  }
  impl_->shared_order.emplace_front(std::move(shape), std::move(shared));
  impl_->shared_index.emplace(impl_->shared_order.front().first, impl_->shared_order.begin());
  if (impl_->shared_order.size() > kCacheCapacity) {
    impl_->shared_index.erase(impl_->shared_order.back().first);
    impl_->shared_order.pop_back();
  }
  return impl_->shared_order.front().second.translation;
}

size_t Translator::cache_size() const { return impl_->order.size(); }

size_t Translator::cache_hits() const { return impl_->hits; }

}  // namespace orv::db::sqlite
