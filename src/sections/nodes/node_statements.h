#ifndef ORV_SECTIONS_NODES_NODE_STATEMENTS_H_
#define ORV_SECTIONS_NODES_NODE_STATEMENTS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "db/value.h"

namespace orv::sections {

// The statements of the project-node section, one function per statement,
// in the host's dialect.
//
// `work_table` is the window's global temporary table ("##tempT" + 32 hex
// digits); it is an identifier, so it is checked (IsWorkTableName) rather
// than quoted: a name that is not of that form throws DbError. Identifiers
// of the principal are written as plain integers ("NULL" where a statement
// writes the absent one), the company as a plain integer.
class NodeStatements {
 public:
  static constexpr std::string_view kCrLf = "\r\n";

  // "##" followed by letters, digits and underscores only.
  static bool IsWorkTableName(std::string_view name);

  // The node catalogue of the company with the principal's revocations,
  // made into the work table by SELECT ... INTO. Its rows pass the filter
  // (INCLUSA 1) from the start when `all_included`, as MarkIncluded with no
  // condition would leave them, without a second pass over the table.
  static std::string WorkTable(std::string_view work_table, const db::Value& user_id,
                               const db::Value& group_id, int64_t company,
                               bool all_included = false);
  // Drops the work table when it exists.
  static std::string DropWorkTable(std::string_view work_table);
  // Marks the rows that pass the filter. `condition` is the query control's
  // filter, which starts with its own connective and holds typed values only
  // as escaped literals; "" marks every row.
  static std::string MarkIncluded(std::string_view work_table, std::string_view condition);
  // The rows the grid shows.
  static std::string RowsShown(std::string_view work_table);
  // The work table's key (project, node, company), made right after the
  // table: the batch update of a clicked row finds it through this index
  // instead of comparing every column of every row, and the shown rows are
  // read in its order (the table holds one company) instead of sorted.
  static std::string WorkTableKey(std::string_view work_table);
  // Brings FW3N_RVKNODI in line with the rows of the work table that pass
  // the filter (INCLUSA 1), for one principal in one company: a row for
  // each of them with ABILITATO 0, none for those with ABILITATO 1. Rows
  // outside the filter, and revocations of nodes the table does not show,
  // are left alone (another editor may have written them).
  static std::string Merge(std::string_view work_table, const db::Value& user_id,
                           const db::Value& group_id, int64_t company);

  // One node of one principal, as a click writes it: the revocation row
  // unless it exists already, or no revocation row. `company`, `project`
  // and `node` are the work row's DITTARAG, PROGETTO and CODICE; each has
  // the result the MERGE would have for that row.
  static std::string InsertRevocation(const db::Value& user_id, const db::Value& group_id,
                                      int64_t company, std::string_view project,
                                      std::string_view node);
  static std::string DeleteRevocation(const db::Value& user_id, const db::Value& group_id,
                                      int64_t company, std::string_view project,
                                      std::string_view node);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_NODES_NODE_STATEMENTS_H_
