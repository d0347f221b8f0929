#ifndef ZERE_ORVELKA_HOST_FRAME_H_
#define ZERE_ORVELKA_HOST_FRAME_H_

#include <cstdint>

#include "zere_orvelka/host_object.h"

namespace orv::host {

// The host's frame object (Cinterface::ActiveFrame). On every activation the
// window passes Status() to the navigator.
class HostFrame : public HostObject {
 public:
  virtual int16_t Status() const = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_HOST_FRAME_H_
