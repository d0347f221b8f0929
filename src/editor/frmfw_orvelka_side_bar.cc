// FRMFW_ORVELKA: side bar: frames, the item click, the principal pane.

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

void FRMFW_ORVELKA::InitSideBar() {
  try {
    host::SideBar& bar = Need(controls_.VRX_SIDEBAR1, "VRX_SIDEBAR1");
    bar.Initialize(host_interface_, true);
    bar.SelectItem(0, false, "GRP1013", "ITM50010");
  } catch (...) {
    VisualizzaErrore("InitSideBar");
  }
}
void FRMFW_ORVELKA::SelectFrame(int16_t& index) {
  LogErrorRoutine routine(*this, "SelectFrame");
  for (int frame : {3, 4, 5, 6}) {
    if (!routine.Run([&] { VRX_FRM(frame).SetVisible(false); })) return;
  }
  if (!routine.Run([&] {
        if (index < 0 || index > 6) {
          throw db::DbError(340,
                            "Control array element '" + std::to_string(index) + "' doesn't exist");
        }
        VRX_FRM(index).SetVisible(true);
      }))
    return;
  if (!routine.Run([&] { frame_index_ = index; })) return;
  if (index != kFrameCopy) {
    routine.Run(
        [&] { Call(SectionFor(kSectionCopy), [](Section& s) { return s.ResetCopySelection(); }); });
  } else {
    routine.Run([&] { control("LblTitle").SetCaption("Copia revoche"); });
  }
}
void FRMFW_ORVELKA::DispatchSideBarKey(std::string_view key, int32_t& grid_kind) {
  auto frame = [&](int16_t index) { Silently([&] { SelectFrame(index); }); };
  auto code = [&](int32_t value) { section_code_ = value; };
  auto chosen = [&] { section_chosen_ = true; };
  auto project_steps = [&] {
    Silently([&] { Call(ActiveSection(), [](Section& s) { return s.InitEnquery(); }); });
    Silently([&] { control("CMD_UPDATE").SetVisible(true); });
    skip_reload_ = true;
    Silently([&] { ArrangePanes(true); });
  };

  grid_kind = 0;
  if (key == "ITM50010") {
    frame(kFrameTrees);
    code(kSectionCliFor);
    Silently([&] { LoadTreeCausali(); });
    chosen();
  } else if (key == "ITM50017") {
    grid_kind = 2;
    frame(kFrameParameters);
    code(kSectionWarehouses);
    chosen();
  } else if (key == "ITM_ARTFAM") {
    code(kSectionFamilies);
    Silently([&] { InitTreeFamiglie(); });
    frame(kFrameTrees);
    chosen();
  } else if (key == "ITM50016") {
    grid_kind = 2;
    frame(kFrameParameters);
    code(kSectionMrpSimulations);
    chosen();
  } else if (key == "ITM50026" || key == "ITM_NODI") {
    grid_kind = 6;
    frame(kFrameParameters);
    code(key == "ITM50026" ? kSectionProjects : kSectionNodes);
    project_steps();
    chosen();
  } else if (key == "ITM_MODBLOCCO") {
    grid_kind = 2;
    frame(kFrameParameters);
    code(kSectionBlocking);
    Silently([&] { control("ENHQUERY").SetVisible(false); });
    Silently([&] { control("SPLIT_OCX").SetVisible(false); });
    Silently([&] {
      Control& grid_pane = control("VRX_FMEGRID");
      grid_pane.SetTop(0);
      grid_pane.SetHeight(control("PCB_UTENTI").height());
      Control& update = control("CMD_UPDATE");
      const int32_t top = grid_pane.height() - update.height() - 40;
      for (const char* name :
           {"CMD_UPDATE", "VRX_ABILITATUTTI", "VRX_DISABILITATUTTI", "VRX_COPIAUTENTE"}) {
        control(name).SetTop(top);
      }
      control("GRIDTIPOLOGIE").SetHeight(grid_pane.height() - update.height() - 200);
    });
    chosen();
  } else if (key == "ITM_TRANSORIDEST") {
    grid_kind = 9;
    frame(kFrameTransfers);
    code(kSectionTransfers);
    chosen();
  } else if (key == "ITM154") {
    frame(kFrameCopy);
    code(kSectionCopy);
    Silently([&] {
      std::optional<host::PrincipalNode> node;
      if (controls_.VRX_TREEUTENTICOPIA) node = controls_.VRX_TREEUTENTICOPIA->SelectedNode();
      Call(SectionFor(kSectionCopy),
           [&](Section& s) { return s.CopyTreeNodeClick(node ? &*node : nullptr); });
    });
  }
}
void FRMFW_ORVELKA::VRX_SIDEBAR1_ItemClick(const host::SideBarItem& item) {
  GestureScope gesture(*this);
  // Step 1. The grids are emptied first, so that no gesture can act on rows
  // of the previous section while the new one is prepared.
  Silently([&] {
    if (controls_.GRIDTIPOLOGIE) controls_.GRIDTIPOLOGIE->SetDataSource(nullptr);
  });
  Silently([&] {
    if (controls_.GRID_DEPOSITO) controls_.GRID_DEPOSITO->SetDataSource(nullptr);
  });
  Silently([&] {
    if (controls_.TGRID_CLIFOR) controls_.TGRID_CLIFOR->SetDataSource(nullptr);
  });
  ResetRows();
  Silently([&] { ArrangePanes(false); });
  Silently([&] { control("PICDOWN").SetVisible(false); });
  Silently([&] { control("PICUP").SetVisible(false); });
  section_chosen_ = false;
  Silently([&] { control("CMD_UPDATE").SetVisible(false); });
  loaded_flag_ = false;
  Silently([&] { control("ENHQUERY").SetVisible(true); });
  Silently([&] { control("SPLIT_OCX").SetVisible(true); });

  // Step 2.
  int32_t grid_kind = 0;
  Silently([&] { DispatchSideBarKey(item.key, grid_kind); });

  // Steps 3 to 8.
  Silently([&] {
    const bool transfers = section_code_ == kSectionTransfers;
    control("BTN_ABILITATUTTIDEP").SetVisible(transfers);
    control("VRX_DISABILITATUTTIDEP").SetVisible(transfers);
  });
  Silently([&] { InitGrid(grid_kind, item.key); });
  Silently([&] {
    const bool project_key = item.key == "ITM50026" || item.key == "ITM50014" ||
                             item.key == "ITM50015" || item.key == "ITM_NODI";
    if (!project_key && frame_index_ != 0 && frame_index_ != 1) LoadData();
  });
  Silently([&] { trv_GU_NodeClick(SelectedNode()); });
  Silently([&] { ArrangeUserPane(section_chosen_); });
  Silently([&] { control("LblTitle").SetCaption(item.caption); });
}
void FRMFW_ORVELKA::ArrangeUserPane(bool section_chosen) {
  Silently([&] {
    Control& pane = control("PCB_UTENTI");
    Control& tree = control("VRX_TREEUTENTI1");
    Control& check = control("CHK_ABILREVOKE");
    Control& label = control("LblDepositoSelezionato");
    if (section_code_ == kSectionTransfers) {
      check.SetVisible(false);
      tree.SetHeight(pane.height() - 1200);
      label.SetTop(tree.top() + tree.height() + 60);
      label.SetVisible(true);
      return;
    }
    label.SetVisible(false);
    if (section_chosen) {
      check.SetVisible(true);
      tree.SetHeight(pane.height() - 545);
    } else {
      check.SetVisible(false);
      tree.SetHeight(pane.height() - 150);
    }
  });
}

}  // namespace orv::editor
