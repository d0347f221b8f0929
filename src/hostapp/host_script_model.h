#ifndef ORV_HOSTAPP_HOST_SCRIPT_MODEL_H_
#define ORV_HOSTAPP_HOST_SCRIPT_MODEL_H_

#include <memory>
#include <string>
#include <vector>

#include "zere_orvelka/layout_model.h"
#include "zere_orvelka/script_model.h"

namespace orv::hostapp {

// The navigator's layout and script models of the desktop host. The host
// has no user scripts: it records what the module registers and the form
// events it runs (shown in the change-log viewer's status line and read by
// tests), and refuses a close only when told to.
class HostScriptModel : public host::ScriptModel, public host::LayoutModel {
 public:
  // ScriptModel
  std::shared_ptr<host::HostForm> Register(std::string_view form_name,
                                           std::shared_ptr<host::HostForm> window,
                                           std::string_view caption) override;
  void RunFormEvent(std::string_view form_name, int32_t reserved, int32_t opening,
                    std::string_view text) override;
  bool RefuseClose(std::string_view form_name) override;
  void FormClosed(std::string_view form_name) override;
  // LayoutModel
  std::shared_ptr<host::HostForm> Register(std::string_view caption,
                                           std::shared_ptr<host::HostForm> window) override;

  void SetRefuseClose(bool value) { refuse_close_ = value; }
  // "open FRMFW_ORVELKA", "close FRMFW_ORVELKA", "closed FRMFW_ORVELKA",
  // "register ...", in order.
  const std::vector<std::string>& events() const { return events_; }

 private:
  bool refuse_close_ = false;
  std::vector<std::string> events_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HOST_SCRIPT_MODEL_H_
