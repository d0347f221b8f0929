#include "sections/parameters/parameter_statements.h"

#include "db/sql_literal.h"

namespace orv::sections {

namespace {

// " AND FW31_ID_FW07 " + test, " AND FW31_ID_FW06 " + test; `eq` is the
// equality text the kind's statement uses.
std::string PrincipalCondition(const store::Principal& principal, std::string_view eq) {
  return " AND FW31_ID_FW07 " + principal.UserTest(" IS NULL", eq) + " AND FW31_ID_FW06 " +
         principal.GroupTest(" IS NULL", eq);
}

// The logical key of one row, as the delete writes it.
std::string KeyCondition(const store::Principal& principal, int32_t kind, std::string_view code,
                         std::string_view company) {
  return " WHERE FW31_ID_FW07 " + principal.UserTest("IS NULL", "= ") + " AND FW31_ID_FW06 " +
         principal.GroupTest("IS NULL", "= ") + " AND FW31_INDTIPO = " + std::to_string(kind) +
         " AND FW31_CODTIPO = '" + db::SqlEscape(code) +
         "' AND FW31_DITTARAGG = " + std::string(company);
}

}  // namespace

bool ParameterStatements::IsParameterKind(int32_t section_code) {
  return section_code == kWarehouses || section_code == kProjects ||
         section_code == kMrpSimulations || section_code == kBlocking;
}

std::string ParameterStatements::Catalogue(int32_t section_code, const store::Principal& principal,
                                           int64_t company) {
  switch (section_code) {
    case kWarehouses:
      return CatalogueWarehouses(principal, company);
    case kProjects:
      return CatalogueProjects(principal, company);
    case kMrpSimulations:
      return CatalogueMrpSimulations(principal);
    case kBlocking:
      return CatalogueBlocking(principal, company);
    default:
      return {};
  }
}

std::string ParameterStatements::CatalogueWarehouses(const store::Principal& principal,
                                                     int64_t company) {
  std::string s =
      " SELECT CG18_DITTA,MG58_DITTA_CG18, MG58_CODDEP AS CODICE, MG58_CODDEP + ' - ' + "
      "MG58_DESCRDEP AS DESCRIZIONE,CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG AS "
      "RAGGRUPPAMENTO,";
  s += " CASE WHEN FW31_FLGABILITATO IS NULL THEN 1 ELSE 0 END AS ABILITATO, ";
  s += " ISNULL(FW31_FLGMODIFICA,1) AS MODIFICA,ISNULL(FW31_FLGELIMINA,1) AS "
       "ELIMINA,ISNULL(FW31_FLGINSERISCI,1) AS INSERIMENTO ,ISNULL(MG58_DITTA_CG18,0) AS DITTARAG "
       ",FW31_INDTIPO AS INDTIPO FROM MG58_DEPOSITI ";
  s += " LEFT OUTER JOIN FW31_RVKPARAMETRI ON MG58_CODDEP = FW31_CODTIPO   ";
  s += PrincipalCondition(principal, "= ");
  s += " AND FW31_INDTIPO = 6";
  s += " AND FW31_DITTARAGG = MG58_DITTA_CG18";
  s += " INNER JOIN CG18_ANADITTABASE ON MG58_DITTA_CG18 = CG18_DITTA ";
  s += " INNER JOIN CG16_ANAGGEN ON CG18_CODICE_CG16 = CG16_CODICE ";
  s += " WHERE CG18_DITTA = " + std::to_string(company);
  return s;
}

std::string ParameterStatements::CatalogueProjects(const store::Principal& principal,
                                                   int64_t company) {
  std::string s = "SELECT PD68_CODPROG AS CODICE, PD68_DESCRPROG AS DESCRIZIONE,0 AS INDTIPO,";
  s += " CASE WHEN FW31_FLGABILITATO IS NULL THEN 1 ELSE 0 END AS ABILITATO, ";
  s += " ISNULL(FW31_FLGMODIFICA,1) AS MODIFICA, ";
  s += " ISNULL(FW31_FLGELIMINA,1) AS ELIMINA, ";
  s += " ISNULL(FW31_FLGINSERISCI,1) AS INSERIMENTO, ";
  s += " PD68_DITTA_CG18 As DITTARAG, CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG AS "
       "RAGGRUPPAMENTO ";
  s += " FROM PD68_PROGETTI ";
  s += " LEFT OUTER JOIN FW31_RVKPARAMETRI ON convert(varchar(25),PD68_CODPROG) = FW31_CODTIPO ";
  s += PrincipalCondition(principal, " =");
  s += " AND FW31_DITTARAGG  = PD68_DITTA_CG18 AND FW31_INDTIPO = 8 ";
  s += " INNER JOIN CG18_ANADITTABASE ON PD68_DITTA_CG18 = CG18_DITTA ";
  s += " INNER JOIN CG16_ANAGGEN ON CG18_CODICE_CG16 = CG16_CODICE ";
  s += " WHERE PD68_DITTA_CG18 = " + std::to_string(company);
  return s;
}

std::string ParameterStatements::CatalogueMrpSimulations(const store::Principal& principal) {
  std::string s =
      " SELECT DISTINCT PD90_SIMULAZIONE AS CODICE,CG18_DITTA,CONVERT(VARCHAR(10),CG18_DITTA) + "
      "' - ' + CG16_RAGSOANAG AS RAGGRUPPAMENTO,'' AS DESCRIZIONE,  ";
  s += " CASE WHEN FW31_FLGABILITATO IS NULL THEN 1 ELSE 0 END AS "
       "ABILITATO,ISNULL(FW31_FLGMODIFICA,1) AS MODIFICA,ISNULL(FW31_FLGELIMINA,1) AS "
       "ELIMINA,ISNULL(FW31_FLGINSERISCI,1) AS INSERIMENTO ,ISNULL(CG18_DITTA,0) AS DITTARAG "
       ",FW31_INDTIPO AS INDTIPO FROM PD90_SIMULMRP  ";
  s += " LEFT OUTER JOIN FW31_RVKPARAMETRI ON PD90_SIMULAZIONE = FW31_CODTIPO   ";
  s += PrincipalCondition(principal, "= ");
  s += " AND FW31_INDTIPO = 15 AND FW31_DITTARAGG = PD90_DITTA_CG18 ";
  s += " INNER JOIN CG18_ANADITTABASE ON PD90_DITTA_CG18 = CG18_DITTA ";
  s += " INNER JOIN CG16_ANAGGEN ON CG18_CODICE_CG16 = CG16_CODICE ";
  s += " ORDER BY CG18_DITTA";
  return s;
}

std::string ParameterStatements::CatalogueBlocking(const store::Principal& principal,
                                                   int64_t company) {
  std::string s =
      "SELECT MG0F_CODPARAM AS CODICE, MG0F_DESCPARAM AS DESCRIZIONE, 0 AS MODIFICA, 0 AS "
      "ELIMINA, 0 AS INSERIMENTO,";
  s += " CASE WHEN FW31_FLGABILITATO IS NULL THEN 1 ELSE 0 END AS ABILITATO, MG0F_DITTA_CG18 AS "
       "DITTARAG, 0 AS RAGGRUPPAMENTO, ";
  s += "30";
  s += " AS INDTIPO ";
  s += " FROM MG0F_BLMPARAM LEFT JOIN FW31_RVKPARAMETRI ";
  s += "   ON FW31_CODTIPO = MG0F_CODPARAM AND FW31_DITTARAGG = MG0F_DITTA_CG18 ";
  s += "       AND FW31_INDTIPO = ";
  s += "30";
  s += PrincipalCondition(principal, " =");
  s += " WHERE MG0F_DITTA_CG18 = " + std::to_string(company);
  return s;
}

std::string ParameterStatements::SelectRevocation(const store::Principal& principal, int32_t kind,
                                                  std::string_view code, std::string_view company) {
  return "SELECT TOP 1 FW31_INDTIPO FROM FW31_RVKPARAMETRI " +
         KeyCondition(principal, kind, code, company);
}

std::string ParameterStatements::InsertRevocation(const store::Principal& principal, int32_t kind,
                                                  std::string_view code, std::string_view company,
                                                  int32_t abilitato, int32_t modifica,
                                                  int32_t inserimento, int32_t eliminazione) {
  std::string s =
      "INSERT INTO FW31_RVKPARAMETRI "
      "(FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,FW31_DITTARAGG,FW31_FLGABILITATO,FW31_"
      "FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI)";
  s += " VALUES ( ";
  s += principal.UserValue(" NULL");
  s += " , ";
  s += principal.GroupValue(" NULL");
  s += " , " + std::to_string(kind);
  s += " , '" + db::SqlEscape(code) + "' , ";
  s += company;
  s += " , " + std::to_string(abilitato);
  s += " , " + std::to_string(modifica);
  s += ", " + std::to_string(eliminazione);
  s += " , " + std::to_string(inserimento);
  s += ")";
  return s;
}

std::string ParameterStatements::UpdateRevocation(const store::Principal& principal, int32_t kind,
                                                  std::string_view code, std::string_view company,
                                                  int32_t abilitato, int32_t modifica,
                                                  int32_t inserimento, int32_t eliminazione) {
  std::string s = "UPDATE FW31_RVKPARAMETRI ";
  s += " SET FW31_FLGABILITATO = " + std::to_string(abilitato);
  s += " , FW31_FLGMODIFICA = " + std::to_string(modifica);
  s += " , FW31_FLGELIMINA = " + std::to_string(eliminazione);
  s += " , FW31_FLGINSERISCI = " + std::to_string(inserimento);
  s += " WHERE FW31_ID_FW07  " + principal.UserTest(" IS NULL", " =");
  s += " AND FW31_ID_FW06  " + principal.GroupTest(" IS NULL", " =");
  s += " AND FW31_INDTIPO = " + std::to_string(kind);
  s += " AND FW31_CODTIPO = '" + db::SqlEscape(code) +
       "' AND FW31_DITTARAGG = " + std::string(company);
  return s;
}

std::string ParameterStatements::DeleteRevocation(const store::Principal& principal, int32_t kind,
                                                  std::string_view code, std::string_view company) {
  return "DELETE FROM FW31_RVKPARAMETRI " + KeyCondition(principal, kind, code, company);
}

}  // namespace orv::sections
