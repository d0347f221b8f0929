#ifndef ORV_HOSTDB_SCALED_INSTALLATION_H_
#define ORV_HOSTDB_SCALED_INSTALLATION_H_

#include <cstdint>
#include <functional>
#include <string_view>

#include "db/connection.h"

namespace orv::hostdb {

// Progress of long work: the step being done and the overall percentage
// (0..100, never decreasing).
using Progress = std::function<void(std::string_view step, int percent)>;

// Size and seed of a scaled installation. Every count is the scale-1 count
// times `scale`, at least the small minimum that keeps the data coherent.
struct ScaleOptions {
  double scale = 1.0;
  uint64_t seed = 1;
};

// How many rows a scaled installation gets (scale 1 in brackets).
struct ScaleCounts {
  int64_t principals;         // users + groups [1,000]
  int64_t groups;             // of which groups [200]; group 1 is 'CORVSA'
  int64_t projects;           // company 1 [10,000]
  int64_t nodes;              // company 1 [50,000]
  int64_t simulations;        // MRP simulation codes, company 1 [10,000]
  int64_t block_params;       // company 1 [10,000]
  int64_t matrix_warehouses;  // company 1, the transfer matrix [500]
  int64_t other_warehouses;   // company 2, so that the catalogue holds [10,000]
  int64_t families;           // company 1 [2,000]
  int64_t source_rows;        // rows per classification source, company 1 [5,000]
  int64_t clifor;             // customers and suppliers, company 1 [10,000]
  int64_t parameter_rows;     // FW31_RVKPARAMETRI [1,000,000]

  static ScaleCounts For(double scale);
};

// The scaled installation for benchmarks: the demo's three companies with
// company 1 grown to the counts above, filled by a deterministic generator
// (the same seed and scale always give the same rows).
class ScaledInstallation {
 public:
  // Fills a database that holds the freshly installed schema, in one
  // transaction, then derives the revoked customer/supplier lists. Progress
  // may be empty.
  static void Populate(db::Connection& connection, const ScaleOptions& options,
                       const Progress& progress = {});
};

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_SCALED_INSTALLATION_H_
