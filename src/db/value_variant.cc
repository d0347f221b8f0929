#include "db/value_variant.h"

namespace orv::db {

host::Variant ToVariant(const Value& value) {
  switch (value.type()) {
    case Value::Type::kEmpty:
      return host::Variant();
    case Value::Type::kNull:
      return host::Variant::Null();
    case Value::Type::kInt:
      return host::Variant(value.AsInt());
    case Value::Type::kDecimal:
      return host::Variant(value.AsDecimal());
    case Value::Type::kText:
      return host::Variant(value.AsText());
    case Value::Type::kBool:
      return host::Variant(value.AsBool());
  }
  return host::Variant();
}

Value FromVariant(const host::Variant& value) {
  switch (value.type()) {
    case host::Variant::Type::kEmpty:
      return Value();
    case host::Variant::Type::kNull:
      return Value::Null();
    case host::Variant::Type::kInt:
      return Value(value.AsInt());
    case host::Variant::Type::kDecimal:
      return Value(value.AsDecimal());
    case host::Variant::Type::kText:
      return Value(value.AsText());
    case host::Variant::Type::kBool:
      return Value(value.AsBool());
  }
  return Value();
}

}  // namespace orv::db
