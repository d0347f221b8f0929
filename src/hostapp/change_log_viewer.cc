#include "hostapp/change_log_viewer.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QVBoxLayout>

#include "hostapp/date_filter_edit.h"

namespace orv::hostapp {
ChangeLogViewer::ChangeLogViewer(ChangeLogModel::ConnectionProvider provider, QWidget* parent)
    : QDialog(parent), model_(std::move(provider)) {
  setObjectName(QStringLiteral("ChangeLogViewer"));
  setWindowTitle(tr("Registro modifiche"));
  filter_.setSourceModel(&model_);

  principal_ = new QLineEdit(this);
  principal_->setObjectName(QStringLiteral("ChangeLogPrincipal"));
  principal_->setPlaceholderText(tr("Utente o gruppo"));
  principal_->setClearButtonEnabled(true);
  event_ = new QComboBox(this);
  event_->setObjectName(QStringLiteral("ChangeLogEvent"));
  event_->addItem(tr("Tutti gli eventi"), 0);
  for (int event : {11, 15, 16}) event_->addItem(ChangeLogModel::EventName(event), event);
  login_ = new QComboBox(this);
  login_->setObjectName(QStringLiteral("ChangeLogLogin"));
  from_ = new DateFilterEdit(QStringLiteral("ChangeLogFrom"), this);
  to_ = new DateFilterEdit(QStringLiteral("ChangeLogTo"), this);
  auto* filters = new QHBoxLayout;
  filters->addWidget(new QLabel(tr("Chi:"), this));
  filters->addWidget(principal_, 2);
  filters->addWidget(new QLabel(tr("Evento:"), this));
  filters->addWidget(event_, 1);
  filters->addWidget(new QLabel(tr("Dal:"), this));
  filters->addWidget(from_);
  filters->addWidget(new QLabel(tr("Al:"), this));
  filters->addWidget(to_);
  filters->addWidget(new QLabel(tr("Accesso:"), this));
  filters->addWidget(login_, 1);

  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("ChangeLogTable"));
  table_->setModel(&filter_);
  table_->setSortingEnabled(true);
  table_->sortByColumn(ChangeLogModel::kTime, Qt::DescendingOrder);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  count_ = new QLabel(this);
  count_->setObjectName(QStringLiteral("ChangeLogCount"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* reload = buttons->addButton(tr("Aggiorna"), QDialogButtonBox::ActionRole);
  QPushButton* csv = buttons->addButton(tr("Esporta CSV…"), QDialogButtonBox::ActionRole);
  csv->setObjectName(QStringLiteral("ChangeLogExport"));
  csv->setToolTip(tr("Salva le righe mostrate, con i filtri e l'ordine attuali"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(table_, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(count_, 1);
  bottom->addWidget(buttons);
  layout->addLayout(bottom);

  connect(principal_, &QLineEdit::textChanged, this, [this] { ApplyFilters(); });
  connect(event_, &QComboBox::currentIndexChanged, this, [this] { ApplyFilters(); });
  connect(login_, &QComboBox::currentIndexChanged, this, [this] { ApplyFilters(); });
  connect(from_, &QDateEdit::dateChanged, this, [this] { ApplyFilters(); });
  connect(to_, &QDateEdit::dateChanged, this, [this] { ApplyFilters(); });
  connect(reload, &QPushButton::clicked, this, [this] { Reload(); });
  connect(csv, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, tr("Esporta il registro"),
                                                      QStringLiteral("registro-modifiche.csv"),
                                                      tr("File CSV (*.csv)"));
    if (path.isEmpty()) return;
    if (!ExportCsv(path)) {
      QMessageBox::warning(this, windowTitle(), tr("Impossibile scrivere %1").arg(path));
    }
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Reload();
  resize(1100, 520);
}

void ChangeLogViewer::Reload() {
  model_.Reload();
  // The logins that wrote entries, for the login filter.
  const QString chosen = login_->currentData().toString();
  QSet<QString> seen;
  QStringList logins;
  for (int r = 0; r < model_.rowCount(); ++r) {
    const QString login = model_.index(r, ChangeLogModel::kLogin).data().toString();
    if (!seen.contains(login)) {
      seen.insert(login);
      logins << login;
    }
  }
  logins.sort(Qt::CaseInsensitive);
  login_->blockSignals(true);
  login_->clear();
  login_->addItem(tr("Tutti"), QString());
  for (const QString& login : logins) login_->addItem(login, login);
  login_->setCurrentIndex(std::max(0, login_->findData(chosen)));
  login_->blockSignals(false);
  table_->resizeColumnsToContents();
  ApplyFilters();
}

void ChangeLogViewer::ApplyFilters() {
  filter_.SetPrincipal(principal_->text());
  filter_.SetEvent(event_->currentData().toInt());
  filter_.SetLogin(login_->currentData().toString());
  filter_.SetDays(from_->day(), to_->day());
  count_->setText(tr("%1 voci su %2").arg(filter_.rowCount()).arg(model_.rowCount()));
}

bool ChangeLogViewer::ExportCsv(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  // A byte-order mark lets spreadsheets read the accents right.
  const QByteArray data = QByteArray("\xEF\xBB\xBF") + filter_.ToCsv().toUtf8();
  return file.write(data) == data.size();
}

}  // namespace orv::hostapp
