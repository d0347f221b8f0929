#ifndef ORV_DB_COMMAND_H_
#define ORV_DB_COMMAND_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"
#include "db/driver.h"
#include "db/value.h"

namespace orv::db {

// One parameter of a command: as the server described it, with its value.
struct Parameter {
  ParameterInfo info;
  Value value;
};

// ADO's Command: command type 1 (text) or 4 (stored procedure). For a stored
// procedure, Parameters() asks the server to describe them on first use and
// parameters are then set by name (without regard to case, with or without
// the leading '@'). For text, the parameters appended to Parameters() are
// the values of its ? markers, in order (see Connection::Execute with
// values); without any the text runs as it is.
class Command {
 public:
  Command() = default;

  std::shared_ptr<Connection> ActiveConnection;
  std::string CommandText;
  int CommandType = kAdCmdText;
  int32_t CommandTimeout = 30;  // seconds; 0 = no limit

  // Describes the procedure's parameters (once per CommandText); throws
  // DbError. Empty for command type 1.
  std::vector<Parameter>& Parameters();
  void SetParameter(std::string_view name, const Value& value);  // throws on an unknown name
  const Value& GetParameter(std::string_view name);              // throws on an unknown name

  // Runs the command; returns the first result, the rest through the
  // connection's NextRecordset(). As Connection::Execute: a result without
  // rows is a closed recordset, kAdExecuteNoRecords gives nullptr. Failures
  // land in the connection's Errors() too.
  std::shared_ptr<Recordset> Execute(int64_t* records_affected = nullptr, int options = 0);

 private:
  Connection& RequireConnection() const;

  std::vector<Parameter> parameters_;
  bool described_ = false;
  std::string described_for_;
};

}  // namespace orv::db

#endif  // ORV_DB_COMMAND_H_
