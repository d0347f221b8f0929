#include <gtest/gtest.h>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostdb/temporary_demo_database.h"
#include "store/company.h"
#include "store/principal.h"
#include "store/settings.h"
#include "store/temp_table.h"

namespace orv::store {
namespace {

TEST(PrincipalTest, ClausesForAUserAndForAGroup) {
  const Principal user = Principal::User(12, "Mario Rossi");
  const Principal group = Principal::Group(3, "Ufficio vendite");
  // The parameter table's WHERE clause, piece by piece.
  EXPECT_EQ(user.WhereClause("FW31"), std::string(" WHERE FW31_ID_FW07  ") + " =" + "12" +
                                          " AND FW31_ID_FW06  " + " IS NULL");
  EXPECT_EQ(group.WhereClause("FW31"),
            std::string(" WHERE FW31_ID_FW07  ") + " IS NULL" + " AND FW31_ID_FW06  " + " =" + "3");
  EXPECT_EQ(user.UserTest("IS NULL", "="), "=12");
  EXPECT_EQ(user.GroupTest("IS NULL", "="), "IS NULL");
  EXPECT_EQ(group.UserValue(" NULL"), " NULL");
  EXPECT_EQ(group.GroupValue(" NULL"), "3");
  EXPECT_EQ(user.UserName(), "Mario Rossi");
  EXPECT_EQ(user.GroupName(), "");
  EXPECT_EQ(group.GroupName(), "Ufficio vendite");
  EXPECT_EQ(group.Description(), "Gruppo - Ufficio vendite (3)");
  EXPECT_EQ(user.Description(), "Utente - Mario Rossi (12)");
}

TEST(PrincipalTest, TreeNodeKindZeroIsAGroup) {
  const Principal group = Principal::FromNode(store::PrincipalNode{0, 5, "Magazzino"});
  const Principal user = Principal::FromNode(store::PrincipalNode{2, 5, "Esposito"});
  EXPECT_TRUE(group.IsGroup());
  EXPECT_TRUE(group.user_id().IsNull());
  EXPECT_EQ(group.group_id(), db::Value(int64_t{5}));
  EXPECT_TRUE(user.IsUser());
  EXPECT_TRUE(user.group_id().IsNull());
  const Principal none = Principal::FromNode(std::optional<store::PrincipalNode>());
  EXPECT_TRUE(none.IsNone());
  EXPECT_EQ(none.WhereClause("FW32"), " WHERE FW32_ID_FW07   IS NULL AND FW32_ID_FW06   IS NULL");
}

TEST(TempTableTest, NameFromABracedGuid) {
  const std::string name = TempTable::NameFromGuid("{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
  EXPECT_EQ(name, "##tempT6F9619FF8B86D011B42D00C04FC964FF");
  EXPECT_EQ(name.size(), 39u);
  EXPECT_EQ(TempTable::NameFromGuid(""), "##tempT");
  EXPECT_EQ(TempTable::DropIfExists("##tempTX"),
            " if object_id('tempdb..##tempTX') is not null  BEGIN  DROP TABLE ##tempTX END ");
}

TEST(SettingsTest, StatementsOfTheSwitch) {
  EXPECT_EQ(Settings::InsertRevoke("1"),
            "INSERT INTO FW95_SETTINGS  (FW95_CODICE, FW95_DESCR, FW95_VALORE)  VALUES "
            "('AUT_RVKENABLED', 'Abilitazione Revoke', '1')");
  EXPECT_EQ(Settings::UpdateRevoke("0"),
            "UPDATE FW95_SETTINGS  SET FW95_VALORE = '0'  WHERE FW95_CODICE = 'AUT_RVKENABLED' ");
  EXPECT_EQ(Settings::SelectRevokeOnLoad(),
            "SELECT * FROM FW95_SETTINGS WHERE FW95_CODICE = 'AUT_RVKENABLED' ");
}

TEST(SettingsTest, ReadsTheSwitchFromTheDatabase) {
  hostdb::TemporaryDemoDatabase database;
  auto cn = database.Connect();
  EXPECT_EQ(Settings::ReadRevokeValue(*cn), std::optional<std::string>("1"));
  EXPECT_TRUE(Settings::RevokeEnabled(*cn));
  cn->Execute(Settings::UpdateRevoke("0"));
  EXPECT_FALSE(Settings::RevokeEnabled(*cn));
  cn->Execute("DELETE FROM FW95_SETTINGS WHERE FW95_CODICE = 'AUT_RVKENABLED'");
  EXPECT_EQ(Settings::ReadRevokeValue(*cn), std::nullopt);
  EXPECT_FALSE(Settings::RevokeEnabled(*cn));
  cn->Execute(Settings::InsertRevoke("1"));
  EXPECT_TRUE(Settings::RevokeEnabled(*cn));
}

TEST(CompanyTest, ListsTheDemoCompaniesWithTheirLabels) {
  hostdb::TemporaryDemoDatabase database;
  auto cn = database.Connect();
  const std::vector<Company> companies = Company::ReadAll(*cn);
  ASSERT_EQ(companies.size(), 3u);
  EXPECT_EQ(companies[0].ditta, 1);
  EXPECT_EQ(companies[0].Label(), "1 - Officine Meccaniche Bresciane S.p.A.");
  // The label the sections build in SQL gives the same text.
  auto rs = cn->Execute(std::string("SELECT ") + std::string(Company::kLabelExpression) +
                        " AS L FROM CG18_ANADITTABASE INNER JOIN CG16_ANAGGEN ON "
                        "CG18_CODICE_CG16 = CG16_CODICE WHERE CG18_DITTA = 2");
  ASSERT_TRUE(rs && !rs->IsEof());
  EXPECT_EQ(rs->Field("L").ToText(), companies[1].Label());
}

}  // namespace
}  // namespace orv::store
