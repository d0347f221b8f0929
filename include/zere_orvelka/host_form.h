#ifndef ZERE_ORVELKA_HOST_FORM_H_
#define ZERE_ORVELKA_HOST_FORM_H_

#include <string>

#include "zere_orvelka/host_object.h"

namespace orv::host {

// A window as the host's layout and script models know it. The module's
// editor window is one; a model may hand back a window of its own when the
// module registers (Cinterface::Cwindow returns what it keeps).
class HostForm : public HostObject {
 public:
  virtual std::string FormName() const = 0;     // "FRMFW_ORVELKA"
  virtual std::string FormCaption() const = 0;  // the caption shown
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_HOST_FORM_H_
