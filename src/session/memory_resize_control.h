#ifndef ORV_SESSION_MEMORY_RESIZE_CONTROL_H_
#define ORV_SESSION_MEMORY_RESIZE_CONTROL_H_

#include <cstdint>
#include <map>
#include <string>

#include "zere_orvelka/resize_client.h"
#include "zere_orvelka/resize_control.h"

namespace orv::session {

// The resize control of the headless host: Start raises the registration
// event at once; registrations and layouts are recorded.
class MemoryResizeControl : public host::ResizeControl {
 public:
  void Start(host::ResizeClient& client) override {
    ++starts;
    started = true;
    client.RegisterControls(*this);
    accepted = client.AcceptResize();
  }
  void Stop() override { started = false; }
  void Register(std::string_view control_name, int32_t anchoring) override {
    registrations[std::string(control_name)] = anchoring;
  }
  void WindowResized(int32_t /*width*/, int32_t /*height*/) override { ++layouts; }

  bool started = false;
  bool accepted = false;
  int starts = 0;
  int layouts = 0;
  std::map<std::string, int32_t> registrations;
};

}  // namespace orv::session

#endif  // ORV_SESSION_MEMORY_RESIZE_CONTROL_H_
