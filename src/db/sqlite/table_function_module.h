#ifndef ORV_DB_SQLITE_TABLE_FUNCTION_MODULE_H_
#define ORV_DB_SQLITE_TABLE_FUNCTION_MODULE_H_

#include <functional>
#include <string>

#include "db/sqlite/translation.h"

struct sqlite3;

namespace orv::db::sqlite {

// A host inline table function ("RETURNS TABLE AS RETURN (SELECT ...)") as
// an eponymous SQLite virtual table named after the function: its columns
// are the SELECT's, followed by one hidden column per argument, so that
// "JOIN FN(x.a, 3) AS P" passes the arguments in, taken from the tables to
// the left of it. Each scan runs the SELECT with the arguments bound to its
// "@name" parameters.
class TableFunctionModule {
 public:
  // Turns the function's host-dialect body into one SQLite SELECT whose
  // parameters are the function's "@name"s. Throws DbError.
  using BodyCompiler = std::function<std::string(const Step::Routine&)>;

  // Registers `function` on `db` under its name. The compiler is called on
  // first use of the function on this connection, when the tables it reads
  // exist. Returns false when SQLite refused the module.
  static bool Register(sqlite3* db, const Step::Routine& function, BodyCompiler compiler);
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_TABLE_FUNCTION_MODULE_H_
