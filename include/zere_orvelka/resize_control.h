#ifndef ZERE_ORVELKA_RESIZE_CONTROL_H_
#define ZERE_ORVELKA_RESIZE_CONTROL_H_

#include <cstdint>
#include <string_view>

namespace orv::host {

class ResizeClient;

// The host's resize control (VRX_RESIZEFORM1). Start raises the registration
// event on `client` (borrowed until Stop or the control's end); afterwards
// the control lays out the registered controls whenever the window's size
// changes. Anchoring codes are the control's own.
class ResizeControl {
 public:
  virtual ~ResizeControl() = default;
  virtual void Start(ResizeClient& client) = 0;
  virtual void Stop() = 0;
  virtual void Register(std::string_view control_name, int32_t anchoring) = 0;
  // The window's size changed (twips).
  virtual void WindowResized(int32_t width, int32_t height) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_RESIZE_CONTROL_H_
