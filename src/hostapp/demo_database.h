#ifndef ORV_HOSTAPP_DEMO_DATABASE_H_
#define ORV_HOSTAPP_DEMO_DATABASE_H_

#include <string>

namespace orv::hostapp {

// The demo installation the program opens when it is given no database:
// demo.db in the user's data folder ($XDG_DATA_HOME/orvelka or
// ~/.local/share/orvelka), created on first use.
class DemoDatabase {
 public:
  static std::string DefaultPath();
  // Creates the demo at `path` unless a file is there; returns the
  // connection string that opens it. Throws std::runtime_error.
  static std::string Ensure(const std::string& path);
  // The connection string of a database file for the embedded driver.
  static std::string ConnectionStringFor(const std::string& path);
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_DEMO_DATABASE_H_
