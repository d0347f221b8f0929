// FRMFW_ORVELKA: reporting routines.

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

db::Value FRMFW_ORVELKA::VisualizzaErrore(std::string_view routine) {
  return VisualizzaErrore(routine, host::ErrObject::FromCurrentException());
}
db::Value FRMFW_ORVELKA::VisualizzaErrore(std::string_view routine, const host::ErrObject& error) {
  Silently([&] {
    ShowMessage("Errore N° :" + std::to_string(error.number) + "\n" + error.description + "\n" +
                    " in " + std::string(routine),
                host::kVbOKOnly, "", nullptr);
  });
  return db::Value();
}
int32_t FRMFW_ORVELKA::LogError(std::string_view routine) {
  return LogError(routine, host::ErrObject::FromCurrentException());
}
int32_t FRMFW_ORVELKA::LogError(std::string_view routine, const host::ErrObject& error) {
  try {
    if (!log_object_) {
      ShowMessage("Classe Log non settata", host::kVbOKOnly, Caption(), nullptr);
      return host::kVbAbort;
    }
    log_object_->TakeError(error.ToHostError());
    if (connection_) {
      std::vector<host::HostError> messages;
      for (const db::DriverMessage& m : connection_->Errors()) {
        messages.push_back({m.number, m.description, m.source});
      }
      log_object_->TakeConnectionErrors(messages);
    }
    std::shared_ptr<host::ClsGlobal> g = global();
    const std::string title = g ? g->ApplicationTitle() : std::string();
    // Only what the database engine reported may pass on a second try (a
    // lock, a full disk); the module's own errors (an object not set, a
    // statement the translator refuses, a misused recordset) would fail the
    // same way forever, so the box offers no retry and the routine ends.
    bool retryable = false;
    for (const host::HostError& m : error.driver_messages) {
      if (m.source == "SQLite" || m.source == "ODBC") retryable = true;
    }
    if (!retryable) {
      log_object_->Show(title, Caption(), routine,
                        host::kVbOKOnly + host::kVbCritical + host::kVbSystemModal);
      return host::kVbAbort;
    }
    return log_object_->Show(title, Caption(), routine,
                             host::kVbAbortRetryIgnore + host::kVbCritical +
                                 host::kVbDefaultButton2 + host::kVbSystemModal);
  } catch (...) {
    // The log itself failed: end the routine rather than loop on it.
    return host::kVbAbort;
  }
}
int32_t FRMFW_ORVELKA::ShowMessage(std::string_view prompt, int32_t buttons, std::string_view title,
                                   const host::HostForm* owner) {
  std::shared_ptr<host::ClsGlobal> g = global();
  host::MessageService* service = g ? g->GetMessageService() : nullptr;
  if (service != nullptr) return service->Show(prompt, buttons, title, owner);
  return host::ShowFallbackMessageBox(prompt, buttons, title);
}
db::Value FRMFW_ORVELKA::NvlValue(const db::Value& value, const db::Value& default_value) {
  try {
    if (value.IsEmpty() || value.IsNull()) return default_value;
    if (db::Trim(value.ToText()).empty()) return default_value;
    return value;
  } catch (...) {
    return value;
  }
}

}  // namespace orv::editor
