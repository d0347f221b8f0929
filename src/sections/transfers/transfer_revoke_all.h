#ifndef ORV_SECTIONS_TRANSFERS_TRANSFER_REVOKE_ALL_H_
#define ORV_SECTIONS_TRANSFERS_TRANSFER_REVOKE_ALL_H_

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "store/principal.h"

namespace orv::db {
class Connection;
class Recordset;
}  // namespace orv::db

namespace orv::journal {
class GestureCapture;
}

namespace orv::sections {

// "Disabilita" of the transfer matrix for one principal: a revoked row for
// every pair of the company's warehouses the principal has no row for, in
// one INSERT ... SELECT. The gesture knows what it may have added (every
// pair of the warehouses, revoked), so it tells the journal's capture,
// which then need not read the principal's pairs back; and the rows that
// are not revocations are the same before and after it (a row added is a
// revocation of a warehouse's pair), so the matrix takes them as read
// before the insert, among the principal's rows there were.
class TransferRevokeAll {
 public:
  TransferRevokeAll(store::Principal principal, int64_t company);

  // Reads the company's warehouses (in the order of their code) and the
  // principal's rows that are not revocations, then inserts, in the
  // caller's transaction. Throws DbError.
  void Write(db::Connection& connection);
  // After Write(): every pair (the warehouses' codes and the journal's key
  // text before them) to the capture.
  void TellCapture(journal::GestureCapture& capture) const;
  // After Write(): the principal's rows that are not revocations
  // (TransferStatements::SelectRevocationsNotRevoked), moved out.
  std::shared_ptr<db::Recordset> TakeNotRevoked() { return std::move(not_revoked_); }

  int64_t inserted() const { return inserted_; }

 private:
  store::Principal principal_;
  int64_t company_;
  std::vector<std::string> warehouses_;
  std::shared_ptr<db::Recordset> not_revoked_;
  int64_t inserted_ = 0;
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_TRANSFERS_TRANSFER_REVOKE_ALL_H_
