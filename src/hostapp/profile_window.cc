#include "hostapp/profile_window.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "db/connection.h"
#include "db/recordset.h"
#include "profile/effective_profile.h"
#include "profile/profile_comparison.h"
#include "profile/profile_document.h"
#include "profile/profile_import.h"
#include "profile/profile_reader.h"
#include "profile/profile_report.h"
#include "profile/where_used.h"

namespace orv::hostapp {
namespace {

using profile::NamedPrincipal;
using profile::ProfileReport;
using profile::ProfileRow;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QList<QStandardItem*> Cells(const QStringList& texts) {
  QList<QStandardItem*> cells;
  for (const QString& text : texts) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    cells.push_back(item);
  }
  return cells;
}

QStringList RowTexts(const ProfileRow& row) {
  return {Q(ProfileReport::SectionText(row)), QString::number(row.company), Q(row.ItemText()),
          Q(ProfileReport::FlagsText(row))};
}

QTableView* TableOver(QStandardItemModel* model, const QString& name) {
  auto* table = new QTableView;
  table->setObjectName(name);
  table->setModel(model);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->horizontalHeader()->setStretchLastSection(true);
  table->verticalHeader()->hide();
  return table;
}

}  // namespace

ProfileWindow::ProfileWindow(ConnectionProvider provider, std::string login, QWidget* parent)
    : QDialog(parent), provider_(std::move(provider)), login_(std::move(login)) {
  setObjectName(QStringLiteral("ProfileWindow"));
  setWindowTitle(QStringLiteral("Profili di revoca"));
  try {
    std::shared_ptr<db::Connection> cn = Connection();
    profile::PrincipalDirectory directory(*cn);
    auto groups = cn->Execute("SELECT FW06_ID FROM FW06_GROUPUSR ORDER BY FW06_CODICE");
    for (; groups && !groups->IsEof(); groups->MoveNext()) {
      principals_.push_back(directory.Group(groups->Field(0).ToInt64()));
    }
    auto users = cn->Execute("SELECT FW07_ID FROM FW07_APPUSER ORDER BY FW07_NOMEUTENTE");
    for (; users && !users->IsEof(); users->MoveNext()) {
      principals_.push_back(directory.User(users->Field(0).ToInt64()));
    }
  } catch (const std::exception& e) {
    Fail(QStringLiteral("Lettura di utenti e gruppi"), e);
  }
  tabs_ = new QTabWidget;
  tabs_->addTab(EffectivePage(), QStringLiteral("Diritti effettivi"));
  tabs_->addTab(ComparePage(), QStringLiteral("Confronto"));
  tabs_->addTab(WhereUsedPage(), QStringLiteral("Dove è usato"));
  tabs_->addTab(ExchangePage(), QStringLiteral("Esporta/Importa"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  resize(900, 560);
}

std::shared_ptr<db::Connection> ProfileWindow::Connection() {
  std::shared_ptr<db::Connection> cn = provider_ ? provider_() : nullptr;
  if (!cn) throw std::runtime_error("nessuna connessione al database");
  return cn;
}

void ProfileWindow::Fail(const QString& what, const std::exception& e) {
  last_error_ = what.toStdString() + ": " + e.what();
  if (quiet_) return;
  QMessageBox::warning(this, windowTitle(), what + QStringLiteral(": ") + Q(e.what()));
}

void ProfileWindow::ShowPage(Page page) { tabs_->setCurrentIndex(page); }

std::string ProfileWindow::Picture(ConnectionProvider provider, std::string login,
                                   const std::string& view, const std::string& file) {
  ProfileWindow window(std::move(provider), std::move(login));
  window.quiet_ = true;
  auto pick = [&](const char* combo, int principal) {
    if (auto* c = window.findChild<QComboBox*>(QString::fromLatin1(combo))) {
      c->setCurrentIndex(c->findData(principal));
    }
  };
  const size_t colon = view.find(':');
  const std::string what = view.substr(0, colon);
  const std::string arg = colon == std::string::npos ? std::string() : view.substr(colon + 1);
  const size_t comma = arg.find(',');
  const std::string first = arg.substr(0, comma);
  const std::string second = comma == std::string::npos ? std::string() : arg.substr(comma + 1);
  auto index = [&](const std::string& who) {
    return window.IndexOf(who.find(':') == std::string::npos ? "user:" + who : who);
  };
  if (what == "effective") {
    window.ShowPage(kEffective);
    pick("EffectiveUser", index(first));
    window.ShowEffective(index(first));
  } else if (what == "compare") {
    window.ShowPage(kCompare);
    pick("CompareA", index(first));
    pick("CompareB", index(second));
    window.ShowComparison(index(first), index(second));
  } else if (what == "where-used") {
    window.ShowPage(kWhereUsed);
    window.item_->setText(Q(arg));
    window.ShowWhereUsed(Q(arg));
  } else if (what == "import") {
    window.ShowPage(kExchange);
    pick("ExchangePrincipal", index(first));
    window.PreviewImport(index(first), Q(second));
  } else {
    return "unknown profile view " + view;
  }
  if (!window.last_error_.empty()) return window.last_error_;
  window.show();
  for (QTableView* table : window.findChildren<QTableView*>()) table->resizeColumnsToContents();
  if (!window.grab().save(Q(file), "PNG")) return "cannot write " + file;
  return {};
}

int ProfileWindow::IndexOf(const std::string& reference) const {
  for (size_t i = 0; i < principals_.size(); ++i) {
    if (principals_[i].Reference() == reference) return static_cast<int>(i);
  }
  return -1;
}

QString ProfileWindow::note() const { return exchange_note_ ? exchange_note_->text() : QString(); }

QComboBox* ProfileWindow::PrincipalCombo(bool users_only) {
  auto* combo = new QComboBox;
  for (size_t i = 0; i < principals_.size(); ++i) {
    const NamedPrincipal& p = principals_[i];
    if (users_only && !p.IsUser()) continue;
    combo->addItem((p.IsUser() ? QStringLiteral("Utente - ") : QStringLiteral("Gruppo - ")) +
                       Q(p.principal.name()) + QStringLiteral(" (") + Q(p.code) +
                       QStringLiteral(")"),
                   static_cast<int>(i));
  }
  return combo;
}

QWidget* ProfileWindow::EffectivePage() {
  auto* page = new QWidget;
  auto* user = PrincipalCombo(true);
  user->setObjectName(QStringLiteral("EffectiveUser"));
  auto* show = new QPushButton(QStringLiteral("Mostra"));
  effective_note_ = new QLabel;
  effective_note_->setWordWrap(true);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Utente:")));
  top->addWidget(user, 1);
  top->addWidget(show);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(effective_note_);
  layout->addWidget(TableOver(&effective_, QStringLiteral("EffectiveTable")), 1);
  connect(show, &QPushButton::clicked, this,
          [this, user] { ShowEffective(user->currentData().toInt()); });
  return page;
}

void ProfileWindow::ShowEffective(int user_index) {
  effective_.clear();
  effective_.setHorizontalHeaderLabels({QStringLiteral("Sezione"), QStringLiteral("Ditta"),
                                        QStringLiteral("Voce"), QStringLiteral("Stato"),
                                        QStringLiteral("Origine")});
  if (user_index < 0 || user_index >= static_cast<int>(principals_.size())) return;
  try {
    const profile::EffectiveProfile p =
        profile::EffectiveProfile::Read(*Connection(), principals_[user_index]);
    QString note = QStringLiteral("Gruppi:");
    for (const NamedPrincipal& g : p.groups)
      note += QStringLiteral(" ") + Q(g.principal.name()) + ";";
    if (p.groups.empty()) note = QStringLiteral("In nessun gruppo.");
    if (!p.in_force) {
      note += QStringLiteral(
          "\nRevoche non attive: nessuna revoca è in vigore. Le righe varrebbero con le revoche "
          "attive.");
    }
    effective_note_->setText(note);
    for (const profile::EffectiveEntry& entry : p.entries) {
      QStringList texts = RowTexts(entry.row);
      QStringList sources;
      for (const std::string& s : entry.sources) sources << Q(s);
      texts << sources.join(QStringLiteral(", "));
      effective_.appendRow(Cells(texts));
    }
  } catch (const std::exception& e) {
    Fail(QStringLiteral("Diritti effettivi"), e);
  }
}

QWidget* ProfileWindow::ComparePage() {
  auto* page = new QWidget;
  auto* a = PrincipalCombo(false);
  auto* b = PrincipalCombo(false);
  a->setObjectName(QStringLiteral("CompareA"));
  b->setObjectName(QStringLiteral("CompareB"));
  auto* show = new QPushButton(QStringLiteral("Confronta"));
  compare_note_ = new QLabel;
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("A:")));
  top->addWidget(a, 1);
  top->addWidget(new QLabel(QStringLiteral("B:")));
  top->addWidget(b, 1);
  top->addWidget(show);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(compare_note_);
  layout->addWidget(TableOver(&compare_, QStringLiteral("CompareTable")), 1);
  connect(show, &QPushButton::clicked, this,
          [this, a, b] { ShowComparison(a->currentData().toInt(), b->currentData().toInt()); });
  return page;
}

void ProfileWindow::ShowComparison(int a_index, int b_index) {
  compare_.clear();
  compare_.setHorizontalHeaderLabels({QStringLiteral("Dove"), QStringLiteral("Sezione"),
                                      QStringLiteral("Ditta"), QStringLiteral("Voce"),
                                      QStringLiteral("Stato")});
  const int n = static_cast<int>(principals_.size());
  if (a_index < 0 || b_index < 0 || a_index >= n || b_index >= n) return;
  try {
    std::shared_ptr<db::Connection> cn = Connection();
    const NamedPrincipal& a = principals_[a_index];
    const NamedPrincipal& b = principals_[b_index];
    const profile::ProfileComparison c =
        profile::ProfileComparison::Compare(profile::ProfileReader::Read(*cn, a.principal),
                                            profile::ProfileReader::Read(*cn, b.principal));
    for (const ProfileRow& row : c.only_a) {
      compare_.appendRow(Cells(QStringList{QStringLiteral("solo A")} + RowTexts(row)));
    }
    for (const ProfileRow& row : c.only_b) {
      compare_.appendRow(Cells(QStringList{QStringLiteral("solo B")} + RowTexts(row)));
    }
    for (const auto& [ra, rb] : c.changed) {
      QStringList texts = RowTexts(ra);
      texts.back() =
          Q(ProfileReport::FlagsText(ra)) + QStringLiteral(" / ") + Q(ProfileReport::FlagsText(rb));
      compare_.appendRow(Cells(QStringList{QStringLiteral("diversi")} + texts));
    }
    compare_note_->setText(c.Same() ? QStringLiteral("Nessuna differenza.")
                                    : QStringLiteral("%1 solo in A, %2 solo in B, %3 diversi.")
                                          .arg(c.only_a.size())
                                          .arg(c.only_b.size())
                                          .arg(c.changed.size()));
  } catch (const std::exception& e) {
    Fail(QStringLiteral("Confronto"), e);
  }
}

QWidget* ProfileWindow::WhereUsedPage() {
  auto* page = new QWidget;
  item_ = new QLineEdit;
  item_->setObjectName(QStringLiteral("WhereUsedItem"));
  item_->setPlaceholderText(
      QStringLiteral("deposito: warehouse:MP · coppia: transfer:MP:PF · famiglia: family:VERN · "
                     "nodo: node:24001:030 · ramo: clifor:0:AREA:SUD · @DITTA in fondo"));
  auto* find = new QPushButton(QStringLiteral("Cerca"));
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Voce:")));
  top->addWidget(item_, 1);
  top->addWidget(find);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(TableOver(&where_used_, QStringLiteral("WhereUsedTable")), 1);
  connect(find, &QPushButton::clicked, this, [this] { ShowWhereUsed(item_->text()); });
  connect(item_, &QLineEdit::returnPressed, this, [this] { ShowWhereUsed(item_->text()); });
  return page;
}

void ProfileWindow::ShowWhereUsed(const QString& item) {
  where_used_.clear();
  where_used_.setHorizontalHeaderLabels({QStringLiteral("Utente o gruppo"),
                                         QStringLiteral("Sezione"), QStringLiteral("Ditta"),
                                         QStringLiteral("Voce"), QStringLiteral("Stato")});
  try {
    for (const profile::WhereUsedHit& hit : profile::WhereUsed::Find(
             *Connection(), profile::RevocationItem::Parse(item.toStdString()))) {
      where_used_.appendRow(
          Cells(QStringList{(hit.principal.IsUser() ? QStringLiteral("Utente - ")
                                                    : QStringLiteral("Gruppo - ")) +
                            Q(hit.principal.principal.name())} +
                RowTexts(hit.row)));
    }
  } catch (const std::exception& e) {
    Fail(QStringLiteral("Dove è usato"), e);
  }
}

QWidget* ProfileWindow::ExchangePage() {
  auto* page = new QWidget;
  auto* who = PrincipalCombo(false);
  who->setObjectName(QStringLiteral("ExchangePrincipal"));
  auto* export_button = new QPushButton(QStringLiteral("Esporta…"));
  auto* import_button = new QPushButton(QStringLiteral("Importa… (anteprima)"));
  auto* apply = new QPushButton(QStringLiteral("Applica"));
  apply->setObjectName(QStringLiteral("ApplyImport"));
  apply->setEnabled(false);
  apply_ = apply;
  exchange_note_ = new QLabel;
  exchange_note_->setWordWrap(true);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Utente o gruppo:")));
  top->addWidget(who, 1);
  top->addWidget(export_button);
  top->addWidget(import_button);
  top->addWidget(apply);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(exchange_note_);
  layout->addWidget(TableOver(&preview_, QStringLiteral("PreviewTable")), 1);
  connect(export_button, &QPushButton::clicked, this, [this, who] {
    const QString file = QFileDialog::getSaveFileName(
        this, QStringLiteral("Esporta profilo"), QString(), QStringLiteral("Profili (*.json)"));
    if (!file.isEmpty()) ExportTo(who->currentData().toInt(), file);
  });
  connect(import_button, &QPushButton::clicked, this, [this, who] {
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Importa profilo"), QString(), QStringLiteral("Profili (*.json)"));
    if (!file.isEmpty()) PreviewImport(who->currentData().toInt(), file);
  });
  connect(apply, &QPushButton::clicked, this, [this] { ApplyImport(); });
  return page;
}

bool ProfileWindow::ExportTo(int principal_index, const QString& file) {
  if (principal_index < 0 || principal_index >= static_cast<int>(principals_.size())) return false;
  try {
    const NamedPrincipal& who = principals_[principal_index];
    const std::string text = profile::ProfileDocument::Of(
                                 who.IsUser() ? "user" : "group", who.code, who.principal.name(),
                                 profile::ProfileReader::Read(*Connection(), who.principal))
                                 .ToJson();
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size())) {
      throw std::runtime_error("impossibile scrivere " + file.toStdString());
    }
    exchange_note_->setText(
        QStringLiteral("Profilo di %1 esportato in %2.").arg(Q(who.principal.name()), file));
    return true;
  } catch (const std::exception& e) {
    Fail(QStringLiteral("Esporta"), e);
    return false;
  }
}

bool ProfileWindow::PreviewImport(int principal_index, const QString& file) {
  const bool ready = Preview(principal_index, file);
  if (apply_ != nullptr) apply_->setEnabled(ready);
  return ready;
}

bool ProfileWindow::Preview(int principal_index, const QString& file) {
  preview_.clear();
  pending_target_ = -1;
  preview_.setHorizontalHeaderLabels({QStringLiteral(""), QStringLiteral("Sezione"),
                                      QStringLiteral("Ditta"), QStringLiteral("Voce"),
                                      QStringLiteral("Stato")});
  if (principal_index < 0 || principal_index >= static_cast<int>(principals_.size())) return false;
  try {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
      throw std::runtime_error("impossibile leggere " + file.toStdString());
    const QByteArray bytes = in.readAll();
    std::string text(bytes.constData(), static_cast<size_t>(bytes.size()));
    const NamedPrincipal& who = principals_[principal_index];
    profile::ProfileImport import(*Connection(), who, profile::ProfileDocument::FromJson(text),
                                  {false, login_, nullptr, 0});
    const profile::ImportPlan plan = import.Preview();
    for (const ProfileRow& row : plan.added) {
      preview_.appendRow(Cells(QStringList{QStringLiteral("aggiunta")} + RowTexts(row)));
    }
    for (const auto& [before, after] : plan.changed) {
      QStringList texts = RowTexts(after);
      texts.back() = Q(ProfileReport::FlagsText(before)) + QStringLiteral(" → ") +
                     Q(ProfileReport::FlagsText(after));
      preview_.appendRow(Cells(QStringList{QStringLiteral("cambiata")} + texts));
    }
    for (const ProfileRow& row : plan.removed) {
      preview_.appendRow(Cells(QStringList{QStringLiteral("tolta")} + RowTexts(row)));
    }
    QString note = QStringLiteral(
                       "Anteprima per %1: %2 da aggiungere, %3 da cambiare, %4 da "
                       "togliere. Nulla è stato scritto.")
                       .arg(Q(who.principal.name()))
                       .arg(plan.added.size())
                       .arg(plan.changed.size())
                       .arg(plan.removed.size());
    if (!plan.unknown.empty()) {
      QStringList codes;
      for (const std::string& code : plan.unknown) codes << Q(code);
      note += QStringLiteral("\nCodici sconosciuti, importazione non possibile: ") +
              codes.join(QStringLiteral("; "));
      exchange_note_->setText(note);
      return false;
    }
    exchange_note_->setText(note);
    if (plan.Empty()) return false;
    pending_target_ = principal_index;
    pending_text_ = std::move(text);
    shown_ = plan;
    return true;
  } catch (const std::exception& e) {
    exchange_note_->setText(QString());
    Fail(QStringLiteral("Importa"), e);
    return false;
  }
}

bool ProfileWindow::ApplyImport() {
  if (apply_ != nullptr) apply_->setEnabled(false);
  if (pending_target_ < 0) return false;
  const NamedPrincipal who = principals_[pending_target_];
  pending_target_ = -1;
  try {
    profile::ProfileImport import(*Connection(), who,
                                  profile::ProfileDocument::FromJson(pending_text_),
                                  {false, login_, nullptr, 0});
    const profile::ImportPlan plan = import.Apply(&shown_);
    wrote_ = wrote_ || !plan.Empty();
    exchange_note_->setText(QStringLiteral("Importato su %1: %2 aggiunte, %3 cambiate, %4 tolte.")
                                .arg(Q(who.principal.name()))
                                .arg(plan.added.size())
                                .arg(plan.changed.size())
                                .arg(plan.removed.size()));
    preview_.clear();
    return true;
  } catch (const std::exception& e) {
    exchange_note_->setText(QStringLiteral("Importazione non eseguita: nulla è cambiato."));
    Fail(QStringLiteral("Importa"), e);
    return false;
  }
}

}  // namespace orv::hostapp
