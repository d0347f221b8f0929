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
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  QAction* log = file->addAction(QStringLiteral("&Registro modifiche…"));
  log->setObjectName(QStringLiteral("ActionChangeLog"));
  log->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
  file->addSeparator();
  QAction* quit = file->addAction(QStringLiteral("&Chiudi"));
  quit->setObjectName(QStringLiteral("ActionClose"));
  quit->setShortcut(QKeySequence::Quit);
  QMenu* company = menuBar()->addMenu(QStringLiteral("&Azienda"));
  QAction* change = company->addAction(QStringLiteral("&Cambia azienda di lavoro…"));
  change->setObjectName(QStringLiteral("ActionChangeCompany"));
  connect(log, &QAction::triggered, this, &MainWindow::changeLogRequested);
  connect(quit, &QAction::triggered, this, &MainWindow::closeRequested);
  connect(change, &QAction::triggered, this, &MainWindow::changeCompanyRequested);
  connect(view, &FormView::captionChanged, this, [this](const QString& caption) {
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Orvelka") : caption);
  });
  auto* status = new QLabel(this);
  status->setObjectName(QStringLiteral("StatusText"));
  statusBar()->addWidget(status, 1);
  statusBar()->setSizeGripEnabled(true);
}

void MainWindow::SetStatus(const QString& text) {
  if (auto* label = findChild<QLabel*>(QStringLiteral("StatusText"))) label->setText(text);
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
