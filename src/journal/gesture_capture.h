#ifndef ORV_JOURNAL_GESTURE_CAPTURE_H_
#define ORV_JOURNAL_GESTURE_CAPTURE_H_

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "journal/gesture.h"
#include "journal/pair_rows.h"
#include "journal/row_scope.h"

namespace orv::db {
class Connection;
class Transaction;
}  // namespace orv::db

namespace orv::journal {

class Journal;

// The journal's side of one gesture:
//
//   db::Transaction transaction(cn);
//   journal::GestureCapture capture(window.journal(), cn, {scope...});
//   cn.Execute(write);                    // the gesture as it always was
//   capture.Commit(transaction, gesture); // entry + images, then commit
//
// The constructor reads the scopes' rows; Commit() reads them again, writes
// one entry with the images of the rows that changed (none changed: no
// entry) in the same transaction, and commits it, so a gesture and its
// entry are on the database together or not at all. With a null journal
// (a viewer, a window not started) Commit() only commits.
class GestureCapture {
 public:
  GestureCapture(Journal* journal, db::Connection& connection, std::vector<RowScope> scopes);
  ~GestureCapture();
  GestureCapture(const GestureCapture&) = delete;
  GestureCapture& operator=(const GestureCapture&) = delete;

  // Returns the entry's id (0 when nothing changed or there is no journal).
  // Throws DbError; the transaction then rolls back with the gesture.
  int64_t Commit(db::Transaction& transaction, const Gesture& gesture);

  // What the gesture left in `table`, when it knows: `rows` (key text,
  // values text, keys distinct and inside this capture's one scope of that
  // table) now hold those values; `updated` of them were rows already
  // there (as the engine counted the rows its write matched), `inserted`
  // are new; every other row of the scope is as it was. When the counts
  // agree with the rows read before, Commit() takes the rows after from
  // this instead of reading the scope again; when they do not (a key the
  // engine matched another way, another writer), it reads. The images then
  // come in the order of `rows`, which should be the order of the table's
  // key (JournalStatements::OrderByKey) as a reading gives it.
  void Wrote(std::string_view table, std::vector<std::pair<std::string, std::string>> rows,
             int64_t updated, int64_t inserted);
  // Whether the scope of `table` had any row before the gesture, as the
  // constructor read it: for a gesture on one keyed row, whose scope is
  // that key, the probe it needs (nullopt with a null journal, for a table
  // not in the scopes, or when the read failed).
  std::optional<bool> HadRows(std::string_view table) const;
  // The same for a gesture that only adds rows: those of `rows` that were
  // absent now hold the values given (`inserted` of them, as the engine
  // counted), those already there are as they were.
  void WroteMissing(std::string_view table, std::vector<std::pair<std::string, std::string>> rows,
                    int64_t inserted);
  // WroteMissing() for the rows of every pair of `pairs`, in their order.
  // With this capture's one scope, Commit() writes the entry's pages and
  // its summary straight from the codes, without one image per pair.
  void WroteMissingPairs(std::string_view table, PairRows pairs, int64_t inserted);

 private:
  // Commits the gesture with its entry `id`; a failed commit forgets the
  // entry in the session too, and rethrows.
  void CommitOrDiscard(db::Transaction& transaction, int64_t id);
  Journal* journal_;
  db::Connection& connection_;
  std::vector<RowScope> scopes_;
  // Per table: the rows as they were before (key text, values text).
  std::unordered_map<std::string, std::vector<std::pair<std::string, std::string>>> before_;
  // Per table: the rows the gesture says it wrote (see Wrote()).
  struct Written {
    std::vector<std::pair<std::string, std::string>> rows;
    int64_t updated = 0;
    int64_t inserted = 0;
    bool only_missing = false;
    std::optional<PairRows> pairs;  // WroteMissingPairs(): the rows as pairs
  };
  std::unordered_map<std::string, Written> written_;
  std::exception_ptr failure_;  // the before images could not be read
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_GESTURE_CAPTURE_H_
