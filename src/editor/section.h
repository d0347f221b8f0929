#ifndef ORV_EDITOR_SECTION_H_
#define ORV_EDITOR_SECTION_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/value.h"
#include "editor/revocation_set.h"
#include "editor/section_context.h"
#include "host/tree_row_reader.h"
#include "zere_orvelka/lookup_object.h"
#include "zere_orvelka/principal_node.h"
#include "zere_orvelka/tree_grid.h"

namespace orv::editor {

// A revocation section (or the bulk operations) as the window reaches it.
//
// Each section owns the section codes it was added with; the side-bar choice
// makes the owner of its code the active section and the window calls the
// active section's hooks directly. The hooks of a control several codes
// share go to that control's owner: the grid layouts and clicks of
// GRIDTIPOLOGIE to the parameter sections, of GRID_DEPOSITO to the
// transfers, the events of TGRID_CLIFOR to the families while they are
// chosen and to the customers/suppliers otherwise; the copy tree's hooks to
// the copy section. A button the active section does not handle (returns
// false) is offered to the toolbar sections (bulk, copy). Hooks run inside
// the window's routine that calls them, so errors a section lets escape are
// trapped and reported as that routine reports them; most sections trap and
// report their own errors with the names their routines carry.
//
// A section reaches its window only through its SectionContext. The window
// owns its sections and destroys them before it goes away.
class Section {
 public:
  explicit Section(SectionContext context) : context_(context) {}
  virtual ~Section() = default;
  Section(const Section&) = delete;
  Section& operator=(const Section&) = delete;

  virtual std::string_view Name() const = 0;

  // Start-up, after the user/group tree: the copy tree (copy panel).
  virtual bool InitCopyTree() { return false; }

  // --- side bar and principal selection
  // The grid layout of a side-bar choice (layouts 0, 2, 6 on GRIDTIPOLOGIE,
  // 9 on GRID_DEPOSITO).
  virtual bool InitGrid(int32_t /*layout*/, std::string_view /*item_key*/) { return false; }
  // The catalogue of the current section: after a side-bar choice, on
  // CMD_UPDATE, on a principal change while frame 3 shows a loaded
  // catalogue, after bulk operations. Section 32 loads the warehouse matrix.
  virtual bool LoadData() { return false; }
  // Customer/supplier classification trees (frame 5, section 24).
  virtual bool LoadTreeCausali() { return false; }
  // Article families (frame 5, section 31).
  virtual bool InitTreeFamiglie() { return false; }
  // The query control for sections 8 and 33.
  virtual bool InitEnquery() { return false; }
  // The warehouse-transfer revocations of the principal (frame 6).
  virtual bool LoadRevokeDepositi() { return false; }
  // The copy tree's node-click handling (item "ITM154" and a pick in the
  // copy tree); `node` is null when nothing is selected.
  virtual bool CopyTreeNodeClick(const host::PrincipalNode* /*node*/) { return false; }
  // SelectFrame showed a frame other than 4: reset the copy selection.
  virtual bool ResetCopySelection() { return false; }

  // --- gestures
  // A button of a section's toolbar or panel, by control name.
  virtual bool ButtonClick(std::string_view /*name*/) { return false; }
  // A check-box click in GRIDTIPOLOGIE or GRID_DEPOSITO (`grid` is the
  // control's name). The grid made the row current in its recordset.
  virtual bool GridSelectionBoxClick(std::string_view /*grid*/, std::string_view /*row_key*/,
                                     std::string_view /*column_key*/,
                                     const db::Value& /*value_before*/, bool& /*cancel*/) {
    return false;
  }
  virtual bool GridHeaderCheckBoxClick(std::string_view /*grid*/, std::string_view /*column_key*/,
                                       bool /*new_state*/, bool& /*cancel*/) {
    return false;
  }
  // The three events of TGRID_CLIFOR.
  virtual bool TreeBeforeCheck(bool& /*cancel*/) { return false; }
  virtual bool TreeCheckChange(std::string_view /*column_key*/, std::string_view /*new_value*/) {
    return false;
  }
  virtual bool TreeColumnSubstitution(const host::TreeRowReader& /*row*/,
                                      int32_t& /*column_index*/) {
    return false;
  }
  // The query control's lookups.
  virtual bool QueryLookupDefinition(std::string_view /*caption*/,
                                     host::LookupDefinition& /*out*/) {
    return false;
  }
  virtual bool QueryFieldValue(std::string_view /*caption*/, std::string_view /*bound*/,
                               std::string_view /*value*/, std::string& /*out*/) {
    return false;
  }

  // --- the toolbar's "Abilita tutti" and "Disabilita tutti", asked of the
  // active section
  // This section's revocations of `principal` as "Abilita tutti" removes
  // them; null when the button does nothing here.
  virtual std::optional<RevocationSet> EnableAllSet(const store::Principal& /*principal*/) {
    return std::nullopt;
  }
  // True when "Disabilita tutti" of the parameter grid (VRX_DISABILITATUTTI)
  // revokes this section's rows.
  virtual bool RevokesGridRows() const { return false; }

  // The window is unloading (after its temporary table was dropped).
  virtual void Unload() {}

 protected:
  SectionContext& context() { return context_; }

 private:
  SectionContext context_;
};

}  // namespace orv::editor

#endif  // ORV_EDITOR_SECTION_H_
