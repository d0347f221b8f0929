#include "hostapp/host_navigator.h"

#include <algorithm>

namespace orv::hostapp {

void HostNavigator::Advise(host::NavigatorEvents* listener) {
  if (listener != nullptr &&
      std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
    listeners_.push_back(listener);
  }
}

void HostNavigator::Unadvise(host::NavigatorEvents* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void HostNavigator::ForgetModule(host::Cinterface* /*module*/) { ++forget_count_; }

bool HostNavigator::RaiseChangeDitta() {
  bool cancel = false;
  // A copy: a handler may disconnect.
  const std::vector<host::NavigatorEvents*> listeners = listeners_;
  for (host::NavigatorEvents* l : listeners) l->ChangeDitta(cancel);
  return cancel;
}

void HostNavigator::RaiseBeforeExportToOffice() {
  const std::vector<host::NavigatorEvents*> listeners = listeners_;
  for (host::NavigatorEvents* l : listeners) l->BeforeExportToOffice();
}

void HostNavigator::RaiseInitializeModels() {
  const std::vector<host::NavigatorEvents*> listeners = listeners_;
  for (host::NavigatorEvents* l : listeners) {
    l->InitializeLayoutObjectModel(script_model_);
    l->InitializeScriptObjectModel(script_model_);
  }
}

}  // namespace orv::hostapp
