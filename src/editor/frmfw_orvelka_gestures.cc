// FRMFW_ORVELKA: gestures the host forwards, and the hooks into the sections.

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

void FRMFW_ORVELKA::ButtonClick(std::string_view name) {
  if (viewer() && WritesData(name)) return;
  try {
    // The active section's buttons first, then the toolbar's (bulk, copy).
    Section* active = ActiveSection();
    if (Call(active, [&](Section& s) { return s.ButtonClick(name); })) return;
    for (Section* section : toolbar_sections_) {
      if (section != active && section->ButtonClick(name)) return;
    }
  } catch (...) {
    VisualizzaErrore(std::string(name) + "_Click");
  }
}
void FRMFW_ORVELKA::SetCheckValue(std::string_view name, const db::Value& value) {
  // A viewer keeps the switch as the table holds it.
  if (viewer() && name == "CHK_ABILREVOKE") return;
  try {
    if (control(name).SetValue(value) && name == "CHK_ABILREVOKE") CHK_ABILREVOKE_Click();
  } catch (...) {
    VisualizzaErrore(std::string(name) + "_Click");
  }
}
void FRMFW_ORVELKA::GRIDTIPOLOGIE_SelectionBoxClick(std::string_view row_key,
                                                    std::string_view column_key,
                                                    const db::Value& value_before, bool& cancel) {
  if (viewer()) {
    cancel = true;
    return;
  }
  try {
    Call(GridOwner("GRIDTIPOLOGIE"), [&](Section& s) {
      return s.GridSelectionBoxClick("GRIDTIPOLOGIE", row_key, column_key, value_before, cancel);
    });
  } catch (...) {
    VisualizzaErrore("GRIDTIPOLOGIE_SelectionBoxClick");
  }
}
void FRMFW_ORVELKA::GRIDTIPOLOGIE_HeaderCheckBoxClick(std::string_view column_key, bool new_state,
                                                      bool& cancel) {
  if (viewer()) {
    cancel = true;
    return;
  }
  Silently([&] {
    Call(GridOwner("GRIDTIPOLOGIE"), [&](Section& s) {
      return s.GridHeaderCheckBoxClick("GRIDTIPOLOGIE", column_key, new_state, cancel);
    });
  });
}
void FRMFW_ORVELKA::GRID_DEPOSITO_SelectionBoxClick(std::string_view row_key,
                                                    std::string_view column_key,
                                                    const db::Value& value_before, bool& cancel) {
  if (viewer()) {
    cancel = true;
    return;
  }
  try {
    Call(GridOwner("GRID_DEPOSITO"), [&](Section& s) {
      return s.GridSelectionBoxClick("GRID_DEPOSITO", row_key, column_key, value_before, cancel);
    });
  } catch (...) {
    VisualizzaErrore("GRID_DEPOSITO_SelectionBoxClick");
  }
}
void FRMFW_ORVELKA::GRID_DEPOSITO_HeaderCheckBoxClick(std::string_view column_key, bool new_state,
                                                      bool& cancel) {
  if (viewer()) {
    cancel = true;
    return;
  }
  try {
    Call(GridOwner("GRID_DEPOSITO"), [&](Section& s) {
      return s.GridHeaderCheckBoxClick("GRID_DEPOSITO", column_key, new_state, cancel);
    });
  } catch (...) {
    VisualizzaErrore("GRID_DEPOSITO_HeaderCheckBoxClick");
  }
}
void FRMFW_ORVELKA::TGRID_CLIFOR_BeforeCheck(bool& cancel) {
  if (viewer()) {
    cancel = true;
    return;
  }
  Silently([&] { Call(TreeOwner(), [&](Section& s) { return s.TreeBeforeCheck(cancel); }); });
}
void FRMFW_ORVELKA::TGRID_CLIFOR_CheckChange(std::string_view column_key,
                                             std::string_view new_value) {
  if (viewer()) return;
  Silently([&] {
    Call(TreeOwner(), [&](Section& s) { return s.TreeCheckChange(column_key, new_value); });
  });
}
void FRMFW_ORVELKA::TGRID_CLIFOR_ColumnSubstitution(const host::TreeRowReader& row,
                                                    int32_t& column_index) {
  Silently([&] {
    Call(TreeOwner(), [&](Section& s) { return s.TreeColumnSubstitution(row, column_index); });
  });
}
std::optional<host::LookupDefinition> FRMFW_ORVELKA::ENHQUERY_LookupDefinition(
    std::string_view caption) {
  std::optional<host::LookupDefinition> result;
  Silently([&] {
    host::LookupDefinition definition;
    if (Call(ActiveSection(),
             [&](Section& s) { return s.QueryLookupDefinition(caption, definition); })) {
      result = std::move(definition);
    }
  });
  return result;
}
std::string FRMFW_ORVELKA::ENHQUERY_FieldValue(std::string_view caption, std::string_view bound,
                                               std::string_view value) {
  std::string result(value);
  Silently([&] {
    std::string resolved;
    if (Call(ActiveSection(),
             [&](Section& s) { return s.QueryFieldValue(caption, bound, value, resolved); })) {
      result = std::move(resolved);
    }
  });
  return result;
}
void FRMFW_ORVELKA::InitGrid(int32_t layout, std::string_view item_key) {
  Call(GridOwner(layout == 9 ? "GRID_DEPOSITO" : "GRIDTIPOLOGIE"),
       [&](Section& s) { return s.InitGrid(layout, item_key); });
}
void FRMFW_ORVELKA::LoadData() {
  Call(ActiveSection(), [](Section& s) { return s.LoadData(); });
}
void FRMFW_ORVELKA::LoadTreeCausali() {
  Call(SectionFor(kSectionCliFor), [](Section& s) { return s.LoadTreeCausali(); });
}
void FRMFW_ORVELKA::InitTreeFamiglie() {
  Call(SectionFor(kSectionFamilies), [](Section& s) { return s.InitTreeFamiglie(); });
}
void FRMFW_ORVELKA::LoadRevokeDepositi() {
  Call(SectionFor(kSectionTransfers), [](Section& s) { return s.LoadRevokeDepositi(); });
}
void FRMFW_ORVELKA::ReloadListaCFRevocati(const db::Value& id, bool group) {
  LogErrorRoutine routine(*this, "ReloadListaCFRevocati");
  routine.Run([&] {
    RunReloadListaCFRevocati(group ? store::Principal::Group(id.ToInt64())
                                   : store::Principal::User(id.ToInt64()));
  });
}
void FRMFW_ORVELKA::RunReloadListaCFRevocati(const store::Principal& principal) {
  if (principal.IsNone()) return;
  reload_command_ = std::make_shared<db::Command>();
  db::Command& command = *reload_command_;
  command.ActiveConnection = connection_;
  Need(command.ActiveConnection, "Connection");
  command.CommandType = db::kAdCmdStoredProc;
  command.CommandTimeout = 0;
  if (principal.IsGroup()) {
    command.CommandText = "SPFW_ReloadListaCFRevocatiGruppo";
    command.SetParameter("@idgruppo", principal.group_id());
  } else {
    command.CommandText = "SPFW_ReloadListaCFRevocatiUtente";
    command.SetParameter("@idutente", principal.user_id());
  }
  command.Execute(nullptr, db::kAdExecuteNoRecords);
}

}  // namespace orv::editor
