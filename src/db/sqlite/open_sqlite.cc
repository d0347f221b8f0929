#include "db/sqlite/open_sqlite.h"

#include "db/sqlite/sqlite_driver.h"
#include "db/sqlite/translator.h"

// Until the translator's implementation is part of the build, statements
// pass through untranslated (plain SQLite text works; host dialect does not).
#if __has_include("db/sqlite/translator.cc")
#define ORV_HAVE_TRANSLATOR 1
#endif

namespace orv::db::sqlite {

std::unique_ptr<Driver> OpenSqliteDriver(const ConnectionString& connection_string) {
  return SqliteDriver::Open(connection_string, [](const Catalog* catalog) {
#ifdef ORV_HAVE_TRANSLATOR
    auto translator = std::make_shared<Translator>(catalog);
    return SqliteDriver::Translate(
        [translator](std::string_view sql) { return translator->Translate(sql); });
#else
    (void)catalog;
    return SqliteDriver::Translate([](std::string_view sql) {
      auto translation = std::make_shared<Translation>();
      Step step;
      step.sql = std::string(sql);
      translation->steps.push_back(std::move(step));
      return std::shared_ptr<const Translation>(std::move(translation));
    });
#endif
  });
}

}  // namespace orv::db::sqlite
