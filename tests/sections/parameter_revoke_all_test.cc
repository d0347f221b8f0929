// "Disabilita tutti" of a parameter section over many rows: the rows shown
// are written as a set with a handful of statements, not a few per row;
// the table ends as the row by row walk leaves it (existing rows written
// over, whatever the case of their code), and the journal entry puts back
// exactly what was there.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/statement_observer.h"
#include "hostdb/demo_installation.h"
#include "journal/journal.h"
#include "sections/bulk_editor.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::BulkEditor;

constexpr int kItems = 1203;  // more than two statements' worth of codes

struct Counted : db::StatementObserver {
  void OnStatement(const db::StatementEvent& event) override {
    if (event.kind == db::StatementEvent::Kind::kText) ++statements;
  }
  int statements = 0;
};

class ParameterRevokeAllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string insert =
        "INSERT INTO MG0F_BLMPARAM (MG0F_DITTA_CG18, MG0F_CODPARAM, MG0F_DESCPARAM) VALUES ";
    for (int i = 0; i < kItems; ++i) {
      insert += (i > 0 ? ", " : "") + std::string("(1, 'X") + std::to_string(i) + "', 'Item')";
    }
    e_.Exec(insert);
  }
  // The user's rows of the blocking parameters, as text, in key order.
  std::vector<std::string> Rows() {
    return e_.Query(
        "SELECT FW31_CODTIPO, FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, "
        "FW31_FLGELIMINA, FW31_FLGINSERISCI FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 9 AND "
        "FW31_INDTIPO = 30 ORDER BY FW31_CODTIPO, FW31_DITTARAGG");
  }
  int64_t Count(const std::string& where) {
    return e_.Count(
        "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 9 AND FW31_INDTIPO = 30" +
        where);
  }
  // "Disabilita tutti" answered yes; the statements it sent.
  int RevokeAll() {
    auto counted = std::make_shared<Counted>();
    e_.window().connection()->SetStatementObserver(counted, "test");
    e_.ClearOutput();
    e_.Yes();
    e_.host().Button("VRX_DISABILITATUTTI");
    e_.window().connection()->SetStatementObserver(nullptr);
    return counted->statements;
  }
  BulkEditor e_;
};

TEST_F(ParameterRevokeAllTest, ManyRowsAreWrittenAsASetAndTheEntryPutsThemBack) {
  // One row revoked already, one partly, one allowed in every right.
  e_.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, FW31_FLGINSERISCI) "
      "VALUES (9, NULL, 30, 'X5', 1, 0, 0, 0, 0), (9, NULL, 30, 'X600', 1, 0, 1, 0, 1), "
      "(9, NULL, 30, 'X1100', 1, 1, 1, 1, 1)");
  e_.Section("ITM_MODBLOCCO");
  e_.User(DemoInstallation::kUserOspite);
  const size_t shown = e_.Rows().size();
  ASSERT_GT(shown, static_cast<size_t>(kItems));
  const std::vector<std::string> before = Rows();

  const int statements = RevokeAll();
  // Per 500 codes an UPDATE and an INSERT, the journal's reading before
  // and its entry with a page or two of images: no statement per row.
  EXPECT_LE(statements, 20);
  EXPECT_EQ(e_.Messages(), std::vector<std::string>{BulkEditor::kRevokeAllQuestion});
  EXPECT_EQ(Count(""), static_cast<int64_t>(shown));
  EXPECT_EQ(Count(" AND (FW31_FLGABILITATO <> 0 OR FW31_FLGMODIFICA <> 0 OR FW31_FLGELIMINA <> 0 "
                  "OR FW31_FLGINSERISCI <> 0)"),
            0);
  EXPECT_EQ(Count(" AND FW31_CODTIPO IN ('X5', 'X600', 'X1100')"), 3);
  for (const testing::WorkRow& row : e_.Rows()) {
    EXPECT_EQ(row.abilitato + row.modifica + row.inserimento + row.eliminazione, "0000")
        << row.code;
  }
  // The entry has a row image per row that changed (X5 did not).
  const std::vector<journal::JournalEntry> entries = e_.window().journal()->Entries();
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front().image_count, static_cast<int64_t>(shown) - 1);
  EXPECT_EQ(e_.window().journal()->Images(entries.front().id).size(), shown - 1);

  const journal::Journal::Result undone = e_.window().journal()->Undo();
  ASSERT_TRUE(undone.applied) << undone.message;
  EXPECT_EQ(Rows(), before);
  const journal::Journal::Result redone = e_.window().journal()->Redo();
  ASSERT_TRUE(redone.applied) << redone.message;
  EXPECT_EQ(Count(""), static_cast<int64_t>(shown));
}

TEST_F(ParameterRevokeAllTest, ARowWhoseCodeDiffersInCaseIsWrittenOverAndPutBack) {
  // The host compares codes without case: the row of 'x7' is the row of
  // X7, written over as the walk's look-up would find it, not doubled.
  e_.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, FW31_FLGINSERISCI) "
      "VALUES (9, NULL, 30, 'x7', 1, 1, 1, 1, 1)");
  e_.Section("ITM_MODBLOCCO");
  e_.User(DemoInstallation::kUserOspite);
  const size_t shown = e_.Rows().size();
  const std::vector<std::string> before = Rows();

  RevokeAll();
  EXPECT_EQ(Count(""), static_cast<int64_t>(shown));  // not doubled
  EXPECT_EQ(Count(" AND FW31_CODTIPO = 'x7' AND FW31_FLGABILITATO = 0"), 1);

  const journal::Journal::Result undone = e_.window().journal()->Undo();
  ASSERT_TRUE(undone.applied) << undone.message;
  EXPECT_EQ(Rows(), before);
}

TEST_F(ParameterRevokeAllTest, RowsOfAnotherCompanyAreLeftAsTheyAre) {
  // The same codes allowed in a company the grid does not show: the set
  // written for the rows shown must not reach them.
  e_.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, FW31_FLGINSERISCI) "
      "VALUES (9, NULL, 30, 'X5', 99, 1, 1, 1, 1), (9, NULL, 30, 'X900', 99, 1, 0, 1, 0)");
  e_.Section("ITM_MODBLOCCO");
  e_.User(DemoInstallation::kUserOspite);
  const size_t shown = e_.Rows().size();

  RevokeAll();
  EXPECT_EQ(Count(" AND FW31_DITTARAGG <> 99"), static_cast<int64_t>(shown));
  EXPECT_EQ(e_.Query("SELECT FW31_CODTIPO, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, "
                     "FW31_FLGINSERISCI FROM FW31_RVKPARAMETRI WHERE FW31_DITTARAGG = 99 "
                     "ORDER BY FW31_CODTIPO"),
            (std::vector<std::string>{"X5|1|1|1|1", "X900|1|0|1|0"}));
}

}  // namespace
}  // namespace orv::sections
