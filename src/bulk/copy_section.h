#ifndef ORV_BULK_COPY_SECTION_H_
#define ORV_BULK_COPY_SECTION_H_

#include <optional>
#include <string_view>

#include "editor/section.h"
#include "store/principal.h"

namespace orv::bulk {

// The copy panel (frame 4): replaces the revocations of the principal of the
// main tree (the destination) with those of the principal picked in the copy
// tree (the source), for the families whose boxes are ticked, in every
// company.
//
// Each family is copied as a DELETE of the destination's rows followed by an
// INSERT ... SELECT of the source's rows, the two in one transaction: a
// failure leaves the destination's rows of that family as they were.
class CopySection : public editor::Section {
 public:
  explicit CopySection(editor::SectionContext context) : Section(context) {}

  std::string_view Name() const override { return "copy"; }

  bool InitCopyTree() override;
  bool CopyTreeNodeClick(const host::PrincipalNode* node) override;
  bool ResetCopySelection() override;
  bool ButtonClick(std::string_view name) override;

  // The three "Copia" buttons: the box of the current section ticked, then
  // the panel shown.
  void OpenCopyPanel();
  // Ticks or clears every box of the panel, then inverts the flag.
  void CMD_SELEZIONA_Click();
  // The copy (CMD_OK).
  void DuplicaRevoke();

  // True: the next CMD_SELEZIONA ticks every box.
  bool select_all() const { return select_all_; }

 private:
  // What the copy does once confirmed.
  struct Plan {
    store::Principal destination;
    store::Principal source;
    bool clifor = false;
    bool families = false;
    bool transfers = false;
    bool nodes = false;
    bool warehouses = false;
    bool mrp_simulations = false;
    bool blocking = false;
    bool projects = false;
  };

  // Reads the two principals and the boxes and asks for confirmation;
  // nothing when the copy is refused or not confirmed.
  std::optional<Plan> PrepareCopy();
  bool Ticked(std::string_view box);

  bool select_all_ = false;
};

}  // namespace orv::bulk

#endif  // ORV_BULK_COPY_SECTION_H_
