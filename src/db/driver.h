#ifndef ORV_DB_DRIVER_H_
#define ORV_DB_DRIVER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection_string.h"
#include "db/field.h"
#include "db/row_sink.h"
#include "db/value.h"

namespace orv::db {

// One materialised result of a statement: its columns and all its rows.
// A statement that returns no rows gives a result with no fields.
struct ResultSet {
  std::vector<FieldInfo> fields;
  std::vector<std::vector<Value>> rows;
  int64_t records_affected = -1;  // -1 when the statement returns rows
};

// Parameter directions (ADO's ParameterDirectionEnum).
enum class ParameterDirection : int { kInput = 1, kOutput = 2, kInputOutput = 3, kReturnValue = 4 };

// A stored procedure's parameter as the server describes it.
struct ParameterInfo {
  std::string name;  // with its leading '@'
  DataType type = DataType::kVariant;
  int32_t size = 0;
  ParameterDirection direction = ParameterDirection::kInput;
};

// The seam between the ADO-shaped layer and a database engine. A driver
// speaks the host's dialect: it receives statement text exactly as the
// module builds it. One driver object per Connection; not thread-safe.
class Driver {
 public:
  virtual ~Driver() = default;

  // Runs a batch (one or more statements) and returns one result per
  // statement, in order; a statement that returns no rows gives a result
  // with no fields and its records_affected. Throws DbError.
  virtual std::vector<ResultSet> Execute(std::string_view sql, int32_t timeout_seconds) = 0;

  // Runs a batch whose values stand apart from its text: each ? marker (not
  // inside a string literal, a quoted name or a comment) reads the value of
  // its position in `values` (the first marker values[0], ...; Null and
  // Empty are NULL). The text is the same for any values, so the engine
  // translates and prepares it once. Throws DbError, also when the markers
  // and the values are not as many.
  virtual std::vector<ResultSet> Execute(std::string_view sql, const std::vector<Value>& values,
                                         int32_t timeout_seconds) = 0;

  // Runs a batch as Execute does, handing each result to `sink` as its rows
  // are read (see RowSink) instead of returning them. A batch that gives no
  // result at all gives one without columns, as Execute does. This one
  // reads Execute's results; a driver that can hand rows over as it reads
  // them does so.
  virtual void ExecuteStreaming(std::string_view sql, int32_t timeout_seconds, RowSink& sink);

  // Describes a stored procedure's parameters (empty when it has none).
  // Throws DbError when no such procedure exists.
  virtual std::vector<ParameterInfo> DescribeProcedure(std::string_view name) = 0;

  // Runs a stored procedure with its parameters bound by name.
  virtual std::vector<ResultSet> ExecuteProcedure(std::string_view name,
                                                  const std::vector<ParameterInfo>& params,
                                                  const std::vector<Value>& values,
                                                  int32_t timeout_seconds) = 0;

  virtual void BeginTransaction() = 0;
  virtual void CommitTransaction() = 0;
  virtual void RollbackTransaction() = 0;
  virtual bool InTransaction() const = 0;
  // Marks inside the open transaction: rolling back to one undoes what came
  // after it and leaves the transaction open. `name` is a plain identifier.
  virtual void Savepoint(const std::string& name) = 0;
  virtual void ReleaseSavepoint(const std::string& name) = 0;
  virtual void RollbackToSavepoint(const std::string& name) = 0;

  // True when the connection may not write (opened read-only, or on a file
  // it cannot write).
  virtual bool IsReadOnly() const { return false; }

  // Engine name for messages ("SQLite", "ODBC").
  virtual std::string Name() const = 0;
};

// Opens a driver for a connection string (see connection_string.h for the
// forms): "Driver=SQLite", or no Driver/DSN/Server key but a Database= or
// Data Source= (a file or ":memory:"), opens the embedded engine; any other
// Driver=, a DSN= or a Server= opens the ODBC driver. Throws DbError naming
// the problem; never echoes a password.
std::unique_ptr<Driver> OpenDriver(std::string_view connection_string);
std::unique_ptr<Driver> OpenDriver(const ConnectionString& connection_string);

// Which driver OpenDriver() picks for a string, without opening anything.
enum class DriverKind { kSqlite, kOdbc };
DriverKind SelectDriver(const ConnectionString& connection_string);

}  // namespace orv::db

#endif  // ORV_DB_DRIVER_H_
