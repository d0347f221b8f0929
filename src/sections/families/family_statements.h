#ifndef ORV_SECTIONS_FAMILIES_FAMILY_STATEMENTS_H_
#define ORV_SECTIONS_FAMILIES_FAMILY_STATEMENTS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "store/principal.h"

namespace orv::sections {

// One family row of FW3H_RVKARTICOLI as a save writes it: the company as
// statements write it (decimal text), the family and second-level codes
// (trimmed) and the kind.
struct FamilyRow {
  std::string company;
  std::string code;
  std::string middle;
  std::string tiporagg;
};

// The statements of the article family section, one function per
// statement, in the host's dialect. Text values are always put between
// quotes with every single quote doubled.
class FamilyStatements {
 public:
  // The flag column a check-box column writes ("INSERIMENTO",
  // "MODIFICA", "ELIMINAZIONE"); "" for any other column.
  static std::string_view FlagColumn(std::string_view column_key);

  // " AND  FW3H_ID_FW07 " + ("IS NULL" | "=" id) + " AND FW3H_ID_FW06 " + ...
  static std::string PrincipalClause(const store::Principal& principal);

  // The company's families with the principal's rights, by description.
  // A family code stored with blanks around it matches the trimmed code the
  // saves write.
  static std::string FamilyList(const store::Principal& principal, int64_t company);

  // Whether the principal has the family's row: the same conditions the
  // updates write, answered through the logical-key index.
  static std::string SelectRevocation(const store::Principal& principal, const FamilyRow& row);
  static constexpr std::string_view kSelectAll =
      "SELECT * FROM FW3H_RVKARTICOLI ORDER BY FW3H_DITTA";

  // A new row with every right allowed.
  static std::string InsertRevocation(const store::Principal& principal, const FamilyRow& row);
  // One right; clearing the delete right clears the modify right too.
  static std::string UpdateRight(const store::Principal& principal, const FamilyRow& row,
                                 std::string_view flag_column, int32_t value);
  // All three rights revoked.
  static std::string RevokeAll(const store::Principal& principal, const FamilyRow& row);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_FAMILIES_FAMILY_STATEMENTS_H_
