#include "profile/where_used.h"

#include <map>
#include <memory>
#include <stdexcept>

#include "db/connection.h"
#include "db/recordset.h"
#include "profile/profile_reader.h"
#include "profile/profile_statements.h"

namespace orv::profile {

std::vector<WhereUsedHit> WhereUsed::Find(db::Connection& connection, const RevocationItem& item) {
  std::vector<WhereUsedHit> hits;
  auto rs = connection.Execute(ProfileStatements::SelectWhereUsed(item));
  std::vector<std::pair<db::Value, db::Value>> who;
  std::vector<ProfileRow> rows;
  for (; rs && !rs->IsEof(); rs->MoveNext()) {
    ProfileRow row = ProfileReader::RowOf(item.table, *rs);
    if (!row.Revokes()) continue;
    who.emplace_back(rs->Field(ProfileStatements::kUserColumn),
                     rs->Field(ProfileStatements::kGroupColumn));
    rows.push_back(std::move(row));
  }
  PrincipalDirectory directory(connection);
  std::map<std::pair<bool, int64_t>, NamedPrincipal> names;
  for (size_t i = 0; i < rows.size(); ++i) {
    const bool group = who[i].first.IsNull() || who[i].first.IsEmpty();
    const int64_t id = group ? who[i].second.ToInt64() : who[i].first.ToInt64();
    auto found = names.find({group, id});
    if (found == names.end()) {
      NamedPrincipal named;
      try {
        named = group ? directory.Group(id) : directory.User(id);
      } catch (const std::runtime_error&) {
        // A row left behind by a principal that no longer exists.
        named = {group ? store::Principal::Group(id, "?") : store::Principal::User(id, "?"),
                 "#" + std::to_string(id)};
      }
      found = names.emplace(std::pair{group, id}, std::move(named)).first;
    }
    hits.push_back({found->second, std::move(rows[i])});
  }
  return hits;
}

}  // namespace orv::profile
