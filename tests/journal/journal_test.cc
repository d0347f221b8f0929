// The journal's own pieces and behaviour around the gestures: row texts,
// summaries, a journal in memory where the tables are missing, many steps
// back and forth, revert by number, listing with filters and CSV, and a
// gesture whose entry cannot be written (or whose write fails) leaving
// neither.

#include "journal/journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/trace.h"
#include "journal/image_page.h"
#include "journal/journal_report.h"
#include "journal/journal_summary.h"
#include "journal/row_text.h"
#include "profile/profile_commands.h"
#include "support/fault_hook.h"
#include "support/headless_editor.h"
#include "zere_orvelka/message_service.h"
#include "zere_orvelka/principal_node.h"

namespace orv::journal {
namespace {

using host::PrincipalNode;
using testing::HeadlessEditor;

TEST(RowTextTest, FieldsComeBackExactly) {
  const std::vector<RowText::Fields> cases = {
      {std::string("3"), std::nullopt, std::string("6"), std::string("02"), std::string("1")},
      {std::string("a|b"), std::string("c\\d"), std::string("")},
      {std::string("\\N"), std::nullopt, std::string("N")},
      {std::nullopt},
      {std::string("")},
      {std::string("DEP 1"), std::string("O'Brien")},
  };
  for (const RowText::Fields& fields : cases) {
    const std::string text = RowText::Join(fields);
    EXPECT_EQ(RowText::Split(text), fields) << text;
  }
  EXPECT_EQ(RowText::Join({std::string("1"), std::nullopt, std::string("a|b")}), "1|\\N|a\\|b");
  EXPECT_EQ(RowText::Field("1|\\N|a\\|b|\\\\", 2), std::optional<std::string>("a|b"));
  EXPECT_EQ(RowText::Field("1|\\N|a\\|b|\\\\", 3), std::optional<std::string>("\\"));
  EXPECT_EQ(RowText::Field("1|\\N|a\\|b", 1), std::nullopt);
  EXPECT_EQ(RowText::Field("1|\\N|a\\|b", 5), std::nullopt);
  EXPECT_EQ(RowText::Join({std::string("a\tb\nc")}), "a\\tb\\nc");
}

TEST(ImagePageTest, PagesHoldOneTablesImagesAndComeBackExactly) {
  std::vector<RowImage> images;
  for (int i = 0; i < 2500; ++i) {
    images.push_back({"FW3E_RVKDEPCOLL",
                      RowText::Join({std::string("5"), std::nullopt, std::string("1"),
                                     std::to_string(i), std::string("A\tB")}),
                      i % 3 == 0 ? std::nullopt : std::optional<std::string>("0"),
                      i % 3 == 1 ? std::nullopt : std::optional<std::string>("")});
  }
  images.push_back(
      {"FW95_SETTINGS", "AUT_RVKENABLED", "Abilitazione Revoke|0", "Abilitazione Revoke|1"});
  const std::vector<ImagePage> pages = ImagePage::Pack(images);
  ASSERT_EQ(pages.size(), 3u);  // two of transfers (2,000 a page at most), one of settings
  EXPECT_EQ(pages[0].count + pages[1].count, 2500);
  EXPECT_EQ(pages[2].table, "FW95_SETTINGS");
  std::vector<RowImage> back;
  for (const ImagePage& page : pages) ImagePage::Unpack(page.table, page.text, back);
  EXPECT_EQ(back, images);
}

TEST(JournalSummaryTest, NamesFiveItemsThenCountsTheRest) {
  EXPECT_EQ(JournalSummary::ItemList({"02"}), "02");
  EXPECT_EQ(JournalSummary::ItemList({"02", "MP"}), "02 e MP");
  EXPECT_EQ(JournalSummary::ItemList({"02", "MP", "A"}), "02, MP e A");
  EXPECT_EQ(JournalSummary::ItemList({"1", "2", "3", "4", "5", "6", "7"}),
            "1, 2, 3, 4, 5 e altri 2");
  Gesture g(GestureKind::kDisableAll, 6, store::Principal::Group(3, "Ufficio vendite"));
  const std::vector<RowImage> images = {
      {"FW31_RVKPARAMETRI",
       RowText::Join(
           {std::nullopt, std::string("3"), std::string("6"), std::string("02"), std::string("1")}),
       std::nullopt, "0|0|0|0"},
      {"FW31_RVKPARAMETRI",
       RowText::Join(
           {std::nullopt, std::string("3"), std::string("6"), std::string("MP"), std::string("1")}),
       "1|1|1|1", "0|0|0|0"},
      // Rewritten with the same meaning: not named.
      {"FW31_RVKPARAMETRI",
       RowText::Join(
           {std::nullopt, std::string("3"), std::string("6"), std::string("PF"), std::string("1")}),
       "0|1|1|1", "0|0|0|0"},
  };
  EXPECT_EQ(JournalSummary::Make(g, images),
            "Depositi: revocati 02 e MP per il gruppo Ufficio vendite");
}

TEST(JournalSummaryTest, NamesTheItemsOfEveryTableAsItemDoes) {
  // Codes with escaped characters, trailing blanks and NULL levels, as the
  // summary of a large gesture reads them without splitting whole keys.
  Gesture g(GestureKind::kDisableAll, 32, store::Principal::Group(3, "Ufficio vendite"));
  const std::vector<RowImage> images = {
      {"FW3E_RVKDEPCOLL",
       RowText::Join({std::nullopt, std::string("3"), std::string("1"), std::string("A|1 "),
                      std::string("B\\2")}),
       std::nullopt, "0"},
      {"FW3N_RVKNODI",
       RowText::Join({std::nullopt, std::string("3"), std::string("1"), std::string("P1"),
                      std::string("N 1  ")}),
       std::nullopt, ""},
      {"FW32_RVKCLIFOR",
       RowText::Join({std::nullopt, std::string("3"), std::string("1"), std::string("C"),
                      std::string("2"), std::string("M1"), std::nullopt, std::string("")}),
       std::nullopt, "0|0"},
  };
  const std::string summary = JournalSummary::Make(g, images);
  EXPECT_EQ(JournalSummary::Item(images[0].table, images[0].key), "A|1 > B\\2");
  EXPECT_EQ(JournalSummary::Item(images[1].table, images[1].key), "P1/N 1");
  EXPECT_EQ(JournalSummary::Item(images[2].table, images[2].key), "M1");
  EXPECT_EQ(summary,
            "Trasferimenti tra depositi: revocati A|1 > B\\2, P1/N 1 e M1 per il gruppo Ufficio "
            "vendite");
}

TEST(JournalSummaryTest, CountsEachItemOnceWhateverItsPrincipal) {
  // Every principal's pairs: seven pairs, each for two groups.
  Gesture g(GestureKind::kRevokeAllPrincipals, 32, store::Principal(), true);
  std::vector<RowImage> images;
  for (const char* group : {"3", "4"}) {
    for (int i = 7; i >= 1; --i) {
      images.push_back({"FW3E_RVKDEPCOLL",
                        RowText::Join({std::nullopt, std::string(group), std::string("1"),
                                       std::to_string(i), std::string("9")}),
                        std::nullopt, "0"});
    }
  }
  EXPECT_EQ(JournalSummary::Make(g, images),
            "Trasferimenti tra depositi: revocati 7 > 9, 6 > 9, 5 > 9, 4 > 9, 3 > 9 e altri 2 per "
            "tutti gli utenti e i gruppi");
}

TEST(JournalReportTest, CsvQuotesEveryFieldAndDoublesQuotes) {
  JournalEntry e;
  e.id = 7;
  e.when = "20261207 10:00:00";
  e.login = "admin";
  e.company = 1;
  e.section = 6;
  e.principal_kind = JournalEntry::kGroup;
  e.principal_id = 3;
  e.kind = GestureKind::kClick;
  e.summary = "Depositi: revocati \"02\"";
  EXPECT_EQ(JournalReport::Principal(e,
                                     [](const JournalEntry& entry) {
                                       return entry.principal_id == 3
                                                  ? std::string("Vendite \"Nord\"")
                                                  : std::string();
                                     }),
            "Vendite \"Nord\" (GRUPPO 3)");
  JournalEntry all = e;
  all.principal_kind = JournalEntry::kAll;
  all.principal_id = 0;
  EXPECT_EQ(JournalReport::Principal(all, [](const JournalEntry&) { return std::string("x"); }),
            "TUTTI");
  const std::string csv = JournalReport::Csv({e});
  EXPECT_NE(csv.find("\"7\",\"20261207 10:00:00\",\"admin\",\"1\",\"Depositi\",\"GRUPPO 3\","
                     "\"Clic\",\"0\",\"\",\"\",\"No\",\"Depositi: revocati \"\"02\"\"\"\r\n"),
            std::string::npos)
      << csv;
}

// The grid row (its number) of warehouse `code`.
std::string RowOf(HeadlessEditor& e, std::string_view code) {
  const session::GridTable grid = e.host().ReadGrid("GRIDTIPOLOGIE", true);
  size_t column = 0;
  while (column < grid.header.size() && grid.header[column] != "CODICE") ++column;
  for (const std::vector<std::string>& row : grid.rows) {
    if (column < row.size() && row[column] == code) return row[0];
  }
  ADD_FAILURE() << "no warehouse " << code;
  return "0";
}

// The click of warehouse `code` for the principal shown (section Depositi).
void Click(HeadlessEditor& e, const char* code) {
  e.host().ClickGrid("GRIDTIPOLOGIE", RowOf(e, code), "ABILITATO");
}

int64_t Revoked(HeadlessEditor& e) {
  return e.Count(
      "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 3 AND "
      "FW31_INDTIPO = 6");
}

class JournalSessionTest : public ::testing::Test {
 protected:
  void Open() {
    e_.Open();
    e_.host().SelectPrincipal(PrincipalNode::kGroup, 3);
    e_.host().ChooseSection("ITM50017");
  }
  std::string Cell(const char* code) {
    const session::GridTable grid = e_.host().ReadGrid("GRIDTIPOLOGIE");
    const auto* row = grid.Row(RowOf(e_, code));
    for (size_t i = 0; row && i < grid.header.size(); ++i) {
      if (grid.header[i] == "ABILITATO") return (*row)[i];
    }
    return "?";
  }
  HeadlessEditor e_;
};

TEST_F(JournalSessionTest, ManyStepsBackAndForthAndTheGridFollows) {
  Open();
  const int64_t start = Revoked(e_);
  Click(e_, "02");
  Click(e_, "MP");
  Click(e_, "02");  // given back
  EXPECT_EQ(Revoked(e_), start + 1);
  Journal& journal = *e_.window().journal();
  ASSERT_TRUE(journal.NextUndo().has_value());
  EXPECT_NE(journal.NextUndo()->summary.find("abilitati 02"), std::string::npos);
  EXPECT_TRUE(e_.window().UndoGesture());
  EXPECT_EQ(Revoked(e_), start + 2);
  EXPECT_EQ(Cell("02"), "0");  // shown revoked again
  EXPECT_TRUE(e_.window().UndoGesture());
  EXPECT_TRUE(e_.window().UndoGesture());
  EXPECT_EQ(Revoked(e_), start);
  EXPECT_EQ(Cell("02"), "1");
  EXPECT_FALSE(journal.CanUndo());
  EXPECT_FALSE(e_.window().UndoGesture());
  EXPECT_EQ(e_.messages().back().prompt, "Nessuna modifica da annullare.");
  EXPECT_TRUE(e_.window().RedoGesture());
  EXPECT_TRUE(e_.window().RedoGesture());
  EXPECT_EQ(Revoked(e_), start + 2);
  // A new gesture forgets what could be made again.
  Click(e_, "PF");
  EXPECT_FALSE(journal.CanRedo());
  EXPECT_EQ(Revoked(e_), start + 3);
}

TEST_F(JournalSessionTest, RevertPutsBackOneEntryOfAnySessionAndOnlyOnce) {
  Open();
  const int64_t start = Revoked(e_);
  Click(e_, "02");
  const int64_t first = e_.window().journal()->Entries().front().id;
  Click(e_, "MP");
  e_.host().Close();

  // Another session reverts the first click; the second stays.
  HeadlessEditor& e = e_;
  e.Open();
  e.host().SelectPrincipal(PrincipalNode::kGroup, 3);
  e.host().ChooseSection("ITM50017");
  ASSERT_TRUE(e.window().RevertGesture(first));
  EXPECT_EQ(Revoked(e), start + 1);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 3 AND "
                    "FW31_CODTIPO = 'MP'"),
            1);
  const JournalEntry revert = e.window().journal()->Entries().front();
  EXPECT_EQ(revert.kind, GestureKind::kRevert);
  EXPECT_EQ(revert.undo_of, first);
  EXPECT_TRUE(e.window().journal()->Entry(first)->undone);
  // The revert keeps no rows of its own: its images are the first click's,
  // reversed.
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW3K_IMMAGINIREVOKE WHERE FW3K_ID_FW3J = " +
                    std::to_string(revert.id)),
            0);
  std::vector<RowImage> reversed = Journal::ListImages(e.db(), first);
  ASSERT_EQ(reversed.size(), 1u);
  std::swap(reversed[0].before, reversed[0].after);
  EXPECT_EQ(Journal::ListImages(e.db(), revert.id), reversed);
  EXPECT_EQ(revert.image_count, 1);
  EXPECT_FALSE(e.window().RevertGesture(first));
  EXPECT_EQ(e.messages().back().prompt,
            "La modifica N° " + std::to_string(first) + " è già stata annullata.");
  EXPECT_FALSE(e.window().RevertGesture(9999));
  EXPECT_EQ(Revoked(e), start + 1);
}

// A click's entry and its one page go in one batch, the page taking the
// entry's identity from the batch: each page must land on its own entry,
// also after other rows (the revocation, the change log) were inserted in
// the same transaction, and read back from the tables in another session.
TEST_F(JournalSessionTest, EachClickKeepsItsOnePageOnItsOwnEntry) {
  Open();
  Click(e_, "02");
  Click(e_, "MP");
  Click(e_, "02");  // given back
  std::vector<JournalEntry> entries = e_.window().journal()->Entries();
  ASSERT_EQ(entries.size(), 3u);
  e_.host().Close();
  e_.Open();
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3K_IMMAGINIREVOKE"), 3);
  const std::vector<std::string> codes = {"02", "MP", "02"};  // newest first: reversed below
  for (size_t i = 0; i < entries.size(); ++i) {
    const JournalEntry& entry = entries[entries.size() - 1 - i];
    const std::string id = std::to_string(entry.id);
    EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3K_IMMAGINIREVOKE WHERE FW3K_ID_FW3J = " + id +
                       " AND FW3K_PROG = 1 AND FW3K_NUMRIGHE = 1 AND "
                       "FW3K_TABELLA = 'FW31_RVKPARAMETRI'"),
              1)
        << id;
    const std::vector<RowImage> images = Journal::ListImages(e_.db(), entry.id);
    ASSERT_EQ(images.size(), 1u) << id;
    EXPECT_EQ(RowText::Field(images[0].key, 3), std::optional<std::string>(codes[i])) << id;
    // The first click of "02" revoked it (no row before); the third gave it
    // back (no row after).
    EXPECT_EQ(images[0].before.has_value(), i == 2) << id;
    EXPECT_EQ(images[0].after.has_value(), i != 2) << id;
  }
}

TEST_F(JournalSessionTest, WithoutItsTablesTheJournalLivesInMemoryAndSaysSoOnce) {
  e_.Exec("DROP TABLE FW3K_IMMAGINIREVOKE");
  e_.Exec("DROP TABLE FW3J_GIORNALEREVOKE");
  std::vector<std::string> lines;
  host::TraceSink previous = host::SetTraceSink([&](std::string_view line) {
    if (line.find("GIORNALE") != std::string_view::npos) lines.emplace_back(line);
  });
  Open();
  Click(e_, "02");
  Click(e_, "MP");
  host::SetTraceSink(previous);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(Journal::kInMemoryNotice), std::string::npos);
  Journal& journal = *e_.window().journal();
  EXPECT_FALSE(journal.persistent());
  EXPECT_EQ(journal.Entries().size(), 2u);
  const int64_t revoked = Revoked(e_);
  EXPECT_TRUE(e_.window().UndoGesture());
  EXPECT_TRUE(e_.window().UndoGesture());
  EXPECT_EQ(Revoked(e_), revoked - 2);
  EXPECT_TRUE(e_.window().RedoGesture());
  EXPECT_EQ(Revoked(e_), revoked - 1);
  EXPECT_EQ(journal.Entries().size(), 5u);
}

TEST_F(JournalSessionTest, ListedByPrincipalSectionLoginAndDateAsTextAndCsv) {
  Open();
  Click(e_, "02");
  e_.host().SelectPrincipal(PrincipalNode::kGroup, 2);
  Click(e_, "MP");
  profile::ProfileCommands commands(e_.db(), "admin");
  const std::string all = commands.Journal("", std::nullopt, "", "", "", false);
  EXPECT_NE(all.find("revocati 02"), std::string::npos) << all;
  EXPECT_NE(all.find("revocati MP"), std::string::npos) << all;
  // Principals by name, beside their kind and number.
  EXPECT_NE(all.find("\tUfficio vendite (GRUPPO 3)\t"), std::string::npos) << all;
  EXPECT_EQ(all.find("\tGRUPPO 3\t"), std::string::npos) << all;
  const std::vector<std::string> shown = e_.host().ShowJournal();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_NE(shown[2].find("\tUfficio vendite (GRUPPO 3)\t"), std::string::npos) << shown[2];
  const std::string group3 =
      commands.Journal("group:" + std::string(e_.Scalar("SELECT FW06_CODICE FROM FW06_GROUPUSR "
                                                        "WHERE FW06_ID = 3")
                                                  .ToText()),
                       6, "admin", "20000101", "29991231", true);
  EXPECT_NE(group3.find("revocati 02"), std::string::npos) << group3;
  EXPECT_EQ(group3.find("revocati MP"), std::string::npos) << group3;
  EXPECT_EQ(group3.rfind("\"N°\"", 0), 0u) << group3;
  EXPECT_EQ(commands.Journal("", 24, "", "", "", false).find("revocati"), std::string::npos);
  EXPECT_EQ(commands.Journal("", std::nullopt, "someone", "", "", false).find("revocati"),
            std::string::npos);
  EXPECT_EQ(commands.Journal("", std::nullopt, "", "29990101", "", false).find("revocati"),
            std::string::npos);
}

// An import is one entry with every row it changed; reverting it from the
// journal gives the principal back the rows it had.
TEST_F(JournalSessionTest, AnImportIsOneEntryThatCanBeReverted) {
  Open();
  Click(e_, "02");
  Click(e_, "MP");
  const std::string group3 =
      "group:" + e_.Scalar("SELECT FW06_CODICE FROM FW06_GROUPUSR WHERE FW06_ID = 3").ToText();
  const std::string group2 =
      "group:" + e_.Scalar("SELECT FW06_CODICE FROM FW06_GROUPUSR WHERE FW06_ID = 2").ToText();
  const std::string rows2 = "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 2";
  const int64_t before = e_.Count(rows2);
  profile::ProfileCommands commands(e_.db(), "admin");
  const std::string file = commands.Export(group3);
  commands.Import(group2, file, true, true, false);
  ASSERT_NE(e_.Count(rows2), before);
  const std::vector<JournalEntry> entries = Journal::List(e_.db(), {});
  ASSERT_FALSE(entries.empty());
  const JournalEntry& import = entries.front();
  EXPECT_EQ(import.kind, GestureKind::kImport);
  EXPECT_EQ(import.principal_kind, JournalEntry::kGroup);
  EXPECT_EQ(import.principal_id, 2);
  EXPECT_NE(import.summary.find("Importazione profilo"), std::string::npos) << import.summary;
  EXPECT_GT(import.image_count, 0);
  ASSERT_TRUE(e_.window().RevertGesture(import.id));
  EXPECT_EQ(e_.Count(rows2), before);
}

// A gesture whose journal entry cannot be written is not made, and a gesture
// that fails leaves no entry.
TEST_F(JournalSessionTest, AGestureAndItsEntryCommitTogether) {
  Open();
  const int64_t start = Revoked(e_);
  const int64_t entries = e_.Count("SELECT COUNT(*) FROM FW3J_GIORNALEREVOKE");
  {
    testing::FaultHook faults(e_.database_path(),
                              {"FW3K_IMMAGINIREVOKE", "FW31_RVKPARAMETRI", "FW90_LOGMODIFICHE"});
    faults.FailTable("FW3K_IMMAGINIREVOKE");
    Click(e_, "02");
    EXPECT_EQ(Revoked(e_), start) << "the click stayed without its entry";
    EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3J_GIORNALEREVOKE"), entries);
    EXPECT_EQ(Cell("02"), "1");  // the screen equals the database
    faults.FailTable("FW31_RVKPARAMETRI");
    Click(e_, "MP");
    EXPECT_EQ(Revoked(e_), start);
    EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3J_GIORNALEREVOKE"), entries);
  }
  EXPECT_FALSE(e_.window().journal()->CanUndo());
  Click(e_, "02");
  EXPECT_EQ(Revoked(e_), start + 1);
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3J_GIORNALEREVOKE"), entries + 1);
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3K_IMMAGINIREVOKE K JOIN FW3J_GIORNALEREVOKE J ON "
                     "J.FW3J_ID = K.FW3K_ID_FW3J WHERE J.FW3J_NUMRIGHE = 1"),
            1);
}

}  // namespace
}  // namespace orv::journal
