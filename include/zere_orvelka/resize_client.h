#ifndef ZERE_ORVELKA_RESIZE_CLIENT_H_
#define ZERE_ORVELKA_RESIZE_CLIENT_H_

namespace orv::host {

class ResizeControl;

// The side of the resize control's events: the window implements it.
class ResizeClient {
 public:
  virtual ~ResizeClient() = default;
  // The registration event: register every control with its anchoring code.
  virtual void RegisterControls(ResizeControl& control) = 0;
  // The control's second event; the window answers true.
  virtual bool AcceptResize() = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_RESIZE_CLIENT_H_
