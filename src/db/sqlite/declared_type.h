#ifndef ORV_DB_SQLITE_DECLARED_TYPE_H_
#define ORV_DB_SQLITE_DECLARED_TYPE_H_

#include <cstdint>
#include <string_view>

#include "db/field.h"

namespace orv::db::sqlite {

// A column's or parameter's declared type as written in host DDL
// ("VARCHAR(10)", "int", "DECIMAL(18,5)", "NCHAR(3)"), mapped to the data
// type the host's client library reports and its defined size (characters
// for text, 0 otherwise).
struct DeclaredType {
  DataType type = DataType::kVariant;
  int32_t size = 0;

  static DeclaredType Parse(std::string_view text);
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_DECLARED_TYPE_H_
