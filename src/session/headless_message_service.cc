#include "session/headless_message_service.h"

#include <string>

#include "host/fallback_message_box.h"

namespace orv::session {

int32_t HeadlessMessageService::Show(std::string_view prompt, int32_t buttons,
                                     std::string_view title, const host::HostForm* /*owner*/) {
  if (output_) {
    output_("MSG " + std::to_string(buttons) + "\t" + OneLine(title) + "\t" + OneLine(prompt));
  }
  std::optional<int32_t> answer = answers_.Pop();
  if (!answer) {
    if (answers_.strict()) answers_.MarkUnanswered(std::string(prompt));
    answer = host::SafeDefaultAnswer(buttons);
  }
  messages_.push_back({std::string(prompt), buttons, std::string(title), *answer});
  return *answer;
}

}  // namespace orv::session
