#ifndef ORV_SESSION_SESSION_OUTPUT_H_
#define ORV_SESSION_SESSION_OUTPUT_H_

#include <functional>
#include <string>
#include <string_view>

namespace orv::session {

// Where a headless session writes what a user would see, one line at a
// time (without the line feed). Empty: nothing is written.
using SessionOutput = std::function<void(std::string_view line)>;

// A text on one line: line feeds as "\n", carriage returns as "\r", tabs as
// "\t", backslashes doubled.
std::string OneLine(std::string_view text);

}  // namespace orv::session

#endif  // ORV_SESSION_SESSION_OUTPUT_H_
