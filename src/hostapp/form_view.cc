#include "hostapp/form_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <QTreeView>
#include <algorithm>
#include <exception>
#include <set>

#include "editor/frmfw_orvelka.h"
#include "hostapp/check_box_delegate.h"
#include "hostapp/check_header_view.h"
#include "hostapp/column_legend.h"
#include "hostapp/double_click_area.h"
#include "hostapp/host_icons.h"
#include "hostapp/pane_splitter.h"
#include "hostapp/principal_tree_view.h"
#include "hostapp/qt_message_service.h"
#include "hostapp/query_panel.h"
#include "hostapp/twips.h"
#include "zere_orvelka/message_service.h"

namespace orv::hostapp {
namespace {

using Property = editor::Control::Property;

// Grid widths are in the grid's own unit, read as twips; a column is never
// drawn narrower than its check box.
constexpr int kMinColumn = 28;

// Buttons that work on the rights of the picked principal: without one the
// module has nobody to write for.
const std::set<std::string> kNeedPrincipal = {"VRX_ABILITATUTTI",
                                              "VRX_DISABILITATUTTI",
                                              "VRX_COPIAUTENTE",
                                              "VRX_ABILITATUTTI2",
                                              "VRX_DISABILITATUTTI_CLIFOR",
                                              "VRX_COPIAUTENTE2",
                                              "VRX_ABIDISDEPORI",
                                              "BTN_ABILITATUTTIDEP",
                                              "VRX_DISABILITATUTTIDEP",
                                              "VRX_COPIADEP",
                                              "CMD_OK"};

// Buttons that act for every user and group at once.
bool ForEveryPrincipal(const std::string& name) {
  return name == "VRX_ABILITATUTTIU" || name == "VRX_DISABILITATUTTIU";
}

int CountChecked(const QAbstractItemModel* model, const QModelIndex& parent) {
  int checked = 0;
  const int rows = model->rowCount(parent);
  const int columns = model->columnCount(parent);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      if (model->index(r, c, parent).data(Qt::CheckStateRole).toInt() == Qt::Checked) ++checked;
    }
    const QModelIndex first = model->index(r, 0, parent);
    if (model->hasChildren(first)) checked += CountChecked(model, first);
  }
  return checked;
}

QString FirstLine(const std::string& text) {
  const QString all = QString::fromStdString(text).trimmed();
  const qsizetype end = all.indexOf(QLatin1Char('\n'));
  return end < 0 ? all : all.left(end).trimmed();
}

void ConfigureGrid(QAbstractItemView* view) {
  view->setItemDelegate(new CheckBoxDelegate(view));
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectItems);
  view->setAlternatingRowColors(true);
}

}  // namespace

FormView::FormView(std::shared_ptr<editor::FRMFW_ORVELKA> window, QtControls controls, double dpi,
                   QWidget* parent)
    : QWidget(parent), window_(std::move(window)), controls_(std::move(controls)), dpi_(dpi) {
  setObjectName(QString::fromStdString(std::string(editor::FRMFW_ORVELKA::kFormName)));
  for (editor::Control* control : window_->controls()) {
    QWidget* widget = nullptr;
    if (control->type() == "Form") {
      widget = this;
    } else {
      auto it = widgets_.find(control->container());
      widget = Create(*control, it != widgets_.end() ? it->second : this);
    }
    widgets_[control->name()] = widget;
    ApplyAll(*control);
    const int id = control->AddObserver(
        [this](const editor::Control& c, Property property) { Apply(c, property); });
    observers_.emplace_back(control, id);
  }
  applying_size_ = true;
  resize(DesignSize());
  applying_size_ = false;
  // Below its design size the window's own layout would overlap: the host
  // scrolls it instead.
  setMinimumSize(DesignSize());
  auto* splitter = new PaneSplitter(this);
  connect(splitter, &PaneSplitter::dragged, this, [this](int dx, int* applied) {
    if (!controls_.resize) return;
    const int32_t twips = controls_.resize->MoveSplit(PixelsToTwips(dx, dpi_));
    *applied = TwipsToPixels(twips, dpi_);
  });
  connect(splitter, &PaneSplitter::released, this, [this] {
    if (controls_.resize) emit splitChanged(controls_.resize->split());
  });
  splitter_ = splitter;
  PlaceSplitter();
}

FormView::~FormView() {
  for (auto& [control, id] : observers_) control->RemoveObserver(id);
  // The controls may outlive this view: they must not call into it.
  if (controls_.side_bar) controls_.side_bar->SetHighlightHandler({});
  if (controls_.query) {
    controls_.query->SetFieldsHandler({});
    controls_.query->SetValuesHandler({});
  }
  // The item views go before the controls that own their models.
  const QObjectList children = this->children();
  for (QObject* child : children) {
    if (child->isWidgetType()) delete child;
  }
}

int FormView::Px(int32_t twips) const { return TwipsToPixels(twips, dpi_); }

QSize FormView::DesignSize() const {
  const editor::Control& form = window_->form();
  return QSize(Px(form.width()), Px(form.height()));
}

QWidget* FormView::WidgetOf(const std::string& name) const {
  auto it = widgets_.find(name);
  return it == widgets_.end() ? nullptr : it->second;
}

QWidget* FormView::Create(editor::Control& control, QWidget* parent) {
  const std::string& type = control.type();
  const std::string name = control.name();
  QWidget* widget = nullptr;
  if (type == "Host") {
    widget = CreateHost(name, parent);
  } else if (type == "Frame") {
    if (control.caption().empty()) {
      auto* frame = new QFrame(parent);
      frame->setFrameShape(QFrame::NoFrame);
      widget = frame;
    } else {
      widget = new QGroupBox(parent);
    }
  } else if (name == "PICUP" || name == "PICDOWN") {
    auto* arrow = new DoubleClickArea(parent);
    arrow->SetArrow(name == "PICUP" ? DoubleClickArea::Arrow::kUp : DoubleClickArea::Arrow::kDown);
    arrow->setToolTip(name == "PICUP" ? QStringLiteral("Chiudi il filtro (doppio clic)")
                                      : QStringLiteral("Apri il filtro (doppio clic)"));
    arrow->setFocusPolicy(Qt::TabFocus);
    connect(arrow, &DoubleClickArea::doubleClicked, this, [this, name] {
      if (name == "PICUP") {
        window_->PICUP_DblClick();
      } else {
        window_->PICDOWN_DblClick();
      }
    });
    widget = arrow;
  } else if (type == "Splitter") {
    auto* bar = new DoubleClickArea(parent);
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setFrameShadow(QFrame::Raised);
    bar->setCursor(Qt::SplitVCursor);
    connect(bar, &DoubleClickArea::doubleClicked, this, [this] { window_->SPLIT_OCX_DblClick(); });
    widget = bar;
  } else if (type == "PictureBox") {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::NoFrame);
    widget = frame;
  } else if (type == "CommandButton") {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, name] { ButtonGesture(name); });
    widget = button;
  } else if (type == "CheckBox" || type == "VRX_CHECKBOX") {
    auto* box = new QCheckBox(parent);
    if (name == "CHK_ABILREVOKE") {
      box->setToolTip(
          tr("Vale per tutta l'installazione, non per l'utente o il gruppo scelto: attiva o "
             "disattiva le revoche di tutti gli utenti e gruppi in tutte le aziende. Chiede "
             "conferma prima di cambiare."));
      connect(box, &QCheckBox::clicked, this,
              [this](bool checked) { MasterSwitchClicked(checked); });
      box->setObjectName(QString::fromStdString(name));
      return box;
    }
    connect(box, &QCheckBox::clicked, this, [this, name](bool checked) {
      window_->SetCheckValue(name, db::Value(checked ? 1 : 0));
      // The handler may have put the value back.
      if (editor::Control* c = window_->FindControl(name)) Apply(*c, Property::kValue);
    });
    widget = box;
  } else if (type == "Label") {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (name == "LblTitle") {
      QFont font = label->font();
      font.setBold(true);
      font.setPointSizeF(font.pointSizeF() * 1.25);
      label->setFont(font);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    widget = label;
  } else if (type == "TextBox") {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    widget = edit;
  } else {
    widget = new QWidget(parent);
  }
  widget->setObjectName(QString::fromStdString(name));
  if (const QString tip = ColumnLegend::ForCopyControl(QString::fromStdString(name));
      !tip.isEmpty()) {
    widget->setToolTip(tip);
  }
  return widget;
}

QWidget* FormView::CreateHost(const std::string& name, QWidget* parent) {
  if (name == "VRX_SIDEBAR1" && controls_.side_bar) {
    auto* list = new QListView(parent);
    list->setModel(controls_.side_bar->model());
    list->setIconSize(QSize(22, 22));
    list->setSpacing(1);
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    std::shared_ptr<QtSideBar> bar = controls_.side_bar;
    connect(list, &QListView::clicked, this,
            [bar](const QModelIndex& index) { bar->Pick(index.row()); });
    connect(list, &QListView::activated, this,
            [bar](const QModelIndex& index) { bar->Pick(index.row()); });
    bar->SetHighlightHandler([list, bar](int row) {
      if (row >= 0) list->setCurrentIndex(bar->model()->index(row, 0));
    });
    const int row = bar->RowOf(bar->highlighted());
    if (row >= 0) list->setCurrentIndex(bar->model()->index(row, 0));
    side_bar_view_ = list;
    return list;
  }
  if ((name == "VRX_TREEUTENTI1" && controls_.tree) ||
      (name == "VRX_TREEUTENTICOPIA" && controls_.copy_tree)) {
    const bool main = name == "VRX_TREEUTENTI1";
    auto* view = new PrincipalTreeView(main ? controls_.tree : controls_.copy_tree,
                                       QString::fromStdString(name), parent);
    (main ? tree_view_ : copy_tree_view_) = view;
    view->ShowSelection();
    connect(view, &PrincipalTreeView::principalPicked, this, [this] {
      UpdateTitle();
      UpdatePrincipalControls();
    });
    return view;
  }
  if (name == "ENHQUERY" && controls_.query) {
    auto* panel = new QueryPanel(controls_.query, parent);
    controls_.query->SetFieldsHandler([panel] { panel->Rebuild(); });
    controls_.query->SetValuesHandler([panel] { panel->ShowValues(); });
    query_panel_ = panel;
    return panel;
  }
  if (name == "GRIDTIPOLOGIE" && controls_.grid) {
    auto* view = new QTreeView(parent);
    ConfigureGrid(view);
    auto* header = new CheckHeaderView(-1, view);
    view->setHeader(header);
    ColumnLegend::Attach(header);
    GroupingGridModel* model = controls_.grid->model();
    view->setModel(model);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(false);
    connect(header, &CheckHeaderView::checkBoxClicked, this, [this, model](int column) {
      const QString caption = model->headerData(column, Qt::Horizontal).toString();
      RunGesture([model, column] { model->HeaderCheckBoxClicked(column); },
                 [this, caption](int delta) {
                   return delta < 0 ? tr("Revocati %1 diritti della colonna «%2» per %3")
                                          .arg(-delta)
                                          .arg(caption, PrincipalPhrase())
                          : delta > 0 ? tr("Ripristinati %1 diritti della colonna «%2» per %3")
                                            .arg(delta)
                                            .arg(caption, PrincipalPhrase())
                                      : tr("Colonna «%1»: nessun diritto cambiato").arg(caption);
                 });
    });
    WatchCells(view);
    std::shared_ptr<QtGroupingGrid> grid = controls_.grid;
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [grid, model](const QModelIndex& current) {
              if (auto row = model->RowOf(current)) grid->MakeCurrent(*row);
            });
    // A reload keeps the user's place: the recordset's current row, in the
    // column the user was in.
    auto column = std::make_shared<int>(0);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [view, column] {
      if (view->currentIndex().isValid()) *column = view->currentIndex().column();
    });
    connect(model, &QAbstractItemModel::modelReset, this, [this, view, model, grid, column] {
      for (int g = 0; model->grouped() && g < model->rowCount(); ++g) {
        view->setFirstColumnSpanned(g, QModelIndex(), true);
      }
      view->setRootIsDecorated(model->grouped());
      view->expandAll();
      ApplyGridWidths();
      if (auto row = grid->CurrentRow(); row && model->columnCount() > 0) {
        const QModelIndex current =
            model->IndexOf(*row, std::min(*column, model->columnCount() - 1));
        if (current.isValid()) {
          view->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        }
      }
    });
    grid_view_ = view;
    return view;
  }
  if (name == "TGRID_CLIFOR" && controls_.tree_grid) {
    auto* view = new QTreeView(parent);
    ConfigureGrid(view);
    TreeGridModel* model = controls_.tree_grid->model();
    model->SetIconProvider([](const QString& key) { return HostIcons::ForImageKey(key); });
    view->setModel(model);
    view->setUniformRowHeights(true);
    // Columns keep their widths, so a box stays under its caption.
    view->header()->setStretchLastSection(false);
    ColumnLegend::Attach(view->header());
    WatchCells(view);
    std::shared_ptr<QtTreeGrid> grid = controls_.tree_grid;
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [grid, model](const QModelIndex& current) {
              if (auto row = model->RowOf(current)) grid->MakeCurrent(*row);
            });
    // A section often binds the tree and refreshes it in one gesture: the
    // branches are opened once, when the gesture is over, not per reset.
    connect(model, &QAbstractItemModel::modelReset, this, [this, view] {
      ApplyTreeWidths();
      if (tree_expand_pending_) return;
      tree_expand_pending_ = true;
      QMetaObject::invokeMethod(
          this,
          [this, view = QPointer<QTreeView>(view)] {
            tree_expand_pending_ = false;
            if (view) view->expandToDepth(0);
          },
          Qt::QueuedConnection);
    });
    tree_grid_view_ = view;
    return view;
  }
  if (name == "GRID_DEPOSITO" && controls_.matrix) {
    auto* view = new QTableView(parent);
    ConfigureGrid(view);
    auto* header = new CheckHeaderView(MatrixGridModel::kGroupRole, view);
    view->setHorizontalHeader(header);
    ColumnLegend::Attach(header);
    view->verticalHeader()->setToolTip(
        tr("Deposito di origine: un clic sceglie la riga su cui agisce «Abilita/Disabilita dep. "
           "origine»"));
    MatrixGridModel* model = controls_.matrix->model();
    view->setModel(model);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    connect(header, &CheckHeaderView::checkBoxClicked, this, [this, model](int column) {
      const QString caption = model->headerData(column, Qt::Horizontal).toString();
      RunGesture([model, column] { model->HeaderCheckBoxClicked(column); },
                 [this, caption](int delta) {
                   return delta < 0 ? tr("Revocati %1 trasferimenti verso «%2» per %3")
                                          .arg(-delta)
                                          .arg(caption, PrincipalPhrase())
                          : delta > 0
                              ? tr("Ripristinati %1 trasferimenti verso «%2» per %3")
                                    .arg(delta)
                                    .arg(caption, PrincipalPhrase())
                              : tr("Destinazione «%1»: nessun trasferimento cambiato").arg(caption);
                 });
    });
    WatchCells(view);
    std::shared_ptr<QtMatrixGrid> matrix = controls_.matrix;
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [matrix, model](const QModelIndex& current) {
              if (auto row = model->RowOf(current.row())) matrix->MakeCurrent(*row);
            });
    connect(model, &QAbstractItemModel::modelReset, this, [this, view, matrix, model] {
      ApplyMatrixWidths();
      view->horizontalHeader()->updateGeometry();
      const int row = matrix->CurrentRow();
      if (row >= 0) {
        view->selectionModel()->setCurrentIndex(model->index(row, 0),
                                                QItemSelectionModel::NoUpdate);
      }
    });
    matrix_view_ = view;
    return view;
  }
  if (name == "VRX_PROGRESS") {
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 0);
    bar->setFormat(QStringLiteral("Attendere…"));
    bar->setTextVisible(true);
    return bar;
  }
  auto* placeholder = new QFrame(parent);
  placeholder->setFrameShape(QFrame::StyledPanel);
  return placeholder;
}

void FormView::ApplyGridWidths() {
  if (grid_view_ == nullptr) return;
  const auto& columns = controls_.grid->model()->columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    grid_view_->header()->resizeSection(static_cast<int>(i),
                                        std::max(kMinColumn, Px(columns[i].width)));
  }
  // The last column fills the width, so no caption ends beside empty room.
  grid_view_->header()->setStretchLastSection(true);
}

void FormView::ApplyTreeWidths() {
  if (tree_grid_view_ == nullptr) return;
  TreeGridModel* model = controls_.tree_grid->model();
  int tree_column = 0;
  for (int i = 0; i < model->columnCount(); ++i) {
    const int source = model->CollectionColumn(i);
    if (source < 0) continue;
    tree_grid_view_->header()->resizeSection(
        i, std::max(kMinColumn, Px(model->all_columns()[source].width)));
    // The branches and their indentation go in the name column, the widest,
    // so the narrow code column before it keeps its text.
    if (model->all_columns()[source].key == "TEXT") tree_column = i;
  }
  tree_grid_view_->setTreePosition(tree_column);
  // The name column takes the room the window gives; the others keep theirs.
  QHeaderView* header = tree_grid_view_->header();
  header->setSectionResizeMode(QHeaderView::Interactive);
  if (tree_column < header->count())
    header->setSectionResizeMode(tree_column, QHeaderView::Stretch);
}

void FormView::ApplyMatrixWidths() {
  if (matrix_view_ == nullptr) return;
  const auto& columns = controls_.matrix->model()->columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    matrix_view_->horizontalHeader()->resizeSection(static_cast<int>(i),
                                                    std::max(kMinColumn, Px(columns[i].width)));
  }
}

void FormView::ApplyAll(const editor::Control& control) {
  for (Property p : {Property::kCaption, Property::kValue, Property::kEnabled, Property::kLeft,
                     Property::kVisible}) {
    Apply(control, p);
  }
}

void FormView::Apply(const editor::Control& control, Property property) {
  QWidget* widget = WidgetOf(control.name());
  if (widget == nullptr) return;
  if (widget == this) {
    if (property == Property::kCaption) {
      emit captionChanged(QString::fromStdString(control.caption()));
    }
    // The window's own size changes (the nudge that makes the resize control
    // lay out) are not pushed back to the screen; the user sizes the window.
    return;
  }
  switch (property) {
    case Property::kVisible:
      widget->setVisible(control.visible());
      if (control.visible()) widget->raise();
      if (qobject_cast<QPushButton*>(widget) != nullptr) SpreadButtons(control.container());
      // The progress control shows during long work that holds the event
      // loop: paint it now, not when the work is over.
      if (control.name() == "VRX_PROGRESS" && control.visible()) widget->repaint();
      if (control.name() == "PCB_UTENTI") PlaceSplitter();
      break;
    case Property::kEnabled:
      ApplyEnabled(control, widget);
      break;
    case Property::kLeft:
    case Property::kTop:
    case Property::kWidth:
    case Property::kHeight:
      widget->setGeometry(Px(control.left()), Px(control.top()), Px(control.width()),
                          Px(control.height()));
      if (qobject_cast<QPushButton*>(widget) != nullptr) SpreadButtons(control.container());
      if (control.name() == "PCB_UTENTI") PlaceSplitter();
      break;
    case Property::kCaption: {
      const QString text = QString::fromStdString(control.caption());
      if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(text);
      } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->setText(text);
      } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
      } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
      } else if (control.name() == "LblTitle") {
        UpdateTitle();
      } else if (auto* label = qobject_cast<QLabel*>(widget);
                 label != nullptr && qobject_cast<DoubleClickArea*>(widget) == nullptr) {
        label->setText(text);
      }
      break;
    }
    case Property::kValue:
      if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        int value = 0;
        try {
          value =
              control.value().IsEmpty() || control.value().IsNull() ? 0 : control.value().ToInt32();
        } catch (const std::exception&) {
          value = 0;
        }
        box->setCheckState(value == 1   ? Qt::Checked
                           : value == 2 ? Qt::PartiallyChecked
                                        : Qt::Unchecked);
      }
      break;
  }
  if (property == Property::kWidth && control.name() == "SPLIT_OCX") {
    window_->SPLIT_OCX_Resize();
  }
}

void FormView::PlaceSplitter() {
  QWidget* pane = WidgetOf("PCB_UTENTI");
  if (splitter_ == nullptr || pane == nullptr) return;
  // The gap between the pane and the sections is narrow; the handle takes
  // a few pixels more on each side of it.
  splitter_->setGeometry(pane->geometry().right() - 2, pane->y(), 7, pane->height());
  splitter_->setVisible(pane->isVisibleTo(this));
  splitter_->raise();
}

void FormView::SpreadButtons(const std::string& container) {
  struct Placed {
    const editor::Control* control;
    QPushButton* button;
  };
  std::vector<Placed> buttons;
  for (editor::Control* c : window_->controls()) {
    if (c->container() != container || c->type() != "CommandButton") continue;
    if (auto* button = qobject_cast<QPushButton*>(WidgetOf(c->name())))
      buttons.push_back({c, button});
  }
  // Rows by the control's top; in a row, by the control's left.
  std::sort(buttons.begin(), buttons.end(), [](const Placed& a, const Placed& b) {
    return a.control->top() != b.control->top() ? a.control->top() < b.control->top()
                                                : a.control->left() < b.control->left();
  });
  constexpr int kGap = 6;
  for (size_t i = 0; i < buttons.size(); ++i) {
    QPushButton* button = buttons[i].button;
    QRect rect(Px(buttons[i].control->left()), Px(buttons[i].control->top()),
               Px(buttons[i].control->width()), Px(buttons[i].control->height()));
    rect.setWidth(std::max(rect.width(), button->sizeHint().width()));
    for (size_t j = 0; j < i; ++j) {
      const QRect before = buttons[j].button->geometry();
      if (buttons[j].button->isVisibleTo(this) && button->isVisibleTo(this) &&
          before.top() < rect.bottom() && rect.top() < before.bottom() &&
          rect.left() < before.right() + kGap) {
        rect.moveLeft(before.right() + kGap);
      }
    }
    if (rect != button->geometry()) button->setGeometry(rect);
  }
}

QString FormView::TitleText() const {
  QString section = QString::fromStdString(window_->control("LblTitle").caption());
  if (section.isEmpty()) section = tr("Nessuna sezione scelta");
  const QString principal = controls_.tree ? controls_.tree->SelectedDescription() : QString();
  return tr("%1 — %2").arg(section,
                           principal.isEmpty() ? tr("nessun utente o gruppo scelto") : principal);
}

QString FormView::PrincipalPhrase() const {
  const std::optional<host::PrincipalNode> node =
      controls_.tree ? controls_.tree->SelectedNode() : std::nullopt;
  if (!node) return tr("nessuno");
  return (node->IsGroup() ? tr("il gruppo %1") : tr("l'utente %1"))
      .arg(QString::fromStdString(node->name));
}

void FormView::UpdateTitle() {
  if (auto* label = qobject_cast<QLabel*>(WidgetOf("LblTitle"))) {
    label->setText(TitleText());
    label->setToolTip(tr("La sezione e l'utente o il gruppo di cui si vedono i diritti"));
  }
}

void FormView::UpdatePrincipalControls() {
  for (const std::string& name : kNeedPrincipal) {
    const editor::Control* control = window_->FindControl(name);
    QWidget* widget = WidgetOf(name);
    if (control != nullptr && widget != nullptr) ApplyEnabled(*control, widget);
  }
}

void FormView::ApplyEnabled(const editor::Control& control, QWidget* widget) {
  const std::string& name = control.name();
  if (kNeedPrincipal.count(name) == 0) {
    widget->setEnabled(control.enabled());
    return;
  }
  const bool principal = controls_.tree && controls_.tree->SelectedNode().has_value();
  const bool source =
      name != "CMD_OK" || (controls_.copy_tree && controls_.copy_tree->SelectedNode().has_value());
  widget->setEnabled(control.enabled() && principal && source);
  if (!principal) {
    widget->setToolTip(tr("Scegliere prima un utente o un gruppo nell'albero"));
  } else if (!source) {
    widget->setToolTip(tr("Scegliere l'utente o il gruppo da cui copiare nel secondo albero"));
  } else if (name == "VRX_ABIDISDEPORI") {
    widget->setToolTip(tr("Abilita o disabilita tutti i trasferimenti dal deposito di origine "
                          "della riga scelta, per %1")
                           .arg(PrincipalPhrase()));
  } else if (name == "CMD_OK") {
    widget->setToolTip(tr("Copia le revoche delle sezioni spuntate dalla sorgente (Da) a %1 (A)")
                           .arg(PrincipalPhrase()));
  } else {
    widget->setToolTip(tr("Vale per %1").arg(PrincipalPhrase()));
  }
}

QAbstractItemView* FormView::VisibleGrid() const {
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(grid_view_),
                                  static_cast<QAbstractItemView*>(tree_grid_view_),
                                  static_cast<QAbstractItemView*>(matrix_view_)}) {
    if (view != nullptr && view->isVisibleTo(this)) return view;
  }
  return nullptr;
}

int FormView::CheckedCells() const {
  QAbstractItemView* view = VisibleGrid();
  if (view == nullptr || view->model() == nullptr) return 0;
  return CountChecked(view->model(), {});
}

QString FormView::Failure(size_t first) const {
  if (messages_ == nullptr) return {};
  const auto& shown = messages_->shown();
  QString refused;
  for (size_t i = first; i < shown.size(); ++i) {
    const int icon = shown[i].buttons & 0x70;
    const int choices = shown[i].buttons & 7;
    // The window reports a failed statement as "Errore N° :" with no icon.
    if (icon == host::kVbCritical || icon == host::kVbExclamation ||
        shown[i].prompt.rfind("Errore N", 0) == 0) {
      QString all = QString::fromStdString(shown[i].prompt).trimmed();
      all.replace(QLatin1Char('\n'), QStringLiteral(" — "));
      return tr("Errore, nulla di salvato: %1").arg(all.simplified());
    }
    if (shown[i].answer == host::kVbNo || shown[i].answer == host::kVbCancel) {
      refused = tr("Annullato: %1").arg(FirstLine(shown[i].prompt));
    } else if (refused.isEmpty() && choices == host::kVbOKOnly) {
      refused = FirstLine(shown[i].prompt);  // a notice that stopped the gesture
    }
  }
  return refused;
}

void FormView::RunGesture(const std::function<void()>& gesture,
                          const std::function<QString(int delta)>& describe) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const size_t first = messages_ != nullptr ? messages_->shown().size() : 0;
  const int before = CheckedCells();
  try {
    gesture();
  } catch (const std::exception& e) {
    // The window's handlers report their own errors; this is a last guard.
    qWarning("%s", e.what());
  }
  const int delta = CheckedCells() - before;
  QApplication::restoreOverrideCursor();
  const QString failure = Failure(first);
  QString text = failure.isEmpty() || delta != 0 ? describe(delta) : failure;
  // Part done and part refused: both are said.
  if (delta != 0 && failure.startsWith(tr("Errore"))) text += QStringLiteral(" · ") + failure;
  emit statusMessage(text);
}

void FormView::RunLoad(const std::function<void()>& load) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const size_t first = messages_ != nullptr ? messages_->shown().size() : 0;
  load();
  QApplication::restoreOverrideCursor();
  const QString failure = Failure(first);
  emit statusMessage(failure.isEmpty() ? tr("Mostrati: %1").arg(TitleText()) : failure);
}

bool FormView::FindInGrid(const QString& text, bool next) {
  QAbstractItemView* view = VisibleGrid();
  const QString wanted = text.trimmed();
  if (view == nullptr || view->model() == nullptr || wanted.isEmpty()) return false;
  const QAbstractItemModel* model = view->model();
  // Rows in the order they are drawn, depth first.
  std::vector<QModelIndex> rows;
  std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
    for (int r = 0; r < model->rowCount(parent); ++r) {
      const QModelIndex row = model->index(r, 0, parent);
      rows.push_back(row);
      if (model->hasChildren(row)) walk(row);
    }
  };
  walk({});
  if (rows.empty()) return false;
  const QModelIndex current = view->currentIndex();
  const QModelIndex current_row = current.isValid() ? current.siblingAtColumn(0) : QModelIndex();
  size_t start = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] == current_row) start = next ? i + 1 : i;
  }
  for (size_t n = 0; n < rows.size(); ++n) {
    const QModelIndex row = rows[(start + n) % rows.size()];
    for (int c = 0; c < model->columnCount(row.parent()); ++c) {
      const QModelIndex cell = row.siblingAtColumn(c);
      if (cell.data(Qt::DisplayRole).toString().contains(wanted, Qt::CaseInsensitive)) {
        view->setCurrentIndex(cell);
        view->scrollTo(cell);
        emit statusMessage(tr("Trovato «%1»").arg(wanted));
        return true;
      }
    }
    // A header row of the transfer matrix holds the origin's code.
    if (view == matrix_view_ && model->headerData(row.row(), Qt::Vertical)
                                    .toString()
                                    .contains(wanted, Qt::CaseInsensitive)) {
      view->setCurrentIndex(row);
      view->scrollTo(row);
      emit statusMessage(tr("Trovato «%1»").arg(wanted));
      return true;
    }
  }
  emit statusMessage(tr("«%1» non è nella griglia").arg(wanted));
  return false;
}

void FormView::WatchCells(QAbstractItemView* view) {
  auto* delegate = qobject_cast<CheckBoxDelegate*>(view->itemDelegate());
  if (delegate == nullptr) return;
  delegate->SetGestureRunner(
      [this, view](const QModelIndex& index, const std::function<void()>& toggle) {
        // What the click is about, read before the grid reloads.
        const QAbstractItemModel* model = index.model();
        QStringList texts;
        for (int c = 0; c < model->columnCount(index.parent()) && texts.size() < 2; ++c) {
          const QModelIndex cell = model->index(index.row(), c, index.parent());
          if (cell.data(Qt::CheckStateRole).isValid()) continue;
          const QString text = cell.data(Qt::DisplayRole).toString().trimmed();
          if (!text.isEmpty() && (texts.isEmpty() || !text.startsWith(texts.front()))) {
            texts << text;
          }
        }
        if (texts.isEmpty()) texts << model->headerData(index.row(), Qt::Vertical).toString();
        const QString row = texts.join(QStringLiteral(" - "));
        QString column = model->headerData(index.column(), Qt::Horizontal).toString();
        if (view == matrix_view_) column = tr("verso %1").arg(column);
        RunGesture(toggle, [this, row, column](int delta) {
          if (delta < 0) return tr("Revocato «%1» (%2) per %3").arg(row, column, PrincipalPhrase());
          if (delta > 0) {
            return tr("Ripristinato «%1» (%2) per %3").arg(row, column, PrincipalPhrase());
          }
          return tr("«%1» (%2): nulla di cambiato").arg(row, column);
        });
      });
}

void FormView::ButtonGesture(const std::string& name) {
  const editor::Control* control = window_->FindControl(name);
  const QString caption = control != nullptr ? QString::fromStdString(control->caption())
                                             : QString::fromStdString(name);
  const bool every = ForEveryPrincipal(name);
  RunGesture([this, name] { window_->ButtonClick(name); },
             [this, caption, every](int delta) {
               const QString who = every ? tr("ogni utente e gruppo") : PrincipalPhrase();
               if (delta < 0)
                 return tr("«%1»: revocati %2 diritti per %3").arg(caption).arg(-delta).arg(who);
               if (delta > 0) {
                 return tr("«%1»: ripristinati %2 diritti per %3").arg(caption).arg(delta).arg(who);
               }
               return tr("«%1» eseguito per %2").arg(caption, who);
             });
}

void FormView::MasterSwitchClicked(bool checked) {
  editor::Control* control = window_->FindControl("CHK_ABILREVOKE");
  if (control == nullptr) return;
  const QString prompt =
      checked ? tr("Attivare le revoche per tutta l'installazione?\n\nLa scelta vale per tutti "
                   "gli utenti, tutti i gruppi e tutte le aziende, non solo per l'utente o il "
                   "gruppo scelto.")
              : tr("Disattivare le revoche per tutta l'installazione?\n\nNessuna revoca varrà "
                   "più per alcun utente, gruppo o azienda finché non saranno riattivate.");
  const int32_t answer = window_->ShowMessage(
      prompt.toStdString(), host::kVbYesNo + host::kVbQuestion + host::kVbDefaultButton2,
      tr("Abilitazione revoche").toStdString());
  if (answer != host::kVbYes) {
    Apply(*control, Property::kValue);  // the box shows the setting again
    emit statusMessage(tr("Abilitazione revoche: nessuna modifica"));
    return;
  }
  RunGesture(
      [this, checked] { window_->SetCheckValue("CHK_ABILREVOKE", db::Value(checked ? 1 : 0)); },
      [this, control](int) {
        if (editor::Control* c = window_->FindControl("CHK_ABILREVOKE")) {
          Apply(*c, Property::kValue);
        }
        const bool on = !control->value().IsEmpty() && !control->value().IsNull() &&
                        control->value().ToInt32() == 1;
        return on ? tr("Revoche attivate per tutta l'installazione")
                  : tr("Revoche disattivate per tutta l'installazione");
      });
}

void FormView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (applying_size_) return;
  editor::Control& form = window_->form();
  form.SetWidth(PixelsToTwips(event->size().width(), dpi_));
  form.SetHeight(PixelsToTwips(event->size().height(), dpi_));
}

}  // namespace orv::hostapp
