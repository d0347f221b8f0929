#ifndef ORV_HOSTAPP_CHANGE_LOG_MODEL_H_
#define ORV_HOSTAPP_CHANGE_LOG_MODEL_H_

#include <QAbstractTableModel>
#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace orv::db {
class Connection;
}

namespace orv::hostapp {

// The newest entries of the host's change log (FW90_LOGMODIFICHE), each
// read into columns: time, login, the event by name, the principal, the
// section, the company, the codes, the outcome and the whole text. The
// text is the editor's: "Gruppo: …; Utente: …; 1: …; 2: …; ".
class ChangeLogModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using ConnectionProvider = std::function<std::shared_ptr<db::Connection>()>;
  static constexpr int kLimit = 1000;
  enum Column {
    kTime,
    kLogin,
    kEvent,
    kPrincipal,
    kSection,
    kCompany,
    kCodes,
    kOutcome,
    kText,
    kColumnCount
  };
  // The event number (an int) of a row, and a value that sorts (the time as
  // QDateTime, else the display text).
  static constexpr int kEventRole = Qt::UserRole + 1;
  static constexpr int kSortRole = Qt::UserRole + 2;

  explicit ChangeLogModel(ConnectionProvider provider, QObject* parent = nullptr);

  // The name of an event number ("Abilitazione revoche" for 11).
  static QString EventName(int event);
  // The time stored in FW90_DATAORA (invalid when it cannot be read).
  static QDateTime ParseTime(const QString& text);

  // Reads the table again; false (and no rows) when it cannot be read.
  bool Reload();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  struct Entry {
    QDateTime time;
    int event = 0;
    QString cells[kColumnCount];
  };
  static Entry Read(const QString& time, const QString& login, int event, const QString& text);

  ConnectionProvider provider_;
  std::vector<Entry> entries_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_CHANGE_LOG_MODEL_H_
