#ifndef ORV_HOSTAPP_QT_RESIZE_CONTROL_H_
#define ORV_HOSTAPP_QT_RESIZE_CONTROL_H_

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "host/resize_control.h"
#include "hostapp/window_link.h"

namespace orv::hostapp {

// The resize control of the desktop host. Anchoring codes add up the sides
// of the window a control follows: 1 top, 2 left, 4 right, 8 bottom. A
// control that follows both opposite sides stretches with the window; one
// that follows only the right (or bottom) side moves with it; otherwise it
// stays. Each size change moves the registered controls by the change since
// the previous size, so positions the window set in between (pane
// arrangement) are kept. A control that follows the top and the bottom but
// not both the left and the right (a pane) stays where it is across, so that
// panes side by side never cover each other.
class QtResizeControl : public host::ResizeControl {
 public:
  static constexpr int32_t kTop = 1;
  static constexpr int32_t kLeft = 2;
  static constexpr int32_t kRight = 4;
  static constexpr int32_t kBottom = 8;

  explicit QtResizeControl(std::shared_ptr<WindowLink> link) : link_(std::move(link)) {}

  void Start(host::ResizeClient& client) override;
  void Stop() override;
  void Register(std::string_view control_name, int32_t anchoring) override;
  void WindowResized(int32_t width, int32_t height) override;

  bool started() const { return started_; }
  const std::map<std::string, int32_t>& registrations() const { return registrations_; }
  // The new left/top/width/height of a control after the window grew by
  // (dx, dy), for one anchoring code.
  struct Box {
    int32_t left, top, width, height;
  };
  static Box Apply(Box box, int32_t anchoring, int32_t dx, int32_t dy);

  // The splitter between the user/group pane and the sections: widens the
  // pane by `dx` twips (narrows it when negative) and narrows the sections
  // by as much, their contents following as on a window resize. Kept
  // within sensible widths of both; returns the shift applied.
  int32_t MoveSplit(int32_t dx);
  // The pane's shift since the window opened.
  int32_t split() const { return split_; }
  static constexpr int32_t kMinPane = 1800;      // twips
  static constexpr int32_t kMinSections = 9000;  // twips

 private:
  std::shared_ptr<WindowLink> link_;
  host::ResizeClient* client_ = nullptr;
  bool started_ = false;
  std::map<std::string, int32_t> registrations_;
  std::optional<std::pair<int32_t, int32_t>> last_size_;
  int32_t split_ = 0;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_RESIZE_CONTROL_H_
