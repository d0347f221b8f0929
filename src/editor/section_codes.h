#ifndef ORV_EDITOR_SECTION_CODES_H_
#define ORV_EDITOR_SECTION_CODES_H_

#include <cstdint>

namespace orv::editor {

// The section codes the side bar sets (also the FW31_INDTIPO of the
// parameter sections) and the frames of VRX_FRM that show them.
struct SectionCodes {
  static constexpr int32_t kSectionWarehouses = 6;
  static constexpr int32_t kSectionProjects = 8;
  static constexpr int32_t kSectionMrpSimulations = 15;
  static constexpr int32_t kSectionCopy = 22;
  static constexpr int32_t kSectionCliFor = 24;
  static constexpr int32_t kSectionBlocking = 30;
  static constexpr int32_t kSectionFamilies = 31;
  static constexpr int32_t kSectionTransfers = 32;
  static constexpr int32_t kSectionNodes = 33;

  static constexpr int16_t kFrameParameters = 3;
  static constexpr int16_t kFrameCopy = 4;
  static constexpr int16_t kFrameTrees = 5;
  static constexpr int16_t kFrameTransfers = 6;
};

}  // namespace orv::editor

#endif  // ORV_EDITOR_SECTION_CODES_H_
