#ifndef ORV_HOSTAPP_PROFILE_MENU_H_
#define ORV_HOSTAPP_PROFILE_MENU_H_

#include <functional>
#include <string>

#include "hostapp/profile_window.h"

class QMainWindow;

namespace orv::hostapp {

// The "Profili" menu of the main window: each item opens the profile
// window on its page. `changed` runs after an import wrote rows, so that
// the editor shows the database again.
class ProfileMenu {
 public:
  static void Install(QMainWindow* main, ProfileWindow::ConnectionProvider provider,
                      std::string login, std::function<void()> changed);
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_PROFILE_MENU_H_
