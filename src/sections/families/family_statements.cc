#include "sections/families/family_statements.h"

#include "db/sql_literal.h"

namespace orv::sections {

namespace {

// The row's conditions after the company, as the updates write them.
std::string RowCondition(const store::Principal& principal, const FamilyRow& row) {
  return " WHERE FW3H_DITTA = " + row.company + " AND FW3H_ID_FW07  " +
         principal.UserTest("IS NULL", " =") + " AND FW3H_ID_FW06  " +
         principal.GroupTest("IS NULL", " =") + " AND FW3H_CODMACRO = '" + db::SqlEscape(row.code) +
         "' AND FW3H_CODMIDDLE = '" + db::SqlEscape(row.middle) +
         "' AND FW3H_CODRAGG = '' AND FW3H_TIPORAGG = '" + db::SqlEscape(row.tiporagg) + "'";
}

}  // namespace

std::string_view FamilyStatements::FlagColumn(std::string_view column_key) {
  if (column_key == "INSERIMENTO") return "FW3H_FLGINSERIMENTO";
  if (column_key == "MODIFICA") return "FW3H_FLGMODIFICA";
  if (column_key == "ELIMINAZIONE") return "FW3H_FLGELIMINA";
  return {};
}

std::string FamilyStatements::PrincipalClause(const store::Principal& principal) {
  return " AND  FW3H_ID_FW07 " + principal.UserTest("IS NULL", "=") + " AND FW3H_ID_FW06 " +
         principal.GroupTest("IS NULL", "=");
}

std::string FamilyStatements::FamilyList(const store::Principal& principal, int64_t company) {
  std::string s =
      " SELECT MG53_DITTA_CG18, MG53_CODFAM, MG53_DESCRFAM, ISNULL(FW3H_FLGINSERIMENTO, 1) AS "
      "INSERIMENTO, ";
  s += "        ISNULL(FW3H_FLGELIMINA, 1) AS ELIMINA, ISNULL(FW3H_FLGMODIFICA, 1) AS MODIFICA ";
  s += "        FROM MG53_FAMIGLIE ";
  s += "        LEFT JOIN FW3H_RVKARTICOLI ON FW3H_DITTA = MG53_DITTA_CG18 ";
  // The saves write the family code trimmed: compare it trimmed here too.
  s += "             AND RTRIM(LTRIM(MG53_CODFAM)) = FW3H_CODMACRO AND "
       "RTRIM(LTRIM(FW3H_CODMIDDLE)) = '' AND RTRIM(LTRIM(FW3H_CODRAGG)) = '' AND FW3H_TIPORAGG = "
       "'FAM' ";
  s += PrincipalClause(principal);
  s += "        WHERE MG53_DITTA_CG18 = " + std::to_string(company);
  s += " ORDER BY MG53_DESCRFAM ";
  return s;
}

std::string FamilyStatements::SelectRevocation(const store::Principal& principal,
                                               const FamilyRow& row) {
  return "SELECT TOP 1 FW3H_DITTA FROM FW3H_RVKARTICOLI " + RowCondition(principal, row);
}

std::string FamilyStatements::InsertRevocation(const store::Principal& principal,
                                               const FamilyRow& row) {
  std::string s =
      "INSERT INTO FW3H_RVKARTICOLI (FW3H_ID_FW07,FW3H_ID_FW06,FW3H_DITTA,FW3H_CODMACRO,";
  s += " FW3H_CODMIDDLE,FW3H_CODRAGG,FW3H_TIPORAGG,FW3H_FLGABILITATO,FW3H_FLGMODIFICA,";
  s += " FW3H_FLGINSERIMENTO, FW3H_FLGELIMINA) ";
  s += " VALUES ( " + principal.UserValue("NULL") + " , " + principal.GroupValue("NULL") + " , " +
       row.company + " , '" + db::SqlEscape(row.code) + "' , '" + db::SqlEscape(row.middle) +
       "' , '' , '" + db::SqlEscape(row.tiporagg) + "' , 1,1,1,1)";
  return s;
}

std::string FamilyStatements::UpdateRight(const store::Principal& principal, const FamilyRow& row,
                                          std::string_view flag_column, int32_t value) {
  std::string s =
      "UPDATE FW3H_RVKARTICOLI  SET " + std::string(flag_column) + "= " + std::to_string(value);
  if (flag_column == "FW3H_FLGELIMINA" && value == 0) s += ", FW3H_FLGMODIFICA = 0";
  s += RowCondition(principal, row);
  return s;
}

std::string FamilyStatements::RevokeAll(const store::Principal& principal, const FamilyRow& row) {
  return "UPDATE FW3H_RVKARTICOLI  SET FW3H_FLGINSERIMENTO = 0,FW3H_FLGMODIFICA = 0, "
         "FW3H_FLGELIMINA = 0 " +
         RowCondition(principal, row);
}

}  // namespace orv::sections
