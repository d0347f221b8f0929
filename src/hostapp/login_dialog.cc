#include "hostapp/login_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

#include "hostapp/host_icons.h"

namespace orv::hostapp {

LoginDialog::LoginDialog(const std::vector<HostSession::Login>& logins,
                         const std::vector<HostSession::Company>& companies,
                         const std::optional<std::string>& login,
                         const std::optional<int32_t>& company, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("LoginDialog"));
  // The application's display name follows: "Accesso — Orvelka".
  setWindowTitle(tr("Accesso"));
  setWindowIcon(HostIcons::Application());
  logins_ = new QComboBox(this);
  logins_->setObjectName(QStringLiteral("LoginCombo"));
  companies_ = new QComboBox(this);
  companies_->setObjectName(QStringLiteral("CompanyCombo"));
  for (const HostSession::Login& l : logins) {
    QString text = QStringLiteral("%1 - %2").arg(QString::fromStdString(l.login),
                                                 QString::fromStdString(l.name));
    if (l.administrator) text += tr(" (amministratore)");
    logins_->addItem(l.administrator ? HostIcons::Group() : HostIcons::User(), text,
                     QString::fromStdString(l.login));
  }
  for (const HostSession::Company& c : companies) {
    companies_->addItem(QStringLiteral("%1 - %2").arg(c.ditta).arg(QString::fromStdString(c.name)),
                        c.ditta);
  }
  // Preselect what the command line gave, else the first administrator.
  int pick = -1;
  for (int i = 0; i < logins_->count(); ++i) {
    if (login && logins_->itemData(i).toString().toStdString() == *login) pick = i;
  }
  for (size_t i = 0; pick < 0 && i < logins.size(); ++i) {
    if (logins[i].administrator) pick = static_cast<int>(i);
  }
  if (pick >= 0) logins_->setCurrentIndex(pick);
  if (company) {
    const int index = companies_->findData(*company);
    if (index >= 0) companies_->setCurrentIndex(index);
  }
  logins_->setEnabled(!login.has_value());
  companies_->setEnabled(!company.has_value());
  auto* form = new QFormLayout(this);
  form->addRow(new QLabel(tr("Accesso all'installazione ERP"), this));
  form->addRow(tr("&Utente:"), logins_);
  form->addRow(tr("&Azienda di lavoro:"), companies_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::string LoginDialog::login() const { return logins_->currentData().toString().toStdString(); }

int32_t LoginDialog::company() const { return companies_->currentData().toInt(); }

}  // namespace orv::hostapp
