// A parameter "Disabilita tutti" whose rows partly fail: every other row is
// still revoked, each distinct error is shown once, and the count of rows
// that failed is told.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "db/connection.h"
#include "db/sqlite/sqlite_driver.h"
#include "hostdb/demo_installation.h"
#include "sections/bulk_editor.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {
namespace {

using hostdb::DemoInstallation;
using testing::BulkEditor;

TEST(RevokeAllErrorsTest, AFailingRowDoesNotLeaveTheRestAllowed) {
  BulkEditor e;
  e.User(DemoInstallation::kUserOspite);
  e.Section("ITM50017");
  const int64_t shown = e.Count(
      "SELECT COUNT(*) FROM MG58_DEPOSITI INNER JOIN CG18_ANADITTABASE ON MG58_DITTA_CG18 = "
      "CG18_DITTA WHERE CG18_DITTA = 1");
  ASSERT_GT(shown, 3);
  ASSERT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 9 AND "
                    "FW31_INDTIPO = 6"),
            0);
  // Two rows refused with the same error, one with another.
  auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&e.db().driver());
  ASSERT_NE(driver, nullptr);
  ASSERT_EQ(sqlite3_exec(driver->handle(),
                         "CREATE TRIGGER refuse_some BEFORE INSERT ON FW31_RVKPARAMETRI WHEN "
                         "NEW.FW31_CODTIPO IN ('01', '02') BEGIN SELECT RAISE(ABORT, 'refused'); "
                         "END; CREATE TRIGGER refuse_other BEFORE INSERT ON FW31_RVKPARAMETRI "
                         "WHEN NEW.FW31_CODTIPO = 'PF' BEGIN SELECT RAISE(ABORT, 'full'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  e.ClearOutput();
  e.Yes();
  e.host().Button("VRX_DISABILITATUTTI");

  EXPECT_EQ(e.Count("SELECT COUNT(*) FROM FW31_RVKPARAMETRI WHERE FW31_ID_FW07 = 9 AND "
                    "FW31_INDTIPO = 6"),
            shown - 3);
  const std::vector<std::string> messages = e.Messages();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0], BulkEditor::kRevokeAllQuestion);
  EXPECT_NE(messages[1].find("refused"), std::string::npos) << messages[1];
  EXPECT_NE(messages[1].find(" in DisabilitaRecordDeposito"), std::string::npos) << messages[1];
  EXPECT_NE(messages[2].find("full"), std::string::npos) << messages[2];
  EXPECT_EQ(messages[3],
            "48|Avviso|Revoca non riuscita per 3 righe su " + std::to_string(shown) + ".");
  // The rows that failed still show allowed, the others revoked.
  for (const testing::WorkRow& row : e.Rows()) {
    const bool failed = row.code == "01" || row.code == "02" || row.code == "PF";
    EXPECT_EQ(row.abilitato, failed ? "1" : "0") << row.code;
  }
}

}  // namespace
}  // namespace orv::sections
