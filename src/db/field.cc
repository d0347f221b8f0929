#include "db/field.h"

#include "db/ascii.h"
#include "db/db_error.h"

namespace orv::db {
namespace {

[[noreturn]] void Reject(const FieldInfo& field, const std::string& why) {
  throw DbError(kErrFieldValue, "Field '" + field.name + "': " + why);
}

}  // namespace

Value CoerceToField(const FieldInfo& field, const Value& value) {
  // Empty assigned to a field stores NULL, as ADO does.
  if (value.IsNull() || value.IsEmpty()) {
    if (!field.nullable) Reject(field, "NULL is not allowed");
    return Value::Null();
  }
  switch (field.type) {
    case DataType::kEmpty:
    case DataType::kVariant:
    case DataType::kDate:
      return value;
    case DataType::kSmallInt:
      return Value(static_cast<int64_t>(value.ToInt16()));
    case DataType::kInteger:
      return Value(static_cast<int64_t>(value.ToInt32()));
    case DataType::kBigInt:
      return Value(value.ToInt64());
    case DataType::kDouble:
    case DataType::kDecimal:
    case DataType::kNumeric:
      return Value(value.ToDouble());
    case DataType::kBoolean:
      return Value(value.ToBool());
    case DataType::kChar:
    case DataType::kWChar: {
      std::string text = value.ToText();
      if (field.defined_size > 0) {
        const auto size = static_cast<size_t>(field.defined_size);
        const size_t length = Utf8Length(text);
        if (length > size) {
          Reject(field, "text of " + std::to_string(length) + " characters exceeds size " +
                            std::to_string(size));
        }
        text.append(size - length, ' ');
      }
      return Value(std::move(text));
    }
    case DataType::kVarChar:
    case DataType::kVarWChar:
    case DataType::kLongVarChar: {
      std::string text = value.ToText();
      if (field.defined_size > 0 && Utf8Length(text) > static_cast<size_t>(field.defined_size)) {
        Reject(field, "text of " + std::to_string(Utf8Length(text)) + " characters exceeds size " +
                          std::to_string(field.defined_size));
      }
      return Value(std::move(text));
    }
  }
  return value;
}

int FieldPosition(const std::vector<FieldInfo>& fields, std::string_view name) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (EqualsIgnoreCase(fields[i].name, name)) return static_cast<int>(i);
  }
  throw DbError(kErrItemNotFound,
                "Item cannot be found in the collection corresponding to the requested name or "
                "ordinal.");
}

}  // namespace orv::db
