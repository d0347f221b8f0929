#include "db/write_by_key.h"

#include <cstdint>

#include "db/db_error.h"

namespace orv::db {

bool InsertUnlessPresent(Connection& connection, const std::string& insert) {
  try {
    connection.Execute(insert, nullptr, kAdExecuteNoRecords);
    return true;
  } catch (const DbError& e) {
    // A failed insert changes nothing on either engine and leaves an open
    // transaction usable.
    if (!IsDuplicateKey(e)) throw;
    connection.ClearErrors();
    return false;
  }
}

void WriteByKey(Connection& connection, bool exists, const std::string& insert,
                const std::string& update, int64_t* updated, int64_t* inserted) {
  int64_t changed = 0;
  if (updated) *updated = 0;
  if (inserted) *inserted = 0;
  if (exists) {
    connection.Execute(update, &changed, kAdExecuteNoRecords);
    if (updated) *updated = changed;
    if (changed != 0) return;
  }
  if (InsertUnlessPresent(connection, insert)) {
    if (inserted) *inserted = 1;
    return;
  }
  changed = 0;
  connection.Execute(update, &changed, kAdExecuteNoRecords);
  if (updated) *updated = changed;
}

}  // namespace orv::db
