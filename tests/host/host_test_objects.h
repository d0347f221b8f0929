#ifndef ORV_TESTS_HOST_HOST_TEST_OBJECTS_H_
#define ORV_TESTS_HOST_HOST_TEST_OBJECTS_H_

// Small host objects for the entry-class tests: each reports its release
// into a shared journal, so the order of DestroyClass can be read back.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/fallback_message_box.h"
#include "host/trace.h"
#include "zere_orvelka/cls_voce_menu.h"
#include "zere_orvelka/host_frame.h"
#include "zere_orvelka/host_object.h"

namespace orv::testing {

using Journal = std::vector<std::string>;

// A shared_ptr to `object` whose release is written into `journal`.
template <typename T>
std::shared_ptr<T> Journaled(std::shared_ptr<T> object, std::shared_ptr<Journal> journal,
                             std::string name) {
  T* raw = object.get();
  return std::shared_ptr<T>(raw, [object, journal, name](T*) mutable {
    journal->push_back(name);
    object.reset();
  });
}

class TestFrame : public host::HostFrame {
 public:
  int16_t Status() const override { return 7; }
};

class TestMenu : public host::ClsVoceMenu {
 public:
  void ModuleClosed() override { ++closed; }
  int closed = 0;
};

// Captures trace lines and fallback message boxes for one test.
class CapturedHostOutput {
 public:
  CapturedHostOutput() {
    host::SetTraceSink([this](std::string_view line) { traces.emplace_back(line); });
    host::SetFallbackMessageBox(
        [this](std::string_view prompt, int32_t buttons, std::string_view title) {
          boxes.push_back({std::string(prompt), buttons, std::string(title)});
          return host::SafeDefaultAnswer(buttons);
        });
  }
  ~CapturedHostOutput() {
    host::SetTraceSink({});
    host::SetFallbackMessageBox({});
  }

  struct Box {
    std::string prompt;
    int32_t buttons;
    std::string title;
  };
  std::vector<std::string> traces;
  std::vector<Box> boxes;
};

}  // namespace orv::testing

#endif  // ORV_TESTS_HOST_HOST_TEST_OBJECTS_H_
