#include "journal/principal_names.h"

#include <memory>

#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"

namespace orv::journal {

std::string PrincipalNames::SelectName(bool user, int64_t id) {
  if (user) {
    return "SELECT FW07_NOMEUTENTE AS NAME FROM FW07_APPUSER WHERE FW07_ID = " + std::to_string(id);
  }
  return "SELECT COALESCE(FW06_DESCR, FW06_CODICE) AS NAME FROM FW06_GROUPUSR WHERE FW06_ID = " +
         std::to_string(id);
}

std::string PrincipalNames::Of(const JournalEntry& entry) {
  const bool user = entry.principal_kind == JournalEntry::kUser;
  if (!user && entry.principal_kind != JournalEntry::kGroup) return {};
  const std::pair<bool, int64_t> key(user, entry.principal_id);
  auto found = known_.find(key);
  if (found != known_.end()) return found->second;
  std::string name;
  try {
    std::shared_ptr<db::Recordset> rs = connection_.Execute(SelectName(user, entry.principal_id));
    if (rs && rs->IsOpen() && !rs->IsEof()) {
      const db::Value& v = rs->Field("NAME");
      if (!v.IsNull() && !v.IsEmpty()) name = db::Trim(v.ToText());
    }
  } catch (const db::DbError&) {
    // A database without the host's principal tables: the number alone.
    connection_.ClearErrors();
  }
  known_.emplace(key, name);
  return name;
}

}  // namespace orv::journal
