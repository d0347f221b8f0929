#include "hostapp/qt_host_ui.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

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
  // Picks load rows: under the busy cursor, and the status line says what
  // is on screen.
  const auto load = [this](const std::function<void()>& step) {
    if (FormView* v = view()) {
      v->RunLoad(step);
    } else {
      step();
    }
  };
  const bool remember = hooks_.remember;
  c.tree->SetClickHandler([link, load, remember](const std::optional<store::PrincipalNode>& node) {
    if (remember && node) {
      QSettings().setValue(
          kPrincipalKey,
          QStringLiteral("%1:%2").arg(node->IsGroup() ? "group" : "user").arg(node->id));
    }
    if (editor::FRMFW_ORVELKA* w = link->Get()) load([w, &node] { w->trv_GU_NodeClick(node); });
  });
  c.copy_tree->SetClickHandler([link, load](const std::optional<store::PrincipalNode>& node) {
    if (editor::FRMFW_ORVELKA* w = link->Get()) {
      load([w, &node] { w->VRX_TREEUTENTICOPIA_NodeClick(node); });
    }
  });
  c.side_bar->SetClickHandler([link, load, remember](const host::SideBarItem& item) {
    if (remember) QSettings().setValue(kSectionKey, QString::fromStdString(item.key));
    if (editor::FRMFW_ORVELKA* w = link->Get())
      load([w, &item] { w->VRX_SIDEBAR1_ItemClick(item); });
  });

  const double dpi = ScreenDpi();
  auto* view = new FormView(window, c, dpi);
  view->SetMessageService(hooks_.messages);
  auto* main = new MainWindow(view);
  QObject::connect(view, &FormView::statusMessage, main, &MainWindow::SetGestureStatus);
  if (hooks_.remember) {
    QObject::connect(view, &FormView::splitChanged, main,
                     [](int split) { QSettings().setValue(kSplitKey, split); });
  }
  main_window_ = main;
  main->setWindowTitle(QString::fromStdString(window->Caption()));
  main->SetStatus(hooks_.status);
  QObject::connect(main, &MainWindow::closeRequested, main, [this] {
    if (hooks_.close_requested) hooks_.close_requested();
  });
  QObject::connect(main, &MainWindow::activated, main, [this] { Activate(); });
  QObject::connect(main, &MainWindow::changeLogRequested, main, [this] { ShowChangeLog(); });
  ProfileMenu::Install(main, hooks_.connection, hooks_.login, [link] {
    if (editor::FRMFW_ORVELKA* w = link->Get()) w->LoadData();
  });
  main->KeepHelpLast();
  c.mdi->SetPlaceHandler(
      [frame = QPointer<MainWindow>(main), dpi](const QtMdiContainer::Placement& p) {
        if (frame) frame->move(TwipsToPixels(p.left, dpi), TwipsToPixels(p.top, dpi));
      });
  main->FitView(view->DesignSize());
  if (hooks_.remember) main->restoreGeometry(QSettings().value(kGeometryKey).toByteArray());
  // A login the start-up refuses sees its message and nothing behind it.
  if (hooks_.administrator) main->show();
  window->MdiHost1_FormLoad();
  Activate();
  if (!hooks_.administrator && this->window() != nullptr && main_window_ == main) main->show();
  if (hooks_.remember && this->window() != nullptr) {
    // Back where the user left: the splitter, the last section, then the
    // last principal.
    QSettings settings;
    c.resize->MoveSplit(settings.value(kSplitKey, 0).toInt());
    const QString section = settings.value(kSectionKey).toString();
    if (!section.isEmpty()) c.side_bar->PickKey(section.toStdString());
    const QStringList principal = settings.value(kPrincipalKey).toString().split(QLatin1Char(':'));
    bool ok = false;
    const qlonglong id = principal.size() == 2 ? principal[1].toLongLong(&ok) : 0;
    if (ok && this->window() != nullptr) {
      c.tree->Select(principal[0] == QLatin1String("group") ? store::PrincipalNode::kGroup
                                                            : store::PrincipalNode::kUser,
                     id);
    }
  }
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
  if (main_window_ && hooks_.remember) {
    QSettings().setValue(kGeometryKey, main_window_->saveGeometry());
  }
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
