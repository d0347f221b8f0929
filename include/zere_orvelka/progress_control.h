#ifndef ZERE_ORVELKA_PROGRESS_CONTROL_H_
#define ZERE_ORVELKA_PROGRESS_CONTROL_H_

namespace orv::host {

// The host's progress control (VRX_PROGRESS). Its placement and visibility
// are the window's control state "VRX_PROGRESS"; these are its own calls.
class ProgressControl {
 public:
  virtual ~ProgressControl() = default;
  virtual void SetAutoStart(bool value) = 0;  // the first configuration property
  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual void SetRunning(bool value) = 0;
  virtual bool IsRunning() const = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_PROGRESS_CONTROL_H_
