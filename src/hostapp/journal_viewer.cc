#include "hostapp/journal_viewer.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "db/connection.h"
#include "hostapp/date_filter_edit.h"
#include "journal/journal_report.h"
#include "journal/journal_summary.h"
#include "journal/principal_names.h"
#include "profile/principal_directory.h"

namespace orv::hostapp {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QTableView* MakeTable(QWidget* parent, const QString& name, QAbstractItemModel* model) {
  auto* table = new QTableView(parent);
  table->setObjectName(name);
  table->setModel(model);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setWordWrap(false);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setStretchLastSection(true);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  return table;
}

}  // namespace

JournalViewer::JournalViewer(Source source, QWidget* parent)
    : QDialog(parent),
      source_(std::move(source)),
      model_([this](const journal::JournalEntry& e) { return EntryPrincipal(e); }),
      images_([this](bool user, int64_t id) { return PrincipalName(user, id); }),
      log_(source_.connection) {
  setObjectName(QStringLiteral("JournalViewer"));
  setWindowTitle(tr("Giornale delle modifiche"));
  log_filter_.setSourceModel(&log_);

  principal_ = new QComboBox(this);
  principal_->setObjectName(QStringLiteral("JournalPrincipal"));
  section_ = new QComboBox(this);
  section_->setObjectName(QStringLiteral("JournalSection"));
  login_ = new QComboBox(this);
  login_->setObjectName(QStringLiteral("JournalLogin"));
  from_ = new DateFilterEdit(QStringLiteral("JournalFrom"), this);
  to_ = new DateFilterEdit(QStringLiteral("JournalTo"), this);
  auto* filters = new QHBoxLayout;
  filters->addWidget(new QLabel(tr("Utente/gruppo:"), this));
  filters->addWidget(principal_, 2);
  filters->addWidget(new QLabel(tr("Sezione:"), this));
  filters->addWidget(section_, 1);
  filters->addWidget(new QLabel(tr("Accesso:"), this));
  filters->addWidget(login_, 1);
  filters->addWidget(new QLabel(tr("Dal:"), this));
  filters->addWidget(from_);
  filters->addWidget(new QLabel(tr("Al:"), this));
  filters->addWidget(to_);

  table_ = MakeTable(this, QStringLiteral("JournalTable"), &model_);
  rows_ = MakeTable(this, QStringLiteral("JournalRows"), &images_);
  log_table_ = MakeTable(this, QStringLiteral("JournalChangeLog"), &log_filter_);
  log_table_->setSortingEnabled(true);
  log_table_->sortByColumn(ChangeLogModel::kTime, Qt::DescendingOrder);
  auto* rows_box = new QGroupBox(tr("Righe cambiate dalla modifica scelta"), this);
  (new QVBoxLayout(rows_box))->addWidget(rows_);
  auto* log_box = new QGroupBox(tr("Registro modifiche dell'host"), this);
  (new QVBoxLayout(log_box))->addWidget(log_table_);
  auto* below = new QSplitter(Qt::Horizontal, this);
  below->addWidget(rows_box);
  below->addWidget(log_box);
  below->setStretchFactor(0, 3);
  below->setStretchFactor(1, 2);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->setObjectName(QStringLiteral("JournalSplitter"));
  split->addWidget(table_);
  split->addWidget(below);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);

  count_ = new QLabel(this);
  count_->setObjectName(QStringLiteral("JournalCount"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  revert_ = buttons->addButton(tr("Annulla questa modifica"), QDialogButtonBox::ActionRole);
  revert_->setObjectName(QStringLiteral("JournalRevert"));
  revert_->setToolTip(
      tr("Rimette le revoche come erano prima della modifica scelta, se nessuno le ha "
         "cambiate dopo"));
  revert_->setVisible(static_cast<bool>(source_.revert));
  QPushButton* reload = buttons->addButton(tr("Aggiorna"), QDialogButtonBox::ActionRole);
  reload->setObjectName(QStringLiteral("JournalReload"));
  QPushButton* csv = buttons->addButton(tr("Esporta CSV…"), QDialogButtonBox::ActionRole);
  csv->setObjectName(QStringLiteral("JournalExport"));
  csv->setToolTip(tr("Salva le modifiche mostrate, con i filtri attuali"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  if (!source_.persistent) {
    auto* memory =
        new QLabel(tr("Il database non ha le tabelle del giornale: le modifiche restano in memoria "
                      "fino alla chiusura dell'editor."),
                   this);
    memory->setObjectName(QStringLiteral("JournalInMemory"));
    memory->setWordWrap(true);
    layout->addWidget(memory);
  }
  layout->addWidget(split, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(count_, 1);
  bottom->addWidget(buttons);
  layout->addLayout(bottom);

  for (QComboBox* combo : {principal_, section_, login_}) {
    connect(combo, &QComboBox::currentIndexChanged, this, [this] {
      if (!filling_) ApplyFilters();
    });
  }
  connect(from_, &QDateEdit::dateChanged, this, [this] { ApplyFilters(); });
  connect(to_, &QDateEdit::dateChanged, this, [this] { ApplyFilters(); });
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { ShowChosen(); });
  connect(revert_, &QPushButton::clicked, this, [this] { RevertChosen(); });
  connect(reload, &QPushButton::clicked, this, [this] { Reload(); });
  connect(csv, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, tr("Esporta il giornale"),
                                                      QStringLiteral("giornale-modifiche.csv"),
                                                      tr("File CSV (*.csv)"));
    if (path.isEmpty()) return;
    if (!ExportCsv(path)) {
      QMessageBox::warning(this, windowTitle(), tr("Impossibile scrivere %1").arg(path));
    }
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Reload();
  resize(1200, 640);
}

QString JournalViewer::PrincipalName(bool user, int64_t id) {
  const QString key = (user ? QStringLiteral("U") : QStringLiteral("G")) + QString::number(id);
  auto found = names_.constFind(key);
  if (found != names_.constEnd()) return *found;
  QString name;
  std::shared_ptr<db::Connection> cn = source_.connection ? source_.connection() : nullptr;
  if (cn) {
    try {
      profile::PrincipalDirectory directory(*cn);
      const profile::NamedPrincipal p = user ? directory.User(id) : directory.Group(id);
      name = Q(p.principal.name().empty() ? p.code : p.principal.name());
    } catch (...) {
      cn->ClearErrors();  // a principal deleted since: its number
    }
  }
  if (name.isEmpty()) name = QString::number(id);
  name = (user ? tr("Utente %1") : tr("Gruppo %1")).arg(name);
  names_.insert(key, name);
  return name;
}

QString JournalViewer::EntryPrincipal(const journal::JournalEntry& e) {
  if (e.principal_kind == journal::JournalEntry::kUser) return PrincipalName(true, e.principal_id);
  if (e.principal_kind == journal::JournalEntry::kGroup) {
    return PrincipalName(false, e.principal_id);
  }
  if (e.principal_kind == journal::JournalEntry::kAll) return tr("Tutti gli utenti e i gruppi");
  return {};
}

void JournalViewer::FillChoices(const std::vector<journal::JournalEntry>& all) {
  // What the journal holds, to choose from; the choices stay.
  const QString principal = principal_->currentData().toString();
  const int section = section_->currentData().toInt();
  const QString login = login_->currentData().toString();
  std::map<QString, QString> principals;  // name -> "KIND:ID"
  std::set<int32_t> sections;
  QSet<QString> logins_seen;
  QStringList logins;
  for (const journal::JournalEntry& e : all) {
    if (!e.principal_kind.empty()) {
      principals.emplace(EntryPrincipal(e),
                         Q(e.principal_kind) + QLatin1Char(':') + QString::number(e.principal_id));
    }
    if (e.section != 0) sections.insert(e.section);
    const QString l = Q(e.login);
    if (!logins_seen.contains(l)) {
      logins_seen.insert(l);
      logins << l;
    }
  }
  logins.sort(Qt::CaseInsensitive);
  filling_ = true;
  principal_->clear();
  principal_->addItem(tr("Tutti"), QString());
  for (const auto& [name, data] : principals) principal_->addItem(name, data);
  section_->clear();
  section_->addItem(tr("Tutte"), 0);
  for (int32_t s : sections) section_->addItem(Q(journal::JournalSummary::SectionTitle(s)), s);
  login_->clear();
  login_->addItem(tr("Tutti"), QString());
  for (const QString& l : logins) login_->addItem(l, l);
  principal_->setCurrentIndex(std::max(0, principal_->findData(principal)));
  section_->setCurrentIndex(std::max(0, section_->findData(section)));
  login_->setCurrentIndex(std::max(0, login_->findData(login)));
  filling_ = false;
}

void JournalViewer::Reload() {
  names_.clear();
  std::vector<journal::JournalEntry> all;
  if (source_.entries) all = source_.entries({});
  FillChoices(all);
  log_.Reload();
  ApplyFilters();
  table_->resizeColumnsToContents();
  log_table_->resizeColumnsToContents();
}

journal::JournalFilter JournalViewer::Filter() const {
  journal::JournalFilter filter;
  const QStringList principal = principal_->currentData().toString().split(QLatin1Char(':'));
  if (principal.size() == 2) {
    filter.principal_kind = principal[0].toStdString();
    if (filter.principal_kind != journal::JournalEntry::kAll) {
      filter.principal_id = principal[1].toLongLong();
    }
  }
  if (const int section = section_->currentData().toInt(); section != 0) filter.section = section;
  filter.login = login_->currentData().toString().toStdString();
  if (from_->day().isValid()) {
    filter.from = from_->day().toString(QStringLiteral("yyyyMMdd")).toStdString();
  }
  if (to_->day().isValid())
    filter.to = to_->day().toString(QStringLiteral("yyyyMMdd")).toStdString();
  return filter;
}

void JournalViewer::ApplyFilters() {
  const int64_t chosen = Chosen();
  model_.SetEntries(source_.entries ? source_.entries(Filter())
                                    : std::vector<journal::JournalEntry>{});
  // The host's change log beside it, narrowed alike (it names principals by name).
  const QString principal =
      principal_->currentIndex() > 0 && !principal_->currentData().toString().startsWith(
                                            Q(std::string(journal::JournalEntry::kAll)))
          ? principal_->currentText().mid(principal_->currentText().indexOf(QLatin1Char(' ')) + 1)
          : QString();
  log_filter_.SetPrincipal(principal);
  log_filter_.SetLogin(login_->currentData().toString());
  log_filter_.SetDays(from_->day(), to_->day());
  const int entries = model_.rowCount();
  const int log_entries = log_filter_.rowCount();
  count_->setText(
      (entries == 1 ? tr("1 modifica") : tr("%1 modifiche").arg(entries)) + QStringLiteral("; ") +
      (log_entries == 1 ? tr("1 voce del registro") : tr("%1 voci del registro").arg(log_entries)));
  if (chosen == 0 || !Choose(chosen)) {
    if (model_.rowCount() > 0) {
      table_->setCurrentIndex(model_.index(0, 0));
    } else {
      ShowChosen();
    }
  }
}

void JournalViewer::SetPrincipalFilter(const QString& kind, int64_t id) {
  if (kind.isEmpty()) {
    principal_->setCurrentIndex(0);
    return;
  }
  const QString data =
      kind + QLatin1Char(':') +
      QString::number(kind == Q(std::string(journal::JournalEntry::kAll)) ? 0 : id);
  int at = principal_->findData(data);
  if (at < 0) {
    journal::JournalEntry e;
    e.principal_kind = kind.toStdString();
    e.principal_id = id;
    principal_->addItem(EntryPrincipal(e), data);
    at = principal_->count() - 1;
  }
  principal_->setCurrentIndex(at);
}

void JournalViewer::SetSectionFilter(int32_t section) {
  int at = section_->findData(section);
  if (at < 0) {
    section_->addItem(Q(journal::JournalSummary::SectionTitle(section)), section);
    at = section_->count() - 1;
  }
  section_->setCurrentIndex(at);
}

void JournalViewer::SetLoginFilter(const QString& login) {
  int at = login.isEmpty() ? 0 : login_->findData(login);
  if (at < 0) {
    login_->addItem(login, login);
    at = login_->count() - 1;
  }
  login_->setCurrentIndex(at);
}

void JournalViewer::SetDays(const QDate& from, const QDate& to) {
  from_->setDate(from.isValid() ? from : DateFilterEdit::kOpen);
  to_->setDate(to.isValid() ? to : DateFilterEdit::kOpen);
}

bool JournalViewer::Choose(int64_t id) {
  const int row = model_.RowOf(id);
  if (row < 0) return false;
  table_->setCurrentIndex(model_.index(row, 0));
  table_->scrollTo(model_.index(row, 0));
  ShowChosen();
  return true;
}

int64_t JournalViewer::Chosen() const {
  const QModelIndex current = table_->currentIndex();
  return current.isValid() ? current.data(JournalModel::kIdRole).toLongLong() : 0;
}

void JournalViewer::ShowChosen() {
  const int row = model_.RowOf(Chosen());
  if (row < 0) {
    images_.SetImages({}, 0);
    revert_->setEnabled(false);
    return;
  }
  const journal::JournalEntry& e = model_.entries()[static_cast<size_t>(row)];
  images_.SetImages(source_.images ? source_.images(e.id) : std::vector<journal::RowImage>{},
                    e.section);
  rows_->resizeColumnsToContents();
  revert_->setEnabled(static_cast<bool>(source_.revert) && !e.undone);
}

bool JournalViewer::RevertChosen() {
  const int64_t id = Chosen();
  if (id == 0 || !source_.revert) return false;
  const bool applied = source_.revert(id);
  // Applied or refused, the list shows the journal as it now is.
  Reload();
  Choose(id);
  return applied;
}

bool JournalViewer::ExportCsv(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  // A byte-order mark lets spreadsheets read the accents right.
  // Principals by name beside their kind and number, as the listing gives them.
  std::shared_ptr<db::Connection> cn = source_.connection ? source_.connection() : nullptr;
  std::optional<journal::PrincipalNames> names;
  if (cn) names.emplace(*cn);
  const std::string csv = journal::JournalReport::Csv(
      model_.entries(),
      [&](const journal::JournalEntry& e) { return names ? names->Of(e) : std::string(); });
  const QByteArray data = QByteArray("\xEF\xBB\xBF") + QByteArray::fromStdString(csv);
  return file.write(data) == data.size();
}

}  // namespace orv::hostapp
