#include "db/sqlite/translator.h"

#include <list>
#include <unordered_map>
#include <utility>

#include "db/sqlite/tsql_parser.h"

namespace orv::db::sqlite {
namespace {

constexpr size_t kCacheCapacity = 512;

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

size_t Translator::cache_size() const { return impl_->order.size(); }

size_t Translator::cache_hits() const { return impl_->hits; }

}  // namespace orv::db::sqlite
