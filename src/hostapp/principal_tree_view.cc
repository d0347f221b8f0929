#include "hostapp/principal_tree_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>
#include <exception>

#include "hostapp/qt_principal_tree.h"

namespace orv::hostapp {

PrincipalTreeView::PrincipalTreeView(std::shared_ptr<QtPrincipalTree> tree, const QString& name,
                                     QWidget* parent)
    : QWidget(parent), tree_(std::move(tree)) {
  setObjectName(name);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  search_ = new QLineEdit(this);
  search_->setObjectName(name + QStringLiteral("_search"));
  search_->setPlaceholderText(QStringLiteral("Cerca utente o gruppo…"));
  search_->setClearButtonEnabled(true);
  view_ = new QTreeView(this);
  view_->setObjectName(name + QStringLiteral("_view"));
  view_->setModel(tree_->filtered());
  view_->setHeaderHidden(true);
  view_->setUniformRowHeights(true);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->installEventFilter(this);
  layout->addWidget(search_);
  layout->addWidget(view_, 1);

  connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
    tree_->SetSearchText(text);
    view_->expandAll();
    ShowSelection();
  });
  connect(view_, &QTreeView::clicked, this,
          [this](const QModelIndex& index) { tree_->Pick(index); });
  connect(tree_->model(), &QAbstractItemModel::modelReset, view_, &QTreeView::expandAll);
  connect(tree_->model(), &QAbstractItemModel::rowsInserted, view_, &QTreeView::expandAll);
  view_->expandAll();
  tree_->SetSelectionHandler([this] { ShowSelection(); });
}

PrincipalTreeView::~PrincipalTreeView() { tree_->SetSelectionHandler({}); }

void PrincipalTreeView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The control lists the installation's principals by itself, also when
  // the window never asked it to.
  if (tree_->loaded()) return;
  try {
    tree_->Load();
  } catch (const std::exception& e) {
    qWarning("%s: %s", qPrintable(objectName()), e.what());
  }
  view_->expandAll();
}

void PrincipalTreeView::ShowSelection() {
  std::optional<store::PrincipalNode> node = tree_->SelectedNode();
  if (!node) return;
  const QModelIndex index = tree_->IndexOf(node->kind, node->id);
  if (!index.isValid()) return;
  view_->setCurrentIndex(index);
  view_->scrollTo(index);
}

bool PrincipalTreeView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
        key->key() == Qt::Key_Space) {
      tree_->Pick(view_->currentIndex());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace orv::hostapp
