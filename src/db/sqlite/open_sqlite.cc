#include "db/sqlite/open_sqlite.h"

#include "db/sqlite/sqlite_driver.h"
#include "db/sqlite/translator.h"

namespace orv::db::sqlite {

std::unique_ptr<Driver> OpenSqliteDriver(const ConnectionString& connection_string) {
  return SqliteDriver::Open(connection_string, [](const Catalog* catalog) {
    // One translator per connection: its catalog is that connection's
    // database (which table functions exist there).
    auto translator = std::make_shared<Translator>(catalog);
    return SqliteDriver::Translate(
        [translator](std::string_view sql, std::vector<Literal>* literals) {
          return literals ? translator->TranslateShared(sql, literals) : translator->Translate(sql);
        });
  });
}

}  // namespace orv::db::sqlite
