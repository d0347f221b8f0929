// Revoking every pair for one principal, and "Abilita tutti" / "Disabilita
// tutti" for every principal of the installation.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "db/sql_literal.h"
#include "journal/journal.h"
#include "journal/journal_summary.h"
#include "sections/transfer_editor.h"

namespace orv::testing {
namespace {

using ::testing::ElementsAre;

constexpr int64_t kPairs =
    TransferEditor::kCompany1Warehouses * TransferEditor::kCompany1Warehouses;
constexpr int32_t kYes = 6;
constexpr int32_t kNo = 7;

// A row of company 2 that no company-1 action may touch.
void AddOtherCompanyRows(TransferEditor& e) {
  e.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
      "FW3E_ID_FW07, FW3E_ID_FW06) VALUES (2, '01', 'B', 5, NULL), (2, 'B', '01', NULL, 3)");
}

TEST(WarehouseDisableAllTest, EveryPairOnceWhateverExistedAndTwiceChangesNothing) {
  TransferEditor e;
  AddOtherCompanyRows(e);
  e.User(5);
  e.Open();
  ASSERT_TRUE(e.section().DisabilitaTuttiDep(db::Value(5), db::Value::Null()));
  EXPECT_EQ(e.UserRows(5), kPairs);
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 = 5 AND FW3E_DITTA_CG18 = 1 AND FW3E_CODDEP_ORI = "
                   "FW3E_CODDEP_DES"),
            TransferEditor::kCompany1Warehouses);
  ASSERT_TRUE(e.section().DisabilitaTuttiDep(db::Value(5), db::Value::Null()));
  EXPECT_EQ(e.UserRows(5), kPairs);
  // No pair twice.
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM (SELECT DISTINCT FW3E_CODDEP_ORI, "
                    "FW3E_CODDEP_DES FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW07 = 5 AND "
                    "FW3E_DITTA_CG18 = 1) AS P"),
            kPairs);
  EXPECT_EQ(e.UserRows(5, 2), 1);
  EXPECT_EQ(e.GroupRows(5), 1);
  // Without any principal nothing is written.
  EXPECT_FALSE(e.section().DisabilitaTuttiDep(db::Value::Null(), db::Value::Null()));
  EXPECT_EQ(e.Rows("FW3E_ID_FW07 IS NULL AND FW3E_ID_FW06 IS NULL"), 0);
}

TEST(WarehouseDisableAllTest, ButtonAsksThenRevokesAndRefills) {
  TransferEditor e;
  e.Group(4);
  e.Open();
  e.Button("VRX_DISABILITATUTTIDEP", {kNo});
  EXPECT_EQ(e.GroupRows(4), 0);
  EXPECT_TRUE(e.RevokedCells().empty());
  e.Button("VRX_DISABILITATUTTIDEP", {kYes});
  EXPECT_EQ(e.GroupRows(4), kPairs);
  EXPECT_EQ(e.RevokedCells().size(), static_cast<size_t>(kPairs));
  EXPECT_THAT(e.Messages(),
              ElementsAre("4||Confermi la disabilitazione dell' utente/gruppo selezionato?",
                          "4||Confermi la disabilitazione dell' utente/gruppo selezionato?"));
}

TEST(WarehouseDisableAllTest, TheMatrixShowsWhatAFullReadingShows) {
  // After the gesture every pair of the warehouses has a row, so the
  // matrix reads back only the rows that are not revocations: a pair
  // allowed explicitly, and the rows of an origin that is no warehouse
  // any more (removed after the matrix was built).
  TransferEditor e;
  e.Group(4);
  e.Open();
  const std::vector<std::string> origins = e.Origins();
  ASSERT_GE(origins.size(), 3u);
  const std::string& a = origins[0];
  const std::string& b = origins[1];
  const std::string& gone = origins.back();
  e.Exec("DELETE FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = 1 AND MG58_CODDEP = " +
         db::SqlQuote(gone));
  e.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
      "FW3E_ID_FW07, FW3E_ID_FW06, FW3E_FLGABILITATO) VALUES (1, " +
      db::SqlQuote(a) + ", " + db::SqlQuote(b) + ", NULL, 4, 1), (1, " + db::SqlQuote(gone) + ", " +
      db::SqlQuote(a) + ", NULL, 4, 0)");
  e.Button("VRX_DISABILITATUTTIDEP", {kYes});
  EXPECT_EQ(e.Cell(a, b), "1");
  EXPECT_EQ(e.Cell(b, a), "0");
  EXPECT_EQ(e.Cell(gone, a), "0");
  EXPECT_EQ(e.Cell(gone, b), "1");
  const std::vector<std::string> shown = e.RevokedCells();
  const int64_t warehouses = static_cast<int64_t>(origins.size()) - 1;
  // Every pair of the warehouses but the one allowed, and the removed
  // origin's revoked pair.
  EXPECT_EQ(static_cast<int64_t>(shown.size()), (warehouses * warehouses - 1) + 1);
  e.section().FillMatrix();
  EXPECT_EQ(e.RevokedCells(), shown);
}

TEST(WarehouseDisableAllTest, ALargeRevokeAllIsOneEntryOfManyPagesThatUndoAndRedoRestore) {
  // 130 warehouses: 16,900 pairs, whose images fill nine pages, written by
  // two inserts of pages (eight to an insert).
  TransferEditor e;
  for (int i = 0; i < 123; ++i) {
    const std::string code = (i % 2 == 0 ? "X'" : "X ") + std::to_string(i);
    e.Exec("INSERT INTO MG58_DEPOSITI (MG58_DITTA_CG18, MG58_CODDEP, MG58_DESCRDEP) VALUES (1, " +
           db::SqlQuote(code) + ", 'Deposito')");
  }
  constexpr int64_t kAll = 130 * 130;
  // User 5 has two revocations of the demo; one pair is allowed explicitly.
  e.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
      "FW3E_ID_FW07, FW3E_ID_FW06, FW3E_FLGABILITATO) VALUES (1, '02', 'X''4', 5, NULL, 1)");
  e.User(5);
  e.Open();
  journal::Journal& journal = *e.window().journal();
  ASSERT_TRUE(journal.persistent());
  e.Button("VRX_DISABILITATUTTIDEP", {kYes});
  EXPECT_EQ(e.UserRows(5), kAll);
  EXPECT_EQ(e.Cell("02", "X'4"), "1");
  EXPECT_EQ(e.Cell("X'4", "02"), "0");
  EXPECT_EQ(e.RevokedCells().size(), static_cast<size_t>(kAll - 1));

  const std::optional<journal::JournalEntry> entry = journal.NextUndo();
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->image_count, kAll - 3);
  // Five pairs named, each of the others counted once.
  EXPECT_THAT(entry->summary,
              ::testing::StartsWith("Trasferimenti tra depositi: revocati 01 > 01, "));
  EXPECT_THAT(entry->summary, ::testing::HasSubstr(" e altri 16892 per l'utente "));
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3K_IMMAGINIREVOKE WHERE FW3K_ID_FW3J = " +
                    std::to_string(entry->id)),
            9);
  // The pages read back are the images the session kept: every pair added, revoked.
  const std::vector<journal::RowImage> stored = journal::Journal::ListImages(e.db(), entry->id);
  ASSERT_EQ(stored, journal.Images(entry->id));
  ASSERT_EQ(stored.size(), static_cast<size_t>(kAll - 3));
  for (const journal::RowImage& image : stored) {
    ASSERT_FALSE(image.before) << image.key;
    ASSERT_EQ(image.after, std::optional<std::string>("0")) << image.key;
  }
  auto named = [&](const std::string& item) {
    return std::count_if(stored.begin(), stored.end(), [&](const journal::RowImage& image) {
      return journal::JournalSummary::Item(image.table, image.key) == item;
    });
  };
  EXPECT_EQ(named("X'4 > 02"), 1);
  EXPECT_EQ(named("02 > X'4"), 0);
  EXPECT_EQ(named("01 > A"), 0);

  ASSERT_TRUE(e.window().UndoGesture());
  EXPECT_EQ(e.UserRows(5), 3);
  EXPECT_EQ(e.UserPair(5, "02", "X'4"), 1);
  EXPECT_THAT(e.RevokedCells(), ElementsAre("01>A", "01>DEP 1"));
  ASSERT_TRUE(e.window().RedoGesture());
  EXPECT_EQ(e.UserRows(5), kAll);
  EXPECT_EQ(e.Cell("02", "X'4"), "1");
  EXPECT_EQ(e.RevokedCells().size(), static_cast<size_t>(kAll - 1));
}

TEST(WarehouseDisableAllTest, FailureIsReportedByTheRoutine) {
  TransferEditor e;
  e.Group(4);
  e.Open();
  e.Exec("DROP TABLE FW3E_RVKDEPCOLL");
  e.Button("VRX_DISABILITATUTTIDEP", {kYes});
  const std::vector<std::string> messages = e.Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_THAT(messages[1], ::testing::HasSubstr(" in DisabilitaTuttiDep"));
  EXPECT_THAT(messages[2], ::testing::HasSubstr(" in LoadRevokeDepositi"));
}

TEST(WarehouseAllPrincipalsTest, EnableAllClearsEveryPrincipalOfTheCompanyOnly) {
  TransferEditor e;
  AddOtherCompanyRows(e);
  e.User(5);
  e.Open();
  e.Button("VRX_ABILITATUTTIU", {kNo});
  EXPECT_EQ(e.Rows("FW3E_DITTA_CG18 = 1"), 3);
  e.Button("VRX_ABILITATUTTIU", {kYes});
  EXPECT_EQ(e.Rows("FW3E_DITTA_CG18 = 1"), 0);
  EXPECT_EQ(e.Rows("FW3E_DITTA_CG18 = 2"), 2);
  EXPECT_TRUE(e.RevokedCells().empty());
  EXPECT_THAT(e.Messages(), ElementsAre("4||Confermi l' abilitazione di tutti gli utenti?",
                                        "4||Confermi l' abilitazione di tutti gli utenti?"));
}

TEST(WarehouseAllPrincipalsTest, DisableAllRevokesForGroupedUsersAndGroupsButNotCorvsa) {
  TransferEditor e;
  AddOtherCompanyRows(e);
  e.User(5);
  e.Open();
  e.Button("VRX_DISABILITATUTTIU", {kNo});
  EXPECT_EQ(e.Rows("FW3E_DITTA_CG18 = 1"), 3);

  e.Button("VRX_DISABILITATUTTIU", {kYes});
  // Users in a group other than CORVSA (user 1 is also in CORVSA), and every
  // group but CORVSA; nobody else.
  const std::set<int64_t> users = {1, 2, 3, 4, 5, 6, 7, 10, 11};
  const std::set<int64_t> groups = {2, 3, 4, 5, 6};
  for (int64_t id = 1; id <= 11; ++id) {
    EXPECT_EQ(e.UserRows(id), users.count(id) ? kPairs : 0) << "user " << id;
  }
  for (int64_t id = 1; id <= 6; ++id) {
    EXPECT_EQ(e.GroupRows(id), groups.count(id) ? kPairs : 0) << "group " << id;
  }
  EXPECT_EQ(e.Rows("FW3E_DITTA_CG18 = 1"),
            static_cast<int64_t>(users.size() + groups.size()) * kPairs);
  EXPECT_EQ(e.Rows("FW3E_DITTA_CG18 = 2"), 2);
  // The selected principal's matrix was refilled.
  EXPECT_EQ(e.Cell("PF", "01"), "0");
  EXPECT_EQ(e.RevokedCells().size(), static_cast<size_t>(kPairs));

  // Once more: nothing doubles.
  e.Button("VRX_DISABILITATUTTIU", {kYes});
  EXPECT_EQ(e.Rows("FW3E_DITTA_CG18 = 1"),
            static_cast<int64_t>(users.size() + groups.size()) * kPairs);
  EXPECT_THAT(e.Messages(), ElementsAre("4||Confermi la disabilitazione di tutti gli utenti?",
                                        "4||Confermi la disabilitazione di tutti gli utenti?",
                                        "4||Confermi la disabilitazione di tutti gli utenti?"));
}

TEST(WarehouseAllPrincipalsTest, FailureIsReportedByTheRoutine) {
  TransferEditor e;
  e.User(5);
  e.Open();
  e.Exec("DROP TABLE FW3E_RVKDEPCOLL");
  e.Button("VRX_ABILITATUTTIU", {kYes});
  const std::vector<std::string> messages = e.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_THAT(messages[1], ::testing::HasSubstr(" in AbilitaDisabilitaTuttu"));
}

TEST(WarehouseAllPrincipalsTest, ButtonsBelongToTheTransferSectionOnly) {
  TransferEditor e;
  e.User(5);
  e.Section("ITM50017");
  e.Button("VRX_ABILITATUTTIU", {kYes});
  e.Button("VRX_DISABILITATUTTIDEP", {kYes});
  EXPECT_EQ(e.Rows("FW3E_DITTA_CG18 = 1"), 3);
  EXPECT_TRUE(e.Messages().empty());
  e.host().answers().Clear();
}

}  // namespace
}  // namespace orv::testing
