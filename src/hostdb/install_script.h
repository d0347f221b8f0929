#ifndef ORV_HOSTDB_INSTALL_SCRIPT_H_
#define ORV_HOSTDB_INSTALL_SCRIPT_H_

#include <string>
#include <vector>

namespace orv::hostdb {

// The installation script of the host schema for a real host server
// (SQL Server): every batch of src/hostdb/sql/ (tables, indexes, table
// functions, procedures) in the order the embedded engine runs them, each
// followed by a line "GO", optionally followed by the demo installation's
// rows. A table added to the schema is a new batch in src/hostdb/sql/: it
// reaches the embedded engine and this script alike.
class InstallScript {
 public:
  // The schema's batches, as HostSchema::Install runs them.
  static std::vector<std::string> SchemaBatches();

  // The statements the demo installation sends, captured while it fills an
  // embedded database: multi-row INSERTs, then the procedure call that
  // derives the revoked customer/supplier lists. Throws DbError.
  static std::vector<std::string> DemoBatches();

  // The whole script: a heading comment, the schema batches and, with
  // `demo`, the demo batches, each batch ended by "GO".
  static std::string Tsql(bool demo);
};

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_INSTALL_SCRIPT_H_
