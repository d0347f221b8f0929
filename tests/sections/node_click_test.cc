// A click in the project-node section goes to InserisciRevocaNodi: the row
// is written back to the node work table and the node section's merge runs
// for the principal; the parameter table is never touched.

#include <gtest/gtest.h>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostdb/demo_installation.h"
#include "sections/parameter_editor.h"
#include "sections/parameters/node_merge.h"
#include "sections/parameters/parameter_section.h"
#include "session/headless_change_log.h"
#include "session/headless_global.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::ParameterEditor;

// Stands in for the node section's merge: records each call.
class RecordingMerge : public editor::Section, public NodeMerge {
 public:
  RecordingMerge(editor::FRMFW_ORVELKA& window, std::vector<std::string>& calls)
      : Section(window), calls_(calls) {}
  std::string_view Name() const override { return "merge"; }
  bool ConfermaModificheNodi(const db::Value& user, const db::Value& group) override {
    calls_.push_back((user.IsNull() ? "NULL" : user.ToText()) + "/" +
                     (group.IsNull() ? "NULL" : group.ToText()));
    return true;
  }

 private:
  std::vector<std::string>& calls_;
};

ParameterSection& FindSection(editor::FRMFW_ORVELKA& window) {
  for (const auto& s : window.sections()) {
    if (auto* p = dynamic_cast<ParameterSection*>(s.get())) return *p;
  }
  throw std::logic_error("no parameter section");
}

class NodeClickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e_.window().AddSection(std::make_unique<RecordingMerge>(e_.window(), merges_));
    e_.Group(DemoInstallation::kGroupAcquisti);
    e_.Section("ITM_NODI");
    // A node work table as the node section makes it, bound as its load does.
    std::shared_ptr<db::Connection> cn = e_.window().connection();
    cn->Execute(
        "SELECT PD0C_CODNODO AS CODICE, PD0C_CODPROG_PD68 AS PROGETTO, PD0C_DESCR AS "
        "DESCRIZIONE, 0 AS INDTIPO, 1 AS ABILITATO, 0 AS MODIFICA, 0 AS ELIMINAZIONE, 0 AS "
        "INSERIMENTO, "
        "PD0C_DITTA_CG18 AS DITTARAG, 'x' AS RAGGRUPPAMENTO INTO ##tnodi_test FROM PD0C_NODO "
        "WHERE PD0C_DITTA_CG18 = 1 AND PD0C_CODPROG_PD68 = '24002' ORDER BY PD0C_CODNODO");
    auto rs = std::make_shared<db::Recordset>();
    rs->Open("select * from ##tnodi_test order by CODICE", cn);
    FindSection(e_.window()).BindWorkRecordset(rs);
    e_.ClearOutput();
  }

  int64_t Revoked() {
    return e_.window()
        .connection()
        ->Execute("SELECT COUNT(*) FROM ##tnodi_test WHERE ABILITATO = 0")
        ->Field(0)
        .ToInt64();
  }

  ParameterEditor e_;
  std::vector<std::string> merges_;
};

TEST_F(NodeClickTest, ClickWritesTheWorkTableAndMergesForThePrincipal) {
  const int64_t parameters = e_.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI");
  e_.Click("020");
  EXPECT_EQ(Revoked(), 1);
  EXPECT_EQ(merges_, std::vector<std::string>{"NULL/4"});
  EXPECT_EQ(e_.Row("020").abilitato, "0");
  ASSERT_EQ(e_.Log16().size(), 1u);
  session::HeadlessChangeLog& log = e_.host().global()->change_log();
  EXPECT_NE(e_.Log16()[0].find(log.FormatDetail(1, "Acquisto cabina di verniciatura") +
                               log.FormatDetail(2, "") + log.FormatDetail(3, "020") +
                               log.FormatDetail(4, "No")),
            std::string::npos)
      << e_.Log16()[0];
  e_.Click("020");
  EXPECT_EQ(Revoked(), 0);
  EXPECT_EQ(merges_.size(), 2u);
  EXPECT_EQ(e_.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), parameters);
  EXPECT_TRUE(e_.Messages().empty());
}

TEST_F(NodeClickTest, WithoutAPrincipalTheNodeStays) {
  e_.host().SelectNoPrincipal();
  e_.ClearOutput();
  e_.Click("010");
  EXPECT_EQ(e_.Messages(),
            std::vector<std::string>{
                "48|Operazione non valida|Selezionare almeno un gruppo o un utente!"});
  EXPECT_EQ(e_.Row("010").abilitato, "1");
  EXPECT_EQ(Revoked(), 0);
  EXPECT_TRUE(merges_.empty());
  EXPECT_TRUE(e_.Log16().empty());
}

}  // namespace
}  // namespace orv::sections
