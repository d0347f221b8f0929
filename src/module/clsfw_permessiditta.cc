#include "module/clsfw_permessiditta.h"

#include "host/trace.h"

namespace orv::host {

CLSFW_PERMESSIDITTA::CLSFW_PERMESSIDITTA() {
  TraceEvent(instance_id_.Get(), "INI", "CLSFW_PERMESSIDITTA");
}

CLSFW_PERMESSIDITTA::~CLSFW_PERMESSIDITTA() {
  TraceEvent(instance_id_.Get(), "TER", "CLSFW_PERMESSIDITTA");
}

std::optional<CLSFW_PERMESSIDITTA::Flag> CLSFW_PERMESSIDITTA::FlagByName(std::string_view name) {
  for (int i = 0; i < kFlagCount; ++i) {
    if (kFlagNames[i] == name) return static_cast<Flag>(i);
  }
  return std::nullopt;
}

std::optional<CLSFW_PERMESSIDITTA::Flag> CLSFW_PERMESSIDITTA::FlagByDispatchId(int32_t id) {
  if (id < kFirstDispatchId || id >= kFirstDispatchId + kFlagCount) return std::nullopt;
  return static_cast<Flag>(id - kFirstDispatchId);
}

}  // namespace orv::host
