#ifndef ORV_JOURNAL_JOURNAL_H_
#define ORV_JOURNAL_JOURNAL_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/gesture.h"
#include "journal/image_page.h"
#include "journal/journal_entry.h"
#include "journal/journal_filter.h"
#include "journal/row_image.h"

namespace orv::db {
class Connection;
}

namespace orv::journal {

// The journal of one editor's gestures, and their undo, redo and revert.
//
// Entries and row images live in the host database's journal tables
// (FW3J_GIORNALEREVOKE, FW3K_IMMAGINIREVOKE) when it has them; otherwise in
// this object for as long as it lives, and the notice handler is told once.
// Either way a gesture and its entry commit together (GestureCapture).
//
// Undo and redo walk the gestures this object recorded, any number of
// steps; Revert puts back any entry of the journal by id. Each checks first
// that the rows are still as the entry left them (another editor may have
// changed them since) and otherwise refuses, changing nothing; what it does
// is itself an entry. Everything runs on the caller's thread; the journal
// borrows the connection (shared) for its whole life.
class Journal {
 public:
  // The outcome of an undo, redo or revert.
  struct Result {
    bool applied = false;
    std::string message;            // Italian, for the user; empty when applied
    int64_t entry_id = 0;           // the entry the step wrote
    int32_t section = 0;            // the section of the entry it put back
    bool settings_changed = false;  // the master switch row was put back
  };

  // Probes `connection` for the journal tables (nothing is written).
  // `login` and `company` go into every entry. `notice` receives, once, the
  // text that says the journal lives in memory only.
  Journal(std::shared_ptr<db::Connection> connection, std::string login, int64_t company,
          std::function<void(std::string_view)> notice = {});
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  static constexpr std::string_view kInMemoryNotice =
      "Le tabelle del giornale delle modifiche (FW3J_GIORNALEREVOKE, FW3K_IMMAGINIREVOKE) "
      "non sono presenti nel database: il giornale resta in memoria per questa sessione "
      "(annulla e ripeti funzionano fino alla chiusura).";

  bool persistent() const { return persistent_; }
  db::Connection& connection() const { return *connection_; }
  const std::string& login() const { return login_; }
  int64_t company() const { return company_; }

  // --- the session's steps
  bool CanUndo() const { return !done_.empty(); }
  bool CanRedo() const { return !undone_.empty(); }
  // The entry the next Undo (Redo) puts back (makes again): for the Edit
  // menu's "Annulla <summary>".
  std::optional<JournalEntry> NextUndo() const;
  std::optional<JournalEntry> NextRedo() const;
  Result Undo();
  Result Redo();
  // Puts back entry `id` (of any session): its before images.
  Result Revert(int64_t id);

  // --- reading
  std::vector<JournalEntry> Entries(const JournalFilter& filter = {}) const;
  std::optional<JournalEntry> Entry(int64_t id) const;
  std::vector<RowImage> Images(int64_t id) const;

  // Called after every entry the journal wrote (a gesture, an undo, ...).
  void SetChangedHandler(std::function<void()> handler) { changed_ = std::move(handler); }

  // --- used by GestureCapture: writes an entry and its images in the
  // transaction open on the connection, fills in its id, time, login,
  // company and image count, and returns the id. `Recorded()` after the
  // transaction committed puts a gesture on the undo list.
  // An undo, redo or revert (store_images false) keeps no images of its
  // own in the tables: Images() gives those of the entry it links.
  int64_t Write(JournalEntry& entry, const std::vector<RowImage>& images, bool store_images = true);
  // The same for a gesture's `images` images already in pages
  // (ImagePageWriter), which Recorded() then keeps as they are.
  int64_t Write(JournalEntry& entry, const std::vector<ImagePage>& pages, int64_t images);
  void Recorded(JournalEntry entry, std::vector<RowImage> images);
  void Recorded(JournalEntry entry, std::vector<ImagePage> pages);
  // The transaction that wrote `id` rolled back: forget it.
  void Discard(int64_t id);

  // Reads the entries of a connection's journal tables without an editor
  // (orvelka-profile journal). Throws DbError when the tables are missing.
  static std::vector<JournalEntry> List(db::Connection& connection, const JournalFilter& filter);
  static std::vector<RowImage> ListImages(db::Connection& connection, int64_t id);
  // True when the connection's database has the journal tables.
  static bool HasTables(db::Connection& connection);

 private:
  struct Stored;
  enum class Direction { kUndo, kRedo, kRevert };
  Result Apply(int64_t id, Direction direction);
  // Write()'s insert of the entry and its pages (their texts moved into
  // the statement's values).
  int64_t Insert(JournalEntry& entry, int64_t images, std::vector<ImagePage> pages);
  void Changed();

  std::shared_ptr<db::Connection> connection_;
  std::string login_;
  int64_t company_ = 0;
  bool persistent_ = false;
  // Entries and images kept in memory (all of them when not persistent,
  // else those of this session, so that undo needs no read-back).
  std::vector<std::unique_ptr<Stored>> memory_;
  int64_t next_memory_id_ = 1;
  std::vector<int64_t> done_;    // gestures that Undo can put back, newest last
  std::vector<int64_t> undone_;  // gestures that Redo can make again, newest last
  std::function<void()> changed_;
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_JOURNAL_H_
