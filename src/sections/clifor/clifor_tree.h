#ifndef ORV_SECTIONS_CLIFOR_CLIFOR_TREE_H_
#define ORV_SECTIONS_CLIFOR_CLIFOR_TREE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "db/filter_expression.h"
#include "db/row_sink.h"
#include "db/value.h"

namespace orv::db {
class Recordset;
}

namespace orv::sections {

// The rows of the customer/supplier tree, made from the ten results of the
// classification batch (areas, categories, the three groupings, the sites)
// as the connection reads them (Connection::ExecuteStreaming): a heading per
// kind of branch, then one branch row per result row, its key built from the
// codes as stored and its parent's key the same way. No result is ever held
// whole: each of its rows becomes a tree row while it is in the processor's
// cache.
//
// Each row is appended whole (Recordset::AppendRow), its strings built in
// place. The rows of the tree it replaces (Recordset::ReleaseRows) lend
// their storage: the same tree built again allocates and frees next to
// nothing.
class CliForTree final : public db::RowSink {
 public:
  // Appends to `tree` (the section's tree rowset, open and empty), reusing
  // the storage of `spare` rows.
  CliForTree(db::Recordset& tree, int64_t company, std::vector<std::vector<db::Value>> spare = {});
  ~CliForTree() override;

  // Throws DbError when a result lacks a column the tree reads.
  void BeginResult(const std::vector<db::FieldInfo>& fields, int64_t records_affected) override;
  void Row(std::span<db::Value> values) override;

  // Once the batch is over: the tree's cursor on its last row. Throws
  // DbError when the batch gave fewer than ten results.
  void Finish();

 private:
  class Writer;
  class Columns;

  db::Recordset& tree_;
  std::string company_;
  std::unique_ptr<Writer> out_;
  std::unique_ptr<Columns> columns_;            // of the result being read
  std::optional<db::FilterExpression> filter_;  // the rows of it that make branches
  int result_ = -1;                             // 0-based; -1 before the first
  std::string parent_;                          // scratch for a parent's key
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_CLIFOR_CLIFOR_TREE_H_
