#ifndef ORV_DB_ROW_SINK_H_
#define ORV_DB_ROW_SINK_H_

#include <cstdint>
#include <span>
#include <vector>

#include "db/field.h"
#include "db/value.h"

namespace orv::db {

// Takes the results of a batch as the engine reads them, instead of as
// materialised rows (Driver::ExecuteStreaming): a consumer that builds its
// own rows from a result never holds the result whole.
//
// For each result, in the order the statements run, BeginResult() with its
// columns and -1 (or, for a statement that returns no rows, no columns and
// the rows it changed), then Row() once per row, then EndResult(). The
// columns BeginResult() gives are as the statement declares them; those
// EndResult() gives are a materialised result's, a computed column's type
// narrowed by the values it had.
//
// A row's values are valid only during the call; the sink may take them
// (move or swap them out), and whatever it leaves is overwritten by the next
// row. What a call throws ends the batch and reaches the caller of
// ExecuteStreaming.
class RowSink {
 public:
  virtual ~RowSink() = default;
  virtual void BeginResult(const std::vector<FieldInfo>& fields, int64_t records_affected) = 0;
  virtual void Row(std::span<Value> values) = 0;
  virtual void EndResult(const std::vector<FieldInfo>& /*fields*/) {}
};

}  // namespace orv::db

#endif  // ORV_DB_ROW_SINK_H_
