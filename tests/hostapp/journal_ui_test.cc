// Undo, redo and the audit viewer of the desktop host on the demo database:
// the Edit menu's steps change the tables and the grid and name the next
// gesture; the viewer lists, filters, exports and reverts entries of the
// journal, and refuses (changing nothing) when another connection changed
// the rows since.

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"
#include "editor/frmfw_orvelka.h"
#include "hostapp/host_session.h"
#include "hostapp/journal_viewer.h"
#include "hostapp/main_window.h"
#include "hostapp/qt_host_ui.h"
#include "hostapp/suites.h"
#include "hostdb/demo_installation.h"
#include "hostdb/temporary_demo_database.h"
#include "journal/journal.h"
#include "journal/journal_table.h"
#include "journal/row_text.h"
#include "sections/parameters/parameter_statements.h"
#include "store/principal.h"

namespace orv::hostapp {
namespace {

using hostdb::DemoInstallation;
using sections::ParameterStatements;

constexpr int32_t kWarehouses = ParameterStatements::kWarehouses;

// The warehouse revocations as text, one line a row (surrogate ids left out).
std::string WarehouseRows(db::Connection& cn) {
  std::string text;
  auto rs = cn.Execute(
      "SELECT FW31_ID_FW07, FW31_ID_FW06, FW31_CODTIPO, FW31_DITTARAGG, FW31_FLGABILITATO "
      "FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 6 "
      "ORDER BY FW31_ID_FW07, FW31_ID_FW06, FW31_CODTIPO");
  for (; rs && !rs->IsEof(); rs->MoveNext()) {
    for (int i = 0; i < 5; ++i) {
      text += (rs->Field(i).IsNull() ? std::string("NULL") : rs->Field(i).ToText()) + "|";
    }
    text += "\n";
  }
  return text;
}

QModelIndex CheckableInRow(QAbstractItemModel* model, int row) {
  for (int c = 0; c < model->columnCount(); ++c) {
    const QModelIndex index = model->index(row, c);
    if ((model->flags(index) & Qt::ItemIsUserCheckable) &&
        model->data(index, Qt::CheckStateRole).isValid()) {
      return index;
    }
  }
  return {};
}

}  // namespace

class JournalUiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<hostdb::TemporaryDemoDatabase> demo_;
  std::shared_ptr<db::Connection> cn_;  // another connection to the same file
  std::unique_ptr<HostSession> session_;

  void Open() {
    HostSession::Options options;
    options.connection_string = demo_->connection_string();
    options.login = std::string(DemoInstallation::kLoginAdmin);
    options.company = DemoInstallation::kCompanyMain;
    options.unattended = true;
    session_ = std::make_unique<HostSession>(options);
    session_->Open();
  }
  MainWindow* Main() { return session_->ui().main_window(); }
  journal::Journal* Journal() { return session_->window()->journal(); }
  QAction* Action(const char* name) {
    return Main()->findChild<QAction*>(QString::fromLatin1(name));
  }
  QTreeView* Grid() { return Main()->findChild<QTreeView*>(QStringLiteral("GRIDTIPOLOGIE")); }
  QAbstractItemModel* GridModel() { return Grid()->model(); }
  void ClickAt(QAbstractItemView* view, const QModelIndex& index) {
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
  }
  void PickPrincipal(int32_t kind, int64_t id) {
    auto* view = Main()->findChild<QTreeView*>(QStringLiteral("VRX_TREEUTENTI1_view"));
    QVERIFY(view != nullptr);
    const QModelIndex index = session_->ui().controls().tree->IndexOf(kind, id);
    QVERIFY(index.isValid());
    ClickAt(view, index);
  }
  void ChooseWarehouses() {
    auto* bar = Main()->findChild<QListView*>(QStringLiteral("VRX_SIDEBAR1"));
    QVERIFY(bar != nullptr);
    const int row = session_->ui().controls().side_bar->RowOf("ITM50017");
    QVERIFY(row >= 0);
    ClickAt(bar, bar->model()->index(row, 0));
    QCOMPARE(session_->window()->section_code(), kWarehouses);
  }
  // The warehouse code of grid row `row`.
  QString CodeAt(int row) { return GridModel()->index(row, 0).data().toString(); }
  Qt::CheckState StateAt(int row) {
    return static_cast<Qt::CheckState>(
        CheckableInRow(GridModel(), row).data(Qt::CheckStateRole).toInt());
  }
  // Clicks the box of grid row `row` (the warehouse becomes revoked or
  // allowed) and returns the entry the click wrote.
  journal::JournalEntry ClickRow(int row) {
    const size_t before = Journal()->Entries().size();
    ClickAt(Grid(), CheckableInRow(GridModel(), row));
    const std::vector<journal::JournalEntry> entries = Journal()->Entries();
    if (entries.size() != before + 1) return {};
    return entries.front();
  }
  // Whether the principal has a revocation row for warehouse `code`, read
  // through the section's own look-up. The company is the one the entry's
  // image names.
  bool Revoked(const store::Principal& who, const journal::JournalEntry& entry,
               const QString& code) {
    return !cn_->Execute(ParameterStatements::SelectRevocation(who, kWarehouses, code.toStdString(),
                                                               Company(entry)))
                ->IsEof();
  }
  std::string Company(const journal::JournalEntry& entry) {
    const std::vector<journal::RowImage> images = Journal()->Images(entry.id);
    if (images.empty()) return "NULL";
    const journal::JournalTable* table = journal::JournalTable::Find(images.front().table);
    const journal::RowText::Fields key = journal::RowText::Split(images.front().key);
    const auto& company = key[static_cast<size_t>(table->KeyIndex("FW31_DITTARAGG"))];
    return company ? *company : std::string("NULL");
  }
  QString LastMessage() {
    const auto& shown = session_->global().messages().shown();
    return shown.empty() ? QString() : QString::fromStdString(shown.back().prompt);
  }
  static store::Principal Vendite() {
    return store::Principal::Group(DemoInstallation::kGroupVendite);
  }

 private slots:
  void init() {
    demo_ = std::make_unique<hostdb::TemporaryDemoDatabase>();
    cn_ = demo_->Connect();
  }
  void cleanup() {
    if (session_) session_->Close();
    session_.reset();
    QApplication::processEvents();
    cn_.reset();
    demo_.reset();
  }

  void UndoAndRedoFromTheEditMenu() {
    Open();
    QVERIFY(Journal() != nullptr);
    QVERIFY(Journal()->persistent());
    QAction* undo = Action("ActionUndo");
    QAction* redo = Action("ActionRedo");
    QVERIFY(undo != nullptr && redo != nullptr);
    QCOMPARE(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(redo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseWarehouses();
    QVERIFY(GridModel()->rowCount() >= 2);
    const QString first = CodeAt(0);
    const QString second = CodeAt(1);
    QCOMPARE(StateAt(0), Qt::Checked);

    const journal::JournalEntry a = ClickRow(0);
    QVERIFY2(a.id != 0, "the click wrote one entry");
    QVERIFY(Revoked(Vendite(), a, first));
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QCOMPARE(undo->text(),
             MainWindow::StepText(QStringLiteral("Annulla"), QString::fromStdString(a.summary)));
    QVERIFY2(undo->text().startsWith(QStringLiteral("Annulla Depositi: revocati ") + first),
             qPrintable(undo->text()));
    const journal::JournalEntry b = ClickRow(1);
    QVERIFY(b.id > a.id);
    QVERIFY(undo->text().contains(second));

    // Two steps back: both warehouses allowed again, in the grid as well.
    undo->trigger();
    QVERIFY(!Revoked(Vendite(), b, second));
    QVERIFY(Revoked(Vendite(), a, first));
    QCOMPARE(StateAt(1), Qt::Checked);
    QCOMPARE(StateAt(0), Qt::Unchecked);
    QVERIFY(undo->text().contains(first));
    QVERIFY(redo->isEnabled());
    QVERIFY(redo->text().startsWith(QStringLiteral("Ripeti Depositi: revocati ") + second));
    undo->trigger();
    QVERIFY(!Revoked(Vendite(), a, first));
    QCOMPARE(StateAt(0), Qt::Checked);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Annulla"));
    QVERIFY(redo->text().contains(first));
    QVERIFY(Main()
                ->findChild<QLabel*>(QStringLiteral("GestureStatus"))
                ->text()
                .startsWith(QStringLiteral("Annullato: ")));

    // Forward again, oldest first.
    redo->trigger();
    QVERIFY(Revoked(Vendite(), a, first));
    QCOMPARE(StateAt(0), Qt::Unchecked);
    QCOMPARE(StateAt(1), Qt::Checked);
    QVERIFY(redo->text().contains(second));
    QVERIFY(undo->text().contains(first));
    // A new gesture forgets what could be made again.
    ClickRow(0);
    QVERIFY(!Revoked(Vendite(), a, first));
    QVERIFY(!redo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("Ripeti"));
    // Every step is in the journal: two gestures, two undos, a redo, a click.
    QCOMPARE(Journal()->Entries().size(), size_t{6});
  }

  void UndoAfterAnotherConnectionChangedTheRowsRefuses() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseWarehouses();
    const QString code = CodeAt(0);
    const journal::JournalEntry a = ClickRow(0);
    QVERIFY(a.id != 0);
    QVERIFY(Revoked(Vendite(), a, code));
    // Another editor gives the warehouse back meanwhile.
    cn_->Execute(ParameterStatements::DeleteRevocation(Vendite(), kWarehouses, code.toStdString(),
                                                       Company(a)));
    QVERIFY(!Revoked(Vendite(), a, code));
    const std::string tables = WarehouseRows(*cn_);
    const size_t entries = Journal()->Entries().size();
    const size_t messages = session_->global().messages().shown().size();

    Action("ActionUndo")->trigger();
    QCOMPARE(WarehouseRows(*cn_), tables);
    QCOMPARE(Journal()->Entries().size(), entries);
    QVERIFY(session_->global().messages().shown().size() > messages);
    QVERIFY2(LastMessage().startsWith(
                 QStringLiteral("Impossibile annullare la modifica N° %1").arg(a.id)),
             qPrintable(LastMessage()));
    // The grid shows what the table holds, not what the gesture left.
    QCOMPARE(StateAt(0), Qt::Checked);
    QVERIFY(!Journal()->Entry(a.id)->undone);
  }

  void ViewerListsAndFiltersTheEntries() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseWarehouses();
    const QString code = CodeAt(0);
    const journal::JournalEntry a = ClickRow(0);
    const journal::JournalEntry b = ClickRow(1);
    PickPrincipal(1, DemoInstallation::kUserBianchi);
    ChooseWarehouses();
    const journal::JournalEntry c = ClickRow(0);
    QVERIFY(a.id != 0 && b.id != 0 && c.id != 0);

    JournalViewer viewer(session_->ui().JournalSource(), Main());
    JournalModel* model = viewer.model();
    QCOMPARE(model->rowCount(), 3);
    // Newest first, readable: the principal and the section by name.
    QCOMPARE(model->index(0, JournalModel::kId).data().toLongLong(), qlonglong(c.id));
    QCOMPARE(model->index(2, JournalModel::kId).data().toLongLong(), qlonglong(a.id));
    QCOMPARE(model->index(2, JournalModel::kSection).data().toString(), QStringLiteral("Depositi"));
    QCOMPARE(model->index(2, JournalModel::kLogin).data().toString(), QStringLiteral("admin"));
    QCOMPARE(model->index(2, JournalModel::kRows).data().toString(), QStringLiteral("1"));
    QCOMPARE(model->index(2, JournalModel::kSummary).data().toString(),
             QString::fromStdString(a.summary));
    const QString group = model->index(2, JournalModel::kPrincipal).data().toString();
    QVERIFY2(group.startsWith(QStringLiteral("Gruppo ")) && !group.endsWith(QStringLiteral(" 3")),
             qPrintable(group));
    QVERIFY(QString::fromStdString(a.summary).contains(group.mid(7)));
    QVERIFY(model->index(0, JournalModel::kPrincipal)
                .data()
                .toString()
                .startsWith(QStringLiteral("Utente ")));
    QVERIFY(JournalModel::ParseTime(a.when).isValid());

    // The chosen entry's rows, before and after, without table names.
    QVERIFY(viewer.Choose(a.id));
    QCOMPARE(viewer.Chosen(), a.id);
    RowImageModel* rows = viewer.images();
    QCOMPARE(rows->rowCount(), 1);
    QCOMPARE(rows->index(0, RowImageModel::kSection).data().toString(), QStringLiteral("Depositi"));
    QCOMPARE(rows->index(0, RowImageModel::kItem).data().toString(), code);
    QCOMPARE(rows->index(0, RowImageModel::kPrincipal).data().toString(), group);
    QCOMPARE(rows->index(0, RowImageModel::kBefore).data().toString(),
             QStringLiteral("consentito (nessuna riga)"));
    QVERIFY(rows->index(0, RowImageModel::kAfter)
                .data()
                .toString()
                .startsWith(QStringLiteral("revocato (abilitato no")));
    // The host's change log beside it.
    QVERIFY(viewer.change_log()->rowCount() > 0);

    viewer.SetPrincipalFilter(QStringLiteral("GRUPPO"), DemoInstallation::kGroupVendite);
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->index(0, JournalModel::kId).data().toLongLong(), qlonglong(b.id));
    const int group_log = viewer.change_log()->rowCount();
    QVERIFY(group_log > 0);
    viewer.SetPrincipalFilter(QStringLiteral("UTENTE"), DemoInstallation::kUserBianchi);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, JournalModel::kId).data().toLongLong(), qlonglong(c.id));
    viewer.SetPrincipalFilter({}, 0);
    QCOMPARE(model->rowCount(), 3);
    viewer.SetSectionFilter(24);
    QCOMPARE(model->rowCount(), 0);
    viewer.SetSectionFilter(kWarehouses);
    QCOMPARE(model->rowCount(), 3);
    viewer.SetLoginFilter(QStringLiteral("mrossi"));
    QCOMPARE(model->rowCount(), 0);
    QCOMPARE(viewer.change_log()->rowCount(), 0);
    viewer.SetLoginFilter(QStringLiteral("admin"));
    QCOMPARE(model->rowCount(), 3);
    const QDate today = JournalModel::ParseTime(a.when).date();
    viewer.SetDays(today.addDays(1), {});
    QCOMPARE(model->rowCount(), 0);
    viewer.SetDays({}, today.addDays(-1));
    QCOMPARE(model->rowCount(), 0);
    viewer.SetDays(today, today);
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(viewer.Filter().from, today.toString(QStringLiteral("yyyyMMdd")).toStdString());
  }

  void ViewerExportsTheEntriesShown() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseWarehouses();
    const journal::JournalEntry a = ClickRow(0);
    PickPrincipal(1, DemoInstallation::kUserBianchi);
    ChooseWarehouses();
    const journal::JournalEntry c = ClickRow(0);
    JournalViewer viewer(session_->ui().JournalSource(), Main());
    viewer.SetPrincipalFilter(QStringLiteral("GRUPPO"), DemoInstallation::kGroupVendite);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("giornale.csv"));
    QVERIFY(viewer.ExportCsv(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray data = file.readAll();
    QVERIFY(data.startsWith("\xEF\xBB\xBF"));
    const QStringList lines =
        QString::fromUtf8(data.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("\"N°\",\"Data e ora\"")));
    QVERIFY(lines[1].startsWith(QStringLiteral("\"%1\",").arg(a.id)));
    QVERIFY(lines[1].contains(QStringLiteral("\"Depositi\"")));
    QVERIFY(lines[1].contains(QString::fromStdString(a.summary)));
    // The principal by name beside its kind and number.
    QVERIFY2(
        lines[1].contains(
            QStringLiteral("\"Ufficio vendite (GRUPPO %1)\"").arg(DemoInstallation::kGroupVendite)),
        qPrintable(lines[1]));
    // One entry and one change-log entry of the group: both counted in the
    // singular.
    QCOMPARE(viewer.change_log()->rowCount(), 1);
    QCOMPARE(viewer.findChild<QLabel*>(QStringLiteral("JournalCount"))->text(),
             QStringLiteral("1 modifica; 1 voce del registro"));
    QVERIFY(!data.contains(QString::fromStdString(c.summary).toUtf8()));
    QVERIFY(!viewer.ExportCsv(dir.filePath(QStringLiteral("no/such/folder.csv"))));
  }

  void ViewerRevertsTheChosenEntry() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseWarehouses();
    const QString first = CodeAt(0);
    const QString second = CodeAt(1);
    const journal::JournalEntry a = ClickRow(0);
    const journal::JournalEntry b = ClickRow(1);
    JournalViewer viewer(session_->ui().JournalSource(), Main());
    auto* revert = viewer.findChild<QPushButton*>(QStringLiteral("JournalRevert"));
    QVERIFY(revert != nullptr);
    QVERIFY(viewer.Choose(a.id));
    QVERIFY(revert->isEnabled());

    // The older gesture only: the newer one stays.
    QTest::mouseClick(revert, Qt::LeftButton);
    QVERIFY(!Revoked(Vendite(), a, first));
    QVERIFY(Revoked(Vendite(), b, second));
    QCOMPARE(StateAt(0), Qt::Checked);
    QCOMPARE(StateAt(1), Qt::Unchecked);
    QCOMPARE(viewer.Chosen(), a.id);
    QCOMPARE(viewer.model()->index(viewer.model()->RowOf(a.id), JournalModel::kState).data(),
             QVariant(QStringLiteral("annullata")));
    QVERIFY(!revert->isEnabled());
    const journal::JournalEntry step = viewer.model()->entries().front();
    QCOMPARE(step.kind, journal::GestureKind::kRevert);
    QCOMPARE(step.undo_of, a.id);
    QCOMPARE(viewer.model()->index(0, JournalModel::kState).data().toString(),
             QStringLiteral("annulla N° %1").arg(a.id));

    // Another connection takes the newer revocation away: reverting it
    // now would overwrite that, so it is refused and nothing changes.
    cn_->Execute(ParameterStatements::DeleteRevocation(Vendite(), kWarehouses, second.toStdString(),
                                                       Company(b)));
    const std::string tables = WarehouseRows(*cn_);
    const int listed = viewer.model()->rowCount();
    QVERIFY(viewer.Choose(b.id));
    QVERIFY(!viewer.RevertChosen());
    QCOMPARE(WarehouseRows(*cn_), tables);
    QCOMPARE(viewer.model()->rowCount(), listed);
    QVERIFY2(LastMessage().startsWith(
                 QStringLiteral("Impossibile annullare la modifica N° %1").arg(b.id)),
             qPrintable(LastMessage()));
    QCOMPARE(StateAt(1), Qt::Checked);
    QVERIFY(revert->isEnabled());
  }

  void WithoutTheJournalTablesUndoWorksAndTheViewerSaysSo() {
    // An older installation: the journal lives in the editor's memory.
    cn_->Execute("DROP TABLE FW3K_IMMAGINIREVOKE");
    cn_->Execute("DROP TABLE FW3J_GIORNALEREVOKE");
    QVERIFY(!journal::Journal::HasTables(*cn_));
    Open();
    QVERIFY(!Journal()->persistent());
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseWarehouses();
    const QString code = CodeAt(0);
    const journal::JournalEntry a = ClickRow(0);
    QVERIFY(a.id != 0);
    QVERIFY(Revoked(Vendite(), a, code));
    JournalViewer viewer(session_->ui().JournalSource(), Main());
    QVERIFY(viewer.findChild<QLabel*>(QStringLiteral("JournalInMemory")) != nullptr);
    QCOMPARE(viewer.model()->rowCount(), 1);
    QVERIFY(viewer.Choose(a.id));
    QCOMPARE(viewer.images()->rowCount(), 1);
    QVERIFY(Action("ActionUndo")->isEnabled());
    Action("ActionUndo")->trigger();
    QVERIFY(!Revoked(Vendite(), a, code));
    QCOMPARE(StateAt(0), Qt::Checked);
  }

  void TheFileMenuOpensTheViewer() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseWarehouses();
    ClickRow(0);
    int rows = -1;
    QString title;
    QTimer::singleShot(0, [&rows, &title] {
      auto* viewer = qobject_cast<JournalViewer*>(QApplication::activeModalWidget());
      if (viewer == nullptr) return;
      rows = viewer->model()->rowCount();
      title = viewer->windowTitle();
      viewer->reject();
    });
    QAction* action = Action("ActionJournal");
    QVERIFY(action != nullptr);
    action->trigger();
    QCOMPARE(rows, 1);
    QCOMPARE(title, QStringLiteral("Giornale delle modifiche"));
    // A persistent journal needs no notice.
    JournalViewer viewer(session_->ui().JournalSource(), Main());
    QCOMPARE(viewer.findChild<QLabel*>(QStringLiteral("JournalInMemory")), nullptr);
  }

  void RowImagesReadWithoutTableNames() {
    using journal::JournalTable;
    QCOMPARE(RowImageModel::Describe(JournalTable::kCliFor, std::string("0|1")),
             QStringLiteral("revocato (abilitato no, modifica sì)"));
    QCOMPARE(RowImageModel::Describe(JournalTable::kCliFor, std::string("1|1")),
             QStringLiteral("consentito (abilitato sì, modifica sì)"));
    QCOMPARE(RowImageModel::Describe(JournalTable::kNodes, std::string()),
             QStringLiteral("revocato"));
    QCOMPARE(RowImageModel::Describe(JournalTable::kNodes, std::nullopt),
             QStringLiteral("consentito (nessuna riga)"));
    QCOMPARE(RowImageModel::Describe(JournalTable::kSettings, std::string("x|1")),
             QStringLiteral("revoche attive"));
    QCOMPARE(RowImageModel::SectionOf(JournalTable::kParameters, "\\N|3|8|P1|1", 0),
             QStringLiteral("Progetti"));
    QCOMPARE(RowImageModel::SectionOf(JournalTable::kTransfers, "", 0),
             QStringLiteral("Trasferimenti tra depositi"));
    QCOMPARE(MainWindow::StepText(QStringLiteral("Annulla"), QStringLiteral("A & B")),
             QStringLiteral("Annulla A && B"));
    QVERIFY(MainWindow::StepText(QStringLiteral("Annulla"), QString(200, QLatin1Char('x')))
                .endsWith(QChar(0x2026)));
  }
};

}  // namespace orv::hostapp

int RunJournalUiTest(int argc, char** argv) {
  orv::hostapp::JournalUiTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "journal_ui_test.moc"
