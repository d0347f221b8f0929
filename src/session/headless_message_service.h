#ifndef ORV_SESSION_HEADLESS_MESSAGE_SERVICE_H_
#define ORV_SESSION_HEADLESS_MESSAGE_SERVICE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "session/answer_queue.h"
#include "session/session_output.h"
#include "zere_orvelka/message_service.h"

namespace orv::session {

// One message box as the user saw it.
struct ShownMessage {
  std::string prompt;
  int32_t buttons = 0;
  std::string title;
  int32_t answer = 0;
};

// Message boxes of the headless host: recorded, written to the output as
// "MSG <buttons>\t<title>\t<prompt>" and answered from the answer queue.
class HeadlessMessageService : public host::MessageService {
 public:
  HeadlessMessageService(AnswerQueue& answers, SessionOutput& output)
      : answers_(answers), output_(output) {}

  int32_t Show(std::string_view prompt, int32_t buttons, std::string_view title,
               const host::HostForm* owner) override;

  const std::vector<ShownMessage>& messages() const { return messages_; }
  void Clear() { messages_.clear(); }

 private:
  AnswerQueue& answers_;
  SessionOutput& output_;
  std::vector<ShownMessage> messages_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_HEADLESS_MESSAGE_SERVICE_H_
