#include "sections/revoke_all/bulk_statements.h"

#include "db/sql_literal.h"

namespace orv::sections {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// "IS NULL" or "=" + identifier.
std::string UserTest(const store::Principal& p) { return p.UserTest("IS NULL", "="); }
std::string GroupTest(const store::Principal& p) { return p.GroupTest("IS NULL", "="); }
// "IS NULL" or " =" + identifier.
std::string UserTestSpaced(const store::Principal& p) { return p.UserTest("IS NULL", " ="); }
std::string GroupTestSpaced(const store::Principal& p) { return p.GroupTest("IS NULL", " ="); }

}  // namespace

std::string BulkStatements::DeleteTransfers(const store::Principal& principal,
                                            std::string_view company) {
  return "DELETE FROM FW3E_RVKDEPCOLL  WHERE FW3E_ID_FW07 " + UserTest(principal) +
         " AND FW3E_ID_FW06 " + GroupTest(principal) +
         " AND FW3E_DITTA_CG18 = " + std::string(company);
}

std::string BulkStatements::ProbeCliFor(const store::Principal& principal) {
  return "SELECT * FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 " + UserTestSpaced(principal) +
         " AND FW32_ID_FW06 " + GroupTestSpaced(principal);
}

std::string BulkStatements::ProbeFamilies(const store::Principal& principal,
                                          std::string_view company) {
  return "SELECT * FROM FW3H_RVKARTICOLI WHERE  FW3H_DITTA = " + std::string(company) +
         " AND FW3H_ID_FW07 " + UserTest(principal) + " AND FW3H_ID_FW06 " + GroupTest(principal);
}

std::string BulkStatements::ProbeNodes(const store::Principal& principal,
                                       std::string_view company) {
  std::string s = " select * from FW3N_RVKNODI ";
  s += kCrLf;
  s += " where FW3N_DITTA_CG18 = " + std::string(company);
  s += kCrLf;
  s += " and FW3N_ID_FW06 " + GroupTest(principal);
  s += kCrLf;
  s += " and FW3N_ID_FW07 " + UserTest(principal);
  s += kCrLf;
  return s;
}

std::string BulkStatements::ProbeParameters(const store::Principal& principal, int32_t kind) {
  return "SELECT * FROM FW31_RVKPARAMETRI  WHERE FW31_ID_FW07 " + UserTest(principal) +
         " AND FW31_ID_FW06 " + GroupTest(principal) +
         " AND FW31_INDTIPO = " + std::to_string(kind);
}

std::string BulkStatements::DeleteCliFor(const store::Principal& principal) {
  return "DELETE FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 " + UserTestSpaced(principal) +
         " AND FW32_ID_FW06 " + GroupTestSpaced(principal);
}

std::string BulkStatements::EnableFamilies(const store::Principal& principal,
                                           std::string_view company) {
  return "UPDATE FW3H_RVKARTICOLI  SET FW3H_FLGINSERIMENTO = 1 ,FW3H_FLGMODIFICA = 1"
         " ,FW3H_FLGELIMINA = 1 WHERE FW3H_DITTA = " +
         std::string(company) + " AND FW3H_ID_FW07  " + UserTestSpaced(principal) +
         " AND FW3H_ID_FW06  " + GroupTestSpaced(principal);
}

std::string BulkStatements::DeleteParameters(const store::Principal& principal, int32_t kind) {
  return "DELETE FROM FW31_RVKPARAMETRI  WHERE FW31_ID_FW07 " + UserTest(principal) +
         " AND FW31_ID_FW06 " + GroupTest(principal) +
         " AND FW31_INDTIPO = " + std::to_string(kind);
}

std::string BulkStatements::SetNodesWork(std::string_view work_table, bool enable) {
  return " update " + db::SqlIdentifier(work_table) + " set ABILITATO = " + (enable ? "1" : "0") +
         " WHERE INCLUSA=1";
}

std::string BulkStatements::SelectParameterRow(const store::Principal& principal, int32_t kind,
                                               std::string_view code, std::string_view company) {
  // The look-up by the row's logical key; an absent principal is tested with
  // IS NULL, as a filter on the whole table would match it.
  return "SELECT * FROM FW31_RVKPARAMETRI WHERE  FW31_ID_FW07 " +
         principal.UserTest("IS NULL", "= ") + " AND FW31_ID_FW06 " +
         principal.GroupTest("IS NULL", "= ") + " AND FW31_INDTIPO = " + std::to_string(kind) +
         " AND FW31_CODTIPO = '" + db::SqlEscape(code) +
         "' AND FW31_DITTARAGG = " + std::string(company);
}

std::string BulkStatements::InsertParameterRow(const store::Principal& principal, int32_t kind,
                                               std::string_view code, std::string_view company,
                                               int32_t abilitato, int32_t modifica,
                                               int32_t eliminazione, int32_t inserimento) {
  return "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
         "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI)"
         " VALUES ( " +
         principal.UserValue(" NULL") + " , " + principal.GroupValue(" NULL") + " , " +
         std::to_string(kind) + " , '" + db::SqlEscape(code) + "' , " + std::string(company) +
         " , " + std::to_string(abilitato) + " , " + std::to_string(modifica) + ", " +
         std::to_string(eliminazione) + " , " + std::to_string(inserimento) + ")";
}

std::string BulkStatements::UpdateParameterRow(const store::Principal& principal, int32_t kind,
                                               std::string_view code, std::string_view company) {
  return "UPDATE FW31_RVKPARAMETRI  SET FW31_FLGABILITATO = 0 , FW31_FLGMODIFICA = 0"
         " , FW31_FLGELIMINA = 0 , FW31_FLGINSERISCI = 0 WHERE FW31_ID_FW07  " +
         UserTestSpaced(principal) + " AND FW31_ID_FW06  " + GroupTestSpaced(principal) +
         " AND FW31_INDTIPO = " + std::to_string(kind) + " AND FW31_CODTIPO = '" +
         db::SqlEscape(code) + "' AND FW31_DITTARAGG = " + std::string(company);
}

std::string BulkStatements::RevokeParameterRows(const store::Principal& principal, int32_t kind,
                                                std::string_view company, size_t codes) {
  std::string s =
      "UPDATE FW31_RVKPARAMETRI SET FW31_FLGABILITATO = 0, FW31_FLGMODIFICA = 0,"
      " FW31_FLGELIMINA = 0, FW31_FLGINSERISCI = 0 WHERE FW31_ID_FW07 " +
      UserTest(principal) + " AND FW31_ID_FW06 " + GroupTest(principal) +
      " AND FW31_INDTIPO = " + std::to_string(kind) +
      " AND FW31_DITTARAGG = " + std::string(company) + " AND FW31_CODTIPO IN (";
  for (size_t i = 0; i < codes; ++i) s += i == 0 ? "?" : ", ?";
  s += ")";
  return s;
}

std::string BulkStatements::AnyParameterRow(const store::Principal& principal, int32_t kind,
                                            std::string_view company) {
  return "SELECT TOP 1 1 AS ESISTE FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 " +
         UserTest(principal) + " AND FW31_ID_FW06 " + GroupTest(principal) +
         " AND FW31_INDTIPO = " + std::to_string(kind) +
         " AND FW31_DITTARAGG = " + std::string(company);
}

namespace {

// The revoked rows of `codes` markers as an INSERT ... SELECT from a derived
// table V of one column CODTIPO (a UNION ALL of one-row SELECTs).
std::string InsertRevokedCodes(const store::Principal& principal, int32_t kind,
                               std::string_view company, size_t codes) {
  std::string s =
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
      "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI)"
      " SELECT " +
      principal.UserValue("NULL") + ", " + principal.GroupValue("NULL") + ", " +
      std::to_string(kind) + ", V.CODTIPO, " + std::string(company) + ", 0, 0, 0, 0 FROM (";
  s.reserve(s.size() + codes * 20 + 400);
  for (size_t i = 0; i < codes; ++i) s += i == 0 ? "SELECT ? AS CODTIPO" : " UNION ALL SELECT ?";
  s += ") AS V";
  return s;
}

}  // namespace

std::string BulkStatements::InsertParameterRows(const store::Principal& principal, int32_t kind,
                                                std::string_view company, size_t codes) {
  return InsertRevokedCodes(principal, kind, company, codes);
}

std::string BulkStatements::InsertMissingParameterRows(const store::Principal& principal,
                                                       int32_t kind, std::string_view company,
                                                       size_t codes) {
  // Each code inserted unless the principal has its row already.
  std::string s = InsertRevokedCodes(principal, kind, company, codes);
  s += " WHERE NOT EXISTS (SELECT 1 FROM FW31_RVKPARAMETRI R WHERE R.FW31_ID_FW07 " +
       UserTest(principal) + " AND R.FW31_ID_FW06 " + GroupTest(principal) +
       " AND R.FW31_INDTIPO = " + std::to_string(kind) +
       " AND R.FW31_CODTIPO = V.CODTIPO AND R.FW31_DITTARAGG = " + std::string(company) + ")";
  return s;
}

}  // namespace orv::sections
