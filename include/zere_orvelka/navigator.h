#ifndef ZERE_ORVELKA_NAVIGATOR_H_
#define ZERE_ORVELKA_NAVIGATOR_H_

#include <cstdint>

namespace orv::host {

class Cinterface;
class NavigatorEvents;
class ScriptModel;

// The host's navigator (Cinterface::ActiveNavigator).
class Navigator {
 public:
  virtual ~Navigator() = default;

  // Connects / disconnects a listener. The listener is borrowed: the module
  // disconnects before it goes away (DestroyClass), and a host must not raise
  // events to a listener it was told to drop. May throw; the module reports.
  virtual void Advise(NavigatorEvents* listener) = 0;
  virtual void Unadvise(NavigatorEvents* listener) = 0;

  // The script model, or null when the host has none. Owned by the navigator.
  virtual ScriptModel* GetScriptModel() = 0;

  // The navigator's opening operation, called once when the window starts.
  virtual void Open() = 0;
  // Activation: the frame's status, then a refresh.
  virtual void SetFrameStatus(int16_t status) = 0;
  virtual void Refresh() = 0;
  // The window has closed: forget its layout and script models and `module`.
  virtual void ForgetModule(Cinterface* module) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_NAVIGATOR_H_
