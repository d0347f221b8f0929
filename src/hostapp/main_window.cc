#include "hostapp/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

#include "hostapp/form_view.h"
#include "hostapp/host_icons.h"

namespace orv::hostapp {

MainWindow::MainWindow(FormView* view, QWidget* parent) : QMainWindow(parent), view_(view) {
  setObjectName(QStringLiteral("OrvelkaMainWindow"));
  setWindowIcon(HostIcons::Application());
  setCentralWidget(view);
  QMenu* file = menuBar()->addMenu(tr("&File"));
  QAction* log = file->addAction(tr("&Registro modifiche…"));
  log->setObjectName(QStringLiteral("ActionChangeLog"));
  log->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
  file->addSeparator();
  QAction* quit = file->addAction(tr("&Chiudi"));
  quit->setObjectName(QStringLiteral("ActionClose"));
  quit->setShortcut(QKeySequence::Quit);
  // No company menu: the working company is chosen at the login, and the
  // module refuses to change it while its window is open.
  connect(log, &QAction::triggered, this, &MainWindow::changeLogRequested);
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

void MainWindow::SetGestureStatus(const QString& text) {
  if (auto* label = findChild<QLabel*>(QStringLiteral("GestureStatus"))) {
    label->setText(text);
    label->setToolTip(text);
  }
}

void MainWindow::FitView(const QSize& size) {
  resize(size.width(),
         size.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
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
