#include "editor/control.h"

#include <utility>

namespace orv::editor {

Control::Control(std::string name, std::string type, std::string container, int32_t left,
                 int32_t top, int32_t width, int32_t height, std::string caption, bool visible)
    : name_(std::move(name)),
      type_(std::move(type)),
      container_(std::move(container)),
      visible_(visible),
      left_(left),
      top_(top),
      width_(width),
      height_(height),
      caption_(std::move(caption)) {}

namespace {
template <typename T, typename U>
bool Assign(T& field, U&& value) {
  if (field == value) return false;
  field = std::forward<U>(value);
  return true;
}
}  // namespace

bool Control::SetVisible(bool value) {
  if (!Assign(visible_, value)) return false;
  Notify(Property::kVisible);
  return true;
}

bool Control::SetEnabled(bool value) {
  if (!Assign(enabled_, value)) return false;
  Notify(Property::kEnabled);
  return true;
}

bool Control::SetLeft(int32_t value) {
  if (!Assign(left_, value)) return false;
  Notify(Property::kLeft);
  return true;
}

bool Control::SetTop(int32_t value) {
  if (!Assign(top_, value)) return false;
  Notify(Property::kTop);
  return true;
}

bool Control::SetWidth(int32_t value) {
  if (!Assign(width_, value)) return false;
  Notify(Property::kWidth);
  return true;
}

bool Control::SetHeight(int32_t value) {
  if (!Assign(height_, value)) return false;
  Notify(Property::kHeight);
  return true;
}

bool Control::SetCaption(std::string_view value) {
  if (caption_ == value) return false;
  caption_ = std::string(value);
  Notify(Property::kCaption);
  return true;
}

bool Control::SetValue(const db::Value& value) {
  if (value_ == value) return false;
  value_ = value;
  Notify(Property::kValue);
  return true;
}

int Control::AddObserver(Observer observer) {
  const int id = next_observer_id_++;
  observers_.emplace_back(id, std::move(observer));
  return id;
}

void Control::RemoveObserver(int id) {
  std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void Control::Notify(Property property) {
  for (const auto& [id, observer] : observers_) observer(*this, property);
}

}  // namespace orv::editor
