#include "hostapp/lookup_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace orv::hostapp {

LookupDialog::LookupDialog(const QtQueryControl::Lookup& lookup, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("LookupDialog"));
  setWindowTitle(QString::fromStdString(lookup.definition.title));
  QStringList headings;
  for (const std::string& h : lookup.definition.headings) headings << QString::fromStdString(h);
  size_t columns = headings.size();
  for (const auto& row : lookup.rows) columns = std::max(columns, row.size());
  model_.setColumnCount(static_cast<int>(columns));
  model_.setHorizontalHeaderLabels(headings);
  for (const auto& row : lookup.rows) {
    QList<QStandardItem*> items;
    for (const std::string& cell : row) {
      auto* item = new QStandardItem(QString::fromStdString(cell));
      item->setEditable(false);
      items << item;
    }
    model_.appendRow(items);  // the model takes the items
  }
  auto* proxy = new QSortFilterProxyModel(this);
  proxy->setSourceModel(&model_);
  proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
  proxy->setFilterKeyColumn(-1);
  auto* filter = new QLineEdit(this);
  filter->setObjectName(QStringLiteral("LookupFilter"));
  filter->setPlaceholderText(QStringLiteral("Filtra…"));
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("LookupTable"));
  table_->setModel(proxy);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(filter);
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);
  resize(520, 420);
  connect(filter, &QLineEdit::textChanged, proxy, &QSortFilterProxyModel::setFilterFixedString);
  auto accept_current = [this] {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) return;
    chosen_ = current.sibling(current.row(), 0).data().toString();
    accept();
  };
  connect(table_, &QTableView::doubleClicked, this, accept_current);
  connect(buttons, &QDialogButtonBox::accepted, this, accept_current);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

}  // namespace orv::hostapp
