#include "hostapp/journal_model.h"

#include <QBrush>
#include <QPalette>

#include "journal/gesture.h"
#include "journal/journal_summary.h"

namespace orv::hostapp {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

JournalModel::JournalModel(PrincipalNamer namer, QObject* parent)
    : QAbstractTableModel(parent), namer_(std::move(namer)) {}

void JournalModel::SetEntries(std::vector<journal::JournalEntry> entries) {
  beginResetModel();
  entries_ = std::move(entries);
  principals_.clear();
  principals_.reserve(entries_.size());
  for (const journal::JournalEntry& e : entries_) {
    principals_.push_back(namer_ ? namer_(e) : QString());
  }
  endResetModel();
}

int JournalModel::RowOf(int64_t id) const {
  for (size_t r = 0; r < entries_.size(); ++r) {
    if (entries_[r].id == id) return static_cast<int>(r);
  }
  return -1;
}

QDateTime JournalModel::ParseTime(const std::string& text) {
  return QDateTime::fromString(Q(text), QStringLiteral("yyyyMMdd HH:mm:ss"));
}

QString JournalModel::State(const journal::JournalEntry& entry) {
  if (entry.undone) return tr("annullata");
  if (entry.undo_of != 0) return tr("annulla N° %1").arg(entry.undo_of);
  if (entry.redo_of != 0) return tr("ripete N° %1").arg(entry.redo_of);
  return {};
}

int JournalModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int JournalModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QString JournalModel::Cell(const journal::JournalEntry& e, int column) const {
  switch (column) {
    case kId:
      return QString::number(e.id);
    case kTime: {
      const QDateTime time = ParseTime(e.when);
      return time.isValid() ? time.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : Q(e.when);
    }
    case kLogin:
      return Q(e.login);
    case kCompany:
      return QString::number(e.company);
    case kSection:
      return e.section == 0 ? QString() : Q(journal::JournalSummary::SectionTitle(e.section));
    case kGesture:
      return Q(std::string(journal::GestureLabel(e.kind)));
    case kSummary:
      return Q(e.summary);
    case kRows:
      return QString::number(e.image_count);
    case kState:
      return State(e);
    default:
      return {};
  }
}

QVariant JournalModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const journal::JournalEntry& e = entries_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return index.column() == kPrincipal ? principals_[static_cast<size_t>(index.row())]
                                          : Cell(e, index.column());
    case Qt::ToolTipRole:
      return index.column() == kSummary || index.column() == kPrincipal
                 ? data(index, Qt::DisplayRole)
                 : QVariant();
    case Qt::TextAlignmentRole:
      return index.column() == kId || index.column() == kRows || index.column() == kCompany
                 ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                 : QVariant();
    case Qt::ForegroundRole:
      // An entry already put back reads as history.
      return e.undone ? QVariant::fromValue(QPalette().brush(QPalette::Disabled, QPalette::Text))
                      : QVariant();
    case kIdRole:
      return QVariant::fromValue<qint64>(e.id);
    default:
      return {};
  }
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kId:
      return tr("N°");
    case kTime:
      return tr("Data e ora");
    case kLogin:
      return tr("Accesso");
    case kCompany:
      return tr("Ditta");
    case kPrincipal:
      return tr("Utente/gruppo");
    case kSection:
      return tr("Sezione");
    case kGesture:
      return tr("Gesto");
    case kSummary:
      return tr("Descrizione");
    case kRows:
      return tr("Righe");
    case kState:
      return tr("Stato");
    default:
      return {};
  }
}

}  // namespace orv::hostapp
