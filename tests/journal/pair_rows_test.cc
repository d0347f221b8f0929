// A gesture that tells its rows as every pair of a list of codes (the
// matrix's "Disabilita tutti") has its pages and its summary written from
// the codes: they must be those the images of the same rows give, down to
// codes with quotes, separators and escapes, and undo must put the rows
// back from either.

#include "journal/pair_rows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"
#include "journal/gesture_capture.h"
#include "journal/image_page.h"
#include "journal/journal.h"
#include "journal/journal_summary.h"
#include "journal/journal_table.h"
#include "journal/row_text.h"
#include "sections/transfers/transfer_revoke_all.h"
#include "sections/transfers/transfer_statements.h"
#include "support/headless_editor.h"

namespace orv::journal {
namespace {

using testing::HeadlessEditor;

// The key prefix of group 3's rows in company 1.
std::string Prefix() { return RowText::Join({std::nullopt, std::string("3"), std::string("1")}); }

// The images Make() reads for the absent pairs (present[i] false) of `pairs`.
std::vector<RowImage> ImagesOf(const PairRows& pairs, const std::vector<bool>& present) {
  std::vector<RowImage> images;
  const auto rows = pairs.Rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!present.empty() && present[i]) continue;
    images.push_back(
        {std::string(JournalTable::kTransfers), rows[i].first, std::nullopt, rows[i].second});
  }
  return images;
}

TEST(PairRowsTest, KeysAreTheRowTextsOfEachPairInOrder) {
  const std::vector<std::string> codes = {"O'B", "a|b", "c\\d", "T\tX", "Z  ", ""};
  const PairRows pairs(Prefix(), codes, "0");
  const auto rows = pairs.Rows();
  ASSERT_EQ(rows.size(), codes.size() * codes.size());
  for (size_t o = 0; o < codes.size(); ++o) {
    for (size_t d = 0; d < codes.size(); ++d) {
      const auto& [key, values] = rows[o * codes.size() + d];
      EXPECT_EQ(key, RowText::Join(
                         {std::nullopt, std::string("3"), std::string("1"), codes[o], codes[d]}));
      EXPECT_EQ(values, "0");
      std::string one;
      pairs.AppendKey(one, o * codes.size() + d);
      EXPECT_EQ(one, key);
      EXPECT_LE(one.size(), pairs.max_key_size());
    }
  }
  EXPECT_EQ(pairs.prefix_fields(), 3u);
}

TEST(PairRowsTest, SummaryFromTheCodesIsThatOfTheImages) {
  const Gesture revoke(GestureKind::kDisableAll, 32, store::Principal::Group(3, "Vendite"));
  Gesture detailed = revoke;
  detailed.detail = "copiate da Gruppo - Magazzino (3)";
  struct Case {
    std::vector<std::string> codes;
    std::vector<bool> present;
    std::string values;
  };
  const std::vector<Case> cases = {
      {{"01", "O'B ", "a|b", "c\\d"}, {}, "0"},         // 16 items
      {{"01", "02"}, {true, false, true, false}, "0"},  // 2 items
      {{"01", "02", "03"}, {true, true, true, true, false, true, true, true, true}, "0"},
      {{"01", "02", "03"}, {false, true, true, true, true, true, true, true, false}, "0"},
      {{"01", "02", "03"}, {}, "1"},  // given the allowed flag: no change of revocation
      {{"X  ", "Y", "Z", "W"}, {true}, "0"},
  };
  for (const Gesture& gesture : {revoke, detailed}) {
    for (const Case& c : cases) {
      std::vector<bool> present = c.present;
      present.resize(c.present.empty() ? 0 : c.codes.size() * c.codes.size(), false);
      const PairRows pairs(Prefix(), c.codes, c.values);
      const std::vector<RowImage> images = ImagesOf(pairs, present);
      const std::optional<std::string> direct = JournalSummary::MakeForPairs(
          gesture, JournalTable::kTransfers, pairs, present, images.size());
      ASSERT_TRUE(direct.has_value()) << c.codes.front();
      EXPECT_EQ(*direct, JournalSummary::Make(gesture, images));
    }
  }
  // Codes that name the same item once trimmed, or hold the pair's
  // separator: the codes cannot tell how many items there are.
  for (const std::vector<std::string>& codes :
       {std::vector<std::string>{"A", "A ", "B"}, std::vector<std::string>{"A", "B>C", "D", "E"}}) {
    const PairRows pairs(Prefix(), codes, "0");
    EXPECT_EQ(
        JournalSummary::MakeForPairs(revoke, JournalTable::kTransfers, pairs, {}, pairs.size()),
        std::nullopt);
  }
  // A table whose items are not pairs.
  EXPECT_EQ(JournalSummary::MakeForPairs(revoke, JournalTable::kParameters,
                                         PairRows(Prefix(), {"01"}, "0"), {}, 1),
            std::nullopt);
}

// The matrix's "Disabilita tutti" of group 3 in company 1, with warehouses
// whose codes hold quotes, separators and blanks, told to the capture as
// rows (the form every gesture has) and as pairs.
class PairPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e_.Open();
    e_.Exec("DELETE FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 3");
    for (const char* code : {"Q'1", "Q''2", "P|1", "B\\1", "G>H", "T 1", "T 2  ", "'", "ZZ",
                             "Y'Y|Y", "K1", "K2", "K3", "K4", "K5", "K6"}) {
      std::string quoted = code;
      for (size_t at = quoted.find('\''); at != std::string::npos; at = quoted.find('\'', at + 2)) {
        quoted.insert(at, 1, '\'');
      }
      e_.Exec(
          "INSERT INTO MG58_DEPOSITI (MG58_DITTA_CG18, MG58_CODDEP, MG58_DESCRDEP) "
          "VALUES (1, '" +
          quoted + "', 'Deposito')");
    }
    // Two pairs there before the gesture: left out of its images.
    e_.Exec(
        "INSERT INTO FW3E_RVKDEPCOLL (FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
        "FW3E_ID_FW07, FW3E_ID_FW06, FW3E_FLGABILITATO) VALUES (1, 'Q''1', 'P|1', NULL, 3, 1), "
        "(1, 'K1', 'K1', NULL, 3, 0)");
  }
  Journal& journal() { return *e_.window().journal(); }
  db::Connection& cn() { return *e_.window().connection(); }
  int64_t Rows() { return e_.Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 3"); }

  // The gesture; `as_pairs` tells the capture the pairs, else their rows.
  int64_t DisableAll(bool as_pairs) {
    db::Transaction transaction(cn());
    const store::Principal group = store::Principal::Group(3, "Vendite");
    RowScope scope{JournalTable::kTransfers, group, {}};
    scope.Where("FW3E_DITTA_CG18", db::Value(1));
    GestureCapture capture(&journal(), cn(), {scope});
    sections::TransferRevokeAll revoke(group, 1);
    revoke.Write(cn());
    if (as_pairs) {
      revoke.TellCapture(capture);
    } else {
      std::vector<std::string> codes;
      std::shared_ptr<db::Recordset> rs =
          cn().Execute(sections::TransferStatements::SelectWarehouseColumns(1));
      for (; !rs->IsEof(); rs->MoveNext()) codes.push_back(rs->Field("MG58_CODDEP").ToText());
      rs.reset();
      capture.WroteMissing(JournalTable::kTransfers, PairRows(Prefix(), codes, "0").Rows(),
                           revoke.inserted());
    }
    return capture.Commit(transaction, {GestureKind::kDisableAll, 32, group});
  }

  // The entry's pages as stored: table, count and text of each, in order.
  std::vector<std::string> Pages(int64_t id) {
    std::vector<std::string> pages;
    std::shared_ptr<db::Recordset> rs = e_.db().Execute(
        "SELECT FW3K_TABELLA, FW3K_NUMRIGHE, FW3K_IMMAGINI FROM FW3K_IMMAGINIREVOKE WHERE "
        "FW3K_ID_FW3J = " +
        std::to_string(id) + " ORDER BY FW3K_PROG");
    for (; !rs->IsEof(); rs->MoveNext()) {
      pages.push_back(rs->Field(0).ToText() + "/" + rs->Field(1).ToText() + "/" +
                      rs->Field(2).ToText());
    }
    return pages;
  }

  HeadlessEditor e_;
};

TEST_F(PairPagesTest, PagesAndSummaryFromThePairsAreThoseOfTheRows) {
  const int64_t before = Rows();
  ASSERT_EQ(before, 2);
  const int64_t as_rows = DisableAll(false);
  ASSERT_GT(as_rows, 0);
  const int64_t pairs = Rows() - before;
  ASSERT_GT(pairs, 200);
  const std::vector<std::string> pages = Pages(as_rows);
  const std::vector<RowImage> images = journal().Images(as_rows);
  const std::string summary = journal().Entry(as_rows)->summary;
  ASSERT_EQ(static_cast<int64_t>(images.size()), pairs);
  ASSERT_TRUE(journal().Undo().applied);
  ASSERT_EQ(Rows(), before);

  const int64_t as_pairs = DisableAll(true);
  ASSERT_GT(as_pairs, 0);
  EXPECT_EQ(Rows() - before, pairs);
  EXPECT_EQ(Pages(as_pairs), pages);
  EXPECT_EQ(journal().Entry(as_pairs)->summary, summary);
  EXPECT_EQ(journal().Entry(as_pairs)->image_count, pairs);
  // Kept in memory as pages for undo; read back the same from the tables.
  EXPECT_EQ(journal().Images(as_pairs), images);
  EXPECT_EQ(Journal::ListImages(e_.db(), as_pairs), images);
  // A code holding ">" names its items alike: the summary came from the
  // images, and still says how many were revoked.
  EXPECT_NE(summary.find("e altri " + std::to_string(pairs - 5)), std::string::npos) << summary;

  ASSERT_TRUE(journal().Undo().applied);
  EXPECT_EQ(Rows(), before);
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW06 = 3 AND "
                     "FW3E_CODDEP_ORI = 'Q''1' AND FW3E_FLGABILITATO = 1"),
            1);
  ASSERT_TRUE(journal().Redo().applied);
  EXPECT_EQ(Rows() - before, pairs);
}

TEST_F(PairPagesTest, WithoutTheSeparatorInACodeTheSummaryComesFromTheCodes) {
  e_.Exec("DELETE FROM MG58_DEPOSITI WHERE MG58_CODDEP = 'G>H'");
  const int64_t as_rows = DisableAll(false);
  ASSERT_GT(as_rows, 0);
  const std::string summary = journal().Entry(as_rows)->summary;
  const std::vector<std::string> pages = Pages(as_rows);
  ASSERT_TRUE(journal().Undo().applied);
  const int64_t as_pairs = DisableAll(true);
  EXPECT_EQ(journal().Entry(as_pairs)->summary, summary);
  EXPECT_EQ(Pages(as_pairs), pages);
  EXPECT_EQ(summary.rfind("Trasferimenti tra depositi: revocati ", 0), 0u) << summary;
}

}  // namespace
}  // namespace orv::journal
