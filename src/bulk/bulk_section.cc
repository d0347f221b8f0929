#include "bulk/bulk_section.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <utility>

#include "bulk/parameter_revoke_all.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "editor/control.h"
#include "editor/log_error_routine.h"
#include "editor/section_context.h"
#include "host/err_object.h"
#include "journal/gesture_capture.h"
#include "journal/journal_table.h"
#include "sections/parameters/node_merge.h"
#include "sections/revoke_all/bulk_statements.h"
#include "zere_orvelka/grouping_grid.h"
#include "zere_orvelka/message_service.h"
#include "zere_orvelka/tree_grid.h"

namespace orv::bulk {

namespace {

using editor::SectionCodes;
using editor::SectionContext;
using sections::BulkStatements;
using sections::NodeMerge;

constexpr std::string_view kNoRevocations = "Non ci sono revoke assegnate per l'utente/gruppo ";
constexpr std::string_view kRemoveQuestion =
    "Si è scelto di rimuovere tutte le revoke per le entità visualizzate relative "
    "all'utente/gruppo selezionato, procedere con l'operazione ?";
constexpr std::string_view kRevokeQuestion =
    "Si è scelto di inserire tutte le revoke per le entità visualizzate relative "
    "all'utente/gruppo selezionato, procedere con l'operazione ?";
constexpr std::string_view kTransfersQuestion =
    "Confermi l' abilitazione dell' utente/gruppo selezionato?";
constexpr std::string_view kQuestionTitle = "Richiesta";
constexpr std::string_view kNoPrincipal = "Selezionare almeno un gruppo o un utente!";
constexpr std::string_view kNoPrincipalTitle = "Operazione non valida";
constexpr std::string_view kWarningTitle = "Avviso";

// The flags of a parameter work row.
constexpr std::array<std::string_view, 4> kFlagFields = {"ABILITATO", "MODIFICA", "INSERIMENTO",
                                                         "ELIMINAZIONE"};

using host::Need;

// A company code as statements write it; NULL when missing, so that nothing
// matches instead of the statement breaking.
std::string CompanyText(const db::Value& value) {
  if (value.IsNull() || value.IsEmpty()) return "NULL";
  // A whole number read as a decimal: its digits, as ToText() writes them,
  // without formatting the decimal (once per row of a revoke-all).
  if (value.type() == db::Value::Type::kDecimal) {
    const double d = value.AsDecimal();
    if (d == std::trunc(d) && std::fabs(d) < 1e15) {
      return std::to_string(static_cast<int64_t>(d));
    }
  }
  return value.ToText();
}

bool HasRows(const std::shared_ptr<db::Recordset>& rs) {
  return rs && rs->IsOpen() && !rs->IsEof();
}

}  // namespace

bool BulkSection::RefusedWithoutPrincipal() {
  SectionContext& w = context();
  if (!w.CurrentPrincipal().IsNone()) return false;
  w.ShowMessage(kNoPrincipal, host::kVbExclamation, kNoPrincipalTitle);
  return true;
}

bool BulkSection::ButtonClick(std::string_view name) {
  SectionContext& w = context();
  if (name == "VRX_ABILITATUTTI" || name == "VRX_ABILITATUTTI2") {
    VRX_ABILITATUTTI_ButtonClick();
    return true;
  }
  if (name == "BTN_ABILITATUTTIDEP") {
    if (RefusedWithoutPrincipal()) return true;
    if (w.ShowMessage(kTransfersQuestion, host::kVbYesNo, "") == host::kVbYes) {
      VRX_ABILITATUTTI_ButtonClick();
    }
    return true;
  }
  if (name == "VRX_DISABILITATUTTI") {
    // The button belongs to the grid of the parameter and node sections;
    // other sections keep rows of another shape.
    editor::Section* active = w.active_section();
    if (active == nullptr || !active->RevokesGridRows()) return false;
    VRX_DISABILITATUTTI_ButtonClick();
    return true;
  }
  return false;
}

void BulkSection::VRX_ABILITATUTTI_ButtonClick() {
  SectionContext& w = context();
  try {
    // Nothing to remove for nobody: refused before any statement or question.
    if (RefusedWithoutPrincipal()) return;
    const store::Principal principal = w.CurrentPrincipal();
    db::Connection& connection = Need(w.connection(), "Connection");
    const int32_t section = w.section_code();
    // The chosen section says what its revocations are.
    editor::Section* active = w.active_section();
    const std::optional<editor::RevocationSet> set =
        active ? active->EnableAllSet(principal) : std::nullopt;
    if (!set) return;

    if (set->probe.empty()) {
      connection.Execute(set->remove, nullptr, db::kAdExecuteNoRecords);
      w.LoadRevokeDepositi();
      return;
    }

    if (!HasRows(connection.Execute(set->probe))) {
      w.ShowMessage(std::string(kNoRevocations) + "\"" + principal.name() + "\"", host::kVbOKOnly,
                    "");
      return;
    }
    if (w.ShowMessage(kRemoveQuestion, host::kVbYesNo + host::kVbQuestion, kQuestionTitle) !=
        host::kVbYes) {
      return;
    }

    if (set->remove.empty()) {
      DisabilitaNodi(true, principal);
      ReloadAfterEnable(principal);
    } else {
      // The removal and the reload of the derived list commit together.
      try {
        db::Transaction transaction(connection);
        journal::GestureCapture capture(w.journal(), connection, {set->scope});
        connection.Execute(set->remove, nullptr, db::kAdExecuteNoRecords);
        w.RunReloadListaCFRevocati(principal);
        capture.Commit(transaction, {journal::GestureKind::kEnableAll, section, principal});
      } catch (...) {
        // Rolled back: the screens below show the table as it still is.
        const host::ErrObject error = host::ErrObject::FromCurrentException();
        RefreshAfterEnable(section);
        w.VisualizzaErrore("VRX_ABILITATUTTI_ButtonClick", error);
        return;
      }
    }
    RefreshAfterEnable(section);
  } catch (...) {
    w.VisualizzaErrore("VRX_ABILITATUTTI_ButtonClick");
  }
}

void BulkSection::ReloadAfterEnable(const store::Principal& principal) {
  SectionContext& w = context();
  if (principal.IsUser()) {
    w.ReloadListaCFRevocati(principal.user_id(), false);
  } else {
    w.ReloadListaCFRevocati(principal.group_id(), true);
  }
}

void BulkSection::RefreshAfterEnable(int32_t section) {
  SectionContext& w = context();
  w.LoadData();
  if (section == SectionCodes::kSectionFamilies) {
    w.InitTreeFamiglie();
  } else {
    w.LoadTreeCausali();
  }
  Need(w.host_controls().TGRID_CLIFOR, "TGRID_CLIFOR").Refresh();
}

void BulkSection::VRX_DISABILITATUTTI_ButtonClick() {
  SectionContext& w = context();
  try {
    // Revocations for nobody would name no principal: refused before the
    // question.
    if (RefusedWithoutPrincipal()) return;
    if (w.ShowMessage(kRevokeQuestion, host::kVbYesNo + host::kVbQuestion, kQuestionTitle) !=
        host::kVbYes) {
      return;
    }
    const store::Principal principal = w.CurrentPrincipal();
    if (w.section_code() == SectionCodes::kSectionNodes) {
      DisabilitaNodi(false, principal);
      return;
    }
    std::shared_ptr<db::Recordset> rows = w.rows();
    if (!rows || !rows->IsOpen() || rows->RecordCount() == 0) return;
    // Every row is tried: a failing row must not leave the rows after it
    // allowed. Each distinct error is shown once, the number of rows that
    // failed at the end.
    walk_errors_.clear();
    int64_t total = 0;
    int64_t failed = 0;
    {
      // The walk is one gesture with one journal entry: each row in a
      // savepoint of its own (a failing row is undone alone), its errors
      // told once the rest is committed.
      db::Connection& connection = Need(w.connection(), "Connection");
      db::Transaction transaction(connection);
      journal::RowScope scope{journal::JournalTable::kParameters, principal, {}};
      scope.Where("FW31_INDTIPO", db::Value(w.section_code()));
      journal::GestureCapture capture(w.journal(), connection, {scope});
      deferred_errors_.emplace();
      try {
        // First as a set; the walk, a savepoint per row, only when that
        // fails, so that each failing row is told apart.
        if (RevokeShownRowsAsSet(principal, capture)) {
          for (rows->MoveFirst(); !rows->IsEof(); rows->MoveNext()) {
            ++total;
            ShowRowRevoked(*rows);
          }
        } else {
          for (rows->MoveFirst(); !rows->IsEof(); rows->MoveNext()) {
            ++total;
            if (!DisabilitaRecordDeposito(principal)) ++failed;
          }
        }
        capture.Commit(transaction,
                       {journal::GestureKind::kDisableAll, w.section_code(), principal});
      } catch (...) {
        deferred_errors_.reset();
        throw;
      }
      std::vector<host::ErrObject> errors = std::move(*deferred_errors_);
      deferred_errors_.reset();
      for (const host::ErrObject& error : errors) {
        w.VisualizzaErrore("DisabilitaRecordDeposito", error);
      }
    }
    walk_errors_.clear();
    rows->MoveFirst();
    if (w.host_controls().GRIDTIPOLOGIE) w.host_controls().GRIDTIPOLOGIE->Refresh();
    if (failed > 0) {
      w.ShowMessage("Revoca non riuscita per " + std::to_string(failed) + " righe su " +
                        std::to_string(total) + ".",
                    host::kVbExclamation, kWarningTitle);
    }
  } catch (...) {
    w.VisualizzaErrore("VRX_DISABILITATUTTI_ButtonClick");
  }
}

std::string BulkSection::RowCode(db::Recordset& row) {
  if (!row.HasField("CODICE")) return {};
  return db::Trim(SectionContext::NvlValue(row.Field("CODICE"), db::Value("")).ToText());
}

void BulkSection::ShowRowRevoked(db::Recordset& row) {
  for (std::string_view field : kFlagFields) row.SetField(field, db::Value("0"));
  row.Update();
}

bool BulkSection::RevokeShownRowsAsSet(const store::Principal& principal,
                                       journal::GestureCapture& capture) {
  SectionContext& w = context();
  db::Recordset& rows = Need(w.rows(), "Recordset");
  db::Connection& connection = Need(w.connection(), "Connection");
  ParameterRevokeAll revoke(principal, w.section_code());
  const int code = rows.FieldIndex("CODICE");
  const int company = rows.FieldIndex("DITTARAG");
  if (company < 0) return false;  // the walk tells what is missing
  for (rows.MoveFirst(); !rows.IsEof(); rows.MoveNext()) {
    std::string text;
    if (code >= 0) {
      const db::Value& value = rows.Field(code);
      if (!value.IsNull() && !value.IsEmpty()) text = db::Trim(value.ToText());
    }
    revoke.Add(text, CompanyText(rows.Field(company)));
  }
  try {
    db::Transaction savepoint(connection);
    revoke.Write(connection);
    savepoint.Commit();
  } catch (const db::DbError&) {
    // Rolled back to the savepoint: the walk writes the rows again.
    connection.ClearErrors();
    return false;
  }
  revoke.TellCapture(capture);
  return true;
}

bool BulkSection::DisabilitaRecordDeposito(const store::Principal& principal) {
  SectionContext& w = context();
  try {
    db::Recordset& row = Need(w.rows(), "Recordset");
    db::Connection& connection = Need(w.connection(), "Connection");
    const std::string code = RowCode(row);
    const std::string company = CompanyText(row.Field("DITTARAG"));
    const int32_t kind = w.section_code();
    db::Transaction savepoint(connection);
    const bool exists = HasRows(
        connection.Execute(BulkStatements::SelectParameterRow(principal, kind, code, company)));
    connection.Execute(
        exists ? BulkStatements::UpdateParameterRow(principal, kind, code, company)
               : BulkStatements::InsertParameterRow(principal, kind, code, company, 0, 0, 0, 0),
        nullptr, db::kAdExecuteNoRecords);
    savepoint.Commit();
    // Shown revoked once the table holds it, so a failed write leaves the
    // row as it was.
    ShowRowRevoked(row);
    return true;
  } catch (...) {
    const host::ErrObject error = host::ErrObject::FromCurrentException();
    const std::pair<int64_t, std::string> key(error.number, error.description);
    // One message per distinct error of a walk; a single call always shows.
    if (std::find(walk_errors_.begin(), walk_errors_.end(), key) == walk_errors_.end()) {
      walk_errors_.push_back(key);
      if (deferred_errors_) {
        deferred_errors_->push_back(error);
      } else {
        w.VisualizzaErrore("DisabilitaRecordDeposito", error);
      }
    }
    return false;
  }
}

bool BulkSection::DisabilitaNodi(bool enable, const store::Principal& principal) {
  SectionContext& w = context();
  editor::LogErrorRoutine routine(w, "DisabilitaNodi");
  // With the filter bar open the work table may not match the filter yet;
  // and a work table built for another principal (or not built, or whose
  // build failed) is rebuilt for this one first, so that the gesture acts on
  // this principal's rows with the current filter, and the screen shows them.
  routine.Run([&] {
    if (w.control("VRX_FMEHENQUERY").visible() ||
        !NodeMerge::Find(w).WorkTableBuiltFor(principal)) {
      w.LoadData();
    }
  });
  // The rebuild failed: nothing this gesture could write from.
  if (!routine.aborted() && !NodeMerge::Find(w).WorkTableBuiltFor(principal)) return false;
  // The work table's flags and the MERGE are one gesture with its entry, in
  // one transaction; a failure is asked about once it has rolled back, and
  // retry runs the whole gesture again. Whatever its end, the grid is then
  // built again from the tables.
  bool merged = false;
  editor::LogErrorRoutine gesture(w, "DisabilitaNodi");
  gesture.Run([&] {
    merged = false;
    db::Connection& connection = Need(w.connection(), "Connection");
    db::Transaction transaction(connection);
    journal::RowScope scope{journal::JournalTable::kNodes, principal, {}};
    scope.Where("FW3N_DITTA_CG18", w.current_company());
    journal::GestureCapture capture(w.journal(), connection, std::vector<journal::RowScope>{scope});
    connection.Execute(BulkStatements::SetNodesWork(w.temp_table_name(), enable), nullptr,
                       db::kAdExecuteNoRecords);
    const bool done =
        NodeMerge::Find(w).ConfermaModificheNodi(principal.user_id(), principal.group_id());
    capture.Commit(transaction,
                   {enable ? journal::GestureKind::kEnableAll : journal::GestureKind::kDisableAll,
                    SectionCodes::kSectionNodes, principal});
    merged = done;
  });
  routine.Run([&] { w.LoadData(); });
  routine.Run([&] { Need(w.host_controls().GRIDTIPOLOGIE, "GRIDTIPOLOGIE").Refresh(); });
  return merged && !gesture.aborted() && !routine.aborted();
}

}  // namespace orv::bulk
