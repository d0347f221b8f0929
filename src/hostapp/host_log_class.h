#ifndef ORV_HOSTAPP_HOST_LOG_CLASS_H_
#define ORV_HOSTAPP_HOST_LOG_CLASS_H_

#include <string>
#include <vector>

#include "zere_orvelka/log_class.h"
#include "zere_orvelka/message_service.h"

namespace orv::hostapp {

// The log class of one editor window: collects the trapped error and the
// connection's messages, then asks the user through the host's message
// service (abort / retry / ignore) and answers 3, 4 or 5.
class HostLogClass : public host::LogClass {
 public:
  explicit HostLogClass(host::MessageService& messages) : messages_(messages) {}

  void TakeError(const host::HostError& error) override;
  void TakeConnectionErrors(const std::vector<host::HostError>& errors) override;
  int32_t Show(std::string_view application_title, std::string_view caption,
               std::string_view routine_name, int32_t buttons) override;

  // The text of the last box shown.
  const std::string& last_text() const { return last_text_; }

 private:
  host::MessageService& messages_;
  std::vector<host::HostError> errors_;
  std::string last_text_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HOST_LOG_CLASS_H_
