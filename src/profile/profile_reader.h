#ifndef ORV_PROFILE_PROFILE_READER_H_
#define ORV_PROFILE_PROFILE_READER_H_

#include <vector>

#include "profile/profile_row.h"
#include "store/principal.h"

namespace orv::db {
class Connection;
class Recordset;
}  // namespace orv::db

namespace orv::profile {

// Reads a principal's revocations: every row of the five tables, all
// companies, one indexed range read per table.
class ProfileReader {
 public:
  // The rows of the principal, table by table, each table by logical key.
  static std::vector<ProfileRow> Read(db::Connection& connection,
                                      const store::Principal& principal);
  static std::vector<ProfileRow> Read(db::Connection& connection, const store::Principal& principal,
                                      RevocationTable table);
  // The current row of a recordset in ProfileStatements' column order.
  static ProfileRow RowOf(RevocationTable table, const db::Recordset& rs);
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_PROFILE_READER_H_
