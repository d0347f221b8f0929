#include "db/sqlite/wal_checkpointer.h"

#include <sqlite3.h>

#include <utility>

#include "db/sqlite/sqlite_handles.h"

namespace orv::db::sqlite {

WalCheckpointer::WalCheckpointer(std::string path, bool full_sync)
    : path_(std::move(path)), full_sync_(full_sync) {}

WalCheckpointer::~WalCheckpointer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void WalCheckpointer::Request() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    pending_ = true;
    if (!thread_.joinable()) thread_ = std::thread(&WalCheckpointer::Run, this);
  }
  wake_.notify_one();
}

void WalCheckpointer::WaitIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return (!pending_ && !running_) || !thread_.joinable(); });
}

int64_t WalCheckpointer::completed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return completed_;
}

void WalCheckpointer::Run() {
  DatabasePtr db;
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return pending_ || stopping_; });
    // A checkpoint asked for as the owner closes is left to the close, which
    // checkpoints the whole log itself.
    if (stopping_) break;
    pending_ = false;
    running_ = true;
    lock.unlock();
    bool done = false;
    if (!db) {
      sqlite3* handle = nullptr;
      const int rc = sqlite3_open_v2(path_.c_str(), &handle,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
      db.reset(handle);
      if (rc == SQLITE_OK) {
        sqlite3_exec(db.get(), full_sync_ ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=NORMAL",
                     nullptr, nullptr, nullptr);
      } else {
        db.reset();
      }
    }
    if (db) {
      int log_frames = 0;
      int copied_frames = 0;
      const int rc = sqlite3_wal_checkpoint_v2(db.get(), "main", SQLITE_CHECKPOINT_PASSIVE,
                                               &log_frames, &copied_frames);
      done = rc == SQLITE_OK && log_frames >= 0 && copied_frames == log_frames;
      // A connection that failed is opened again for the next request.
      if (rc != SQLITE_OK && rc != SQLITE_BUSY && rc != SQLITE_LOCKED) db.reset();
    }
    lock.lock();
    running_ = false;
    if (done) ++completed_;
    idle_.notify_all();
  }
  pending_ = false;
  running_ = false;
  idle_.notify_all();
}

}  // namespace orv::db::sqlite
