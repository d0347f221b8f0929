#ifndef ORV_SECTIONS_CLIFOR_CLIFOR_STATEMENTS_H_
#define ORV_SECTIONS_CLIFOR_CLIFOR_STATEMENTS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "store/principal.h"

namespace orv::sections {

// One classification branch of FW32_RVKCLIFOR as a save writes it: the
// company and type as statements write them (decimal text, no quotes), the
// three codes as stored ('' for a level the branch has not) and the kind.
struct CliForBranch {
  std::string company;
  std::string tipocf;
  std::string macro;
  std::string middle;
  std::string ragg;
  std::string tiporagg;
};

// The statements of the customer/supplier section, one function per
// statement, in the host's dialect. Text values are always put between
// quotes with every single quote doubled; identifiers and company codes are
// written as plain integers.
class CliForStatements {
 public:
  // " AND FW32_ID_FW07 " + ("IS NULL" | "=" id) + the same for FW32_ID_FW06.
  static std::string PrincipalClause(const store::Principal& principal);

  // The ten SELECT statements of the classification tree in one batch, in
  // this order: macro areas, areas, zones, macro categories, categories,
  // sub-categories, groupings 1, 2 and 3, company sites.
  static std::string TreeBatch(const store::Principal& principal, int64_t company);
  static std::string MacroAreas(const std::string& principal_clause, int64_t company);
  static std::string Areas(const std::string& principal_clause, int64_t company);
  static std::string Zones(const std::string& principal_clause, int64_t company);
  static std::string MacroCategories(const std::string& principal_clause, int64_t company);
  static std::string Categories(const std::string& principal_clause, int64_t company);
  static std::string SubCategories(const std::string& principal_clause, int64_t company);
  static std::string Grouping1(const std::string& principal_clause, int64_t company);
  static std::string Grouping2(const std::string& principal_clause, int64_t company);
  static std::string Grouping3(const std::string& principal_clause, int64_t company);
  static std::string Sites(const std::string& principal_clause, int64_t company);

  // Whether the principal has a row for the branch: at most one row, found
  // through the logical-key index.
  static std::string SelectRevocation(const store::Principal& principal,
                                      const CliForBranch& branch);

  static std::string InsertRevocation(const store::Principal& principal, const CliForBranch& branch,
                                      int32_t abilitato);
  static std::string UpdateRevocation(const store::Principal& principal, const CliForBranch& branch,
                                      int32_t abilitato);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_CLIFOR_CLIFOR_STATEMENTS_H_
