#ifndef ORV_SESSION_MEMORY_SIDE_BAR_H_
#define ORV_SESSION_MEMORY_SIDE_BAR_H_

#include <memory>
#include <string>
#include <vector>

#include "zere_orvelka/side_bar.h"

namespace orv::session {

// The side bar of the headless host: the editor's items under group
// "GRP1013", with the host's captions.
class MemorySideBar : public host::SideBar {
 public:
  MemorySideBar();

  void Initialize(std::shared_ptr<host::Cinterface> host, bool flag) override;
  void SelectItem(int32_t index, bool flag, std::string_view group_key,
                  std::string_view item_key) override;
  std::string ItemCaption(std::string_view item_key) const override;

  const std::vector<host::SideBarItem>& items() const { return items_; }
  bool initialized() const { return initialized_; }
  const std::string& selected_group() const { return selected_group_; }
  const std::string& selected_item() const { return selected_item_; }

 private:
  std::vector<host::SideBarItem> items_;
  bool initialized_ = false;
  std::string selected_group_;
  std::string selected_item_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_MEMORY_SIDE_BAR_H_
