#ifndef ORV_SECTIONS_FAMILIES_FAMILY_SECTION_H_
#define ORV_SECTIONS_FAMILIES_FAMILY_SECTION_H_

#include <cstdint>
#include <memory>
#include <string_view>

#include "db/value.h"
#include "editor/section.h"
#include "sections/families/family_statements.h"
#include "store/principal.h"

namespace orv::db {
class Recordset;
}

namespace orv::sections {

// The article family section (31): the company's families in TGRID_CLIFOR,
// one row each with the insert, modify and delete rights of the principal
// (FW3H_RVKARTICOLI), each change written at once, and the section's variant
// of the disable-all button. A family's row is inserted with every right
// allowed the first time one of its boxes changes; clearing "Elim" clears
// "Mod" too, in the table and on screen.
class FamilySection : public editor::Section {
 public:
  explicit FamilySection(editor::SectionContext context) : Section(context) {}

  std::string_view Name() const override { return "families"; }

  bool InitTreeFamiglie() override;
  bool TreeBeforeCheck(bool& cancel) override;
  bool TreeCheckChange(std::string_view column_key, std::string_view new_value) override;
  bool TreeColumnSubstitution(const host::TreeRowReader& row, int32_t& column_index) override;
  bool ButtonClick(std::string_view name) override;
  // The rights set back to 1 on the company the list shows.
  std::optional<editor::RevocationSet> EnableAllSet(const store::Principal& principal) override;

  // A new, open, empty family rowset.
  static std::shared_ptr<db::Recordset> CreateFamilyRowset();
  void InitGridFamiglie();

  // Writes one right of the tree rowset's current row. Throws on failure.
  void SaveFamily(std::string_view column_key, std::string_view new_value);
  // Revokes the three rights of the tree rowset's current row. Throws.
  void DisabilitaRecordFamiglia(const store::Principal& principal);

  // The company the family list shows: its first row's, else the current
  // one ("NULL" when neither is known).
  std::string ShownCompany();

  // The family row of the tree rowset's current row, codes trimmed.
  static FamilyRow RowOf(const db::Recordset& rows);

 private:
  void DisableAll();
  bool RevocationExists(const store::Principal& principal, const FamilyRow& row);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_FAMILIES_FAMILY_SECTION_H_
