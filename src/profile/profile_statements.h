#ifndef ORV_PROFILE_PROFILE_STATEMENTS_H_
#define ORV_PROFILE_PROFILE_STATEMENTS_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "profile/profile_row.h"
#include "profile/revocation_item.h"
#include "store/principal.h"

namespace orv::profile {

// The statements of the profile layer, in the host's dialect. Every read of
// one principal's rows tests the two principal columns first, so it is a
// range read of the table's logical-key index; where-used reads go through
// the item indexes (IX_xxxx_VOCE). Every text value is quoted with its
// quotes doubled.
//
// The rows come back in one column order for all five tables:
//   ID_FW07, ID_FW06, DITTA, KIND, GROUPING, CODE1, CODE2, CODE3, F0..F3
// with constants where a table lacks a column.
class ProfileStatements {
 public:
  static constexpr int kUserColumn = 0;
  static constexpr int kGroupColumn = 1;
  static constexpr int kCompanyColumn = 2;
  static constexpr int kKindColumn = 3;
  static constexpr int kGroupingColumn = 4;
  static constexpr int kFirstCodeColumn = 5;
  static constexpr int kFirstFlagColumn = 8;

  // Every row of the principal in the table, by logical key.
  static std::string SelectRows(RevocationTable table, const store::Principal& principal);
  // Every row, of any principal, that revokes the item.
  static std::string SelectWhereUsed(const RevocationItem& item);
  // One INSERT of the rows for the principal (a multi-row VALUES list).
  static std::string InsertRows(RevocationTable table, const store::Principal& principal,
                                std::span<const ProfileRow> rows);
  // The flags of the principal's row with the same key.
  static std::string UpdateRow(const store::Principal& principal, const ProfileRow& row);
  // The principal's row with the same key.
  static std::string DeleteRow(const store::Principal& principal, const ProfileRow& row);

  // The groups of a user, with code and description, by code.
  static std::string SelectGroupsOfUser(int64_t user_id);
  // Users and groups by login/code or by identifier.
  static std::string SelectUserByLogin(std::string_view login);
  static std::string SelectGroupByCode(std::string_view code);
  static std::string SelectUserById(int64_t id);
  static std::string SelectGroupById(int64_t id);
  // Change-log records, one multi-row INSERT into FW90_LOGMODIFICHE.
  static std::string InsertChangeLog(std::string_view now, std::string_view login,
                                     std::span<const std::pair<int32_t, std::string>> entries);
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_PROFILE_STATEMENTS_H_
