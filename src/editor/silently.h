#ifndef ORV_EDITOR_SILENTLY_H_
#define ORV_EDITOR_SILENTLY_H_

namespace orv::editor {

// A step of a routine whose errors are suppressed: a failing step is
// skipped and the caller goes on with the next one.
template <typename F>
void Silently(F&& step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace orv::editor

#endif  // ORV_EDITOR_SILENTLY_H_
