#include "hostapp/demo_database.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <stdexcept>

#if __has_include("hostdb/host_database.h")
#include "hostdb/host_database.h"
#define ORV_HAVE_HOSTDB 1
#endif

namespace orv::hostapp {

std::string DemoDatabase::DefaultPath() {
  // With no organisation name this is <data home>/orvelka, the folder
  // scripts/run.sh uses too.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/orvelka");
  return (folder + QStringLiteral("/demo.db")).toStdString();
}

std::string DemoDatabase::ConnectionStringFor(const std::string& path) {
#ifdef ORV_HAVE_HOSTDB
  return hostdb::HostDatabase::ConnectionStringFor(path);
#else
  if (path.find_first_of(";{}") != std::string::npos) return "Database={" + path + "}";
  return "Database=" + path;
#endif
}

std::string DemoDatabase::Ensure(const std::string& path) {
  const QFileInfo file(QString::fromStdString(path));
  if (!file.exists()) {
    if (!QDir().mkpath(file.absolutePath())) {
      throw std::runtime_error("cannot create the folder " + file.absolutePath().toStdString());
    }
#ifdef ORV_HAVE_HOSTDB
    hostdb::HostDatabase::CreateDemo(path);
#else
    throw std::runtime_error("no demo database at " + path +
                             " (create one with: orvelka-db create --demo " + path + ")");
#endif
  }
  return ConnectionStringFor(path);
}

}  // namespace orv::hostapp
