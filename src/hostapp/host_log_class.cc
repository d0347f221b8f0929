#include "hostapp/host_log_class.h"

namespace orv::hostapp {

void HostLogClass::TakeError(const host::HostError& error) {
  errors_.clear();
  errors_.push_back(error);
}

void HostLogClass::TakeConnectionErrors(const std::vector<host::HostError>& errors) {
  for (const host::HostError& e : errors) {
    // The driver's first message is usually the trapped error itself.
    if (!errors_.empty() && e.number == errors_.front().number &&
        e.description == errors_.front().description) {
      continue;
    }
    errors_.push_back(e);
  }
}

int32_t HostLogClass::Show(std::string_view application_title, std::string_view caption,
                           std::string_view routine_name, int32_t buttons) {
  std::string text = "Si è verificato un errore in " + std::string(routine_name) + ".\n";
  for (const host::HostError& e : errors_) {
    text += "\nErrore N° " + std::to_string(e.number) + ": " + e.description;
    if (!e.source.empty()) text += " (" + e.source + ")";
  }
  text += "\n\nInterrompi, Riprova o Ignora?";
  std::string title(application_title);
  if (!caption.empty()) title += (title.empty() ? "" : " - ") + std::string(caption);
  last_text_ = text;
  errors_.clear();
  const int32_t answer = messages_.Show(text, buttons, title, nullptr);
  if (answer == host::kVbRetry || answer == host::kVbIgnore) return answer;
  return host::kVbAbort;
}

}  // namespace orv::hostapp
