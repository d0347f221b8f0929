#ifndef ORV_TESTS_SUPPORT_HEADLESS_EDITOR_H_
#define ORV_TESTS_SUPPORT_HEADLESS_EDITOR_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"
#include "db/value.h"
#include "editor/frmfw_orvelka.h"
#include "hostdb/temporary_demo_database.h"
#include "session/headless_host.h"

namespace orv::testing {

// The editor on a fresh demo database, driven by the headless host.
//
//   HeadlessEditor editor;       // a copy of the demo database
//   editor.Open();               // as "admin", working company 1
//   editor.host().SelectPrincipal(0, 3);
//   editor.host().ChooseSection("ITM50017");
//   EXPECT_EQ(editor.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), 0);
//
// Every line the host writes (MSG, LOG, ERR) is kept in output(). Message
// boxes without a queued answer get the answer that changes nothing; check
// host().answers().unanswered() where that matters.
class HeadlessEditor {
 public:
  HeadlessEditor();
  ~HeadlessEditor();

  // Opens the editor with the demo's administrator unless told otherwise.
  void Open(std::string_view login = "admin");
  void Open(session::HeadlessOptions options);
  // Options filled with this database and the given login.
  session::HeadlessOptions Options(std::string_view login = "admin") const;

  session::HeadlessHost& host() { return host_; }
  editor::FRMFW_ORVELKA& window();
  const session::MemoryControls& controls() const { return host_.controls(); }
  session::HeadlessGlobal& global();

  const std::vector<session::ShownMessage>& messages();
  const std::vector<session::ChangeLogEntry>& log();
  const std::vector<std::string>& output() const { return output_; }

  // The test's own connection to the database (not the editor's).
  db::Connection& db();
  const std::string& connection_string() const { return connection_string_; }
  const std::string& database_path() const { return database_.path(); }
  // The first column of the first row, or Empty when there is no row.
  db::Value Scalar(std::string_view sql);
  int64_t Count(std::string_view sql);
  void Exec(std::string_view sql);
  // True when the global temporary table `name` exists.
  bool TempTableExists(const std::string& name);

 private:
  hostdb::TemporaryDemoDatabase database_;
  std::string connection_string_;
  std::shared_ptr<db::Connection> connection_;
  std::vector<std::string> output_;
  session::HeadlessHost host_;
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SUPPORT_HEADLESS_EDITOR_H_
