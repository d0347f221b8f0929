#include "bulk/parameter_revoke_all.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "db/connection.h"
#include "db/recordset.h"
#include "journal/gesture_capture.h"
#include "journal/journal_table.h"
#include "journal/row_text.h"
#include "sections/revoke_all/bulk_statements.h"

namespace orv::bulk {

using sections::BulkStatements;

namespace {

// A company text the table stores as the same digits (no sign, no leading
// zero, no blanks).
bool PlainNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return false;
  if (text.size() > 1 && text[0] == '0') return false;
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Text compared as the host's collation does: letters without case,
// trailing blanks ignored; texts alike so are ordered by their bytes.
int CompareText(std::string_view a, std::string_view b) {
  auto trimmed = [](std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
  };
  const std::string_view x = trimmed(a);
  const std::string_view y = trimmed(b);
  const size_t n = std::min(x.size(), y.size());
  for (size_t i = 0; i < n; ++i) {
    const int cx = std::toupper(static_cast<unsigned char>(x[i]));
    const int cy = std::toupper(static_cast<unsigned char>(y[i]));
    if (cx != cy) return cx < cy ? -1 : 1;
  }
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  return a.compare(b);
}

}  // namespace

ParameterRevokeAll::ParameterRevokeAll(store::Principal principal, int32_t kind)
    : principal_(std::move(principal)), kind_(kind) {}

void ParameterRevokeAll::Add(const std::string& code, const std::string& company) {
  ++rows_;
  auto it = std::find_if(companies_.begin(), companies_.end(),
                         [&](const Company& c) { return c.text == company; });
  if (it == companies_.end()) {
    companies_.push_back({company, {}, {}});
    it = companies_.end() - 1;
  }
  if (it->seen.insert(code).second) it->codes.push_back(code);
}

void ParameterRevokeAll::Write(db::Connection& connection) {
  updated_ = 0;
  inserted_ = 0;
  for (const Company& company : companies_) {
    // A principal without rows in the company (a first revoke-all) has
    // nothing to update and every code to insert.
    std::shared_ptr<db::Recordset> any =
        connection.Execute(BulkStatements::AnyParameterRow(principal_, kind_, company.text));
    const bool has_rows = any && any->IsOpen() && !any->IsEof();
    for (size_t first = 0; first < company.codes.size(); first += BulkStatements::kMaxSetCodes) {
      const size_t last = std::min(company.codes.size(), first + BulkStatements::kMaxSetCodes);
      std::vector<db::Value> codes;
      codes.reserve(last - first);
      for (size_t i = first; i < last; ++i) codes.emplace_back(company.codes[i]);
      // The texts are the same for every full set of codes: translated and
      // prepared once, the codes bound.
      int64_t count = 0;
      if (has_rows) {
        connection.Execute(
            BulkStatements::RevokeParameterRows(principal_, kind_, company.text, codes.size()),
            codes, &count, db::kAdExecuteNoRecords);
        updated_ += std::max<int64_t>(count, 0);
        count = 0;
      }
      connection.Execute(has_rows ? BulkStatements::InsertMissingParameterRows(
                                        principal_, kind_, company.text, codes.size())
                                  : BulkStatements::InsertParameterRows(principal_, kind_,
                                                                        company.text, codes.size()),
                         codes, &count, db::kAdExecuteNoRecords);
      inserted_ += std::max<int64_t>(count, 0);
    }
  }
}

void ParameterRevokeAll::TellCapture(journal::GestureCapture& capture) const {
  size_t count = 0;
  for (const Company& company : companies_) {
    if (!PlainNumber(company.text)) return;
    count += company.codes.size();
  }
  const std::string user = store::IdText(principal_.user_id(), "");
  const std::string group = store::IdText(principal_.group_id(), "");
  const std::string kind = std::to_string(kind_);
  auto id = [](const std::string& text) -> std::optional<std::string_view> {
    if (text.empty()) return std::nullopt;
    return std::string_view(text);
  };
  std::string revoked;
  for (size_t i = 0; i < 4; ++i) journal::RowText::Append(revoked, std::string_view("0"), i == 0);
  // In the order of the table's key as the journal reads it: the code
  // (compared as the host compares text), then the company.
  std::vector<std::pair<const std::string*, const Company*>> order;
  order.reserve(count);
  for (const Company& company : companies_) {
    for (const std::string& code : company.codes) order.emplace_back(&code, &company);
  }
  auto before = [](const auto& a, const auto& b) {
    const int c = CompareText(*a.first, *b.first);
    if (c != 0) return c < 0;
    return std::stoll(a.second->text) < std::stoll(b.second->text);
  };
  // A catalogue shows its codes in that order already, most of the time.
  if (!std::is_sorted(order.begin(), order.end(), before)) {
    std::stable_sort(order.begin(), order.end(), before);
  }
  std::vector<std::pair<std::string, std::string>> rows;
  rows.reserve(count);
  for (const auto& [code, company] : order) {
    std::string key;
    journal::RowText::Append(key, id(user), true);
    journal::RowText::Append(key, id(group), false);
    journal::RowText::Append(key, std::string_view(kind), false);
    journal::RowText::Append(key, std::string_view(*code), false);
    journal::RowText::Append(key, std::string_view(company->text), false);
    rows.emplace_back(std::move(key), revoked);
  }
  capture.Wrote(journal::JournalTable::kParameters, std::move(rows), updated_, inserted_);
}

}  // namespace orv::bulk
