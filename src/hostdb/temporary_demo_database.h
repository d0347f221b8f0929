#ifndef ORV_HOSTDB_TEMPORARY_DEMO_DATABASE_H_
#define ORV_HOSTDB_TEMPORARY_DEMO_DATABASE_H_

#include <memory>
#include <string>

#include "db/connection.h"

namespace orv::hostdb {

// A fresh demo database in a file of its own under the system's temporary
// folder, removed with the object. Meant for tests: each object starts from
// the pristine demo content, and any number of connections (the test's, the
// editor's own) can open it through connection_string().
//
// The demo is built once per process and copied for each object, so creating
// one costs a file copy.
class TemporaryDemoDatabase {
 public:
  TemporaryDemoDatabase();
  ~TemporaryDemoDatabase();
  TemporaryDemoDatabase(const TemporaryDemoDatabase&) = delete;
  TemporaryDemoDatabase& operator=(const TemporaryDemoDatabase&) = delete;

  const std::string& path() const { return path_; }
  std::string connection_string() const;
  // A new, open connection to the database.
  std::shared_ptr<db::Connection> Connect() const;

 private:
  std::string directory_;
  std::string path_;
};

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_TEMPORARY_DEMO_DATABASE_H_
