#include "host/trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

namespace orv::host {
namespace {

std::mutex& SinkMutex() {
  static std::mutex mutex;
  return mutex;
}

TraceSink& CurrentSink() {
  static TraceSink sink;
  return sink;
}

void DefaultSink(std::string_view line) {
  const char* flag = std::getenv("ORVELKA_TRACE");
  if (flag == nullptr || std::strcmp(flag, "1") != 0) return;
  std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

}  // namespace

TraceSink SetTraceSink(TraceSink sink) {
  std::lock_guard lock(SinkMutex());
  return std::exchange(CurrentSink(), std::move(sink));
}

std::string TraceLine(std::string_view instance_id, std::string_view event,
                      std::string_view object_name) {
  std::string line = "CVGE:";
  line += "|";
  line += instance_id;
  line += "|";
  line += event;
  line += "|";
  line += "ZERE_ORVELKA";
  line += "|";
  line += object_name;
  return line;
}

void WriteTrace(std::string_view line) {
  TraceSink sink;
  {
    std::lock_guard lock(SinkMutex());
    sink = CurrentSink();
  }
  try {
    if (sink) {
      sink(line);
    } else {
      DefaultSink(line);
    }
  } catch (...) {
    // A trace line is never worth an error in the host.
  }
}

void TraceEvent(std::string_view instance_id, std::string_view event,
                std::string_view object_name) {
  WriteTrace(TraceLine(instance_id, event, object_name));
}

}  // namespace orv::host
