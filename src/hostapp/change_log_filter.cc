#include "hostapp/change_log_filter.h"

#include <QStringList>

#include "hostapp/change_log_model.h"

namespace orv::hostapp {
namespace {

QString CsvField(QString text) {
  text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

ChangeLogFilter::ChangeLogFilter(QObject* parent) : QSortFilterProxyModel(parent) {
  setSortRole(ChangeLogModel::kSortRole);
  setSortCaseSensitivity(Qt::CaseInsensitive);
}

void ChangeLogFilter::SetPrincipal(const QString& text) {
  principal_ = text.trimmed();
  invalidateRowsFilter();
}

void ChangeLogFilter::SetLogin(const QString& text) {
  login_ = text.trimmed();
  invalidateRowsFilter();
}

void ChangeLogFilter::SetEvent(int event) {
  event_ = event;
  invalidateRowsFilter();
}

void ChangeLogFilter::SetDays(const QDate& from, const QDate& to) {
  from_ = from;
  to_ = to;
  invalidateRowsFilter();
}

bool ChangeLogFilter::filterAcceptsRow(int source_row, const QModelIndex& source_parent) const {
  const QAbstractItemModel* model = sourceModel();
  const auto cell = [&](int column, int role = Qt::DisplayRole) {
    return model->index(source_row, column, source_parent).data(role);
  };
  if (!principal_.isEmpty() &&
      !cell(ChangeLogModel::kPrincipal).toString().contains(principal_, Qt::CaseInsensitive)) {
    return false;
  }
  if (!login_.isEmpty() &&
      cell(ChangeLogModel::kLogin).toString().compare(login_, Qt::CaseInsensitive) != 0) {
    return false;
  }
  if (event_ != 0 && cell(ChangeLogModel::kEvent, ChangeLogModel::kEventRole).toInt() != event_) {
    return false;
  }
  if (from_.isValid() || to_.isValid()) {
    const QDateTime time = cell(ChangeLogModel::kTime, ChangeLogModel::kSortRole).toDateTime();
    if (!time.isValid()) return false;
    if (from_.isValid() && time.date() < from_) return false;
    if (to_.isValid() && time.date() > to_) return false;
  }
  return true;
}

QString ChangeLogFilter::ToCsv() const {
  QStringList lines;
  QStringList header;
  for (int c = 0; c < columnCount(); ++c)
    header << CsvField(headerData(c, Qt::Horizontal).toString());
  lines << header.join(QLatin1Char(';'));
  for (int r = 0; r < rowCount(); ++r) {
    QStringList fields;
    for (int c = 0; c < columnCount(); ++c) fields << CsvField(index(r, c).data().toString());
    lines << fields.join(QLatin1Char(';'));
  }
  return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

}  // namespace orv::hostapp
