#ifndef ORV_HOSTAPP_QT_MDI_CONTAINER_H_
#define ORV_HOSTAPP_QT_MDI_CONTAINER_H_

#include <cstdint>
#include <functional>
#include <optional>

#include "zere_orvelka/mdi_container.h"

namespace orv::hostapp {

// The MDI container: the window asks it to place itself (twips); the host's
// main window follows through the place handler.
class QtMdiContainer : public host::MdiContainer {
 public:
  struct Placement {
    int32_t left, top, width, height;
  };
  using PlaceHandler = std::function<void(const Placement&)>;

  void SetPlaceHandler(PlaceHandler handler) { handler_ = std::move(handler); }
  void Place(int32_t left, int32_t top, int32_t width, int32_t height) override {
    placement_ = Placement{left, top, width, height};
    if (handler_) handler_(*placement_);
  }
  const std::optional<Placement>& placement() const { return placement_; }

 private:
  PlaceHandler handler_;
  std::optional<Placement> placement_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_MDI_CONTAINER_H_
