#include "hostapp/qt_principal_tree.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

#include "db/connection.h"
#include "db/recordset.h"
#include "host/err_object.h"
#include "hostapp/host_icons.h"
#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

QtPrincipalTree::QtPrincipalTree(ConnectionProvider provider)
    : provider_(std::move(provider)),
      model_(std::make_unique<QStandardItemModel>()),
      proxy_(std::make_unique<PrincipalFilterModel>(kKindRole, kIdRole)) {
  proxy_->setSourceModel(model_.get());
}

QtPrincipalTree::~QtPrincipalTree() = default;

void QtPrincipalTree::Initialize(std::shared_ptr<host::Cinterface> /*host*/, bool /*flag*/) {
  // The tree reads the host database through the host's own connection; it
  // keeps no reference to the module (the module owns it, through the
  // window, and a reference back would keep both alive).
  initialized_ = true;
}

void QtPrincipalTree::Load() {
  std::shared_ptr<db::Connection> connection = provider_ ? provider_() : nullptr;
  if (!connection) host::ThrowObjectNotSet("connection of the user/group tree");
  std::vector<store::PrincipalNode> nodes;
  std::vector<QString> tips;
  std::vector<bool> active;
  if (show_groups_) {
    auto groups = connection->Execute(
        "SELECT FW06_ID, FW06_CODICE, FW06_DESCR FROM FW06_GROUPUSR ORDER BY FW06_CODICE");
    for (; groups && !groups->IsEof(); groups->MoveNext()) {
      const std::string code = RecordsetCells::Text(groups->Field("FW06_CODICE"));
      std::string name = RecordsetCells::Text(groups->Field("FW06_DESCR"));
      if (name.empty()) name = code;
      nodes.push_back({store::PrincipalNode::kGroup, groups->Field("FW06_ID").ToInt64(), name});
      tips.push_back(QCoreApplication::translate("QtPrincipalTree", "Gruppo %1, codice %2")
                         .arg(QString::fromStdString(name), QString::fromStdString(code)));
      active.push_back(true);
    }
  }
  if (show_users_) {
    auto users = connection->Execute(
        "SELECT FW07_ID, FW07_LOGIN, FW07_NOMEUTENTE, FW07_FLGATTIVO FROM FW07_APPUSER"
        " ORDER BY FW07_NOMEUTENTE");
    for (; users && !users->IsEof(); users->MoveNext()) {
      const std::string name = RecordsetCells::Text(users->Field("FW07_NOMEUTENTE"));
      nodes.push_back({store::PrincipalNode::kUser, users->Field("FW07_ID").ToInt64(), name});
      const db::Value& flag = users->Field("FW07_FLGATTIVO");
      const bool is_active = flag.IsNull() || flag.ToInt32() != 0;
      QString tip =
          QCoreApplication::translate("QtPrincipalTree", "Utente %1, accesso %2")
              .arg(QString::fromStdString(name),
                   QString::fromStdString(RecordsetCells::Text(users->Field("FW07_LOGIN"))));
      if (!is_active) tip += QCoreApplication::translate("QtPrincipalTree", " (non attivo)");
      tips.push_back(tip);
      active.push_back(is_active);
    }
  }
  model_->clear();
  model_->setHorizontalHeaderLabels({QStringLiteral("Utenti e gruppi")});
  auto* groups = new QStandardItem(HostIcons::Folder(),
                                   QCoreApplication::translate("QtPrincipalTree", "Gruppi"));
  auto* users = new QStandardItem(HostIcons::Folder(),
                                  QCoreApplication::translate("QtPrincipalTree", "Utenti"));
  groups->setSelectable(false);
  users->setSelectable(false);
  groups->setEditable(false);
  users->setEditable(false);
  for (size_t i = 0; i < nodes.size(); ++i) {
    const store::PrincipalNode& node = nodes[i];
    auto* item = new QStandardItem(node.IsGroup() ? HostIcons::Group() : HostIcons::User(),
                                   QString::fromStdString(node.name));
    item->setEditable(false);
    item->setData(node.kind, kKindRole);
    item->setData(static_cast<qlonglong>(node.id), kIdRole);
    item->setToolTip(tips[i]);
    item->setData(static_cast<bool>(active[i]), kActiveRole);
    if (!active[i]) {
      item->setForeground(QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text));
      QFont font = item->font();
      font.setItalic(true);
      item->setFont(font);
    }
    (node.IsGroup() ? groups : users)->appendRow(item);
  }
  // QStandardItemModel takes the items.
  model_->appendRow(groups);
  model_->appendRow(users);
  nodes_ = std::move(nodes);
  loaded_ = true;
  if (selected_) {
    bool still_there = false;
    for (const store::PrincipalNode& n : nodes_) {
      still_there = still_there || (n.IsGroup() == selected_->IsGroup() && n.id == selected_->id);
    }
    if (!still_there) selected_.reset();
  }
  proxy_->SetKept(selected_
                      ? std::optional(std::pair<int32_t, int64_t>(selected_->kind, selected_->id))
                      : std::nullopt);
}

QString QtPrincipalTree::SelectedDescription() const {
  if (!selected_) return {};
  return (selected_->IsGroup() ? QCoreApplication::translate("QtPrincipalTree", "Gruppo: %1")
                               : QCoreApplication::translate("QtPrincipalTree", "Utente: %1"))
      .arg(QString::fromStdString(selected_->name));
}

void QtPrincipalTree::SetSearchText(const QString& text) {
  proxy_->setFilterFixedString(text.trimmed());
}

std::optional<store::PrincipalNode> QtPrincipalTree::NodeAt(const QModelIndex& proxy_index) const {
  const QModelIndex source = proxy_->mapToSource(proxy_index);
  if (!source.isValid() || !source.data(kKindRole).isValid()) return std::nullopt;
  store::PrincipalNode node;
  node.kind = source.data(kKindRole).toInt();
  node.id = source.data(kIdRole).toLongLong();
  node.name = source.data(Qt::DisplayRole).toString().toStdString();
  return node;
}

QModelIndex QtPrincipalTree::IndexOf(int32_t kind, int64_t id) const {
  const bool group = kind == store::PrincipalNode::kGroup;
  for (int h = 0; h < model_->rowCount(); ++h) {
    QStandardItem* heading = model_->item(h);
    for (int r = 0; r < heading->rowCount(); ++r) {
      QStandardItem* item = heading->child(r);
      if ((item->data(kKindRole).toInt() == store::PrincipalNode::kGroup) == group &&
          item->data(kIdRole).toLongLong() == id) {
        return proxy_->mapFromSource(item->index());
      }
    }
  }
  return {};
}

void QtPrincipalTree::Pick(const QModelIndex& proxy_index) {
  std::optional<store::PrincipalNode> node = NodeAt(proxy_index);
  if (!node) return;  // headings are not principals
  selected_ = node;
  proxy_->SetKept(std::pair<int32_t, int64_t>(node->kind, node->id));
  if (selection_handler_) selection_handler_();
  if (click_handler_) click_handler_(selected_);
}

bool QtPrincipalTree::Select(int32_t kind, int64_t id) {
  if (!loaded_) Load();
  SetSearchText({});
  const QModelIndex index = IndexOf(kind, id);
  if (!index.isValid()) return false;
  Pick(index);
  return true;
}

}  // namespace orv::hostapp
