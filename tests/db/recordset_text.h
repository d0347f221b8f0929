#ifndef ORV_TESTS_DB_RECORDSET_TEXT_H_
#define ORV_TESTS_DB_RECORDSET_TEXT_H_

// Small helpers the data-layer tests share: a recordset's rows as one string
// to compare, and the number of the DbError a call throws.
#include <cstdint>
#include <functional>
#include <string>

#include "db/db_error.h"
#include "db/recordset.h"

namespace orv::db::testing {

// Every visible row of a recordset from its first: "1|a;2|<null>".
inline std::string Rows(Recordset& rs) {
  std::string out;
  if (rs.RecordCount() == 0) return out;
  for (rs.MoveFirst(); !rs.EOF_(); rs.MoveNext()) {
    if (!out.empty()) out += ";";
    for (int i = 0; i < rs.FieldCount(); ++i) {
      if (i > 0) out += "|";
      out += rs.Field(i).IsNull() ? "<null>" : rs.Field(i).ToText();
    }
  }
  return out;
}

// The number of the DbError `f` throws, 0 when it throws none.
inline int64_t ErrorNumber(const std::function<void()>& f) {
  try {
    f();
  } catch (const DbError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace orv::db::testing

#endif  // ORV_TESTS_DB_RECORDSET_TEXT_H_
