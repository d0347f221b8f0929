#include "hostapp/form_view.h"

#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <QTreeView>
#include <algorithm>
#include <exception>

#include "editor/frmfw_orvelka.h"
#include "hostapp/check_box_delegate.h"
#include "hostapp/check_header_view.h"
#include "hostapp/double_click_area.h"
#include "hostapp/host_icons.h"
#include "hostapp/principal_tree_view.h"
#include "hostapp/query_panel.h"
#include "hostapp/twips.h"

namespace orv::hostapp {
namespace {

using Property = editor::Control::Property;

// Grid widths are in the grid's own unit, read as twips; a column is never
// drawn narrower than its check box.
constexpr int kMinColumn = 28;

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
    connect(button, &QPushButton::clicked, this, [this, name] { window_->ButtonClick(name); });
    widget = button;
  } else if (type == "CheckBox" || type == "VRX_CHECKBOX") {
    auto* box = new QCheckBox(parent);
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
    GroupingGridModel* model = controls_.grid->model();
    view->setModel(model);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(false);
    connect(header, &CheckHeaderView::checkBoxClicked, this,
            [model](int column) { model->HeaderCheckBoxClicked(column); });
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
    std::shared_ptr<QtTreeGrid> grid = controls_.tree_grid;
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [grid, model](const QModelIndex& current) {
              if (auto row = model->RowOf(current)) grid->MakeCurrent(*row);
            });
    connect(model, &QAbstractItemModel::modelReset, this, [this, view] {
      view->expandToDepth(0);
      ApplyTreeWidths();
    });
    tree_grid_view_ = view;
    return view;
  }
  if (name == "GRID_DEPOSITO" && controls_.matrix) {
    auto* view = new QTableView(parent);
    ConfigureGrid(view);
    auto* header = new CheckHeaderView(MatrixGridModel::kGroupRole, view);
    view->setHorizontalHeader(header);
    MatrixGridModel* model = controls_.matrix->model();
    view->setModel(model);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    connect(header, &CheckHeaderView::checkBoxClicked, this,
            [model](int column) { model->HeaderCheckBoxClicked(column); });
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
      break;
    case Property::kEnabled:
      widget->setEnabled(control.enabled());
      break;
    case Property::kLeft:
    case Property::kTop:
    case Property::kWidth:
    case Property::kHeight:
      widget->setGeometry(Px(control.left()), Px(control.top()), Px(control.width()),
                          Px(control.height()));
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

void FormView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (applying_size_) return;
  editor::Control& form = window_->form();
  form.SetWidth(PixelsToTwips(event->size().width(), dpi_));
  form.SetHeight(PixelsToTwips(event->size().height(), dpi_));
}

}  // namespace orv::hostapp
