#include "session/memory_side_bar.h"

namespace orv::session {

MemorySideBar::MemorySideBar()
    : items_({{"ITM50010", "Clienti/Fornitori"},
              {"ITM_ARTFAM", "Articoli per famiglia"},
              {"ITM50017", "Depositi"},
              {"ITM_TRANSORIDEST", "Trasferimenti tra depositi"},
              {"ITM_MODBLOCCO", "Modelli di blocco merce"},
              {"ITM50016", "Codici simulazione MRP"},
              {"ITM50026", "Progetti"},
              {"ITM_NODI", "Nodi di progetto"},
              {"ITM154", "Copia revoche"}}) {}

void MemorySideBar::Initialize(std::shared_ptr<host::Cinterface> /*host*/, bool /*flag*/) {
  initialized_ = true;
}

void MemorySideBar::SelectItem(int32_t /*index*/, bool /*flag*/, std::string_view group_key,
                               std::string_view item_key) {
  selected_group_ = std::string(group_key);
  selected_item_ = std::string(item_key);
}

std::string MemorySideBar::ItemCaption(std::string_view item_key) const {
  for (const host::SideBarItem& item : items_) {
    if (item.key == item_key) return item.caption;
  }
  return {};
}

}  // namespace orv::session
