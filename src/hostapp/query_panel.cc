#include "hostapp/query_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "hostapp/lookup_dialog.h"
#include "hostapp/qt_query_control.h"

namespace orv::hostapp {

QueryPanel::QueryPanel(std::shared_ptr<QtQueryControl> control, QWidget* parent)
    : QWidget(parent), control_(std::move(control)) {
  setObjectName(QStringLiteral("ENHQUERY"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Rebuild();
}

void QueryPanel::Rebuild() {
  delete body_;
  boxes_.clear();
  body_ = new QWidget(this);
  layout()->addWidget(body_);
  auto* grid = new QGridLayout(body_);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  const auto& fields = control_->fields();
  // Two columns of fields, so that twelve fit in the pane.
  const int per_column = static_cast<int>((fields.size() + 1) / 2);
  for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
    const int row = i % std::max(1, per_column);
    const int base = (i / std::max(1, per_column)) * 6;
    const QString column = QString::fromStdString(fields[i].column);
    auto* caption = new QLabel(QString::fromStdString(fields[i].caption), body_);
    grid->addWidget(caption, row, base);
    auto add_box = [&](const QString& bound, int at, bool to) {
      auto* label = new QLabel(bound, body_);
      auto* box = new QLineEdit(body_);
      box->setObjectName(QStringLiteral("ENHQUERY_%1_%2").arg(column, bound));
      if (fields[i].max_length > 0) box->setMaxLength(fields[i].max_length);
      box->setMinimumWidth(70);
      auto* lookup = new QToolButton(body_);
      lookup->setObjectName(box->objectName() + QStringLiteral("_lookup"));
      lookup->setText(QStringLiteral("…"));
      lookup->setToolTip(QStringLiteral("Cerca %1").arg(caption->text()));
      label->setBuddy(box);
      auto* pair = new QHBoxLayout();
      pair->setSpacing(2);
      pair->addWidget(label);
      pair->addWidget(box, 1);
      pair->addWidget(lookup);
      grid->addLayout(pair, row, base + at);
      connect(box, &QLineEdit::editingFinished, this, [this, i, box, to] {
        const std::string typed = box->text().toStdString();
        const auto& f = control_->fields();
        if (i < static_cast<int>(f.size()) && (to ? f[i].to : f[i].from) != typed) {
          control_->SetBound(i, to ? QtQueryControl::kTo : QtQueryControl::kFrom, typed);
        }
      });
      connect(lookup, &QToolButton::clicked, this, [this, i, to] { OpenLookup(i, to); });
      return box;
    };
    QLineEdit* from = add_box(QStringLiteral("Da"), 1, false);
    QLineEdit* to = add_box(QStringLiteral("A"), 2, true);
    boxes_.emplace_back(from, to);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  grid->setColumnStretch(7, 1);
  grid->setColumnStretch(8, 1);
  ShowValues();
}

void QueryPanel::ShowValues() {
  const auto& fields = control_->fields();
  for (size_t i = 0; i < boxes_.size() && i < fields.size(); ++i) {
    const QString from = QString::fromStdString(fields[i].from);
    const QString to = QString::fromStdString(fields[i].to);
    if (boxes_[i].first->text() != from) boxes_[i].first->setText(from);
    if (boxes_[i].second->text() != to) boxes_[i].second->setText(to);
  }
}

void QueryPanel::OpenLookup(int field, bool to) {
  std::optional<QtQueryControl::Lookup> lookup = control_->LookupOf(field);
  if (!lookup) return;
  LookupDialog dialog(*lookup, this);
  if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty()) return;
  control_->SetBound(field, to ? QtQueryControl::kTo : QtQueryControl::kFrom,
                     dialog.chosen().toStdString());
}

}  // namespace orv::hostapp
