#ifndef ORV_DB_SQLITE_TRANSLATE_ERROR_H_
#define ORV_DB_SQLITE_TRANSLATE_ERROR_H_

#include <string_view>

namespace orv::db::sqlite {

// Throws the translator's DbError: number kErrProvider, one DriverMessage
// with source "Translator", the description naming what was not understood
// and where ("... at line 3, column 14").
[[noreturn]] void ThrowTranslateError(std::string_view what, int line, int column);

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_TRANSLATE_ERROR_H_
