// The texts of the bulk and copy statements: principal tests and values as
// each statement writes them, quotes doubled, the kind list of the copy.

#include "sections/revoke_all/bulk_statements.h"

#include <gtest/gtest.h>

#include "bulk/copy_statements.h"

namespace orv::bulk {
namespace {

using sections::BulkStatements;

using store::Principal;

TEST(BulkStatementsTest, PrincipalTestsAndValues) {
  const Principal user = Principal::User(12, "u");
  const Principal group = Principal::Group(4, "g");
  EXPECT_EQ(BulkStatements::DeleteTransfers(user, "1"),
            "DELETE FROM FW3E_RVKDEPCOLL  WHERE FW3E_ID_FW07 =12 AND FW3E_ID_FW06 IS NULL AND "
            "FW3E_DITTA_CG18 = 1");
  EXPECT_EQ(BulkStatements::ProbeCliFor(group),
            "SELECT * FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 IS NULL AND FW32_ID_FW06  =4");
  EXPECT_EQ(BulkStatements::ProbeNodes(group, "1"),
            " select * from FW3N_RVKNODI \r\n where FW3N_DITTA_CG18 = 1\r\n and FW3N_ID_FW06 "
            "=4\r\n and FW3N_ID_FW07 IS NULL\r\n");
  EXPECT_EQ(BulkStatements::EnableFamilies(user, "3"),
            "UPDATE FW3H_RVKARTICOLI  SET FW3H_FLGINSERIMENTO = 1 ,FW3H_FLGMODIFICA = 1 "
            ",FW3H_FLGELIMINA = 1 WHERE FW3H_DITTA = 3 AND FW3H_ID_FW07   =12 AND FW3H_ID_FW06  "
            "IS NULL");
  EXPECT_EQ(BulkStatements::InsertParameterRow(group, 30, "D'X", "1", 0, 0, 0, 0),
            "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
            "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI)"
            " VALUES (  NULL , 4 , 30 , 'D''X' , 1 , 0 , 0, 0 , 0)");
  EXPECT_EQ(BulkStatements::UpdateParameterRow(user, 6, "A'", "2"),
            "UPDATE FW31_RVKPARAMETRI  SET FW31_FLGABILITATO = 0 , FW31_FLGMODIFICA = 0 , "
            "FW31_FLGELIMINA = 0 , FW31_FLGINSERISCI = 0 WHERE FW31_ID_FW07   =12 AND "
            "FW31_ID_FW06  IS NULL AND FW31_INDTIPO = 6 AND FW31_CODTIPO = 'A''' AND "
            "FW31_DITTARAGG = 2");
  EXPECT_EQ(BulkStatements::SetNodesWork("##tempTabc", false),
            " update ##tempTabc set ABILITATO = 0 WHERE INCLUSA=1");
}

TEST(CopyStatementsTest, DestinationValuesAndSourceTests) {
  const Principal to = Principal::User(9, "u");
  const Principal from = Principal::Group(3, "g");
  EXPECT_EQ(CopyStatements::DeleteTransfers(to),
            "DELETE FROM FW3E_RVKDEPCOLL  WHERE FW3E_ID_FW06 IS NULL AND FW3E_ID_FW07 =9");
  EXPECT_EQ(CopyStatements::InsertTransfers(to, from),
            "INSERT INTO FW3E_RVKDEPCOLL (FW3E_ID_FW07, FW3E_ID_FW06, FW3E_DITTA_CG18, "
            "FW3E_CODDEP_ORI, FW3E_CODDEP_DES, FW3E_FLGABILITATO) (SELECT 9, NULL, "
            "A.FW3E_DITTA_CG18, A.FW3E_CODDEP_ORI, A.FW3E_CODDEP_DES, A.FW3E_FLGABILITATO  FROM "
            "FW3E_RVKDEPCOLL AS A  WHERE A.FW3E_ID_FW06 =3 AND A.FW3E_ID_FW07 IS NULL)");
  EXPECT_EQ(CopyStatements::InsertNodes(to, from),
            " insert into FW3N_RVKNODI(FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, "
            "FW3N_ID_FW06, FW3N_ID_FW07) \r\n select FW3N_DITTA_CG18, FW3N_CODPROG_PD68, "
            "FW3N_CODNODO, NULL, 9\r\n from FW3N_RVKNODI \r\n where FW3N_ID_FW06 =3\r\n and "
            "FW3N_ID_FW07 IS NULL\r\n");
  EXPECT_EQ(CopyStatements::DeleteParameters(from, "6, 30"),
            "DELETE FROM FW31_RVKPARAMETRI  WHERE FW31_ID_FW06 =3 AND FW31_ID_FW07  IS NULL AND "
            "FW31_INDTIPO IN (6, 30) ");
}

TEST(CopyStatementsTest, KindListInPanelOrder) {
  EXPECT_EQ(CopyStatements::ParameterKinds(false, false, false, false), "");
  EXPECT_EQ(CopyStatements::ParameterKinds(false, false, true, false), "30");
  EXPECT_EQ(CopyStatements::ParameterKinds(true, true, true, true), "6, 15, 30, 8");
  EXPECT_EQ(CopyStatements::ParameterKinds(false, true, false, true), "15, 8");
}

}  // namespace
}  // namespace orv::bulk
