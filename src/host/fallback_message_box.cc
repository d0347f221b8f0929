#include "host/fallback_message_box.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

#include "zere_orvelka/message_service.h"

namespace orv::host {
namespace {

std::mutex& FunctionMutex() {
  static std::mutex mutex;
  return mutex;
}

MessageBoxFunction& CurrentFunction() {
  static MessageBoxFunction function;
  return function;
}

}  // namespace

int32_t SafeDefaultAnswer(int32_t buttons) {
  switch (buttons & 7) {
    case kVbOKCancel:
    case kVbYesNoCancel:
    case kVbRetryCancel:
      return kVbCancel;
    case kVbAbortRetryIgnore:
      return kVbAbort;
    case kVbYesNo:
      return kVbNo;
    default:
      return kVbOK;
  }
}

MessageBoxFunction SetFallbackMessageBox(MessageBoxFunction function) {
  std::lock_guard lock(FunctionMutex());
  return std::exchange(CurrentFunction(), std::move(function));
}

int32_t ShowFallbackMessageBox(std::string_view prompt, int32_t buttons, std::string_view title) {
  MessageBoxFunction function;
  {
    std::lock_guard lock(FunctionMutex());
    function = CurrentFunction();
  }
  if (function) return function(prompt, buttons, title);
  std::string text(title);
  if (!text.empty()) text += ": ";
  text += prompt;
  std::fprintf(stderr, "%s\n", text.c_str());
  return SafeDefaultAnswer(buttons);
}

}  // namespace orv::host
