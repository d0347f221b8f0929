#ifndef ORV_MODULE_CLSFW_ORVELKA_H_
#define ORV_MODULE_CLSFW_ORVELKA_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "db/value.h"
#include "host/instance_id.h"
#include "host/live_objects.h"
#include "zere_orvelka/navigator_events.h"
#include "zere_orvelka/zere_orvelka.hpp"

namespace orv::editor {
class FRMFW_ORVELKA;
}

namespace orv::host {

class HostForm;
class HostUi;

// The module's entry class: implements Cinterface for the host, listens to
// the host's navigator and owns the editor window.
//
// Create with Create() (always held by shared_ptr, so that the window can
// hold its module interface). On creation it writes its "INI" trace line and
// is its own ActiveDll; on destruction it writes "TER" and runs
// DestroyClass, which releases, in this order: StatusBar, ActiveFrame,
// ActiveDll, ClsVoceMenu, ClsGlobal, Gobj_Window, ActiveNavigator
// (disconnecting from its events), Connection, the editor window. A failure
// there is shown through ShowMessage and the object goes away all the same.
//
// The host's user interface (controls and how windows are shown) comes from
// SetHostUi, or from the ClsGlobal object when it also derives from HostUi.
class CLSFW_ORVELKA : public Cinterface, public NavigatorEvents {
 public:
  static std::shared_ptr<CLSFW_ORVELKA> Create();
  ~CLSFW_ORVELKA() override;
  CLSFW_ORVELKA(const CLSFW_ORVELKA&) = delete;
  CLSFW_ORVELKA& operator=(const CLSFW_ORVELKA&) = delete;

  // --- Cinterface, in its order
  void SetClsGlobal(std::shared_ptr<ClsGlobal> value) override;
  std::shared_ptr<ClsGlobal> GetClsGlobal() const override;
  void SetActiveFrame(std::shared_ptr<HostFrame> value) override;
  std::shared_ptr<HostFrame> GetActiveFrame() const override;
  void SetActiveNavigator(std::shared_ptr<Navigator> value) override;
  std::shared_ptr<Navigator> GetActiveNavigator() const override;
  void SetActiveDll(std::shared_ptr<Cinterface> value) override;
  std::shared_ptr<Cinterface> GetActiveDll() const override;
  void SetStatusBar(std::shared_ptr<HostObject> value) override;
  std::shared_ptr<HostObject> GetStatusBar() const override;
  void SetCanInsert(bool value) override;
  bool GetCanInsert() const override;
  void SetCanDelete(bool value) override;
  bool GetCanDelete() const override;
  void SetCanUpdate(bool value) override;
  bool GetCanUpdate() const override;
  void SetCanQbe(bool value) override;
  bool GetCanQbe() const override;
  void SetWindowState(int32_t value) override;
  int32_t GetWindowState() const override;
  void SetWindowModal(bool value) override;
  bool GetWindowModal() const override;
  void SetProgramMode(int32_t value) override;
  int32_t GetProgramMode() const override;
  void SetMenuModulo(const Variant& value) override;
  Variant GetMenuModulo() const override;
  void SetMenuPadre(const Variant& value) override;
  Variant GetMenuPadre() const override;
  void SetMenuProg(const Variant& value) override;
  Variant GetMenuProg() const override;
  void SetCaption(const Variant& value) override;
  Variant GetCaption() const override;
  void SetHwndParent(int32_t value) override;
  int32_t GetHwndParent() const override;
  Variant ShowForm() override;
  Variant CloseForm() override;
  void SetConnection(std::shared_ptr<ConnectionHandle> value) override;
  std::shared_ptr<ConnectionHandle> GetConnection() const override;
  std::shared_ptr<HostForm> GetCwindow() const override;
  Variant TransferData(const Variant& data) override;
  Variant GetTop() const override;
  void SetTop(const Variant& value) override;
  Variant GetLeft() const override;
  void SetLeft(const Variant& value) override;
  void SetClsVoceMenu(std::shared_ptr<ClsVoceMenu> value) override;
  std::shared_ptr<ClsVoceMenu> GetClsVoceMenu() const override;
  void SetIsActive(bool value) override;
  bool GetIsActive() const override;
  void SetIsCalled(bool value) override;
  bool GetIsCalled() const override;
  void SetFiltro(const Variant& value) override;
  Variant GetFiltro() const override;

  // --- navigator events
  void ChangeDitta(bool& cancel) override;
  void BeforeExportToOffice() override;
  void InitializeLayoutObjectModel(LayoutModel& model) override;
  void InitializeScriptObjectModel(ScriptModel& model) override;

  // --- the class's own
  // The DataTransfer event: handlers are called in connection order.
  using DataTransferHandler = std::function<void(const db::Value& data)>;
  void ConnectDataTransfer(DataTransferHandler handler);

  void SetHostUi(std::shared_ptr<HostUi> ui);

  // ShowMessage of the entry class: through ActiveDll's ClsGlobal message
  // service when there is one, else the standard message box.
  int32_t ShowMessage(std::string_view prompt, int32_t buttons, std::string_view title,
                      const HostForm* owner);

  const std::string& InstanceIdText() { return instance_id_.Get(); }

  // The editor window held (null before ShowForm and after DestroyClass).
  std::shared_ptr<editor::FRMFW_ORVELKA> editor() const { return editor_; }

 private:
  CLSFW_ORVELKA();
  void DestroyClass();
  // ActiveDll as handed out: the object itself (not owning) unless the host
  // wrote another one.
  std::shared_ptr<Cinterface> SelfReference() const;

  InstanceId instance_id_;
  LiveObjects::Token live_token_;
  std::weak_ptr<CLSFW_ORVELKA> self_;

  bool is_active_ = false;
  bool is_called_ = false;
  int32_t top_ = 0;
  int32_t left_ = 0;
  bool can_insert_ = false;
  bool can_delete_ = false;
  bool can_update_ = false;
  bool can_qbe_ = false;
  int16_t window_state_ = 0;
  bool window_modal_ = false;
  int16_t program_mode_ = 0;
  Variant menu_modulo_;
  Variant menu_padre_;
  Variant menu_prog_;
  Variant caption_;
  int32_t hwnd_parent_ = 0;
  std::shared_ptr<HostObject> status_bar_;
  std::shared_ptr<HostFrame> active_frame_;
  bool active_dll_is_self_ = true;
  std::shared_ptr<Cinterface> active_dll_;  // when another interface was written
  std::shared_ptr<ClsVoceMenu> cls_voce_menu_;
  std::shared_ptr<ClsGlobal> cls_global_;
  std::shared_ptr<ConnectionHandle> connection_;
  std::shared_ptr<editor::FRMFW_ORVELKA> editor_;
  // Cwindow's reference: nothing assigns it, so Cwindow returns nothing.
  std::shared_ptr<HostForm> gobj_window_;
  // What the layout and script models hand back at registration, held weakly
  // so that a closed window does not live on until the entry object dies.
  std::weak_ptr<HostForm> layout_window_;
  std::weak_ptr<HostForm> script_window_;
  std::shared_ptr<Navigator> active_navigator_;

  std::shared_ptr<HostUi> host_ui_;
  std::vector<std::weak_ptr<editor::FRMFW_ORVELKA>> windows_;  // every window shown
  std::vector<DataTransferHandler> data_transfer_handlers_;
};

}  // namespace orv::host

#endif  // ORV_MODULE_CLSFW_ORVELKA_H_
