#ifndef ORV_DB_WRITE_BY_KEY_H_
#define ORV_DB_WRITE_BY_KEY_H_

#include <cstdint>
#include <string>

#include "db/connection.h"

namespace orv::db {

// Writes one row named by its logical key (unique in the schema).
// `exists` is what a probe read just before: the update runs for a row that
// exists, the insert for one that does not. Another editor may have written
// or removed the row since the probe: an insert that meets the row runs the
// update instead, and an update that finds no row runs the insert. Both
// statements must give the row the same content. `updated` and `inserted`,
// when given, receive how many rows the update changed and the insert wrote
// (as the engine counted them). Throws DbError.
void WriteByKey(Connection& connection, bool exists, const std::string& insert,
                const std::string& update, int64_t* updated = nullptr, int64_t* inserted = nullptr);

// Inserts a row unless one with its key is there already (written since the
// probe by another editor); true when this call inserted it.
bool InsertUnlessPresent(Connection& connection, const std::string& insert);

}  // namespace orv::db

#endif  // ORV_DB_WRITE_BY_KEY_H_
