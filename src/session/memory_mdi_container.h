#ifndef ORV_SESSION_MEMORY_MDI_CONTAINER_H_
#define ORV_SESSION_MEMORY_MDI_CONTAINER_H_

#include <cstdint>

#include "zere_orvelka/mdi_container.h"

namespace orv::session {

// The MDI container of the headless host: records the placement.
class MemoryMdiContainer : public host::MdiContainer {
 public:
  void Place(int32_t l, int32_t t, int32_t w, int32_t h) override {
    left = l;
    top = t;
    width = w;
    height = h;
    ++places;
  }
  int32_t left = 0, top = 0, width = 0, height = 0;
  int places = 0;
};

}  // namespace orv::session

#endif  // ORV_SESSION_MEMORY_MDI_CONTAINER_H_
