// What other components' tests rely on in the demo installation.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "hostdb/demo_installation.h"
#include "hostdb/host_schema.h"
#include "hostdb/temporary_demo_database.h"
#include "hostdb_test_util.h"

namespace orv::hostdb {
namespace {

using testing::Query;
using testing::Rows;
using testing::Scalar;

class DemoTest : public ::testing::Test {
 protected:
  void SetUp() override { cn_ = demo_.Connect(); }
  TemporaryDemoDatabase demo_;
  std::shared_ptr<db::Connection> cn_;
};

TEST_F(DemoTest, UsersGroupsAndCompanies) {
  using D = DemoInstallation;
  EXPECT_EQ(Query(*cn_,
                  "SELECT FW07_ID, FW07_FLGADMIN, FW07_FLGATTIVO FROM FW07_APPUSER WHERE "
                  "FW07_LOGIN = '" +
                      std::string(D::kLoginAdmin) + "'"),
            (Rows{{std::to_string(D::kUserAdmin), "1", "1"}}));
  EXPECT_EQ(Query(*cn_, "SELECT FW07_ID, FW07_FLGADMIN FROM FW07_APPUSER WHERE FW07_LOGIN = '" +
                            std::string(D::kLoginRossi) + "'"),
            (Rows{{std::to_string(D::kUserRossi), "0"}}));
  EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM FW07_APPUSER"), std::to_string(D::kUserCount));
  EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM FW06_GROUPUSR"), std::to_string(D::kGroupCount));
  EXPECT_EQ(Scalar(*cn_, "SELECT FW06_ID FROM FW06_GROUPUSR WHERE FW06_CODICE = 'CORVSA'"),
            std::to_string(D::kGroupCorvsa));
  // The supervisor belongs to CORVSA only; the guest to no group.
  EXPECT_EQ(Query(*cn_,
                  "SELECT FW06_CODICE FROM FW00_GRPUSRASSOC INNER JOIN FW06_GROUPUSR ON "
                  "FW06_ID = FW00_ID_FW06 WHERE FW00_ID_FW07 = " +
                      std::to_string(D::kUserSupervisore)),
            (Rows{{"CORVSA"}}));
  EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM FW00_GRPUSRASSOC WHERE FW00_ID_FW07 = " +
                             std::to_string(D::kUserOspite)),
            "0");
  EXPECT_EQ(Query(*cn_,
                  "SELECT CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG FROM "
                  "CG18_ANADITTABASE INNER JOIN CG16_ANAGGEN ON CG18_CODICE_CG16 = "
                  "CG16_CODICE ORDER BY CG18_DITTA"),
            (Rows{{"1 - Officine Meccaniche Bresciane S.p.A."},
                  {"2 - Tessitura Valsesia S.r.l."},
                  {"3 - Cantina Colli Euganei Soc. Coop."}}));
  EXPECT_EQ(Query(*cn_,
                  "SELECT FW95_VALORE FROM FW95_SETTINGS WHERE FW95_CODICE = "
                  "'AUT_RVKENABLED' AND FW95_DESCR = 'Abilitazione Revoke'"),
            (Rows{{"1"}}));
}

TEST_F(DemoTest, AwkwardCodesAreStoredAsTheyAre) {
  EXPECT_EQ(Query(*cn_,
                  "SELECT MG58_CODDEP, LEN(MG58_CODDEP) FROM MG58_DEPOSITI WHERE "
                  "MG58_DITTA_CG18 = 1 AND MG58_CODDEP IN ('A', 'DEP 1') ORDER BY 1"),
            (Rows{{"A", "1"}, {"DEP 1", "5"}}));
  EXPECT_EQ(Query(*cn_, "SELECT MG58_CODDEP FROM MG58_DEPOSITI WHERE MG58_DESCRDEP IS NULL"),
            (Rows{{"CL"}}));
  // Stored with the quote and with the blanks around it.
  EXPECT_EQ(Query(*cn_,
                  "SELECT '[' + MG53_CODFAM + ']' FROM MG53_FAMIGLIE WHERE "
                  "MG53_CODFAM IN ('L''A', ' VI') ORDER BY MG53_DESCRFAM"),
            (Rows{{"[L'A]"}, {"[ VI ]"}}));
  EXPECT_EQ(Query(*cn_,
                  "SELECT CG31_CODICE FROM CG31_ANADITTASEDI WHERE "
                  "RTRIM(LTRIM(ISNULL(CG31_INDIRIZZO, ''))) = '' ORDER BY 1"),
            (Rows{{"MAG"}, {"UFF"}}));
  EXPECT_EQ(Query(*cn_,
                  "SELECT DISTINCT PD90_DITTA_CG18 FROM PD90_SIMULMRP WHERE "
                  "PD90_SIMULAZIONE = 'BASE' ORDER BY 1"),
            (Rows{{"1"}, {"2"}}));
}

TEST_F(DemoTest, SomeRevocationsOfEveryKindArePresent) {
  for (const auto& t : HostSchema::RevocationTables()) {
    const std::string table(t.table);
    EXPECT_NE(Scalar(*cn_, "SELECT COUNT(*) FROM " + table), "0") << table;
    EXPECT_NE(Scalar(*cn_, "SELECT COUNT(*) FROM " + table + " WHERE " +
                               std::string(t.user_column) + " IS NOT NULL"),
              "0")
        << table << " for a user";
    EXPECT_NE(Scalar(*cn_, "SELECT COUNT(*) FROM " + table + " WHERE " +
                               std::string(t.group_column) + " IS NOT NULL"),
              "0")
        << table << " for a group";
  }
  EXPECT_NE(Scalar(*cn_, "SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI"), "0");
}

TEST(DemoDatabaseTest, EachTemporaryDatabaseStartsFromTheDemo) {
  std::string path;
  {
    TemporaryDemoDatabase first;
    path = first.path();
    testing::Exec(*first.Connect(), "DELETE FROM FW07_APPUSER");
    TemporaryDemoDatabase second;
    EXPECT_NE(second.path(), first.path());
    EXPECT_EQ(Scalar(*second.Connect(), "SELECT COUNT(*) FROM FW07_APPUSER"), "11");
    // Two connections see each other's work (the editor opens its own).
    auto a = second.Connect();
    auto b = second.Connect();
    testing::Exec(*a, "UPDATE FW07_APPUSER SET FW07_FLGATTIVO = 0 WHERE FW07_ID = 2");
    EXPECT_EQ(Scalar(*b, "SELECT FW07_FLGATTIVO FROM FW07_APPUSER WHERE FW07_ID = 2"), "0");
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace orv::hostdb
