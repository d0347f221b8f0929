#include "host/instance_id.h"

#include <uuid/uuid.h>

#include <cstdio>
#include <mutex>
#include <utility>

namespace orv::host {
namespace {

std::mutex& SourceMutex() {
  static std::mutex mutex;
  return mutex;
}

GuidSource& CurrentSource() {
  static GuidSource source;
  return source;
}

std::optional<Guid> LibuuidGuid() {
  uuid_t raw;
  uuid_generate(raw);
  // libuuid gives the 16 bytes in network order, which is the textual order.
  Guid guid;
  guid.data1 = (uint32_t{raw[0]} << 24) | (uint32_t{raw[1]} << 16) | (uint32_t{raw[2]} << 8) |
               uint32_t{raw[3]};
  guid.data2 = static_cast<uint16_t>((raw[4] << 8) | raw[5]);
  guid.data3 = static_cast<uint16_t>((raw[6] << 8) | raw[7]);
  for (int i = 0; i < 8; ++i) guid.data4[i] = raw[8 + i];
  return guid;
}

}  // namespace

GuidSource SetGuidSource(GuidSource source) {
  std::lock_guard lock(SourceMutex());
  return std::exchange(CurrentSource(), std::move(source));
}

std::string NewGuidString() {
  GuidSource source;
  {
    std::lock_guard lock(SourceMutex());
    source = CurrentSource();
  }
  std::optional<Guid> guid;
  try {
    guid = source ? source() : LibuuidGuid();
  } catch (...) {
    guid.reset();
  }
  if (!guid) return {};
  char text[33];
  std::snprintf(text, sizeof text, "%08X%04X%04X", guid->data1, guid->data2, guid->data3);
  for (int i = 0; i < 8; ++i) std::snprintf(text + 16 + 2 * i, 3, "%02X", guid->data4[i]);
  return std::string(text, 32);
}

const std::string& InstanceId::Get() {
  if (id_.empty()) id_ = NewGuidString();
  return id_;
}

}  // namespace orv::host
