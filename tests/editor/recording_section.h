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
      : Section(editor::SectionContext(window, editor::SectionContext::Grid::kNone)),
        window_(window),
        calls_(calls) {}

  // Every code the side bar sets.
  static inline const std::vector<int32_t> kAllCodes = {6, 8, 15, 22, 24, 30, 31, 32, 33};

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
  bool CopyTreeNodeClick(const host::PrincipalNode* node) override {
    return Record(std::string("CopyTreeNodeClick(") + (node ? node->name : "none") + ")");
  }
  bool ResetCopySelection() override { return Record("ResetCopySelection"); }
  bool ButtonClick(std::string_view name) override {
    return Record("ButtonClick(" + std::string(name) + ")");
  }
  bool GridSelectionBoxClick(std::string_view grid, std::string_view row_key, std::string_view,
                             const db::Value&, bool&) override {
    return Record("GridSelectionBoxClick(" + std::string(grid) + "," + std::string(row_key) + ")");
  }
  bool TreeCheckChange(std::string_view column_key, std::string_view) override {
    return Record("TreeCheckChange(" + std::string(column_key) + ")");
  }
  bool QueryLookupDefinition(std::string_view caption, host::LookupDefinition&) override {
    return Record("QueryLookupDefinition(" + std::string(caption) + ")");
  }

 private:
  bool Record(const std::string& call) {
    calls_.push_back(call + "@" + std::to_string(window_.section_code()) + "/" +
                     std::to_string(window_.frame_index()));
    return true;
  }
  editor::FRMFW_ORVELKA& window_;
  std::vector<std::string>& calls_;
};

}  // namespace orv::testing

#endif  // ORV_TESTS_EDITOR_RECORDING_SECTION_H_
