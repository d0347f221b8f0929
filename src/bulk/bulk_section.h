#ifndef ORV_BULK_BULK_SECTION_H_
#define ORV_BULK_BULK_SECTION_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/section.h"
#include "host/err_object.h"
#include "store/principal.h"

namespace orv::db {
class Recordset;
}

namespace orv::journal {
class GestureCapture;
}

namespace orv::bulk {

// "Abilita tutti" and "Disabilita tutti": every revocation of the selected
// principal in the current section removed, or every row shown revoked, in
// one action.
//
// Removing asks the active section what its revocations are
// (Section::EnableAllSet): customers/suppliers (24) and parameters (6, 8, 15,
// 30) lose the principal's rows in every company, article families (31) keep
// their rows with the three rights set back to 1, warehouse transfers (32)
// lose the current company's rows at once, project nodes (33) are all marked
// allowed and merged. Revoking (for the sections whose RevokesGridRows) walks
// the parameter rows shown, or marks every node that passes the filter
// revoked.
//
// The other sections are reached through the window only: its loaders,
// ReloadListaCFRevocati, and the node section's merge (NodeMerge).
class BulkSection : public editor::Section {
 public:
  explicit BulkSection(editor::SectionContext context) : Section(context) {}

  std::string_view Name() const override { return "bulk"; }

  bool ButtonClick(std::string_view name) override;

  // Removes every revocation of the principal in the current section.
  void VRX_ABILITATUTTI_ButtonClick();
  // Revokes every row of the current section for the principal.
  void VRX_DISABILITATUTTI_ButtonClick();
  // Marks every node row that passes the filter allowed (`enable`) or
  // revoked and merges the node work table for the principal; false when
  // the routine stopped or the merge did not run.
  bool DisabilitaNodi(bool enable, const store::Principal& principal);
  // Revokes the current row of the parameter work recordset; false when it
  // failed (the error has been shown, unless the same error was already
  // shown earlier in the same revoke-all).
  bool DisabilitaRecordDeposito(const store::Principal& principal);

 private:
  // Every parameter row shown revoked with a few set statements
  // (ParameterRevokeAll) in a savepoint of the open transaction; false,
  // having written nothing, when one of them failed.
  bool RevokeShownRowsAsSet(const store::Principal& principal, journal::GestureCapture& capture);
  // The item code of the current work row (trimmed), "" without a code column.
  static std::string RowCode(db::Recordset& row);
  // The current work row shown with every right revoked.
  static void ShowRowRevoked(db::Recordset& row);

  // With no principal selected: shows the standard refusal and returns true.
  bool RefusedWithoutPrincipal();
  // After an enable-all: the principal's derived list (node sections, whose
  // merge commits on its own) and the screens of the section.
  void ReloadAfterEnable(const store::Principal& principal);
  void RefreshAfterEnable(int32_t section);

  // Errors (number, description) already shown during the current walk.
  std::vector<std::pair<int64_t, std::string>> walk_errors_;
  // During a revoke-all walk: the errors to tell once the walk committed.
  std::optional<std::vector<host::ErrObject>> deferred_errors_;
};

}  // namespace orv::bulk

#endif  // ORV_BULK_BULK_SECTION_H_
