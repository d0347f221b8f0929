#ifndef ORV_DB_STATEMENT_OBSERVER_H_
#define ORV_DB_STATEMENT_OBSERVER_H_

#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

#include "db/db_error.h"
#include "db/driver.h"
#include "db/value.h"

namespace orv::db {

// What a connection handed to its driver, reported once the driver returned
// (or failed). Every view and pointer lives only during the report.
struct StatementEvent {
  enum class Kind {
    kOpen,       // text: the connection string with its password blanked out
    kText,       // text: the batch exactly as the driver received it; with
                 // values when they were bound to its ? markers
    kProcedure,  // text: the procedure's name; parameters and values beside it
    kBeginTrans,
    kCommitTrans,
    kRollbackTrans,
  };
  Kind kind = Kind::kText;
  std::string_view origin;  // the name the observer was attached with
  std::string_view text;
  const std::vector<ParameterInfo>* parameters = nullptr;  // kProcedure only
  const std::vector<Value>* values = nullptr;              // kProcedure, bound kText
  int64_t records_affected = -1;  // of the first result; -1 when it has rows
  int64_t rows = 0;               // rows of the first result
  std::chrono::nanoseconds elapsed{0};
  const DbError* error = nullptr;  // the failure (password blanked out), or null
};

// Watches every call a connection makes to its driver: statements, stored
// procedures, transactions, the opening. Attach with
// Connection::SetStatementObserver(). OnStatement runs on the caller's
// thread, after the driver returned; what it throws is dropped (watching
// never changes what the connection does).
class StatementObserver {
 public:
  virtual ~StatementObserver() = default;
  virtual void OnStatement(const StatementEvent& event) = 0;
};

}  // namespace orv::db

#endif  // ORV_DB_STATEMENT_OBSERVER_H_
