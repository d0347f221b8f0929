// Every gesture that writes, journaled: one entry of its kind with a
// readable summary and the images of exactly the rows that changed; undo
// puts the whole database back as it was before, redo as it was after; an
// undo over rows another connection changed since refuses and changes
// nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "db/recordset.h"
#include "hostdb/demo_installation.h"
#include "journal/journal.h"
#include "journal/journal_table.h"
#include "journal/row_text.h"
#include "zere_orvelka/principal_node.h"
#include "support/headless_editor.h"
#include "zere_orvelka/message_service.h"

namespace orv::journal {
namespace {

using hostdb::DemoInstallation;
using host::PrincipalNode;
using testing::HeadlessEditor;

// Every row of the revocation tables, the settings and the list derived from
// the customer/supplier revocations, by table, sorted (FW31_CODICE left out:
// a row given back gets a new identity).
using Tables = std::map<std::string, std::vector<std::string>>;

Tables Snapshot(HeadlessEditor& e) {
  static const std::vector<std::pair<std::string, std::string>> kTables = {
      {"FW31_RVKPARAMETRI",
       "FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, FW31_DITTARAGG, "
       "FW31_FLGABILITATO, FW31_FLGMODIFICA, FW31_FLGELIMINA, FW31_FLGINSERISCI"},
      {"FW32_RVKCLIFOR", "*"},
      {"FW3H_RVKARTICOLI", "*"},
      {"FW3E_RVKDEPCOLL", "*"},
      {"FW3N_RVKNODI", "*"},
      {"FW95_SETTINGS", "*"},
      {"FW3C_LISTACFREVOCATI", "*"},
  };
  Tables tables;
  for (const auto& [table, columns] : kTables) {
    std::vector<std::string>& rows = tables[table];
    std::shared_ptr<db::Recordset> rs = e.db().Execute("SELECT " + columns + " FROM " + table);
    for (; rs && rs->IsOpen() && !rs->IsEof(); rs->MoveNext()) {
      std::string line;
      for (int i = 0; i < rs->FieldCount(); ++i) {
        line += (rs->Field(i).IsNull() ? std::string("NULL") : rs->Field(i).ToText()) + "|";
      }
      rows.push_back(line);
    }
    std::sort(rows.begin(), rows.end());
  }
  return tables;
}

// The rows of a journaled table by key (key columns -> value columns), as
// the test reads them itself.
std::map<std::string, std::string> Keyed(HeadlessEditor& e, const JournalTable& table) {
  std::string columns;
  for (const auto& c : table.keys) columns += (columns.empty() ? "" : ", ") + std::string(c.name);
  for (const auto& c : table.values) columns += ", " + std::string(c.name);
  std::map<std::string, std::string> rows;
  std::shared_ptr<db::Recordset> rs =
      e.db().Execute("SELECT " + columns + " FROM " + std::string(table.name));
  for (; rs && rs->IsOpen() && !rs->IsEof(); rs->MoveNext()) {
    std::string key;
    std::string values;
    for (int i = 0; i < rs->FieldCount(); ++i) {
      const std::string text = rs->Field(i).IsNull() ? "NULL" : rs->Field(i).ToText();
      (static_cast<size_t>(i) < table.keys.size() ? key : values) += text + "|";
    }
    rows[key] = values;
  }
  return rows;
}

// How many keys are absent, present or different between two readings.
size_t Changed(const std::map<std::string, std::string>& a,
               const std::map<std::string, std::string>& b) {
  size_t n = 0;
  for (const auto& [key, values] : a) {
    auto found = b.find(key);
    if (found == b.end() || found->second != values) ++n;
  }
  for (const auto& [key, values] : b) n += a.contains(key) ? 0 : 1;
  return n;
}

struct JournalGesture {
  const char* name;
  GestureKind kind;
  const char* summary;  // a part of the entry's summary
  std::function<void(HeadlessEditor&)> setup;
  std::function<void(HeadlessEditor&)> run;
};

void PrintTo(const JournalGesture& g, std::ostream* out) { *out << g.name; }

void Group(HeadlessEditor& e, int64_t id) { e.host().SelectPrincipal(PrincipalNode::kGroup, id); }

std::function<void(HeadlessEditor&)> Section(const char* key, int64_t group) {
  return [key, group](HeadlessEditor& e) {
    Group(e, group);
    e.host().ChooseSection(key);
  };
}

void Yes(HeadlessEditor& e, std::string_view button) {
  e.host().answers().Push(host::kVbYes);
  e.host().Button(button);
}

const std::vector<JournalGesture>& Gestures() {
  static const std::vector<JournalGesture> gestures = {
      {"parameter_click", GestureKind::kClick, "Depositi: revocati 02 per il gruppo",
       Section("ITM50017", 3),
       [](HeadlessEditor& e) { e.host().ClickGrid("GRIDTIPOLOGIE", "2", "ABILITATO"); }},
      {"parameter_give_back", GestureKind::kClick, "Depositi: abilitati 02",
       [](HeadlessEditor& e) {
         Section("ITM50017", 3)(e);
         e.host().ClickGrid("GRIDTIPOLOGIE", "2", "ABILITATO");
       },
       [](HeadlessEditor& e) { e.host().ClickGrid("GRIDTIPOLOGIE", "2", "ABILITATO"); }},
      {"parameter_disable_all", GestureKind::kDisableAll, "Depositi: revocati",
       Section("ITM50017", 3), [](HeadlessEditor& e) { Yes(e, "VRX_DISABILITATUTTI"); }},
      {"parameter_enable_all", GestureKind::kEnableAll, "Depositi: abilitati",
       [](HeadlessEditor& e) {
         Section("ITM50017", 3)(e);
         Yes(e, "VRX_DISABILITATUTTI");
       },
       [](HeadlessEditor& e) { Yes(e, "VRX_ABILITATUTTI"); }},
      {"clifor_click", GestureKind::kClick, "Clienti/Fornitori: revocati NORD",
       Section("ITM50010", 3),
       [](HeadlessEditor& e) { e.host().ClickGrid("TGRID_CLIFOR", "M_1.0.NORD", "CHECKED"); }},
      {"clifor_disable_all", GestureKind::kDisableAll, "Clienti/Fornitori: revocati",
       Section("ITM50010", 3), [](HeadlessEditor& e) { Yes(e, "VRX_DISABILITATUTTI_CLIFOR"); }},
      {"family_click", GestureKind::kClick, "Famiglie articoli: revocati VERN",
       Section("ITM_ARTFAM", 3),
       [](HeadlessEditor& e) { e.host().ClickGrid("TGRID_CLIFOR", "F_1.VERN", "ELIMINAZIONE"); }},
      {"family_disable_all", GestureKind::kDisableAll, "Famiglie articoli: revocati",
       Section("ITM_ARTFAM", 3), [](HeadlessEditor& e) { Yes(e, "VRX_DISABILITATUTTI_CLIFOR"); }},
      {"transfer_click", GestureKind::kClick, "Trasferimenti tra depositi: revocati 02 > A",
       Section("ITM_TRANSORIDEST", 3),
       [](HeadlessEditor& e) { e.host().ClickGrid("GRID_DEPOSITO", "02", "C_A"); }},
      {"transfer_header", GestureKind::kHeader, "Trasferimenti tra depositi: revocati",
       Section("ITM_TRANSORIDEST", 3),
       [](HeadlessEditor& e) { e.host().HeaderClick("GRID_DEPOSITO", "C_PF", false); }},
      {"transfer_origin", GestureKind::kOrigin, "revocati 02 > 01", Section("ITM_TRANSORIDEST", 3),
       [](HeadlessEditor& e) {
         e.host().SelectRow("GRID_DEPOSITO", "02");
         e.host().Button("VRX_ABIDISDEPORI");
       }},
      {"transfer_disable_all", GestureKind::kDisableAll, "per il gruppo",
       Section("ITM_TRANSORIDEST", 3), [](HeadlessEditor& e) { Yes(e, "VRX_DISABILITATUTTIDEP"); }},
      {"transfer_revoke_all_principals", GestureKind::kRevokeAllPrincipals,
       "per tutti gli utenti e i gruppi", Section("ITM_TRANSORIDEST", 3),
       [](HeadlessEditor& e) { Yes(e, "VRX_DISABILITATUTTIU"); }},
      {"transfer_enable_all_principals", GestureKind::kEnableAllPrincipals, "abilitati",
       [](HeadlessEditor& e) {
         Section("ITM_TRANSORIDEST", 3)(e);
         Yes(e, "VRX_DISABILITATUTTIDEP");
       },
       [](HeadlessEditor& e) { Yes(e, "VRX_ABILITATUTTIU"); }},
      {"node_click", GestureKind::kClick, "Nodi: revocati",
       [](HeadlessEditor& e) {
         Section("ITM_NODI", 4)(e);
         e.host().Button("CMD_UPDATE");
       },
       [](HeadlessEditor& e) { e.host().ClickGrid("GRIDTIPOLOGIE", "2", "ABILITATO"); }},
      {"node_merge_disable_all", GestureKind::kDisableAll, "Nodi: revocati",
       [](HeadlessEditor& e) {
         Section("ITM_NODI", 4)(e);
         e.host().Button("CMD_UPDATE");
       },
       [](HeadlessEditor& e) { Yes(e, "VRX_DISABILITATUTTI"); }},
      {"copy", GestureKind::kCopy, "copiate le revoche da Utente",
       [](HeadlessEditor& e) {
         Section("ITM_TRANSORIDEST", 2)(e);
         e.host().Button("VRX_COPIADEP");
         e.host().CopyFrom(PrincipalNode::kUser, 5);
       },
       [](HeadlessEditor& e) { Yes(e, "CMD_OK"); }},
      {"master_switch", GestureKind::kSwitch, "Abilitazione revoche: ", Section("ITM50017", 3),
       [](HeadlessEditor& e) {
         const db::Value now = e.window().control("CHK_ABILREVOKE").value();
         e.host().Check("CHK_ABILREVOKE", db::Value(now.ToInt32() == 1 ? 0 : 1));
       }},
  };
  return gestures;
}

class JournalGestureTest : public ::testing::TestWithParam<JournalGesture> {};

TEST_P(JournalGestureTest, OneEntryWhoseUndoAndRedoRestoreTheWholeTables) {
  const JournalGesture& g = GetParam();
  HeadlessEditor e;
  e.Open();
  g.setup(e);
  Journal* journal = e.window().journal();
  ASSERT_NE(journal, nullptr);
  EXPECT_TRUE(journal->persistent());
  const size_t entries_before = journal->Entries().size();
  const Tables before = Snapshot(e);
  std::map<std::string, std::map<std::string, std::string>> keyed_before;
  for (const JournalTable& table : JournalTable::All()) {
    keyed_before[std::string(table.name)] = Keyed(e, table);
  }
  const size_t messages_before = e.messages().size();

  g.run(e);
  const Tables after = Snapshot(e);
  ASSERT_NE(before, after) << g.name << ": the gesture changed nothing";
  const std::vector<JournalEntry> entries = journal->Entries();
  ASSERT_EQ(entries.size(), entries_before + 1) << g.name;
  const JournalEntry& entry = entries.front();
  EXPECT_EQ(entry.kind, g.kind) << g.name;
  EXPECT_NE(entry.summary.find(g.summary), std::string::npos) << g.name << ": " << entry.summary;
  EXPECT_EQ(entry.login, "admin");
  EXPECT_EQ(entry.company, 1);

  // The images are the rows that changed, no more and no less.
  const std::vector<RowImage> images = journal->Images(entry.id);
  EXPECT_EQ(static_cast<int64_t>(images.size()), entry.image_count);
  std::map<std::string, size_t> per_table;
  for (const RowImage& image : images) {
    ++per_table[image.table];
    EXPECT_NE(image.before, image.after) << g.name << ": an image of a row that did not change";
  }
  for (const JournalTable& table : JournalTable::All()) {
    const std::string name(table.name);
    EXPECT_EQ(per_table[name], Changed(keyed_before[name], Keyed(e, table)))
        << g.name << ", " << name;
  }

  ASSERT_TRUE(e.window().UndoGesture()) << g.name;
  EXPECT_EQ(Snapshot(e), before) << g.name << ": undo";
  ASSERT_TRUE(e.window().RedoGesture()) << g.name;
  EXPECT_EQ(Snapshot(e), after) << g.name << ": redo";
  ASSERT_TRUE(e.window().UndoGesture()) << g.name;
  EXPECT_EQ(Snapshot(e), before) << g.name << ": second undo";

  // Undo, redo and the second undo are entries of their own.
  const std::vector<JournalEntry> steps = journal->Entries();
  ASSERT_EQ(steps.size(), entries_before + 4);
  EXPECT_EQ(steps[0].kind, GestureKind::kUndo);
  EXPECT_EQ(steps[0].undo_of, entry.id);
  EXPECT_EQ(steps[1].kind, GestureKind::kRedo);
  EXPECT_EQ(steps[1].redo_of, entry.id);
  EXPECT_TRUE(journal->Entry(entry.id)->undone);
  // No refusal was shown on the way.
  for (size_t i = messages_before; i < e.messages().size(); ++i) {
    EXPECT_EQ(e.messages()[i].prompt.find("Impossibile"), std::string::npos)
        << e.messages()[i].prompt;
  }
}

INSTANTIATE_TEST_SUITE_P(Gestures, JournalGestureTest, ::testing::ValuesIn(Gestures()),
                         [](const ::testing::TestParamInfo<JournalGesture>& info) {
                           return std::string(info.param.name);
                         });

// Another editor changes one of the rows the gesture wrote: the undo is
// refused with a message and the tables stay as they are.
class JournalConflictTest : public ::testing::TestWithParam<JournalGesture> {};

TEST_P(JournalConflictTest, UndoAfterAnotherConnectionChangedTheRowsRefuses) {
  const JournalGesture& g = GetParam();
  HeadlessEditor e;
  e.Open();
  g.setup(e);
  g.run(e);
  const JournalEntry entry = e.window().journal()->Entries().front();
  const std::vector<RowImage> images = e.window().journal()->Images(entry.id);
  ASSERT_FALSE(images.empty());
  // The other connection takes away (or puts in) the first row the gesture
  // changed.
  const RowImage& first = images.front();
  const JournalTable* table = JournalTable::Find(first.table);
  ASSERT_NE(table, nullptr);
  const RowText::Fields key = RowText::Split(first.key);
  std::string where;
  for (size_t i = 0; i < table->keys.size(); ++i) {
    where += (i ? " AND " : "") + std::string(table->keys[i].name) +
             (key[i] ? " = '" + *key[i] + "'" : std::string(" IS NULL"));
  }
  if (first.after) {
    e.Exec("DELETE FROM " + std::string(first.table) + " WHERE " + where);
  } else {
    ASSERT_TRUE(first.before.has_value());
    std::string columns;
    std::string values;
    const RowText::Fields flags = RowText::Split(*first.before);
    for (size_t i = 0; i < table->keys.size(); ++i) {
      columns += (i ? ", " : "") + std::string(table->keys[i].name);
      values += (i ? ", " : "") + (key[i] ? "'" + *key[i] + "'" : std::string("NULL"));
    }
    for (size_t i = 0; i < table->values.size(); ++i) {
      columns += ", " + std::string(table->values[i].name);
      values += ", " + (flags[i] ? "'" + *flags[i] + "'" : std::string("NULL"));
    }
    e.Exec("INSERT INTO " + std::string(first.table) + " (" + columns + ") VALUES (" + values +
           ")");
  }
  const Tables changed = Snapshot(e);
  const size_t messages = e.messages().size();
  const size_t entries = e.window().journal()->Entries().size();
  EXPECT_FALSE(e.window().UndoGesture());
  EXPECT_EQ(Snapshot(e), changed) << g.name;
  ASSERT_GT(e.messages().size(), messages);
  EXPECT_NE(e.messages().back().prompt.find("Impossibile annullare la modifica"), std::string::npos)
      << e.messages().back().prompt;
  EXPECT_EQ(e.messages().back().buttons, host::kVbExclamation);
  EXPECT_EQ(e.window().journal()->Entries().size(), entries) << "a refused undo wrote an entry";
  EXPECT_FALSE(e.window().journal()->Entry(entry.id)->undone);
}

INSTANTIATE_TEST_SUITE_P(Gestures, JournalConflictTest, ::testing::ValuesIn(Gestures()),
                         [](const ::testing::TestParamInfo<JournalGesture>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace orv::journal
