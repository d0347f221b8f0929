// Two connections (or two editors) on one database file: each finds a row
// missing (or present), the other writes meanwhile, then the first writes.
// The logical keys are unique in the schema, and a write that meets what the
// other wrote does what it meant: no row twice, no revocation lost.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/write_by_key.h"
#include "hostdb/demo_installation.h"
#include "sections/clifor/clifor_statements.h"
#include "sections/families/family_statements.h"
#include "sections/parameters/parameter_statements.h"
#include "sections/tree_editor.h"
#include "session/headless_host.h"
#include "store/principal.h"
#include "store/principal_node.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::TreeEditor;

// One logical key of a revocation table, through the section's own
// statements: its probe, and the insert and update that write `flag`.
struct KeyWriter {
  const char* name;
  std::function<std::string(const store::Principal&)> probe;
  std::function<std::string(const store::Principal&, int32_t)> insert;
  std::function<std::string(const store::Principal&, int32_t)> update;
  std::function<std::string(const store::Principal&)> remove;
  const char* rows_of;  // SELECT of the key's rows: flag, with {P} for the principal test
};

void PrintTo(const KeyWriter& w, std::ostream* out) { *out << w.name; }

CliForBranch Branch() {
  CliForBranch b;
  b.company = "1";
  b.tipocf = "0";
  b.macro = "NORD";
  b.tiporagg = "AREA";
  return b;
}

FamilyRow Family() {
  FamilyRow f;
  f.company = "1";
  f.code = "FERR";
  f.tiporagg = "FAM";
  return f;
}

const std::vector<KeyWriter>& Writers() {
  static const std::vector<KeyWriter> writers = {
      {"parameter",
       [](const store::Principal& p) {
         return ParameterStatements::SelectRevocation(p, 6, "PF", "1");
       },
       [](const store::Principal& p, int32_t f) {
         return ParameterStatements::InsertRevocation(p, 6, "PF", "1", f, f, f, f);
       },
       [](const store::Principal& p, int32_t f) {
         return ParameterStatements::UpdateRevocation(p, 6, "PF", "1", f, f, f, f);
       },
       [](const store::Principal& p) {
         return ParameterStatements::DeleteRevocation(p, 6, "PF", "1");
       },
       "SELECT FW31_FLGABILITATO FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 6 AND FW31_CODTIPO "
       "= 'PF' AND {P}"},
      {"clifor",
       [](const store::Principal& p) { return CliForStatements::SelectRevocation(p, Branch()); },
       [](const store::Principal& p, int32_t f) {
         return CliForStatements::InsertRevocation(p, Branch(), f);
       },
       [](const store::Principal& p, int32_t f) {
         return CliForStatements::UpdateRevocation(p, Branch(), f);
       },
       nullptr,
       "SELECT FW32_FLGABILITATO FROM FW32_RVKCLIFOR WHERE FW32_CODMACRO = 'NORD' AND "
       "FW32_TIPORAGG = 'AREA' AND FW32_CODMIDDLE = '' AND {P}"},
      {"family",
       [](const store::Principal& p) { return FamilyStatements::SelectRevocation(p, Family()); },
       [](const store::Principal& p, int32_t) {
         return FamilyStatements::InsertRevocation(p, Family());
       },
       [](const store::Principal& p, int32_t f) {
         return FamilyStatements::UpdateRight(p, Family(), "FW3H_FLGINSERIMENTO", f);
       },
       nullptr,
       "SELECT FW3H_FLGINSERIMENTO FROM FW3H_RVKARTICOLI WHERE FW3H_CODMACRO = 'FERR' AND {P}"},
  };
  return writers;
}

bool Exists(db::Connection& cn, const std::string& probe) {
  std::shared_ptr<db::Recordset> rs = cn.Execute(probe);
  return rs && rs->IsOpen() && !rs->IsEof();
}

class TwoConnectionsTest : public ::testing::TestWithParam<KeyWriter> {
 protected:
  TwoConnectionsTest() {
    second_ = db::Connection::Create();
    second_->Open(editor_.connection_string());
  }

  std::vector<std::string> Rows(const store::Principal& p) {
    std::string sql = GetParam().rows_of;
    const std::string prefix = std::string(sql.substr(sql.find("FROM ") + 5, 4));
    const std::string condition =
        prefix + "_ID_FW06 = " + p.group_id().ToText() + " AND " + prefix + "_ID_FW07 IS NULL";
    sql.replace(sql.find("{P}"), 3, condition);
    return editor_.Query(sql);
  }

  TreeEditor editor_{false};
  std::shared_ptr<db::Connection> second_;
};

TEST_P(TwoConnectionsTest, BothFindTheRowMissingAndInsert) {
  const KeyWriter& w = GetParam();
  const store::Principal group = store::Principal::Group(DemoInstallation::kGroupProduzione);
  db::Connection& first = editor_.db();
  // Both probe before either writes.
  const bool first_sees = Exists(first, w.probe(group));
  const bool second_sees = Exists(*second_, w.probe(group));
  ASSERT_FALSE(first_sees);
  ASSERT_FALSE(second_sees);
  db::WriteByKey(*second_, second_sees, w.insert(group, 1), w.update(group, 1));
  db::WriteByKey(first, first_sees, w.insert(group, 0), w.update(group, 0));
  // One row, holding what the later write meant.
  EXPECT_EQ(Rows(group), std::vector<std::string>{"0"});
}

TEST_P(TwoConnectionsTest, APlainSecondInsertIsRefusedByTheKey) {
  const KeyWriter& w = GetParam();
  const store::Principal group = store::Principal::Group(DemoInstallation::kGroupProduzione);
  second_->Execute(w.insert(group, 1));
  EXPECT_THROW(editor_.db().Execute(w.insert(group, 0)), db::DbError);
  EXPECT_EQ(Rows(group).size(), 1u);
  // The same key for a user, and for another group, is another row.
  second_->Execute(w.insert(store::Principal::Group(DemoInstallation::kGroupCorvsa), 1));
  EXPECT_EQ(Rows(group).size(), 1u);
}

// A parameter row removed by the other editor after the probe found it: the
// update finds nothing, and the row is written again.
TEST(TwoConnectionsRemovalTest, AnUpdateOfARowRemovedMeanwhileWritesItAgain) {
  TreeEditor editor(false);
  auto second = db::Connection::Create();
  second->Open(editor.connection_string());
  const KeyWriter& w = Writers().front();
  const store::Principal group = store::Principal::Group(DemoInstallation::kGroupProduzione);
  editor.db().Execute(w.insert(group, 1));
  const bool first_sees = Exists(editor.db(), w.probe(group));
  ASSERT_TRUE(first_sees);
  second->Execute(w.remove(group));
  db::WriteByKey(editor.db(), first_sees, w.insert(group, 0), w.update(group, 0));
  EXPECT_EQ(editor.Query("SELECT FW31_FLGABILITATO FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 6 "
                         "AND FW31_CODTIPO = 'PF' AND FW31_ID_FW06 = " +
                         std::to_string(DemoInstallation::kGroupProduzione)),
            std::vector<std::string>{"0"});
}

INSTANTIATE_TEST_SUITE_P(Sections, TwoConnectionsTest, ::testing::ValuesIn(Writers()),
                         [](const ::testing::TestParamInfo<KeyWriter>& info) {
                           return std::string(info.param.name);
                         });

// Two editors on one file, clicking the same boxes in turn from screens that
// are not refreshed: every click lands, no key is written twice, and the
// derived list follows.
TEST(TwoEditorsTest, AlternatingClicksOnStaleScreens) {
  TreeEditor a(false);
  session::HeadlessHost b;
  b.answers().set_strict(false);
  b.Open(a.Options());
  a.host().answers().set_strict(false);
  const int group = DemoInstallation::kGroupProduzione;
  a.Group(group);
  b.SelectPrincipal(store::PrincipalNode::kGroup, group);
  int rounds = 0;
  for (int round = 0; round < 10; ++round, ++rounds) {
    // Each clicks from what its screen showed; the box flips on its screen.
    a.Click("M_1.0.NORD");
    b.ClickGrid("TGRID_CLIFOR", "M_1.0.NORD", "CHECKED");
    EXPECT_EQ(a.Count("SELECT COUNT(*) FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = " +
                      std::to_string(group) + " AND FW32_CODMACRO = 'NORD'"),
              1)
        << "round " << round;
  }
  EXPECT_EQ(rounds, 10);
  // Both editors flipped their own screen ten times: the last click was
  // b's, from a screen that showed allowed after an even number of flips.
  const std::string list_sql =
      "SELECT FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR FROM "
      "FW3C_LISTACFREVOCATI ORDER BY 1, 2, 3, 4, 5";
  const std::vector<std::string> list = a.Query(list_sql);
  const std::vector<std::string> flag = a.Query(
      "SELECT FW32_FLGABILITATO FROM FW32_RVKCLIFOR WHERE FW32_ID_FW06 = " + std::to_string(group) +
      " AND FW32_CODMACRO = 'NORD'");
  ASSERT_EQ(flag.size(), 1u);
  EXPECT_EQ(flag[0], "1");
  // The derived list is what its procedure makes of the table.
  a.Exec("EXEC SPFW_ReloadListaCFRevocati");
  EXPECT_EQ(list, a.Query(list_sql));
  b.Release();
}

}  // namespace
}  // namespace orv::sections
