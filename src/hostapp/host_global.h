#ifndef ORV_HOSTAPP_HOST_GLOBAL_H_
#define ORV_HOSTAPP_HOST_GLOBAL_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/host_ui.h"
#include "hostapp/host_change_log.h"
#include "hostapp/qt_host_ui.h"
#include "hostapp/qt_message_service.h"
#include "zere_orvelka/cls_global.h"

namespace orv::hostapp {

// The global services of the desktop host (ClsGlobal), and its user
// interface (HostUi, found by the module on this object). The host's own
// connection serves the user/group trees, the change log and the lookups;
// the module opens its own through CreateConnection.
class HostGlobal : public host::ClsGlobal, public host::HostUi {
 public:
  struct Settings {
    std::string connection_string;
    std::string login;
    bool administrator = false;
    int32_t company = 1;
    std::string application_title = "Orvelka";
  };

  explicit HostGlobal(Settings settings);
  ~HostGlobal() override;

  // ClsGlobal
  std::string ConnectionString() const override { return settings_.connection_string; }
  std::shared_ptr<db::Connection> CreateConnection() override;
  bool IsAdministrator() const override { return settings_.administrator; }
  int32_t CurrentCompany() const override { return settings_.company; }
  std::string Login() const override { return settings_.login; }
  std::string ApplicationTitle() const override { return settings_.application_title; }
  host::MessageService* GetMessageService() override { return &messages_; }
  host::ChangeLog* GetChangeLog() override { return &change_log_; }
  std::unique_ptr<host::LogClass> CreateLogClass() override;
  std::shared_ptr<host::LookupObject> CreateLookupObject(int kind) override;
  void SetRevocationEnabled(bool enabled) override { revocation_enabled_ = enabled; }
  void SetActiveModule(host::Cinterface* module) override { active_module_ = module; }
  void ForgetModule(host::Cinterface* module) override;
  void SetApplication(host::Cinterface* module) override { application_ = module; }

  // HostUi, handed on to the Qt user interface.
  host::HostControls CreateControls() override { return ui_.CreateControls(); }
  void ShowWindow(std::shared_ptr<editor::FRMFW_ORVELKA> window, bool modal) override {
    ui_.ShowWindow(std::move(window), modal);
  }
  void WindowClosed(editor::FRMFW_ORVELKA& window) override { ui_.WindowClosed(window); }

  // The host's own connection, opened on first use. Throws DbError.
  std::shared_ptr<db::Connection> HostConnection();
  // Where a change-log entry goes: the connection of a module in the middle
  // of a gesture (its entry commits or rolls back with the gesture, and a
  // second connection would wait for that one's lock), else the host's own.
  std::shared_ptr<db::Connection> ChangeLogConnection();
  const Settings& settings() const { return settings_; }
  QtHostUi& ui() { return ui_; }
  QtMessageService& messages() { return messages_; }
  HostChangeLog& change_log() { return change_log_; }
  std::optional<bool> revocation_enabled() const { return revocation_enabled_; }
  host::Cinterface* active_module() const { return active_module_; }

 private:
  Settings settings_;
  std::shared_ptr<db::Connection> connection_;
  std::vector<std::weak_ptr<db::Connection>> module_connections_;
  QtMessageService messages_;
  HostChangeLog change_log_;
  QtHostUi ui_;
  std::optional<bool> revocation_enabled_;
  host::Cinterface* active_module_ = nullptr;
  host::Cinterface* application_ = nullptr;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HOST_GLOBAL_H_
