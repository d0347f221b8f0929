#include "hostapp/row_image_model.h"

#include <QStringList>

#include "journal/journal_summary.h"
#include "journal/journal_table.h"
#include "journal/row_text.h"

namespace orv::hostapp {

namespace {

using journal::JournalTable;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "FW31_FLGABILITATO" reads "abilitato".
QString FlagName(std::string_view column) {
  const size_t flag = column.find("FLG");
  const std::string_view name = flag == std::string_view::npos ? column.substr(column.find('_') + 1)
                                                               : column.substr(flag + 3);
  return Q(name).toLower();
}

// The field `column` of a key text, or nothing.
std::optional<std::string> KeyField(const JournalTable& table, std::string_view key,
                                    std::string_view column) {
  const int i = table.KeyIndex(column);
  const journal::RowText::Fields fields = journal::RowText::Split(key);
  if (i < 0 || static_cast<size_t>(i) >= fields.size()) return std::nullopt;
  return fields[static_cast<size_t>(i)];
}

}  // namespace

RowImageModel::RowImageModel(PrincipalNamer namer, QObject* parent)
    : QAbstractTableModel(parent), namer_(std::move(namer)) {}

void RowImageModel::SetImages(std::vector<journal::RowImage> images, int32_t section) {
  beginResetModel();
  images_ = std::move(images);
  section_ = section;
  endResetModel();
}

QString RowImageModel::Describe(std::string_view table_name,
                                const std::optional<std::string>& values) {
  const JournalTable* table = JournalTable::Find(table_name);
  if (table_name == JournalTable::kSettings) {
    if (!values) return tr("nessuna impostazione");
    const journal::RowText::Fields fields = journal::RowText::Split(*values);
    const bool on = fields.size() > 1 && fields[1] && *fields[1] == "1";
    return on ? tr("revoche attive") : tr("revoche non attive");
  }
  const QString state =
      journal::JournalSummary::Allowed(table_name, values) ? tr("consentito") : tr("revocato");
  if (!values) return tr("%1 (nessuna riga)").arg(state);
  if (table == nullptr || table->values.empty()) return state;
  const journal::RowText::Fields fields = journal::RowText::Split(*values);
  QStringList flags;
  for (size_t i = 0; i < table->values.size() && i < fields.size(); ++i) {
    const std::optional<std::string>& f = fields[i];
    const QString value = !f          ? QStringLiteral("—")
                          : *f == "0" ? tr("no")
                          : *f == "1" ? tr("sì")
                                      : Q(*f);
    flags << FlagName(table->values[i].name) + QLatin1Char(' ') + value;
  }
  return state + QStringLiteral(" (") + flags.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString RowImageModel::SectionOf(std::string_view table_name, std::string_view key,
                                 int32_t section) {
  using journal::JournalSummary;
  int32_t code = section;
  if (table_name == JournalTable::kParameters) {
    const JournalTable* table = JournalTable::Find(table_name);
    const std::optional<std::string> kind =
        table ? KeyField(*table, key, "FW31_INDTIPO") : std::nullopt;
    if (kind) code = Q(*kind).trimmed().toInt();
  } else if (table_name == JournalTable::kCliFor) {
    code = 24;
  } else if (table_name == JournalTable::kFamilies) {
    code = 31;
  } else if (table_name == JournalTable::kTransfers) {
    code = 32;
  } else if (table_name == JournalTable::kNodes) {
    code = 33;
  } else if (table_name == JournalTable::kSettings) {
    return tr("Abilitazione revoche");
  }
  return code == 0 ? Q(table_name) : Q(JournalSummary::SectionTitle(code));
}

QString RowImageModel::Principal(const journal::RowImage& image) const {
  const JournalTable* table = JournalTable::Find(image.table);
  if (table == nullptr || !table->has_principal()) return {};
  for (const bool user : {true, false}) {
    const std::optional<std::string> id =
        KeyField(*table, image.key, user ? table->user_column : table->group_column);
    if (!id || id->empty()) continue;
    const int64_t n = Q(*id).trimmed().toLongLong();
    if (namer_) return namer_(user, n);
    return (user ? tr("utente %1") : tr("gruppo %1")).arg(n);
  }
  return {};
}

int RowImageModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(images_.size());
}

int RowImageModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant RowImageModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const journal::RowImage& image = images_[static_cast<size_t>(index.row())];
  if (role == Qt::ToolTipRole) {
    // The stored texts, for whoever reads the tables too.
    return Q(image.table) + QStringLiteral(" [") + Q(image.key) + QStringLiteral("]: ") +
           (image.before ? Q(*image.before) : QStringLiteral("NULL")) + QStringLiteral(" → ") +
           (image.after ? Q(*image.after) : QStringLiteral("NULL"));
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case kSection:
      return SectionOf(image.table, image.key, section_);
    case kPrincipal:
      return Principal(image);
    case kItem:
      return Q(journal::JournalSummary::Item(image.table, image.key));
    case kBefore:
      return Describe(image.table, image.before);
    case kAfter:
      return Describe(image.table, image.after);
    default:
      return {};
  }
}

QVariant RowImageModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kSection:
      return tr("Sezione");
    case kPrincipal:
      return tr("Utente/gruppo");
    case kItem:
      return tr("Voce");
    case kBefore:
      return tr("Prima");
    case kAfter:
      return tr("Dopo");
    default:
      return {};
  }
}

}  // namespace orv::hostapp
