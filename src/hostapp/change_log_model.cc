#include "hostapp/change_log_model.h"

#include <QCoreApplication>
#include <QMap>
#include <exception>
#include <string>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostapp/recordset_cells.h"

namespace orv::hostapp {
namespace {

QString Tr(const char* text) { return QCoreApplication::translate("ChangeLogModel", text); }

// "Si"/"No" (and the switch's "Attivo"/"Non attivo") as the outcome.
QString Outcome(const QString& flag) {
  if (flag == QLatin1String("Si")) return Tr("Abilitato");
  if (flag == QLatin1String("No")) return Tr("Revocato");
  return flag;
}

}  // namespace

ChangeLogModel::ChangeLogModel(ConnectionProvider provider, QObject* parent)
    : QAbstractTableModel(parent), provider_(std::move(provider)) {}

QString ChangeLogModel::EventName(int event) {
  switch (event) {
    case 11:
      return Tr("Abilitazione revoche");
    case 15:
      return Tr("Revoca clienti/fornitori");
    case 16:
      return Tr("Revoca parametri, progetti e nodi");
    default:
      return Tr("Evento %1").arg(event);
  }
}

QDateTime ChangeLogModel::ParseTime(const QString& text) {
  const QString trimmed = text.trimmed();
  for (const QString& format :
       {QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-ddTHH:mm:ss"),
        QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"), QStringLiteral("dd/MM/yyyy HH:mm:ss"),
        QStringLiteral("dd/MM/yyyy HH:mm"), QStringLiteral("yyyy-MM-dd")}) {
    const QDateTime time = QDateTime::fromString(trimmed, format);
    if (time.isValid()) return time;
  }
  return QDateTime::fromString(trimmed, Qt::ISODate);
}

ChangeLogModel::Entry ChangeLogModel::Read(const QString& time, const QString& login, int event,
                                           const QString& text) {
  Entry e;
  e.time = ParseTime(time);
  e.event = event;
  e.cells[kTime] = e.time.isValid() ? e.time.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : time;
  e.cells[kLogin] = login;
  e.cells[kEvent] = EventName(event);
  e.cells[kText] = text.trimmed();
  // The pieces: "Gruppo: x", "Utente: y", "n: detail".
  QString group, user;
  QMap<int, QString> details;
  for (const QString& piece : text.split(QStringLiteral("; "))) {
    const qsizetype colon = piece.indexOf(QStringLiteral(": "));
    if (colon < 0) continue;
    const QString key = piece.left(colon).trimmed();
    QString value = piece.mid(colon + 2).trimmed();
    if (value.endsWith(QLatin1Char(';'))) value.chop(1);  // the last piece, its blank trimmed
    bool number = false;
    const int n = key.toInt(&number);
    if (number) {
      details.insert(n, value);
    } else if (key == QLatin1String("Gruppo")) {
      group = value;
    } else if (key == QLatin1String("Utente")) {
      user = value;
    }
  }
  e.cells[kPrincipal] = !group.isEmpty()  ? Tr("Gruppo: %1").arg(group)
                        : !user.isEmpty() ? Tr("Utente: %1").arg(user)
                                          : QString();
  switch (event) {
    case 11:
      e.cells[kSection] = Tr("Tutta l'installazione");
      e.cells[kOutcome] = details.value(1);
      break;
    case 15:
      e.cells[kSection] = Tr("Clienti/Fornitori");
      e.cells[kCompany] = details.value(1);
      e.cells[kCodes] = details.value(2);
      e.cells[kOutcome] = Outcome(details.value(6));
      break;
    case 16:
      e.cells[kSection] = details.value(1);
      e.cells[kCodes] = details.value(3);
      e.cells[kOutcome] = Outcome(details.value(4));
      break;
    default:
      break;
  }
  return e;
}

bool ChangeLogModel::Reload() {
  std::vector<Entry> entries;
  bool ok = true;
  try {
    std::shared_ptr<db::Connection> connection = provider_ ? provider_() : nullptr;
    if (!connection) return false;
    auto rs = connection->Execute("SELECT TOP " + std::to_string(kLimit) +
                                  " FW90_DATAORA, FW90_LOGIN, FW90_EVENTO, FW90_TESTO"
                                  " FROM FW90_LOGMODIFICHE ORDER BY FW90_ID DESC");
    for (; rs && rs->IsOpen() && !rs->IsEof(); rs->MoveNext()) {
      auto text = [&](const char* field) {
        return QString::fromStdString(RecordsetCells::Text(rs->Field(field)));
      };
      const db::Value& event = rs->Field("FW90_EVENTO");
      entries.push_back(Read(text("FW90_DATAORA"), text("FW90_LOGIN"),
                             event.IsNull() ? 0 : event.ToInt32(), text("FW90_TESTO")));
    }
  } catch (const std::exception& e) {
    qWarning("change log: %s", e.what());
    ok = false;
  }
  beginResetModel();
  entries_ = std::move(entries);
  endResetModel();
  return ok;
}

int ChangeLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int ChangeLogModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ChangeLogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumnCount) return {};
  const Entry& e = entries_[index.row()];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return e.cells[index.column()];
    case kEventRole:
      return e.event;
    case kSortRole:
      if (index.column() == kTime && e.time.isValid()) return e.time;
      return e.cells[index.column()];
    default:
      return {};
  }
}

QVariant ChangeLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kTime:
      return Tr("Data e ora");
    case kLogin:
      return Tr("Accesso");
    case kEvent:
      return Tr("Evento");
    case kPrincipal:
      return Tr("Utente o gruppo");
    case kSection:
      return Tr("Sezione o voce");
    case kCompany:
      return Tr("Azienda");
    case kCodes:
      return Tr("Codici");
    case kOutcome:
      return Tr("Esito");
    case kText:
      return Tr("Testo registrato");
    default:
      return {};
  }
}

}  // namespace orv::hostapp
