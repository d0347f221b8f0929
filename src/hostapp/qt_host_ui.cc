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
#include "module/editor_window_adapter.h"

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

void QtHostUi::ShowWindow(std::shared_ptr<host::EditorWindow> events, bool modal) {
  std::shared_ptr<editor::FRMFW_ORVELKA> window = host::EditorWindowAdapter::Window(*events);
  if (!window) return;
  if (main_window_) {
    // One editor window at a time: a second ShowForm replaces the first view.
    main_window_->AllowClose();
    main_window_->hide();
    main_window_->deleteLater();
    closing_.push_back(main_window_);
    main_window_ = nullptr;
  }
  window_ = window;
  events_ = std::move(events);
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
  c.tree->SetClickHandler([link, load, remember](const std::optional<host::PrincipalNode>& node) {
    if (remember && node) {
      QSettings().setValue(
          kPrincipalKey,
          QStringLiteral("%1:%2").arg(node->IsGroup() ? "group" : "user").arg(node->id));
    }
    if (editor::FRMFW_ORVELKA* w = link->Get()) load([w, &node] { w->trv_GU_NodeClick(node); });
  });
  c.copy_tree->SetClickHandler([link, load](const std::optional<host::PrincipalNode>& node) {
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
  QObject::connect(main, &MainWindow::journalRequested, main, [this] { ShowJournal(); });
  QObject::connect(main, &MainWindow::undoRequested, main, [this] { Undo(); });
  QObject::connect(main, &MainWindow::redoRequested, main, [this] { Redo(); });
  QObject::connect(main, &MainWindow::editMenuShown, main, [this] { UpdateUndoRedo(); });
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
  // The start-up made the journal: every entry it writes renames the Edit
  // menu's steps.
  if (journal::Journal* gestures = this->window() != nullptr ? window->journal() : nullptr) {
    gestures->SetChangedHandler([this, frame = QPointer<MainWindow>(main)] {
      if (frame && frame == main_window_) UpdateUndoRedo();
    });
  }
  UpdateUndoRedo();
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
      c.tree->Select(principal[0] == QLatin1String("group") ? host::PrincipalNode::kGroup
                                                            : host::PrincipalNode::kUser,
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

void QtHostUi::WindowClosed(host::EditorWindow& events) {
  if (events_.get() != &events) return;
  // Called from inside the window's unload: the window and its view stay
  // alive until control is back in the event loop.
  window_.reset();
  closed_.push_back(std::move(events_));
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

void QtHostUi::UpdateUndoRedo() {
  if (!main_window_) return;
  editor::FRMFW_ORVELKA* w = window();
  journal::Journal* gestures = w != nullptr ? w->journal() : nullptr;
  const auto summary = [](const std::optional<journal::JournalEntry>& entry) {
    if (!entry) return QString();
    const QString text = QString::fromStdString(entry->summary);
    return text.isEmpty() ? QStringLiteral("N° %1").arg(entry->id) : text;
  };
  main_window_->SetUndoRedo(gestures != nullptr ? summary(gestures->NextUndo()) : QString(),
                            gestures != nullptr ? summary(gestures->NextRedo()) : QString());
}

bool QtHostUi::Undo() {
  editor::FRMFW_ORVELKA* w = window();
  bool applied = false;
  if (w != nullptr && w->journal() != nullptr && w->journal()->CanUndo()) {
    const std::optional<journal::JournalEntry> step = w->journal()->NextUndo();
    applied = w->UndoGesture();
    // Refused: another editor changed the rows; the grid shows them as they are.
    if (!applied && window() != nullptr) w->ReloadCurrentSection();
    if (applied && main_window_ && step) {
      main_window_->SetGestureStatus(
          QObject::tr("Annullato: %1").arg(QString::fromStdString(step->summary)));
    }
  }
  UpdateUndoRedo();
  return applied;
}

bool QtHostUi::Redo() {
  editor::FRMFW_ORVELKA* w = window();
  bool applied = false;
  if (w != nullptr && w->journal() != nullptr && w->journal()->CanRedo()) {
    const std::optional<journal::JournalEntry> step = w->journal()->NextRedo();
    applied = w->RedoGesture();
    if (!applied && window() != nullptr) w->ReloadCurrentSection();
    if (applied && main_window_ && step) {
      main_window_->SetGestureStatus(
          QObject::tr("Ripetuto: %1").arg(QString::fromStdString(step->summary)));
    }
  }
  UpdateUndoRedo();
  return applied;
}

JournalViewer::Source QtHostUi::JournalSource() {
  JournalViewer::Source source;
  source.connection = hooks_.connection;
  editor::FRMFW_ORVELKA* w = window();
  if (w == nullptr || w->journal() == nullptr) return source;
  // The viewer is modal over the window: the window and its journal outlive it.
  journal::Journal* gestures = w->journal();
  source.persistent = gestures->persistent();
  source.entries = [gestures](const journal::JournalFilter& filter) {
    return gestures->Entries(filter);
  };
  source.images = [gestures](int64_t id) { return gestures->Images(id); };
  source.revert = [this](int64_t id) {
    editor::FRMFW_ORVELKA* shown = window();
    const bool applied = shown != nullptr && shown->RevertGesture(id);
    if (!applied && window() != nullptr) shown->ReloadCurrentSection();
    UpdateUndoRedo();
    return applied;
  };
  return source;
}

void QtHostUi::ShowJournal() {
  JournalViewer viewer(JournalSource(), main_window_);
  viewer.exec();
}

void QtHostUi::ShowChangeLog() {
  ChangeLogViewer viewer(hooks_.connection, main_window_);
  viewer.exec();
}

}  // namespace orv::hostapp
