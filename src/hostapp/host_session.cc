#include "hostapp/host_session.h"

#include <QCoreApplication>
#include <optional>
#include <stdexcept>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sql_literal.h"
#include "hostapp/recordset_cells.h"
#include "store/company.h"
#include "store/login.h"
#include "zere_orvelka/cinterface.h"

namespace orv::hostapp {
namespace {

std::string Tr(const char* text, const std::string& argument = {}) {
  QString translated = QCoreApplication::translate("HostSession", text);
  if (!argument.empty()) translated = translated.arg(QString::fromStdString(argument));
  return translated.toStdString();
}

std::shared_ptr<db::Connection> OpenHostDatabase(const std::string& connection_string) {
  auto connection = db::Connection::Create();
  connection->Open(connection_string);
  return connection;
}

}  // namespace

std::vector<HostSession::Login> HostSession::ReadLogins(const std::string& connection_string) {
  std::vector<Login> logins;
  auto rs = OpenHostDatabase(connection_string)
                ->Execute(
                    "SELECT FW07_LOGIN, FW07_NOMEUTENTE, FW07_FLGADMIN FROM FW07_APPUSER"
                    " WHERE FW07_FLGATTIVO = 1 ORDER BY FW07_LOGIN");
  for (; rs && !rs->IsEof(); rs->MoveNext()) {
    const db::Value& flag = rs->Field("FW07_FLGADMIN");
    logins.push_back({RecordsetCells::Text(rs->Field("FW07_LOGIN")),
                      RecordsetCells::Text(rs->Field("FW07_NOMEUTENTE")),
                      !flag.IsNull() && flag.ToInt32() == 1});
  }
  return logins;
}

std::vector<HostSession::Company> HostSession::ReadCompanies(const std::string& connection_string) {
  std::vector<Company> companies;
  auto connection = OpenHostDatabase(connection_string);
  for (const store::Company& c : store::Company::ReadAll(*connection)) {
    companies.push_back({c.ditta, c.name});
  }
  return companies;
}

HostSession::HostSession(Options options) : options_(std::move(options)) {
  std::shared_ptr<db::Connection> connection;
  try {
    connection = OpenHostDatabase(options_.connection_string);
  } catch (const std::exception& e) {
    throw std::runtime_error(Tr("impossibile aprire il database dell'installazione: %1", e.what()));
  }
  HostGlobal::Settings settings;
  settings.connection_string = options_.connection_string;
  settings.login = options_.login;
  // Unknown and inactive logins are refused alike, administrators included.
  const std::optional<store::Login> login = store::Login::Read(*connection, options_.login);
  if (!login) throw std::runtime_error(Tr("utente sconosciuto: %1", options_.login));
  if (!login->active) throw std::runtime_error(Tr("utente non attivo: %1", options_.login));
  settings.administrator = login->administrator;
  const auto companies = store::Company::ReadAll(*connection);
  if (companies.empty()) throw std::runtime_error(Tr("il database non ha aziende"));
  settings.company = companies.front().ditta;
  std::string company_name = companies.front().name;
  if (options_.company) {
    bool found = false;
    for (const store::Company& c : companies) {
      if (c.ditta == *options_.company) {
        found = true;
        company_name = c.name;
      }
    }
    if (!found) {
      throw std::runtime_error(Tr("l'azienda %1 non esiste", std::to_string(*options_.company)));
    }
    settings.company = *options_.company;
  }
  global_ = std::make_shared<HostGlobal>(std::move(settings));
  global_->messages().SetUnattended(options_.unattended);
  navigator_ = std::make_shared<HostNavigator>();

  QtHostUi::Hooks& hooks = global_->ui().hooks();
  hooks.close_requested = [this] { Close(); };
  hooks.remember = options_.remember;
  hooks.login = options_.login;
  hooks.status =
      QCoreApplication::translate("HostSession", "Utente: %1%2   ·   Azienda: %3 - %4")
          .arg(QString::fromStdString(options_.login),
               global_->IsAdministrator()
                   ? QCoreApplication::translate("HostSession", " (amministratore)")
                   : QString(),
               QString::number(global_->CurrentCompany()), QString::fromStdString(company_name));
}

HostSession::~HostSession() {
  // The module goes first: its destruction still talks to the host objects.
  object_.reset();
}

host::Cinterface* HostSession::module() const {
  return object_ ? static_cast<host::Cinterface*>(orv_object_cinterface(object_.get())) : nullptr;
}

void HostSession::Open() {
  orv_object* raw = nullptr;
  if (orv_create_object("CLSFW_ORVELKA", &raw) != ORV_OK || raw == nullptr) {
    throw std::runtime_error(Tr("il modulo non ha potuto creare CLSFW_ORVELKA"));
  }
  object_.reset(raw);
  host::Cinterface* module = this->module();
  if (module == nullptr)
    throw std::runtime_error(Tr("CLSFW_ORVELKA non offre l'interfaccia del modulo"));
  module->SetClsGlobal(global_);
  module->SetActiveNavigator(navigator_);
  module->SetCaption(db::Value(options_.caption));
  orv_object_set_flag(object_.get(), "WindowModal", options_.modal ? 1 : 0);
  orv_object_set_flag(object_.get(), "IsActive", 1);
  // The host initialises its models for the module once the window exists;
  // a modal ShowForm returns only when the window has closed.
  if (options_.modal) navigator_->RaiseInitializeModels();
  module->ShowForm();
  if (!options_.modal && window() != nullptr) navigator_->RaiseInitializeModels();
}

bool HostSession::Close() {
  host::Cinterface* module = this->module();
  if (module == nullptr) return true;
  try {
    return module->CloseForm().ToBool();
  } catch (const std::exception&) {
    return false;
  }
}

bool HostSession::RequestCompanyChange() { return navigator_->RaiseChangeDitta(); }

}  // namespace orv::hostapp
