#ifndef ORV_JOURNAL_GESTURE_CAPTURE_H_
#define ORV_JOURNAL_GESTURE_CAPTURE_H_

#include <cstdint>
#include <exception>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "journal/gesture.h"
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

 private:
  Journal* journal_;
  db::Connection& connection_;
  std::vector<RowScope> scopes_;
  // Per table: the rows as they were before (key text, values text).
  std::unordered_map<std::string, std::vector<std::pair<std::string, std::string>>> before_;
  std::exception_ptr failure_;  // the before images could not be read
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_GESTURE_CAPTURE_H_
