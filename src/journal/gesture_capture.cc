#include "journal/gesture_capture.h"

#include <algorithm>

#include "db/connection.h"
#include "db/db_error.h"
#include "journal/journal.h"
#include "journal/journal_summary.h"
#include "journal/journal_table.h"
#include "journal/row_snapshot.h"

namespace orv::journal {

GestureCapture::GestureCapture(Journal* journal, db::Connection& connection,
                               std::vector<RowScope> scopes)
    : journal_(journal), connection_(connection), scopes_(std::move(scopes)) {
  if (journal_ == nullptr) return;
  try {
    for (const RowScope& scope : scopes_) {
      const JournalTable* table = JournalTable::Find(scope.table);
      if (table == nullptr) continue;
      RowSnapshot::Read(connection_, *table, scope, before_[std::string(table->name)]);
    }
  } catch (const db::DbError&) {
    // The gesture's own statements on these rows meet the same failure and
    // report it as their routine does; a gesture that gets through anyway
    // is refused at Commit().
    failure_ = std::current_exception();
    connection_.ClearErrors();
  }
}

GestureCapture::~GestureCapture() = default;

int64_t GestureCapture::Commit(db::Transaction& transaction, const Gesture& gesture) {
  if (journal_ == nullptr) {
    transaction.Commit();
    return 0;
  }
  if (failure_) std::rethrow_exception(failure_);
  std::unordered_map<std::string, RowSnapshot::Rows> after;
  for (const RowScope& scope : scopes_) {
    const JournalTable* table = JournalTable::Find(scope.table);
    if (table == nullptr) continue;
    RowSnapshot::Read(connection_, *table, scope, after[std::string(table->name)]);
  }
  std::vector<RowImage> images;
  for (const JournalTable& table : JournalTable::All()) {
    const std::string name(table.name);
    auto b = before_.find(name);
    auto a = after.find(name);
    if (b == before_.end() && a == after.end()) continue;
    static const RowSnapshot::Rows kNone;
    const RowSnapshot::Rows& before_rows = b == before_.end() ? kNone : b->second;
    const RowSnapshot::Rows& after_rows = a == after.end() ? kNone : a->second;
    // Changed rows in key order (the summary names the first ones).
    std::vector<std::pair<const std::string*, const std::string*>> changed;  // key, before
    for (const auto& [key, values] : before_rows) {
      auto found = after_rows.find(key);
      if (found == after_rows.end() || found->second != values) changed.emplace_back(&key, &values);
    }
    for (const auto& [key, values] : after_rows) {
      if (!before_rows.contains(key)) changed.emplace_back(&key, nullptr);
    }
    std::sort(changed.begin(), changed.end(),
              [](const auto& x, const auto& y) { return *x.first < *y.first; });
    images.reserve(images.size() + changed.size());
    for (const auto& [key, before] : changed) {
      auto found = after_rows.find(*key);
      images.push_back(
          {name, *key, before ? std::optional<std::string>(*before) : std::nullopt,
           found == after_rows.end() ? std::nullopt : std::optional<std::string>(found->second)});
    }
  }
  if (images.empty()) {
    transaction.Commit();
    return 0;
  }
  JournalEntry entry;
  entry.section = gesture.section;
  entry.kind = gesture.kind;
  if (gesture.all_principals) {
    entry.principal_kind = JournalEntry::kAll;
  } else if (gesture.principal.IsUser()) {
    entry.principal_kind = JournalEntry::kUser;
    entry.principal_id = gesture.principal.user_id().ToInt64();
  } else if (gesture.principal.IsGroup()) {
    entry.principal_kind = JournalEntry::kGroup;
    entry.principal_id = gesture.principal.group_id().ToInt64();
  }
  entry.summary = JournalSummary::Make(gesture, images);
  const int64_t id = journal_->Write(entry, images);
  try {
    transaction.Commit();
  } catch (...) {
    journal_->Discard(id);
    throw;
  }
  journal_->Recorded(std::move(entry), std::move(images));
  return id;
}

}  // namespace orv::journal
