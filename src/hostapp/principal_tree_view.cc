#include "hostapp/principal_tree_view.h"

#include <QCoreApplication>
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
  search_->setPlaceholderText(tr("Cerca utente o gruppo… (Ctrl+F)"));
  search_->setToolTip(
      tr("Restringe l'albero ai nomi che contengono il testo; l'utente o il "
         "gruppo scelto resta in elenco"));
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
  tree_->SetSelectionHandler([this] {
    ShowSelection();
    emit principalPicked();
  });
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
  const QModelIndex index = node ? tree_->IndexOf(node->kind, node->id) : QModelIndex();
  if (!index.isValid()) {
    // No highlight on a node whose rights are not the ones shown.
    view_->selectionModel()->clear();
    return;
  }
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
    if (!forwarding_key_) {
      // The view moves the highlight; a move onto another principal picks it.
      forwarding_key_ = true;
      const QModelIndex before = view_->currentIndex();
      QCoreApplication::sendEvent(view_, event);
      // Headings are stepped over in the direction of the move.
      for (int step = 0;
           step < 2 && view_->currentIndex() != before && !tree_->NodeAt(view_->currentIndex());
           ++step) {
        QCoreApplication::sendEvent(view_, event);
      }
      forwarding_key_ = false;
      const QModelIndex after = view_->currentIndex();
      if (after != before) {
        const std::optional<store::PrincipalNode> node = tree_->NodeAt(after);
        const std::optional<store::PrincipalNode> selected = tree_->SelectedNode();
        if (node && !(selected && selected->kind == node->kind && selected->id == node->id)) {
          tree_->Pick(after);
        } else if (!node) {
          ShowSelection();  // a heading is not a principal: back to the picked one
        }
      }
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace orv::hostapp
