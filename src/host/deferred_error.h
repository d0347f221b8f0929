#ifndef ORV_HOST_DEFERRED_ERROR_H_
#define ORV_HOST_DEFERRED_ERROR_H_

#include <exception>
#include <string>
#include <utility>

namespace orv::host {

// An error a reporting routine met inside an open transaction and did not
// report there: no message box may wait while a transaction holds its locks.
// It travels up to the code that owns the transaction, which reports it for
// `routine` once the transaction has rolled back. ErrObject reads it as the
// error it carries.
class DeferredError : public std::exception {
 public:
  DeferredError(std::string routine, std::exception_ptr original)
      : routine_(std::move(routine)), original_(std::move(original)) {}

  const char* what() const noexcept override { return "deferred error"; }
  const std::string& routine() const { return routine_; }
  const std::exception_ptr& original() const { return original_; }

 private:
  std::string routine_;
  std::exception_ptr original_;
};

}  // namespace orv::host

#endif  // ORV_HOST_DEFERRED_ERROR_H_
