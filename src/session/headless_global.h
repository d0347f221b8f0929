#ifndef ORV_SESSION_HEADLESS_GLOBAL_H_
#define ORV_SESSION_HEADLESS_GLOBAL_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/statement_observer.h"
#include "session/answer_queue.h"
#include "session/headless_change_log.h"
#include "session/headless_log_class.h"
#include "session/headless_message_service.h"
#include "session/session_output.h"
#include "zere_orvelka/cls_global.h"

namespace orv::session {

// The global services of the headless host: every value from its settings,
// every service in memory.
class HeadlessGlobal : public host::ClsGlobal {
 public:
  struct Settings {
    std::string connection_string;
    std::string login;
    bool administrator = false;
    int32_t company = 1;
    std::string application_title = "Orvelka";
    // Watches the connections the module creates (named "module").
    std::shared_ptr<db::StatementObserver> statement_observer;
  };

  HeadlessGlobal(Settings settings, AnswerQueue& answers, SessionOutput& output);

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

  Settings& settings() { return settings_; }
  HeadlessMessageService& messages() { return messages_; }
  HeadlessChangeLog& change_log() { return change_log_; }
  const std::vector<LoggedError>& logged_errors() const { return logged_errors_; }
  std::optional<bool> revocation_enabled() const { return revocation_enabled_; }
  host::Cinterface* active_module() const { return active_module_; }
  host::Cinterface* application() const { return application_; }
  int connections_created() const { return connections_created_; }
  int forget_count() const { return forget_count_; }

 private:
  Settings settings_;
  AnswerQueue& answers_;
  SessionOutput& output_;
  HeadlessMessageService messages_;
  HeadlessChangeLog change_log_;
  std::vector<LoggedError> logged_errors_;
  std::optional<bool> revocation_enabled_;
  host::Cinterface* active_module_ = nullptr;
  host::Cinterface* application_ = nullptr;
  int connections_created_ = 0;
  int forget_count_ = 0;
};

}  // namespace orv::session

#endif  // ORV_SESSION_HEADLESS_GLOBAL_H_
