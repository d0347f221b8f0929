#ifndef ORV_PROFILE_REVOCATION_ITEM_H_
#define ORV_PROFILE_REVOCATION_ITEM_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "profile/profile_row.h"

namespace orv::profile {

// An item a where-used search looks for: the key of a revocation row with
// the principal left out, and the company left open when not given. Codes
// left empty in a customer/supplier branch mean the branch's own blank
// levels, as stored.
struct RevocationItem {
  RevocationTable table = RevocationTable::kParameters;
  std::optional<int32_t> company;
  int32_t kind = 0;
  std::string grouping;
  std::string code1;
  std::string code2;
  std::string code3;

  // Parses the forms people type:
  //   warehouse:MP  project:P1  simulation:S1  blocking:B1  parameter:KIND:CODE
  //   transfer:ORI:DES  family:F01  node:PROJECT:NODE
  //   clifor:TIPOCF:TIPORAGG:MACRO[:MIDDLE[:RAGG]]   (TIPOCF 0, 1 or -1)
  // with an optional "@COMPANY" at the end. Throws std::invalid_argument.
  static RevocationItem Parse(std::string_view text);
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_REVOCATION_ITEM_H_
