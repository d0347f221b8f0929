#ifndef ORV_HOSTAPP_QT_PROGRESS_CONTROL_H_
#define ORV_HOSTAPP_QT_PROGRESS_CONTROL_H_

#include "zere_orvelka/progress_control.h"

namespace orv::hostapp {

// The busy indicator. Its placement and visibility are the window's control
// state "VRX_PROGRESS" (mirrored by the view); while started, the pointer is
// the hourglass.
class QtProgressControl : public host::ProgressControl {
 public:
  ~QtProgressControl() override;
  void SetAutoStart(bool value) override { auto_start_ = value; }
  void Start() override;
  void Stop() override;
  void SetRunning(bool value) override { running_ = value; }
  bool IsRunning() const override { return running_; }

  bool auto_start() const { return auto_start_; }
  bool started() const { return started_; }

 private:
  bool auto_start_ = false;
  bool running_ = false;
  bool started_ = false;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_PROGRESS_CONTROL_H_
