#ifndef ORV_HOSTDB_SQL_FILE_H_
#define ORV_HOSTDB_SQL_FILE_H_

#include <string_view>
#include <vector>

namespace orv::hostdb {

// One script of the host schema (src/hostdb/sql/*.sql), embedded in the
// library at build time. Scripts are T-SQL; batches are separated by lines
// that hold only "GO", as the host's own tools expect.
struct SqlFile {
  std::string_view name;  // file name, e.g. "050_revocations.sql"
  std::string_view text;
};

// Every script, in the order they must run (file-name order). The texts live
// for the whole program.
const std::vector<SqlFile>& EmbeddedSqlFiles();

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_SQL_FILE_H_
