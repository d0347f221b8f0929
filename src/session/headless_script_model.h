#ifndef ORV_SESSION_HEADLESS_SCRIPT_MODEL_H_
#define ORV_SESSION_HEADLESS_SCRIPT_MODEL_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zere_orvelka/host_form.h"
#include "zere_orvelka/layout_model.h"
#include "zere_orvelka/script_model.h"

namespace orv::session {

// The script and layout models of the headless host: they record what the
// module asks of them; RefuseClose answers `refuse_close`.
class HeadlessScriptModel : public host::ScriptModel, public host::LayoutModel {
 public:
  std::shared_ptr<host::HostForm> Register(std::string_view form_name,
                                           std::shared_ptr<host::HostForm> window,
                                           std::string_view caption) override;
  std::shared_ptr<host::HostForm> Register(std::string_view caption,
                                           std::shared_ptr<host::HostForm> window) override;
  void RunFormEvent(std::string_view form_name, int32_t reserved, int32_t opening,
                    std::string_view text) override;
  bool RefuseClose(std::string_view form_name) override;
  void FormClosed(std::string_view form_name) override;

  bool refuse_close = false;
  // "open FRMFW_ORVELKA", "close FRMFW_ORVELKA", "closed FRMFW_ORVELKA",
  // "register-script FRMFW_ORVELKA", "register-layout ...", "query-close ...".
  std::vector<std::string> events;
  std::weak_ptr<host::HostForm> registered;
};

}  // namespace orv::session

#endif  // ORV_SESSION_HEADLESS_SCRIPT_MODEL_H_
