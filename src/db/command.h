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
// the leading '@').
class Command {
 public:
  Command() = default;

  std::shared_ptr<Connection> ActiveConnection;
  std::string CommandText;
  int CommandType = kAdCmdText;
  int32_t CommandTimeout = 30;  // seconds; 0 = no limit

  // Describes the procedure's parameters (once); throws DbError.
  std::vector<Parameter>& Parameters();
  void SetParameter(std::string_view name, const Value& value);  // throws on an unknown name

  // Runs the command; returns the first result (nullptr with kAdExecuteNoRecords
  // or when nothing comes back).
  std::shared_ptr<Recordset> Execute(int64_t* records_affected = nullptr, int options = 0);

 private:
  std::vector<Parameter> parameters_;
  bool described_ = false;
};

}  // namespace orv::db

#endif  // ORV_DB_COMMAND_H_
