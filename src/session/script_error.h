#ifndef ORV_SESSION_SCRIPT_ERROR_H_
#define ORV_SESSION_SCRIPT_ERROR_H_

#include <stdexcept>
#include <string>

namespace orv::session {

// A line the session language does not allow; the text says what was
// expected ("expected sidebar KEY").
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace orv::session

#endif  // ORV_SESSION_SCRIPT_ERROR_H_
