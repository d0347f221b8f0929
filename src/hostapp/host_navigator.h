#ifndef ORV_HOSTAPP_HOST_NAVIGATOR_H_
#define ORV_HOSTAPP_HOST_NAVIGATOR_H_

#include <cstdint>
#include <vector>

#include "hostapp/host_script_model.h"
#include "zere_orvelka/navigator.h"
#include "zere_orvelka/navigator_events.h"

namespace orv::hostapp {

// The navigator of the desktop host: raises its events to the connected
// modules (the company menu raises ChangeDitta) and owns the script model.
class HostNavigator : public host::Navigator {
 public:
  void Advise(host::NavigatorEvents* listener) override;
  void Unadvise(host::NavigatorEvents* listener) override;
  host::ScriptModel* GetScriptModel() override { return &script_model_; }
  void Open() override { ++open_count_; }
  void SetFrameStatus(int16_t status) override { frame_status_ = status; }
  void Refresh() override { ++refresh_count_; }
  void ForgetModule(host::Cinterface* module) override;

  // True when a module refused the change of company.
  bool RaiseChangeDitta();
  void RaiseBeforeExportToOffice();
  void RaiseInitializeModels();

  HostScriptModel& script_model() { return script_model_; }
  size_t listener_count() const { return listeners_.size(); }
  int open_count() const { return open_count_; }
  int refresh_count() const { return refresh_count_; }
  int forget_count() const { return forget_count_; }

 private:
  std::vector<host::NavigatorEvents*> listeners_;
  HostScriptModel script_model_;
  int open_count_ = 0;
  int refresh_count_ = 0;
  int forget_count_ = 0;
  int16_t frame_status_ = 0;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HOST_NAVIGATOR_H_
