#ifndef ORV_DB_STATEMENT_TRACE_H_
#define ORV_DB_STATEMENT_TRACE_H_

#include <cstdint>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "db/statement_observer.h"

namespace orv::db {

// Writes what connections send to their drivers as a host-dialect script.
//
// The full trace (what a support engineer asks for) has one entry per call:
//
//   -- 7 module 0.214 ms, 1 row affected
//   UPDATE FW95_SETTINGS SET FW95_VALORE = '0' WHERE FW95_CODICE = 'AUT_RVKENABLED'
//   GO
//
// a comment line (number, origin, elapsed time, rows returned or affected,
// or "failed: error N description"), the statement exactly as the driver
// received it, and "GO". A stored procedure is written as the EXEC that
// calls it with its input parameters as literals; transactions as BEGIN /
// COMMIT / ROLLBACK TRANSACTION; an opening as a comment line with the
// connection string, its password blanked out. A statement whose values
// were bound to its ? markers is written with the values in their place
// (SqlWithValues), as a script would run it.
//
// The distinct list has each statement text (and EXEC) once, in the order
// first seen, each followed by "GO", without comments: the input of a
// grammar check.
//
// Either stream may be null. Not thread-safe: one trace per session.
class StatementTrace : public StatementObserver {
 public:
  StatementTrace(std::ostream* full, std::ostream* distinct);

  void OnStatement(const StatementEvent& event) override;

  // A paused trace writes nothing (and counts nothing).
  void set_enabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

  int64_t count() const { return count_; }  // entries of the full trace so far
  // The distinct statement texts so far, in the order first seen.
  const std::vector<std::string>& distinct() const { return distinct_; }

  // The EXEC statement calling `name` with the input parameters as
  // host-dialect literals: "EXEC NAME @A = 1, @B = 'x'".
  static std::string ProcedureCall(std::string_view name,
                                   const std::vector<ParameterInfo>& parameters,
                                   const std::vector<Value>& values);

 private:
  std::ostream* full_;
  std::ostream* distinct_out_;
  bool enabled_ = true;
  int64_t count_ = 0;
  std::set<std::string, std::less<>> seen_;
  std::vector<std::string> distinct_;
};

}  // namespace orv::db

#endif  // ORV_DB_STATEMENT_TRACE_H_
