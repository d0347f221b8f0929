#ifndef ORV_PROFILE_PROFILE_DOCUMENT_H_
#define ORV_PROFILE_PROFILE_DOCUMENT_H_

#include <string>
#include <string_view>
#include <vector>

#include "profile/profile_row.h"

namespace orv::profile {

// A principal's revocations as a file: JSON, versioned, codes only (no
// identifier of the installation; company codes kept). docs/profiles.md
// describes the format:
//
//   {"format": "orvelka-profile", "version": 1,
//    "principal": {"kind": "user", "code": "mrossi", "name": "Mario Rossi"},
//    "tables": {"parameters": [{"company": 1, "kind": 6, "code": "MP",
//                               "abilitato": 0, "modifica": 0, ...}], ...}}
//
// The tables present in the file are the ones an import replaces; a table
// left out is left alone.
struct ProfileDocument {
  static constexpr std::string_view kFormat = "orvelka-profile";
  static constexpr int kVersion = 1;

  std::string principal_kind;  // "user" or "group"
  std::string principal_code;  // login or group code
  std::string principal_name;
  std::vector<RevocationTable> tables;
  std::vector<ProfileRow> rows;

  // Every table, with the rows given.
  static ProfileDocument Of(std::string kind, std::string code, std::string name,
                            std::vector<ProfileRow> rows);
  bool Carries(RevocationTable table) const;

  std::string ToJson() const;
  // Throws std::runtime_error naming what is wrong (format, version, a
  // missing or mistyped field with its table and position).
  static ProfileDocument FromJson(std::string_view text);
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_PROFILE_DOCUMENT_H_
