#include "db/command.h"

#include "db/ascii.h"

namespace orv::db {
namespace {

std::string_view WithoutAt(std::string_view name) {
  while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
  while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
  if (!name.empty() && name.front() == '@') name.remove_prefix(1);
  return name;
}

}  // namespace

Connection& Command::RequireConnection() const {
  if (!ActiveConnection || !ActiveConnection->IsOpen()) {
    throw DbError(kErrClosed, "The command has no open connection");
  }
  return *ActiveConnection;
}

std::vector<Parameter>& Command::Parameters() {
  if (described_ && described_for_ == CommandText) return parameters_;
  if (CommandType != kAdCmdStoredProc) return parameters_;  // text: nothing to describe
  Connection& connection = RequireConnection();
  Driver& driver = connection.driver();
  const std::string name(Trim(CommandText));
  auto infos = connection.Guard([&] { return driver.DescribeProcedure(name); });
  parameters_.clear();
  for (auto& info : infos) {
    // Inputs start as NULL, as ADO sends a parameter nobody set.
    parameters_.push_back(Parameter{std::move(info), Value::Null()});
  }
  described_ = true;
  described_for_ = CommandText;
  return parameters_;
}

void Command::SetParameter(std::string_view name, const Value& value) {
  auto& params = Parameters();
  const std::string_view wanted = WithoutAt(name);
  for (auto& p : params) {
    if (EqualsIgnoreCase(WithoutAt(p.info.name), wanted)) {
      p.value = value;
      return;
    }
  }
  throw DbError(kErrItemNotFound,
                "Procedure " + CommandText + " has no parameter named " + std::string(name));
}

const Value& Command::GetParameter(std::string_view name) {
  auto& params = Parameters();
  const std::string_view wanted = WithoutAt(name);
  for (auto& p : params) {
    if (EqualsIgnoreCase(WithoutAt(p.info.name), wanted)) return p.value;
  }
  throw DbError(kErrItemNotFound,
                "Procedure " + CommandText + " has no parameter named " + std::string(name));
}

std::shared_ptr<Recordset> Command::Execute(int64_t* records_affected, int options) {
  Connection& connection = RequireConnection();
  Driver& driver = connection.driver();
  const int32_t timeout = CommandTimeout;
  std::vector<ResultSet> results;
  if (CommandType == kAdCmdStoredProc) {
    auto& params = Parameters();
    const std::string name(Trim(CommandText));
    std::vector<ParameterInfo> infos;
    std::vector<Value> values;
    for (const auto& p : params) {
      infos.push_back(p.info);
      values.push_back(p.value);
    }
    StatementEvent event;
    event.kind = StatementEvent::Kind::kProcedure;
    event.text = name;
    event.parameters = &infos;
    event.values = &values;
    results = connection.Watch(
        event, [&] { return driver.ExecuteProcedure(name, infos, values, timeout); });
  } else if (CommandType == kAdCmdText && !parameters_.empty()) {
    std::vector<Value> values;
    values.reserve(parameters_.size());
    for (const auto& p : parameters_) values.push_back(p.value);
    StatementEvent event;
    event.text = CommandText;
    event.values = &values;
    results = connection.Watch(event, [&] { return driver.Execute(CommandText, values, timeout); });
  } else if (CommandType == kAdCmdText) {
    StatementEvent event;
    event.text = CommandText;
    results = connection.Watch(event, [&] { return driver.Execute(CommandText, timeout); });
  } else {
    throw DbError(kErrBadArgument,
                  "Command type " + std::to_string(CommandType) + " is not supported");
  }
  return connection.Deliver(std::move(results), CommandText, records_affected, options);
}

}  // namespace orv::db
