// FRMFW_ORVELKA: master switch: "Abilitazione revoche".

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

void FRMFW_ORVELKA::LoadRevokeSetting() {
  try {
    std::shared_ptr<db::Recordset> rs =
        Need(connection_, "Connection").Execute(store::Settings::SelectRevokeOnLoad());
    if (rs && !rs->IsEof()) {
      const int16_t value = rs->Field("FW95_VALORE").ToInt16();
      rs.reset();
      if (viewer()) {
        // Shown as stored: setting the box would write it back.
        control("CHK_ABILREVOKE").SetValue(db::Value(static_cast<int>(value)));
        if (std::shared_ptr<host::ClsGlobal> g = global()) g->SetRevocationEnabled(value == 1);
      } else {
        SetCheckValue("CHK_ABILREVOKE", db::Value(static_cast<int>(value)));
      }
    }
  } catch (...) {
    VisualizzaErrore("LoadRevokeSetting");
  }
}
void FRMFW_ORVELKA::CHK_ABILREVOKE_Click() {
  // The setting, the lists derived from it and the change-log entry commit
  // together; on a failure none of them changed, so the box goes back to
  // what the table holds before the user is told.
  std::string routine = "CHK_ABILREVOKE_Click";
  db::Value value;
  try {
    db::Connection& connection = Need(connection_, "Connection");
    value = control("CHK_ABILREVOKE").value();
    const std::string value_text = value.ToText();
    host::ClsGlobal& g = Need(global(), "ClsGlobal");
    const bool enabled = value.ToInt32() == 1;
    {
      db::Transaction transaction(connection);
      journal::GestureCapture capture(
          journal_.get(), connection,
          {journal::RowScope{journal::JournalTable::kSettings,
                             {},
                             {{"FW95_CODICE", db::Value("AUT_RVKENABLED")}}}});
      std::shared_ptr<db::Recordset> rs =
          connection.Execute(store::Settings::SelectRevokeOnClick());
      const bool exists = rs && !rs->IsEof();
      rs.reset();
      connection.Execute(exists ? store::Settings::UpdateRevoke(value_text)
                                : store::Settings::InsertRevoke(value_text));
      routine = "AggiornaRevoke";
      RunReloadAllListaCFRevocati();
      routine = "CHK_ABILREVOKE_Click";
      change_log().WriteEntry(11, change_log().FormatDetail(1, enabled ? "Attivo" : "Non attivo"));
      journal::Gesture gesture;
      gesture.kind = journal::GestureKind::kSwitch;
      gesture.section = section_code_;
      capture.Commit(transaction, gesture);
    }
    g.SetRevocationEnabled(enabled);
  } catch (...) {
    const host::ErrObject error = host::ErrObject::FromCurrentException();
    // Rolled back: the box shows what the table still holds (at start-up
    // that is the value just loaded, not the other one).
    Silently([&] {
      if (value.IsEmpty()) return;
      db::Value stored(value.ToInt32() == 1 ? 0 : 1);
      Silently([&] {
        std::shared_ptr<db::Recordset> rs =
            Need(connection_, "Connection").Execute(store::Settings::SelectRevokeOnLoad());
        if (rs && !rs->IsEof())
          stored = db::Value(static_cast<int>(rs->Field("FW95_VALORE").ToInt16()));
      });
      control("CHK_ABILREVOKE").SetValue(stored);
      if (std::shared_ptr<host::ClsGlobal> g = global()) {
        g->SetRevocationEnabled(stored.ToInt32() == 1);
      }
    });
    VisualizzaErrore(routine, error);
  }
}
void FRMFW_ORVELKA::RunReloadAllListaCFRevocati() {
  db::Command command;
  command.ActiveConnection = connection_;
  Need(command.ActiveConnection, "Connection");
  command.CommandType = db::kAdCmdStoredProc;
  command.CommandTimeout = 0;
  command.CommandText = "SPFW_ReloadListaCFRevocati";
  command.Execute(nullptr, db::kAdExecuteNoRecords);
}
void FRMFW_ORVELKA::AggiornaRevoke() {
  try {
    RunReloadAllListaCFRevocati();
  } catch (...) {
    VisualizzaErrore("AggiornaRevoke");
  }
}

}  // namespace orv::editor
