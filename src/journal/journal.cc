#include "journal/journal.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <set>
#include <span>

#include "db/command.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "journal/image_page.h"
#include "journal/journal_statements.h"
#include "journal/journal_summary.h"
#include "journal/journal_table.h"
#include "journal/row_snapshot.h"
#include "journal/row_text.h"

namespace orv::journal {

struct Journal::Stored {
  JournalEntry entry;
  std::vector<RowImage> images;
  // Or, for a gesture that wrote its pages directly, its images as pages.
  std::vector<ImagePage> pages;
};

namespace {

std::string Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d %H:%M:%S", &local);
  return text;
}

std::string Text(const db::Recordset& rs, std::string_view field) {
  const db::Value& v = rs.Field(field);
  return v.IsNull() || v.IsEmpty() ? std::string() : v.ToText();
}

int64_t Number(const db::Recordset& rs, std::string_view field) {
  const db::Value& v = rs.Field(field);
  return v.IsNull() || v.IsEmpty() ? 0 : v.ToInt64();
}

std::vector<JournalEntry> ReadEntries(db::Connection& connection, const std::string& sql) {
  std::vector<JournalEntry> entries;
  std::shared_ptr<db::Recordset> rs = connection.Execute(sql);
  if (!rs || !rs->IsOpen()) return entries;
  for (; !rs->IsEof(); rs->MoveNext()) {
    JournalEntry e;
    e.id = Number(*rs, "FW3J_ID");
    e.when = Text(*rs, "FW3J_DATAORA");
    e.login = Text(*rs, "FW3J_LOGIN");
    e.company = Number(*rs, "FW3J_DITTA");
    e.section = static_cast<int32_t>(Number(*rs, "FW3J_SEZIONE"));
    e.principal_kind = Text(*rs, "FW3J_TIPOPRINC");
    e.principal_id = Number(*rs, "FW3J_CODPRINC");
    e.kind = GestureFromCode(Text(*rs, "FW3J_GESTO"));
    e.summary = Text(*rs, "FW3J_DESCR");
    e.undo_of = Number(*rs, "FW3J_ID_ANNULLA");
    e.redo_of = Number(*rs, "FW3J_ID_RIPETE");
    e.undone = Number(*rs, "FW3J_STATO") != 0;
    e.image_count = Number(*rs, "FW3J_NUMRIGHE");
    entries.push_back(std::move(e));
  }
  return entries;
}

bool Passes(const JournalEntry& e, const JournalFilter& f) {
  if (!f.principal_kind.empty() && e.principal_kind != f.principal_kind) return false;
  if (f.principal_id && e.principal_id != *f.principal_id) return false;
  if (f.section && e.section != *f.section) return false;
  if (!f.login.empty() && e.login != f.login) return false;
  if (!f.from.empty() && e.when < (f.from.size() <= 8 ? f.from + " 00:00:00" : f.from)) {
    return false;
  }
  if (!f.to.empty() && e.when > (f.to.size() <= 8 ? f.to + " 23:59:59" : f.to)) return false;
  return true;
}

void RunProcedure(db::Connection& connection, std::string_view name, std::string_view parameter,
                  int64_t id) {
  db::Command command;
  command.ActiveConnection = connection.shared_from_this();
  command.CommandType = db::kAdCmdStoredProc;
  command.CommandTimeout = 0;
  command.CommandText = std::string(name);
  if (!parameter.empty()) command.SetParameter(parameter, db::Value(id));
  command.Execute(nullptr, db::kAdExecuteNoRecords);
}

}  // namespace

Journal::Journal(std::shared_ptr<db::Connection> connection, std::string login, int64_t company,
                 std::function<void(std::string_view)> notice)
    : connection_(std::move(connection)), login_(std::move(login)), company_(company) {
  persistent_ = connection_ && HasTables(*connection_);
  if (!persistent_ && notice) notice(kInMemoryNotice);
}

Journal::~Journal() = default;

bool Journal::HasTables(db::Connection& connection) {
  try {
    connection.Execute(JournalStatements::SelectProbe());
    return true;
  } catch (const db::DbError&) {
    connection.ClearErrors();
    return false;
  }
}

void Journal::Changed() {
  if (changed_) changed_();
}

int64_t Journal::Write(JournalEntry& entry, const std::vector<RowImage>& images,
                       bool store_images) {
  std::vector<ImagePage> pages =
      store_images && persistent_ ? ImagePage::Pack(images) : std::vector<ImagePage>();
  return Insert(entry, static_cast<int64_t>(images.size()), std::move(pages));
}

int64_t Journal::Write(JournalEntry& entry, const std::vector<ImagePage>& pages, int64_t images) {
  // Recorded() keeps the pages: the statement gets a copy of their texts.
  return Insert(entry, images, persistent_ ? pages : std::vector<ImagePage>());
}

int64_t Journal::Insert(JournalEntry& entry, int64_t images, std::vector<ImagePage> pages) {
  entry.when = Now();
  entry.login = login_;
  entry.company = company_;
  entry.image_count = images;
  if (!persistent_) {
    entry.id = next_memory_id_++;
    return entry.id;
  }
  db::Connection& cn = *connection_;
  // A gesture of one page (a click) writes it in the entry's own batch.
  const bool together = pages.size() == 1;
  cn.Execute(JournalStatements::InsertEntry(entry, together ? &pages.front() : nullptr));
  std::shared_ptr<db::Recordset> id = cn.NextRecordset();
  if (!id || !id->IsOpen() || id->IsEof() || id->Field(0).IsNull()) {
    throw db::DbError(db::kErrProvider, "Il giornale non ha restituito il numero della modifica");
  }
  entry.id = id->Field(0).ToInt64();
  if (together) return entry.id;
  std::vector<db::Value> values;
  for (size_t at = 0; at < pages.size(); at += JournalStatements::kPagesPerInsert) {
    const size_t n = std::min(JournalStatements::kPagesPerInsert, pages.size() - at);
    values.clear();
    for (size_t i = at; i < at + n; ++i) {
      JournalStatements::AppendImageValues(values, entry.id, static_cast<int64_t>(i + 1),
                                           std::move(pages[i]));
    }
    cn.Execute(JournalStatements::InsertImages(n), values, nullptr, db::kAdExecuteNoRecords);
  }
  return entry.id;
}

void Journal::Recorded(JournalEntry entry, std::vector<RowImage> images) {
  const int64_t id = entry.id;
  const GestureKind kind = entry.kind;
  memory_.push_back(std::make_unique<Stored>(Stored{std::move(entry), std::move(images), {}}));
  if (kind != GestureKind::kUndo && kind != GestureKind::kRedo && kind != GestureKind::kRevert) {
    done_.push_back(id);
    undone_.clear();
  }
  Changed();
}

void Journal::Recorded(JournalEntry entry, std::vector<ImagePage> pages) {
  const int64_t id = entry.id;
  const GestureKind kind = entry.kind;
  memory_.push_back(std::make_unique<Stored>(Stored{std::move(entry), {}, std::move(pages)}));
  if (kind != GestureKind::kUndo && kind != GestureKind::kRedo && kind != GestureKind::kRevert) {
    done_.push_back(id);
    undone_.clear();
  }
  Changed();
}

void Journal::Discard(int64_t id) {
  if (!persistent_ && id + 1 == next_memory_id_) --next_memory_id_;
}

std::optional<JournalEntry> Journal::NextUndo() const {
  if (done_.empty()) return std::nullopt;
  return Entry(done_.back());
}

std::optional<JournalEntry> Journal::NextRedo() const {
  if (undone_.empty()) return std::nullopt;
  return Entry(undone_.back());
}

std::optional<JournalEntry> Journal::Entry(int64_t id) const {
  for (const auto& stored : memory_) {
    if (stored->entry.id == id) return stored->entry;
  }
  if (!persistent_) return std::nullopt;
  std::vector<JournalEntry> found = ReadEntries(*connection_, JournalStatements::SelectEntry(id));
  if (found.empty()) return std::nullopt;
  return found.front();
}

std::vector<JournalEntry> Journal::Entries(const JournalFilter& filter) const {
  if (persistent_) return List(*connection_, filter);
  std::vector<JournalEntry> entries;
  for (auto it = memory_.rbegin(); it != memory_.rend(); ++it) {
    if (filter.limit > 0 && entries.size() >= filter.limit) break;
    if (Passes((*it)->entry, filter)) entries.push_back((*it)->entry);
  }
  return entries;
}

std::vector<RowImage> Journal::Images(int64_t id) const {
  for (const auto& stored : memory_) {
    if (stored->entry.id != id) continue;
    if (stored->pages.empty()) return stored->images;
    std::vector<RowImage> images;
    images.reserve(static_cast<size_t>(stored->entry.image_count));
    for (const ImagePage& page : stored->pages) ImagePage::Unpack(page.table, page.text, images);
    return images;
  }
  if (!persistent_) return {};
  return ListImages(*connection_, id);
}

std::vector<JournalEntry> Journal::List(db::Connection& connection, const JournalFilter& filter) {
  return ReadEntries(connection, JournalStatements::SelectEntries(filter));
}

std::vector<RowImage> Journal::ListImages(db::Connection& connection, int64_t id) {
  std::vector<RowImage> images;
  std::shared_ptr<db::Recordset> rs = connection.Execute(JournalStatements::SelectImages(id));
  if (!rs || !rs->IsOpen()) return images;
  for (; !rs->IsEof(); rs->MoveNext()) {
    ImagePage::Unpack(rs->Field(0).ToText(), rs->Field(1).ToText(), images);
  }
  rs.reset();
  if (!images.empty()) return images;
  // An undo, redo or revert keeps no images of its own: they are those of
  // the entry it put back (reversed) or made again.
  const std::vector<JournalEntry> found =
      ReadEntries(connection, JournalStatements::SelectEntry(id));
  if (found.empty()) return images;
  const JournalEntry& step = found.front();
  if ((step.kind == GestureKind::kUndo || step.kind == GestureKind::kRevert) && step.undo_of > 0 &&
      step.undo_of < id) {
    images = ListImages(connection, step.undo_of);
    for (RowImage& image : images) std::swap(image.before, image.after);
  } else if (step.kind == GestureKind::kRedo && step.redo_of > 0 && step.redo_of < id) {
    images = ListImages(connection, step.redo_of);
  }
  return images;
}

Journal::Result Journal::Undo() {
  if (done_.empty()) return {false, "Nessuna modifica da annullare."};
  return Apply(done_.back(), Direction::kUndo);
}

Journal::Result Journal::Redo() {
  if (undone_.empty()) return {false, "Nessuna modifica da ripetere."};
  return Apply(undone_.back(), Direction::kRedo);
}

Journal::Result Journal::Revert(int64_t id) { return Apply(id, Direction::kRevert); }

Journal::Result Journal::Apply(int64_t id, Direction direction) {
  Result result;
  const std::string number = "N° " + std::to_string(id);
  std::optional<JournalEntry> entry = Entry(id);
  if (!entry) {
    result.message = "La modifica " + number + " non è nel giornale.";
    return result;
  }
  const bool forward = direction == Direction::kRedo;
  if (!forward && entry->undone) {
    result.message = "La modifica " + number + " è già stata annullata.";
    return result;
  }
  if (forward && !entry->undone) {
    result.message = "La modifica " + number + " non è annullata: non c'è nulla da ripetere.";
    return result;
  }
  const std::vector<RowImage> images = Images(id);
  result.section = entry->section;

  db::Connection& cn = *connection_;
  db::Transaction transaction(cn);

  // Rows as they are now, read by scope (table, principal and company).
  struct Group {
    const JournalTable* table = nullptr;
    RowScope scope;
    RowSnapshot::Rows rows;
    std::vector<const std::string*> deletes;  // keys of rows to remove
  };
  std::map<std::string, Group> groups;
  std::vector<Group*> group_of;
  group_of.reserve(images.size());
  for (const RowImage& image : images) {
    const JournalTable* table = JournalTable::Find(image.table);
    if (table == nullptr) {
      result.message = "La modifica " + number + " riguarda una tabella sconosciuta (" +
                       image.table + "): nessuna modifica è stata fatta.";
      return result;
    }
    // The principal and company fields name the group.
    std::string id = image.table;
    for (std::string_view column :
         {table->user_column, table->group_column, table->company_column}) {
      const int i = column.empty() ? -1 : table->KeyIndex(column);
      id += '\x1f';
      if (i < 0) continue;
      const std::optional<std::string> field = RowText::Field(image.key, static_cast<size_t>(i));
      id += field ? *field : std::string("\\N");
    }
    if (!table->has_principal()) id += '\x1f' + image.key;
    auto [it, added] = groups.try_emplace(id);
    if (added) {
      it->second.table = table;
      it->second.scope = JournalStatements::ScopeOfKey(*table, RowText::Split(image.key));
      RowSnapshot::Read(cn, *table, it->second.scope, it->second.rows);
    }
    group_of.push_back(&it->second);
  }
  for (size_t i = 0; i < images.size(); ++i) {
    const RowImage& image = images[i];
    const std::optional<std::string>& expected = forward ? image.before : image.after;
    const RowSnapshot::Rows& rows = group_of[i]->rows;
    auto found = rows.find(image.key);
    const std::optional<std::string> current =
        found == rows.end() ? std::nullopt : std::optional<std::string>(found->second);
    if (current != expected) {
      result.message = std::string(forward ? "Impossibile ripetere" : "Impossibile annullare") +
                       " la modifica " + number + " (" + entry->summary +
                       "): le revoche sono state cambiate dopo, forse da un'altra sessione. "
                       "Nessuna modifica è stata fatta.";
      return result;
    }
  }

  // Put the rows back, table by table: deletes, inserts, then updates.
  std::set<std::pair<bool, int64_t>> cf_principals;  // (group, id) of FW32 rows
  for (const JournalTable& table : JournalTable::All()) {
    std::vector<std::pair<RowText::Fields, RowText::Fields>> inserts;
    std::vector<std::pair<RowText::Fields, RowText::Fields>> updates;
    for (size_t i = 0; i < images.size(); ++i) {
      const RowImage& image = images[i];
      if (image.table != table.name) continue;
      const std::optional<std::string>& from = forward ? image.before : image.after;
      const std::optional<std::string>& to = forward ? image.after : image.before;
      if (table.name == JournalTable::kSettings) result.settings_changed = true;
      if (table.name == JournalTable::kCliFor) {
        const store::Principal& p = group_of[i]->scope.principal;
        if (p.IsUser()) cf_principals.insert({false, p.user_id().ToInt64()});
        if (p.IsGroup()) cf_principals.insert({true, p.group_id().ToInt64()});
      }
      if (!to) {
        group_of[i]->deletes.push_back(&image.key);
        continue;
      }
      RowText::Fields values = table.values.empty() ? RowText::Fields{} : RowText::Split(*to);
      if (!from) {
        inserts.emplace_back(RowText::Split(image.key), std::move(values));
      } else {
        updates.emplace_back(RowText::Split(image.key), std::move(values));
      }
    }
    for (auto& [id, group] : groups) {
      if (group.table != &table || group.deletes.empty()) continue;
      // Every row of the scope goes (the undo of a revoke-all): one
      // statement on the scope instead of one condition per row, kept only
      // when it removed exactly the rows read. A row another editor put in
      // the scope since they were read (nothing locks the scope on the host
      // server) is not the entry's to remove: the rows named one by one then.
      if (group.deletes.size() == group.rows.size() && table.has_principal()) {
        db::Transaction scope_delete(cn);
        int64_t removed = -1;
        cn.Execute(JournalStatements::DeleteScope(table, group.scope), &removed,
                   db::kAdExecuteNoRecords);
        if (removed == static_cast<int64_t>(group.rows.size())) {
          scope_delete.Commit();
          continue;
        }
        scope_delete.Rollback();
      }
      std::vector<RowText::Fields> keys;
      keys.reserve(group.deletes.size());
      for (const std::string* key : group.deletes) keys.push_back(RowText::Split(*key));
      const std::span<const RowText::Fields> d(keys);
      for (size_t at = 0; at < d.size(); at += JournalStatements::kRowsPerDelete) {
        cn.Execute(
            JournalStatements::DeleteRows(
                table, d.subspan(at, std::min(JournalStatements::kRowsPerDelete, d.size() - at))),
            nullptr, db::kAdExecuteNoRecords);
      }
    }
    const std::span<const std::pair<RowText::Fields, RowText::Fields>> ins(inserts);
    for (size_t at = 0; at < ins.size(); at += JournalStatements::kRowsPerInsert) {
      cn.Execute(
          JournalStatements::InsertRows(
              table, ins.subspan(at, std::min(JournalStatements::kRowsPerInsert, ins.size() - at))),
          nullptr, db::kAdExecuteNoRecords);
    }
    for (const auto& [key, values] : updates) {
      cn.Execute(JournalStatements::UpdateRow(table, key, values), nullptr,
                 db::kAdExecuteNoRecords);
    }
  }
  // The lists the host derives from the customer/supplier revocations.
  if (result.settings_changed) RunProcedure(cn, "SPFW_ReloadListaCFRevocati", "", 0);
  for (const auto& [group, principal] : cf_principals) {
    if (group) {
      RunProcedure(cn, "SPFW_ReloadListaCFRevocatiGruppo", "@idgruppo", principal);
    } else {
      RunProcedure(cn, "SPFW_ReloadListaCFRevocatiUtente", "@idutente", principal);
    }
  }

  JournalEntry step;
  step.section = entry->section;
  step.principal_kind = entry->principal_kind;
  step.principal_id = entry->principal_id;
  switch (direction) {
    case Direction::kUndo:
      step.kind = GestureKind::kUndo;
      step.undo_of = id;
      step.summary = "Annullata la modifica " + number + ": " + entry->summary;
      break;
    case Direction::kRedo:
      step.kind = GestureKind::kRedo;
      step.redo_of = id;
      step.summary = "Ripetuta la modifica " + number + ": " + entry->summary;
      break;
    case Direction::kRevert:
      step.kind = GestureKind::kRevert;
      step.undo_of = id;
      step.summary = "Annullata dal giornale la modifica " + number + ": " + entry->summary;
      break;
  }
  if (step.summary.size() > 4000) step.summary.resize(4000);
  std::vector<RowImage> step_images;
  step_images.reserve(images.size());
  for (const RowImage& image : images) {
    step_images.push_back(forward ? image
                                  : RowImage{image.table, image.key, image.after, image.before});
  }
  const int64_t step_id = Write(step, step_images, false);
  if (persistent_)
    cn.Execute(JournalStatements::SetUndone(id, !forward), nullptr, db::kAdExecuteNoRecords);
  try {
    transaction.Commit();
  } catch (...) {
    Discard(step_id);
    throw;
  }

  for (auto& stored : memory_) {
    if (stored->entry.id == id) stored->entry.undone = !forward;
  }
  switch (direction) {
    case Direction::kUndo:
      done_.pop_back();
      undone_.push_back(id);
      break;
    case Direction::kRedo:
      undone_.pop_back();
      done_.push_back(id);
      break;
    case Direction::kRevert:
      std::erase(done_, id);
      std::erase(undone_, id);
      break;
  }
  memory_.push_back(std::make_unique<Stored>(Stored{step, std::move(step_images), {}}));
  result.applied = true;
  result.entry_id = step_id;
  Changed();
  return result;
}

}  // namespace orv::journal
