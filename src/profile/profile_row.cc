#include "profile/profile_row.h"

namespace orv::profile {
namespace {

constexpr std::array<std::string_view, 5> kKeys = {"parameters", "clifor", "families", "transfers",
                                                   "nodes"};
constexpr std::array<std::string_view, 5> kNames = {
    "FW31_RVKPARAMETRI", "FW32_RVKCLIFOR", "FW3H_RVKARTICOLI", "FW3E_RVKDEPCOLL", "FW3N_RVKNODI"};
constexpr std::array<std::array<std::string_view, 4>, 5> kFlagNames = {{
    {"abilitato", "modifica", "elimina", "inserisci"},
    {"abilitato", "modifica", "", ""},
    {"abilitato", "modifica", "inserimento", "elimina"},
    {"abilitato", "", "", ""},
    {"", "", "", ""},
}};
constexpr std::array<int, 5> kFlagCounts = {4, 2, 4, 1, 0};

size_t Index(RevocationTable table) { return static_cast<size_t>(table); }

std::string OrDash(const std::string& code) { return code.empty() ? "-" : code; }

}  // namespace

bool ProfileRow::SameFlags(const ProfileRow& other) const {
  for (int i = 0; i < FlagCount(table); ++i) {
    if (flags[i] != other.flags[i]) return false;
  }
  return true;
}

bool ProfileRow::Revokes() const {
  switch (table) {
    case RevocationTable::kParameters:
    case RevocationTable::kNodes:
      return true;
    case RevocationTable::kCliFor:
    case RevocationTable::kTransfers:
      return flags[0] == 0;
    case RevocationTable::kFamilies:
      return flags[0] == 0 || flags[1] == 0 || flags[2] == 0 || flags[3] == 0;
  }
  return true;
}

std::string ProfileRow::ItemText() const {
  switch (table) {
    case RevocationTable::kParameters:
      return std::to_string(kind) + " " + code1;
    case RevocationTable::kCliFor:
      return grouping + " " + std::to_string(kind) + " " + OrDash(code1) + "/" + OrDash(code2) +
             "/" + OrDash(code3);
    case RevocationTable::kFamilies:
      return grouping + " " + code1;
    case RevocationTable::kTransfers:
      return code1 + ">" + code2;
    case RevocationTable::kNodes:
      return code1 + "/" + code2;
  }
  return {};
}

std::string_view TableKey(RevocationTable table) { return kKeys[Index(table)]; }

std::optional<RevocationTable> TableFromKey(std::string_view key) {
  for (RevocationTable table : kAllTables) {
    if (TableKey(table) == key) return table;
  }
  return std::nullopt;
}

std::string_view TableName(RevocationTable table) { return kNames[Index(table)]; }

int FlagCount(RevocationTable table) { return kFlagCounts[Index(table)]; }

std::string_view FlagName(RevocationTable table, int index) {
  return kFlagNames[Index(table)][static_cast<size_t>(index)];
}

}  // namespace orv::profile
