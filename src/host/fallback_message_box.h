#ifndef ORV_HOST_FALLBACK_MESSAGE_BOX_H_
#define ORV_HOST_FALLBACK_MESSAGE_BOX_H_

#include <cstdint>
#include <functional>
#include <string_view>

namespace orv::host {

// The standard message box, used by ShowMessage when the host offers no
// message service (no ActiveDll / HostInterface, no ClsGlobal, or no
// service). Pluggable; the default writes "title: prompt" to stderr and
// answers without waiting with the button that changes nothing: OK for an
// OK box, Cancel where there is one, No for Yes/No, Abort for
// Abort/Retry/Ignore.
using MessageBoxFunction =
    std::function<int32_t(std::string_view prompt, int32_t buttons, std::string_view title)>;

// Replaces the function; an empty one restores the default. Returns the
// previous one (empty when it was the default).
MessageBoxFunction SetFallbackMessageBox(MessageBoxFunction function);

int32_t ShowFallbackMessageBox(std::string_view prompt, int32_t buttons, std::string_view title);

// The answer of the default: the button of `buttons` that changes nothing.
int32_t SafeDefaultAnswer(int32_t buttons);

}  // namespace orv::host

#endif  // ORV_HOST_FALLBACK_MESSAGE_BOX_H_
