// The derived list of revoked customers and suppliers (FW3C_LISTACFREVOCATI)
// is what the editor's work means to the rest of the ERP; these tests pin
// down who lands on whose list.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "hostdb/demo_installation.h"
#include "hostdb/temporary_demo_database.h"
#include "hostdb_test_util.h"

namespace orv::hostdb {
namespace {

using testing::Exec;
using testing::GroupList;
using testing::ReloadAll;
using testing::ReloadGroup;
using testing::ReloadUser;
using testing::Scalar;
using testing::UserList;
using List = std::set<std::string>;

constexpr int kOspite = DemoInstallation::kUserOspite;           // no revocations in the demo
constexpr int kProduzione = DemoInstallation::kGroupProduzione;  // no FW32 rows in the demo

class ProceduresTest : public ::testing::Test {
 protected:
  void SetUp() override { cn_ = demo_.Connect(); }

  // A FW32 row as the editor writes it.
  void Revoke(const std::string& user, const std::string& group, int company, int type,
              const std::string& macro, const std::string& middle, const std::string& ragg,
              const std::string& kind, int enabled = 0) {
    Exec(*cn_,
         "INSERT INTO FW32_RVKCLIFOR (FW32_ID_FW07,FW32_ID_FW06,FW32_DITTA,FW32_TIPOCF,"
         "FW32_CODMACRO,FW32_CODMIDDLE,FW32_CODRAGG,FW32_TIPORAGG,FW32_FLGABILITATO,"
         "FW32_FLGMODIFICA) VALUES ( " +
             user + " , " + group + " , " + std::to_string(company) + " , " + std::to_string(type) +
             " , '" + macro + "' , '" + middle + "' , '" + ragg + "' , '" + kind + "' , " +
             std::to_string(enabled) + " , 0)");
  }
  void SetSwitch(const std::string& value) {
    Exec(*cn_, "UPDATE FW95_SETTINGS SET FW95_VALORE = '" + value +
                   "' WHERE FW95_CODICE = 'AUT_RVKENABLED'");
  }

  TemporaryDemoDatabase demo_;
  std::shared_ptr<db::Connection> cn_;
};

TEST_F(ProceduresTest, DemoListsFollowItsRevocations) {
  // Built when the demo was created.
  EXPECT_EQ(GroupList(*cn_, DemoInstallation::kGroupVendite),
            (List{"1|0|C0006", "1|0|C0007"}));  // macro area SUD
  EXPECT_EQ(UserList(*cn_, DemoInstallation::kUserRossi),
            (List{"1|0|C0001", "1|0|C0002", "1|0|C0006", "1|0|C0008"}));  // category IND/MECC
  EXPECT_EQ(UserList(*cn_, DemoInstallation::kUserBianchi), List{});      // its row allows again
  EXPECT_EQ(GroupList(*cn_, DemoInstallation::kGroupAcquisti),
            (List{"1|1|F0001", "1|1|F0004"}));  // suppliers of grouping 3 CERT
  EXPECT_EQ(UserList(*cn_, DemoInstallation::kUserEsposito),
            (List{"1|0|C0004", "1|1|F0002"}));  // site MAG: customers and suppliers
  // Group 2 shares its number with user 2 but has no customer revocation.
  EXPECT_EQ(GroupList(*cn_, 2), List{});
}

struct LevelCase {
  const char* what;
  int type;
  const char* macro;
  const char* middle;
  const char* ragg;
  const char* kind;
  List expected;
};

const std::vector<LevelCase>& Levels() {
  static const std::vector<LevelCase> cases = {
      {"macro area",
       0,
       "NORD",
       "",
       "",
       "AREA",
       {"1|0|C0001", "1|0|C0002", "1|0|C0003", "1|0|C0004"}},
      {"area", 0, "NORD", "Lom", "", "AREA", {"1|0|C0001", "1|0|C0003"}},
      {"area, blanks for the missing level", 0, "NORD", "NO", "  ", "AREA", {"1|0|C0002"}},
      {"zone", 0, "NORD", "Lom", "BS", "AREA", {"1|0|C0001"}},
      {"zone, other case", 0, "nord", "LOM", "BG", "AREA", {"1|0|C0003"}},
      {"supplier macro area", 1, "NORD", "", "", "AREA", {"1|1|F0001", "1|1|F0002", "1|1|F0003"}},
      {"macro category",
       0,
       "IND",
       "",
       "",
       "CAT",
       {"1|0|C0001", "1|0|C0002", "1|0|C0005", "1|0|C0006", "1|0|C0008"}},
      {"category", 0, "COM", "GDO", "", "CAT", {"1|0|C0003", "1|0|C0010"}},
      {"sub-category", 0, "COM", "GDO", "SUP", "CAT", {"1|0|C0003"}},
      {"grouping 1", 0, "", "", "A", "RAGG1", {"1|0|C0001", "1|0|C0003", "1|0|C0006", "1|0|C0008"}},
      {"grouping 1 ignores the other codes",
       1,
       "X",
       "Y",
       "A",
       "RAGG1",
       {"1|1|F0001", "1|1|F0002", "1|1|F0005"}},
      {"grouping 2", 0, "", "", "AG03", "RAGG2", {"1|0|C0005", "1|0|C0006", "1|0|C0010"}},
      {"grouping 3", 0, "", "", "FIERA", "RAGG3", {"1|0|C0001", "1|0|C0005", "1|0|C0008"}},
      {"company site", -1, "", "", "FIL-MI", "SEDE", {"1|0|C0002", "1|0|C0008", "1|1|F0004"}},
      {"site kind with a customer type", 0, "", "", "FIL-MI", "SEDE", {}},
      {"unknown code", 0, "NORD", "XX", "", "AREA", {}},
  };
  return cases;
}

TEST_F(ProceduresTest, EachBranchLevelForAUserAndAGroup) {
  for (const LevelCase& c : Levels()) {
    SCOPED_TRACE(c.what);
    Exec(*cn_, "DELETE FROM FW32_RVKCLIFOR WHERE FW32_ID_FW07 = 9 OR FW32_ID_FW06 = 6");
    Revoke(std::to_string(kOspite), "NULL", 1, c.type, c.macro, c.middle, c.ragg, c.kind);
    Revoke("NULL", std::to_string(kProduzione), 1, c.type, c.macro, c.middle, c.ragg, c.kind);
    ReloadUser(cn_, kOspite);
    ReloadGroup(cn_, kProduzione);
    EXPECT_EQ(UserList(*cn_, kOspite), c.expected);
    EXPECT_EQ(GroupList(*cn_, kProduzione), c.expected);
  }
}

TEST_F(ProceduresTest, OnlyRevokedRowsOfThePrincipalCompanyAndTypeCount) {
  // Allowed again (flag 1): not on the list.
  Revoke("9", "NULL", 1, 0, "NORD", "", "", "AREA", 1);
  // Company 2's NORD customers only.
  Revoke("9", "NULL", 2, 0, "NORD", "", "", "AREA");
  // Suppliers of macro category SERV: no customer.
  Revoke("9", "NULL", 1, 1, "SERV", "", "", "CAT");
  // Another principal (a group with the same number) and another user.
  Revoke("NULL", "9", 1, 0, "CENTRO", "", "", "AREA");
  Revoke("10", "NULL", 1, 0, "ESTERO", "", "", "AREA");
  ReloadUser(cn_, kOspite);
  EXPECT_EQ(UserList(*cn_, kOspite), (List{"2|0|C0001", "1|1|F0005"}));
  EXPECT_EQ(GroupList(*cn_, 9), List{});  // not rebuilt yet
  ReloadGroup(cn_, 9);
  EXPECT_EQ(GroupList(*cn_, 9), (List{"1|0|C0005", "1|0|C0010"}));
  EXPECT_EQ(UserList(*cn_, kOspite), (List{"2|0|C0001", "1|1|F0005"}));
  EXPECT_EQ(UserList(*cn_, 10), List{});
}

TEST_F(ProceduresTest, ReloadReplacesThePrincipalsListOnly) {
  const List rossi = UserList(*cn_, DemoInstallation::kUserRossi);
  const List vendite = GroupList(*cn_, DemoInstallation::kGroupVendite);
  Exec(*cn_, "UPDATE FW32_RVKCLIFOR SET FW32_FLGABILITATO = 1 WHERE FW32_ID_FW06 = 3");
  ReloadUser(cn_, DemoInstallation::kUserRossi);
  EXPECT_EQ(GroupList(*cn_, DemoInstallation::kGroupVendite), vendite);  // untouched
  ReloadGroup(cn_, DemoInstallation::kGroupVendite);
  EXPECT_EQ(GroupList(*cn_, DemoInstallation::kGroupVendite), List{});
  EXPECT_EQ(UserList(*cn_, DemoInstallation::kUserRossi), rossi);
  // Running a reload twice gives the same list, without duplicates.
  ReloadUser(cn_, DemoInstallation::kUserRossi);
  ReloadUser(cn_, DemoInstallation::kUserRossi);
  EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW07 = 2"), "4");
}

TEST_F(ProceduresTest, OverlappingBranchesListACustomerOnce) {
  Revoke("9", "NULL", 1, 0, "NORD", "", "", "AREA");
  Revoke("9", "NULL", 1, 0, "NORD", "Lom", "BS", "AREA");
  Revoke("9", "NULL", 1, 0, "IND", "MECC", "PREC", "CAT");
  Revoke("9", "NULL", 1, -1, "", "", "SEDE", "SEDE");
  ReloadUser(cn_, kOspite);
  EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW07 = 9"),
            std::to_string(UserList(*cn_, kOspite).size()));
  EXPECT_EQ(UserList(*cn_, kOspite),
            (List{"1|0|C0001", "1|0|C0002", "1|0|C0003", "1|0|C0004", "1|0|C0005", "1|0|C0008",
                  "1|0|C0010", "1|1|F0001", "1|1|F0003"}));
}

TEST_F(ProceduresTest, SwitchOffEmptiesEveryList) {
  ASSERT_FALSE(UserList(*cn_, DemoInstallation::kUserRossi).empty());
  SetSwitch("0");
  ReloadAll(cn_);
  EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI"), "0");
  // Per principal as well, and with the setting row missing.
  SetSwitch("1");
  ReloadUser(cn_, DemoInstallation::kUserRossi);
  EXPECT_EQ(UserList(*cn_, DemoInstallation::kUserRossi).size(), 4u);
  Exec(*cn_, "DELETE FROM FW95_SETTINGS WHERE FW95_CODICE = 'AUT_RVKENABLED'");
  ReloadUser(cn_, DemoInstallation::kUserRossi);
  EXPECT_EQ(UserList(*cn_, DemoInstallation::kUserRossi), List{});
  // Switched on again (as the editor inserts it): every list comes back.
  Exec(*cn_,
       "INSERT INTO FW95_SETTINGS  (FW95_CODICE, FW95_DESCR, FW95_VALORE)  VALUES "
       "('AUT_RVKENABLED', 'Abilitazione Revoke', '1')");
  ReloadAll(cn_);
  EXPECT_EQ(UserList(*cn_, DemoInstallation::kUserRossi).size(), 4u);
  EXPECT_EQ(GroupList(*cn_, DemoInstallation::kGroupVendite).size(), 2u);
  // A grey box stores '2': not active.
  SetSwitch("2");
  ReloadAll(cn_);
  EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI"), "0");
}

TEST_F(ProceduresTest, FullRebuildEqualsEveryPrincipalsOwnReload) {
  Revoke("9", "NULL", 1, 0, "CENTRO", "", "", "AREA");
  Revoke("NULL", "6", 1, 1, "", "", "B", "RAGG1");
  Revoke("NULL", "6", 2, 0, "CONF", "ABB", "", "CAT");
  Exec(*cn_, "DELETE FROM FW3C_LISTACFREVOCATI");
  for (int user = 1; user <= DemoInstallation::kUserCount; ++user) ReloadUser(cn_, user);
  for (int group = 1; group <= DemoInstallation::kGroupCount; ++group) ReloadGroup(cn_, group);
  const testing::Rows one_by_one = testing::Query(
      *cn_,
      "SELECT FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR FROM "
      "FW3C_LISTACFREVOCATI ORDER BY 1, 2, 3, 4, 5");
  ReloadAll(cn_);
  const testing::Rows all = testing::Query(
      *cn_,
      "SELECT FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR FROM "
      "FW3C_LISTACFREVOCATI ORDER BY 1, 2, 3, 4, 5");
  EXPECT_EQ(all, one_by_one);
  EXPECT_EQ(all.size(), 2u + 4u + 2u + 2u + 2u + 2u + 2u);
}

TEST_F(ProceduresTest, ProceduresDescribeTheirParameters) {
  db::Command command;
  command.ActiveConnection = cn_;
  command.CommandType = db::kAdCmdStoredProc;
  command.CommandText = "SPFW_ReloadListaCFRevocatiGruppo";
  ASSERT_EQ(command.Parameters().size(), 1u);
  EXPECT_EQ(command.Parameters()[0].info.name, "@idgruppo");
  db::Command user_command;
  user_command.ActiveConnection = cn_;
  user_command.CommandType = db::kAdCmdStoredProc;
  user_command.CommandText = "SPFW_ReloadListaCFRevocatiUtente";
  ASSERT_EQ(user_command.Parameters().size(), 1u);
  EXPECT_EQ(user_command.Parameters()[0].info.name, "@idutente");
  db::Command all;
  all.ActiveConnection = cn_;
  all.CommandType = db::kAdCmdStoredProc;
  all.CommandText = "SPFW_ReloadListaCFRevocati";
  EXPECT_TRUE(all.Parameters().empty());
}

}  // namespace
}  // namespace orv::hostdb
