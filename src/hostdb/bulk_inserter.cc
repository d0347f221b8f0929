#include "hostdb/bulk_inserter.h"

#include <stdexcept>

namespace orv::hostdb {

BulkInserter::BulkInserter(db::Connection& connection, std::string table,
                           std::vector<std::string> columns, size_t rows_per_statement)
    : connection_(connection),
      column_count_(columns.size()),
      rows_per_statement_(rows_per_statement == 0 ? 1 : rows_per_statement) {
  head_ = "INSERT INTO " + table + " (";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) head_ += ", ";
    head_ += columns[i];
  }
  head_ += ") VALUES ";
}

void BulkInserter::Add(std::initializer_list<SqlValue> values) {
  Add(values.begin(), values.size());
}

void BulkInserter::Add(const std::vector<SqlValue>& values) { Add(values.data(), values.size()); }

void BulkInserter::Add(const SqlValue* values, size_t count) {
  if (count != column_count_) {
    throw std::invalid_argument("BulkInserter: " + std::to_string(count) + " values for " +
                                std::to_string(column_count_) + " columns in " + head_);
  }
  pending_ += pending_rows_ == 0 ? head_ : std::string(",\n");
  pending_ += '(';
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) pending_ += ", ";
    pending_ += values[i].literal();
  }
  pending_ += ')';
  if (++pending_rows_ >= rows_per_statement_) Flush();
}

void BulkInserter::Flush() {
  if (pending_rows_ == 0) return;
  connection_.Execute(pending_, nullptr, db::kAdCmdText | db::kAdExecuteNoRecords);
  rows_written_ += static_cast<int64_t>(pending_rows_);
  pending_.clear();
  pending_rows_ = 0;
}

}  // namespace orv::hostdb
