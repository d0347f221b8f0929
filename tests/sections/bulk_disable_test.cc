// "Disabilita tutti": every parameter row shown is revoked for the principal
// (rows that exist are updated, the others inserted), and for project nodes
// every node that passes the filter is revoked through the node merge.

#include <gtest/gtest.h>

#include <memory>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostdb/demo_installation.h"
#include "sections/bulk_editor.h"
#include "sections/parameters/node_merge.h"
#include "sections/parameters/parameter_section.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::BulkEditor;

const std::string kRevokeQuestion =
    "36|Richiesta|Si è scelto di inserire tutte le revoke per le entità visualizzate relative "
    "all'utente/gruppo selezionato, procedere con l'operazione ?";

TEST(BulkDisableTest, EveryRowShownIsRevokedOnceUpdatingRowsThatExist) {
  BulkEditor e;
  const int group = DemoInstallation::kGroupAmmin;  // warehouse '02' of company 1 revoked
  e.Exec("UPDATE FW31_RVKPARAMETRI SET FW31_FLGMODIFICA = 1 WHERE FW31_ID_FW06 = 2");
  e.Section("ITM50017");
  e.Group(group);
  const size_t shown = e.Rows().size();
  ASSERT_EQ(shown, 7u);
  const int64_t others = e.Count(
      "SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 IS NULL OR "
      "FW31_ID_FW06 <> 2");

  e.ClearOutput();
  e.No();
  e.host().Button("VRX_DISABILITATUTTI");
  EXPECT_EQ(e.Messages(), std::vector<std::string>{kRevokeQuestion});
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 2"), 1);
  EXPECT_EQ(e.Row("MP").abilitato, "1");

  for (int round = 0; round < 2; ++round) {
    e.ClearOutput();
    e.Yes();
    e.host().Button("VRX_DISABILITATUTTI");
    EXPECT_EQ(e.Messages(), std::vector<std::string>{kRevokeQuestion});
    EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 2 AND "
                      "FW31_ID_FW07 IS NULL AND FW31_INDTIPO = 6 AND FW31_DITTARAGG = 1"),
              static_cast<int64_t>(shown))
        << "round " << round;
    EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 = 2 AND "
                      "(FW31_FLGABILITATO <> 0 OR FW31_FLGMODIFICA <> 0 OR FW31_FLGELIMINA <> 0 "
                      "OR FW31_FLGINSERISCI <> 0)"),
              0);
    EXPECT_EQ(e.Count("SELECT COUNT(DISTINCT FW31_CODTIPO) FROM FW31_RVKPARAMETRI WHERE "
                      "FW31_ID_FW06 = 2"),
              static_cast<int64_t>(shown));
  }
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW06 IS NULL OR "
                    "FW31_ID_FW06 <> 2"),
            others);
  for (const testing::WorkRow& row : e.Rows()) {
    EXPECT_EQ(row.abilitato + row.modifica + row.inserimento + row.eliminazione, "0000")
        << row.code;
  }
  // What the grid shows is what the table holds.
  e.Group(group);
  for (const testing::WorkRow& row : e.Rows()) EXPECT_EQ(row.abilitato, "0") << row.code;
}

TEST(BulkDisableTest, FailureStopsTheWalkWithOneMessage) {
  BulkEditor e;
  e.Section("ITM_MODBLOCCO");
  e.Group(DemoInstallation::kGroupAcquisti);
  ASSERT_EQ(e.Rows().size(), 4u);
  // A row naming nobody is refused by the table.
  e.host().SelectNoPrincipal();
  const int64_t before = e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI");
  e.ClearOutput();
  e.Yes();
  e.host().Button("VRX_DISABILITATUTTI");
  const std::vector<std::string> messages = e.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], kRevokeQuestion);
  EXPECT_NE(messages[1].find(" in DisabilitaRecordDeposito"), std::string::npos) << messages[1];
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), before);
  // The failed row still shows what the table holds.
  for (const testing::WorkRow& row : e.Rows()) EXPECT_EQ(row.abilitato, "1") << row.code;
}

TEST(BulkDisableTest, CodesWithQuotesAndBlanksAreWrittenAsShown) {
  BulkEditor e;
  e.Exec(
      "INSERT INTO MG0F_BLMPARAM (MG0F_DITTA_CG18, MG0F_CODPARAM, MG0F_DESCPARAM) VALUES "
      "(1, 'D''X', 'Quote')");
  e.Section("ITM_MODBLOCCO");
  e.User(DemoInstallation::kUserOspite);
  e.Yes();
  e.host().Button("VRX_DISABILITATUTTI");
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 9 AND "
                    "FW31_INDTIPO = 30 AND FW31_CODTIPO = 'D''X' AND FW31_DITTARAGG = 1"),
            1);
  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 9"), 5);
}

// Stands in for the node section: keeps the test's work table (its load does
// nothing) and records each merge.
class RecordingNodes : public editor::Section, public NodeMerge {
 public:
  RecordingNodes(editor::FRMFW_ORVELKA& window, std::vector<std::string>& calls)
      : Section(window), calls_(calls) {}
  std::string_view Name() const override { return "recording nodes"; }
  bool LoadData() override {
    return window().section_code() == editor::FRMFW_ORVELKA::kSectionNodes;
  }
  bool ConfermaModificheNodi(const db::Value& user, const db::Value& group) override {
    calls_.push_back((user.IsNull() ? "NULL" : user.ToText()) + "/" +
                     (group.IsNull() ? "NULL" : group.ToText()));
    return true;
  }

 private:
  std::vector<std::string>& calls_;
};

class BulkNodesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e_.window().AddSectionFirst(std::make_unique<RecordingNodes>(e_.window(), merges_));
    e_.Group(DemoInstallation::kGroupProduzione);
    e_.Section("ITM_NODI");
    table_ = e_.window().temp_table_name();
    ASSERT_FALSE(table_.empty());
    // The work table as the node section makes it: the filter passes the
    // nodes of project '24001' only; node '030' is revoked already.
    std::shared_ptr<db::Connection> cn = e_.window().connection();
    cn->Execute(
        "SELECT PD0C_CODNODO AS CODICE, PD0C_CODPROG_PD68 AS PROGETTO, PD0C_DESCR AS "
        "DESCRIZIONE, 0 AS INDTIPO, CASE WHEN PD0C_CODNODO = '030' AND PD0C_CODPROG_PD68 = "
        "'24001' THEN 0 ELSE 1 END AS ABILITATO, 0 AS MODIFICA, 0 AS ELIMINAZIONE, 0 AS "
        "INSERIMENTO, CASE WHEN PD0C_CODPROG_PD68 = '24001' THEN 1 ELSE 0 END AS INCLUSA, "
        "PD0C_DITTA_CG18 AS DITTARAG, 'x' AS RAGGRUPPAMENTO INTO " +
        table_ + " FROM PD0C_NODO WHERE PD0C_DITTA_CG18 = 1");
    hidden_ = Count("WHERE INCLUSA = 0");
    ASSERT_GT(hidden_, 0);
    ASSERT_GT(Count("WHERE INCLUSA = 1"), 1);
    e_.ClearOutput();
  }

  int64_t Count(const std::string& where) {
    return e_.window()
        .connection()
        ->Execute("SELECT COUNT(*) FROM " + table_ + " " + where)
        ->Field(0)
        .ToInt64();
  }

  BulkEditor e_;
  std::vector<std::string> merges_;
  std::string table_;
  int64_t hidden_ = 0;
};

TEST_F(BulkNodesTest, DisableAllRevokesOnlyTheFilteredNodes) {
  e_.Yes();
  e_.host().Button("VRX_DISABILITATUTTI");
  EXPECT_EQ(e_.Messages(), std::vector<std::string>{kRevokeQuestion});
  EXPECT_EQ(Count("WHERE INCLUSA = 1 AND ABILITATO <> 0"), 0);
  EXPECT_EQ(Count("WHERE INCLUSA = 0 AND ABILITATO = 1"), hidden_);
  EXPECT_EQ(merges_, std::vector<std::string>{"NULL/6"});
  // The parameter table is not the nodes'.
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 33"), 0);
}

TEST_F(BulkNodesTest, EnableAllAllowsOnlyTheFilteredNodes) {
  e_.window().connection()->Execute("UPDATE " + table_ + " SET ABILITATO = 0");
  e_.Yes();
  e_.host().Button("VRX_ABILITATUTTI");
  // Group 6 has node '030' of '24001' revoked: the probe finds it.
  EXPECT_EQ(e_.Messages(),
            std::vector<std::string>{
                "36|Richiesta|Si è scelto di rimuovere tutte le revoke per le entità "
                "visualizzate relative all'utente/gruppo selezionato, procedere con "
                "l'operazione ?"});
  EXPECT_EQ(Count("WHERE INCLUSA = 1 AND ABILITATO <> 1"), 0);
  EXPECT_EQ(Count("WHERE INCLUSA = 0 AND ABILITATO = 0"), hidden_);
  EXPECT_EQ(merges_, std::vector<std::string>{"NULL/6"});
}

TEST_F(BulkNodesTest, AnsweringNoLeavesTheNodes) {
  e_.No();
  e_.host().Button("VRX_DISABILITATUTTI");
  EXPECT_EQ(Count("WHERE ABILITATO = 0"), 1);
  EXPECT_TRUE(merges_.empty());
}

}  // namespace
}  // namespace orv::sections
