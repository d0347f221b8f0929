// FRMFW_ORVELKA: layout: panes, splitter, progress, resize registration.

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

namespace {

bool IsSplitterSection(int32_t code) { return code == 7 || code == 8 || code == 9 || code == 33; }

}  // namespace

void FRMFW_ORVELKA::ArrangePanes(bool open) {
  try {
    Control& frame3 = VRX_FRM(kFrameParameters);
    Control& split = control("SPLIT_OCX");
    Control& grid_pane = control("VRX_FMEGRID");
    Control& query_pane = control("VRX_FMEHENQUERY");
    if (!open) {
      split.SetTop(90);
      grid_pane.SetTop(split.height() + 30);
      grid_pane.SetHeight(frame3.height() - split.height() - 35);
      query_pane.SetVisible(false);
      control("PICUP").SetVisible(false);
      control("PICDOWN").SetVisible(true);
    } else {
      split.SetTop(query_pane.height() + 100);
      grid_pane.SetTop(split.top() + split.height() - 50);
      grid_pane.SetHeight(frame3.height() - query_pane.height() - split.height() - 50);
      query_pane.SetVisible(true);
      control("PICUP").SetVisible(true);
      control("PICDOWN").SetVisible(false);
    }
    Control& update = control("CMD_UPDATE");
    update.SetTop(grid_pane.height() - update.height() - 40);
    control("VRX_ABILITATUTTI").SetTop(update.top());
    control("VRX_COPIAUTENTE").SetTop(update.top());
    control("VRX_DISABILITATUTTI").SetTop(update.top());
    control("GRIDTIPOLOGIE").SetHeight(update.top() - 170);
    NudgeHeight();
  } catch (...) {
    VisualizzaErrore("ArrangePanes");
  }
}
void FRMFW_ORVELKA::PICUP_DblClick() { ArrangePanes(false); }

void FRMFW_ORVELKA::PICDOWN_DblClick() {
  if (IsSplitterSection(section_code_)) ArrangePanes(true);
}
void FRMFW_ORVELKA::SPLIT_OCX_DblClick() {
  if (!IsSplitterSection(section_code_)) return;
  ArrangePanes(control("SPLIT_OCX").top() <= 90);
}
void FRMFW_ORVELKA::SPLIT_OCX_Resize() {
  Silently([&] {
    Control& split = control("SPLIT_OCX");
    for (const char* name : {"PICUP", "PICDOWN"}) {
      Control& picture = control(name);
      picture.SetLeft((split.width() - picture.width()) / 2);
    }
  });
}
void FRMFW_ORVELKA::InizializzaProgressBar() {
  LogErrorRoutine routine(*this, "InizializzaProgressBar");
  routine.Run([&] { Need(controls_.VRX_PROGRESS, "VRX_PROGRESS").SetAutoStart(true); });
  routine.Run([&] { control("VRX_PROGRESS").SetVisible(false); });
  routine.Run([&] { CenterProgress(); });
}
void FRMFW_ORVELKA::CenterProgress() {
  Control& progress = control("VRX_PROGRESS");
  progress.SetLeft((form().width() - progress.width()) / 2);
  progress.SetTop((form().height() - progress.height()) / 2);
}
void FRMFW_ORVELKA::ShowProgress(bool show) {
  Silently([&] {
    Control& progress = control("VRX_PROGRESS");
    host::ProgressControl& bar = Need(controls_.VRX_PROGRESS, "VRX_PROGRESS");
    if (show) {
      mouse_pointer_ = 11;
      CenterProgress();
      bar.Start();
      bar.SetRunning(true);
      progress.SetVisible(true);
    } else {
      bar.SetRunning(false);
      progress.SetVisible(false);
      bar.Stop();
      mouse_pointer_ = 0;
    }
  });
}
void FRMFW_ORVELKA::RegisterControls(host::ResizeControl& resize) {
  struct Entry {
    const char* name;
    int32_t code;
  };
  static constexpr Entry kEntries[] = {
      {"VRX_FRM(0)", 15},
      {"VRX_FRM(1)", 15},
      {"VRX_FRM(2)", 15},
      {"VRX_FRM(3)", 15},
      {"VRX_FRM(4)", 15},
      {"VRX_FRM(5)", 15},
      {"VRX_FRM(6)", 15},
      {"FRM_RIEPILOGO", 15},
      {"VRX_FMEGRID", 15},
      {"GRIDTIPOLOGIE", 15},
      {"TGRID_CLIFOR", 15},
      {"GRID_DEPOSITO", 15},
      {"SPLIT_OCX", 7},
      {"LblTitle", 7},
      {"Label3", 7},
      {"PCB_UTENTI", 13},
      {"PCB_COPIA", 11},
      {"VRX_SIDEBAR1", 11},
      {"VRX_TREEUTENTI1", 11},
      {"VRX_TREEUTENTICOPIA", 11},
      {"CHK_ABILREVOKE", 10},
      {"VRX_ABILITATUTTI", 10},
      {"VRX_DISABILITATUTTI", 10},
      {"VRX_DISABILITATUTTI_CLIFOR", 10},
      {"VRX_ABILITATUTTI2", 10},
      {"VRX_DISABILITATUTTIU", 10},
      {"VRX_ABILITATUTTIU", 10},
      {"LBL_ALLTRANSAZIONI", 10},
      {"BTN_ABILITATUTTIDEP", 10},
      {"VRX_DISABILITATUTTIDEP", 10},
      {"LblDepositoSelezionato", 10},
      {"VRX_COPIAUTENTE2", 12},
      {"VRX_COPIAUTENTE", 12},
      {"CMD_UPDATE", 12},
      {"CMD_OK", 12},
      {"VRX_ABIDISDEPORI", 12},
      {"VRX_COPIADEP", 12},
      {"CMD_SELEZIONA", 5},
  };
  for (const Entry& entry : kEntries) resize.Register(entry.name, entry.code);
}

}  // namespace orv::editor
