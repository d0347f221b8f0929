#include "hostapp/qt_side_bar.h"

#include "hostapp/host_icons.h"

namespace orv::hostapp {

QtSideBar::QtSideBar()
    : items_({{"ITM50010", "Clienti/Fornitori"},
              {"ITM_ARTFAM", "Famiglie articoli"},
              {"ITM50017", "Depositi"},
              {"ITM_TRANSORIDEST", "Trasferimenti tra depositi"},
              {"ITM_MODBLOCCO", "Modelli di blocco merce"},
              {"ITM50016", "Codici simulazione MRP"},
              {"ITM50026", "Progetti"},
              {"ITM_NODI", "Nodi di progetto"},
              {"ITM154", "Copia revoche"}}),
      model_(std::make_unique<QStandardItemModel>()) {
  for (const host::SideBarItem& item : items_) {
    const QString key = QString::fromStdString(item.key);
    auto* row = new QStandardItem(HostIcons::ForSection(key), QString::fromStdString(item.caption));
    row->setData(key, kKeyRole);
    row->setEditable(false);
    row->setToolTip(QString::fromStdString(item.caption));
    model_->appendRow(row);  // the model takes the item
  }
}

QtSideBar::~QtSideBar() = default;

void QtSideBar::Initialize(std::shared_ptr<host::Cinterface> /*host*/, bool /*flag*/) {}

void QtSideBar::SelectItem(int32_t /*index*/, bool /*flag*/, std::string_view /*group_key*/,
                           std::string_view item_key) {
  highlighted_ = std::string(item_key);
  if (highlight_handler_) highlight_handler_(RowOf(item_key));
}

std::string QtSideBar::ItemCaption(std::string_view item_key) const {
  for (const host::SideBarItem& item : items_) {
    if (item.key == item_key) return item.caption;
  }
  return {};
}

int QtSideBar::RowOf(std::string_view item_key) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].key == item_key) return static_cast<int>(i);
  }
  return -1;
}

bool QtSideBar::Pick(int row) {
  if (row < 0 || row >= static_cast<int>(items_.size())) return false;
  highlighted_ = items_[row].key;
  if (highlight_handler_) highlight_handler_(row);
  if (click_handler_) click_handler_(items_[row]);
  return true;
}

bool QtSideBar::PickKey(std::string_view item_key) { return Pick(RowOf(item_key)); }

}  // namespace orv::hostapp
