#include "editor/log_error_routine.h"

#include <utility>

#include "editor/frmfw_orvelka.h"
#include "host/err_object.h"
#include "zere_orvelka/message_service.h"

namespace orv::editor {

LogErrorRoutine::LogErrorRoutine(FRMFW_ORVELKA& window, std::string name)
    : window_(window), name_(std::move(name)) {}

bool LogErrorRoutine::Run(const std::function<void()>& statement) {
  while (!aborted_) {
    int32_t answer;
    try {
      statement();
      return true;
    } catch (...) {
      answer = window_.LogError(name_, host::ErrObject::FromCurrentException());
    }
    if (answer == host::kVbRetry) continue;
    if (answer == host::kVbIgnore) return true;
    aborted_ = true;  // abort, and any answer the log class should not give
  }
  return false;
}

}  // namespace orv::editor
