#include "profile/profile_reader.h"

#include <memory>

#include "db/connection.h"
#include "db/recordset.h"
#include "profile/profile_statements.h"

namespace orv::profile {
namespace {

using S = ProfileStatements;

std::string Text(const db::Value& value) {
  return value.IsNull() || value.IsEmpty() ? std::string() : value.ToText();
}

int32_t Number(const db::Value& value) {
  return value.IsNull() || value.IsEmpty() ? 0 : value.ToInt32();
}

}  // namespace

ProfileRow ProfileReader::RowOf(RevocationTable table, const db::Recordset& rs) {
  ProfileRow row;
  row.table = table;
  row.company = Number(rs.Field(S::kCompanyColumn));
  row.kind = Number(rs.Field(S::kKindColumn));
  row.grouping = Text(rs.Field(S::kGroupingColumn));
  row.code1 = Text(rs.Field(S::kFirstCodeColumn));
  row.code2 = Text(rs.Field(S::kFirstCodeColumn + 1));
  row.code3 = Text(rs.Field(S::kFirstCodeColumn + 2));
  for (int i = 0; i < 4; ++i) row.flags[i] = Number(rs.Field(S::kFirstFlagColumn + i));
  return row;
}

std::vector<ProfileRow> ProfileReader::Read(db::Connection& connection,
                                            const store::Principal& principal,
                                            RevocationTable table) {
  std::vector<ProfileRow> rows;
  if (principal.IsNone()) return rows;
  auto rs = connection.Execute(S::SelectRows(table, principal));
  if (!rs) return rows;
  rows.reserve(static_cast<size_t>(rs->RecordCount()));
  for (; !rs->IsEof(); rs->MoveNext()) rows.push_back(RowOf(table, *rs));
  return rows;
}

std::vector<ProfileRow> ProfileReader::Read(db::Connection& connection,
                                            const store::Principal& principal) {
  std::vector<ProfileRow> rows;
  for (RevocationTable table : kAllTables) {
    std::vector<ProfileRow> part = Read(connection, principal, table);
    rows.insert(rows.end(), std::make_move_iterator(part.begin()),
                std::make_move_iterator(part.end()));
  }
  return rows;
}

}  // namespace orv::profile
