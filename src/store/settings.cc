#include "store/settings.h"

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sql_literal.h"

namespace orv::store {

std::string Settings::SelectRevokeOnLoad() {
  return "SELECT * FROM FW95_SETTINGS WHERE FW95_CODICE = 'AUT_RVKENABLED' ";
}

std::string Settings::SelectRevokeOnClick() {
  return std::string("SELECT * FROM FW95_SETTINGS ") + " WHERE FW95_CODICE = 'AUT_RVKENABLED' ";
}

std::string Settings::InsertRevoke(std::string_view value) {
  return std::string("INSERT INTO FW95_SETTINGS ") + " (FW95_CODICE, FW95_DESCR, FW95_VALORE) " +
         " VALUES ('AUT_RVKENABLED', 'Abilitazione Revoke', '" + db::SqlEscape(value) + "')";
}

std::string Settings::UpdateRevoke(std::string_view value) {
  return std::string("UPDATE FW95_SETTINGS ") + " SET FW95_VALORE = '" + db::SqlEscape(value) +
         "' " + " WHERE FW95_CODICE = 'AUT_RVKENABLED' ";
}

std::optional<std::string> Settings::ReadRevokeValue(db::Connection& connection) {
  std::shared_ptr<db::Recordset> rs = connection.Execute(SelectRevokeOnLoad());
  if (!rs || rs->IsEof()) return std::nullopt;
  const db::Value& value = rs->Field("FW95_VALORE");
  if (value.IsNull()) return std::string();
  return value.ToText();
}

bool Settings::RevokeEnabled(db::Connection& connection) {
  std::optional<std::string> value = ReadRevokeValue(connection);
  return value && db::Trim(*value) == "1";
}

}  // namespace orv::store
