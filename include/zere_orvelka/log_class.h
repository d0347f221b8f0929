#ifndef ZERE_ORVELKA_LOG_CLASS_H_
#define ZERE_ORVELKA_LOG_CLASS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv::host {

// One error as the module hands it to the host: the trapped error itself or
// one message of the connection's Errors collection. Never carries a
// connection string's password.
struct HostError {
  int64_t number = 0;
  std::string description;
  std::string source;
};

// The host's log class (one per editor window, created on load). For each
// trapped error of a LogError routine the window calls TakeError, then
// TakeConnectionErrors when it has a connection, then Show, which asks the
// user and returns 3 (abort), 4 (retry) or 5 (ignore).
class LogClass {
 public:
  virtual ~LogClass() = default;
  virtual void TakeError(const HostError& error) = 0;
  virtual void TakeConnectionErrors(const std::vector<HostError>& errors) = 0;
  // `buttons` is 4370 (abort/retry/ignore, critical, second button default,
  // system modal).
  virtual int32_t Show(std::string_view application_title, std::string_view caption,
                       std::string_view routine_name, int32_t buttons) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_LOG_CLASS_H_
