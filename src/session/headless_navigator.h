#ifndef ORV_SESSION_HEADLESS_NAVIGATOR_H_
#define ORV_SESSION_HEADLESS_NAVIGATOR_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "session/headless_script_model.h"
#include "zere_orvelka/navigator.h"
#include "zere_orvelka/navigator_events.h"

namespace orv::session {

// The navigator of the headless host. Raise* send an event to every
// connected listener, as the host's navigator does.
class HeadlessNavigator : public host::Navigator {
 public:
  void Advise(host::NavigatorEvents* listener) override;
  void Unadvise(host::NavigatorEvents* listener) override;
  host::ScriptModel* GetScriptModel() override { return &script_model_; }
  void Open() override { ++open_count; }
  void SetFrameStatus(int16_t status) override { last_status = status; }
  void Refresh() override { ++refresh_count; }
  void ForgetModule(host::Cinterface* /*module*/) override { ++forget_count; }

  // True when a listener refused.
  bool RaiseChangeDitta();
  void RaiseInitializeModels();

  HeadlessScriptModel& script_model() { return script_model_; }
  const std::vector<host::NavigatorEvents*>& listeners() const { return listeners_; }

  int open_count = 0;
  int refresh_count = 0;
  int forget_count = 0;
  int16_t last_status = 0;

 private:
  std::vector<host::NavigatorEvents*> listeners_;
  HeadlessScriptModel script_model_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_HEADLESS_NAVIGATOR_H_
