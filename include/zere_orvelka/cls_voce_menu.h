#ifndef ZERE_ORVELKA_CLS_VOCE_MENU_H_
#define ZERE_ORVELKA_CLS_VOCE_MENU_H_

#include "zere_orvelka/host_object.h"

namespace orv::host {

// The host's menu item that started the module (Cinterface::ClsVoceMenu).
class ClsVoceMenu : public HostObject {
 public:
  // Told once when the editor window unloads.
  virtual void ModuleClosed() = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_CLS_VOCE_MENU_H_
