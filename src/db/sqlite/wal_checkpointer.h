#ifndef ORV_DB_SQLITE_WAL_CHECKPOINTER_H_
#define ORV_DB_SQLITE_WAL_CHECKPOINTER_H_

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace orv::db::sqlite {

// Copies a database file's write-ahead log back into the file on a thread of
// its own, through a connection of its own.
//
// A commit in WAL mode is durable once the log is synced. Copying the log
// into the database (a checkpoint) syncs the log and the file again; left to
// SQLite, the commit that takes the log past its threshold pays for that
// before it returns. With a checkpointer the committing connection only asks
// (Request) and goes on; the copy runs beside it in PASSIVE mode, which
// neither waits for nor blocks readers and writers. Nothing about what a
// commit guarantees changes.
//
// The thread starts at the first request and ends with the object, after the
// checkpoint it is running. A checkpoint that cannot run (the file gone, a
// lock) is tried again at the next request.
class WalCheckpointer {
 public:
  // `path`: the database file; `full_sync`: the file's synchronous mode
  // (FULL, else NORMAL), which a checkpoint honours as the connection does.
  WalCheckpointer(std::string path, bool full_sync);
  ~WalCheckpointer();
  WalCheckpointer(const WalCheckpointer&) = delete;
  WalCheckpointer& operator=(const WalCheckpointer&) = delete;

  // Asks for a checkpoint; returns at once. Requests made while one is
  // pending are one request.
  void Request();
  // Blocks until no request is pending or running (tests, tools).
  void WaitIdle();
  // Checkpoints that ran to the end of the log so far.
  int64_t completed() const;

 private:
  void Run();

  const std::string path_;
  const bool full_sync_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  bool pending_ = false;
  bool running_ = false;
  bool stopping_ = false;
  int64_t completed_ = 0;
  std::thread thread_;  // started by the first Request
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_WAL_CHECKPOINTER_H_
