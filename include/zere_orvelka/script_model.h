#ifndef ZERE_ORVELKA_SCRIPT_MODEL_H_
#define ZERE_ORVELKA_SCRIPT_MODEL_H_

#include <cstdint>
#include <memory>
#include <string_view>

namespace orv::host {

class HostForm;

// The navigator's script model: user scripts attached to the host's forms.
class ScriptModel {
 public:
  virtual ~ScriptModel() = default;
  // Registers `window` under its form name with `caption`; may hand back
  // another window reference (kept by the module from then on).
  virtual std::shared_ptr<HostForm> Register(std::string_view form_name,
                                             std::shared_ptr<HostForm> window,
                                             std::string_view caption) = 0;
  // Runs a form event: (form name, 0, 1 on open or 0 on close, "").
  virtual void RunFormEvent(std::string_view form_name, int32_t reserved, int32_t opening,
                            std::string_view text) = 0;
  // Asked when the window is about to close; true refuses the close.
  virtual bool RefuseClose(std::string_view form_name) = 0;
  // Told once when the window has unloaded.
  virtual void FormClosed(std::string_view form_name) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_SCRIPT_MODEL_H_
