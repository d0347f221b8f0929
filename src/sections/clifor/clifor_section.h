#ifndef ORV_SECTIONS_CLIFOR_CLIFOR_SECTION_H_
#define ORV_SECTIONS_CLIFOR_CLIFOR_SECTION_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"
#include "editor/section.h"
#include "host/err_object.h"
#include "journal/row_scope.h"
#include "sections/clifor/clifor_statements.h"

namespace orv::db {
class Recordset;
}
namespace orv::store {
class Principal;
}

namespace orv::sections {

// The customer/supplier section (24): the classification tree of
// FW32_RVKCLIFOR in TGRID_CLIFOR, one check box per branch, each change
// written at once, and the section's disable-all button.
//
// It also owns what both sections of TGRID_CLIFOR share: the before-check
// rule (rows without a kind, the headings, never change) and the question
// of the disable-all button. The article family section (31) handles its
// own saves and its own variant of the button.
class CliForSection : public editor::Section {
 public:
  static constexpr std::string_view kDisableAllButton = "VRX_DISABILITATUTTI_CLIFOR";
  static constexpr std::string_view kDisableAllRoutine = "VRX_DISABILITATUTTI_CLIFOR_ButtonClick";

  explicit CliForSection(editor::SectionContext context) : Section(context) {}

  std::string_view Name() const override { return "clifor"; }

  bool LoadTreeCausali() override;
  bool TreeBeforeCheck(bool& cancel) override;
  bool TreeCheckChange(std::string_view column_key, std::string_view new_value) override;
  bool TreeColumnSubstitution(const host::TreeRowReader& row, int32_t& column_index) override;
  bool ButtonClick(std::string_view name) override;
  std::optional<editor::RevocationSet> EnableAllSet(const store::Principal& principal) override;

  // " (cli)", " (for)" or " (???)".
  static std::string DescrTipoCF(const db::Value& tipocf);
  // A new, open, empty tree rowset with the fields of this section.
  static std::shared_ptr<db::Recordset> CreateTreeRowset();
  void InitGridCliFor();

  // Writes the branch of the tree rowset's current row with `new_value`
  // ("1" or "0"), with its change-log entry. Throws on failure.
  void SaveBranch(std::string_view new_value);
  // One click of either tree section: `write` (the row and its change-log
  // entry) and the reload of the principal's derived customer/supplier list
  // commit together. On a failure both are rolled back, the box is put back
  // and the failure is told: a failed reload through LogError as
  // "ReloadListaCFRevocati" (a retry runs the whole click again), any other
  // as "TGRID_CLIFOR_CheckChange". True when the click was committed.
  static bool CommitClick(editor::SectionContext& window, const store::Principal& principal,
                          std::string_view column_key, std::string_view new_value,
                          const std::function<void()>& write,
                          std::vector<journal::RowScope> scopes);
  // Tells the failed rows of a walk, each distinct failure once.
  static void ReportRowFailures(editor::SectionContext& window,
                                const std::vector<host::ErrObject>& failures,
                                std::string_view routine);
  // Puts back the other value of a box whose change was not written (the
  // field of the changed column in the tree rowset's current row).
  static void RestoreBox(editor::SectionContext& window, std::string_view field,
                         std::string_view new_value);
  // Revokes the branch of `rows`' current row for the principal (the
  // disable-all walk). Throws on failure.
  void DisabilitaRecord(db::Recordset& rows, const store::Principal& principal);

  // The disable-all question; true when the answer is yes.
  static bool ConfirmDisableAll(editor::SectionContext& window);
  // Starts a layout of TGRID_CLIFOR as both tree sections define it: columns
  // cleared, tree settings by "KEY" and "PADRE_KEY", both display options.
  // The caller adds its columns and closes the definition.
  static host::TreeGrid& BeginTreeLayout(editor::SectionContext& window);
  // Reports the error being handled (call inside a catch block) as a failed
  // build of a tree section: number, "-", description and the routine, in a
  // critical-stop box with an empty title.
  static void ShowBuildError(editor::SectionContext& window, std::string_view routine);
  // The before-check rule of both sections: refuse a row without a kind.
  static bool RefusesCheck(const db::Recordset& tree_rowset);
  // Runs the revoked-list reload for the principal (nothing when none).
  static void ReloadForPrincipal(editor::SectionContext& window, const store::Principal& principal);
  // The branch of a tree row, as the statements write it.
  static CliForBranch BranchOf(const db::Recordset& rows);

 private:
  void DisableAll();
  bool RevocationExists(const store::Principal& principal, const CliForBranch& branch);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_CLIFOR_CLIFOR_SECTION_H_
