#ifndef ORV_SECTIONS_TRANSFERS_TRANSFER_SECTION_H_
#define ORV_SECTIONS_TRANSFERS_TRANSFER_SECTION_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "db/value.h"
#include "editor/section.h"
#include "journal/row_scope.h"

namespace orv::db {
class Recordset;
}

namespace orv::sections {

// The warehouse-transfer section (section 32, frame 6): a square matrix in
// GRID_DEPOSITO, one row per origin warehouse of the working company and one
// check-box column per destination. A checked cell allows the transfer; a
// row of FW3E_RVKDEPCOLL for the principal revokes it.
//
// The matrix is built when the section is chosen (LoadDepositi, through the
// window's LoadData) and filled with the principal's revocations on every
// principal change and after every gesture that writes more than one cell
// (LoadRevokeDepositi, reachable by others through the window). Every
// gesture writes at once. Where a gesture deletes rows and inserts their
// replacement, both statements run in one transaction, so that a failure
// between them cannot drop the principal's revocations.
//
// A cell or header click that fails leaves the grid as the database is: the
// click is cancelled before the statement runs and let through only when it
// succeeded; the error goes on to the window, which reports it.
class TransferSection : public editor::Section {
 public:
  explicit TransferSection(editor::SectionContext context);
  ~TransferSection() override;

  std::string_view Name() const override { return "transfers"; }

  bool InitGrid(int32_t layout, std::string_view item_key) override;
  bool LoadData() override;
  bool LoadRevokeDepositi() override;
  bool ButtonClick(std::string_view name) override;
  // The current company's transfers, removed at once (the button asked).
  std::optional<editor::RevocationSet> EnableAllSet(const store::Principal& principal) override;
  bool GridSelectionBoxClick(std::string_view grid, std::string_view row_key,
                             std::string_view column_key, const db::Value& value_before,
                             bool& cancel) override;
  bool GridHeaderCheckBoxClick(std::string_view grid, std::string_view column_key, bool new_state,
                               bool& cancel) override;

  // Column key of a warehouse: "C_" + the code right-trimmed, each blank
  // written as three underscores and each underscore as "_5F", so that
  // every code the master can hold has a key of its own.
  static std::string CodiceToCampo(std::string_view code);
  // The code back from a key without its "C_": right-trimmed, "___" read as
  // a blank and "_5F" as an underscore, as the master holds it.
  static std::string CampoToCodice(std::string_view text);
  // An origin code as the matrix's CODICE holds it (not a key), right-
  // trimmed: the code as the warehouse master holds it.
  static std::string MatrixCode(std::string_view text);

  // Builds the matrix for the working company and binds it to the grid; at
  // an error it ends without a message (the grid then shows nothing).
  void LoadDepositi();
  // Puts the principal's revocations into the matrix (errors reported as
  // "LoadRevokeDepositi"). With `not_revoked`, the principal has a row for
  // every pair of the company's warehouses (just revoked them all) and
  // those are the principal's rows that are not revocations
  // (TransferStatements::SelectRevocationsNotRevoked): nothing is read.
  void FillMatrix(std::shared_ptr<db::Recordset> not_revoked = nullptr);
  // Revokes every pair of the company for one principal (one of the two
  // identifiers Null). Null when it failed (reported) or had no principal;
  // else the principal's rows that are not revocations, for FillMatrix.
  std::shared_ptr<db::Recordset> DisabilitaTuttiDep(const db::Value& user, const db::Value& group);
  // Gives back (true) or revokes (false) every pair for every principal.
  void AbilitaDisabilitaTuttu(bool enable);

  void VRX_ABIDISDEPORI_ButtonClick();
  void VRX_DISABILITATUTTIDEP_ButtonClick();
  void VRX_ABILITATUTTIU_ButtonClick();
  void VRX_DISABILITATUTTIU_ButtonClick();

  // The matrix this section built last (null before the first build).
  const std::shared_ptr<db::Recordset>& matrix() const { return matrix_; }

 private:
  // The principal's rows of the company (every principal's for none).
  static journal::RowScope TransferScope(const store::Principal& principal, int64_t company);
  // The name of the principal selected now (for the journal's summary).
  std::string PrincipalName();
  // The matrix when it is still the section's rows, else null.
  std::shared_ptr<db::Recordset> CurrentMatrix();
  // Shows the no-principal message and returns false when none is selected.
  bool NeedPrincipal();
  int64_t Company();

  std::shared_ptr<db::Recordset> matrix_;
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_TRANSFERS_TRANSFER_SECTION_H_
