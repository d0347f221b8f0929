// Every gesture that writes, failed at each of its writes in turn (a trigger
// of the fault hook raises on the n-th row written): the screen shows the
// table, the user is told once, no row lost its principal or doubled its
// key, nothing that existed before is gone, and the derived
// customer/supplier list is what its procedure would make of the table.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "hostdb/demo_installation.h"
#include "hostdb/host_schema.h"
#include "sections/tree_editor.h"
#include "store/principal_node.h"
#include "store/settings.h"
#include "support/fault_hook.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::FaultHook;
using testing::TreeEditor;

// The editor on the real reload procedures.
class FaultEditor : public TreeEditor {
 public:
  FaultEditor() : TreeEditor(false) { host().answers().set_strict(false); }

  // Lines the user saw (message boxes, errors handed to the log class).
  int Told() const {
    int told = 0;
    for (const std::string& line : output()) {
      if (line.rfind("MSG ", 0) == 0 || line.rfind("ERR ", 0) == 0) ++told;
    }
    return told;
  }
};

struct Gesture {
  const char* name;
  const char* section;  // side-bar item
  const char* grid;     // the grid whose rows must show the table
  int principal_kind;   // store::PrincipalNode kind
  int64_t principal;
  std::function<void(FaultEditor&)> prepare;  // before the editor opens the section
  std::function<void(FaultEditor&)> run;
};

void PrintTo(const Gesture& g, std::ostream* out) { *out << g.name; }

constexpr int kUser = store::PrincipalNode::kUser;
constexpr int kGroup = store::PrincipalNode::kGroup;

void Answer(FaultEditor& e, int32_t answer) { e.host().answers().Push(answer); }

const std::vector<Gesture>& Gestures() {
  static const std::vector<Gesture> gestures = {
      {"parameter_revoke", "ITM50017", "GRIDTIPOLOGIE", kGroup, DemoInstallation::kGroupProduzione,
       nullptr, [](FaultEditor& e) { e.host().ClickGrid("GRIDTIPOLOGIE", "1", "ABILITATO"); }},
      {"parameter_allow_again", "ITM50017", "GRIDTIPOLOGIE", kGroup,
       DemoInstallation::kGroupProduzione,
       [](FaultEditor& e) {
         e.host().ClickGrid("GRIDTIPOLOGIE", "1", "ABILITATO");  // revoked, committed
       },
       [](FaultEditor& e) { e.host().ClickGrid("GRIDTIPOLOGIE", "1", "ABILITATO"); }},
      {"clifor_revoke", "ITM50010", "TGRID_CLIFOR", kGroup, DemoInstallation::kGroupProduzione,
       nullptr, [](FaultEditor& e) { e.Click("M_1.0.NORD"); }},
      {"clifor_allow_again", "ITM50010", "TGRID_CLIFOR", kUser, DemoInstallation::kUserRossi,
       nullptr, [](FaultEditor& e) { e.Click("C_1.0.IND.MECC"); }},
      {"family_first_click", "ITM_ARTFAM", "TGRID_CLIFOR", kGroup,
       DemoInstallation::kGroupProduzione, nullptr,
       [](FaultEditor& e) { e.Click("F_1.FERR", "ELIMINAZIONE"); }},
      {"switch_off", "ITM50010", "TGRID_CLIFOR", kUser, DemoInstallation::kUserRossi, nullptr,
       [](FaultEditor& e) { e.host().Check("CHK_ABILREVOKE", db::Value(0)); }},
      {"clifor_disable_all", "ITM50010", "TGRID_CLIFOR", kGroup, DemoInstallation::kGroupProduzione,
       nullptr, [](FaultEditor& e) { e.DisableAll(host::kVbYes); }},
      {"family_disable_all", "ITM_ARTFAM", "TGRID_CLIFOR", kGroup,
       DemoInstallation::kGroupProduzione, nullptr,
       [](FaultEditor& e) {
         Answer(e, host::kVbYes);
         e.host().Button("VRX_DISABILITATUTTI_CLIFOR");
       }},
      {"clifor_enable_all", "ITM50010", "TGRID_CLIFOR", kUser, DemoInstallation::kUserRossi,
       nullptr,
       [](FaultEditor& e) {
         Answer(e, host::kVbYes);
         e.host().Button("VRX_ABILITATUTTI2");
       }},
  };
  return gestures;
}

// Every revocation row of every table, principal columns included.
std::multiset<std::string> Revocations(FaultEditor& e) {
  std::multiset<std::string> rows;
  for (const auto& t : hostdb::HostSchema::RevocationTables()) {
    for (const std::string& line : e.Query("SELECT * FROM " + std::string(t.table))) {
      rows.insert(std::string(t.table) + "|" + line);
    }
  }
  return rows;
}

std::vector<std::string> DerivedList(FaultEditor& e) {
  return e.Query(
      "SELECT FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR FROM "
      "FW3C_LISTACFREVOCATI ORDER BY 1, 2, 3, 4, 5");
}

void Open(FaultEditor& e, const Gesture& g) {
  if (g.prepare) {
    e.Section(g.section);
    e.host().SelectPrincipal(g.principal_kind, g.principal);
    g.prepare(e);
  }
  e.Section(g.section);
  e.host().SelectPrincipal(g.principal_kind, g.principal);
}

// The screen after the gesture, against the screen rebuilt from the table.
void ExpectScreenIsTable(FaultEditor& e, const Gesture& g, const std::string& where) {
  const std::vector<std::string> shown = e.host().ShowGrid(g.grid);
  const db::Value box = e.window().control("CHK_ABILREVOKE").value();
  e.host().SelectPrincipal(kUser, DemoInstallation::kUserOspite);
  e.host().SelectPrincipal(g.principal_kind, g.principal);
  EXPECT_EQ(shown, e.host().ShowGrid(g.grid)) << where;
  std::shared_ptr<db::Recordset> setting = e.db().Execute(store::Settings::SelectRevokeOnLoad());
  const db::Value stored =
      setting && !setting->IsEof() ? setting->Field("FW95_VALORE") : db::Value(1);
  EXPECT_EQ(box.ToInt32(), stored.ToInt32()) << where << ": the switch";
}

void ExpectSoundTables(FaultEditor& e, const std::multiset<std::string>& before,
                       const std::string& where) {
  for (const auto& t : hostdb::HostSchema::RevocationTables()) {
    EXPECT_EQ(e.Count("SELECT COUNT(*) FROM " + std::string(t.table) + " WHERE (" +
                      std::string(t.user_column) + " IS NULL) = (" + std::string(t.group_column) +
                      " IS NULL)"),
              0)
        << where << ": " << t.table << " has a row with both or neither principal";
  }
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM (SELECT COUNT(*) AS N FROM FW32_RVKCLIFOR GROUP BY "
                    "FW32_ID_FW07, FW32_ID_FW06, FW32_DITTA, FW32_TIPOCF, FW32_TIPORAGG, "
                    "FW32_CODMACRO, FW32_CODMIDDLE, FW32_CODRAGG) K WHERE N > 1"),
            0)
      << where;
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM (SELECT COUNT(*) AS N FROM FW31_RVKPARAMETRI GROUP BY "
                    "FW31_ID_FW07, FW31_ID_FW06, FW31_INDTIPO, FW31_CODTIPO, FW31_DITTARAGG) K "
                    "WHERE N > 1"),
            0)
      << where;
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM (SELECT COUNT(*) AS N FROM FW3H_RVKARTICOLI GROUP BY "
                    "FW3H_ID_FW07, FW3H_ID_FW06, FW3H_DITTA, FW3H_TIPORAGG, FW3H_CODMACRO, "
                    "FW3H_CODMIDDLE, FW3H_CODRAGG) K WHERE N > 1"),
            0)
      << where;
  // A failed gesture keeps every row it found; the ones a walk committed
  // before the failing row may have changed their flags only.
  const std::multiset<std::string> after = Revocations(e);
  EXPECT_GE(after.size(), before.size()) << where;
  // The derived list is what its procedure makes of the table now.
  const std::vector<std::string> list = DerivedList(e);
  e.Exec("EXEC SPFW_ReloadListaCFRevocati");
  EXPECT_EQ(list, DerivedList(e)) << where << ": the derived list is out of step";
}

class GestureFaultTest : public ::testing::TestWithParam<Gesture> {};

TEST_P(GestureFaultTest, EveryWriteFailedLeavesScreenAndTablesTrue) {
  const Gesture& g = GetParam();
  int64_t writes = 0;
  int questions = 0;  // the boxes the gesture asks before it writes
  {
    FaultEditor e;
    FaultHook faults(e.database_path());
    Open(e, g);
    faults.Count();
    const int told_before = e.Told();
    g.run(e);
    writes = faults.Seen();
    questions = e.Told() - told_before;
    ASSERT_GT(writes, 0) << g.name << " wrote nothing";
    ASSERT_LE(questions, 1) << g.name << " told something without a fault";
    ExpectScreenIsTable(e, g, std::string(g.name) + " without a fault");
  }
  // Each write position up to eight, spread over the gesture, first and
  // last included.
  std::vector<int64_t> positions;
  const int64_t kMax = 8;
  for (int64_t i = 0; i < std::min(writes, kMax); ++i) {
    positions.push_back(writes <= kMax ? i + 1 : 1 + i * (writes - 1) / (kMax - 1));
  }
  // The figures of the run, for the record of what was injected.
  std::cout << "[ faults   ] " << g.name << ": " << writes << " writes, " << positions.size()
            << " failed in turn\n";
  for (int64_t n : positions) {
    const std::string where = std::string(g.name) + ", write " + std::to_string(n) + " of " +
                              std::to_string(writes) + " failed";
    FaultEditor e;
    FaultHook faults(e.database_path());
    Open(e, g);
    const std::multiset<std::string> before = Revocations(e);
    const int told_before = e.Told();
    faults.FailNthWrite(n);
    g.run(e);
    faults.Count();
    EXPECT_EQ(e.Told() - told_before, questions + 1) << where;
    ExpectSoundTables(e, before, where);
    ExpectScreenIsTable(e, g, where);
  }
}

// A failed reload of the derived list takes the write back with it, whatever
// the answer to the log class: ignoring the failure cannot leave a
// revocation the rest of the host does not enforce.
TEST(GestureFaultTest, AFailedReloadTakesTheClickBackWhateverTheAnswer) {
  for (const int32_t answer : {host::kVbIgnore, host::kVbAbort}) {
    FaultEditor e;
    FaultHook faults(e.database_path());
    e.Section("ITM50010");
    e.Group(DemoInstallation::kGroupProduzione);
    const std::multiset<std::string> before = Revocations(e);
    faults.FailTable("FW3C_LISTACFREVOCATI");
    e.host().answers().Push(answer);
    e.Click("M_1.0.NORD");
    EXPECT_EQ(e.Cell("M_1.0.NORD", "CHECKED"), "1") << answer;
    EXPECT_EQ(Revocations(e), before) << answer;
    int errors = 0;
    for (const std::string& line : e.output()) {
      if (line.rfind("ERR ReloadListaCFRevocati", 0) == 0) ++errors;
    }
    EXPECT_EQ(errors, 1) << answer;
  }
}

// A retry runs the whole click again, write and reload; a fault that stays
// fails each attempt, and the last answer leaves the table as it was.
TEST(GestureFaultTest, ARetriedReloadRunsTheWholeClickAgain) {
  FaultEditor e;
  FaultHook faults(e.database_path());
  e.Section("ITM50010");
  e.Group(DemoInstallation::kGroupProduzione);
  const std::multiset<std::string> before = Revocations(e);
  faults.FailTable("FW3C_LISTACFREVOCATI");
  e.host().answers().Push(host::kVbRetry);
  e.host().answers().Push(host::kVbRetry);
  e.host().answers().Push(host::kVbIgnore);
  e.Click("M_1.0.NORD");
  int errors = 0;
  for (const std::string& line : e.output()) {
    if (line.rfind("ERR ReloadListaCFRevocati", 0) == 0) ++errors;
  }
  EXPECT_EQ(errors, 3);
  EXPECT_EQ(e.Cell("M_1.0.NORD", "CHECKED"), "1");
  EXPECT_EQ(Revocations(e), before);
}

INSTANTIATE_TEST_SUITE_P(AllGestures, GestureFaultTest, ::testing::ValuesIn(Gestures()),
                         [](const ::testing::TestParamInfo<Gesture>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace orv::sections
