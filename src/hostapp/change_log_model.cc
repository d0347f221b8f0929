#include "hostapp/change_log_model.h"

#include <QtGlobal>
#include <exception>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

ChangeLogModel::ChangeLogModel(ConnectionProvider provider, QObject* parent)
    : QAbstractTableModel(parent), provider_(std::move(provider)) {}

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
      entries.push_back(
          {text("FW90_DATAORA"), text("FW90_LOGIN"), text("FW90_EVENTO"), text("FW90_TESTO")});
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
  return parent.isValid() ? 0 : 4;
}

QVariant ChangeLogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= 4) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const Entry& e = entries_[index.row()];
  switch (index.column()) {
    case 0:
      return e.time;
    case 1:
      return e.login;
    case 2:
      return e.event;
    default:
      return e.text;
  }
}

QVariant ChangeLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case 0:
      return QStringLiteral("Data e ora");
    case 1:
      return QStringLiteral("Utente");
    case 2:
      return QStringLiteral("Evento");
    case 3:
      return QStringLiteral("Descrizione");
    default:
      return {};
  }
}

}  // namespace orv::hostapp
