#include "bulk/copy_statements.h"

namespace orv::bulk {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string UserTest(const store::Principal& p) { return p.UserTest("IS NULL", "="); }
std::string GroupTest(const store::Principal& p) { return p.GroupTest("IS NULL", "="); }
std::string UserValue(const store::Principal& p) { return p.UserValue("NULL"); }
std::string GroupValue(const store::Principal& p) { return p.GroupValue("NULL"); }

// Each piece followed by CRLF.
std::string Lines(std::initializer_list<std::string> pieces) {
  std::string s;
  for (const std::string& piece : pieces) {
    s += piece;
    s += kCrLf;
  }
  return s;
}

}  // namespace

std::string CopyStatements::DeleteCliFor(const store::Principal& destination) {
  return "DELETE FROM FW32_RVKCLIFOR  WHERE FW32_ID_FW06 " + GroupTest(destination) +
         " AND FW32_ID_FW07 " + UserTest(destination);
}

std::string CopyStatements::InsertCliFor(const store::Principal& destination,
                                         const store::Principal& source) {
  return "INSERT INTO FW32_RVKCLIFOR (FW32_ID_FW07, FW32_ID_FW06, FW32_DITTA, FW32_TIPOCF, "
         "FW32_CODMACRO, FW32_CODMIDDLE, FW32_CODRAGG, FW32_TIPORAGG, FW32_FLGABILITATO, "
         "FW32_FLGMODIFICA) (SELECT " +
         UserValue(destination) + ", " + GroupValue(destination) +
         ", A.FW32_DITTA, A.FW32_TIPOCF, A.FW32_CODMACRO, A.FW32_CODMIDDLE, A.FW32_CODRAGG, "
         "A.FW32_TIPORAGG, A.FW32_FLGABILITATO, A.FW32_FLGMODIFICA  FROM FW32_RVKCLIFOR AS A "
         " WHERE A.FW32_ID_FW06 " +
         GroupTest(source) + " AND A.FW32_ID_FW07 " + UserTest(source) + ")";
}

std::string CopyStatements::DeleteFamilies(const store::Principal& destination) {
  return "DELETE FROM FW3H_RVKARTICOLI  WHERE FW3H_ID_FW06 " + GroupTest(destination) +
         " AND FW3H_ID_FW07 " + UserTest(destination);
}

std::string CopyStatements::InsertFamilies(const store::Principal& destination,
                                           const store::Principal& source) {
  return "INSERT INTO FW3H_RVKARTICOLI (FW3H_ID_FW07, FW3H_ID_FW06, FW3H_DITTA, FW3H_CODMACRO, "
         "FW3H_CODMIDDLE, FW3H_CODRAGG, FW3H_TIPORAGG, FW3H_FLGABILITATO, FW3H_FLGINSERIMENTO, "
         "FW3H_FLGMODIFICA, FW3H_FLGELIMINA) (SELECT " +
         UserValue(destination) + ", " + GroupValue(destination) +
         ", A.FW3H_DITTA, A.FW3H_CODMACRO, A.FW3H_CODMIDDLE, A.FW3H_CODRAGG, A.FW3H_TIPORAGG, "
         "A.FW3H_FLGABILITATO, A.FW3H_FLGINSERIMENTO, A.FW3H_FLGMODIFICA, A.FW3H_FLGELIMINA "
         " FROM FW3H_RVKARTICOLI AS A  WHERE A.FW3H_ID_FW06 " +
         GroupTest(source) + " AND A.FW3H_ID_FW07 " + UserTest(source) + ")";
}

std::string CopyStatements::DeleteTransfers(const store::Principal& destination) {
  return "DELETE FROM FW3E_RVKDEPCOLL  WHERE FW3E_ID_FW06 " + GroupTest(destination) +
         " AND FW3E_ID_FW07 " + UserTest(destination);
}

std::string CopyStatements::InsertTransfers(const store::Principal& destination,
                                            const store::Principal& source) {
  return "INSERT INTO FW3E_RVKDEPCOLL (FW3E_ID_FW07, FW3E_ID_FW06, FW3E_DITTA_CG18, "
         "FW3E_CODDEP_ORI, FW3E_CODDEP_DES, FW3E_FLGABILITATO) (SELECT " +
         UserValue(destination) + ", " + GroupValue(destination) +
         ", A.FW3E_DITTA_CG18, A.FW3E_CODDEP_ORI, A.FW3E_CODDEP_DES, A.FW3E_FLGABILITATO "
         " FROM FW3E_RVKDEPCOLL AS A  WHERE A.FW3E_ID_FW06 " +
         GroupTest(source) + " AND A.FW3E_ID_FW07 " + UserTest(source) + ")";
}

std::string CopyStatements::DeleteNodes(const store::Principal& destination) {
  return Lines({" delete from FW3N_RVKNODI ", " where FW3N_ID_FW06 " + GroupTest(destination),
                " and FW3N_ID_FW07 " + UserTest(destination)});
}

std::string CopyStatements::InsertNodes(const store::Principal& destination,
                                        const store::Principal& source) {
  return Lines(
      {" insert into FW3N_RVKNODI(FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, "
       "FW3N_ID_FW06, FW3N_ID_FW07) ",
       " select FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, " + GroupValue(destination) +
           ", " + UserValue(destination),
       " from FW3N_RVKNODI ", " where FW3N_ID_FW06 " + GroupTest(source),
       " and FW3N_ID_FW07 " + UserTest(source)});
}

std::string CopyStatements::DeleteParameters(const store::Principal& destination,
                                             std::string_view kinds) {
  return "DELETE FROM FW31_RVKPARAMETRI  WHERE FW31_ID_FW06 " + GroupTest(destination) +
         " AND FW31_ID_FW07  " + UserTest(destination) + " AND FW31_INDTIPO IN (" +
         std::string(kinds) + ") ";
}

std::string CopyStatements::InsertParameters(const store::Principal& destination,
                                             const store::Principal& source,
                                             std::string_view kinds) {
  return "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
         "FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, "
         "FW31_FLGINSERISCI) (SELECT " +
         UserValue(destination) + ", " + GroupValue(destination) +
         ", A.FW31_INDTIPO, A.FW31_CODTIPO, A.FW31_DITTARAGG, A.FW31_FLGABILITATO, "
         "A.FW31_FLGMODIFICA, A.FW31_FLGELIMINA, A.FW31_FLGINSERISCI  FROM FW31_RVKPARAMETRI AS "
         "A  WHERE A.FW31_ID_FW06 " +
         GroupTest(source) + " AND A.FW31_ID_FW07  " + UserTest(source) +
         " AND A.FW31_INDTIPO IN (" + std::string(kinds) + ") )";
}

std::string CopyStatements::ParameterKinds(bool warehouses, bool mrp_simulations, bool blocking,
                                           bool projects) {
  std::string list;
  if (warehouses) list += "6, ";
  if (mrp_simulations) list += "15, ";
  if (blocking) list += "30, ";
  if (projects) list += "8, ";
  if (list.ends_with(", ")) list.resize(list.size() - 2);
  return list;
}

}  // namespace orv::bulk
