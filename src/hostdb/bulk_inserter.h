#ifndef ORV_HOSTDB_BULK_INSERTER_H_
#define ORV_HOSTDB_BULK_INSERTER_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "db/connection.h"
#include "hostdb/sql_value.h"

namespace orv::hostdb {

// Collects rows for one table and writes them as multi-row INSERT ... VALUES
// statements of up to rows_per_statement rows. Values arrive as SqlValue, so
// quoting stays in one place. The caller holds
// the transaction; rows are written by Add() when a statement fills up and by
// Flush(), which must be called before the transaction commits (the
// destructor does not write, it may not throw).
class BulkInserter {
 public:
  BulkInserter(db::Connection& connection, std::string table, std::vector<std::string> columns,
               size_t rows_per_statement = 400);

  // One row: as many values as columns.
  void Add(std::initializer_list<SqlValue> values);
  void Add(const std::vector<SqlValue>& values);
  void Flush();

  int64_t rows_written() const { return rows_written_; }

 private:
  void Add(const SqlValue* values, size_t count);

  db::Connection& connection_;
  std::string head_;  // "INSERT INTO t (a, b) VALUES "
  size_t column_count_;
  size_t rows_per_statement_;
  std::string pending_;
  size_t pending_rows_ = 0;
  int64_t rows_written_ = 0;
};

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_BULK_INSERTER_H_
