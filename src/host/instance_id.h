#ifndef ORV_HOST_INSTANCE_ID_H_
#define ORV_HOST_INSTANCE_ID_H_

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orv::host {

// A GUID in its binary parts.
struct Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  std::array<uint8_t, 8> data4{};
};

// The platform's GUID generator (libuuid by default); tests replace it to
// make generation fail. Returns nothing on failure.
using GuidSource = std::function<std::optional<Guid>()>;
GuidSource SetGuidSource(GuidSource source);  // empty restores libuuid

// A new GUID as 32 upper-case hexadecimal digits: data1 padded to 8 digits,
// data2 and data3 to 4, then the 8 bytes of data4 as 2 digits each. "" when
// the generator fails.
std::string NewGuidString();

// The identifier of one object: made by NewGuidString the first time it is
// asked for, then kept; asked again while it is still "" (generation failed).
class InstanceId {
 public:
  const std::string& Get();

 private:
  std::string id_;
};

}  // namespace orv::host

#endif  // ORV_HOST_INSTANCE_ID_H_
