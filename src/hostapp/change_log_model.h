#ifndef ORV_HOSTAPP_CHANGE_LOG_MODEL_H_
#define ORV_HOSTAPP_CHANGE_LOG_MODEL_H_

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace orv::db {
class Connection;
}

namespace orv::hostapp {

// The newest entries of the host's change log (FW90_LOGMODIFICHE): time,
// login, event number and text.
class ChangeLogModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using ConnectionProvider = std::function<std::shared_ptr<db::Connection>()>;
  static constexpr int kLimit = 1000;

  explicit ChangeLogModel(ConnectionProvider provider, QObject* parent = nullptr);

  // Reads the table again; false (and no rows) when it cannot be read.
  bool Reload();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  struct Entry {
    QString time, login, event, text;
  };
  ConnectionProvider provider_;
  std::vector<Entry> entries_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_CHANGE_LOG_MODEL_H_
