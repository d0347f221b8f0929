#include <gtest/gtest.h>

#include <algorithm>

#include "profile/effective_profile.h"
#include "profile/profile_comparison.h"
#include "profile/profile_reader.h"
#include "profile/where_used.h"
#include "profile_fixture.h"
#include "store/settings.h"

namespace orv::profile {
namespace {

using ProfileTest = ProfileFixture;

std::vector<std::string> Items(const std::vector<ProfileRow>& rows) {
  std::vector<std::string> items;
  for (const ProfileRow& row : rows) {
    items.push_back(std::string(TableKey(row.table)) + " " + std::to_string(row.company) + " " +
                    row.ItemText());
  }
  return items;
}

TEST_F(ProfileTest, AUsersRowsOfEveryTableAndNoGroupsRows) {
  // Demo: user 2 (mrossi) and group 2 share the number 2.
  const NamedPrincipal mario = directory_.Find("mrossi");
  EXPECT_EQ(mario.principal.name(), "Mario Rossi");
  EXPECT_EQ(
      Items(ProfileReader::Read(*cn_, mario.principal)),
      (std::vector<std::string>{"parameters 1 2 ORDINI", "parameters 1 6 A", "parameters 1 6 DEP 1",
                                "clifor 1 CAT 0 IND/MECC/-", "families 1 FAM L'A"}));
  const NamedPrincipal group = directory_.Find("group:AMMIN");
  EXPECT_EQ(Items(ProfileReader::Read(*cn_, group.principal)),
            (std::vector<std::string>{"parameters 1 6 02"}));
  // Flags come back as stored.
  const auto families = ProfileReader::Read(*cn_, mario.principal, RevocationTable::kFamilies);
  ASSERT_EQ(families.size(), 1u);
  EXPECT_EQ(families[0].flags, (std::array<int32_t, 4>{1, 1, 0, 1}));
  EXPECT_THROW(directory_.Find("group:NESSUNO"), std::runtime_error);
}

TEST_F(ProfileTest, OnlyAnActiveAdministratorMayWork) {
  EXPECT_NO_THROW(directory_.RequireAdministrator("admin"));
  EXPECT_THROW(directory_.RequireAdministrator("mrossi"), std::runtime_error);  // not admin
  EXPECT_THROW(directory_.RequireAdministrator("nessuno"), std::runtime_error);
  cn_->Execute("UPDATE FW07_APPUSER SET FW07_FLGATTIVO = 0 WHERE FW07_LOGIN = 'supervisore'");
  EXPECT_THROW(directory_.RequireAdministrator("supervisore"), std::runtime_error);
}

// Laura (lbianchi) is in "Ufficio vendite" and "Ufficio acquisti".
TEST_F(ProfileTest, TwoGroupsRevokingOneWarehouseWithOtherFlags) {
  const NamedPrincipal laura = directory_.Find("lbianchi");
  Put(directory_.Find("group:VENDITE"), {Warehouse("MP", {0, 1, 0, 1})});
  Put(directory_.Find("group:ACQUISTI"), {Warehouse("MP", {0, 0, 1, 1})});
  const EffectiveProfile profile = EffectiveProfile::Read(*cn_, laura);
  EXPECT_TRUE(profile.in_force);
  ASSERT_EQ(profile.groups.size(), 2u);
  auto mp = std::find_if(profile.entries.begin(), profile.entries.end(),
                         [](const EffectiveEntry& e) { return e.row.SameKey(Warehouse("MP")); });
  ASSERT_NE(mp, profile.entries.end());
  // The lowest flag of each right wins; both groups are named.
  EXPECT_EQ(mp->row.flags, (std::array<int32_t, 4>{0, 0, 0, 1}));
  EXPECT_EQ(mp->sources,
            (std::vector<std::string>{"gruppo Ufficio acquisti", "gruppo Ufficio vendite"}));
  // Her own warehouse 01 of company 2 names only her.
  auto own = std::find_if(profile.entries.begin(), profile.entries.end(),
                          [](const auto& e) { return e.row.SameKey(Warehouse("01", {}, 2)); });
  ASSERT_NE(own, profile.entries.end());
  EXPECT_EQ(own->sources, std::vector<std::string>{"utente"});
}

TEST_F(ProfileTest, AUsersOwnAllowedBranchDoesNotUndoHerGroupsRevocation) {
  const NamedPrincipal laura = directory_.Find("lbianchi");
  // Demo: "Ufficio vendite" revokes macro area SUD; Laura's own row says allowed.
  Put(laura, {Branch(0, "AREA", "SUD", "", "", 1)});
  const EffectiveProfile profile = EffectiveProfile::Read(*cn_, laura);
  auto sud = std::find_if(profile.entries.begin(), profile.entries.end(), [](const auto& e) {
    return e.row.SameKey(Branch(0, "AREA", "SUD", "", "", 0));
  });
  ASSERT_NE(sud, profile.entries.end());
  EXPECT_EQ(sud->row.flags[0], 0);
  EXPECT_EQ(sud->sources, std::vector<std::string>{"gruppo Ufficio vendite"});
  // Her own RAGG1 "C" row (allowed) is no entry at all.
  EXPECT_TRUE(std::none_of(profile.entries.begin(), profile.entries.end(),
                           [](const auto& e) { return e.row.grouping == "RAGG1"; }));
}

TEST_F(ProfileTest, WithTheSwitchOffNothingIsInForce) {
  cn_->Execute(store::Settings::UpdateRevoke("0"));
  const EffectiveProfile profile = EffectiveProfile::Read(*cn_, directory_.Find("lbianchi"));
  EXPECT_FALSE(profile.in_force);
  EXPECT_FALSE(profile.entries.empty());  // what would apply, once switched on
}

TEST(ProfileComparisonTest, OnlyInAOnlyInBAndOtherFlags) {
  const std::vector<ProfileRow> a = {Warehouse("MP"), Warehouse("01"), Transfer("01", "A"),
                                     Branch(0, "AREA", "SUD", "", "", 0)};
  const std::vector<ProfileRow> b = {Branch(0, "AREA", "SUD", "", "", 1), Warehouse("01"),
                                     Transfer("01", "PF")};
  const ProfileComparison c = ProfileComparison::Compare(a, b);
  EXPECT_EQ(Items(c.only_a), (std::vector<std::string>{"parameters 1 6 MP", "transfers 1 01>A"}));
  EXPECT_EQ(Items(c.only_b), (std::vector<std::string>{"transfers 1 01>PF"}));
  ASSERT_EQ(c.changed.size(), 1u);
  EXPECT_EQ(c.changed[0].first.flags[0], 0);
  EXPECT_EQ(c.changed[0].second.flags[0], 1);
  EXPECT_FALSE(c.Same());
  EXPECT_TRUE(ProfileComparison::Compare(a, {a.rbegin(), a.rend()}).Same());
  // Flags a table does not have never count.
  ProfileRow t1 = Transfer("01", "A");
  ProfileRow t2 = t1;
  t2.flags[3] = 1;
  EXPECT_TRUE(ProfileComparison::Compare({t1}, {t2}).Same());
}

TEST_F(ProfileTest, WhereUsedFindsEveryPrincipalRevokingTheItem) {
  Put(directory_.Find("group:VENDITE"), {Warehouse("MP")});
  Put(directory_.Find("lbianchi"), {Warehouse("MP", {0, 0, 0, 0}, 2), Transfer("MP", "PF")});
  // An allowed branch is no revocation.
  Put(directory_.Find("gverdi"), {Branch(0, "AREA", "SUD", "", "", 1)});
  struct Case {
    const char* item;
    std::vector<std::string> who;
  };
  const std::vector<Case> cases = {
      {"warehouse:MP", {"group:VENDITE", "user:lbianchi"}},
      {"warehouse:MP@1", {"group:VENDITE"}},
      {"transfer:MP:PF", {"group:MAGAZZ", "user:lbianchi"}},
      {"clifor:0:AREA:SUD", {"group:VENDITE"}},
      {"clifor:1:RAGG3:CERT", {"group:ACQUISTI"}},
      {"clifor:-1:SEDE:MAG", {"user:fesposito"}},
      {"family:VERN", {"group:PRODUZ"}},
      {"node:24002:020", {"user:cferrari"}},
      {"parameter:30:QUAL", {"group:MAGAZZ"}},
      {"warehouse:ZZ", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> who;
    for (const WhereUsedHit& hit : WhereUsed::Find(*cn_, RevocationItem::Parse(c.item))) {
      who.push_back(hit.principal.Reference());
    }
    std::sort(who.begin(), who.end());
    EXPECT_EQ(who, c.who) << c.item;
  }
  EXPECT_THROW(RevocationItem::Parse("shelf:1"), std::invalid_argument);
  EXPECT_THROW(RevocationItem::Parse("transfer:MP"), std::invalid_argument);
  EXPECT_THROW(RevocationItem::Parse("warehouse:MP@x"), std::invalid_argument);
}

TEST_F(ProfileTest, CodesWithQuotesReachTheDatabaseQuoted) {
  const NamedPrincipal ospite = directory_.Find("ospite");
  Put(ospite, {Warehouse("O'B")});
  const auto rows = ProfileReader::Read(*cn_, ospite.principal);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].code1, "O'B");
  EXPECT_EQ(WhereUsed::Find(*cn_, RevocationItem::Parse("warehouse:O'B")).size(), 1u);
}

}  // namespace
}  // namespace orv::profile
