#include "hostapp/demo_database.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <stdexcept>

#include "hostdb/host_database.h"

namespace orv::hostapp {

std::string DemoDatabase::DefaultPath() {
  // With no organisation name this is <data home>/orvelka, the folder
  // scripts/run.sh uses too.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/orvelka");
  return (folder + QStringLiteral("/demo.db")).toStdString();
}

std::string DemoDatabase::ConnectionStringFor(const std::string& path) {
  return hostdb::HostDatabase::ConnectionStringFor(path);
}

std::string DemoDatabase::Ensure(const std::string& path) {
  const QFileInfo file(QString::fromStdString(path));
  if (!file.exists()) {
    if (!QDir().mkpath(file.absolutePath())) {
      throw std::runtime_error("cannot create the folder " + file.absolutePath().toStdString());
    }
    try {
      hostdb::HostDatabase::CreateDemo(path);
    } catch (const std::exception& e) {
      throw std::runtime_error("cannot create the demo installation at " + path + ": " + e.what());
    }
  }
  return ConnectionStringFor(path);
}

}  // namespace orv::hostapp
