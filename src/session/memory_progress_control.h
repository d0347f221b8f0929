#ifndef ORV_SESSION_MEMORY_PROGRESS_CONTROL_H_
#define ORV_SESSION_MEMORY_PROGRESS_CONTROL_H_

#include "zere_orvelka/progress_control.h"

namespace orv::session {

// The progress control of the headless host: records what it was asked.
class MemoryProgressControl : public host::ProgressControl {
 public:
  void SetAutoStart(bool value) override { auto_start = value; }
  void Start() override { ++starts; }
  void Stop() override { ++stops; }
  void SetRunning(bool value) override { running = value; }
  bool IsRunning() const override { return running; }

  bool auto_start = false;
  bool running = false;
  int starts = 0;
  int stops = 0;
};

}  // namespace orv::session

#endif  // ORV_SESSION_MEMORY_PROGRESS_CONTROL_H_
