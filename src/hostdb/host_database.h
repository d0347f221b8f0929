#ifndef ORV_HOSTDB_HOST_DATABASE_H_
#define ORV_HOSTDB_HOST_DATABASE_H_

#include <memory>
#include <string>

#include "db/connection.h"
#include "hostdb/scaled_installation.h"

namespace orv::hostdb {

// Creating host databases on the embedded engine.
//
// For tests of other components, the quickest ways to a fresh demo database:
//
//   // A demo database in a file of your choice (it must not exist yet):
//   std::string cs = orv::hostdb::CreateDemoDatabase("/tmp/x/demo.db");
//   auto cn = orv::db::Connection::Create();
//   cn->Open(cs);
//
//   // A demo database in a temporary file, removed when the object goes
//   // (see temporary_demo_database.h): the editor can open its own
//   // connections on it with db.connection_string().
//   orv::hostdb::TemporaryDemoDatabase db;
//   auto cn = db.Connect();
//
// The demo's contents (users, groups, companies, odd codes) are described in
// demo_installation.h and docs/host-database.md.
class HostDatabase {
 public:
  // The connection string that opens the database file `path` with the
  // embedded driver.
  static std::string ConnectionStringFor(const std::string& path);

  // Creates a new database file at `path` (which must not exist) holding the
  // host schema, and returns an open connection to it. Throws DbError.
  static std::shared_ptr<db::Connection> CreateEmpty(const std::string& path);

  // Demo or scaled installation at `path`. The file is built under a
  // temporary name beside it and renamed when complete, so a failure or an
  // interruption never leaves a half-built database at `path`. Refuses an
  // existing `path` unless `overwrite`. Throw DbError (or std::runtime_error
  // for file-system problems).
  static void CreateDemo(const std::string& path, bool overwrite = false);
  // The temporary name this process builds `path` under (for a program that
  // wants to remove it when interrupted).
  static std::string PartialPathFor(const std::string& path);
  static void CreateScaled(const std::string& path, const ScaleOptions& options,
                           const Progress& progress = {}, bool overwrite = false);
};

// The demo installation at `path` (must not exist); returns its connection
// string.
std::string CreateDemoDatabase(const std::string& path);

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_HOST_DATABASE_H_
