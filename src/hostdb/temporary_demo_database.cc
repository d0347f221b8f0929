#include "hostdb/temporary_demo_database.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <system_error>

#include "hostdb/host_database.h"

namespace orv::hostdb {
namespace fs = std::filesystem;
namespace {

std::string NewDirectory() {
  static std::atomic<int> counter{0};
  for (;;) {
    fs::path dir = fs::temp_directory_path() / ("orvelka-demo-" + std::to_string(::getpid()) + "-" +
                                                std::to_string(counter.fetch_add(1)));
    if (fs::create_directory(dir)) return dir.string();
  }
}

// The process's pristine demo, built on first use and removed at exit.
class Template {
 public:
  static const std::string& Path() {
    static Template instance;
    return instance.path_;
  }

 private:
  Template() : directory_(NewDirectory()), path_(directory_ + "/demo.db") {
    HostDatabase::CreateDemo(path_);
  }
  ~Template() {
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
  }
  std::string directory_;
  std::string path_;
};

}  // namespace

TemporaryDemoDatabase::TemporaryDemoDatabase() {
  const std::string& source = Template::Path();
  directory_ = NewDirectory();
  path_ = directory_ + "/demo.db";
  fs::copy_file(source, path_);
}

TemporaryDemoDatabase::~TemporaryDemoDatabase() {
  std::error_code ignored;
  fs::remove_all(directory_, ignored);
}

std::string TemporaryDemoDatabase::connection_string() const {
  return HostDatabase::ConnectionStringFor(path_);
}

std::shared_ptr<db::Connection> TemporaryDemoDatabase::Connect() const {
  auto connection = db::Connection::Create();
  connection->Open(connection_string());
  return connection;
}

}  // namespace orv::hostdb
