#ifndef ORV_BULK_PARAMETER_REVOKE_ALL_H_
#define ORV_BULK_PARAMETER_REVOKE_ALL_H_

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "store/principal.h"

namespace orv::db {
class Connection;
}

namespace orv::journal {
class GestureCapture;
}

namespace orv::bulk {

// "Disabilita tutti" of a parameter section written as a set: every row shown
// revoked (all four rights 0) for the principal with a few statements, per
// company and per BulkStatements::kMaxSetCodes codes an UPDATE of the rows
// that exist and an INSERT ... SELECT of those missing, instead of a look-up
// and a write per row. The rows the table ends with are those of the row by
// row walk; the caller keeps the walk for when Write() fails, so that each
// failing row is told apart.
class ParameterRevokeAll {
 public:
  ParameterRevokeAll(store::Principal principal, int32_t kind);

  // One row shown: its item code (trimmed) and its company as statements
  // write it (decimal text, "NULL" when missing).
  void Add(const std::string& code, const std::string& company);
  size_t size() const { return rows_; }

  // Writes every row. Throws DbError, having written part of them: the
  // caller's transaction (or savepoint) is to be rolled back.
  void Write(db::Connection& connection);

  // After Write(): tells the journal's capture which rows now hold what
  // (their keys and "0|0|0|0"), so that it need not read the section again
  // when the counts of rows updated and inserted confirm them. Companies
  // that are not plain numbers (their text would differ from the stored
  // one) leave the capture to read.
  void TellCapture(journal::GestureCapture& capture) const;

  int64_t updated() const { return updated_; }
  int64_t inserted() const { return inserted_; }

 private:
  struct Company {
    std::string text;
    std::vector<std::string> codes;  // distinct, in the order shown
    std::unordered_set<std::string> seen;
  };

  store::Principal principal_;
  int32_t kind_;
  std::vector<Company> companies_;
  size_t rows_ = 0;
  int64_t updated_ = 0;
  int64_t inserted_ = 0;
};

}  // namespace orv::bulk

#endif  // ORV_BULK_PARAMETER_REVOKE_ALL_H_
