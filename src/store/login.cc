#include "store/login.h"

#include <stdexcept>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sql_literal.h"

namespace orv::store {

std::string Login::SelectLogin(std::string_view login) {
  return "SELECT FW07_FLGADMIN, FW07_FLGATTIVO FROM FW07_APPUSER WHERE FW07_LOGIN = " +
         db::SqlQuote(login);
}

std::optional<Login> Login::Read(db::Connection& connection, std::string_view login) {
  std::shared_ptr<db::Recordset> rs = connection.Execute(SelectLogin(login));
  if (!rs || !rs->IsOpen() || rs->IsEof()) return std::nullopt;
  auto one = [](const db::Value& v) { return !v.IsNull() && !v.IsEmpty() && v.ToInt32() == 1; };
  Login row;
  row.administrator = one(rs->Field("FW07_FLGADMIN"));
  row.active = one(rs->Field("FW07_FLGATTIVO"));
  return row;
}

Login Login::Admit(db::Connection& connection, std::string_view login) {
  std::optional<Login> row = Read(connection, login);
  if (!row) throw std::runtime_error("unknown login: " + std::string(login));
  if (!row->active) throw std::runtime_error("login not active: " + std::string(login));
  return *row;
}

}  // namespace orv::store
