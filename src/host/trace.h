#ifndef ORV_HOST_TRACE_H_
#define ORV_HOST_TRACE_H_

#include <functional>
#include <string>
#include <string_view>

namespace orv::host {

// Debug trace lines. Every object of the module writes one line when it is
// created ("INI") and one when it is destroyed ("TER"):
//   "CVGE:" + "|" + instance id + "|" + event + "|" + "ZERE_ORVELKA" + "|" + object
//
// Lines go to a pluggable sink. The default sink writes the line and a line
// feed to stderr when the environment variable ORVELKA_TRACE is "1" at the
// time of the write, and drops it otherwise. The sink is called on the
// thread that writes the line; a sink must not throw (a throwing sink is
// caught and ignored).
using TraceSink = std::function<void(std::string_view line)>;

// Replaces the sink; an empty function restores the default. Returns the
// previous sink (empty when it was the default).
TraceSink SetTraceSink(TraceSink sink);

// The line of one object event.
std::string TraceLine(std::string_view instance_id, std::string_view event,
                      std::string_view object_name);

// Writes a line through the current sink.
void WriteTrace(std::string_view line);

// Writes TraceLine(...) through the current sink.
void TraceEvent(std::string_view instance_id, std::string_view event, std::string_view object_name);

}  // namespace orv::host

#endif  // ORV_HOST_TRACE_H_
