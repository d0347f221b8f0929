// FRMFW_ORVELKA: principal selection: the user/group tree, the copy tree, gestures' first reports.

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

std::optional<host::PrincipalNode> FRMFW_ORVELKA::SelectedNode() const {
  if (!controls_.VRX_TREEUTENTI1) return std::nullopt;
  return controls_.VRX_TREEUTENTI1->SelectedNode();
}
store::Principal FRMFW_ORVELKA::CurrentPrincipal() const {
  return store::Principal::FromNode(SelectedNode());
}
void FRMFW_ORVELKA::InitUserTree() {
  try {
    host::PrincipalTree& tree = Need(controls_.VRX_TREEUTENTI1, "VRX_TREEUTENTI1");
    tree.SetShowUsers(true);
    tree.SetShowGroups(true);
    tree.Initialize(host_interface_, true);
    tree.Load();
  } catch (...) {
    VisualizzaErrore("InitUserTree");
  }
}
bool FRMFW_ORVELKA::FirstReportInGesture(std::string_view what) {
  if (gesture_depth_ == 0) return true;
  for (const std::string& done : gesture_reports_) {
    if (done == what) return false;
  }
  gesture_reports_.emplace_back(what);
  return true;
}
void FRMFW_ORVELKA::trv_GU_NodeClick(const std::optional<host::PrincipalNode>& node) {
  GestureScope gesture(*this);
  try {
    if (VRX_FRM(kFrameTransfers).visible()) {
      LoadRevokeDepositi();
    } else if (VRX_FRM(kFrameParameters).visible()) {
      if (!skip_reload_ && loaded_flag_) {
        LoadData();
      } else {
        skip_reload_ = false;
      }
      Need(controls_.GRIDTIPOLOGIE, "GRIDTIPOLOGIE").Refresh();
    } else if (VRX_FRM(kFrameCopy).visible()) {
      // Nothing selected leaves the destination empty instead of failing.
      control("txtA").SetCaption(node ? store::Principal::FromNode(*node).Description() : "");
    } else if (VRX_FRM(kFrameTrees).visible()) {
      if (section_code_ == kSectionFamilies) {
        InitTreeFamiglie();
      } else {
        LoadTreeCausali();
      }
    }
  } catch (...) {
    VisualizzaErrore("trv_GU_NodeClick");
  }
}
void FRMFW_ORVELKA::VRX_TREEUTENTICOPIA_NodeClick(const std::optional<host::PrincipalNode>& node) {
  try {
    Call(SectionFor(kSectionCopy),
         [&](Section& s) { return s.CopyTreeNodeClick(node ? &*node : nullptr); });
  } catch (...) {
    VisualizzaErrore("VRX_TREEUTENTICOPIA_NodeClick");
  }
}

}  // namespace orv::editor
