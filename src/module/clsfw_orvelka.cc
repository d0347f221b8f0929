#include "module/clsfw_orvelka.h"

#include <string>
#include <utility>

#include "db/db_error.h"
#include "db/value_variant.h"
#include "editor/frmfw_orvelka.h"
#include "host/err_object.h"
#include "host/fallback_message_box.h"
#include "host/trace.h"
#include "module/editor_window_adapter.h"
#include "module/module_sections.h"
#include "zere_orvelka/cls_global.h"
#include "zere_orvelka/cls_voce_menu.h"
#include "zere_orvelka/host_form.h"
#include "zere_orvelka/host_frame.h"
#include "zere_orvelka/host_ui.h"
#include "zere_orvelka/layout_model.h"
#include "zere_orvelka/message_service.h"
#include "zere_orvelka/navigator.h"
#include "zere_orvelka/script_model.h"

namespace orv::host {
namespace {

constexpr const char* kObjectName = "CLSFW_ORVELKA";

// Runs an accessor body with errors suppressed.
template <typename F>
void Quietly(F&& body) {
  try {
    body();
  } catch (...) {
  }
}

}  // namespace

std::shared_ptr<CLSFW_ORVELKA> CLSFW_ORVELKA::Create() {
  std::shared_ptr<CLSFW_ORVELKA> object(new CLSFW_ORVELKA());
  object->self_ = object;
  return object;
}

CLSFW_ORVELKA::CLSFW_ORVELKA() { TraceEvent(instance_id_.Get(), "INI", kObjectName); }

CLSFW_ORVELKA::~CLSFW_ORVELKA() {
  // Windows a host still shows must not keep a reference to this object.
  for (const auto& weak : windows_) {
    if (auto window = weak.lock()) window->DetachModule(this);
  }
  try {
    TraceEvent(instance_id_.Get(), "TER", kObjectName);
    DestroyClass();
  } catch (...) {
    const ErrObject error = ErrObject::FromCurrentException();
    try {
      ShowMessage("Errore VB n." + std::to_string(error.number) + " - " + error.description +
                      " nel Terminate della classe principale",
                  kVbOKOnly, "", nullptr);
    } catch (...) {
    }
  }
}

void CLSFW_ORVELKA::DestroyClass() {
  try {
    status_bar_.reset();
    active_frame_.reset();
    active_dll_.reset();
    active_dll_is_self_ = false;
    cls_voce_menu_.reset();
    cls_global_.reset();
    gobj_window_.reset();
    layout_window_.reset();
    script_window_.reset();
    if (active_navigator_) {
      std::shared_ptr<Navigator> navigator = std::move(active_navigator_);
      active_navigator_.reset();
      navigator->Unadvise(this);
    }
    connection_.reset();
    editor_.reset();
  } catch (...) {
    const ErrObject error = ErrObject::FromCurrentException();
    ShowMessage("Errore VB n." + std::to_string(error.number) + " - " + error.description +
                    " nel metodo DestroyClass della classe principale",
                kVbOKOnly, "", nullptr);
  }
}

std::shared_ptr<Cinterface> CLSFW_ORVELKA::SelfReference() const {
  // Aliasing constructor with no owner: a reference that does not keep the
  // object alive, as the module's reference to itself must not.
  return std::shared_ptr<Cinterface>(std::shared_ptr<void>(), const_cast<CLSFW_ORVELKA*>(this));
}

// --- Cinterface

void CLSFW_ORVELKA::SetClsGlobal(std::shared_ptr<ClsGlobal> value) {
  cls_global_ = std::move(value);
}
std::shared_ptr<ClsGlobal> CLSFW_ORVELKA::GetClsGlobal() const { return cls_global_; }

void CLSFW_ORVELKA::SetActiveFrame(std::shared_ptr<HostFrame> value) {
  active_frame_ = std::move(value);
}
std::shared_ptr<HostFrame> CLSFW_ORVELKA::GetActiveFrame() const { return active_frame_; }

void CLSFW_ORVELKA::SetActiveNavigator(std::shared_ptr<Navigator> value) {
  Quietly([&] {
    if (value == active_navigator_) return;
    if (active_navigator_) {
      std::shared_ptr<Navigator> previous = std::move(active_navigator_);
      active_navigator_.reset();
      previous->Unadvise(this);
    }
    if (value) value->Advise(this);
    active_navigator_ = std::move(value);
  });
}
std::shared_ptr<Navigator> CLSFW_ORVELKA::GetActiveNavigator() const { return active_navigator_; }

void CLSFW_ORVELKA::SetActiveDll(std::shared_ptr<Cinterface> value) {
  active_dll_is_self_ = value.get() == static_cast<Cinterface*>(this);
  active_dll_ = active_dll_is_self_ ? nullptr : std::move(value);
}
std::shared_ptr<Cinterface> CLSFW_ORVELKA::GetActiveDll() const {
  return active_dll_is_self_ ? SelfReference() : active_dll_;
}

void CLSFW_ORVELKA::SetStatusBar(std::shared_ptr<HostObject> value) {
  status_bar_ = std::move(value);
}
std::shared_ptr<HostObject> CLSFW_ORVELKA::GetStatusBar() const { return status_bar_; }

void CLSFW_ORVELKA::SetCanInsert(bool value) { can_insert_ = value; }
bool CLSFW_ORVELKA::GetCanInsert() const { return can_insert_; }
void CLSFW_ORVELKA::SetCanDelete(bool value) { can_delete_ = value; }
bool CLSFW_ORVELKA::GetCanDelete() const { return can_delete_; }
void CLSFW_ORVELKA::SetCanUpdate(bool value) { can_update_ = value; }
bool CLSFW_ORVELKA::GetCanUpdate() const { return can_update_; }
void CLSFW_ORVELKA::SetCanQbe(bool value) { can_qbe_ = value; }
bool CLSFW_ORVELKA::GetCanQbe() const { return can_qbe_; }

void CLSFW_ORVELKA::SetWindowState(int32_t value) {
  Quietly([&] { window_state_ = db::Value(value).ToInt16(); });
}
int32_t CLSFW_ORVELKA::GetWindowState() const { return window_state_; }

void CLSFW_ORVELKA::SetWindowModal(bool value) { window_modal_ = value; }
bool CLSFW_ORVELKA::GetWindowModal() const { return window_modal_; }

void CLSFW_ORVELKA::SetProgramMode(int32_t value) {
  Quietly([&] { program_mode_ = db::Value(value).ToInt16(); });
}
int32_t CLSFW_ORVELKA::GetProgramMode() const { return program_mode_; }

void CLSFW_ORVELKA::SetMenuModulo(const Variant& value) { menu_modulo_ = value; }
Variant CLSFW_ORVELKA::GetMenuModulo() const { return menu_modulo_; }
void CLSFW_ORVELKA::SetMenuPadre(const Variant& value) { menu_padre_ = value; }
Variant CLSFW_ORVELKA::GetMenuPadre() const { return menu_padre_; }
void CLSFW_ORVELKA::SetMenuProg(const Variant& value) { menu_prog_ = value; }
Variant CLSFW_ORVELKA::GetMenuProg() const { return menu_prog_; }
void CLSFW_ORVELKA::SetCaption(const Variant& value) { caption_ = value; }
Variant CLSFW_ORVELKA::GetCaption() const { return caption_; }
void CLSFW_ORVELKA::SetHwndParent(int32_t value) { hwnd_parent_ = value; }
int32_t CLSFW_ORVELKA::GetHwndParent() const { return hwnd_parent_; }

Variant CLSFW_ORVELKA::ShowForm() {
  Quietly([&] {
    std::shared_ptr<HostUi> ui = host_ui_;
    if (!ui) ui = std::dynamic_pointer_cast<HostUi>(cls_global_);
    if (!ui) ThrowObjectNotSet("HostUi");
    auto window = std::make_shared<editor::FRMFW_ORVELKA>(ui->CreateControls());
    // What the host sees of the window: one object for its whole life, so
    // that WindowClosed names the window ShowWindow was given.
    auto events = std::make_shared<EditorWindowAdapter>(window);
    editor_ = window;
    windows_.push_back(window);
    window->SetHostInterface(GetActiveDll());
    window->SetOwnerModule(this);
    std::weak_ptr<HostUi> weak_ui = ui;
    std::weak_ptr<EditorWindowAdapter> weak_events = events;
    window->SetUnloadedHandler([weak_ui, weak_events](editor::FRMFW_ORVELKA&) {
      auto shown_by = weak_ui.lock();
      auto closed = weak_events.lock();
      if (shown_by && closed) shown_by->WindowClosed(*closed);
    });
    AddModuleSections(*window);
    std::string caption;
    Quietly([&] {
      const db::Value text = db::FromVariant(caption_);
      caption = text.IsNull() ? std::string() : text.ToText();
    });
    window->SetCaption(caption);
    window->Form_Load();
    ui->ShowWindow(events, window_modal_);
  });
  return Variant();
}

Variant CLSFW_ORVELKA::CloseForm() {
  bool closed = false;
  Quietly([&] {
    if (!editor_ || editor_->unloaded()) {
      closed = true;
      return;
    }
    editor_->Unload();
    closed = editor_->HostInterface() == nullptr;
  });
  return Variant(closed);
}

void CLSFW_ORVELKA::SetConnection(std::shared_ptr<ConnectionHandle> value) {
  connection_ = std::move(value);
}
std::shared_ptr<ConnectionHandle> CLSFW_ORVELKA::GetConnection() const { return connection_; }

std::shared_ptr<HostForm> CLSFW_ORVELKA::GetCwindow() const { return gobj_window_; }

Variant CLSFW_ORVELKA::TransferData(const Variant& variant) {
  Quietly([&] {
    const db::Value data = db::FromVariant(variant);
    // A copy, so that a handler may connect another one.
    const auto handlers = data_transfer_handlers_;
    for (const auto& handler : handlers) handler(data);
  });
  return Variant();
}

Variant CLSFW_ORVELKA::GetTop() const { return Variant(top_); }
void CLSFW_ORVELKA::SetTop(const Variant& value) {
  Quietly([&] { top_ = db::FromVariant(value).ToInt32(); });
}
Variant CLSFW_ORVELKA::GetLeft() const { return Variant(left_); }
void CLSFW_ORVELKA::SetLeft(const Variant& value) {
  Quietly([&] { left_ = db::FromVariant(value).ToInt32(); });
}

void CLSFW_ORVELKA::SetClsVoceMenu(std::shared_ptr<ClsVoceMenu> value) {
  cls_voce_menu_ = std::move(value);
}
std::shared_ptr<ClsVoceMenu> CLSFW_ORVELKA::GetClsVoceMenu() const { return cls_voce_menu_; }

void CLSFW_ORVELKA::SetIsActive(bool value) { is_active_ = value; }
bool CLSFW_ORVELKA::GetIsActive() const { return is_active_; }
void CLSFW_ORVELKA::SetIsCalled(bool value) { is_called_ = value; }
bool CLSFW_ORVELKA::GetIsCalled() const { return is_called_; }

void CLSFW_ORVELKA::SetFiltro(const Variant& /*value*/) {}
Variant CLSFW_ORVELKA::GetFiltro() const { return Variant(); }

// --- navigator events

void CLSFW_ORVELKA::ChangeDitta(bool& cancel) {
  // The refusal holds even when the message cannot be shown.
  cancel = true;
  Quietly([&] {
    ShowMessage("Non è possibile cambiare l'azienda di lavoro durante l'esecuzione del programma.",
                kVbExclamation, "Avviso", nullptr);
  });
  cancel = true;
}

void CLSFW_ORVELKA::BeforeExportToOffice() {}

void CLSFW_ORVELKA::InitializeLayoutObjectModel(LayoutModel& model) {
  Quietly([&] {
    std::shared_ptr<Cinterface> dll = GetActiveDll();
    if (!dll || !dll->GetIsActive()) return;
    layout_window_ = model.Register("Gestione Autorizzazioni", editor_);
  });
}

void CLSFW_ORVELKA::InitializeScriptObjectModel(ScriptModel& model) {
  Quietly([&] {
    std::shared_ptr<Cinterface> dll = GetActiveDll();
    if (!dll || !dll->GetIsActive()) return;
    const std::string name = editor_ ? editor_->FormName() : std::string();
    script_window_ = model.Register(name, editor_, "Gestione Autorizzazioni");
  });
}

// --- own members

void CLSFW_ORVELKA::ConnectDataTransfer(DataTransferHandler handler) {
  data_transfer_handlers_.push_back(std::move(handler));
}

void CLSFW_ORVELKA::SetHostUi(std::shared_ptr<HostUi> ui) { host_ui_ = std::move(ui); }

int32_t CLSFW_ORVELKA::ShowMessage(std::string_view prompt, int32_t buttons, std::string_view title,
                                   const HostForm* owner) {
  MessageService* service = nullptr;
  std::shared_ptr<Cinterface> dll = GetActiveDll();
  std::shared_ptr<ClsGlobal> global = dll ? dll->GetClsGlobal() : nullptr;
  if (global) service = global->GetMessageService();
  if (service != nullptr) return service->Show(prompt, buttons, title, owner);
  return ShowFallbackMessageBox(prompt, buttons, title);
}

}  // namespace orv::host
