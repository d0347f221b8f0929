#include "sections/transfers/transfer_statements.h"

#include "db/sql_literal.h"

namespace orv::sections {

namespace {

constexpr std::string_view kInsertInto =
    "INSERT INTO FW3E_RVKDEPCOLL(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES,"
    " FW3E_ID_FW07, FW3E_ID_FW06)";

// " AND FW3E_ID_FW07 " + test + " AND FW3E_ID_FW06 " + test, the tests
// written "=12" or "IS NULL".
std::string PrincipalTests(const store::Principal& principal) {
  return " AND FW3E_ID_FW07 " + principal.UserTest("IS NULL", "=") + " AND FW3E_ID_FW06 " +
         principal.GroupTest("IS NULL", "=");
}

// A bracketed identifier: a closing bracket inside is doubled.
std::string Bracketed(std::string_view name) {
  std::string out = "[";
  for (char c : name) {
    out += c;
    if (c == ']') out += ']';
  }
  out += ']';
  return out;
}

}  // namespace

std::string TransferStatements::SelectWarehouses(int64_t company) {
  return "SELECT * FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = " + std::to_string(company);
}

std::string TransferStatements::SelectWarehouseColumns(int64_t company) {
  return "SELECT MG58_CODDEP, MG58_DESCRDEP FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = " +
         std::to_string(company) + " ORDER BY MG58_CODDEP";
}

std::string TransferStatements::Catalogue(int64_t company,
                                          const std::vector<std::string>& column_keys) {
  if (column_keys.empty()) return {};
  std::string s = "SELECT MG58_CODDEP AS CODICE, ";
  s += " MG58_CODDEP + (CASE WHEN MG58_DESCRDEP IS NULL THEN '' ELSE ' - ' + MG58_DESCRDEP END) AS "
       "DESCRIZIONE";
  for (const std::string& key : column_keys) s += ",1 AS " + Bracketed(key);
  s += " FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = " + std::to_string(company);
  s += " ORDER BY MG58_CODDEP";
  return s;
}

std::string TransferStatements::SelectRevocations(const store::Principal& principal,
                                                  int64_t company) {
  return "SELECT * FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = " + std::to_string(company) +
         PrincipalTests(principal);
}

std::string TransferStatements::InsertPair(const store::Principal& principal, int64_t company,
                                           std::string_view origin, std::string_view destination) {
  std::string s(kInsertInto);
  s += " VALUES(" + std::to_string(company) + ",'" + db::SqlEscape(origin) + "', '" +
       db::SqlEscape(destination) + "',";
  s += principal.UserValue("NULL") + "," + principal.GroupValue("NULL") + ")";
  return s;
}

std::string TransferStatements::DeletePair(const store::Principal& principal, int64_t company,
                                           std::string_view origin, std::string_view destination) {
  std::string s = "DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = " + std::to_string(company);
  s += " AND FW3E_CODDEP_ORI = '" + db::SqlEscape(origin) + "' ";
  s += " AND FW3E_CODDEP_DES = '" + db::SqlEscape(destination) + "'";
  s += PrincipalTests(principal);
  return s;
}

std::string TransferStatements::DeleteDestination(const store::Principal& principal,
                                                  int64_t company, std::string_view destination) {
  std::string s = "DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = " + std::to_string(company);
  s += " AND FW3E_CODDEP_DES = '" + db::SqlEscape(destination) + "'";
  s += PrincipalTests(principal);
  return s;
}

std::string TransferStatements::InsertDestination(const store::Principal& principal,
                                                  int64_t company, std::string_view destination) {
  const std::string c = std::to_string(company);
  std::string s(kInsertInto);
  s += " SELECT " + c + ",MG58_CODDEP ,'" + db::SqlEscape(destination) + "' ," +
       principal.UserValue("NULL") + "," + principal.GroupValue("NULL") + " ";
  s += " FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = " + c;
  return s;
}

std::string TransferStatements::ProbeOrigin(const store::Principal& principal, int64_t company,
                                            std::string_view origin) {
  std::string s = "SELECT TOP 1 1 FROM FW3E_RVKDEPCOLL ";
  s += " WHERE FW3E_ID_FW07 " + principal.UserTest("IS NULL", "=");
  s += " AND FW3E_ID_FW06 " + principal.GroupTest("IS NULL", "=");
  s += " AND FW3E_DITTA_CG18 = " + std::to_string(company);
  s += " AND FW3E_CODDEP_ORI = '" + db::SqlEscape(origin) + "'";
  return s;
}

std::string TransferStatements::DeleteOrigin(const store::Principal& principal, int64_t company,
                                             std::string_view origin) {
  std::string s = "DELETE FROM FW3E_RVKDEPCOLL ";
  s += " WHERE FW3E_ID_FW07 " + principal.UserTest("IS NULL", "=");
  s += " AND FW3E_ID_FW06 " + principal.GroupTest("IS NULL", "=");
  s += " AND FW3E_DITTA_CG18 = " + std::to_string(company);
  s += " AND FW3E_CODDEP_ORI = '" + db::SqlEscape(origin) + "'";
  return s;
}

std::string TransferStatements::InsertOrigin(const store::Principal& principal, int64_t company,
                                             std::string_view origin) {
  const std::string c = std::to_string(company);
  std::string s(kInsertInto);
  s += " SELECT " + c + ",'" + db::SqlEscape(origin) + "', MG58_CODDEP," +
       principal.UserValue("NULL") + "," + principal.GroupValue("NULL");
  s += " FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = " + c;
  return s;
}

std::string TransferStatements::SelectRevocationsNotRevoked(const store::Principal& principal,
                                                            int64_t company) {
  const std::string c = std::to_string(company);
  return "SELECT FW3E_CODDEP_ORI, FW3E_CODDEP_DES, FW3E_FLGABILITATO FROM FW3E_RVKDEPCOLL WHERE "
         "FW3E_DITTA_CG18 = " +
         c + PrincipalTests(principal) +
         " AND (FW3E_FLGABILITATO <> 0 OR FW3E_CODDEP_ORI NOT IN (SELECT MG58_CODDEP FROM "
         "MG58_DEPOSITI WHERE MG58_DITTA_CG18 = " +
         c + "))";
}

std::string TransferStatements::InsertMissingPairs(const db::Value& user, const db::Value& group,
                                                   int64_t company) {
  std::string s(kInsertInto);
  s += " ";
  s += " SELECT ori.MG58_DITTA_CG18, ori.MG58_CODDEP as COD_ORI, dest.MG58_CODDEP as COD_DES, " +
       store::IdText(user, "NULL") + ", " + store::IdText(group, "NULL");
  s += " FROM MG58_DEPOSITI as ori ";
  s += " JOIN MG58_DEPOSITI as dest ON ori.MG58_DITTA_CG18 = dest.MG58_DITTA_CG18 ";
  s += " LEFT JOIN FW3E_RVKDEPCOLL ON FW3E_ID_FW07 ";
  s += user.IsNull() ? std::string(" IS NULL ") : " = " + store::IdText(user, "");
  s += "    AND FW3E_ID_FW06 ";
  s += group.IsNull() ? std::string(" IS NULL ") : " = " + store::IdText(group, "");
  s += "    AND FW3E_DITTA_CG18 = ori.MG58_DITTA_CG18  AND FW3E_CODDEP_ORI = ori.MG58_CODDEP AND "
       "FW3E_CODDEP_DES = dest.MG58_CODDEP ";
  s += " Where ori.MG58_DITTA_CG18 = " + std::to_string(company);
  s += " And FW3E_CODDEP_ORI Is Null And FW3E_CODDEP_DES Is Null ";
  s += " ORDER BY COD_ORI, COD_DES ";
  return s;
}

std::string TransferStatements::DeleteCompany(int64_t company) {
  return "DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_DITTA_CG18 = " + std::to_string(company);
}

std::string TransferStatements::OriginFilter(std::string_view origin) {
  return "CODICE = '" + db::SqlEscape(origin) + "'";
}

}  // namespace orv::sections
