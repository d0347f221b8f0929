#ifndef ORV_HOSTAPP_CHANGE_LOG_FILTER_H_
#define ORV_HOSTAPP_CHANGE_LOG_FILTER_H_

#include <QDate>
#include <QSortFilterProxyModel>
#include <QString>

namespace orv::hostapp {

// The change log as the viewer's filters narrow it (a principal's name in
// part, a login, an event number, a range of days) and sorted by any column; the time
// column sorts by time, not by its text.
class ChangeLogFilter : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit ChangeLogFilter(QObject* parent = nullptr);

  void SetPrincipal(const QString& text);
  void SetLogin(const QString& text);
  void SetEvent(int event);  // 0: every event
  // Days from and to, both included; an invalid date leaves that side open.
  void SetDays(const QDate& from, const QDate& to);

  // The rows shown, in the order shown, as CSV (";" between fields, every
  // field quoted, a header line first).
  QString ToCsv() const;

 protected:
  bool filterAcceptsRow(int source_row, const QModelIndex& source_parent) const override;

 private:
  QString principal_;
  QString login_;
  int event_ = 0;
  QDate from_;
  QDate to_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_CHANGE_LOG_FILTER_H_
