#ifndef ORV_DB_FIELD_H_
#define ORV_DB_FIELD_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

namespace orv::db {

// ADO data type codes the module uses when it appends fields to an
// in-memory recordset, and the drivers report for result columns.
enum class DataType : int {
  kEmpty = 0,
  kSmallInt = 2,
  kInteger = 3,
  kDouble = 5,
  kBoolean = 11,
  kVariant = 12,
  kDecimal = 14,
  kBigInt = 20,
  kChar = 129,   // fixed length, padded with blanks
  kWChar = 130,  // fixed length, padded with blanks
  kNumeric = 131,
  kDate = 133,
  kVarChar = 200,
  kVarWChar = 202,
  kLongVarChar = 201,
};

// True for the types that hold text: fixed-length, variable-length and long.
inline bool IsTextType(DataType type) {
  return type == DataType::kChar || type == DataType::kWChar || type == DataType::kVarChar ||
         type == DataType::kVarWChar || type == DataType::kLongVarChar;
}

// Attributes (ADO's FieldAttributeEnum subset).
inline constexpr int kFldMayBeNull = 0x40;
inline constexpr int kFldIsNullable = 0x20;
inline constexpr int kFldFixed = 0x10;

// The description of one column: name, type, defined size and nullability.
struct FieldInfo {
  std::string name;
  DataType type = DataType::kVariant;
  int32_t defined_size = 0;  // characters for text, 0 when unknown
  bool nullable = true;
  // Base table and column for columns a driver can trace to one table;
  // UpdateBatch writes through these.
  std::string base_table;
  std::string base_column;
  bool key = false;  // part of the base table's primary key

  bool IsFixedText() const { return type == DataType::kChar || type == DataType::kWChar; }
};

// Stores a value as the field would: fixed-length text is padded with blanks
// to the defined size (and fails when longer), numbers convert to the field's
// type. Throws DbError on a value the field cannot hold (NULL in a field that
// is not nullable included).
Value CoerceToField(const FieldInfo& field, const Value& value);

// The position of the field named `name` (without regard to case) among
// `fields`, the first when several have the name. Throws
// DbError(kErrItemNotFound), the message a collection gives for an unknown
// name, when none has it.
int FieldPosition(const std::vector<FieldInfo>& fields, std::string_view name);

}  // namespace orv::db

#endif  // ORV_DB_FIELD_H_
