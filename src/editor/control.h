#ifndef ORV_EDITOR_CONTROL_H_
#define ORV_EDITOR_CONTROL_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

namespace orv::editor {

// One of the window's own controls (frame, button, label, check box, text
// box, picture, splitter), or the placement of a host control on the window:
// plain state that a view mirrors into a widget and tests read directly.
// Sizes are in twips. Setting a property to a different value notifies the
// observers (in the order they were added) after the change; setting the
// same value notifies nobody.
class Control {
 public:
  enum class Property { kVisible, kEnabled, kLeft, kTop, kWidth, kHeight, kCaption, kValue };
  using Observer = std::function<void(const Control& control, Property property)>;

  // `type` is the control's type name ("Form", "Frame", "CommandButton",
  // "VRX_CHECKBOX", "CheckBox", "Label", "TextBox", "PictureBox", "Host" for
  // the placement of a host control); `container` the name of the control
  // that holds it ("" for the window itself).
  Control(std::string name, std::string type, std::string container, int32_t left = 0,
          int32_t top = 0, int32_t width = 0, int32_t height = 0, std::string caption = {},
          bool visible = true);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  const std::string& type() const { return type_; }
  const std::string& container() const { return container_; }

  bool visible() const { return visible_; }
  bool enabled() const { return enabled_; }
  int32_t left() const { return left_; }
  int32_t top() const { return top_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  const std::string& caption() const { return caption_; }  // caption or text
  const db::Value& value() const { return value_; }        // check boxes: 0, 1, 2

  // Each returns true when the property changed.
  bool SetVisible(bool value);
  bool SetEnabled(bool value);
  bool SetLeft(int32_t value);
  bool SetTop(int32_t value);
  bool SetWidth(int32_t value);
  bool SetHeight(int32_t value);
  bool SetCaption(std::string_view value);
  bool SetValue(const db::Value& value);

  // Returns an id for RemoveObserver. Observers must not add or remove
  // observers of the same control while being notified.
  int AddObserver(Observer observer);
  void RemoveObserver(int id);

 private:
  void Notify(Property property);

  std::string name_;
  std::string type_;
  std::string container_;
  bool visible_;
  bool enabled_ = true;
  int32_t left_;
  int32_t top_;
  int32_t width_;
  int32_t height_;
  std::string caption_;
  db::Value value_;
  std::vector<std::pair<int, Observer>> observers_;
  int next_observer_id_ = 1;
};

}  // namespace orv::editor

#endif  // ORV_EDITOR_CONTROL_H_
