#include "journal/gesture_capture.h"

#include <algorithm>
#include <unordered_set>

#include "db/connection.h"
#include "db/db_error.h"
#include "journal/image_page.h"
#include "journal/image_page_writer.h"
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
      RowSnapshot::ReadOrdered(connection_, *table, scope, before_[std::string(table->name)]);
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

void GestureCapture::Wrote(std::string_view table,
                           std::vector<std::pair<std::string, std::string>> rows, int64_t updated,
                           int64_t inserted) {
  if (journal_ == nullptr) return;
  written_[std::string(table)] = {std::move(rows), updated, inserted, false, std::nullopt};
}

void GestureCapture::WroteMissing(std::string_view table,
                                  std::vector<std::pair<std::string, std::string>> rows,
                                  int64_t inserted) {
  if (journal_ == nullptr) return;
  written_[std::string(table)] = {std::move(rows), 0, inserted, true, std::nullopt};
}

void GestureCapture::WroteMissingPairs(std::string_view table, PairRows pairs, int64_t inserted) {
  if (journal_ == nullptr) return;
  written_[std::string(table)] = {{}, 0, inserted, true, std::move(pairs)};
}

std::optional<bool> GestureCapture::HadRows(std::string_view table) const {
  if (journal_ == nullptr || failure_) return std::nullopt;
  auto found = before_.find(std::string(table));
  if (found == before_.end()) return std::nullopt;
  return !found->second.empty();
}

namespace {

// The images of a gesture that told what it wrote (GestureCapture::Wrote),
// its texts moved into them: false, adding nothing, unless the rows found before and those missing
// are exactly as many as the engine updated and inserted.
bool ImagesOfWritten(const std::string& table, const RowSnapshot::OrderedRows& before,
                     std::vector<std::pair<std::string, std::string>>& rows, int64_t updated,
                     int64_t inserted, bool only_missing, std::vector<RowImage>& images) {
  std::unordered_map<std::string_view, size_t> before_at;
  before_at.reserve(before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    // Two rows of one key: the engine's count cannot tell which it matched.
    if (!before_at.try_emplace(before[i].first, i).second) return false;
  }
  images.reserve(images.size() + rows.size());
  std::vector<size_t> at(rows.size(), before.size());
  int64_t found = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    auto it = before_at.find(rows[i].first);
    if (it == before_at.end()) continue;
    at[i] = it->second;
    ++found;
  }
  if ((!only_missing && found != updated) ||
      static_cast<int64_t>(rows.size()) - found != inserted) {
    return false;
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    if (at[i] == before.size()) {
      images.push_back({table, std::move(rows[i].first), std::nullopt, std::move(rows[i].second)});
    } else if (!only_missing && before[at[i]].second != rows[i].second) {
      images.push_back(
          {table, std::move(rows[i].first), before[at[i]].second, std::move(rows[i].second)});
    }
  }
  return true;
}

// The pages of a gesture that told its rows as pairs and only adds rows
// (GestureCapture::WroteMissingPairs), written straight from the pairs: a
// line for each pair that was absent, in the pairs' order. `present` tells
// the pairs found before (left empty when there were none). False, writing
// nothing, under the same conditions as ImagesOfWritten.
bool PagesOfPairs(std::string_view table, const RowSnapshot::OrderedRows& before,
                  const PairRows& pairs, int64_t inserted, std::vector<bool>& present,
                  ImagePageWriter& writer) {
  present.clear();
  int64_t found = 0;
  if (!before.empty()) {
    std::unordered_set<std::string_view> keys;
    keys.reserve(before.size());
    for (const auto& row : before) {
      if (!keys.insert(row.first).second) return false;
    }
    present.assign(pairs.size(), false);
    std::string key;
    for (size_t i = 0; i < pairs.size(); ++i) {
      key.clear();
      pairs.AppendKey(key, i);
      if (keys.contains(key)) {
        present[i] = true;
        ++found;
      }
    }
  }
  if (static_cast<int64_t>(pairs.size()) - found != inserted) return false;
  const std::string_view values = pairs.values();
  for (size_t i = 0; i < pairs.size(); ++i) {
    if (!present.empty() && present[i]) continue;
    pairs.AppendKey(writer.Key(table), i);
    writer.Sides(std::nullopt, values);
  }
  return true;
}

}  // namespace

int64_t GestureCapture::Commit(db::Transaction& transaction, const Gesture& gesture) {
  if (journal_ == nullptr) {
    transaction.Commit();
    return 0;
  }
  if (failure_) std::rethrow_exception(failure_);
  // Pairs told with other scopes: as rows, their images among the others'.
  for (auto& [name, written] : written_) {
    if (written.pairs && scopes_.size() != 1) {
      written.rows = written.pairs->Rows();
      written.pairs.reset();
    }
  }
  std::vector<RowImage> images;
  // With the one scope's rows told as pairs: its pages, written directly.
  std::optional<ImagePageWriter> pair_pages;
  const PairRows* pairs = nullptr;
  std::vector<bool> present;
  for (const JournalTable& table : JournalTable::All()) {
    const std::string name(table.name);
    const size_t scopes = static_cast<size_t>(std::count_if(
        scopes_.begin(), scopes_.end(), [&](const RowScope& s) { return s.table == table.name; }));
    if (scopes == 0) continue;
    static const RowSnapshot::OrderedRows kNone;
    auto b = before_.find(name);
    const RowSnapshot::OrderedRows& before = b == before_.end() ? kNone : b->second;
    const auto w = written_.find(name);
    if (w != written_.end() && w->second.pairs) {
      const PairRows& told = *w->second.pairs;
      // A line: key, tab, "\A", tab, values, line feed.
      ImagePageWriter writer(told.max_key_size() + told.values().size() + 6);
      if (PagesOfPairs(name, before, told, w->second.inserted, present, writer)) {
        pair_pages.emplace(std::move(writer));
        pairs = &told;
        continue;
      }
    } else if (w != written_.end() && scopes == 1 &&
               ImagesOfWritten(name, before, w->second.rows, w->second.updated, w->second.inserted,
                               w->second.only_missing, images)) {
      continue;
    }
    RowSnapshot::OrderedRows after;
    for (const RowScope& scope : scopes_) {
      if (scope.table == table.name) RowSnapshot::ReadOrdered(connection_, table, scope, after);
    }
    // The rows before by key; the rows after walked in their order, so the
    // images come in key order without a sort.
    std::unordered_map<std::string_view, size_t> before_at;
    before_at.reserve(before.size());
    for (size_t i = 0; i < before.size(); ++i) before_at.try_emplace(before[i].first, i);
    std::vector<bool> seen(before.size(), false);
    std::unordered_set<std::string> after_seen;  // only with overlapping scopes
    for (auto& [key, values] : after) {
      if (scopes > 1 && !after_seen.insert(key).second) continue;
      auto found = before_at.find(key);
      if (found == before_at.end()) {
        images.push_back({name, std::move(key), std::nullopt, std::move(values)});
        continue;
      }
      seen[found->second] = true;
      const std::string& was = before[found->second].second;
      if (was != values) images.push_back({name, key, was, std::move(values)});
    }
    for (size_t i = 0; i < before.size(); ++i) {
      if (!seen[i] && before_at.at(before[i].first) == i) {
        images.push_back({name, before[i].first, before[i].second, std::nullopt});
      }
    }
  }
  if (images.empty() && (!pair_pages || pair_pages->images() == 0)) {
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
  if (pair_pages) {
    // The one scope's images, as pages (the only images of the entry).
    const int64_t count = pair_pages->images();
    std::vector<ImagePage> pages = pair_pages->Take();
    std::optional<std::string> summary = JournalSummary::MakeForPairs(
        gesture, scopes_.front().table, *pairs, present, static_cast<size_t>(count));
    if (!summary) {
      for (const ImagePage& page : pages) ImagePage::Unpack(page.table, page.text, images);
      summary = JournalSummary::Make(gesture, images);
      images.clear();
    }
    entry.summary = std::move(*summary);
    const int64_t id = journal_->Write(entry, pages, count);
    CommitOrDiscard(transaction, id);
    journal_->Recorded(std::move(entry), std::move(pages));
    return id;
  }
  entry.summary = JournalSummary::Make(gesture, images);
  const int64_t id = journal_->Write(entry, images);
  CommitOrDiscard(transaction, id);
  journal_->Recorded(std::move(entry), std::move(images));
  return id;
}

void GestureCapture::CommitOrDiscard(db::Transaction& transaction, int64_t id) {
  try {
    transaction.Commit();
  } catch (...) {
    // The entry rolled back with the gesture.
    journal_->Discard(id);
    throw;
  }
}

}  // namespace orv::journal
