#include "hostapp/change_log_viewer.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orv::hostapp {

ChangeLogViewer::ChangeLogViewer(ChangeLogModel::ConnectionProvider provider, QWidget* parent)
    : QDialog(parent), model_(std::move(provider)) {
  setObjectName(QStringLiteral("ChangeLogViewer"));
  setWindowTitle(QStringLiteral("Registro modifiche"));
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("ChangeLogTable"));
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* reload =
      buttons->addButton(QStringLiteral("Aggiorna"), QDialogButtonBox::ActionRole);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);
  connect(reload, &QPushButton::clicked, this, [this] {
    model_.Reload();
    table_->resizeColumnsToContents();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  model_.Reload();
  table_->resizeColumnsToContents();
  resize(860, 440);
}

}  // namespace orv::hostapp
