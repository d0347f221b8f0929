#include "editor/log_error_routine.h"

#include <utility>

#include "db/connection.h"
#include "editor/frmfw_orvelka.h"
#include "editor/section_context.h"
#include "host/deferred_error.h"
#include "host/err_object.h"
#include "zere_orvelka/message_service.h"

namespace orv::editor {

LogErrorRoutine::LogErrorRoutine(FRMFW_ORVELKA& window, std::string name)
    : window_(window), name_(std::move(name)) {}

LogErrorRoutine::LogErrorRoutine(const SectionContext& context, std::string name)
    : LogErrorRoutine(*context.window_, std::move(name)) {}

bool LogErrorRoutine::InTransaction() const {
  const auto& connection = window_.connection();
  return connection && connection->InTransaction();
}

bool LogErrorRoutine::AskAgain(const std::string& routine, const std::exception_ptr& error) {
  const int32_t answer = window_.LogError(routine, host::ErrObject::FromException(error));
  if (answer == host::kVbRetry) return true;
  if (answer != host::kVbIgnore) aborted_ = true;  // abort, and any answer it should not give
  return false;
}

bool LogErrorRoutine::Run(const std::function<void()>& statement) {
  while (!aborted_) {
    std::string routine = name_;
    std::exception_ptr error;
    try {
      statement();
      return true;
    } catch (const host::DeferredError& deferred) {
      if (InTransaction()) throw;
      routine = deferred.routine();
      error = deferred.original();
    } catch (...) {
      if (InTransaction()) throw host::DeferredError(name_, std::current_exception());
      error = std::current_exception();
    }
    if (!AskAgain(routine, error)) return !aborted_;
  }
  return false;
}

bool LogErrorRoutine::RunGesture(const std::function<void()>& gesture) {
  while (!aborted_) {
    try {
      gesture();
      return true;
    } catch (const host::DeferredError& deferred) {
      if (InTransaction()) throw;
      if (!AskAgain(deferred.routine(), deferred.original())) return false;
    }
  }
  return false;
}

}  // namespace orv::editor
