#ifndef ORV_HOSTAPP_QT_MESSAGE_SERVICE_H_
#define ORV_HOSTAPP_QT_MESSAGE_SERVICE_H_

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "zere_orvelka/message_service.h"

class QWidget;

namespace orv::hostapp {

// The host's message service: a QMessageBox with the buttons, icon and
// default button the code asks for, answering with the host's result codes
// (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
//
// Tests and unattended runs answer boxes without showing them: a preset
// answer is used by the next box; with no preset answer and answering
// unattended, each box takes the answer that changes nothing and is written
// to standard error.
class QtMessageService : public host::MessageService {
 public:
  struct Shown {
    std::string prompt;
    int32_t buttons = 0;
    std::string title;
    int32_t answer = 0;
  };

  int32_t Show(std::string_view prompt, int32_t buttons, std::string_view title,
               const host::HostForm* owner) override;

  // The next box is answered with `code` without being shown.
  void PresetAnswer(int32_t code) { presets_.push_back(code); }
  size_t pending_presets() const { return presets_.size(); }
  void SetUnattended(bool value) { unattended_ = value; }
  void SetDefaultTitle(std::string title) { default_title_ = std::move(title); }
  // Every box asked for, in order, with its answer.
  const std::vector<Shown>& shown() const { return shown_; }

  // Shows one box (blocking) and returns the result code.
  static int32_t RunBox(std::string_view prompt, int32_t buttons, std::string_view title,
                        QWidget* parent);

 private:
  std::deque<int32_t> presets_;
  bool unattended_ = false;
  std::string default_title_ = "Orvelka";
  std::vector<Shown> shown_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_MESSAGE_SERVICE_H_
