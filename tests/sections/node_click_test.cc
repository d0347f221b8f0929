// A click in the project-node section goes through the shared grid click to
// InserisciRevocaNodi: the row is written back to the node work table and
// the node section's MERGE runs for the principal; the parameter table is
// never touched.

#include <gtest/gtest.h>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostdb/demo_installation.h"
#include "sections/node_editor.h"
#include "session/headless_change_log.h"
#include "session/headless_global.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::NodeEditor;

class NodeClickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e_.Group(DemoInstallation::kGroupAcquisti);
    e_.OpenNodes();
    e_.ClearOutput();
  }

  int64_t RevokedInWorkTable() {
    return e_.Count("SELECT COUNT(*) FROM " + e_.window().temp_table_name() +
                    " WHERE ABILITATO = 0");
  }
  int64_t GroupRows() {
    return e_.Count("SELECT COUNT(*) FROM FW3N_RVKNODI WHERE FW3N_ID_FW06 = 4");
  }

  NodeEditor e_;
};

TEST_F(NodeClickTest, ClickWritesTheWorkTableAndMergesForThePrincipal) {
  const int64_t parameters = e_.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI");
  e_.ClickNode("24002", "020");
  EXPECT_EQ(RevokedInWorkTable(), 1);
  EXPECT_EQ(GroupRows(), 1);
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW3N_RVKNODI WHERE FW3N_ID_FW06 = 4 AND "
                     "FW3N_ID_FW07 IS NULL AND FW3N_CODPROG_PD68 = '24002' AND FW3N_CODNODO = "
                     "'020' AND FW3N_DITTA_CG18 = 1"),
            1);
  EXPECT_EQ(e_.Shown()[7], "24002/020=0");
  ASSERT_EQ(e_.Log16().size(), 1u);
  session::HeadlessChangeLog& log = e_.host().global()->change_log();
  const std::string group = e_.window().CurrentPrincipal().GroupName();
  ASSERT_FALSE(group.empty());
  EXPECT_EQ(e_.Log16()[0].rfind(log.FormatGroup(group) + log.FormatUser(""), 0), 0u)
      << e_.Log16()[0];
  EXPECT_NE(e_.Log16()[0].find(log.FormatDetail(1, "Acquisto cabina di verniciatura") +
                               log.FormatDetail(2, "") + log.FormatDetail(3, "020") +
                               log.FormatDetail(4, "No")),
            std::string::npos)
      << e_.Log16()[0];
  e_.ClickNode("24002", "020");
  EXPECT_EQ(RevokedInWorkTable(), 0);
  EXPECT_EQ(GroupRows(), 0);
  ASSERT_EQ(e_.Log16().size(), 2u);
  EXPECT_NE(e_.Log16()[1].find(log.FormatDetail(4, "Si")), std::string::npos) << e_.Log16()[1];
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), parameters);
  EXPECT_TRUE(e_.Messages().empty());
}

TEST_F(NodeClickTest, WithoutAPrincipalTheNodeStays) {
  e_.host().SelectNoPrincipal();
  e_.ClearOutput();
  e_.ClickNode("24001", "010");
  EXPECT_EQ(e_.Messages(),
            std::vector<std::string>{
                "48|Operazione non valida|Selezionare almeno un gruppo o un utente!"});
  EXPECT_EQ(e_.Shown()[0], "24001/010=1");
  EXPECT_EQ(RevokedInWorkTable(), 0);
  EXPECT_EQ(GroupRows(), 0);
  EXPECT_TRUE(e_.Log16().empty());
}

TEST_F(NodeClickTest, AFailedMergePutsTheRowBack) {
  // The revocation table is gone: the MERGE fails and the log class is told.
  // Abort and ignore alike leave the row showing what the database holds and
  // write no change-log entry.
  e_.Exec("DROP TABLE FW3N_RVKNODI");
  e_.host().answers().Push(host::kVbAbort);
  e_.ClickNode("24001", "010");
  e_.host().answers().Push(host::kVbIgnore);
  e_.ClickNode("24001", "020");
  const auto& errors = e_.host().global()->logged_errors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].routine, "ConfermaModificheNodi");
  EXPECT_EQ(errors[1].routine, "ConfermaModificheNodi");
  EXPECT_EQ(e_.Shown()[0], "24001/010=1");
  EXPECT_EQ(e_.Shown()[1], "24001/020=1");
  EXPECT_TRUE(e_.Log16().empty());
  EXPECT_TRUE(e_.Messages().empty());
}

}  // namespace
}  // namespace orv::sections
