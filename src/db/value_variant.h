#ifndef ORV_DB_VALUE_VARIANT_H_
#define ORV_DB_VALUE_VARIANT_H_

#include "db/value.h"
#include "zere_orvelka/variant.h"

namespace orv::db {

// A value across the module interface: the same kind and content both ways.
host::Variant ToVariant(const Value& value);
Value FromVariant(const host::Variant& value);

}  // namespace orv::db

#endif  // ORV_DB_VALUE_VARIANT_H_
