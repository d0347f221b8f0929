// The editor in the desktop host, driven as a user drives it: widgets found
// by object name, clicks at the visual rectangle of the item, keys, and
// message boxes answered through preset answers; every change is looked up
// in the demo database.

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"
#include "editor/frmfw_orvelka.h"
#include "hostapp/change_log_viewer.h"
#include "hostapp/check_header_view.h"
#include "hostapp/column_legend.h"
#include "hostapp/double_click_area.h"
#include "hostapp/form_view.h"
#include "hostapp/help_dialog.h"
#include "hostapp/host_session.h"
#include "hostapp/login_dialog.h"
#include "hostapp/lookup_dialog.h"
#include "hostapp/main_window.h"
#include "hostapp/principal_tree_view.h"
#include "hostapp/qt_resize_control.h"
#include "hostapp/screenshot.h"
#include "hostapp/suites.h"
#include "hostdb/demo_installation.h"
#include "hostdb/temporary_demo_database.h"

namespace orv::hostapp {
namespace {

using hostdb::DemoInstallation;

// The rows that revoke something. The customer/supplier and family tables
// keep a row once written and give a right back with its flag.
constexpr const char* kRevocationTables[] = {
    "FW31_RVKPARAMETRI", "FW32_RVKCLIFOR WHERE FW32_FLGABILITATO = 0",
    "FW3H_RVKARTICOLI WHERE FW3H_FLGINSERIMENTO = 0 OR FW3H_FLGMODIFICA = 0 OR FW3H_FLGELIMINA = 0",
    "FW3E_RVKDEPCOLL", "FW3N_RVKNODI"};

int64_t Count(db::Connection& cn, const std::string& sql) {
  return cn.Execute(sql)->Field(0).ToInt64();
}

int64_t Revocations(db::Connection& cn) {
  int64_t total = 0;
  for (const char* table : kRevocationTables) {
    total += Count(cn, std::string("SELECT COUNT(*) FROM ") + table);
  }
  return total;
}

// The first cell of `view` with a check box, walking the tree depth first.
QModelIndex FirstCheckable(QAbstractItemModel* model, const QModelIndex& parent = {}) {
  for (int r = 0; r < model->rowCount(parent); ++r) {
    for (int c = 0; c < model->columnCount(parent); ++c) {
      const QModelIndex index = model->index(r, c, parent);
      if ((model->flags(index) & Qt::ItemIsUserCheckable) &&
          model->data(index, Qt::CheckStateRole).isValid()) {
        return index;
      }
    }
    const QModelIndex child = FirstCheckable(model, model->index(r, 0, parent));
    if (child.isValid()) return child;
  }
  return {};
}

void ClickAt(QAbstractItemView* view, const QModelIndex& index) {
  view->scrollTo(index);
  const QRect rect = view->visualRect(index);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// Counts the host's main windows that were shown.
class ShowWatcher : public QObject {
 public:
  int main_windows_shown = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && qobject_cast<MainWindow*>(watched) != nullptr) {
      ++main_windows_shown;
    }
    return false;
  }
};

}  // namespace

class EditorTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<hostdb::TemporaryDemoDatabase> demo_;
  std::shared_ptr<db::Connection> cn_;
  std::unique_ptr<HostSession> session_;
  std::vector<std::unique_ptr<QAbstractItemModelTester>> testers_;

  void Open(const std::string& login = std::string(DemoInstallation::kLoginAdmin)) {
    HostSession::Options options;
    options.connection_string = demo_->connection_string();
    options.login = login;
    options.company = DemoInstallation::kCompanyMain;
    options.unattended = true;  // a box nobody preset must not hang the test
    session_ = std::make_unique<HostSession>(options);
    session_->Open();
  }
  MainWindow* Main() { return session_->ui().main_window(); }
  template <typename T>
  T* Find(const char* name) {
    MainWindow* main = Main();
    return main == nullptr ? nullptr : main->findChild<T*>(QString::fromLatin1(name));
  }
  void Watch(QAbstractItemModel* model) {
    testers_.push_back(std::make_unique<QAbstractItemModelTester>(
        model, QAbstractItemModelTester::FailureReportingMode::QtTest));
  }
  // Clicks the principal's node in the tree.
  void PickPrincipal(int32_t kind, int64_t id) {
    auto* view = Find<QTreeView>("VRX_TREEUTENTI1_view");
    QVERIFY(view != nullptr);
    const QModelIndex index = session_->ui().controls().tree->IndexOf(kind, id);
    QVERIFY(index.isValid());
    ClickAt(view, index);
  }
  // Clicks a side-bar item.
  void ChooseSection(const std::string& key) {
    auto* bar = Find<QListView>("VRX_SIDEBAR1");
    QVERIFY(bar != nullptr);
    const int row = session_->ui().controls().side_bar->RowOf(key);
    QVERIFY(row >= 0);
    ClickAt(bar, bar->model()->index(row, 0));
  }
  QString GestureStatus() {
    auto* label = Find<QLabel>("GestureStatus");
    return label == nullptr ? QStringLiteral("<no status line>") : label->text();
  }
  QString Title() {
    auto* label = Find<QLabel>("LblTitle");
    return label == nullptr ? QString() : label->text();
  }
  QString SectionCaption(const std::string& key) {
    return QString::fromStdString(session_->ui().controls().side_bar->ItemCaption(key));
  }
  // The grid on screen and its first check-box cell.
  QAbstractItemView* VisibleGrid() {
    for (const char* name : {"GRIDTIPOLOGIE", "TGRID_CLIFOR", "GRID_DEPOSITO"}) {
      auto* view = Find<QAbstractItemView>(name);
      if (view != nullptr && view->isVisibleTo(Main())) return view;
    }
    return nullptr;
  }

 private slots:
  void init() {
    demo_ = std::make_unique<hostdb::TemporaryDemoDatabase>();
    cn_ = demo_->Connect();
  }
  void cleanup() {
    testers_.clear();
    if (session_) session_->Close();
    session_.reset();
    QApplication::processEvents();
    cn_.reset();
    demo_.reset();
  }

  void OpensWithTheTreeAndTheSideBar() {
    Open();
    QVERIFY(Main() != nullptr);
    QVERIFY(Main()->isVisible());
    editor::FRMFW_ORVELKA* window = session_->window();
    QVERIFY(window != nullptr);
    QVERIFY(window->started());
    const QtControls& c = session_->ui().controls();
    Watch(c.tree->filtered());
    Watch(c.copy_tree->filtered());
    Watch(c.side_bar->model());
    Watch(c.grid->model());
    Watch(c.tree_grid->model());
    Watch(c.matrix->model());
    // Two headings holding every group and every user.
    QAbstractItemModel* tree = c.tree->filtered();
    QCOMPARE(tree->rowCount(), 2);
    QCOMPARE(tree->rowCount(tree->index(0, 0)), DemoInstallation::kGroupCount);
    QCOMPARE(tree->rowCount(tree->index(1, 0)), DemoInstallation::kUserCount);
    // The side bar has the host's captions.
    QCOMPARE(c.side_bar->ItemCaption("ITM50010"), std::string("Clienti/Fornitori"));
    QCOMPARE(c.side_bar->ItemCaption("ITM_TRANSORIDEST"),
             std::string("Trasferimenti tra depositi"));
    QCOMPARE(c.side_bar->model()->rowCount(), 9);
    // The window's own controls are widgets named after them, in twips.
    auto* title = Find<QWidget>("LblTitle");
    QVERIFY(title != nullptr);
    FormView* view = session_->ui().view();
    QCOMPARE(title->x(), TwipsToPixelsAt(view, window->control("LblTitle").left()));
    QCOMPARE(Find<QWidget>("VRX_FRM(5)")->isVisibleTo(Main()), window->VRX_FRM(5).visible());
    // The search box narrows the tree.
    auto* search = Find<QLineEdit>("VRX_TREEUTENTI1_search");
    QVERIFY(search != nullptr);
    QTest::keyClicks(search, "vendite");
    QCOMPARE(tree->rowCount(), 1);
    QCOMPARE(tree->rowCount(tree->index(0, 0)), 1);
    search->clear();
    QCOMPARE(tree->rowCount(tree->index(1, 0)), DemoInstallation::kUserCount);
  }

  void TheTitleAndTheHighlightNameThePrincipalShown() {
    Open();
    const QtControls& c = session_->ui().controls();
    Watch(c.tree->filtered());
    ChooseSection("ITM50017");
    const QString section = SectionCaption("ITM50017");
    QCOMPARE(Title(), section + QStringLiteral(" — nessun utente o gruppo scelto"));
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    QCOMPARE(Title(), section + QStringLiteral(" — Gruppo: Ufficio vendite"));
    PickPrincipal(1, DemoInstallation::kUserColombo);
    const QString colombo = c.tree->IndexOf(1, DemoInstallation::kUserColombo).data().toString();
    QCOMPARE(Title(), section + QStringLiteral(" — Utente: ") + colombo);

    // A search that does not match the principal shown keeps it listed and
    // highlighted: the highlight never rests on someone else.
    auto* view = Find<QTreeView>("VRX_TREEUTENTI1_view");
    auto* search = Find<QLineEdit>("VRX_TREEUTENTI1_search");
    QTest::keyClicks(search, "ros");
    QVERIFY(c.tree->IndexOf(1, DemoInstallation::kUserRossi).isValid());
    QCOMPARE(view->currentIndex(), c.tree->IndexOf(1, DemoInstallation::kUserColombo));
    QCOMPARE(c.tree->NodeAt(view->currentIndex())->id, int64_t{DemoInstallation::kUserColombo});
    QCOMPARE(session_->window()->CurrentPrincipal().user_id().ToInt64(),
             int64_t{DemoInstallation::kUserColombo});

    // Moving the highlight with the arrow keys loads the principal it rests on.
    view->setFocus();
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) {
      QTest::keyClick(view, key);
      const std::optional<host::PrincipalNode> node = c.tree->NodeAt(view->currentIndex());
      QVERIFY2(node.has_value(), "the highlight rests on a principal, never on a heading");
      QCOMPARE(c.tree->SelectedNode()->id, node->id);
      QCOMPARE(c.tree->SelectedNode()->kind, node->kind);
      const store::Principal shown = session_->window()->CurrentPrincipal();
      QCOMPARE((node->IsGroup() ? shown.group_id() : shown.user_id()).ToInt64(), node->id);
      QVERIFY(Title().endsWith(QString::fromStdString(node->name)));
    }
    // Down from the last group crosses the users' heading onto the first user.
    search->clear();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    QAbstractItemModel* tree = c.tree->filtered();
    const QModelIndex last_group =
        tree->index(tree->rowCount(tree->index(0, 0)) - 1, 0, tree->index(0, 0));
    ClickAt(view, last_group);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(view->currentIndex(), tree->index(0, 0, tree->index(1, 0)));
    QVERIFY(!c.tree->SelectedNode()->IsGroup());
  }

  void TheStatusLineSaysWhatAGestureDid() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseSection("ITM50017");
    QVERIFY(GestureStatus().startsWith(QStringLiteral("Mostrati: ")));
    auto* grid = Find<QTreeView>("GRIDTIPOLOGIE");
    GroupingGridModel* model = session_->ui().controls().grid->model();
    const QModelIndex cell = FirstCheckable(model);
    const QString code = cell.sibling(cell.row(), 0).data().toString();
    ClickAt(grid, cell);
    QVERIFY2(GestureStatus().startsWith(QStringLiteral("Revocato «") + code),
             qPrintable(GestureStatus()));
    QVERIFY(GestureStatus().endsWith(QStringLiteral("per il gruppo Ufficio vendite")));
    ClickAt(grid, FirstCheckableAt(grid, cell));
    QVERIFY2(GestureStatus().startsWith(QStringLiteral("Ripristinato «") + code),
             qPrintable(GestureStatus()));

    // A bulk button: the count of rights it took away, or what stopped it.
    QtMessageService& messages = session_->global().messages();
    const int boxes = CountCheckedIn(model);
    QVERIFY(boxes > 1);
    messages.PresetAnswer(host::kVbNo);
    QTest::mouseClick(Find<QPushButton>("VRX_DISABILITATUTTI"), Qt::LeftButton);
    QVERIFY2(GestureStatus().startsWith(QStringLiteral("Annullato: ")),
             qPrintable(GestureStatus()));
    messages.PresetAnswer(host::kVbYes);
    QTest::mouseClick(Find<QPushButton>("VRX_DISABILITATUTTI"), Qt::LeftButton);
    QCOMPARE(GestureStatus(),
             QStringLiteral("«Disabilita tutti»: revocati %1 diritti per il gruppo Ufficio vendite")
                 .arg(boxes));

    // A write the database refuses: the line says it failed.
    ClickAt(grid, FirstCheckable(model));
    cn_->Execute("DROP TABLE FW31_RVKPARAMETRI");
    messages.PresetAnswer(host::kVbOK);
    const QModelIndex again = FirstCheckable(model);
    const int state = again.data(Qt::CheckStateRole).toInt();
    ClickAt(grid, again);
    QVERIFY2(GestureStatus().startsWith(QStringLiteral("Errore, nulla di salvato: ")),
             qPrintable(GestureStatus()));
    QCOMPARE(FirstCheckableAt(grid, again).data(Qt::CheckStateRole).toInt(), state);
  }

  void ButtonsWithoutAPrincipalAreDisabledAndSayWhy() {
    Open();
    struct Case {
      const char* section;
      std::vector<const char*> buttons;
    };
    const Case cases[] = {
        {"ITM50017", {"VRX_ABILITATUTTI", "VRX_DISABILITATUTTI", "VRX_COPIAUTENTE"}},
        {"ITM50010", {"VRX_ABILITATUTTI2", "VRX_DISABILITATUTTI_CLIFOR", "VRX_COPIAUTENTE2"}},
        {"ITM_TRANSORIDEST",
         {"VRX_ABIDISDEPORI", "BTN_ABILITATUTTIDEP", "VRX_DISABILITATUTTIDEP", "VRX_COPIADEP"}},
        {"ITM154", {"CMD_OK"}}};
    for (const Case& c : cases) {
      ChooseSection(c.section);
      for (const char* name : c.buttons) {
        auto* button = Find<QPushButton>(name);
        QVERIFY2(button != nullptr, name);
        QVERIFY2(!button->isEnabled(), name);
        QVERIFY2(button->toolTip().startsWith(QStringLiteral("Scegliere")), name);
      }
    }
    // The buttons for every principal at once need nobody.
    ChooseSection("ITM_TRANSORIDEST");
    QVERIFY(Find<QPushButton>("VRX_DISABILITATUTTIU")->isEnabled());
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    QVERIFY(Find<QPushButton>("VRX_COPIADEP")->isEnabled());
    ChooseSection("ITM50017");
    QVERIFY(Find<QPushButton>("VRX_ABILITATUTTI")->isEnabled());
    // The copy needs its source too.
    ChooseSection("ITM154");
    QVERIFY(!Find<QPushButton>("CMD_OK")->isEnabled());
    session_->ui().controls().copy_tree->Select(1, DemoInstallation::kUserBianchi);
    QVERIFY(Find<QPushButton>("CMD_OK")->isEnabled());
  }

  void InactiveUsersAreGreyAndTooltipsNameThePrincipal() {
    Open();
    const QtControls& c = session_->ui().controls();
    const QModelIndex ricci = c.tree->IndexOf(1, DemoInstallation::kUserRicci);
    const QModelIndex rossi = c.tree->IndexOf(1, DemoInstallation::kUserRossi);
    QVERIFY(ricci.data(Qt::ForegroundRole).isValid());
    QVERIFY(ricci.data(Qt::FontRole).value<QFont>().italic());
    QVERIFY(ricci.data(Qt::ToolTipRole).toString().endsWith(QStringLiteral("(non attivo)")));
    QVERIFY(!rossi.data(Qt::ForegroundRole).isValid());
    QVERIFY(rossi.data(Qt::ToolTipRole).toString().contains(QStringLiteral("mrossi")));
    QCOMPARE(c.tree->IndexOf(0, DemoInstallation::kGroupVendite).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Gruppo Ufficio vendite, codice VENDITE"));
  }

  void TheTreeAndTheSectionsShareASplitter() {
    Open();
    ChooseSection("ITM50017");
    auto* handle = Find<QWidget>("PaneSplitter");
    QWidget* pane = Find<QWidget>("PCB_UTENTI");
    QWidget* frame = Find<QWidget>("VRX_FRM(3)");
    QWidget* grid = Find<QWidget>("GRIDTIPOLOGIE");
    QVERIFY(handle != nullptr && handle->isVisibleTo(Main()));
    const QRect pane_before = pane->geometry();
    const QRect frame_before = frame->geometry();
    const int grid_before = grid->width();
    // Between the two, whatever the window's size.
    QVERIFY(handle->geometry().intersects(QRect(pane_before.right(), pane_before.top(), 2, 2)));
    const auto drag = [&](int dx) {
      const QPoint start = handle->rect().center();
      QTest::mousePress(handle, Qt::LeftButton, {}, start);
      // Two steps while the button is held; the handle follows each.
      for (int step : {dx / 2, dx - dx / 2}) {
        const QPoint to = handle->rect().center() + QPoint(step, 0);
        QMouseEvent move(QEvent::MouseMove, to, handle->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
      }
      QTest::mouseRelease(handle, Qt::LeftButton, {}, handle->rect().center());
    };
    drag(60);
    QVERIFY2(std::abs(pane->width() - (pane_before.width() + 60)) <= 1,
             qPrintable(QStringLiteral("%1 %2 %3")
                            .arg(pane->width())
                            .arg(pane_before.width())
                            .arg(session_->ui().controls().resize->split())));
    QVERIFY(std::abs(frame->x() - (frame_before.x() + 60)) <= 1);
    QVERIFY(std::abs(frame->width() - (frame_before.width() - 60)) <= 1);
    QVERIFY(std::abs(grid->width() - (grid_before - 60)) <= 1);
    QVERIFY(pane->geometry().right() < frame->x());
    QVERIFY(handle->geometry().intersects(QRect(pane->geometry().right(), pane->y(), 2, 2)));
    // A window resize still stretches the sections from there.
    Main()->resize(Main()->size() + QSize(100, 0));
    QApplication::processEvents();
    QVERIFY(std::abs(frame->width() - (frame_before.width() + 40)) <= 1);
    // Never narrower than a usable pane.
    drag(-2000);
    QCOMPARE(pane->width(), TwipsToPixelsAt(session_->ui().view(), QtResizeControl::kMinPane));
    QVERIFY(pane->geometry().right() < frame->x());
  }

  void RowsOfSeveralCompaniesNameTheirCompany() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseSection("ITM50016");
    GroupingGridModel* model = session_->ui().controls().grid->model();
    Watch(model);
    QVERIFY(model->several_companies());
    QStringList bases;
    for (int r = 0; r < model->rowCount(); ++r) {
      const QString code = model->index(r, 0).data().toString();
      if (code.startsWith(QStringLiteral("BASE "))) bases << code;
    }
    QCOMPARE(bases.size(), 2);
    QVERIFY2(bases[0] != bases[1], qPrintable(bases.join('|')));
    QVERIFY(
        model->index(0, 0).data(Qt::ToolTipRole).toString().contains(QStringLiteral("azienda")));
    // One company: the rows stay as they are.
    ChooseSection("ITM50017");
    QVERIFY(!model->several_companies());
    QVERIFY(!model->index(0, 0).data().toString().contains(QStringLiteral("azienda")));
  }

  void QtsOwnTextsAndTheProgramsAreItalian() {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel |
                           QMessageBox::Retry | QMessageBox::Ignore | QMessageBox::Abort);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Annulla"));
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Sì"));
    QCOMPARE(box.button(QMessageBox::Retry)->text().remove(QLatin1Char('&')),
             QStringLiteral("Riprova"));
    struct Case {
      std::string login;
      int32_t company;
      const char* message;
    };
    for (const Case& c : {Case{"nessuno", 1, "utente sconosciuto: nessuno"},
                          Case{"admin", 9, "l'azienda 9 non esiste"}}) {
      HostSession::Options options;
      options.connection_string = demo_->connection_string();
      options.login = c.login;
      options.company = c.company;
      try {
        HostSession session(options);
        QFAIL("the session opened");
      } catch (const std::runtime_error& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QString::fromUtf8(c.message));
      }
    }
    LoginDialog dialog({{"admin", "Amministratore", true}}, {{1, "Officine"}}, std::nullopt,
                       std::nullopt);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Accesso"));
  }

  void ResizingTheWindowFollowsTheAnchoringCodes() {
    Open();
    editor::FRMFW_ORVELKA* window = session_->window();
    QWidget* frame = Find<QWidget>("VRX_FRM(5)");       // 15: stretches
    QWidget* copy = Find<QWidget>("VRX_COPIAUTENTE2");  // 12: follows the corner
    QWidget* bar = Find<QWidget>("VRX_SIDEBAR1");       // 11: stretches down
    QWidget* users = Find<QWidget>("PCB_UTENTI");       // 13: a pane, stays across
    QVERIFY(frame != nullptr && copy != nullptr && bar != nullptr && users != nullptr);
    const QRect users_before = users->geometry();
    const QRect frame_before = frame->geometry();
    const QPoint copy_before = copy->pos();
    const QRect bar_before = bar->geometry();
    const int32_t twips_before = window->VRX_FRM(5).width();
    Main()->resize(Main()->size() + QSize(120, 60));
    QApplication::processEvents();
    QVERIFY(std::abs(frame->width() - (frame_before.width() + 120)) <= 1);
    QVERIFY(std::abs(frame->height() - (frame_before.height() + 60)) <= 1);
    QVERIFY(std::abs(copy->x() - (copy_before.x() + 120)) <= 1);
    QVERIFY(std::abs(copy->y() - (copy_before.y() + 60)) <= 1);
    QCOMPARE(bar->width(), bar_before.width());
    QVERIFY(std::abs(bar->height() - (bar_before.height() + 60)) <= 1);
    QCOMPARE(window->VRX_FRM(5).width(), twips_before + 1800);  // 120 px at 96 dpi
    QCOMPARE(users->x(), users_before.x());
    QVERIFY(users->geometry().right() < frame->x());  // never over the sections
  }

  void ClickingANodePicksThePrincipal() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    auto node = session_->ui().controls().tree->SelectedNode();
    QVERIFY(node.has_value());
    QVERIFY(node->IsGroup());
    QCOMPARE(node->id, int64_t{DemoInstallation::kGroupVendite});
    QCOMPARE(session_->window()->CurrentPrincipal().group_id().ToInt64(),
             int64_t{DemoInstallation::kGroupVendite});
  }

  void WarehouseCheckBoxWritesTheRevocation() {
    Open();
    Watch(session_->ui().controls().grid->model());
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseSection("ITM50017");
    editor::FRMFW_ORVELKA* window = session_->window();
    QCOMPARE(window->section_code(), 6);
    auto* grid = Find<QTreeView>("GRIDTIPOLOGIE");
    QVERIFY(grid != nullptr && grid->isVisibleTo(Main()));
    GroupingGridModel* model = session_->ui().controls().grid->model();
    const QModelIndex cell = FirstCheckable(model);
    QVERIFY2(cell.isValid(), "the warehouse grid has rows with a check box");
    const std::string code = cell.sibling(cell.row(), 0).data().toString().toStdString();
    const std::string where =
        "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 6 AND "
        "FW31_ID_FW06 = " +
        std::to_string(DemoInstallation::kGroupVendite) +
        " AND FW31_ID_FW07 IS NULL AND RTRIM(FW31_CODTIPO) = '" + code + "'";
    const int64_t logged = Count(*cn_, "SELECT COUNT(*) FROM FW90_LOGMODIFICHE");
    QCOMPARE(Count(*cn_, where), int64_t{0});
    QCOMPARE(cell.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

    ClickAt(grid, cell);
    QCOMPARE(Count(*cn_, where), int64_t{1});
    QCOMPARE(
        model->index(cell.row(), cell.column(), cell.parent()).data(Qt::CheckStateRole).toInt(),
        int(Qt::Unchecked));
    QVERIFY(Count(*cn_, "SELECT COUNT(*) FROM FW90_LOGMODIFICHE") > logged);

    // Again: the revocation goes.
    ClickAt(grid, model->index(cell.row(), cell.column(), cell.parent()));
    QCOMPARE(Count(*cn_, where), int64_t{0});

    // The keyboard: arrows move, space toggles the focused box.
    grid->setFocus();
    grid->setCurrentIndex(model->index(cell.row(), cell.column(), cell.parent()));
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(Count(*cn_, where), int64_t{1});
    if (model->rowCount(cell.parent()) > cell.row() + 1) {
      QTest::keyClick(grid, Qt::Key_Down);
      QCOMPARE(grid->currentIndex().row(), cell.row() + 1);
    }
  }

  void EverySectionSavesACheckBoxClick() {
    Open();
    PickPrincipal(1, DemoInstallation::kUserBianchi);
    const QtControls& c = session_->ui().controls();
    Watch(c.grid->model());
    Watch(c.tree_grid->model());
    Watch(c.matrix->model());
    int exercised = 0;
    QStringList empty;
    for (const host::SideBarItem& item : c.side_bar->items()) {
      if (item.key == "ITM154") continue;  // the copy panel has no grid
      ChooseSection(item.key);
      QCOMPARE(QString::fromStdString(session_->window()->control("LblTitle").caption()),
               QString::fromStdString(item.caption));
      QAbstractItemView* view = VisibleGrid();
      QModelIndex cell = view != nullptr ? FirstCheckable(view->model()) : QModelIndex();
      auto* update = Find<QPushButton>("CMD_UPDATE");
      if (!cell.isValid() && view != nullptr && update != nullptr && update->isVisibleTo(Main())) {
        // Sections with a filter load on "Aggiorna".
        QTest::mouseClick(update, Qt::LeftButton);
        cell = FirstCheckable(view->model());
      }
      if (!cell.isValid()) {
        empty << QString::fromStdString(item.key);
        continue;
      }
      const int64_t before = Revocations(*cn_);
      ClickAt(view, cell);
      const int64_t after = Revocations(*cn_);
      QVERIFY2(after != before, item.key.c_str());
      ClickAt(view, FirstCheckableAt(view, cell));
      QVERIFY2(Revocations(*cn_) == before, item.key.c_str());
      ++exercised;
    }
    QVERIFY2(empty.isEmpty(), qPrintable("sections without a check box: " + empty.join(' ')));
    QCOMPARE(exercised, static_cast<int>(c.side_bar->items().size()) - 1);
  }

  // The model column whose header reads `caption` (-1 when none).
  static int ColumnOfCaption(QAbstractItemModel* model, const QString& caption) {
    for (int c = 0; c < model->columnCount(); ++c) {
      if (model->headerData(c, Qt::Horizontal).toString() == caption) return c;
    }
    return -1;
  }

  void CustomerSupplierTreeHasHeadingsWithoutBoxes() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseSection("ITM50010");
    const QtControls& c = session_->ui().controls();
    Watch(c.tree_grid->model());
    auto* view = Find<QTreeView>("TGRID_CLIFOR");
    QVERIFY(view != nullptr && view->isVisibleTo(Main()));
    QAbstractItemModel* model = view->model();
    // The headings open by themselves once the section is shown.
    QTRY_VERIFY(model->rowCount() > 0 && view->isExpanded(model->index(0, 0)));
    QVERIFY(view->isExpanded(model->index(model->rowCount() - 1, 0)));
    const QStringList headings = {"MacroArea/Area/Zona", "MacroCategoria/Categoria/ SottoCategoria",
                                  "Raggruppamento 1",    "Raggruppamento 2",
                                  "Raggruppamento 3",    "Sedi"};
    QCOMPARE(model->rowCount(), static_cast<int>(headings.size()));
    const int name = ColumnOfCaption(model, "Nome");
    const int allowed = ColumnOfCaption(model, "Abilita");
    QVERIFY(name >= 0 && allowed >= 0);
    const std::string rows = "SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = " +
                             std::to_string(DemoInstallation::kGroupVendite);
    const int64_t before = Count(*cn_, rows);
    for (int r = 0; r < model->rowCount(); ++r) {
      QCOMPARE(model->index(r, name).data().toString(), headings[r]);
      // A heading shows no box, and a click on its cell writes nothing.
      const QModelIndex heading = model->index(r, allowed);
      QVERIFY(!model->data(heading, Qt::CheckStateRole).isValid());
      ClickAt(view, heading);
    }
    QCOMPARE(Count(*cn_, rows), before);

    // A branch under the first heading: cleared, its row says revoked.
    view->expandAll();
    const QModelIndex branch = FirstCheckable(model, model->index(0, 0));
    QVERIFY(branch.isValid());
    QCOMPARE(branch.column(), allowed);
    QCOMPARE(branch.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    const std::string revoked = rows + " AND FW32_FLGABILITATO = 0 AND FW32_TIPORAGG = 'AREA'";
    const int64_t revoked_before = Count(*cn_, revoked);
    ClickAt(view, branch);
    QCOMPARE(Count(*cn_, revoked), revoked_before + 1);
    QCOMPARE(model->index(branch.row(), allowed, branch.parent()).data(Qt::CheckStateRole).toInt(),
             int(Qt::Unchecked));
  }

  void ClearingAFamilyDeleteRightClearsModifyOnScreen() {
    Open();
    PickPrincipal(1, DemoInstallation::kUserVerdi);
    ChooseSection("ITM_ARTFAM");
    auto* view = Find<QTreeView>("TGRID_CLIFOR");
    QVERIFY(view != nullptr && view->isVisibleTo(Main()));
    QAbstractItemModel* model = view->model();
    Watch(model);
    QVERIFY(model->rowCount() > 0);
    const int modify = ColumnOfCaption(model, "Mod");
    const int remove = ColumnOfCaption(model, "Elim");
    QVERIFY(modify >= 0 && remove >= 0);
    QCOMPARE(model->index(0, modify).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    ClickAt(view, model->index(0, remove));
    QCOMPARE(model->index(0, remove).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(model->index(0, modify).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    const std::string row = "SELECT COUNT(*) FROM FW3H_RVKARTICOLI WHERE FW3H_ID_FW07 = " +
                            std::to_string(DemoInstallation::kUserVerdi) +
                            " AND FW3H_FLGELIMINA = 0 AND FW3H_FLGMODIFICA = 0 AND "
                            "FW3H_FLGINSERIMENTO = 1";
    QCOMPARE(Count(*cn_, row), int64_t{1});
  }

  void TransferMatrixHasHeaderGroupsAndHeaderBoxes() {
    Open();
    PickPrincipal(1, DemoInstallation::kUserVerdi);
    ChooseSection("ITM_TRANSORIDEST");
    const QtControls& c = session_->ui().controls();
    Watch(c.matrix->model());
    auto* view = Find<QTableView>("GRID_DEPOSITO");
    QVERIFY(view != nullptr);
    MatrixGridModel* model = c.matrix->model();
    QVERIFY2(model->columnCount() >= 2, "the matrix has the origin and a destination column");
    QCOMPARE(c.matrix->header_groups(), (std::vector<std::string>{"Destinazioni", "Origine"}));
    auto* header = qobject_cast<CheckHeaderView*>(view->horizontalHeader());
    QVERIFY(header != nullptr);
    QVERIFY(!header->GroupRect(0).isEmpty());
    QVERIFY(header->GroupRect(1).width() > header->sectionSize(1));
    const QRect box = header->CheckBoxRect(1);
    QVERIFY(!box.isEmpty());
    const std::string destination = model->columns()[1].key.substr(2);
    const std::string rows = "SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW07 = " +
                             std::to_string(DemoInstallation::kUserVerdi) +
                             " AND FW3E_DITTA_CG18 = 1";
    const int64_t before = Count(*cn_, rows);
    // The boxes are drawn: a checked box and a cleared one differ on screen.
    const auto box_picture = [&] {
      header->viewport()->repaint();
      return header->viewport()->grab(box).toImage();
    };
    const QImage checked = box_picture();
    QVERIFY2(checked.pixelColor(0, 0) != checked.pixelColor(box.width() / 2, box.height() / 2) ||
                 checked.pixelColor(box.width() - 1, 0) !=
                     checked.pixelColor(box.width() / 2, box.height() / 2),
             "something is drawn where the header box is");
    // Checked at first; a click clears it and revokes the destination from every origin.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, box.center());
    QCOMPARE(Count(*cn_, rows), before + model->rowCount());
    QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(box_picture() != checked);
    QVERIFY(GestureStatus().startsWith(
        QStringLiteral("Revocati %1 trasferimenti verso").arg(model->rowCount())));
    // A click on the caption over the box does what the box does.
    const QRect caption(header->sectionViewportPosition(1), header->GroupRect(1).bottom() + 2,
                        header->sectionSize(1), 4);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, caption.center());
    QCOMPARE(Count(*cn_, rows), before);
    QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::CheckStateRole).toInt(), int(Qt::Checked));
    // A click on the group band over the captions does nothing.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->GroupRect(1).center());
    QCOMPARE(Count(*cn_, rows), before);
    // The captions and the origin explain themselves.
    QVERIFY(ColumnLegend::For(QStringLiteral("02"), QStringLiteral("Destinazioni"), true)
                .contains(QStringLiteral("tutta la colonna")));
    QVERIFY(ColumnLegend::For(QStringLiteral(" "), QStringLiteral("Origine"), false)
                .contains(QStringLiteral("Abilita/Disabilita dep. origine")));
    QVERIFY(view->verticalHeader()->toolTip().contains(QStringLiteral("origine")));
    QVERIFY(Find<QPushButton>("VRX_ABIDISDEPORI")->toolTip().contains(QStringLiteral("origine")));
  }

  void EveryCaptionHasALegend() {
    for (const char* caption : {"Ins", "Mod", "Elim", "Abilita", "Abilitato", "Codice", "Nome",
                                "Descrizione", "Raggruppamento", "Progetto"}) {
      QVERIFY2(!ColumnLegend::For(QString::fromLatin1(caption), {}, false).isEmpty(), caption);
    }
    Open();
    ChooseSection("ITM154");
    for (const char* name : {"CHK_CLIFOR", "CHK_TRANS", "CHK_BLOC", "CHK_FAM", "CHK_DEP",
                             "CHK_CODICISIMUAZIONE", "CHK_PROGETTI", "CHK_NODI", "fraAnagBase"}) {
      auto* widget = Find<QWidget>(name);
      QVERIFY2(widget != nullptr && !widget->toolTip().isEmpty(), name);
    }
  }

  void CtrlFFindsInTheGridAndTheTree() {
    Open();
    PickPrincipal(1, DemoInstallation::kUserVerdi);
    ChooseSection("ITM_ARTFAM");
    QTreeView* grid = session_->ui().view()->tree_grid_view();
    QVERIFY(grid != nullptr && grid->isVisibleTo(Main()));
    auto* find = Find<QLineEdit>("GridSearch");
    QVERIFY(find != nullptr);
    Main()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Main()));
    grid->setFocus();
    QTest::keyClick(Main(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), find);
    QTest::keyClicks(find, "bullon");
    QStringList row;
    for (int c = 0; c < grid->model()->columnCount(grid->currentIndex().parent()); ++c) {
      row << grid->currentIndex().siblingAtColumn(c).data().toString();
    }
    QVERIFY2(row.contains(QStringLiteral("Viteria e bulloneria")), qPrintable(row.join('|')));
    QTest::keyClicks(find, "xyz");
    QVERIFY(GestureStatus().contains(QStringLiteral("non è nella griglia")));
    // From the tree, Ctrl+F goes to the tree's own search box.
    Find<QTreeView>("VRX_TREEUTENTI1_view")->setFocus();
    QTest::keyClick(Main(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), Find<QLineEdit>("VRX_TREEUTENTI1_search"));
  }

  void HelpOpensTheGuideAndAbout() {
    Open();
    Main()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Main()));
    QTest::keyClick(Main(), Qt::Key_F1);
    auto* help = Main()->findChild<HelpDialog*>();
    QVERIFY(help != nullptr && help->isVisible());
    QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("primi cinque minuti")));
    // Its pictures are built in.
    QVERIFY(!help->browser()
                 ->document()
                 ->resource(QTextDocument::ImageResource,
                            QUrl(QStringLiteral("images/guide-start.png")))
                 .isNull());
    Main()->findChild<QAction*>(QStringLiteral("ActionAbout"))->trigger();
    auto* about = Main()->findChild<QMessageBox*>(QStringLiteral("AboutBox"));
    QVERIFY(about != nullptr && about->isVisible());
    QVERIFY(about->text().contains(QApplication::applicationVersion()));
    about->close();
  }

  void ButtonsNeverCoverEachOtherAndSmallWindowsScroll() {
    Open();
    PickPrincipal(1, DemoInstallation::kUserVerdi);
    FormView* view = session_->ui().view();
    for (const char* section : {"ITM_TRANSORIDEST", "ITM50017", "ITM50010", "ITM154"}) {
      ChooseSection(section);
      for (const QSize size : {QSize(1385, 830), QSize(1920, 1080), QSize(1024, 640)}) {
        Main()->resize(size);
        QApplication::processEvents();
        std::vector<QPushButton*> shown;
        for (QPushButton* b : view->findChildren<QPushButton*>()) {
          if (b->isVisibleTo(Main())) shown.push_back(b);
        }
        for (QPushButton* b : shown) {
          QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->objectName()));
          for (QPushButton* other : shown) {
            if (other == b || other->parentWidget() != b->parentWidget()) continue;
            QVERIFY2(!b->geometry().intersects(other->geometry()),
                     qPrintable(QStringLiteral("%1 over %2 at %3x%4 in %5")
                                    .arg(b->objectName(), other->objectName())
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(QLatin1String(section))));
          }
        }
      }
    }
    // Smaller than the editor's design: it keeps its size and scrolls.
    Main()->resize(640, 420);
    QApplication::processEvents();
    QVERIFY(view->width() >= view->DesignSize().width());
    QVERIFY(view->height() >= view->DesignSize().height());
    auto* scroll = Find<QScrollArea>("EditorScrollArea");
    QVERIFY(scroll != nullptr && scroll->horizontalScrollBar()->isVisible());
  }

  void RemembersSizePrincipalAndSection() {
    QSettings().clear();
    HostSession::Options options;
    options.connection_string = demo_->connection_string();
    options.login = std::string(DemoInstallation::kLoginAdmin);
    options.company = DemoInstallation::kCompanyMain;
    options.unattended = true;
    options.remember = true;
    session_ = std::make_unique<HostSession>(options);
    session_->Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseSection("ITM50017");
    Main()->resize(1250, 720);
    QApplication::processEvents();
    auto* handle = Find<QWidget>("PaneSplitter");
    const QPoint start = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, start + QPoint(45, 0));
    const int split = session_->ui().controls().resize->split();
    QVERIFY(split > 0);
    session_->Close();
    session_.reset();
    QApplication::processEvents();
    QCOMPARE(QSettings().value(QtHostUi::kSectionKey).toString(), QStringLiteral("ITM50017"));
    session_ = std::make_unique<HostSession>(options);
    session_->Open();
    QCOMPARE(session_->window()->section_code(), 6);
    QCOMPARE(session_->ui().controls().tree->SelectedNode()->id,
             int64_t{DemoInstallation::kGroupVendite});
    QCOMPARE(Title(), SectionCaption("ITM50017") + QStringLiteral(" — Gruppo: Ufficio vendite"));
    QCOMPARE(Main()->size(), QSize(1250, 720));
    QCOMPARE(session_->ui().controls().resize->split(), split);
    QSettings().clear();
  }

  void QuestionIsAnsweredThroughAPresetAnswer() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupMagazzino);
    ChooseSection("ITM50017");
    GroupingGridModel* model = session_->ui().controls().grid->model();
    const QModelIndex cell = FirstCheckable(model);
    QVERIFY(cell.isValid());
    ClickAt(Find<QTreeView>("GRIDTIPOLOGIE"), cell);
    const std::string rows =
        "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 6 AND FW31_ID_FW06 = " +
        std::to_string(DemoInstallation::kGroupMagazzino);
    const int64_t revoked = Count(*cn_, rows);
    QVERIFY(revoked >= 1);
    QtMessageService& messages = session_->global().messages();
    const size_t shown = messages.shown().size();
    messages.PresetAnswer(host::kVbNo);
    auto* enable_all = Find<QPushButton>("VRX_ABILITATUTTI");
    QVERIFY(enable_all != nullptr && enable_all->isVisibleTo(Main()));
    QTest::mouseClick(enable_all, Qt::LeftButton);
    QVERIFY2(messages.shown().size() > shown, "\"Abilita tutti\" asks before it acts");
    QVERIFY((messages.shown()[shown].buttons & 7) == host::kVbYesNo);
    QCOMPARE(Count(*cn_, rows), revoked);  // No changes nothing
    messages.PresetAnswer(host::kVbYes);
    QTest::mouseClick(enable_all, Qt::LeftButton);
    QCOMPARE(Count(*cn_, rows), int64_t{0});
  }

  void ProjectFilterBoundsAndLookup() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseSection("ITM50026");
    auto* from = Find<QLineEdit>("ENHQUERY_PD68_CODPROG_Da");
    auto* update = Find<QPushButton>("CMD_UPDATE");
    QVERIFY(from != nullptr && from->isVisibleTo(Main()));
    QVERIFY(update != nullptr && update->isVisibleTo(Main()));
    GroupingGridModel* model = session_->ui().controls().grid->model();
    auto rows = [model] {
      int n = 0;
      for (int g = 0; g < model->rowCount(); ++g) {
        n += model->IsGroupRow(model->index(g, 0)) ? model->rowCount(model->index(g, 0)) : 1;
      }
      return n;
    };
    QTest::mouseClick(update, Qt::LeftButton);
    const int all = rows();
    QVERIFY(all > 1);
    // Typed in lower case, the code comes back as stored.
    QTest::keyClicks(from, "comm-mi-01");
    QTest::keyClick(from, Qt::Key_Return);
    QCOMPARE(from->text(), QStringLiteral("COMM-MI-01"));
    QTest::mouseClick(update, Qt::LeftButton);
    QCOMPARE(rows(), 1);
    // A quote is a literal, not SQL: nothing matches and nothing fails.
    const size_t shown = session_->global().messages().shown().size();
    from->clear();
    QTest::keyClicks(from, "x' OR '1'='1");
    QTest::keyClick(from, Qt::Key_Return);
    QTest::mouseClick(update, Qt::LeftButton);
    QCOMPARE(rows(), 0);
    QCOMPARE(session_->global().messages().shown().size(), shown);

    // The lookup lists the company's projects; picking one fills the box.
    auto* lookup = Find<QToolButton>("ENHQUERY_PD68_CODPROG_A_lookup");
    QVERIFY(lookup != nullptr);
    bool listed = false;
    std::function<void(int)> answer = [&](int tries) {
      auto* dialog = qobject_cast<LookupDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        if (tries > 0) QTimer::singleShot(10, [&answer, tries] { answer(tries - 1); });
        return;
      }
      QAbstractItemModelTester tester(dialog->model(),
                                      QAbstractItemModelTester::FailureReportingMode::QtTest);
      listed = dialog->model()->rowCount() == 5;  // company 1 has five projects
      auto* table = dialog->findChild<QTableView*>(QStringLiteral("LookupTable"));
      const QModelIndex first = table->model()->index(0, 0);
      table->setCurrentIndex(first);
      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      if (dialog->isVisible()) dialog->reject();
    };
    QTimer::singleShot(0, [&answer] { answer(200); });
    QTest::mouseClick(lookup, Qt::LeftButton);
    QVERIFY(listed);
    QCOMPARE(Find<QLineEdit>("ENHQUERY_PD68_CODPROG_A")->text(), QStringLiteral("24001"));
  }

  void SplitterArrowsCollapseAndOpenTheFilter() {
    Open();
    ChooseSection("ITM50026");  // projects: the filter pane is open
    QWidget* pane = Find<QWidget>("VRX_FMEHENQUERY");
    auto* up = Find<DoubleClickArea>("PICUP");
    auto* down = Find<DoubleClickArea>("PICDOWN");
    QVERIFY(pane != nullptr && up != nullptr && down != nullptr);
    QVERIFY(pane->isVisibleTo(Main()));
    QVERIFY(up->isVisibleTo(Main()));
    QWidget* grid_pane = Find<QWidget>("VRX_FMEGRID");
    const int open_top = grid_pane->y();
    QTest::mouseDClick(up, Qt::LeftButton);
    QVERIFY(!pane->isVisibleTo(Main()));
    QVERIFY(down->isVisibleTo(Main()));
    QVERIFY(grid_pane->y() < open_top);  // the grid takes the room
    QCOMPARE(grid_pane->y(), TwipsToPixelsAt(session_->ui().view(),
                                             session_->window()->control("VRX_FMEGRID").top()));
    QTest::mouseDClick(down, Qt::LeftButton);
    QVERIFY(pane->isVisibleTo(Main()));
    QCOMPARE(grid_pane->y(), open_top);
    // In the warehouses the arrows do nothing.
    ChooseSection("ITM50017");
    QVERIFY(!pane->isVisibleTo(Main()));
    QTest::mouseDClick(Find<QWidget>("SPLIT_OCX"), Qt::LeftButton);
    QVERIFY(!pane->isVisibleTo(Main()));
  }

  void MasterSwitchCheckBoxWritesTheSetting() {
    Open();
    ChooseSection("ITM50017");
    auto* box = Find<QCheckBox>("CHK_ABILREVOKE");
    QVERIFY(box != nullptr && box->isVisibleTo(Main()));
    const std::string setting =
        "SELECT FW95_VALORE FROM FW95_SETTINGS WHERE FW95_CODICE = 'AUT_RVKENABLED'";
    const int64_t logged =
        Count(*cn_, "SELECT COUNT(*) FROM FW90_LOGMODIFICHE WHERE FW90_EVENTO = 11");
    const bool was = box->isChecked();
    // It switches the whole installation: it says so and asks first.
    QVERIFY(box->toolTip().contains(QStringLiteral("tutta l'installazione")));
    QtMessageService& messages = session_->global().messages();
    messages.PresetAnswer(host::kVbNo);
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(box->isChecked(), was);
    QCOMPARE(db::Trim(cn_->Execute(setting)->Field(0).ToText()), std::string(was ? "1" : "0"));
    QVERIFY(messages.shown().back().prompt.find("tutta l'installazione") != std::string::npos);
    QCOMPARE(GestureStatus(), QStringLiteral("Abilitazione revoche: nessuna modifica"));
    messages.PresetAnswer(host::kVbYes);
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(box->isChecked(), !was);
    QCOMPARE(GestureStatus(), was ? QStringLiteral("Revoche disattivate per tutta l'installazione")
                                  : QStringLiteral("Revoche attivate per tutta l'installazione"));
    QCOMPARE(session_->window()->control("CHK_ABILREVOKE").value().ToInt32(), was ? 0 : 1);
    QCOMPARE(db::Trim(cn_->Execute(setting)->Field(0).ToText()), std::string(was ? "0" : "1"));
    QCOMPARE(session_->global().revocation_enabled(), std::optional<bool>(!was));
    QCOMPARE(Count(*cn_, "SELECT COUNT(*) FROM FW90_LOGMODIFICHE WHERE FW90_EVENTO = 11"),
             logged + 1);
    // The space bar toggles it back.
    messages.PresetAnswer(host::kVbYes);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(box->isChecked(), was);
    QCOMPARE(db::Trim(cn_->Execute(setting)->Field(0).ToText()), std::string(was ? "1" : "0"));
  }

  void EnterPicksTheFocusedNodeAndTheCopyPanelShowsIt() {
    Open();
    ChooseSection("ITM154");
    auto* view = Find<QTreeView>("VRX_TREEUTENTI1_view");
    const QModelIndex bianchi =
        session_->ui().controls().tree->IndexOf(1, DemoInstallation::kUserBianchi);
    QVERIFY(bianchi.isValid());
    view->setFocus();
    view->setCurrentIndex(bianchi);
    QTest::keyClick(view, Qt::Key_Return);
    auto* destination = Find<QLineEdit>("txtA");
    QVERIFY(destination != nullptr);
    QCOMPARE(destination->text(), QStringLiteral("Utente - %1 (%2)")
                                      .arg(bianchi.data().toString())
                                      .arg(DemoInstallation::kUserBianchi));
    // The side bar answers the keyboard too.
    auto* bar = Find<QListView>("VRX_SIDEBAR1");
    bar->setFocus();
    bar->setCurrentIndex(
        bar->model()->index(session_->ui().controls().side_bar->RowOf("ITM50017"), 0));
    QTest::keyClick(bar, Qt::Key_Return);
    QCOMPARE(session_->window()->section_code(), 6);
  }

  void ModalEditorReturnsWhenClosed() {
    HostSession::Options options;
    options.connection_string = demo_->connection_string();
    options.modal = true;
    options.unattended = true;
    session_ = std::make_unique<HostSession>(options);
    bool was_open = false;
    QTimer::singleShot(0, [this, &was_open] {
      was_open = session_->window() != nullptr && Main() != nullptr && Main()->isVisible();
      if (Main() != nullptr) Main()->close();
    });
    session_->Open();  // returns once the modal window has closed
    QVERIFY(was_open);
    QCOMPARE(session_->window(), nullptr);
  }

  void ChangeLogViewerListsTheEntries() {
    Open();
    PickPrincipal(0, DemoInstallation::kGroupVendite);
    ChooseSection("ITM50017");
    ClickAt(Find<QTreeView>("GRIDTIPOLOGIE"),
            FirstCheckable(session_->ui().controls().grid->model()));
    const int64_t entries = Count(*cn_, "SELECT COUNT(*) FROM FW90_LOGMODIFICHE");
    QVERIFY(entries > 0);
    int rows = -1;
    QTimer::singleShot(0, [&rows] {
      auto* viewer = qobject_cast<ChangeLogViewer*>(QApplication::activeModalWidget());
      if (viewer == nullptr) return;
      rows = viewer->model()->rowCount();
      viewer->reject();
    });
    QAction* action = Main()->findChild<QAction*>(QStringLiteral("ActionChangeLog"));
    QVERIFY(action != nullptr);
    action->trigger();
    QCOMPARE(rows, static_cast<int>(entries));
  }

  void ANonAdministratorGetsOneMessage() {
    HostSession::Options options;
    options.connection_string = demo_->connection_string();
    options.login = std::string(DemoInstallation::kLoginRossi);
    options.unattended = true;
    session_ = std::make_unique<HostSession>(options);
    session_->global().messages().PresetAnswer(host::kVbOK);
    // Nothing of the editor shows behind the refusal.
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    session_->Open();
    qApp->removeEventFilter(&watcher);
    QCOMPARE(watcher.main_windows_shown, 0);
    QCOMPARE(session_->window(), nullptr);
    QVERIFY(session_->Refused());
    const auto& shown = session_->global().messages().shown();
    QCOMPARE(shown.size(), size_t{1});
    QCOMPARE(shown[0].title, std::string("Utente non autorizzato"));
    QVERIFY(shown[0].prompt.rfind("Solo l'utente amministratore", 0) == 0);
  }

  void ClosingGoesThroughCloseForm() {
    Open();
    HostScriptModel& scripts = session_->navigator().script_model();
    scripts.SetRefuseClose(true);
    Main()->close();
    QVERIFY(session_->window() != nullptr);  // the script model refused
    scripts.SetRefuseClose(false);
    Main()->close();
    QCOMPARE(session_->window(), nullptr);
    QVERIFY(scripts.events().back() == "closed FRMFW_ORVELKA");
    QCOMPARE(Main(), nullptr);
  }

  void CompanyChangeIsRefusedWhileOpen() {
    Open();
    QVERIFY(!session_->Refused());
    // The module refuses it while the window is open: the menu does not offer it.
    QCOMPARE(Main()->findChild<QAction*>(QStringLiteral("ActionChangeCompany")), nullptr);
    QtMessageService& messages = session_->global().messages();
    const size_t shown = messages.shown().size();
    messages.PresetAnswer(host::kVbOK);
    QVERIFY(session_->RequestCompanyChange());
    QCOMPARE(messages.shown().size(), shown + 1);
    QCOMPARE(messages.pending_presets(), size_t{0});
  }

  void ScreenshotWritesThePicture() {
    Open();
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("shot.png")).toStdString();
    const std::string error =
        Screenshot::Take(*session_, Screenshot::Principal{0, 3}, "ITM50017", file);
    QCOMPARE(QString::fromStdString(error), QString());
    QImage image(QString::fromStdString(file));
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), Main()->size() * Main()->devicePixelRatio());
    QCOMPARE(session_->window()->section_code(), 6);
    QVERIFY(!Screenshot::Take(*session_, std::nullopt, "NO_SUCH_KEY", file).empty());
  }

 private:
  static int TwipsToPixelsAt(FormView* view, int32_t twips) {
    return static_cast<int>(std::lround(twips * view->dpi() / 1440.0));
  }
  static int CountCheckedIn(const QAbstractItemModel* model, const QModelIndex& parent = {}) {
    int checked = 0;
    for (int r = 0; r < model->rowCount(parent); ++r) {
      for (int c = 0; c < model->columnCount(parent); ++c) {
        checked += model->index(r, c, parent).data(Qt::CheckStateRole).toInt() == Qt::Checked;
      }
      checked += CountCheckedIn(model, model->index(r, 0, parent));
    }
    return checked;
  }
  // The cell that was `cell` before a click (the model may have been read again).
  static QModelIndex FirstCheckableAt(QAbstractItemView* view, const QModelIndex& cell) {
    return view->model()->index(cell.row(), cell.column(), cell.parent());
  }
};

}  // namespace orv::hostapp

int RunEditorTest(int argc, char** argv) {
  orv::hostapp::EditorTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "editor_test.moc"
