// A gesture that tells the capture what it wrote spares the reading after
// it only when the engine's counts of rows updated and inserted agree with
// the rows read before; otherwise the capture reads the scope again.

#include "journal/gesture_capture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "journal/journal.h"
#include "journal/journal_table.h"
#include "journal/row_text.h"
#include "support/headless_editor.h"

namespace orv::journal {
namespace {

using testing::HeadlessEditor;

class GestureCaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e_.Open();
    e_.Exec("DELETE FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 3");
    e_.Exec("DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 3");
  }
  Journal& journal() { return *e_.window().journal(); }
  db::Connection& cn() { return *e_.window().connection(); }
  static RowScope Parameters() {
    RowScope scope{JournalTable::kParameters, store::Principal::Group(3), {}};
    scope.Where("FW31_INDTIPO", db::Value(6));
    return scope;
  }
  static std::string ParameterKey(const std::string& code) {
    return RowText::Join(
        {std::nullopt, std::string("3"), std::string("6"), code, std::string("1")});
  }
  static std::string TransferKey(const std::string& origin, const std::string& destination) {
    return RowText::Join({std::nullopt, std::string("3"), std::string("1"), origin, destination});
  }
  // Inserts warehouse `code`'s parameter row with ABILITATO = `flag` in
  // one gesture that tells `told`, `updated` and `inserted`; the entry's
  // images.
  std::vector<RowImage> Insert(const std::string& code, int flag,
                               std::vector<std::pair<std::string, std::string>> told,
                               int64_t updated, int64_t inserted) {
    db::Transaction transaction(cn());
    GestureCapture capture(&journal(), cn(), {Parameters()});
    cn().Execute(
        "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, "
        "FW31_CODTIPO, FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, "
        "FW31_FLGINSERISCI) VALUES (NULL, 3, 6, '" +
            code + "', 1, " + std::to_string(flag) + ", 0, 0, 0)",
        nullptr, db::kAdExecuteNoRecords);
    capture.Wrote(JournalTable::kParameters, std::move(told), updated, inserted);
    const int64_t id =
        capture.Commit(transaction, {GestureKind::kDisableAll, 6, store::Principal::Group(3)});
    return journal().Images(id);
  }
  HeadlessEditor e_;
};

TEST_F(GestureCaptureTest, WhenTheCountsAgreeTheEntryKeepsWhatTheGestureTold) {
  // The table holds 1|0|0|0; the gesture says 0|0|0|0 and the counts
  // agree (one row inserted, none was there): the entry keeps what it was
  // told, so the capture did not read the rows again.
  const std::vector<RowImage> images = Insert("02", 1, {{ParameterKey("02"), "0|0|0|0"}}, 0, 1);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].key, ParameterKey("02"));
  EXPECT_EQ(images[0].before, std::nullopt);
  EXPECT_EQ(images[0].after, std::optional<std::string>("0|0|0|0"));
}

TEST_F(GestureCaptureTest, WhenTheCountsDisagreeTheRowsAreReadAgain) {
  // Counted as an update of a row that was not there: read, the entry has
  // what the table holds.
  std::vector<RowImage> images = Insert("02", 1, {{ParameterKey("02"), "0|0|0|0"}}, 1, 0);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].after, std::optional<std::string>("1|0|0|0"));
}

TEST_F(GestureCaptureTest, ARowTheEngineMatchedInAnotherCaseIsReadAgain) {
  e_.Exec(
      "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, "
      "FW31_DITTARAGG, FW31_FLGABILITATO) VALUES (NULL, 3, 6, 'mp', 1, 1)");
  // The update matched the row of 'mp' by the code 'MP': the one row
  // counted is not the told key's, so the capture reads.
  db::Transaction transaction(cn());
  GestureCapture capture(&journal(), cn(), {Parameters()});
  int64_t updated = 0;
  cn().Execute(
      "UPDATE FW31_RVKPARAMETRI SET FW31_FLGABILITATO = 0 WHERE FW31_ID_FW06 = 3 AND "
      "FW31_INDTIPO = 6 AND FW31_CODTIPO = 'MP'",
      &updated, db::kAdExecuteNoRecords);
  ASSERT_EQ(updated, 1);
  capture.Wrote(JournalTable::kParameters, {{ParameterKey("MP"), "0|0|0|0"}}, updated, 0);
  const int64_t id =
      capture.Commit(transaction, {GestureKind::kDisableAll, 6, store::Principal::Group(3)});
  const std::vector<RowImage> images = journal().Images(id);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].key, ParameterKey("mp"));
  EXPECT_EQ(images[0].before, std::optional<std::string>("1|0|0|0"));
  EXPECT_EQ(images[0].after, std::optional<std::string>("0|0|0|0"));
}

TEST_F(GestureCaptureTest, AGestureThatOnlyAddsRowsLeavesThoseThereOutOfTheEntry) {
  e_.Exec(
      "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
      "FW3E_ID_FW07, FW3E_ID_FW06, FW3E_FLGABILITATO) VALUES (1, '01', '01', NULL, 3, 1)");
  RowScope scope{JournalTable::kTransfers, store::Principal::Group(3), {}};
  scope.Where("FW3E_DITTA_CG18", db::Value(1));
  int64_t id = 0;
  {
    db::Transaction transaction(cn());
    GestureCapture capture(&journal(), cn(), {scope});
    cn().Execute(
        "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
        "FW3E_ID_FW07, FW3E_ID_FW06) VALUES (1, '01', '02', NULL, 3)",
        nullptr, db::kAdExecuteNoRecords);
    capture.WroteMissing(JournalTable::kTransfers,
                         {{TransferKey("01", "01"), "0"}, {TransferKey("01", "02"), "0"}}, 1);
    id = capture.Commit(transaction, {GestureKind::kDisableAll, 32, store::Principal::Group(3)});
  }
  const std::vector<RowImage> images = journal().Images(id);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].key, TransferKey("01", "02"));
  EXPECT_EQ(images[0].before, std::nullopt);
  EXPECT_EQ(images[0].after, std::optional<std::string>("0"));
  // Undone from those images: the row that was there stays as it was.
  ASSERT_TRUE(journal().Undo().applied);
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 3 AND "
                     "FW3E_FLGABILITATO = 1"),
            1);
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 3"), 1);
}

}  // namespace
}  // namespace orv::journal
