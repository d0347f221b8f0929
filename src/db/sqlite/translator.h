#ifndef ORV_DB_SQLITE_TRANSLATOR_H_
#define ORV_DB_SQLITE_TRANSLATOR_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/sqlite/translation.h"

namespace orv::db::sqlite {

// Knows which host table functions exist (so "cross apply dbo.FN(...)" can be
// checked) and the columns of tables when a rewrite needs them. Supplied by
// the driver; may be null.
class Catalog {
 public:
  virtual ~Catalog() = default;
  virtual bool IsTableFunction(std::string_view name) const = 0;
  // The definition of the table function `name`, or null when it is not
  // known; lets the translator write a simple one as a join.
  virtual const Step::Routine* TableFunction(std::string_view /*name*/) const { return nullptr; }
  // The declared type of a column of a table ("VARCHAR(25)", "INT"), or ""
  // when the table or the column is not known.
  virtual std::string ColumnType(std::string_view /*table*/, std::string_view /*column*/) const {
    return {};
  }
  // True when equal values of `columns` (compared with each column's own
  // collation) can only be one row of `table`: a unique index, not partial,
  // over some of them with their own collations; and `table`.rowid names
  // that row. An inlined table function that reads its caller's own row by
  // such a key is then joined on the row id.
  virtual bool IsRowKey(std::string_view /*table*/,
                        const std::vector<std::string>& /*columns*/) const {
    return false;
  }
  // True when the column of `table` is declared NOT NULL.
  virtual bool IsNotNull(std::string_view /*table*/, std::string_view /*column*/) const {
    return false;
  }
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
  // As Translate, but the integer and text constants of data statements
  // (SELECT, INSERT, UPDATE, DELETE, IF, EXEC) where they stand for a value
  // become the parameters ?1, ?2, ... and their values go to `literals`.
  // Texts that differ only in those constants share one translation, so a
  // statement repeated with other values is translated (and prepared) once.
  std::shared_ptr<const Translation> TranslateShared(std::string_view tsql,
                                                     std::vector<Literal>* literals);

  size_t cache_size() const;
  size_t cache_hits() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_TRANSLATOR_H_
