#ifndef ORV_PROFILE_PROFILE_ROW_H_
#define ORV_PROFILE_PROFILE_ROW_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace orv::profile {

// The five revocation tables, in the order profiles list them.
enum class RevocationTable { kParameters, kCliFor, kFamilies, kTransfers, kNodes };

inline constexpr std::array<RevocationTable, 5> kAllTables = {
    RevocationTable::kParameters, RevocationTable::kCliFor, RevocationTable::kFamilies,
    RevocationTable::kTransfers, RevocationTable::kNodes};

// One revocation row of one principal as plain values: no identifier of the
// installation, only codes, so that two installations (or two principals)
// compare row by row.
//
// What the codes hold per table:
//   kParameters  FW31: kind = FW31_INDTIPO, code1 = FW31_CODTIPO
//   kCliFor      FW32: kind = FW32_TIPOCF, grouping = FW32_TIPORAGG,
//                code1..3 = FW32_CODMACRO, FW32_CODMIDDLE, FW32_CODRAGG
//   kFamilies    FW3H: grouping = FW3H_TIPORAGG, code1..3 = FW3H_CODMACRO (the
//                family), FW3H_CODMIDDLE, FW3H_CODRAGG
//   kTransfers   FW3E: code1 = origin, code2 = destination warehouse
//   kNodes       FW3N: code1 = project, code2 = node
// and the flags, in FlagNames() order (1 allowed, 0 revoked).
struct ProfileRow {
  RevocationTable table = RevocationTable::kParameters;
  int32_t company = 0;
  int32_t kind = 0;
  std::string grouping;
  std::string code1;
  std::string code2;
  std::string code3;
  std::array<int32_t, 4> flags = {0, 0, 0, 0};

  // The logical key: everything but the flags.
  auto Key() const { return std::tie(table, company, kind, grouping, code1, code2, code3); }
  bool SameKey(const ProfileRow& other) const { return Key() == other.Key(); }
  bool SameFlags(const ProfileRow& other) const;
  // True when the row takes a right away: a parameter, node or transfer row
  // without its allowed flag, a customer/supplier branch with
  // FW32_FLGABILITATO 0, a family with any of its rights at 0.
  bool Revokes() const;
  // "6 MP", "AREA 0 NORD/EST/-", "FAM 01", "A01>B02", "P1/N3": the item for people.
  std::string ItemText() const;

  friend bool operator==(const ProfileRow& a, const ProfileRow& b) {
    return a.SameKey(b) && a.SameFlags(b);
  }
  friend bool operator<(const ProfileRow& a, const ProfileRow& b) { return a.Key() < b.Key(); }
};

// "parameters", "clifor", "families", "transfers", "nodes".
std::string_view TableKey(RevocationTable table);
std::optional<RevocationTable> TableFromKey(std::string_view key);
// The host table: "FW31_RVKPARAMETRI", ...
std::string_view TableName(RevocationTable table);
// How many flags a row of the table has, and their names in the files.
int FlagCount(RevocationTable table);
std::string_view FlagName(RevocationTable table, int index);

}  // namespace orv::profile

#endif  // ORV_PROFILE_PROFILE_ROW_H_
