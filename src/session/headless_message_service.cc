#include "session/headless_message_service.h"

#include <string>

#include "host/fallback_message_box.h"

namespace orv::session {

int32_t HeadlessMessageService::Show(std::string_view prompt, int32_t buttons,
                                     std::string_view title, const host::HostForm* /*owner*/) {
  if (output_) {
    output_("MSG " + std::to_string(buttons) + "\t" + OneLine(title) + "\t" + OneLine(prompt));
  }
  // A box with only OK has one answer: it takes a queued "ok" but needs
  // none, and leaves any other answer to the box it was meant for.
  const bool ok_only = (buttons & 0x7) == host::kVbOKOnly;
  std::optional<int32_t> answer;
  if (!ok_only || answers_.Peek() == host::kVbOK) answer = answers_.Pop();
  if (!answer && ok_only) answer = host::kVbOK;
  if (!answer) {
    if (answers_.strict()) answers_.MarkUnanswered(std::string(prompt));
    answer = host::SafeDefaultAnswer(buttons);
  }
  messages_.push_back({std::string(prompt), buttons, std::string(title), *answer});
  return *answer;
}

}  // namespace orv::session
