#include "profile/profile_import.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>

#include "profile/profile_comparison.h"
#include "profile/profile_document.h"
#include "profile/profile_reader.h"
#include "profile_fixture.h"

namespace orv::profile {
namespace {

class ProfileImportTest : public ProfileFixture {
 protected:
  ProfileDocument Export(const NamedPrincipal& who) {
    return ProfileDocument::Of(who.IsUser() ? "user" : "group", who.code, who.principal.name(),
                               ProfileReader::Read(*cn_, who.principal));
  }
  ImportPlan Import(const NamedPrincipal& onto, const ProfileDocument& document, bool apply = true,
                    bool skip_unknown = false) {
    ProfileImport import(*cn_, onto, document, {skip_unknown, "admin"});
    return apply ? import.Apply() : import.Preview();
  }
  // Every principal's rows but the target's, to show they stay untouched.
  std::vector<ProfileRow> Others(const NamedPrincipal& target) {
    std::vector<ProfileRow> rows;
    for (const char* who : {"mrossi", "lbianchi", "gverdi", "fesposito", "cferrari",
                            "group:VENDITE", "group:ACQUISTI", "group:MAGAZZ", "group:PRODUZ"}) {
      const NamedPrincipal p = directory_.Find(who);
      if (p.Reference() == target.Reference()) continue;
      for (ProfileRow row : ProfileReader::Read(*cn_, p.principal)) {
        row.grouping += "@" + p.Reference();  // keeps the owner in the key
        rows.push_back(row);
      }
    }
    return rows;
  }
};

TEST_F(ProfileImportTest, RoundTripOntoANewPrincipalShowsNoDifference) {
  const NamedPrincipal laura = directory_.Find("lbianchi");
  const NamedPrincipal ospite = directory_.Find("ospite");
  Put(laura, {Warehouse("MP"), Transfer("01", "A"), Branch(0, "AREA", "CENTRO", "LAZ", "", 0)});
  const std::string file = Export(laura).ToJson();
  const std::vector<ProfileRow> others = Others(ospite);

  const ProfileDocument document = ProfileDocument::FromJson(file);
  const ImportPlan preview = Import(ospite, document, false);
  EXPECT_EQ(preview.added.size(), ProfileReader::Read(*cn_, laura.principal).size());
  EXPECT_TRUE(preview.removed.empty());
  EXPECT_TRUE(ProfileReader::Read(*cn_, ospite.principal).empty());  // a preview writes nothing
  EXPECT_EQ(ChangeLogCount(), 0);

  const ImportPlan done = Import(ospite, document);
  EXPECT_TRUE(ProfileComparison::Compare(ProfileReader::Read(*cn_, laura.principal),
                                         ProfileReader::Read(*cn_, ospite.principal))
                  .Same());
  EXPECT_TRUE(ProfileComparison::Compare(others, Others(ospite)).Same());
  // The change log got what the clicks write: warehouses (16) and branches (15).
  EXPECT_EQ(ChangeLogCount(), done.change_log_entries);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW90_LOGMODIFICHE WHERE FW90_EVENTO = 16"), 2);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM FW90_LOGMODIFICHE WHERE FW90_EVENTO = 15"), 2);
  auto rs =
      cn_->Execute("SELECT FW90_TESTO FROM FW90_LOGMODIFICHE WHERE FW90_TESTO LIKE '%3: MP;%'");
  ASSERT_FALSE(rs->IsEof());
  EXPECT_EQ(rs->Field(0).ToText(), "Utente: Utente ospite; 1: Materie prime; 2: ; 3: MP; 4: No; ");
  // The derived list now holds the customers of the imported branches.
  EXPECT_GT(Count("SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW07 = 9"), 0);

  // Importing the same file again changes nothing.
  EXPECT_TRUE(Import(ospite, document).Empty());
}

TEST_F(ProfileImportTest, ImportReplacesOnlyTheTablesTheFileCarries) {
  const NamedPrincipal mario = directory_.Find("mrossi");
  ProfileDocument document;
  document.tables = {RevocationTable::kParameters};
  document.rows = {Warehouse("A", {0, 1, 0, 0}), Warehouse("MP")};
  const ImportPlan plan = Import(mario, document);
  // A: flags changed; MP: added; DEP 1 and ORDINI: removed.
  EXPECT_EQ(plan.added.size(), 1u);
  EXPECT_EQ(plan.changed.size(), 1u);
  EXPECT_EQ(plan.removed.size(), 2u);
  const auto rows = ProfileReader::Read(*cn_, mario.principal);
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                          [](const auto& r) { return r.table == RevocationTable::kCliFor; }),
            1);  // his branch stayed
  EXPECT_FALSE(plan.reloads_clifor_list);
}

TEST_F(ProfileImportTest, UnknownCodesAreRefusedWithAListUnlessSkipped) {
  const NamedPrincipal ospite = directory_.Find("ospite");
  ProfileDocument document = ProfileDocument::Of("user", "x", "x", {});
  document.rows = {Warehouse("MP"), Warehouse("ZZ"), Transfer("MP", "QQ"),
                   Branch(0, "AREA", "NORD", "NONE", "", 0), Warehouse("01", {}, 99)};
  try {
    Import(ospite, document);
    FAIL() << "unknown codes went through";
  } catch (const UnknownCodesError& e) {
    EXPECT_EQ(e.codes(), (std::vector<std::string>{"deposito ZZ, ditta 1 (parameters 6 ZZ)",
                                                   "ditta 99 (parameters 6 01)",
                                                   "area NONE, ditta 1 (clifor AREA 0 NORD/NONE/-)",
                                                   "deposito QQ, ditta 1 (transfers MP>QQ)"}));
  }
  EXPECT_TRUE(ProfileReader::Read(*cn_, ospite.principal).empty());
  const ImportPlan plan = Import(ospite, document, true, true);
  EXPECT_EQ(plan.unknown.size(), 4u);
  EXPECT_EQ(ProfileReader::Read(*cn_, ospite.principal).size(), 1u);
}

TEST_F(ProfileImportTest, AnImportThatFailsHalfWayLeavesNothingChanged) {
  const NamedPrincipal mario = directory_.Find("mrossi");
  const std::vector<ProfileRow> before = ProfileReader::Read(*cn_, mario.principal);
  const std::string listed = "SELECT COUNT(*) FROM FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW07 = 2";
  const int64_t listed_before = Count(listed);
  // The database refuses the transfer rows, written after the deletes,
  // updates and parameter inserts.
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(database_.path().c_str(), &raw), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(raw,
                         "CREATE TRIGGER refuse BEFORE INSERT ON FW3E_RVKDEPCOLL "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(raw);
  ProfileDocument document = ProfileDocument::Of("user", "mrossi", "", {});
  document.rows = {Warehouse("MP"), Branch(0, "AREA", "SUD", "", "", 0), Transfer("MP", "PF")};
  EXPECT_ANY_THROW(Import(mario, document));
  EXPECT_TRUE(
      ProfileComparison::Compare(before, ProfileReader::Read(*cn_, mario.principal)).Same());
  EXPECT_EQ(ChangeLogCount(), 0);
  EXPECT_EQ(Count(listed), listed_before);
}

TEST(ProfileDocumentTest, FileRoundTripAndRefusals) {
  ProfileRow family;
  family.table = RevocationTable::kFamilies;
  family.company = 2;
  family.grouping = "FAM";
  family.code1 = "L'A";
  family.flags = {1, 0, 1, 0};
  ProfileRow node;
  node.table = RevocationTable::kNodes;
  node.company = 1;
  node.code1 = "24001";
  node.code2 = "030";
  const ProfileDocument document =
      ProfileDocument::Of("group", "VENDITE", "Ufficio vendite",
                          {Warehouse("MP", {0, 1, 0, 1}), Branch(-1, "SEDE", "", "", "MAG", 0),
                           family, Transfer("A", "B"), node});
  const ProfileDocument back = ProfileDocument::FromJson(document.ToJson());
  EXPECT_EQ(back.principal_code, "VENDITE");
  EXPECT_EQ(back.tables.size(), 5u);
  EXPECT_TRUE(ProfileComparison::Compare(document.rows, back.rows).Same());

  struct Bad {
    const char* text;
    const char* message;
  };
  const std::vector<Bad> bad = {
      {"[]", "not a JSON object"},
      {R"({"format":"x","version":1,"tables":{}})", "not a profile file"},
      {R"({"format":"orvelka-profile","version":2,"tables":{}})", "newer"},
      {R"({"format":"orvelka-profile","version":1,"tables":{"shelves":[]}})", "unknown table"},
      {R"({"format":"orvelka-profile","version":1,"tables":{"parameters":[{"kind":6,"code":"A"}]}})",
       "row 1 of \"parameters\": no \"company\""},
      {R"({"format":"orvelka-profile","version":1,"tables":{"transfers":[{"company":1,"origin":"A","destination":"B","abilitato":2}]}})",
       "neither 0 nor 1"},
  };
  for (const Bad& b : bad) {
    try {
      ProfileDocument::FromJson(b.text);
      ADD_FAILURE() << b.text;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(b.message), std::string::npos) << e.what();
    }
  }
}

TEST_F(ProfileImportTest, AnApplyRefusesWhenTheRowsChangedAfterThePreview) {
  const NamedPrincipal ospite = directory_.Find("ospite");
  ProfileDocument document = ProfileDocument::Of("user", "x", "x", {});
  document.tables = {RevocationTable::kParameters};
  document.rows = {Warehouse("MP")};
  ProfileImport import(*cn_, ospite, document, {false, "admin"});
  const ImportPlan shown = import.Preview();
  ASSERT_EQ(shown.added.size(), 1u);
  Put(ospite, {Warehouse("PF")});  // another editor, meanwhile
  EXPECT_THROW(import.Apply(&shown), PlanChangedError);
  EXPECT_EQ(ProfileReader::Read(*cn_, ospite.principal).size(), 1u);  // only PF
  EXPECT_EQ(ChangeLogCount(), 0);
  const ImportPlan again = import.Preview();
  EXPECT_EQ(import.Apply(&again).removed.size(), 1u);
}

TEST_F(ProfileImportTest, AFileNamingOneItemTwiceIsRefused) {
  ProfileDocument document = ProfileDocument::Of("user", "x", "x", {});
  document.rows = {Warehouse("MP", {0, 0, 0, 0}), Warehouse("MP", {0, 1, 1, 1})};
  EXPECT_THROW(Import(directory_.Find("ospite"), document, false), std::runtime_error);
}

}  // namespace
}  // namespace orv::profile
