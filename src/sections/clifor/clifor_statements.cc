#include "sections/clifor/clifor_statements.h"

#include "db/sql_literal.h"

namespace orv::sections {

namespace {

// The seven places every statement of the tree is made of.
std::string Statement(std::string_view select, std::string_view from, std::string_view join,
                      std::string_view condition, const std::string& principal_clause,
                      std::string_view where, int64_t company, std::string_view order_by) {
  std::string s;
  s += select;
  s += from;
  s += join;
  s += condition;
  s += principal_clause;
  s += where;
  s += std::to_string(company);
  s += order_by;
  return s;
}

// The branch's logical key after "WHERE"/"AND": company, principal (as the
// update writes it), type, codes and kind. Groupings and sites are matched
// as the tree's join matches them, on the third code alone: a stored row
// with other first and second codes is the one the tree shows, so it is the
// one a save must find and change.
std::string KeyCondition(const store::Principal& principal, const CliForBranch& branch) {
  const bool third_code_only = branch.tiporagg == "RAGG1" || branch.tiporagg == "RAGG2" ||
                               branch.tiporagg == "RAGG3" || branch.tiporagg == "SEDE";
  std::string s = "FW32_DITTA = " + branch.company + " AND FW32_ID_FW07  " +
                  principal.UserTest("IS NULL", " =") + " AND FW32_ID_FW06  " +
                  principal.GroupTest("IS NULL", " =") + " AND FW32_TIPOCF = " + branch.tipocf;
  if (!third_code_only) {
    s += " AND FW32_CODMACRO = '" + db::SqlEscape(branch.macro) + "' AND FW32_CODMIDDLE = '" +
         db::SqlEscape(branch.middle) + "'";
  }
  s += " AND FW32_CODRAGG = '" + db::SqlEscape(branch.ragg) + "' AND FW32_TIPORAGG = '" +
       db::SqlEscape(branch.tiporagg) + "'";
  return s;
}

}  // namespace

std::string CliForStatements::PrincipalClause(const store::Principal& principal) {
  return " AND FW32_ID_FW07 " + principal.UserTest("IS NULL", "=") + " AND FW32_ID_FW06 " +
         principal.GroupTest("IS NULL", "=");
}

std::string CliForStatements::TreeBatch(const store::Principal& principal, int64_t company) {
  const std::string clause = PrincipalClause(principal);
  return MacroAreas(clause, company) + Areas(clause, company) + Zones(clause, company) +
         MacroCategories(clause, company) + Categories(clause, company) +
         SubCategories(clause, company) + Grouping1(clause, company) + Grouping2(clause, company) +
         Grouping3(clause, company) + Sites(clause, company);
}

std::string CliForStatements::MacroAreas(const std::string& principal_clause, int64_t company) {
  return Statement(
      " SELECT distinct P.MG07_DITTA_CG18, P.MG07_TIPOCF, P.MG07_MACROAREA, P.MG07_DESCRMACROAR, "
      "ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "        FROM MG07_MACROAREE FF cross apply dbo.FNMG07_MACROAREE(FF.MG07_MACROAREA, "
      "FF.MG07_DITTA_CG18, FF.MG07_TIPOCF) P ",
      "        LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG07_TIPOCF AND FW32_DITTA = "
      "P.MG07_DITTA_CG18 ",
      "             AND P.MG07_MACROAREA = FW32_CODMACRO AND RTRIM(LTRIM(FW32_CODMIDDLE)) = '' AND "
      "RTRIM(LTRIM(FW32_CODRAGG)) = '' AND FW32_TIPORAGG = 'AREA' ",
      principal_clause, "        WHERE P.MG07_DITTA_CG18 = ", company, " ORDER BY P.MG07_TIPOCF ");
}

std::string CliForStatements::Areas(const std::string& principal_clause, int64_t company) {
  return Statement(
      " ; SELECT distinct P.MG08_DITTA_CG18, P.MG08_TIPOCF_MG07, P.MG08_MACROAREA_MG07, "
      "P.MG08_AREA, P.MG08_DESCRAREA, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "          FROM MG08_AREE FF cross apply dbo.FNMG08_AREE(FF.MG08_MACROAREA_MG07, "
      "FF.MG08_AREA, "
      "FF.MG08_DITTA_CG18, FF.MG08_TIPOCF_MG07) P ",
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG08_TIPOCF_MG07 AND FW32_DITTA = "
      "P.MG08_DITTA_CG18 AND P.MG08_MACROAREA_MG07 = FW32_CODMACRO ",
      "             AND FW32_CODMIDDLE = P.MG08_AREA AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND "
      "FW32_TIPORAGG = 'AREA' ",
      principal_clause, "          WHERE P.MG08_DITTA_CG18 = ", company,
      " ORDER BY P.MG08_TIPOCF_MG07 ");
}

std::string CliForStatements::Zones(const std::string& principal_clause, int64_t company) {
  return Statement(
      " ; SELECT distinct P.MG09_DITTA_CG18, P.MG09_TIPOCF_MG08, P.MG09_MACROAREA_MG08, "
      "P.MG09_AREA_MG08, P.MG09_ZONA, P.MG09_DESCRZONA, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "          FROM MG09_ZONE FF cross apply dbo.FNMG09_ZONE(FF.MG09_MACROAREA_MG08, "
      "FF.MG09_AREA_MG08, FF.MG09_ZONA, FF.MG09_DITTA_CG18, FF.MG09_TIPOCF_MG08) P ",
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG09_TIPOCF_MG08 AND FW32_DITTA = "
      "P.MG09_DITTA_CG18 AND P.MG09_MACROAREA_MG08 = FW32_CODMACRO ",
      "             AND FW32_CODMIDDLE = P.MG09_AREA_MG08 AND P.MG09_ZONA = FW32_CODRAGG AND "
      "FW32_TIPORAGG = 'AREA' ",
      principal_clause, "          WHERE P.MG09_DITTA_CG18 = ", company,
      " ORDER BY P.MG09_TIPOCF_MG08 ");
}

std::string CliForStatements::MacroCategories(const std::string& principal_clause,
                                              int64_t company) {
  return Statement(
      " ; SELECT distinct P.MG10_DITTA_CG18, P.MG10_TIPOCF, P.MG10_MACROCAT, "
      "P.MG10_DESCRMACROCAT, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "          FROM MG10_MACROCAT FF cross apply dbo.FNMG10_MACROCAT(FF.MG10_MACROCAT, "
      "FF.MG10_DITTA_CG18, FF.MG10_TIPOCF) P ",
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG10_TIPOCF AND FW32_DITTA = "
      "P.MG10_DITTA_CG18 AND ",
      "                 P.MG10_MACROCAT = FW32_CODMACRO AND RTRIM(LTRIM(FW32_CODMIDDLE)) = '' AND "
      "RTRIM(LTRIM(FW32_CODRAGG)) = '' AND FW32_TIPORAGG = 'CAT' ",
      principal_clause, "          WHERE P.MG10_DITTA_CG18 = ", company, " ORDER BY MG10_TIPOCF ");
}

std::string CliForStatements::Categories(const std::string& principal_clause, int64_t company) {
  return Statement(
      " ; SELECT distinct P.MG11_DITTA_CG18, P.MG11_TIPOCF_MG10, P.MG11_MACROCAT_MG10, "
      "P.MG11_CATEG, P.MG11_DESCRCAT, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "          FROM MG11_CATEG FF cross apply dbo.FNMG11_CATEG(FF.MG11_MACROCAT_MG10, "
      "FF.MG11_CATEG, FF.MG11_DITTA_CG18, FF.MG11_TIPOCF_MG10) P ",
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG11_TIPOCF_MG10 AND FW32_DITTA = "
      "P.MG11_DITTA_CG18 AND P.MG11_MACROCAT_MG10 = FW32_CODMACRO ",
      "             AND FW32_CODMIDDLE = P.MG11_CATEG AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND "
      "FW32_TIPORAGG = 'CAT' ",
      principal_clause, "          WHERE P.MG11_DITTA_CG18 = ", company,
      " ORDER BY MG11_TIPOCF_MG10 ");
}

std::string CliForStatements::SubCategories(const std::string& principal_clause, int64_t company) {
  return Statement(
      " ; SELECT P.MG12_DITTA_CG18, P.MG12_TIPOCF_MG11, P.MG12_MACROCAT_MG11, P.MG12_CATEG_MG11, "
      "P.MG12_SOTTCAT, P.MG12_DESCRSOTTOCAT, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "          FROM MG12_SOTTOCAT FF cross apply dbo.FNMG12_SOTTOCAT(FF.MG12_MACROCAT_MG11, "
      "FF.MG12_CATEG_MG11, FF.MG12_SOTTCAT, FF.MG12_DITTA_CG18, FF.MG12_TIPOCF_MG11) P ",
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG12_TIPOCF_MG11 AND FW32_DITTA = "
      "P.MG12_DITTA_CG18 AND P.MG12_MACROCAT_MG11 = FW32_CODMACRO ",
      "             AND FW32_CODMIDDLE = P.MG12_CATEG_MG11 AND P.MG12_SOTTCAT = FW32_CODRAGG AND "
      "FW32_TIPORAGG = 'CAT' ",
      principal_clause, "          WHERE P.MG12_DITTA_CG18 = ", company,
      " ORDER BY MG12_TIPOCF_MG11 ");
}

std::string CliForStatements::Grouping1(const std::string& principal_clause, int64_t company) {
  return Statement(
      " ; SELECT distinct P.MG31_DITTA_CG18, P.MG31_TIPOCF, P.MG31_CODRAGGRCF1, "
      "P.MG31_DESCRAGGRCF1, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "          FROM MG31_RAGGRCF1 FF cross apply dbo.FNMG31_RAGGRCF1(FF.MG31_CODRAGGRCF1, "
      "FF.MG31_DITTA_CG18, FF.MG31_TIPOCF) P ",
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG31_TIPOCF AND FW32_DITTA = "
      "P.MG31_DITTA_CG18 ",
      "             AND P.MG31_CODRAGGRCF1 = FW32_CODRAGG AND FW32_TIPORAGG = 'RAGG1' ",
      principal_clause, "          WHERE P.MG31_DITTA_CG18 = ", company, "");
}

std::string CliForStatements::Grouping2(const std::string& principal_clause, int64_t company) {
  return Statement(
      " ; SELECT distinct P.MG32_DITTA_CG18, P.MG32_TIPOCF, P.MG32_CODRAGGRCF2, "
      "P.MG32_DESCRAGGRCF2, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "          FROM MG32_RAGGRCF2 FF cross apply dbo.FNMG32_RAGGRCF2(FF.MG32_CODRAGGRCF2, "
      "FF.MG32_DITTA_CG18, FF.MG32_TIPOCF) P ",
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG32_TIPOCF AND FW32_DITTA = "
      "P.MG32_DITTA_CG18 ",
      "             AND P.MG32_CODRAGGRCF2 = FW32_CODRAGG AND FW32_TIPORAGG = 'RAGG2' ",
      principal_clause, "          WHERE P.MG32_DITTA_CG18 = ", company, "");
}

std::string CliForStatements::Grouping3(const std::string& principal_clause, int64_t company) {
  return Statement(
      " ; SELECT distinct P.MG33_DITTA_CG18, P.MG33_TIPOCF, P.MG33_CODRAGGRCF3, "
      "P.MG33_DESCRAGGRCF3, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "          FROM MG33_RAGGRCF3 FF cross apply dbo.FNMG33_RAGGRCF3(FF.MG33_CODRAGGRCF3, "
      "FF.MG33_DITTA_CG18, FF.MG33_TIPOCF) P ",
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG33_TIPOCF AND FW32_DITTA = "
      "P.MG33_DITTA_CG18 ",
      "             AND P.MG33_CODRAGGRCF3 = FW32_CODRAGG AND FW32_TIPORAGG = 'RAGG3' ",
      principal_clause, "          WHERE P.MG33_DITTA_CG18 = ", company, "");
}

std::string CliForStatements::Sites(const std::string& principal_clause, int64_t company) {
  return Statement(
      " ; SELECT distinct CG31_DITTA_CG18, CG31_CODICE, CG31_INDIRIZZO, "
      "ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
      "          FROM CG31_ANADITTASEDI ",
      "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = -1 AND FW32_DITTA = CG31_DITTA_CG18 ",
      "             AND CG31_CODICE = FW32_CODRAGG AND FW32_TIPORAGG = 'SEDE' ", principal_clause,
      "          WHERE CG31_DITTA_CG18 = ", company, "");
}

std::string CliForStatements::SelectRevocation(const store::Principal& principal,
                                               const CliForBranch& branch) {
  return "SELECT TOP 1 FW32_DITTA FROM FW32_RVKCLIFOR WHERE " + KeyCondition(principal, branch);
}

std::string CliForStatements::InsertRevocation(const store::Principal& principal,
                                               const CliForBranch& branch, int32_t abilitato) {
  std::string s =
      "INSERT INTO FW32_RVKCLIFOR "
      "(FW32_ID_FW07,FW32_ID_FW06,FW32_DITTA,FW32_TIPOCF,FW32_CODMACRO,FW32_CODMIDDLE,FW32_CODRAGG,"
      "FW32_TIPORAGG,FW32_FLGABILITATO,FW32_FLGMODIFICA) ";
  s += " VALUES ( " + principal.UserValue("NULL") + " , " + principal.GroupValue("NULL");
  s += " , " + branch.company + " , " + branch.tipocf;
  s += " , '" + db::SqlEscape(branch.macro) + "' , '" + db::SqlEscape(branch.middle);
  s += "' , '" + db::SqlEscape(branch.ragg) + "' , '" + db::SqlEscape(branch.tiporagg);
  s += "' , " + std::to_string(abilitato) + " , 0)";
  return s;
}

std::string CliForStatements::UpdateRevocation(const store::Principal& principal,
                                               const CliForBranch& branch, int32_t abilitato) {
  return "UPDATE FW32_RVKCLIFOR  SET FW32_FLGABILITATO = " + std::to_string(abilitato) +
         " , FW32_FLGMODIFICA = 0 WHERE " + KeyCondition(principal, branch);
}

}  // namespace orv::sections
