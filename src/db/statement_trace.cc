#include "db/statement_trace.h"

#include <cstdio>

#include "db/sql_literal.h"

namespace orv::db {
namespace {

std::string Milliseconds(std::chrono::nanoseconds elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f ms", static_cast<double>(elapsed.count()) / 1e6);
  return text;
}

std::string Count(int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "1 row affected", "12 rows", "failed: error N text".
std::string Outcome(const StatementEvent& event) {
  if (event.error != nullptr) {
    std::string text = "failed: error " + std::to_string(event.error->number()) + " ";
    for (char c : event.error->description()) text += (c == '\n' || c == '\r') ? ' ' : c;
    return text;
  }
  if (event.records_affected < 0) return Count(event.rows, "row", "rows");
  return Count(event.records_affected, "row affected", "rows affected");
}

}  // namespace

StatementTrace::StatementTrace(std::ostream* full, std::ostream* distinct)
    : full_(full), distinct_out_(distinct) {}

std::string StatementTrace::ProcedureCall(std::string_view name,
                                          const std::vector<ParameterInfo>& parameters,
                                          const std::vector<Value>& values) {
  std::string call = "EXEC " + std::string(name);
  bool first = true;
  for (size_t i = 0; i < parameters.size(); ++i) {
    const ParameterInfo& p = parameters[i];
    if (p.direction != ParameterDirection::kInput &&
        p.direction != ParameterDirection::kInputOutput) {
      continue;
    }
    call += first ? " " : ", ";
    first = false;
    call += p.name + " = " + SqlLiteral(i < values.size() ? values[i] : Value::Null());
  }
  return call;
}

void StatementTrace::OnStatement(const StatementEvent& event) {
  if (!enabled_) return;
  std::string statement;
  switch (event.kind) {
    case StatementEvent::Kind::kOpen:
      break;
    case StatementEvent::Kind::kText:
      statement = event.values != nullptr ? SqlWithValues(event.text, *event.values)
                                          : std::string(event.text);
      break;
    case StatementEvent::Kind::kProcedure:
      statement = event.parameters != nullptr && event.values != nullptr
                      ? ProcedureCall(event.text, *event.parameters, *event.values)
                      : "EXEC " + std::string(event.text);
      break;
    case StatementEvent::Kind::kBeginTrans:
      statement = "BEGIN TRANSACTION";
      break;
    case StatementEvent::Kind::kCommitTrans:
      statement = "COMMIT TRANSACTION";
      break;
    case StatementEvent::Kind::kRollbackTrans:
      statement = "ROLLBACK TRANSACTION";
      break;
  }
  ++count_;
  const bool ends_in_line_feed = !statement.empty() && statement.back() == '\n';
  if (full_ != nullptr) {
    std::ostream& out = *full_;
    out << "-- " << count_;
    if (!event.origin.empty()) out << ' ' << event.origin;
    if (event.kind == StatementEvent::Kind::kOpen) {
      out << " open " << event.text;
      if (event.error != nullptr) out << ", " << Outcome(event);
      out << '\n';
    } else {
      out << ' ' << Milliseconds(event.elapsed) << ", " << Outcome(event) << '\n'
          << statement << (ends_in_line_feed ? "" : "\n") << "GO\n";
    }
    out.flush();
  }
  const bool is_statement =
      event.kind == StatementEvent::Kind::kText || event.kind == StatementEvent::Kind::kProcedure;
  if (is_statement && seen_.insert(statement).second) {
    distinct_.push_back(statement);
    if (distinct_out_ != nullptr) {
      *distinct_out_ << statement << (ends_in_line_feed ? "" : "\n") << "GO\n";
      distinct_out_->flush();
    }
  }
}

}  // namespace orv::db
