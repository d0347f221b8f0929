#include "hostapp/qt_resize_control.h"

#include <algorithm>
#include <vector>

namespace orv::hostapp {

void QtResizeControl::Start(host::ResizeClient& client) {
  client_ = &client;
  registrations_.clear();
  client.RegisterControls(*this);
  started_ = client.AcceptResize();
  last_size_.reset();
  if (editor::FRMFW_ORVELKA* window = link_->Get()) {
    last_size_ = {window->form().width(), window->form().height()};
  }
}

void QtResizeControl::Stop() {
  started_ = false;
  client_ = nullptr;
}

void QtResizeControl::Register(std::string_view control_name, int32_t anchoring) {
  registrations_[std::string(control_name)] = anchoring;
}

QtResizeControl::Box QtResizeControl::Apply(Box box, int32_t anchoring, int32_t dx, int32_t dy) {
  const bool left = anchoring & kLeft;
  const bool right = anchoring & kRight;
  const bool top = anchoring & kTop;
  const bool bottom = anchoring & kBottom;
  // A pane that follows the top and the bottom keeps its horizontal place
  // unless it follows both sides: panes side by side (the user pane between
  // the side bar and the sections) would otherwise slide over each other.
  const bool pane = top && bottom;
  if (left && right) {
    box.width = std::max(0, box.width + dx);
  } else if (right && !pane) {
    box.left += dx;
  }
  if (top && bottom) {
    box.height = std::max(0, box.height + dy);
  } else if (bottom) {
    box.top += dy;
  }
  return box;
}

int32_t QtResizeControl::MoveSplit(int32_t dx) {
  editor::FRMFW_ORVELKA* window = link_->Get();
  if (!started_ || window == nullptr) return 0;
  editor::Control* pane = window->FindControl("PCB_UTENTI");
  editor::Control* sections = window->FindControl("VRX_FRM(3)");
  if (pane == nullptr || sections == nullptr) return 0;
  dx = std::clamp(dx, kMinPane - pane->width(), sections->width() - kMinSections);
  if (dx == 0) return 0;
  const int32_t pane_right = pane->left() + pane->width();
  std::vector<editor::Control*> right;
  for (editor::Control* c : window->controls()) {
    if (c->container().empty() && c->type() != "Form" && c->left() >= pane_right) {
      right.push_back(c);
    }
  }
  pane->SetWidth(pane->width() + dx);
  for (editor::Control* c : window->controls()) {
    if (c->container() == pane->name()) c->SetWidth(c->width() + dx);
  }
  for (editor::Control* c : right) {
    c->SetLeft(c->left() + dx);
    // The progress box keeps its size; the title and the frames give room.
    if (c->name() != "VRX_PROGRESS") c->SetWidth(std::max(0, c->width() - dx));
  }
  // Inside the sections everything follows a narrower frame as it follows
  // a narrower window.
  for (const auto& [name, anchoring] : registrations_) {
    editor::Control* c = window->FindControl(name);
    if (c == nullptr || c->container().empty() || c->container() == pane->name()) continue;
    const Box box = Apply({c->left(), c->top(), c->width(), c->height()}, anchoring, -dx, 0);
    c->SetLeft(box.left);
    c->SetWidth(box.width);
  }
  split_ += dx;
  return dx;
}

void QtResizeControl::WindowResized(int32_t width, int32_t height) {
  if (!started_) return;
  editor::FRMFW_ORVELKA* window = link_->Get();
  if (window == nullptr) return;
  if (!last_size_) {
    last_size_ = {width, height};
    return;
  }
  const int32_t dx = width - last_size_->first;
  const int32_t dy = height - last_size_->second;
  last_size_ = {width, height};
  if (dx == 0 && dy == 0) return;
  for (const auto& [name, anchoring] : registrations_) {
    editor::Control* control = window->FindControl(name);
    if (control == nullptr) continue;
    const Box box = Apply({control->left(), control->top(), control->width(), control->height()},
                          anchoring, dx, dy);
    control->SetLeft(box.left);
    control->SetTop(box.top);
    control->SetWidth(box.width);
    control->SetHeight(box.height);
  }
}

}  // namespace orv::hostapp
