// FRMFW_ORVELKA: lifecycle: load, start-up, unload, host notification and scripts, the temporary
// table.

#include <array>
#include <string>
#include <utility>

#include "db/command.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "db/value_variant.h"
#include "editor/frmfw_orvelka.h"
#include "editor/log_error_routine.h"
#include "editor/silently.h"
#include "host/connection_factory.h"
#include "host/err_object.h"
#include "host/fallback_message_box.h"
#include "host/trace.h"
#include "journal/gesture_capture.h"
#include "journal/journal.h"
#include "journal/journal_table.h"
#include "store/settings.h"
#include "store/temp_table.h"
#include "zere_orvelka/change_log.h"
#include "zere_orvelka/cls_global.h"
#include "zere_orvelka/cls_voce_menu.h"
#include "zere_orvelka/host_frame.h"
#include "zere_orvelka/log_class.h"
#include "zere_orvelka/lookup_object.h"
#include "zere_orvelka/message_service.h"
#include "zere_orvelka/navigator.h"
#include "zere_orvelka/script_model.h"
#include "zere_orvelka/zere_orvelka.hpp"

namespace orv::editor {

using host::Need;

std::pair<int32_t, int32_t> FRMFW_ORVELKA::HostPosition() const {
  const db::Value left = NvlValue(db::FromVariant(host_interface_->GetLeft()), db::Value(0));
  const db::Value top = NvlValue(db::FromVariant(host_interface_->GetTop()), db::Value(0));
  const int32_t l = left.ToInt32() == 0 ? 100 : left.ToInt32();
  const int32_t t = top.ToInt32() == 0 ? 100 : top.ToInt32();
  return {l, t};
}
void FRMFW_ORVELKA::Form_Load() {
  loaded_ = true;
  LogErrorRoutine routine(*this, "Form_Load");
  routine.Run([&] {
    std::shared_ptr<host::ClsGlobal> g = global();
    if (g) log_object_ = g->CreateLogClass();
  });
  routine.Run([&] {
    Need(host_interface_, "HostInterface");
    auto [left, top] = HostPosition();
    form().SetLeft(left);
    form().SetTop(top);
  });
}
void FRMFW_ORVELKA::MdiHost1_FormLoad() {
  LogErrorRoutine routine(*this, "MdiHost1_FormLoad");
  routine.Run([&] {
    Need(host_interface_, "HostInterface");
    auto [left, top] = HostPosition();
    Need(controls_.MdiHost1, "MdiHost1").Place(left, top, 16290, 8400);
  });
}
void FRMFW_ORVELKA::NotifyHostActivation() {
  if (!host_interface_) return;
  Silently([&] {
    if (auto g = global()) g->SetActiveModule(host_interface_.get());
  });
  Silently([&] {
    auto frame = host_interface_->GetActiveFrame();
    auto navigator = host_interface_->GetActiveNavigator();
    if (frame && navigator) navigator->SetFrameStatus(frame->Status());
  });
  Silently([&] {
    if (auto navigator = host_interface_->GetActiveNavigator()) navigator->Refresh();
  });
}
void FRMFW_ORVELKA::Form_Activate() {
  NotifyHostActivation();
  if (started_ || unloaded_) return;
  StartUp();
}
void FRMFW_ORVELKA::StartUp() {
  LogErrorRoutine routine(*this, "Form_Activate");
  std::shared_ptr<host::ClsGlobal> g;
  if (!routine.Run([&] {
        g = std::shared_ptr<host::ClsGlobal>(Need(host_interface_, "HostInterface").GetClsGlobal());
      }))
    return;
  if (!routine.Run([&] { connection_string_ = Need(g, "ClsGlobal").ConnectionString(); })) return;
  if (!routine.Run([&] {
        connection_ = host::NewWindowConnection(Need(g, "ClsGlobal"));
        Need(connection_, "Connection").ConnectionString = connection_string_;
        connection_->Open({}, {}, {}, -1);
      }))
    return;
  if (!routine.Run([&] { host_interface_->SetConnection(connection_); })) return;
  if (!routine.Run([&] { current_company_ = db::Value(Need(g, "ClsGlobal").CurrentCompany()); }))
    return;
  if (!routine.Run([&] {
        lookup_objects_.clear();
        for (int kind = 0; kind < host::LookupObject::kCount; ++kind) {
          std::shared_ptr<host::LookupObject> lookup = g->CreateLookupObject(kind);
          if (lookup) lookup->SetHost(host_interface_.get());
          lookup_objects_.push_back(std::move(lookup));
        }
      }))
    return;
  InizializzaScriptELayout();
  bool administrator = false;
  if (!routine.Run([&] { administrator = g->IsAdministrator(); })) return;
  if (!administrator) {
    routine.Run([&] {
      ShowMessage(
          "Solo l'utente amministratore può configurare le autorizzazioni.\n"
          "Consultare l'amministrazione del'installazione.",
          host::kVbInformation, "Utente non autorizzato", nullptr);
    });
    Unload();
    return;
  }
  if (!routine.Run([&] {
        Need(controls_.VRX_RESIZEFORM1, "VRX_RESIZEFORM1").Start(*this);
        resize_started_ = true;
      }))
    return;
  started_ = true;
  if (!routine.Run([&] { InitUserTree(); })) return;
  if (!routine.Run(
          [&] { Call(SectionFor(kSectionCopy), [](Section& s) { return s.InitCopyTree(); }); }))
    return;
  if (!routine.Run([&] { InitSideBar(); })) return;
  if (!viewer()) {
    // A journal for this window's gestures; without its tables in the
    // database it lives in memory, which the trace says once.
    routine.Run([&] {
      const std::string instance = InstanceIdText();
      journal_ = std::make_unique<journal::Journal>(
          connection_, g->Login(), current_company_.ToInt64(), [instance](std::string_view text) {
            host::WriteTrace("CVGE:|" + instance + "|GIORNALE|ZERE_ORVELKA|" + std::string(text));
          });
    });
  }
  if (!routine.Run([&] { LoadRevokeSetting(); })) return;
  if (viewer()) {
    routine.Run([&] {
      for (Control* c : controls()) {
        const bool writing_button = c->type() == "CommandButton" && WritesData(c->name());
        if (c->name() == "CHK_ABILREVOKE" || writing_button) c->SetEnabled(false);
      }
    });
  }
  if (!routine.Run([&] {
        const db::Value name = GetTempTableName();
        temp_table_name_ = name.IsNull() ? std::string() : name.ToText();
      }))
    return;
  if (!routine.Run([&] { NudgeHeight(); })) return;
  if (!routine.Run([&] {
        // The side bar shows its customer/supplier item chosen and frame 5
        // shows that section's tree: the section code says so too, so that
        // the toolbar's buttons act on the rows on screen.
        section_code_ = kSectionCliFor;
        int16_t frame = kFrameTrees;
        SelectFrame(frame);
      }))
    return;
  if (!routine.Run([&] {
        std::optional<host::PrincipalNode> node = SelectedNode();
        if (node) trv_GU_NodeClick(node);
      }))
    return;
  routine.Run([&] { InizializzaProgressBar(); });
}
void FRMFW_ORVELKA::NudgeHeight() {
  form().SetHeight(form().height() + 10);
  form().SetHeight(form().height() - 10);
}
bool FRMFW_ORVELKA::Unload() {
  if (unloaded_) return true;
  bool cancel = false;
  Form_QueryUnload(cancel);
  if (cancel) return false;
  Form_Unload();
  return true;
}
void FRMFW_ORVELKA::Form_QueryUnload(bool& cancel) {
  NotifyHostActivation();
  if (cancel) return;
  LogErrorRoutine routine(*this, "Form_QueryUnload");
  routine.Run([&] { ExecuteFormEvent(db::Value("tsClose")); });
  routine.Run([&] {
    if (!host_interface_) return;
    std::shared_ptr<host::Navigator> navigator = host_interface_->GetActiveNavigator();
    host::ScriptModel* model = navigator ? navigator->GetScriptModel() : nullptr;
    cancel = model != nullptr && model->RefuseClose(FormName());
  });
}
void FRMFW_ORVELKA::Form_Unload() {
  if (unloaded_) return;
  // The temporary table goes first: it is the one thing left on the server.
  Silently([&] {
    if (connection_) connection_->Execute(store::TempTable::DropIfExists(temp_table_name_));
  });
  Silently([&] {
    for (const auto& lookup : lookup_objects_) {
      if (lookup) lookup->SetHost(nullptr);
    }
  });
  lookup_objects_.clear();
  std::shared_ptr<host::ClsGlobal> g;
  std::shared_ptr<host::Navigator> navigator;
  Silently([&] {
    if (host_interface_) g = host_interface_->GetClsGlobal();
  });
  Silently([&] {
    if (host_interface_) navigator = host_interface_->GetActiveNavigator();
  });
  Silently([&] {
    if (g) g->ForgetModule(host_interface_.get());
  });
  Silently([&] {
    if (navigator) navigator->ForgetModule(host_interface_.get());
  });
  Silently([&] {
    if (!host_interface_) return;
    if (auto menu = host_interface_->GetClsVoceMenu()) menu->ModuleClosed();
  });
  Silently([&] {
    host::ScriptModel* model = navigator ? navigator->GetScriptModel() : nullptr;
    if (model != nullptr) model->FormClosed(FormName());
  });
  Silently([&] {
    if (host_interface_) host_interface_->SetActiveDll(nullptr);
  });
  Silently([&] {
    for (const auto& section : sections_) section->Unload();
  });
  Silently([&] {
    if (resize_started_ && controls_.VRX_RESIZEFORM1) controls_.VRX_RESIZEFORM1->Stop();
    resize_started_ = false;
  });
  ResetRows();
  log_object_.reset();
  connection_.reset();
  owner_module_ = nullptr;
  host_interface_.reset();
  loaded_ = false;
  unloaded_ = true;
  if (unloaded_handler_) {
    auto handler = std::move(unloaded_handler_);
    unloaded_handler_ = nullptr;
    Silently([&] { handler(*this); });
  }
}
db::Value FRMFW_ORVELKA::ExecuteFormEvent(const db::Value& event_name) {
  LogErrorRoutine routine(*this, "ExecuteFormEvent");
  routine.Run([&] {
    const std::string name = event_name.IsNull() ? std::string() : event_name.ToText();
    // A window whose module went away has no scripts to run.
    if ((name != "tsOpen" && name != "tsClose") || !host_interface_) return;
    std::shared_ptr<host::Navigator> navigator = host_interface_->GetActiveNavigator();
    host::ScriptModel* model = navigator ? navigator->GetScriptModel() : nullptr;
    if (model != nullptr) model->RunFormEvent(FormName(), 0, name == "tsOpen" ? 1 : 0, "");
  });
  return db::Value();
}
void FRMFW_ORVELKA::InizializzaScriptELayout() {
  LogErrorRoutine routine(*this, "InizializzaScriptELayout");
  routine.Run([&] {
    Need(Need(host_interface_, "HostInterface").GetActiveNavigator(), "ActiveNavigator").Open();
  });
  routine.Run([&] { ExecuteFormEvent(db::Value("tsOpen")); });
  routine.Run([&] { Need(global(), "ClsGlobal").SetApplication(host_interface_.get()); });
}
db::Value FRMFW_ORVELKA::GetTempTableName() {
  db::Value result;
  LogErrorRoutine routine(*this, "GetTempTableName");
  std::shared_ptr<db::Recordset> rs;
  if (!routine.Run(
          [&] { rs = Need(connection_, "Connection").Execute(store::TempTable::kSelectNewId); }))
    return result;
  routine.Run([&] {
    if (rs && !rs->IsEof()) {
      result = db::Value(store::TempTable::NameFromGuid(rs->Field(0).ToText()));
    } else {
      result = db::Value(std::string(store::TempTable::kPrefix));
    }
  });
  return result;
}

}  // namespace orv::editor
