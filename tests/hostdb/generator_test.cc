#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "hostdb/host_database.h"
#include "hostdb/host_schema.h"
#include "hostdb/scaled_installation.h"
#include "hostdb_test_util.h"

namespace orv::hostdb {
namespace {

using testing::Query;
using testing::Rows;
using testing::Scalar;

namespace fs = std::filesystem;

class GeneratorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orv-generator-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::shared_ptr<db::Connection> Create(const std::string& name, double scale, uint64_t seed,
                                         std::vector<int>* percents = nullptr) {
    const std::string path = (dir_ / name).string();
    Progress progress;
    if (percents) progress = [percents](std::string_view, int p) { percents->push_back(p); };
    HostDatabase::CreateScaled(path, {scale, seed}, progress);
    auto cn = db::Connection::Create();
    cn->Open(HostDatabase::ConnectionStringFor(path));
    return cn;
  }

  // Every row of every table, sorted, hashed (FNV-1a).
  static uint64_t Digest(db::Connection& cn) {
    uint64_t h = 1469598103934665603ULL;
    auto feed = [&h](const std::string& s) {
      for (unsigned char c : s) h = (h ^ c) * 1099511628211ULL;
      h = (h ^ 0x1f) * 1099511628211ULL;
    };
    for (std::string_view table : HostSchema::Tables()) {
      feed(std::string(table));
      Rows rows = testing::Sorted(Query(cn, "SELECT * FROM " + std::string(table)));
      for (const auto& row : rows) {
        for (const auto& value : row) feed(value);
      }
    }
    return h;
  }

  fs::path dir_;
};

TEST_F(GeneratorTest, SameSeedSameRowsOtherSeedOtherRows) {
  auto a = Create("a.db", 0.003, 7);
  auto b = Create("b.db", 0.003, 7);
  auto c = Create("c.db", 0.003, 8);
  const uint64_t da = Digest(*a);
  EXPECT_EQ(da, Digest(*b));
  EXPECT_NE(da, Digest(*c));
}

TEST_F(GeneratorTest, CountsFollowTheScale) {
  const ScaleCounts one = ScaleCounts::For(1);
  EXPECT_EQ(one.principals, 1000);
  EXPECT_EQ(one.parameter_rows, 1000000);
  EXPECT_EQ(one.nodes, 50000);
  EXPECT_EQ(one.matrix_warehouses + one.other_warehouses, 10000);
  EXPECT_EQ(one.source_rows, 5000);
  EXPECT_EQ(one.families, 2000);

  std::vector<int> percents;
  auto cn = Create("s.db", 0.01, 1, &percents);
  const ScaleCounts n = ScaleCounts::For(0.01);
  // Each principal gets its share of parameter revocations, at most one per
  // item of the four catalogues (the cap bites at small scales only).
  const int64_t items =
      std::stoll(Scalar(*cn, "SELECT COUNT(*) FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 < 3")) +
      std::stoll(Scalar(*cn, "SELECT COUNT(*) FROM PD68_PROGETTI")) +
      std::stoll(Scalar(*cn,
                        "SELECT COUNT(*) FROM (SELECT DISTINCT PD90_DITTA_CG18, "
                        "PD90_SIMULAZIONE FROM PD90_SIMULMRP) S")) +
      std::stoll(Scalar(*cn, "SELECT COUNT(*) FROM MG0F_BLMPARAM"));
  int64_t expected_rows = 0;
  for (int64_t p = 0; p < n.principals; ++p) {
    const int64_t share = n.parameter_rows / n.principals + (p < n.parameter_rows % n.principals);
    expected_rows += std::min(items, share);
  }
  EXPECT_EQ(Scalar(*cn, "SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), std::to_string(expected_rows));
  EXPECT_EQ(Scalar(*cn,
                   "SELECT COUNT(*) FROM (SELECT DISTINCT FW31_ID_FW07, FW31_ID_FW06 FROM "
                   "FW31_RVKPARAMETRI) P"),
            std::to_string(n.principals));
  EXPECT_EQ(Scalar(*cn, "SELECT COUNT(*) FROM FW07_APPUSER") + "+" +
                Scalar(*cn, "SELECT COUNT(*) FROM FW06_GROUPUSR"),
            std::to_string(n.principals - n.groups) + "+" + std::to_string(n.groups));
  EXPECT_EQ(Scalar(*cn, "SELECT COUNT(*) FROM PD0C_NODO"), std::to_string(n.nodes));
  EXPECT_EQ(Scalar(*cn, "SELECT COUNT(*) FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = 1"),
            std::to_string(n.matrix_warehouses));
  for (const char* source :
       {"MG07_MACROAREE", "MG08_AREE", "MG09_ZONE", "MG10_MACROCAT", "MG11_CATEG", "MG12_SOTTOCAT",
        "MG31_RAGGRCF1", "MG32_RAGGRCF2", "MG33_RAGGRCF3"}) {
    EXPECT_EQ(Scalar(*cn, std::string("SELECT COUNT(*) FROM ") + source),
              std::to_string(n.source_rows))
        << source;
  }
  // Progress climbs to 100.
  ASSERT_FALSE(percents.empty());
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents.back(), 100);
}

TEST_F(GeneratorTest, RowsAreCoherent) {
  auto cn = Create("s.db", 0.01, 3);
  // No logical key twice.
  EXPECT_EQ(Query(*cn,
                  "SELECT TOP 1 1 FROM FW31_RVKPARAMETRI GROUP BY FW31_ID_FW07, "
                  "FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, FW31_DITTARAGG HAVING COUNT(*) "
                  "> 1"),
            Rows{});
  EXPECT_EQ(Query(*cn,
                  "SELECT TOP 1 1 FROM FW3E_RVKDEPCOLL GROUP BY FW3E_ID_FW07, "
                  "FW3E_ID_FW06, FW3E_CODDEP_ORI, FW3E_CODDEP_DES HAVING COUNT(*) > 1"),
            Rows{});
  // Every revoked item exists in its catalogue.
  EXPECT_EQ(Scalar(*cn,
                   "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 8 AND NOT "
                   "EXISTS (SELECT 1 FROM PD68_PROGETTI WHERE PD68_CODPROG = FW31_CODTIPO "
                   "AND PD68_DITTA_CG18 = FW31_DITTARAGG)"),
            "0");
  EXPECT_EQ(Scalar(*cn,
                   "SELECT COUNT(*) FROM FW3N_RVKNODI WHERE NOT EXISTS (SELECT 1 FROM "
                   "PD0C_NODO WHERE PD0C_CODNODO = FW3N_CODNODO AND PD0C_CODPROG_PD68 = "
                   "FW3N_CODPROG_PD68 AND PD0C_DITTA_CG18 = FW3N_DITTA_CG18)"),
            "0");
  // Children hang under a parent of the same type.
  EXPECT_EQ(Scalar(*cn,
                   "SELECT COUNT(*) FROM MG09_ZONE WHERE NOT EXISTS (SELECT 1 FROM "
                   "MG08_AREE WHERE MG08_AREA = MG09_AREA_MG08 AND MG08_MACROAREA_MG07 = "
                   "MG09_MACROAREA_MG08 AND MG08_TIPOCF_MG07 = MG09_TIPOCF_MG08)"),
            "0");
  // The CORVSA group, its only member and a user in no group, as in the demo.
  EXPECT_EQ(Query(*cn,
                  "SELECT FW00_ID_FW07 FROM FW00_GRPUSRASSOC WHERE FW00_ID_FW06 = 1 AND "
                  "FW00_ID_FW07 <= 3 ORDER BY 1"),
            (Rows{{"1"}, {"2"}}));
  EXPECT_EQ(Scalar(*cn, "SELECT COUNT(*) FROM FW00_GRPUSRASSOC WHERE FW00_ID_FW07 IN (2, 3)"), "1");
  // The derived lists were built.
  EXPECT_NE(Scalar(*cn, "SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI"), "0");
}

}  // namespace
}  // namespace orv::hostdb
