#ifndef ORV_HOSTDB_HOST_SCHEMA_H_
#define ORV_HOSTDB_HOST_SCHEMA_H_

#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"

namespace orv::hostdb {

// The host database's schema: tables, indexes, table functions and stored
// procedures, from the embedded scripts of src/hostdb/sql/. Applied through
// a db::Connection, so the same T-SQL text serves the embedded engine (which
// translates it) and a real host server.
class HostSchema {
 public:
  // Runs every script, batch by batch, inside one transaction: on failure
  // nothing is left behind and the DbError names the script and batch.
  static void Install(db::Connection& connection);

  // The batches of a script: text between lines that hold only "GO" (any
  // case, blanks around it allowed). Batches with nothing but comments and
  // blanks are dropped.
  static std::vector<std::string> SplitBatches(std::string_view script);

  // Every table the schema creates, in creation order.
  static const std::vector<std::string_view>& Tables();

  // The revocation tables with their two principal columns.
  struct RevocationTable {
    std::string_view table;
    std::string_view user_column;   // xxxx_ID_FW07
    std::string_view group_column;  // xxxx_ID_FW06
  };
  static const std::vector<RevocationTable>& RevocationTables();

  // The ten classification table functions, as the editor calls them.
  static const std::vector<std::string_view>& TableFunctions();
  // The three stored procedures.
  static const std::vector<std::string_view>& Procedures();
};

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_HOST_SCHEMA_H_
