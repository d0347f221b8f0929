#ifndef ZERE_ORVELKA_HOST_UI_H_
#define ZERE_ORVELKA_HOST_UI_H_

#include <memory>

#include "zere_orvelka/editor_window.h"
#include "zere_orvelka/host_controls.h"

namespace orv::host {

// What a host supplies for the module's window: its controls and the way the
// window is put on screen. The headless host keeps everything in memory; the
// desktop host makes widgets. Given to the entry class with
// CLSFW_ORVELKA::SetHostUi (C++ hosts of this source tree), or found on the
// host's ClsGlobal object when that object also derives from HostUi.
class HostUi {
 public:
  virtual ~HostUi() = default;

  // Fresh controls for a new window.
  virtual HostControls CreateControls() = 0;

  // Puts the window on screen. The host keeps the window (shared) while it
  // is shown and drives it: Form_Load happens before this call; the host
  // calls MdiHost1_FormLoad, Form_Activate on every activation, and Unload
  // when the user closes it. A modal host returns only
  // when the window has closed; a headless host activates it once and
  // returns.
  virtual void ShowWindow(std::shared_ptr<EditorWindow> window, bool modal) = 0;

  // The window unloaded (by CloseForm, by the user, or refused at start-up);
  // the host drops its reference and its view.
  virtual void WindowClosed(EditorWindow& window) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_HOST_UI_H_
