#include "db/sqlite/translate_error.h"

#include <string>

#include "db/db_error.h"

namespace orv::db::sqlite {

void ThrowTranslateError(std::string_view what, int line, int column) {
  std::string description = "Translator: ";
  description += what;
  description += " at line " + std::to_string(line) + ", column " + std::to_string(column);
  DriverMessage message;
  message.number = kErrProvider;
  message.sql_state = "42000";
  message.description = description;
  message.source = "Translator";
  throw DbError(kErrProvider, description, {message});
}

}  // namespace orv::db::sqlite
