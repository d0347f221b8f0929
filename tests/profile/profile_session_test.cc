#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "hostdb/temporary_demo_database.h"
#include "session/session_script.h"

namespace orv::session {
namespace {

TEST(ProfileSessionTest, ScriptsShowExportImportAndCompare) {
  hostdb::TemporaryDemoDatabase database;
  const std::string file =
      (std::filesystem::path(database.path()).parent_path() / "laura.json").string();
  std::ostringstream out;
  std::ostringstream err;
  SessionScript script({database.connection_string(), "admin", std::nullopt}, out, err);
  std::istringstream lines(
      "open\n"
      "profile effective lbianchi\n"
      "profile where-used clifor:0:AREA:SUD --json\n"
      "profile export user:lbianchi " +
      file +
      "\n"
      "profile import ospite " +
      file +
      " --preview\n"
      "profile diff lbianchi ospite\n"
      "profile import ospite " +
      file +
      " --apply\n"
      "profile diff lbianchi ospite\n");
  ASSERT_EQ(script.Run(lines), SessionScript::kOk) << err.str();
  const std::string text = out.str();
  EXPECT_NE(text.find("gruppo Ufficio vendite"), std::string::npos) << text;
  EXPECT_NE(text.find("\"reference\": \"group:VENDITE\""), std::string::npos) << text;
  EXPECT_NE(text.find("Anteprima per user:ospite: 2 da aggiungere"), std::string::npos) << text;
  EXPECT_NE(text.find("solo user:lbianchi"), std::string::npos) << text;  // before the apply
  EXPECT_NE(text.find("user:lbianchi e user:ospite: nessuna differenza"), std::string::npos)
      << text;

  // A line the command does not allow, and a login that is no administrator.
  EXPECT_EQ(script.RunLine("profile import ospite " + file, 9), SessionScript::kBadScript);
  SessionScript other({database.connection_string(), "mrossi", std::nullopt}, out, err);
  ASSERT_EQ(other.RunLine("answer ok", 1), SessionScript::kOk) << err.str();
  ASSERT_EQ(other.RunLine("open", 2), SessionScript::kOk) << err.str();
  EXPECT_EQ(other.RunLine("profile show mrossi", 3), SessionScript::kFailed);
}

}  // namespace
}  // namespace orv::session
