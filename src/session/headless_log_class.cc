#include "session/headless_log_class.h"

#include <string>

#include "host/fallback_message_box.h"
#include "zere_orvelka/message_service.h"

namespace orv::session {

void HeadlessLogClass::TakeError(const host::HostError& error) {
  pending_ = LoggedError();
  pending_.error = error;
}

void HeadlessLogClass::TakeConnectionErrors(const std::vector<host::HostError>& errors) {
  pending_.connection_errors = errors;
}

int32_t HeadlessLogClass::Show(std::string_view /*application_title*/, std::string_view /*caption*/,
                               std::string_view routine_name, int32_t buttons) {
  pending_.routine = std::string(routine_name);
  pending_.buttons = buttons;
  if (output_) {
    output_("ERR " + pending_.routine + "\t" + std::to_string(pending_.error.number) + "\t" +
            OneLine(pending_.error.description));
  }
  std::optional<int32_t> answer = answers_.Pop();
  if (!answer) {
    if (answers_.strict()) {
      answers_.MarkUnanswered("Errore in " + pending_.routine + ": " + pending_.error.description);
    }
    answer = (buttons & 0xF) == host::kVbAbortRetryIgnore ? host::kVbAbort
                                                          : host::SafeDefaultAnswer(buttons);
  }
  pending_.answer = *answer;
  errors_.push_back(pending_);
  return *answer;
}

}  // namespace orv::session
