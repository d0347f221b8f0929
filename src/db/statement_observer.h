#ifndef ORV_DB_STATEMENT_OBSERVER_H_
#define ORV_DB_STATEMENT_OBSERVER_H_

#include <string>
#include <string_view>
#include <vector>

#include "db/driver.h"
#include "db/value.h"

namespace orv::db {

// One call on its way to a driver: statement text exactly as the driver
// receives it (the host dialect), or a stored procedure with its parameters.
struct SentStatement {
  std::string_view text;  // the statement, or the procedure's name
  bool procedure = false;
  const std::vector<ParameterInfo>* parameters = nullptr;  // procedure calls only
  const std::vector<Value>* values = nullptr;              // one per parameter

  // The call as one host-dialect statement: the text itself, or
  // "EXEC name @p1 = 1, @p2 = 'x'" for a procedure (output parameters are
  // left out, values as SqlLiteral writes them).
  std::string HostText() const;
};

// Sees every statement any Connection or Command of the process hands to a
// driver, just before it goes. The capture point for statement traces and
// for the checks that replay sessions and collect what was sent. Observers
// are called on the sending thread, in registration order; they must not
// throw and must not run statements themselves.
class StatementObserver {
 public:
  virtual ~StatementObserver() = default;
  virtual void OnStatement(const SentStatement& statement) = 0;

  // Process-wide registration. An observer must be removed before it is
  // destroyed; registering one twice has no effect.
  static void Add(StatementObserver* observer);
  static void Remove(StatementObserver* observer);

  // Tells every registered observer (the data layer's call; cheap when no
  // observer is registered).
  static void Notify(const SentStatement& statement);
};

}  // namespace orv::db

#endif  // ORV_DB_STATEMENT_OBSERVER_H_
