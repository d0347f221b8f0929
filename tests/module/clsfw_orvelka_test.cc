#include "module/clsfw_orvelka.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

#include "db/db_error.h"
#include "db/value.h"
#include "host/host_test_objects.h"
#include "session/headless_global.h"
#include "session/headless_navigator.h"
#include "support/headless_editor.h"
#include "zere_orvelka/message_service.h"

namespace orv::host {
namespace {

using orv::db::Value;
using orv::testing::CapturedHostOutput;
using orv::testing::Journal;
using orv::testing::Journaled;

TEST(ClsfwOrvelkaTest, FreshObjectIsItsOwnActiveDllAndHasNoWindow) {
  CapturedHostOutput captured;
  auto module = CLSFW_ORVELKA::Create();
  EXPECT_EQ(module->GetActiveDll().get(), static_cast<Cinterface*>(module.get()));
  EXPECT_EQ(module->GetCwindow(), nullptr);
  EXPECT_TRUE(module->GetFiltro().IsEmpty());
  module->SetFiltro(Value("x"));
  EXPECT_TRUE(module->GetFiltro().IsEmpty());
  EXPECT_EQ(module->GetTop(), Value(0));
  EXPECT_EQ(module->GetLeft(), Value(0));
  EXPECT_FALSE(module->GetWindowModal());
  EXPECT_TRUE(module->GetCaption().IsEmpty());
  // The self reference does not keep the object alive.
  std::weak_ptr<CLSFW_ORVELKA> weak = module;
  std::shared_ptr<Cinterface> self = module->GetActiveDll();
  module.reset();
  EXPECT_TRUE(weak.expired());
}

TEST(ClsfwOrvelkaTest, PropertyConversionsKeepTheFieldOnFailure) {
  CapturedHostOutput captured;
  auto module = CLSFW_ORVELKA::Create();
  module->SetWindowState(2);
  module->SetWindowState(40000);  // outside 16 bits: ignored
  EXPECT_EQ(module->GetWindowState(), 2);
  module->SetWindowState(-32768);
  EXPECT_EQ(module->GetWindowState(), -32768);
  module->SetProgramMode(3);
  module->SetProgramMode(70000);
  EXPECT_EQ(module->GetProgramMode(), 3);

  module->SetTop(Value("120"));
  EXPECT_EQ(module->GetTop(), Value(120));
  EXPECT_EQ(module->GetTop().type(), Value::Type::kInt);
  module->SetTop(Value("abc"));
  EXPECT_EQ(module->GetTop(), Value(120));
  module->SetTop(Value::Null());
  EXPECT_EQ(module->GetTop(), Value(120));
  module->SetLeft(Value(2500.4));
  EXPECT_EQ(module->GetLeft(), Value(2500));
  module->SetLeft(Value("9999999999"));  // overflows 32 bits
  EXPECT_EQ(module->GetLeft(), Value(2500));

  module->SetMenuModulo(Value("M1"));
  module->SetMenuPadre(Value(12));
  module->SetMenuProg(Value::Null());
  module->SetHwndParent(77);
  module->SetCanInsert(true);
  module->SetCanQbe(true);
  module->SetIsCalled(true);
  EXPECT_EQ(module->GetMenuModulo(), Value("M1"));
  EXPECT_EQ(module->GetMenuPadre(), Value(12));
  EXPECT_TRUE(module->GetMenuProg().IsNull());
  EXPECT_EQ(module->GetHwndParent(), 77);
  EXPECT_TRUE(module->GetCanInsert());
  EXPECT_FALSE(module->GetCanDelete());
  EXPECT_FALSE(module->GetCanUpdate());
  EXPECT_TRUE(module->GetCanQbe());
  EXPECT_TRUE(module->GetIsCalled());
  EXPECT_FALSE(module->GetIsActive());
  // Nothing above reached the user.
  EXPECT_TRUE(captured.boxes.empty());
}

TEST(ClsfwOrvelkaTest, ChangeDittaIsAlwaysRefused) {
  CapturedHostOutput captured;
  auto module = CLSFW_ORVELKA::Create();
  // Not active, no global services: the standard message box.
  bool cancel = false;
  module->ChangeDitta(cancel);
  EXPECT_TRUE(cancel);
  ASSERT_EQ(captured.boxes.size(), 1u);
  EXPECT_EQ(captured.boxes[0].prompt,
            "Non è possibile cambiare l'azienda di lavoro durante l'esecuzione del programma.");
  EXPECT_EQ(captured.boxes[0].buttons, 48);
  EXPECT_EQ(captured.boxes[0].title, "Avviso");

  // Active, through the navigator and the host's message service.
  session::AnswerQueue answers;
  session::SessionOutput output;
  auto global = std::make_shared<session::HeadlessGlobal>(session::HeadlessGlobal::Settings{},
                                                          answers, output);
  auto navigator = std::make_shared<session::HeadlessNavigator>();
  module->SetClsGlobal(global);
  module->SetActiveNavigator(navigator);
  module->SetIsActive(true);
  EXPECT_TRUE(navigator->RaiseChangeDitta());
  ASSERT_EQ(global->messages().messages().size(), 1u);
  EXPECT_EQ(global->messages().messages()[0].title, "Avviso");
  EXPECT_EQ(captured.boxes.size(), 1u);
}

TEST(ClsfwOrvelkaTest, NavigatorIsConnectedAndSwitched) {
  CapturedHostOutput captured;
  auto module = CLSFW_ORVELKA::Create();
  auto first = std::make_shared<session::HeadlessNavigator>();
  auto second = std::make_shared<session::HeadlessNavigator>();
  module->SetActiveNavigator(first);
  EXPECT_EQ(first->listeners().size(), 1u);
  module->SetActiveNavigator(second);
  EXPECT_TRUE(first->listeners().empty());
  EXPECT_EQ(second->listeners().size(), 1u);
  EXPECT_EQ(module->GetActiveNavigator(), second);
  module.reset();
  EXPECT_TRUE(second->listeners().empty());
}

TEST(ClsfwOrvelkaTest, ModelsRegisterTheWindowOnlyWhileActive) {
  CapturedHostOutput captured;
  auto module = CLSFW_ORVELKA::Create();
  auto navigator = std::make_shared<session::HeadlessNavigator>();
  module->SetActiveNavigator(navigator);
  navigator->RaiseInitializeModels();
  EXPECT_TRUE(navigator->script_model().events.empty());
  module->SetIsActive(true);
  navigator->RaiseInitializeModels();
  EXPECT_EQ(
      navigator->script_model().events,
      (std::vector<std::string>{"register-layout Gestione Autorizzazioni", "register-script "}));
}

TEST(ClsfwOrvelkaTest, CwindowReturnsNothingAndHoldsNoClosedWindow) {
  orv::testing::HeadlessEditor editor;
  editor.Open();
  session::HeadlessHost& host = editor.host();
  host.navigator()->RaiseInitializeModels();
  ASSERT_FALSE(host.navigator()->script_model().registered.expired());
  // Nothing assigns Cwindow's reference, whatever the models hand back.
  EXPECT_EQ(host.module()->GetCwindow(), nullptr);
  std::weak_ptr<HostForm> first = host.navigator()->script_model().registered;
  ASSERT_TRUE(host.Close());
  host.ShowAgain();
  // The module holds the newer window only; the closed one is gone while
  // the module lives on.
  EXPECT_TRUE(first.expired());
  EXPECT_EQ(host.module()->GetCwindow(), nullptr);
}

TEST(ClsfwOrvelkaTest, TransferDataRaisesDataTransfer) {
  CapturedHostOutput captured;
  auto module = CLSFW_ORVELKA::Create();
  std::vector<Value> received;
  module->ConnectDataTransfer([&](const Value& data) { received.push_back(data); });
  EXPECT_TRUE(module->TransferData(Value("payload")).IsEmpty());
  EXPECT_TRUE(module->TransferData(Value(5)).IsEmpty());
  EXPECT_EQ(received, (std::vector<Value>{Value("payload"), Value(5)}));
}

TEST(ClsfwOrvelkaTest, CloseFormWithoutWindowIsTrueAndShowFormWithoutHostUiDoesNothing) {
  CapturedHostOutput captured;
  auto module = CLSFW_ORVELKA::Create();
  EXPECT_EQ(module->CloseForm(), Value(true));
  EXPECT_TRUE(module->ShowForm().IsEmpty());  // no host user interface: nothing shown
  EXPECT_EQ(module->editor(), nullptr);
  EXPECT_EQ(module->CloseForm(), Value(true));
  EXPECT_TRUE(captured.boxes.empty());
}

TEST(ClsfwOrvelkaTest, TraceLinesCarryOneIdentifierPerObject) {
  CapturedHostOutput captured;
  std::string id_a;
  std::string id_b;
  {
    auto a = CLSFW_ORVELKA::Create();
    auto b = CLSFW_ORVELKA::Create();
    id_a = a->InstanceIdText();
    id_b = b->InstanceIdText();
  }
  const std::regex line("CVGE:\\|([0-9A-F]{32})\\|(INI|TER)\\|ZERE_ORVELKA\\|CLSFW_ORVELKA");
  ASSERT_EQ(captured.traces.size(), 4u);
  for (const std::string& trace : captured.traces)
    EXPECT_TRUE(std::regex_match(trace, line)) << trace;
  EXPECT_NE(id_a, id_b);
  EXPECT_EQ(captured.traces[0], "CVGE:|" + id_a + "|INI|ZERE_ORVELKA|CLSFW_ORVELKA");
  EXPECT_EQ(captured.traces[1], "CVGE:|" + id_b + "|INI|ZERE_ORVELKA|CLSFW_ORVELKA");
  // b goes first (destroyed in reverse order); a writes its own identifier on TER.
  EXPECT_EQ(captured.traces[2], "CVGE:|" + id_b + "|TER|ZERE_ORVELKA|CLSFW_ORVELKA");
  EXPECT_EQ(captured.traces[3], "CVGE:|" + id_a + "|TER|ZERE_ORVELKA|CLSFW_ORVELKA");
}

TEST(ClsfwOrvelkaTest, DestroyClassReleasesInItsOrder) {
  CapturedHostOutput captured;
  auto journal = std::make_shared<Journal>();
  session::AnswerQueue answers;
  session::SessionOutput output;
  {
    auto module = CLSFW_ORVELKA::Create();
    auto other_interface = CLSFW_ORVELKA::Create();
    module->SetClsGlobal(
        Journaled<ClsGlobal>(std::make_shared<session::HeadlessGlobal>(
                                 session::HeadlessGlobal::Settings{}, answers, output),
                             journal, "ClsGlobal"));
    module->SetActiveNavigator(Journaled<Navigator>(std::make_shared<session::HeadlessNavigator>(),
                                                    journal, "ActiveNavigator"));
    module->SetClsVoceMenu(
        Journaled<ClsVoceMenu>(std::make_shared<orv::testing::TestMenu>(), journal, "ClsVoceMenu"));
    module->SetActiveFrame(
        Journaled<HostFrame>(std::make_shared<orv::testing::TestFrame>(), journal, "ActiveFrame"));
    module->SetStatusBar(
        Journaled<HostObject>(std::make_shared<orv::testing::TestFrame>(), journal, "StatusBar"));
    module->SetActiveDll(Journaled<Cinterface>(other_interface, journal, "ActiveDll"));
    other_interface.reset();
    EXPECT_TRUE(journal->empty());
  }
  EXPECT_EQ(*journal, (Journal{"StatusBar", "ActiveFrame", "ActiveDll", "ClsVoceMenu", "ClsGlobal",
                               "ActiveNavigator"}));
  EXPECT_TRUE(captured.boxes.empty());
}

// A navigator that cannot be disconnected.
class StuckNavigator : public session::HeadlessNavigator {
 public:
  void Unadvise(NavigatorEvents* /*listener*/) override {
    throw db::DbError(5, "scollegamento fallito");
  }
};

TEST(ClsfwOrvelkaTest, DestroyClassFailureIsShownAndTheObjectGoesAnyway) {
  CapturedHostOutput captured;
  auto journal = std::make_shared<Journal>();
  auto navigator = std::make_shared<StuckNavigator>();
  {
    auto module = CLSFW_ORVELKA::Create();
    module->SetActiveNavigator(navigator);
    module->SetStatusBar(
        Journaled<HostObject>(std::make_shared<orv::testing::TestFrame>(), journal, "StatusBar"));
  }
  EXPECT_EQ(*journal, Journal{"StatusBar"});
  ASSERT_EQ(captured.boxes.size(), 1u);
  EXPECT_EQ(
      captured.boxes[0].prompt,
      "Errore VB n.5 - scollegamento fallito nel metodo DestroyClass della classe principale");
  EXPECT_EQ(captured.boxes[0].buttons, 0);
  EXPECT_EQ(captured.boxes[0].title, "");
  EXPECT_EQ(captured.traces.size(), 2u);  // INI and TER all the same
}

}  // namespace
}  // namespace orv::host
