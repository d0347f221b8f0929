// FRMFW_ORVELKA: journal of gestures: undo, redo, revert.

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

bool FRMFW_ORVELKA::UndoGesture() {
  if (!journal_ || viewer()) return false;
  try {
    const journal::Journal::Result result = journal_->Undo();
    return AfterJournalStep(result);
  } catch (...) {
    VisualizzaErrore("UndoGesture");
    ReloadCurrentSection();
    return false;
  }
}
bool FRMFW_ORVELKA::RedoGesture() {
  if (!journal_ || viewer()) return false;
  try {
    return AfterJournalStep(journal_->Redo());
  } catch (...) {
    VisualizzaErrore("RedoGesture");
    ReloadCurrentSection();
    return false;
  }
}
bool FRMFW_ORVELKA::RevertGesture(int64_t entry_id) {
  if (!journal_ || viewer()) return false;
  try {
    return AfterJournalStep(journal_->Revert(entry_id));
  } catch (...) {
    VisualizzaErrore("RevertGesture");
    ReloadCurrentSection();
    return false;
  }
}
bool FRMFW_ORVELKA::AfterJournalStep(const journal::Journal::Result& result) {
  if (!result.applied) {
    ShowMessage(result.message, host::kVbExclamation, Caption());
    return false;
  }
  if (result.settings_changed) {
    // The box follows the row put back, without raising its click.
    Silently([&] {
      std::shared_ptr<db::Recordset> rs =
          Need(connection_, "Connection").Execute(store::Settings::SelectRevokeOnLoad());
      const int value = rs && !rs->IsEof() ? rs->Field("FW95_VALORE").ToInt16() : 0;
      control("CHK_ABILREVOKE").SetValue(db::Value(value));
      if (std::shared_ptr<host::ClsGlobal> g = global()) g->SetRevocationEnabled(value == 1);
    });
  }
  ReloadCurrentSection();
  return true;
}
void FRMFW_ORVELKA::ReloadCurrentSection() {
  GestureScope gesture(*this);
  try {
    if (VRX_FRM(kFrameTransfers).visible()) {
      LoadRevokeDepositi();
    } else if (VRX_FRM(kFrameParameters).visible()) {
      if (loaded_flag_) LoadData();
      Need(controls_.GRIDTIPOLOGIE, "GRIDTIPOLOGIE").Refresh();
    } else if (VRX_FRM(kFrameTrees).visible()) {
      if (section_code_ == kSectionFamilies) {
        InitTreeFamiglie();
      } else {
        LoadTreeCausali();
      }
    }
  } catch (...) {
    VisualizzaErrore("ReloadCurrentSection");
  }
}

}  // namespace orv::editor
