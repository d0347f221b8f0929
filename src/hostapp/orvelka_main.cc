// orvelka: the desktop host. Opens the revocation editor on a host database
// (the demo installation by default) for a login and a working company.

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "host/fallback_message_box.h"
#include "hostapp/demo_database.h"
#include "hostapp/host_icons.h"
#include "hostapp/host_session.h"
#include "hostapp/host_translations.h"
#include "hostapp/login_dialog.h"
#include "hostapp/profile_window.h"
#include "hostapp/qt_message_service.h"
#include "hostapp/screenshot.h"

namespace {

using orv::hostapp::DemoDatabase;
using orv::hostapp::HostSession;

int Fail(const std::string& text) {
  std::fprintf(stderr, "orvelka: %s\n", text.c_str());
  return 1;
}

QString Tr(const char* text) { return QCoreApplication::translate("orvelka", text); }

}  // namespace

int main(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Authorization-revocation editor of the ERP, in a desktop host.\n"
      "Without --db or --connection it opens the demo installation in the user's data folder "
      "(created on first use) as its administrator; with a database and no --user or --company "
      "it asks for them.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption db_option("db", "Host database file (embedded engine).", "FILE");
  const QCommandLineOption connection_option("connection",
                                             "Connection string of the host database.", "STRING");
  const QCommandLineOption user_option("user", "Login of the user working in the host.", "LOGIN");
  const QCommandLineOption company_option("company", "Working company (CG18_DITTA).", "N");
  const QCommandLineOption modal_option("modal", "Open the editor as a modal window.");
  const QCommandLineOption screenshot_option(
      "screenshot", "Render the window off screen into a PNG file and exit.", "FILE");
  const QCommandLineOption section_option(
      "section", "With --screenshot: the side-bar item to open (e.g. ITM_TRANSORIDEST).", "KEY");
  const QCommandLineOption principal_option(
      "principal", "With --screenshot: the principal to pick, user:ID or group:ID.", "WHO");
  const QCommandLineOption size_option(
      "size", "With --screenshot: the window's size in logical pixels, WIDTHxHEIGHT.", "WxH");
  parser.addOptions({db_option, connection_option, user_option, company_option, modal_option,
                     screenshot_option, section_option, principal_option, size_option});
  const QCommandLineOption profile_option(
      "profile-view",
      "With --screenshot: picture the profile window instead (effective:USER, "
      "compare:A,B, where-used:ITEM, import:PRINCIPAL,FILE).",
      "VIEW");
  parser.addOption(profile_option);
  const QCommandLineOption journal_option(
      "journal-view", "With --screenshot: picture the journal of changes (the audit viewer).");
  parser.addOption(journal_option);
  if (!parser.parse(arguments)) return Fail(parser.errorText().toStdString());

  if (parser.isSet("help") || parser.isSet("version")) {
    // Answered without a display.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvelka"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));
    if (parser.isSet("help")) parser.showHelp(0);
    parser.showVersion();
  }
  const bool screenshot = parser.isSet(screenshot_option);
  if (screenshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orvelka"));
  QApplication::setOrganizationName(QStringLiteral("orvelka"));
  QApplication::setApplicationDisplayName(QStringLiteral("Orvelka"));
  QApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));
  QApplication::setWindowIcon(orv::hostapp::HostIcons::Application());
  orv::hostapp::HostTranslations::Install();

  // Boxes the module shows without a host service still look like the host's.
  orv::host::SetFallbackMessageBox(
      [screenshot](std::string_view prompt, int32_t buttons, std::string_view title) {
        if (screenshot) return orv::host::SafeDefaultAnswer(buttons);
        return orv::hostapp::QtMessageService::RunBox(prompt, buttons, title, nullptr);
      });

  HostSession::Options options;
  try {
    if (parser.isSet(connection_option)) {
      options.connection_string = parser.value(connection_option).toStdString();
    } else if (parser.isSet(db_option)) {
      options.connection_string =
          DemoDatabase::ConnectionStringFor(parser.value(db_option).toStdString());
    } else {
      options.connection_string = DemoDatabase::Ensure(DemoDatabase::DefaultPath());
    }
  } catch (const std::exception& e) {
    return Fail(e.what());
  }

  std::optional<std::string> login;
  if (parser.isSet(user_option)) login = parser.value(user_option).toStdString();
  std::optional<int32_t> company;
  if (parser.isSet(company_option)) {
    bool ok = false;
    company = parser.value(company_option).toInt(&ok);
    if (!ok) return Fail(Tr("--company vuole il numero di un'azienda").toStdString());
  }
  const bool demo = !parser.isSet(connection_option) && !parser.isSet(db_option);
  if (screenshot || (demo && !login && !company)) {
    // Off screen nobody can pick, and the demo opens at once: its
    // administrator, in the first company.
    if (!login) login = "admin";
  } else if (!login || !company) {
    try {
      const auto logins = HostSession::ReadLogins(options.connection_string);
      const auto companies = HostSession::ReadCompanies(options.connection_string);
      if (logins.empty() || companies.empty()) {
        return Fail(
            Tr("il database dell'installazione non ha utenti attivi o aziende").toStdString());
      }
      orv::hostapp::LoginDialog dialog(logins, companies, login, company);
      if (dialog.exec() != QDialog::Accepted) return 0;
      login = dialog.login();
      company = dialog.company();
    } catch (const std::exception& e) {
      QMessageBox::critical(nullptr, QStringLiteral("Orvelka"), QString::fromUtf8(e.what()));
      return Fail(e.what());
    }
  }
  options.login = *login;
  options.company = company;
  // A picture is taken of a shown window, never from inside a modal loop.
  options.modal = parser.isSet(modal_option) && !screenshot;
  options.unattended = screenshot;
  // A picture shows what the command line asks, not the last session.
  options.remember = !screenshot;

  try {
    HostSession session(options);
    session.global().ui().hooks().window_closed = [] { QApplication::quit(); };
    session.Open();
    if (screenshot && parser.isSet(profile_option)) {
      const std::string error =
          orv::hostapp::ProfileWindow::Picture(session.global().ui().hooks().connection, *login,
                                               parser.value(profile_option).toStdString(),
                                               parser.value(screenshot_option).toStdString());
      session.Close();
      return error.empty() ? 0 : Fail(error);
    }
    if (screenshot) {
      std::optional<orv::hostapp::Screenshot::Principal> principal;
      if (parser.isSet(principal_option)) {
        principal =
            orv::hostapp::Screenshot::ParsePrincipal(parser.value(principal_option).toStdString());
        if (!principal) return Fail(Tr("--principal vuole user:ID o group:ID").toStdString());
      }
      QSize size;
      if (parser.isSet(size_option)) {
        const QStringList parts = parser.value(size_option).split(QLatin1Char('x'));
        if (parts.size() == 2) size = QSize(parts[0].toInt(), parts[1].toInt());
        if (!size.isValid() || size.isEmpty())
          return Fail(Tr("--size vuole LARGHEZZAxALTEZZA").toStdString());
      }
      const std::string file = parser.value(screenshot_option).toStdString();
      const std::string error =
          parser.isSet(journal_option)
              ? orv::hostapp::Screenshot::TakeJournal(session, file, size)
              : orv::hostapp::Screenshot::Take(
                    session, principal, parser.value(section_option).toStdString(), file, size);
      session.Close();
      return error.empty() ? 0 : Fail(error);
    }
    if (session.window() == nullptr) {
      // Refused (the start-up told the user why), or modal and closed.
      return session.Refused()
                 ? Fail(Tr("accesso negato: l'utente non è amministratore").toStdString())
                 : 0;
    }
    return QApplication::exec();
  } catch (const std::exception& e) {
    if (!screenshot) {
      QMessageBox::critical(nullptr, QStringLiteral("Orvelka"), QString::fromUtf8(e.what()));
    }
    return Fail(e.what());
  }
}
