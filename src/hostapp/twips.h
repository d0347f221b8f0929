#ifndef ORV_HOSTAPP_TWIPS_H_
#define ORV_HOSTAPP_TWIPS_H_

#include <cmath>
#include <cstdint>

namespace orv::hostapp {

// The window lays itself out in twips (1440 to the logical inch); widgets
// use pixels at the screen's logical resolution.
inline int TwipsToPixels(int32_t twips, double dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

inline int32_t PixelsToTwips(int pixels, double dpi) {
  return static_cast<int32_t>(std::lround(static_cast<double>(pixels) * 1440.0 / dpi));
}

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_TWIPS_H_
