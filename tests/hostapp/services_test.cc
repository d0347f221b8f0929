// The desktop host's services on a real demo database: message boxes and
// their result codes, the change log and its viewer model, the log class,
// the lookups and the navigator.

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cctype>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostapp/change_log_filter.h"
#include "hostapp/change_log_model.h"
#include "hostapp/change_log_viewer.h"
#include "hostapp/demo_database.h"
#include "hostapp/host_change_log.h"
#include "hostapp/host_log_class.h"
#include "hostapp/host_lookup_object.h"
#include "hostapp/host_navigator.h"
#include "hostapp/host_session.h"
#include "hostapp/login_dialog.h"
#include "hostapp/qt_message_service.h"
#include "hostapp/suites.h"
#include "hostdb/demo_installation.h"
#include "hostdb/temporary_demo_database.h"
#include "db/sql_literal.h"
#include "zere_orvelka/navigator_events.h"

namespace orv::hostapp {
namespace {

// Clicks the button with `text` of the next message box once it is up.
void ClickInNextBox(const QString& text, QMessageBox::Icon* icon_seen) {
  QTimer::singleShot(0, [text, icon_seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      ClickInNextBox(text, icon_seen);  // not up yet
      return;
    }
    if (icon_seen != nullptr) *icon_seen = box->icon();
    for (QAbstractButton* button : box->buttons()) {
      if (button->text().remove('&') == text) {
        button->click();
        return;
      }
    }
    box->reject();
  });
}

int64_t Count(db::Connection& cn, const std::string& sql) {
  auto rs = cn.Execute(sql);
  return rs->Field(0).ToInt64();
}

struct Listener : host::NavigatorEvents {
  bool refuse = false;
  int changes = 0;
  void ChangeDitta(bool& cancel) override {
    ++changes;
    if (refuse) cancel = true;
  }
  void BeforeExportToOffice() override {}
  void InitializeLayoutObjectModel(host::LayoutModel&) override {}
  void InitializeScriptObjectModel(host::ScriptModel&) override {}
};

}  // namespace

class ServicesTest : public QObject {
  Q_OBJECT

 private slots:
  void MessageBoxMapsButtonsIconsAndAnswers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("click");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("icon");
    QTest::newRow("yes/no question, No") << 36 << "No" << 7 << int(QMessageBox::Question);
    // The buttons speak Italian (Qt's own catalogue).
    QTest::newRow("yes/no exclamation, Yes") << 52 << "Sì" << 6 << int(QMessageBox::Warning);
    QTest::newRow("OK information") << 64 << "OK" << 1 << int(QMessageBox::Information);
    QTest::newRow("critical OK") << 16 << "OK" << 1 << int(QMessageBox::Critical);
    QTest::newRow("abort/retry/ignore, Retry")
        << 4370 << "Riprova" << 4 << int(QMessageBox::Critical);
    QTest::newRow("abort/retry/ignore, Ignore") << 2 << "Ignora" << 5 << int(QMessageBox::NoIcon);
    QTest::newRow("OK/Cancel, Cancel") << 1 << "Annulla" << 2 << int(QMessageBox::NoIcon);
  }
  void MessageBoxMapsButtonsIconsAndAnswers() {
    QFETCH(int, buttons);
    QFETCH(QString, click);
    QFETCH(int, answer);
    QFETCH(int, icon);
    QtMessageService service;
    QMessageBox::Icon seen = QMessageBox::NoIcon;
    ClickInNextBox(click, &seen);
    QCOMPARE(service.Show("Confermi?", buttons, "Titolo", nullptr), answer);
    QCOMPARE(int(seen), icon);
    QCOMPARE(service.shown().size(), size_t{1});
    QCOMPARE(service.shown()[0].answer, answer);
    QCOMPARE(service.shown()[0].buttons, buttons);
  }

  void PresetAndUnattendedAnswersShowNoBox() {
    QtMessageService service;
    service.PresetAnswer(6);
    QCOMPARE(service.Show("Confermi?", 36, "", nullptr), 6);
    QCOMPARE(service.pending_presets(), size_t{0});
    service.SetUnattended(true);
    // Unattended: the answer that changes nothing.
    QCOMPARE(service.Show("Confermi?", 36, "", nullptr), 7);
    QCOMPARE(service.Show("Errore", 4370, "", nullptr), 3);
    QCOMPARE(service.Show("Fatto", 64, "", nullptr), 1);
    QCOMPARE(service.shown().size(), size_t{4});
  }

  void LogClassAsksAbortRetryIgnore() {
    QtMessageService service;
    HostLogClass log(service);
    log.TakeError({3604, "Violazione di chiave", "FW31_RVKPARAMETRI"});
    log.TakeConnectionErrors({{3604, "Violazione di chiave", "FW31_RVKPARAMETRI"},
                              {19, "UNIQUE constraint failed", "sqlite"}});
    service.PresetAnswer(4);
    QCOMPARE(log.Show("Orvelka", "Gestione Autorizzazioni", "InserisciRevocaTipologie", 4370), 4);
    QVERIFY(log.last_text().find("InserisciRevocaTipologie") != std::string::npos);
    QVERIFY(log.last_text().find("UNIQUE constraint failed") != std::string::npos);
    // The trapped error is not repeated from the connection's messages.
    const std::string& text = log.last_text();
    QCOMPARE(text.find("Violazione"), text.rfind("Violazione"));
    QCOMPARE(service.shown().back().buttons, 4370);
    QCOMPARE(service.shown().back().title, std::string("Orvelka - Gestione Autorizzazioni"));
    service.PresetAnswer(5);
    QCOMPARE(log.Show("Orvelka", "", "X", 4370), 5);
    // Anything but retry or ignore ends the routine.
    service.PresetAnswer(1);
    QCOMPARE(log.Show("Orvelka", "", "X", 4370), 3);
  }

  void ChangeLogWritesRowsTheViewerShows() {
    hostdb::TemporaryDemoDatabase demo;
    std::shared_ptr<db::Connection> cn = demo.Connect();
    const int64_t before = Count(*cn, "SELECT COUNT(*) FROM FW90_LOGMODIFICHE");
    HostChangeLog log([cn] { return cn; }, "admin");
    const std::string text =
        log.FormatGroup("Ufficio vendite") + log.FormatDetail(6, "Deposito 'DEP 1' revocato");
    log.WriteEntry(16, text);
    log.WriteEntry(15, std::string(5000, 'x'));
    QCOMPARE(Count(*cn, "SELECT COUNT(*) FROM FW90_LOGMODIFICHE"), before + 2);
    auto rs = cn->Execute(
        "SELECT FW90_LOGIN, FW90_EVENTO, FW90_TESTO FROM FW90_LOGMODIFICHE WHERE FW90_EVENTO = 16 "
        "ORDER BY FW90_ID DESC");
    QVERIFY(!rs->IsEof());
    QCOMPARE(rs->Field("FW90_TESTO").ToText(), text);  // the quotes arrive as typed
    QCOMPARE(rs->Field("FW90_LOGIN").ToText(), std::string("admin"));
    // The date without separators: the server reads it the same way whatever
    // the login's date format (with hyphens an Italian login swaps day and
    // month).
    auto when = cn->Execute(
        "SELECT FW90_DATAORA FROM FW90_LOGMODIFICHE WHERE FW90_EVENTO = 16 ORDER BY FW90_ID DESC");
    QVERIFY(!when->IsEof());
    const QString stamp = QString::fromStdString(when->Field(0).ToText());
    QVERIFY2(
        QRegularExpression(QStringLiteral("^\\d{8} \\d{2}:\\d{2}:\\d{2}$")).match(stamp).hasMatch(),
        qPrintable(stamp));
    auto longest = cn->Execute("SELECT FW90_TESTO FROM FW90_LOGMODIFICHE WHERE FW90_EVENTO = 15");
    QVERIFY(!longest->IsEof());
    QCOMPARE(longest->Field(0).ToText().size(), HostChangeLog::kMaxText);

    ChangeLogModel model([cn] { return cn; });
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(model.Reload());
    QCOMPARE(model.rowCount(), static_cast<int>(before + 2));
    // Newest first.
    QCOMPARE(model.index(0, ChangeLogModel::kEvent).data(ChangeLogModel::kEventRole).toInt(), 15);
    QCOMPARE(model.index(1, ChangeLogModel::kText).data().toString(),
             QString::fromStdString(text).trimmed());
  }

  void ChangeLogViewerNamesFiltersSortsAndExports() {
    hostdb::TemporaryDemoDatabase demo;
    std::shared_ptr<db::Connection> cn = demo.Connect();
    cn->Execute("DELETE FROM FW90_LOGMODIFICHE");
    // Entries as the editor writes them, on three days by two logins.
    struct Row {
      const char* time;
      const char* login;
      int event;
      std::string text;
    };
    HostChangeLog f([cn] { return cn; }, "admin");
    const Row rows[] = {
        {"2026-03-01 09:00:00", "admin", 11, f.FormatDetail(1, "Non attivo")},
        {"2026-03-02 10:30:00", "admin", 15,
         f.FormatGroup("Ufficio vendite") + f.FormatDetail(1, "2") + f.FormatDetail(2, "SUD") +
             f.FormatDetail(3, "") + f.FormatDetail(4, "") + f.FormatDetail(5, "") +
             f.FormatDetail(6, "No")},
        {"2026-03-03 11:00:00", "supervisore", 16,
         f.FormatUser("Mario Rossi") + f.FormatDetail(1, "02 - Deposito Milano Nord") +
             f.FormatDetail(2, "") + f.FormatDetail(3, "02") + f.FormatDetail(4, "Si")},
    };
    for (const Row& r : rows) {
      cn->Execute(
          "INSERT INTO FW90_LOGMODIFICHE (FW90_DATAORA, FW90_LOGIN, FW90_EVENTO, FW90_TESTO) "
          "VALUES (" +
          db::SqlQuote(r.time) + ", " + db::SqlQuote(r.login) + ", " +
          std::to_string(r.event) + ", " + db::SqlQuote(r.text) + ")");
    }
    ChangeLogViewer viewer([cn] { return cn; });
    ChangeLogFilter* filter = viewer.filter();
    QAbstractItemModelTester tester(filter, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(filter->rowCount(), 3);
    // Newest first, each read into its columns.
    const auto cell = [&](int row, int column) {
      return filter->index(row, column).data().toString();
    };
    QCOMPARE(cell(0, ChangeLogModel::kTime), QStringLiteral("03/03/2026 11:00:00"));
    QCOMPARE(cell(0, ChangeLogModel::kPrincipal), QStringLiteral("Utente: Mario Rossi"));
    QCOMPARE(cell(0, ChangeLogModel::kSection), QStringLiteral("02 - Deposito Milano Nord"));
    QCOMPARE(cell(0, ChangeLogModel::kCodes), QStringLiteral("02"));
    QCOMPARE(cell(0, ChangeLogModel::kOutcome), QStringLiteral("Abilitato"));
    QCOMPARE(cell(1, ChangeLogModel::kEvent), QStringLiteral("Revoca clienti/fornitori"));
    QCOMPARE(cell(1, ChangeLogModel::kPrincipal), QStringLiteral("Gruppo: Ufficio vendite"));
    QCOMPARE(cell(1, ChangeLogModel::kCompany), QStringLiteral("2"));
    QCOMPARE(cell(1, ChangeLogModel::kCodes), QStringLiteral("SUD"));
    QCOMPARE(cell(1, ChangeLogModel::kOutcome), QStringLiteral("Revocato"));
    QCOMPARE(cell(2, ChangeLogModel::kEvent), QStringLiteral("Abilitazione revoche"));
    QCOMPARE(cell(2, ChangeLogModel::kSection), QStringLiteral("Tutta l'installazione"));
    // Sorted by another column, and back by time (not by the text of the time).
    viewer.table()->sortByColumn(ChangeLogModel::kEvent, Qt::AscendingOrder);
    QCOMPARE(cell(0, ChangeLogModel::kEvent), QStringLiteral("Abilitazione revoche"));
    viewer.table()->sortByColumn(ChangeLogModel::kTime, Qt::AscendingOrder);
    QCOMPARE(cell(0, ChangeLogModel::kTime), QStringLiteral("01/03/2026 09:00:00"));
    // Each filter, as the user sets it.
    auto* principal = viewer.findChild<QLineEdit*>(QStringLiteral("ChangeLogPrincipal"));
    QTest::keyClicks(principal, "vendite");
    QCOMPARE(filter->rowCount(), 1);
    principal->clear();
    auto* event = viewer.findChild<QComboBox*>(QStringLiteral("ChangeLogEvent"));
    event->setCurrentIndex(event->findData(16));
    QCOMPARE(filter->rowCount(), 1);
    event->setCurrentIndex(0);
    auto* login = viewer.findChild<QComboBox*>(QStringLiteral("ChangeLogLogin"));
    QCOMPARE(login->count(), 3);  // all, admin, supervisore
    login->setCurrentIndex(login->findData(QStringLiteral("admin")));
    QCOMPARE(filter->rowCount(), 2);
    login->setCurrentIndex(0);
    viewer.findChild<QDateEdit*>(QStringLiteral("ChangeLogFrom"))->setDate(QDate(2026, 3, 2));
    viewer.findChild<QDateEdit*>(QStringLiteral("ChangeLogTo"))->setDate(QDate(2026, 3, 2));
    QCOMPARE(filter->rowCount(), 1);
    QCOMPARE(cell(0, ChangeLogModel::kCodes), QStringLiteral("SUD"));
    // The rows shown go to CSV, quotes doubled.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.csv"));
    QVERIFY(viewer.ExportCsv(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));  // a byte-order mark for spreadsheets
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("\"Data e ora\";\"Accesso\"")));
    QVERIFY(lines[1].contains(QStringLiteral("\"Gruppo: Ufficio vendite\"")));
    QVERIFY(!viewer.ExportCsv(dir.filePath(QStringLiteral("no/such/folder/log.csv"))));
  }

  void LookupsListAndResolveCodesSafely() {
    hostdb::TemporaryDemoDatabase demo;
    std::shared_ptr<db::Connection> cn = demo.Connect();
    HostLookupObject lookup(0, [cn] { return cn; });
    const host::LookupDefinition projects = lookup.Definition("PD68_CODPROG");
    QCOMPARE(projects.title, std::string("Progetti"));
    auto rs = cn->Execute(projects.statement);
    QVERIFY(!rs->IsEof());
    const std::string code = db::Trim(rs->Field(0).ToText());
    // A code typed in another case is found and handed back as stored.
    std::string typed = code;
    for (char& c : typed) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto resolved = lookup.Resolve("PD68_CODPROG", typed, "");
    QVERIFY(resolved.has_value());
    QCOMPARE(*resolved, code);
    QVERIFY(!lookup.Resolve("PD68_CODPROG", "NESSUNO", "").has_value());
    // A quote in the typed text is a literal, never SQL.
    QVERIFY(!lookup.Resolve("PD68_CODPROG", "x' OR '1'='1", "").has_value());
    QVERIFY(!lookup.Resolve("PD68_TIPO_PD1D", "'; DROP TABLE PD1D_TIPIPROG; --", "").has_value());
    QCOMPARE(Count(*cn, "SELECT COUNT(*) FROM PD1D_TIPIPROG") > 0, true);
    const host::LookupDefinition types = lookup.Definition("PD0C_TIPO_PD1D");
    QVERIFY(types.statement.find("PD1D_TIPIPROG") != std::string::npos);
    QVERIFY(lookup.Definition("UNKNOWN").statement.empty());
  }

  void SessionRefusesUnknownLoginsAndCompanies() {
    hostdb::TemporaryDemoDatabase demo;
    HostSession::Options options;
    options.connection_string = demo.connection_string();
    options.login = "nessuno' OR '1'='1";
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, HostSession session(options));
    options.login = "admin";
    options.company = 99;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, HostSession session(options));
    options.company = 2;
    HostSession session(options);
    QVERIFY(session.global().IsAdministrator());
    QCOMPARE(session.global().CurrentCompany(), 2);
    options.login = "mrossi";
    options.company.reset();
    HostSession rossi(options);
    QVERIFY(!rossi.global().IsAdministrator());
    QCOMPARE(rossi.global().CurrentCompany(), 1);  // the lowest company
    options.connection_string = "Database=/nonexistent/folder/host.db";
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, HostSession session(options));
  }

  void LoginPickerOffersActiveLoginsAndCompanies() {
    hostdb::TemporaryDemoDatabase demo;
    const auto logins = HostSession::ReadLogins(demo.connection_string());
    const auto companies = HostSession::ReadCompanies(demo.connection_string());
    QCOMPARE(companies.size(), size_t{3});
    // The inactive user is not offered.
    QCOMPARE(logins.size(), size_t{hostdb::DemoInstallation::kUserCount - 1});
    LoginDialog picker(logins, companies, std::nullopt, std::nullopt);
    QCOMPARE(picker.login(), std::string(hostdb::DemoInstallation::kLoginAdmin));
    QCOMPARE(picker.company(), hostdb::DemoInstallation::kCompanyMain);
    auto* combo = picker.findChild<QComboBox*>(QStringLiteral("CompanyCombo"));
    QVERIFY(combo != nullptr && combo->isEnabled());
    combo->setCurrentIndex(2);
    QCOMPARE(picker.company(), hostdb::DemoInstallation::kCompanyWinery);
    LoginDialog given(logins, companies, std::string("mrossi"), 2);
    QCOMPARE(given.login(), std::string("mrossi"));
    QCOMPARE(given.company(), 2);
    QVERIFY(!given.findChild<QComboBox*>(QStringLiteral("LoginCombo"))->isEnabled());
  }

  void DemoInstallationIsMadeOnce() {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("sub/demo.db")).toStdString();
    const std::string cs = DemoDatabase::Ensure(path);
    QCOMPARE(cs, DemoDatabase::ConnectionStringFor(path));
    auto cn = db::Connection::Create();
    cn->Open(cs);
    cn->Execute("DELETE FROM FW90_LOGMODIFICHE");
    cn->Execute("INSERT INTO FW90_LOGMODIFICHE (FW90_DATAORA, FW90_EVENTO) VALUES ('x', 1)");
    cn->Close();
    // A second start keeps what is there.
    DemoDatabase::Ensure(path);
    auto again = db::Connection::Create();
    again->Open(cs);
    QCOMPARE(Count(*again, "SELECT COUNT(*) FROM FW90_LOGMODIFICHE"), int64_t{1});
    QVERIFY(QString::fromStdString(DemoDatabase::DefaultPath()).endsWith("/orvelka/demo.db"));
  }

  void NavigatorRaisesItsEvents() {
    HostNavigator navigator;
    Listener a;
    Listener b;
    navigator.Advise(&a);
    navigator.Advise(&b);
    navigator.Advise(&a);  // once only
    QCOMPARE(navigator.listener_count(), size_t{2});
    QVERIFY(!navigator.RaiseChangeDitta());
    b.refuse = true;
    QVERIFY(navigator.RaiseChangeDitta());
    QCOMPARE(a.changes, 2);
    navigator.Unadvise(&b);
    QVERIFY(!navigator.RaiseChangeDitta());
    QCOMPARE(b.changes, 2);
    HostScriptModel& scripts = navigator.script_model();
    QVERIFY(!scripts.RefuseClose("FRMFW_ORVELKA"));
    scripts.SetRefuseClose(true);
    QVERIFY(scripts.RefuseClose("FRMFW_ORVELKA"));
  }
};

}  // namespace orv::hostapp

int RunServicesTest(int argc, char** argv) {
  orv::hostapp::ServicesTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "services_test.moc"
