#ifndef ORV_HOSTAPP_WINDOW_LINK_H_
#define ORV_HOSTAPP_WINDOW_LINK_H_

#include <memory>

#include "editor/frmfw_orvelka.h"

namespace orv::hostapp {

// The window the host controls of one editor window report to. The
// controls are made before the window exists (HostUi::CreateControls), so
// they share this link, which the host fills in when it shows the window.
class WindowLink {
 public:
  void Set(const std::shared_ptr<editor::FRMFW_ORVELKA>& window) { window_ = window; }
  // The window while it is alive and not unloaded, else null.
  editor::FRMFW_ORVELKA* Get() const {
    std::shared_ptr<editor::FRMFW_ORVELKA> window = window_.lock();
    return window && !window->unloaded() ? window.get() : nullptr;
  }

 private:
  std::weak_ptr<editor::FRMFW_ORVELKA> window_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_WINDOW_LINK_H_
