#ifndef ZERE_ORVELKA_LAYOUT_MODEL_H_
#define ZERE_ORVELKA_LAYOUT_MODEL_H_

#include <memory>
#include <string_view>

namespace orv::host {

class HostForm;

// The navigator's layout model. The entry class registers the editor window
// with it when the navigator raises InitializeLayoutObjectModel.
class LayoutModel {
 public:
  virtual ~LayoutModel() = default;
  // Registers `window` under `caption` ("Gestione Autorizzazioni"). May hand
  // back another window reference, which the module keeps from then on; a
  // null result keeps nothing.
  virtual std::shared_ptr<HostForm> Register(std::string_view caption,
                                             std::shared_ptr<HostForm> window) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_LAYOUT_MODEL_H_
