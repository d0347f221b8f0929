#include "session/headless_navigator.h"

#include <algorithm>

namespace orv::session {

void HeadlessNavigator::Advise(host::NavigatorEvents* listener) {
  if (listener != nullptr) listeners_.push_back(listener);
}

void HeadlessNavigator::Unadvise(host::NavigatorEvents* listener) {
  std::erase(listeners_, listener);
}

bool HeadlessNavigator::RaiseChangeDitta() {
  bool cancel = false;
  const auto listeners = listeners_;
  for (host::NavigatorEvents* listener : listeners) listener->ChangeDitta(cancel);
  return cancel;
}

void HeadlessNavigator::RaiseInitializeModels() {
  const auto listeners = listeners_;
  for (host::NavigatorEvents* listener : listeners) {
    listener->InitializeLayoutObjectModel(script_model_);
    listener->InitializeScriptObjectModel(script_model_);
  }
}

}  // namespace orv::session
