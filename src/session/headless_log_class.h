#ifndef ORV_SESSION_HEADLESS_LOG_CLASS_H_
#define ORV_SESSION_HEADLESS_LOG_CLASS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "session/answer_queue.h"
#include "session/session_output.h"
#include "zere_orvelka/log_class.h"

namespace orv::session {

// One error a LogError routine handed to the log class.
struct LoggedError {
  std::string routine;
  host::HostError error;
  std::vector<host::HostError> connection_errors;
  int32_t answer = 0;
  int32_t buttons = 0;  // as LogError asked: 4370 with retry, 4112 without
};

// The log class of the headless host: records each error, writes
// "ERR <routine>\t<number>\t<description>" and answers abort (3), retry (4)
// or ignore (5) from the answer queue (abort when nothing is queued).
class HeadlessLogClass : public host::LogClass {
 public:
  HeadlessLogClass(AnswerQueue& answers, SessionOutput& output, std::vector<LoggedError>& errors)
      : answers_(answers), output_(output), errors_(errors) {}

  void TakeError(const host::HostError& error) override;
  void TakeConnectionErrors(const std::vector<host::HostError>& errors) override;
  int32_t Show(std::string_view application_title, std::string_view caption,
               std::string_view routine_name, int32_t buttons) override;

 private:
  AnswerQueue& answers_;
  SessionOutput& output_;
  std::vector<LoggedError>& errors_;
  LoggedError pending_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_HEADLESS_LOG_CLASS_H_
