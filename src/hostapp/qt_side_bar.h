#ifndef ORV_HOSTAPP_QT_SIDE_BAR_H_
#define ORV_HOSTAPP_QT_SIDE_BAR_H_

#include <QStandardItemModel>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "zere_orvelka/side_bar.h"

namespace orv::hostapp {

// The side bar of the desktop host: the editor's items under group
// "GRP1013" with the host's Italian captions. SelectItem only highlights
// (the view follows through the highlight handler); a user's pick is
// reported to the click handler, which forwards it to the window.
class QtSideBar : public host::SideBar {
 public:
  using ClickHandler = std::function<void(const host::SideBarItem& item)>;
  using HighlightHandler = std::function<void(int row)>;
  static constexpr int kKeyRole = Qt::UserRole + 1;
  static constexpr std::string_view kGroupKey = "GRP1013";

  QtSideBar();
  ~QtSideBar() override;

  void SetClickHandler(ClickHandler handler) { click_handler_ = std::move(handler); }
  void SetHighlightHandler(HighlightHandler handler) { highlight_handler_ = std::move(handler); }

  void Initialize(std::shared_ptr<host::Cinterface> host, bool flag) override;
  void SelectItem(int32_t index, bool flag, std::string_view group_key,
                  std::string_view item_key) override;
  std::string ItemCaption(std::string_view item_key) const override;

  QStandardItemModel* model() const { return model_.get(); }
  const std::vector<host::SideBarItem>& items() const { return items_; }
  int RowOf(std::string_view item_key) const;
  const std::string& highlighted() const { return highlighted_; }
  // A user's pick of a row; false for an unknown row.
  bool Pick(int row);
  // A pick by key (the --section option, tests); false for an unknown key.
  bool PickKey(std::string_view item_key);

 private:
  std::vector<host::SideBarItem> items_;
  std::unique_ptr<QStandardItemModel> model_;
  std::string highlighted_;
  ClickHandler click_handler_;
  HighlightHandler highlight_handler_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_SIDE_BAR_H_
