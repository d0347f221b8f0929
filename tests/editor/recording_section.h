#ifndef ORV_TESTS_EDITOR_RECORDING_SECTION_H_
#define ORV_TESTS_EDITOR_RECORDING_SECTION_H_

#include <string>
#include <vector>

#include "editor/frmfw_orvelka.h"
#include "editor/section.h"

namespace orv::testing {

// A section that handles every hook and writes each call, with the window's
// section code and frame at that moment, into `calls`.
class RecordingSection : public editor::Section {
 public:
  explicit RecordingSection(editor::FRMFW_ORVELKA& window, std::vector<std::string>& calls)
      : Section(window), calls_(calls) {}

  std::string_view Name() const override { return "recording"; }

  bool InitCopyTree() override { return Record("InitCopyTree"); }
  bool InitGrid(int32_t layout, std::string_view key) override {
    return Record("InitGrid(" + std::to_string(layout) + "," + std::string(key) + ")");
  }
  bool LoadData() override { return Record("LoadData"); }
  bool LoadTreeCausali() override { return Record("LoadTreeCausali"); }
  bool InitTreeFamiglie() override { return Record("InitTreeFamiglie"); }
  bool InitEnquery() override { return Record("InitEnquery"); }
  bool LoadRevokeDepositi() override { return Record("LoadRevokeDepositi"); }
  bool CopyTreeNodeClick(const store::PrincipalNode* node) override {
    return Record(std::string("CopyTreeNodeClick(") + (node ? node->name : "none") + ")");
  }
  bool ResetCopySelection() override { return Record("ResetCopySelection"); }
  bool ButtonClick(std::string_view name) override {
    return Record("ButtonClick(" + std::string(name) + ")");
  }

 private:
  bool Record(const std::string& call) {
    calls_.push_back(call + "@" + std::to_string(window().section_code()) + "/" +
                     std::to_string(window().frame_index()));
    return true;
  }
  std::vector<std::string>& calls_;
};

}  // namespace orv::testing

#endif  // ORV_TESTS_EDITOR_RECORDING_SECTION_H_
