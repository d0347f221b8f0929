#ifndef ORV_DB_SQLITE_TRANSLATOR_H_
#define ORV_DB_SQLITE_TRANSLATOR_H_

#include <memory>
#include <string>
#include <string_view>

#include "db/sqlite/translation.h"

namespace orv::db::sqlite {

// Knows which host table functions exist (so "cross apply dbo.FN(...)" can be
// checked) and the columns of tables when a rewrite needs them. Supplied by
// the driver; may be null.
class Catalog {
 public:
  virtual ~Catalog() = default;
  virtual bool IsTableFunction(std::string_view name) const = 0;
};

// Translates host-dialect text into steps for SQLite. Thread-compatible;
// results are cached by statement text (the cache is bounded).
// Throws DbError (source "Translator") naming the construct and its 1-based
// line and column when it meets something it does not understand; it never
// guesses.
class Translator {
 public:
  explicit Translator(const Catalog* catalog = nullptr);
  ~Translator();

  std::shared_ptr<const Translation> Translate(std::string_view tsql);

  size_t cache_size() const;
  size_t cache_hits() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_TRANSLATOR_H_
