#ifndef ZERE_ORVELKA_MDI_CONTAINER_H_
#define ZERE_ORVELKA_MDI_CONTAINER_H_

#include <cstdint>

namespace orv::host {

// The host's MDI container (MdiHost1). The host calls the window's
// MdiHost1_FormLoad when the container has loaded the window; the window
// then asks it to place itself.
class MdiContainer {
 public:
  virtual ~MdiContainer() = default;
  virtual void Place(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_MDI_CONTAINER_H_
