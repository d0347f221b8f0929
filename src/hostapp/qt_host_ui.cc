#include "hostapp/qt_host_ui.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>

#include "editor/frmfw_orvelka.h"
#include "hostapp/change_log_viewer.h"
#include "hostapp/form_view.h"
#include "hostapp/main_window.h"
#include "hostapp/profile_menu.h"
#include "hostapp/twips.h"

namespace orv::hostapp {
namespace {

double ScreenDpi() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr && screen->logicalDotsPerInchY() > 0 ? screen->logicalDotsPerInchY()
                                                                : 96.0;
}

}  // namespace

QtHostUi::QtHostUi(Hooks hooks) : hooks_(std::move(hooks)) {}

QtHostUi::~QtHostUi() {
  delete main_window_.data();
  for (const QPointer<MainWindow>& main : closing_) delete main.data();
}

host::HostControls QtHostUi::CreateControls() {
  controls_ = QtControls{};
  controls_.link = std::make_shared<WindowLink>();
  controls_.tree = std::make_shared<QtPrincipalTree>(hooks_.connection);
  controls_.copy_tree = std::make_shared<QtPrincipalTree>(hooks_.connection);
  controls_.side_bar = std::make_shared<QtSideBar>();
  controls_.progress = std::make_shared<QtProgressControl>();
  controls_.resize = std::make_shared<QtResizeControl>(controls_.link);
  controls_.mdi = std::make_shared<QtMdiContainer>();
  controls_.grid = std::make_shared<QtGroupingGrid>(controls_.link);
  controls_.tree_grid = std::make_shared<QtTreeGrid>(controls_.link);
  controls_.matrix = std::make_shared<QtMatrixGrid>(controls_.link);
  controls_.query = std::make_shared<QtQueryControl>(controls_.link);
  return controls_.ForWindow();
}

FormView* QtHostUi::view() const { return main_window_ ? main_window_->view() : nullptr; }

editor::FRMFW_ORVELKA* QtHostUi::window() const {
  return window_ && !window_->unloaded() ? window_.get() : nullptr;
}

void QtHostUi::ShowWindow(std::shared_ptr<editor::FRMFW_ORVELKA> window, bool modal) {
  if (main_window_) {
    // One editor window at a time: a second ShowForm replaces the first view.
    main_window_->AllowClose();
    main_window_->hide();
    main_window_->deleteLater();
    closing_.push_back(main_window_);
    main_window_ = nullptr;
  }
  window_ = window;
  QtControls c = controls_;
  c.link->Set(window);
  std::shared_ptr<WindowLink> link = c.link;
  c.tree->SetClickHandler([link](const std::optional<store::PrincipalNode>& node) {
    if (editor::FRMFW_ORVELKA* w = link->Get()) w->trv_GU_NodeClick(node);
  });
  c.copy_tree->SetClickHandler([link](const std::optional<store::PrincipalNode>& node) {
    if (editor::FRMFW_ORVELKA* w = link->Get()) w->VRX_TREEUTENTICOPIA_NodeClick(node);
  });
  c.side_bar->SetClickHandler([link](const host::SideBarItem& item) {
    if (editor::FRMFW_ORVELKA* w = link->Get()) w->VRX_SIDEBAR1_ItemClick(item);
  });

  const double dpi = ScreenDpi();
  auto* view = new FormView(window, c, dpi);
  auto* main = new MainWindow(view);
  main_window_ = main;
  main->setWindowTitle(QString::fromStdString(window->Caption()));
  main->SetStatus(hooks_.status);
  QObject::connect(main, &MainWindow::closeRequested, main, [this] {
    if (hooks_.close_requested) hooks_.close_requested();
  });
  QObject::connect(main, &MainWindow::activated, main, [this] { Activate(); });
  QObject::connect(main, &MainWindow::changeLogRequested, main, [this] { ShowChangeLog(); });
  QObject::connect(main, &MainWindow::changeCompanyRequested, main, [this] {
    if (hooks_.change_company) hooks_.change_company();
  });
  ProfileMenu::Install(main, hooks_.connection, hooks_.login, [link] {
    if (editor::FRMFW_ORVELKA* w = link->Get()) w->LoadData();
  });
  c.mdi->SetPlaceHandler(
      [frame = QPointer<MainWindow>(main), dpi](const QtMdiContainer::Placement& p) {
        if (frame) frame->move(TwipsToPixels(p.left, dpi), TwipsToPixels(p.top, dpi));
      });
  main->FitView(view->DesignSize());
  main->show();
  window->MdiHost1_FormLoad();
  Activate();
  if (modal && this->window() != nullptr) {
    QEventLoop loop;
    modal_loop_ = &loop;
    loop.exec();
    modal_loop_ = nullptr;
  }
}

void QtHostUi::Activate() {
  if (activating_) return;
  editor::FRMFW_ORVELKA* w = window();
  if (w == nullptr) return;
  activating_ = true;
  w->Form_Activate();
  activating_ = false;
}

void QtHostUi::WindowClosed(editor::FRMFW_ORVELKA& window) {
  if (window_.get() != &window) return;
  // Called from inside the window's unload: the window and its view stay
  // alive until control is back in the event loop.
  closed_.push_back(std::move(window_));
  if (main_window_) {
    main_window_->AllowClose();
    main_window_->hide();
    main_window_->deleteLater();
    closing_.push_back(main_window_);
    main_window_ = nullptr;
  }
  if (modal_loop_ != nullptr) modal_loop_->quit();
  if (hooks_.window_closed) hooks_.window_closed();
}

void QtHostUi::ShowChangeLog() {
  ChangeLogViewer viewer(hooks_.connection, main_window_);
  viewer.exec();
}

}  // namespace orv::hostapp
