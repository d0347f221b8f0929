#ifndef ORV_SECTIONS_PARAMETERS_PARAMETER_STATEMENTS_H_
#define ORV_SECTIONS_PARAMETERS_PARAMETER_STATEMENTS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "store/principal.h"

namespace orv::sections {

// The statements of the parameter sections over FW31_RVKPARAMETRI, one
// function per statement, in the host's dialect.
//
// `code` is an item code as the user sees it (trimmed): every function puts
// it between quotes with each single quote doubled. `company` is a company
// code as written in statements (decimal text, no quotes). Identifiers come
// from the principal and are written as plain integers.
class ParameterStatements {
 public:
  // Section codes that are also the kind numbers FW31_INDTIPO.
  static constexpr int32_t kWarehouses = 6;
  static constexpr int32_t kProjects = 8;
  static constexpr int32_t kMrpSimulations = 15;
  static constexpr int32_t kBlocking = 30;

  static bool IsParameterKind(int32_t section_code);

  // The catalogue of one kind with the principal's revocations joined in;
  // "" for a section without a catalogue (22, 24, 31, 32, 33, ...).
  static std::string Catalogue(int32_t section_code, const store::Principal& principal,
                               int64_t company);
  static std::string CatalogueWarehouses(const store::Principal& principal, int64_t company);
  static std::string CatalogueProjects(const store::Principal& principal, int64_t company);
  static std::string CatalogueMrpSimulations(const store::Principal& principal);
  static std::string CatalogueBlocking(const store::Principal& principal, int64_t company);

  // Whether the principal has a row for the item: the look-up on the
  // logical key, answered through its index (one row at most).
  static std::string SelectRevocation(const store::Principal& principal, int32_t kind,
                                      std::string_view code, std::string_view company);

  static std::string InsertRevocation(const store::Principal& principal, int32_t kind,
                                      std::string_view code, std::string_view company,
                                      int32_t abilitato, int32_t modifica, int32_t inserimento,
                                      int32_t eliminazione);
  static std::string UpdateRevocation(const store::Principal& principal, int32_t kind,
                                      std::string_view code, std::string_view company,
                                      int32_t abilitato, int32_t modifica, int32_t inserimento,
                                      int32_t eliminazione);
  static std::string DeleteRevocation(const store::Principal& principal, int32_t kind,
                                      std::string_view code, std::string_view company);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_PARAMETERS_PARAMETER_STATEMENTS_H_
