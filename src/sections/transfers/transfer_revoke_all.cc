#include "sections/transfers/transfer_revoke_all.h"

#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "db/connection.h"
#include "db/recordset.h"
#include "journal/gesture_capture.h"
#include "journal/journal_table.h"
#include "journal/pair_rows.h"
#include "journal/row_text.h"
#include "sections/transfers/transfer_statements.h"

namespace orv::sections {

TransferRevokeAll::TransferRevokeAll(store::Principal principal, int64_t company)
    : principal_(std::move(principal)), company_(company) {}

void TransferRevokeAll::Write(db::Connection& connection) {
  warehouses_.clear();
  not_revoked_.reset();
  inserted_ = 0;
  std::shared_ptr<db::Recordset> rs =
      connection.Execute(TransferStatements::SelectWarehouseColumns(company_));
  if (rs && rs->IsOpen()) {
    const int code = rs->FieldIndex("MG58_CODDEP");
    for (; !rs->IsEof(); rs->MoveNext()) warehouses_.push_back(rs->Field(code).ToText());
  }
  rs.reset();
  not_revoked_ =
      connection.Execute(TransferStatements::SelectRevocationsNotRevoked(principal_, company_));
  connection.Execute(
      TransferStatements::InsertMissingPairs(principal_.user_id(), principal_.group_id(), company_),
      &inserted_, db::kAdExecuteNoRecords);
}

void TransferRevokeAll::TellCapture(journal::GestureCapture& capture) const {
  // The key as the journal reads it: user, group, company, origin,
  // destination; the value the flag the table gives a new row.
  std::string prefix;
  const std::string user = store::IdText(principal_.user_id(), "");
  const std::string group = store::IdText(principal_.group_id(), "");
  const std::string company = std::to_string(company_);
  auto id = [](const std::string& text) -> std::optional<std::string_view> {
    if (text.empty()) return std::nullopt;
    return std::string_view(text);
  };
  journal::RowText::Append(prefix, id(user), true);
  journal::RowText::Append(prefix, id(group), false);
  journal::RowText::Append(prefix, std::string_view(company), false);
  // The pairs as the codes: the journal writes their pages from them.
  capture.WroteMissingPairs(journal::JournalTable::kTransfers,
                            journal::PairRows(std::move(prefix), warehouses_, "0"), inserted_);
}

}  // namespace orv::sections
