// Statement texts of the parameter sections for a user and for a group.

#include "sections/parameters/parameter_statements.h"

#include <gtest/gtest.h>

namespace orv::sections {
namespace {

const store::Principal kUser = store::Principal::User(12, "Mario");
const store::Principal kGroup = store::Principal::Group(3, "VENDITE");

TEST(ParameterStatementsTest, WritesForAUserAndForAGroup) {
  EXPECT_EQ(ParameterStatements::InsertRevocation(kGroup, 6, "DEP 1", "1", 0, 0, 0, 0),
            "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
            "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI)"
            " VALUES (  NULL , 3 , 6 , 'DEP 1' , 1 , 0 , 0, 0 , 0)");
  EXPECT_EQ(ParameterStatements::InsertRevocation(kUser, 30, "O'B", "2", 0, 1, 2, 3),
            "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07,FW31_ID_FW06,FW31_INDTIPO,FW31_CODTIPO,"
            "FW31_DITTARAGG,FW31_FLGABILITATO,FW31_FLGMODIFICA,FW31_FLGELIMINA,FW31_FLGINSERISCI)"
            " VALUES ( 12 ,  NULL , 30 , 'O''B' , 2 , 0 , 1, 3 , 2)");
  EXPECT_EQ(ParameterStatements::UpdateRevocation(kUser, 8, "24001", "1", 0, 0, 0, 0),
            "UPDATE FW31_RVKPARAMETRI  SET FW31_FLGABILITATO = 0 , FW31_FLGMODIFICA = 0 , "
            "FW31_FLGELIMINA = 0 , FW31_FLGINSERISCI = 0 WHERE FW31_ID_FW07   =12 AND "
            "FW31_ID_FW06   IS NULL AND FW31_INDTIPO = 8 AND FW31_CODTIPO = '24001' AND "
            "FW31_DITTARAGG = 1");
  EXPECT_EQ(ParameterStatements::DeleteRevocation(kGroup, 15, "BASE", "2"),
            "DELETE FROM FW31_RVKPARAMETRI  WHERE FW31_ID_FW07 IS NULL AND FW31_ID_FW06 = 3 AND "
            "FW31_INDTIPO = 15 AND FW31_CODTIPO = 'BASE' AND FW31_DITTARAGG = 2");
  // The look-up before a write tests the same key, through the same texts.
  EXPECT_EQ(ParameterStatements::SelectRevocation(kUser, 6, "A'", "1"),
            "SELECT TOP 1 FW31_INDTIPO FROM FW31_RVKPARAMETRI  WHERE FW31_ID_FW07 = 12 AND "
            "FW31_ID_FW06 IS NULL AND FW31_INDTIPO = 6 AND FW31_CODTIPO = 'A''' AND "
            "FW31_DITTARAGG = 1");
}

TEST(ParameterStatementsTest, CataloguesCarryThePrincipalConditionOfTheirKind) {
  const std::string warehouses = ParameterStatements::CatalogueWarehouses(kUser, 1);
  EXPECT_NE(warehouses.find("FW31_CODTIPO    AND FW31_ID_FW07 = 12 AND FW31_ID_FW06  IS NULL AND "
                            "FW31_INDTIPO = 6 AND FW31_DITTARAGG = MG58_DITTA_CG18 INNER JOIN"),
            std::string::npos)
      << warehouses;
  EXPECT_TRUE(warehouses.ends_with(" WHERE CG18_DITTA = 1"));
  const std::string projects = ParameterStatements::CatalogueProjects(kGroup, 2);
  EXPECT_NE(projects.find("= FW31_CODTIPO  AND FW31_ID_FW07  IS NULL AND FW31_ID_FW06  =3 AND "
                          "FW31_DITTARAGG  = PD68_DITTA_CG18 AND FW31_INDTIPO = 8 "),
            std::string::npos)
      << projects;
  EXPECT_TRUE(projects.ends_with(" WHERE PD68_DITTA_CG18 = 2"));
  const std::string blocking = ParameterStatements::CatalogueBlocking(kUser, 1);
  EXPECT_NE(blocking.find("0 AS RAGGRUPPAMENTO, 30 AS INDTIPO  FROM MG0F_BLMPARAM"),
            std::string::npos);
  EXPECT_NE(blocking.find("AND FW31_INDTIPO = 30 AND FW31_ID_FW07  =12 AND FW31_ID_FW06  IS NULL "
                          "WHERE MG0F_DITTA_CG18 = 1"),
            std::string::npos)
      << blocking;
  EXPECT_TRUE(
      ParameterStatements::CatalogueMrpSimulations(kGroup).ends_with(" ORDER BY CG18_DITTA"));
  EXPECT_EQ(ParameterStatements::Catalogue(24, kUser, 1), "");
  EXPECT_EQ(ParameterStatements::Catalogue(33, kUser, 1), "");
}

}  // namespace
}  // namespace orv::sections
