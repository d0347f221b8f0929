#include "sections/transfers/transfer_revoke_all.h"

#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "db/connection.h"
#include "db/recordset.h"
#include "journal/gesture_capture.h"
#include "journal/journal_table.h"
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
  // Each code written once as a key field ("|" and the code escaped); a
  // pair's key is then one allocation of its size.
  std::vector<std::string> fields;
  fields.reserve(warehouses_.size());
  for (const std::string& code : warehouses_) {
    journal::RowText::Append(fields.emplace_back(), std::string_view(code), false);
  }
  std::vector<std::pair<std::string, std::string>> rows;
  rows.reserve(warehouses_.size() * warehouses_.size());
  for (const std::string& origin : fields) {
    for (const std::string& destination : fields) {
      std::string key;
      key.reserve(prefix.size() + origin.size() + destination.size());
      key += prefix;
      key += origin;
      key += destination;
      rows.emplace_back(std::move(key), "0");
    }
  }
  capture.WroteMissing(journal::JournalTable::kTransfers, std::move(rows), inserted_);
}

}  // namespace orv::sections
