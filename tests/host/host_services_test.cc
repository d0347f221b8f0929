// The entry points' building blocks: the permissions class, instance
// identifiers, the standard message box, the manifest and the query
// control's condition text.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "host/fallback_message_box.h"
#include "host/host_test_objects.h"
#include "host/instance_id.h"
#include "host/live_objects.h"
#include "host/query_condition.h"
#include "host/trace.h"
#include "module/clsfw_permessiditta.h"
#include "module/module_manifest.h"
#include "zere_orvelka/message_service.h"

namespace orv::host {
namespace {

using orv::testing::CapturedHostOutput;

TEST(PermessiDittaTest, ThirteenFlagsStartFalseAndKeepWhatIsWritten) {
  CapturedHostOutput captured;
  CLSFW_PERMESSIDITTA permissions;
  for (int i = 0; i < CLSFW_PERMESSIDITTA::kFlagCount; ++i) {
    EXPECT_FALSE(permissions.Get(static_cast<CLSFW_PERMESSIDITTA::Flag>(i))) << i;
  }
  permissions.SetStampa(true);
  permissions.Set(CLSFW_PERMESSIDITTA::kFax, true);
  EXPECT_TRUE(permissions.Stampa());
  EXPECT_TRUE(permissions.Fax());
  EXPECT_FALSE(permissions.Mail());
  permissions.SetStampa(false);
  EXPECT_FALSE(permissions.Get(CLSFW_PERMESSIDITTA::kStampa));

  EXPECT_EQ(CLSFW_PERMESSIDITTA::FlagByName("Abilitazione"), CLSFW_PERMESSIDITTA::kAbilitazione);
  EXPECT_EQ(CLSFW_PERMESSIDITTA::FlagByName("ExportToFile"), CLSFW_PERMESSIDITTA::kExportToFile);
  EXPECT_FALSE(CLSFW_PERMESSIDITTA::FlagByName("abilitazione"));
  EXPECT_EQ(CLSFW_PERMESSIDITTA::FlagByDispatchId(0x40030000), CLSFW_PERMESSIDITTA::kAbilitazione);
  EXPECT_EQ(CLSFW_PERMESSIDITTA::FlagByDispatchId(0x4003000C), CLSFW_PERMESSIDITTA::kFax);
  EXPECT_FALSE(CLSFW_PERMESSIDITTA::FlagByDispatchId(0x4003000D));
}

TEST(PermessiDittaTest, TwoObjectsTraceDifferentIdentifiers) {
  CapturedHostOutput captured;
  {
    CLSFW_PERMESSIDITTA a;
    CLSFW_PERMESSIDITTA b;
  }
  ASSERT_EQ(captured.traces.size(), 4u);
  const std::regex line("CVGE:\\|([0-9A-F]{32})\\|(INI|TER)\\|ZERE_ORVELKA\\|CLSFW_PERMESSIDITTA");
  std::smatch m0, m1, m2, m3;
  ASSERT_TRUE(std::regex_match(captured.traces[0], m0, line));
  ASSERT_TRUE(std::regex_match(captured.traces[1], m1, line));
  ASSERT_TRUE(std::regex_match(captured.traces[2], m2, line));
  ASSERT_TRUE(std::regex_match(captured.traces[3], m3, line));
  EXPECT_NE(m0[1], m1[1]);
  EXPECT_EQ(m1[1], m2[1]);  // b is destroyed first
  EXPECT_EQ(m0[1], m3[1]);
}

TEST(LiveObjectsTest, CountsEveryObjectOfTheModule) {
  CapturedHostOutput captured;
  const long before = LiveObjects::Count();
  {
    CLSFW_PERMESSIDITTA a;
    auto b = std::make_unique<CLSFW_PERMESSIDITTA>();
    EXPECT_EQ(LiveObjects::Count(), before + 2);
  }
  EXPECT_EQ(LiveObjects::Count(), before);
}

TEST(InstanceIdTest, GuidTextIsThirtyTwoUpperCaseDigitsInFieldOrder) {
  GuidSource previous = SetGuidSource([] {
    Guid g;
    g.data1 = 0x0A0B0C0D;
    g.data2 = 0x00EF;
    g.data3 = 0x1;
    g.data4 = {0x00, 0x01, 0xAB, 0xCD, 0xEF, 0x10, 0x20, 0xFF};
    return std::optional<Guid>(g);
  });
  EXPECT_EQ(NewGuidString(), "0A0B0C0D00EF00010001ABCDEF1020FF");
  SetGuidSource(previous);

  std::set<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    const std::string id = NewGuidString();
    EXPECT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{32}"))) << id;
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 50u);
}

TEST(InstanceIdTest, FailedGenerationGivesEmptyTextAndIsRetried) {
  SetGuidSource([] { return std::optional<Guid>(); });
  InstanceId id;
  EXPECT_EQ(NewGuidString(), "");
  EXPECT_EQ(id.Get(), "");
  SetGuidSource({});
  const std::string first = id.Get();
  EXPECT_EQ(first.size(), 32u);
  EXPECT_EQ(id.Get(), first);  // kept once made
}

TEST(TraceTest, DefaultSinkWritesOnlyWhenAsked) {
  SetTraceSink({});
  ::unsetenv("ORVELKA_TRACE");
  ::testing::internal::CaptureStderr();
  WriteTrace("silenzio");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  ::setenv("ORVELKA_TRACE", "1", 1);
  ::testing::internal::CaptureStderr();
  TraceEvent("ABC", "INI", "X");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "CVGE:|ABC|INI|ZERE_ORVELKA|X\n");
  ::unsetenv("ORVELKA_TRACE");
  // A throwing sink never reaches the caller.
  SetTraceSink([](std::string_view) { throw std::runtime_error("sink"); });
  EXPECT_NO_THROW(WriteTrace("x"));
  SetTraceSink({});
}

TEST(FallbackMessageBoxTest, DefaultAnswerChangesNothing) {
  EXPECT_EQ(SafeDefaultAnswer(kVbOKOnly), kVbOK);
  EXPECT_EQ(SafeDefaultAnswer(kVbExclamation), kVbOK);
  EXPECT_EQ(SafeDefaultAnswer(kVbYesNo + kVbQuestion), kVbNo);
  EXPECT_EQ(SafeDefaultAnswer(52), kVbNo);
  EXPECT_EQ(SafeDefaultAnswer(4370), kVbAbort);
  EXPECT_EQ(SafeDefaultAnswer(kVbOKCancel), kVbCancel);
  EXPECT_EQ(SafeDefaultAnswer(kVbYesNoCancel), kVbCancel);
  SetFallbackMessageBox({});
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ShowFallbackMessageBox("Procedere?", 36, "Richiesta"), kVbNo);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Richiesta: Procedere?\n");
}

TEST(ModuleManifestTest, WritesAndRemovesTheManifest) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("orv-manifest-" + NewGuidString());
  const std::filesystem::path file =
      ModuleManifest::Write(dir.string(), "/opt/x/libzere_orvelka.so");
  EXPECT_EQ(file, dir / "zere_orvelka.json");
  std::ifstream in(file);
  const nlohmann::json manifest = nlohmann::json::parse(in);
  EXPECT_EQ(manifest["module"], "ZERE_ORVELKA");
  EXPECT_EQ(manifest["library"], "/opt/x/libzere_orvelka.so");
  EXPECT_EQ(manifest["classes"], nlohmann::json({"CLSFW_ORVELKA", "CLSFW_PERMESSIDITTA"}));
  EXPECT_FALSE(std::filesystem::exists(dir / "zere_orvelka.json.tmp"));
  EXPECT_TRUE(ModuleManifest::Remove(dir.string()));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_FALSE(ModuleManifest::Remove(dir.string()));
  std::filesystem::remove_all(dir);

  ::setenv("XDG_DATA_HOME", "/tmp/xdg-test", 1);
  EXPECT_EQ(ModuleManifest::Directory(""), std::filesystem::path("/tmp/xdg-test/orvelka/modules"));
  ::unsetenv("XDG_DATA_HOME");
}

TEST(QueryConditionTest, BoundsBecomeEscapedLiterals) {
  std::vector<QueryField> fields = {
      {"Progetto", "PD68_CODPROG", 25, "P1", ""},
      {"Tipo progetto", "PD68_TIPO_PD1D", 10, "  ", ""},
      {"Nodo", "PD0C_CODNODO", 25, "A", "D'X"},
      {"Stato progetto", "PD68_STATO_PD1E", 3, "", "ABCDEF"},
  };
  EXPECT_EQ(BuildQueryCondition(fields),
            " AND PD68_CODPROG = 'P1'"
            " AND PD0C_CODNODO >= 'A' AND PD0C_CODNODO <= 'D''X'"
            " AND PD68_STATO_PD1E <= 'ABC'");
  EXPECT_EQ(BuildQueryCondition({{"Progetto", "PD68_CODPROG", 25, "", ""}}), "");
  // An injection attempt stays one literal.
  EXPECT_EQ(BuildQueryCondition({{"Progetto", "PD68_CODPROG", 0, "x' OR 1=1 --", ""}}),
            " AND PD68_CODPROG = 'x'' OR 1=1 --'");
}

TEST(QueryConditionTest, CutsByCharactersAndSendsOnlyValidText) {
  struct Case {
    const char* typed;
    int32_t max_length;
    const char* sent;
  };
  const Case cases[] = {
      // 13 accented letters are 26 bytes: a cut at 13 keeps all of them.
      {"\u00e0\u00e8\u00ec\u00f2\u00f9\u00e0\u00e8\u00ec\u00f2\u00f9\u00e0\u00e8\u00ec", 13,
       "\u00e0\u00e8\u00ec\u00f2\u00f9\u00e0\u00e8\u00ec\u00f2\u00f9\u00e0\u00e8\u00ec"},
      {"\u00e0\u00e8\u00ec", 2, "\u00e0\u00e8"},  // never half a character
      {"a\u20acb", 2, "a\u20ac"},                 // three-byte character kept whole
      {"x\xC3", 5, "x\xEF\xBF\xBD"},              // a lone lead byte is replaced
      {"\xFF\xFE"
       "ab",
       3,
       "\xEF\xBF\xBD\xEF\xBF\xBD"
       "a"},                                        // bytes that never begin text
      {"\xC0\xAF", 0, "\xEF\xBF\xBD\xEF\xBF\xBD"},  // an overlong '/' is not a slash
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildQueryCondition({{"Progetto", "PD68_CODPROG", c.max_length, c.typed, ""}}),
              std::string(" AND PD68_CODPROG = '") + c.sent + "'")
        << c.typed;
  }
}

}  // namespace
}  // namespace orv::host
