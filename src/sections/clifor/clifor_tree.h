#ifndef ORV_SECTIONS_CLIFOR_CLIFOR_TREE_H_
#define ORV_SECTIONS_CLIFOR_CLIFOR_TREE_H_

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "db/value.h"

namespace orv::db {
class Recordset;
}

namespace orv::sections {

// The rows of the customer/supplier tree, made from the ten results of the
// classification batch (areas, categories, the three groupings, the sites):
// a heading per kind of branch, then one branch row per result row, its key
// built from the codes as stored and its parent's key the same way.
//
// Each row is appended whole (Recordset::AppendRow), its strings built in
// place; the tree's cursor ends on its last row. The rows of the tree it
// replaces (Recordset::ReleaseRows) lend their storage: the same tree built
// again allocates and frees next to nothing.
class CliForTree {
 public:
  using Results = std::array<std::shared_ptr<db::Recordset>, 10>;

  // Appends the rows to `tree` (the section's tree rowset, open and empty),
  // reusing the storage of `spare` rows. Throws DbError when a result lacks
  // a column the tree reads.
  static void Fill(db::Recordset& tree, Results& results, int64_t company,
                   std::vector<std::vector<db::Value>> spare = {});
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_CLIFOR_CLIFOR_TREE_H_
