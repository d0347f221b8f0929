#include "hostapp/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>

#include "hostapp/form_view.h"
#include "hostapp/help_dialog.h"
#include "hostapp/host_icons.h"
#include "hostapp/principal_tree_view.h"

namespace orv::hostapp {

MainWindow::MainWindow(FormView* view, QWidget* parent) : QMainWindow(parent), view_(view) {
  setObjectName(QStringLiteral("OrvelkaMainWindow"));
  setWindowIcon(HostIcons::Application());
  // Below the editor's design size the window scrolls rather than let its
  // controls overlap.
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("EditorScrollArea"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(view);
  setCentralWidget(scroll);
  setMinimumSize(480, 320);
  QMenu* file = menuBar()->addMenu(tr("&File"));
  QAction* log = file->addAction(tr("&Registro modifiche…"));
  log->setObjectName(QStringLiteral("ActionChangeLog"));
  log->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
  QAction* journal = file->addAction(tr("&Giornale delle modifiche…"));
  journal->setObjectName(QStringLiteral("ActionJournal"));
  journal->setShortcut(QKeySequence(QStringLiteral("Ctrl+J")));
  file->addSeparator();
  QAction* quit = file->addAction(tr("&Chiudi"));
  quit->setObjectName(QStringLiteral("ActionClose"));
  quit->setShortcut(QKeySequence::Quit);
  QMenu* edit = menuBar()->addMenu(tr("&Modifica"));
  edit->setObjectName(QStringLiteral("EditMenu"));
  QAction* undo = edit->addAction(tr("Annulla"));
  undo->setObjectName(QStringLiteral("ActionUndo"));
  undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
  QAction* redo = edit->addAction(tr("Ripeti"));
  redo->setObjectName(QStringLiteral("ActionRedo"));
  redo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Y")));
  SetUndoRedo({}, {});
  connect(undo, &QAction::triggered, this, &MainWindow::undoRequested);
  connect(redo, &QAction::triggered, this, &MainWindow::redoRequested);
  connect(edit, &QMenu::aboutToShow, this, &MainWindow::editMenuShown);
  // No company menu: the working company is chosen at the login, and the
  // module refuses to change it while its window is open.
  QMenu* help = menuBar()->addMenu(tr("&Aiuto"));
  help->setObjectName(QStringLiteral("HelpMenu"));
  QAction* guide = help->addAction(tr("&Guida"));
  guide->setObjectName(QStringLiteral("ActionGuide"));
  guide->setShortcut(QKeySequence::HelpContents);
  QAction* about = help->addAction(tr("&Informazioni su Orvelka"));
  about->setObjectName(QStringLiteral("ActionAbout"));
  connect(guide, &QAction::triggered, this, [this] {
    auto* dialog = findChild<HelpDialog*>();
    if (dialog == nullptr) dialog = new HelpDialog(this);
    dialog->show();
    dialog->raise();
  });
  connect(about, &QAction::triggered, this, [this] {
    auto* box = new QMessageBox(
        QMessageBox::Information, tr("Informazioni su Orvelka"),
        tr("<b>Orvelka</b> %1<br>Gestione delle revoche di autorizzazione "
           "per utenti e gruppi dell'ERP.<br>Host desktop Qt %2.")
            .arg(QApplication::applicationVersion(), QString::fromLatin1(qVersion())),
        QMessageBox::Close, this);
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  });

  // Ctrl+F: the search box of the tree when the focus is there, else the
  // search over the grid on screen.
  auto* find = new QLineEdit(this);
  find->setObjectName(QStringLiteral("GridSearch"));
  find->setPlaceholderText(tr("Cerca nella griglia (Ctrl+F)"));
  find->setToolTip(
      tr("Porta alla prossima riga della griglia che contiene il testo (Invio: la "
         "successiva)"));
  find->setClearButtonEnabled(true);
  find->setMinimumWidth(find->fontMetrics().horizontalAdvance(find->placeholderText()) + 48);
  menuBar()->setCornerWidget(find, Qt::TopRightCorner);
  connect(find, &QLineEdit::textEdited, this,
          [this](const QString& text) { view_->FindInGrid(text, false); });
  connect(find, &QLineEdit::returnPressed, this,
          [this, find] { view_->FindInGrid(find->text(), true); });
  auto* shortcut = new QShortcut(QKeySequence::Find, this);
  connect(shortcut, &QShortcut::activated, this, [this, find] {
    PrincipalTreeView* tree = view_->tree_view();
    QWidget* focus = QApplication::focusWidget();
    if (tree != nullptr && focus != nullptr && tree->isAncestorOf(focus)) {
      tree->search()->setFocus(Qt::ShortcutFocusReason);
      tree->search()->selectAll();
    } else {
      find->setFocus(Qt::ShortcutFocusReason);
      find->selectAll();
    }
  });
  connect(log, &QAction::triggered, this, &MainWindow::changeLogRequested);
  connect(journal, &QAction::triggered, this, &MainWindow::journalRequested);
  connect(quit, &QAction::triggered, this, &MainWindow::closeRequested);
  connect(view, &FormView::captionChanged, this, [this](const QString& caption) {
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Orvelka") : caption);
  });
  auto* gesture = new QLabel(this);
  gesture->setObjectName(QStringLiteral("GestureStatus"));
  gesture->setTextInteractionFlags(Qt::TextSelectableByMouse);
  statusBar()->addWidget(gesture, 1);
  auto* status = new QLabel(this);
  status->setObjectName(QStringLiteral("StatusText"));
  statusBar()->addPermanentWidget(status);
  statusBar()->setSizeGripEnabled(true);
}

void MainWindow::SetStatus(const QString& text) {
  if (auto* label = findChild<QLabel*>(QStringLiteral("StatusText"))) label->setText(text);
}

void MainWindow::KeepHelpLast() {
  if (auto* help = findChild<QMenu*>(QStringLiteral("HelpMenu"))) {
    menuBar()->removeAction(help->menuAction());
    menuBar()->addAction(help->menuAction());
  }
}

QString MainWindow::StepText(const QString& verb, const QString& summary) {
  constexpr int kLongest = 70;
  if (summary.isEmpty()) return verb;
  QString text = summary.simplified();
  if (text.size() > kLongest) text = text.left(kLongest - 1).trimmed() + QChar(0x2026);
  // An ampersand of the summary is text, not a mnemonic.
  return verb + QLatin1Char(' ') + text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void MainWindow::SetUndoRedo(const QString& undo_summary, const QString& redo_summary) {
  const std::pair<const char*, std::pair<QString, QString>> steps[] = {
      {"ActionUndo", {tr("Annulla"), undo_summary}}, {"ActionRedo", {tr("Ripeti"), redo_summary}}};
  for (const auto& [name, step] : steps) {
    QAction* action = findChild<QAction*>(QString::fromLatin1(name));
    if (action == nullptr) continue;
    action->setText(StepText(step.first, step.second));
    action->setToolTip(step.second.isEmpty() ? step.first
                                             : step.first + QLatin1Char(' ') + step.second);
    action->setEnabled(!step.second.isEmpty());
  }
}

void MainWindow::SetGestureStatus(const QString& text) {
  if (auto* label = findChild<QLabel*>(QStringLiteral("GestureStatus"))) {
    label->setText(text);
    label->setToolTip(text);
  }
}

QSize MainWindow::Fitted(const QSize& wanted, const QRect& available) {
  if (!available.isValid()) return wanted;
  return wanted.boundedTo(available.size());
}

void MainWindow::FitView(const QSize& size) {
  const QSize wanted(size.width(), size.height() + menuBar()->sizeHint().height() +
                                       statusBar()->sizeHint().height());
  // The frame never ends off screen (at any scale factor the screen's
  // logical size is what is available); the editor scrolls in it.
  QScreen* screen = this->screen();
  const QSize frame_margins = frameGeometry().size() - geometry().size();
  QRect available =
      screen != nullptr && QGuiApplication::platformName() != QLatin1String("offscreen")
          ? screen->availableGeometry()
          : QRect();
  if (available.isValid()) available.setSize(available.size() - frame_margins);
  resize(Fitted(wanted, available));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (allow_close_) {
    event->accept();
    return;
  }
  event->ignore();
  emit closeRequested();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) emit activated();
}

}  // namespace orv::hostapp
