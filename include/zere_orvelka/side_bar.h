#ifndef ZERE_ORVELKA_SIDE_BAR_H_
#define ZERE_ORVELKA_SIDE_BAR_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orv::host {

class Cinterface;

// One item of the side bar, as the item-click handler receives it.
struct SideBarItem {
  std::string key;
  std::string caption;
};

// The host's side bar (VRX_SIDEBAR1). Items and captions come from the host.
// The host calls the window's VRX_SIDEBAR1_ItemClick when the user picks an
// item; SelectItem only highlights an item and raises nothing.
class SideBar {
 public:
  virtual ~SideBar() = default;
  virtual void Initialize(std::shared_ptr<Cinterface> host, bool flag) = 0;
  virtual void SelectItem(int32_t index, bool flag, std::string_view group_key,
                          std::string_view item_key) = 0;
  // The caption of an item ("" when the bar has no such item).
  virtual std::string ItemCaption(std::string_view item_key) const = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_SIDE_BAR_H_
