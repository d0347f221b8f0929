#include "sections/clifor/clifor_section.h"

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "db/ascii.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "db/write_by_key.h"
#include "editor/section_context.h"
#include "host/err_object.h"
#include "journal/gesture_capture.h"
#include "journal/journal_table.h"
#include "sections/clifor/clifor_tree.h"
#include "sections/revoke_all/bulk_statements.h"
#include "store/principal.h"
#include "zere_orvelka/change_log.h"
#include "zere_orvelka/message_service.h"
#include "zere_orvelka/tree_grid.h"
#include "zere_orvelka/tree_settings.h"

namespace orv::sections {

namespace {

using editor::SectionCodes;
using editor::SectionContext;

constexpr std::string_view kDisableAllPrompt =
    "Si è scelto di inserire tutte le revoke per le entità visualizzate relative "
    "all'utente/gruppo selezionato, procedere con l'operazione ?";
constexpr std::string_view kDisableAllTitle = "Richiesta";
constexpr int32_t kChangeLogEvent = 15;

using host::Need;

// A value as the host language's "&" joins it: Null and Empty give "".
std::string Text(const db::Value& value) {
  return value.IsNull() || value.IsEmpty() ? std::string() : value.ToText();
}

}  // namespace

std::string CliForSection::DescrTipoCF(const db::Value& tipocf) {
  if (!tipocf.IsNull() && !tipocf.IsEmpty() && tipocf.IsNumeric()) {
    const double t = tipocf.ToDouble();
    if (t == 0) return " (cli)";
    if (t == 1) return " (for)";
  }
  return " (?\?\?)";
}

std::shared_ptr<db::Recordset> CliForSection::CreateTreeRowset() {
  auto rs = std::make_shared<db::Recordset>();
  for (const char* name : {"PADRE_KEY", "KEY", "TEXT", "IMAGE", "TAG"}) {
    rs->AppendField(name, db::DataType::kVarChar, 250);
  }
  rs->AppendField("CHECKED", db::DataType::kVarChar, 1);
  rs->AppendField("CHECKED2", db::DataType::kVarChar, 1);
  rs->AppendField("DITTA", db::DataType::kInteger);
  rs->AppendField("TIPOCF", db::DataType::kInteger);
  for (const char* name : {"CODMACRO", "CODMIDDLE", "CODRAGG", "TIPORAGG"}) {
    rs->AppendField(name, db::DataType::kVarChar, 250);
  }
  rs->AppendField("CODICE", db::DataType::kInteger);
  rs->Open();
  return rs;
}

host::TreeGrid& CliForSection::BeginTreeLayout(SectionContext& w) {
  host::TreeGrid& grid = Need(w.host_controls().TGRID_CLIFOR, "TGRID_CLIFOR");
  grid.ClearColumns();
  host::TreeSettings settings;
  settings.host = w.HostInterface();
  settings.key_field = "KEY";
  settings.parent_field = "PADRE_KEY";
  settings.setting1 = 0;
  settings.setting2 = 0;
  settings.flag = true;
  grid.SetTreeSettings(settings);
  grid.SetDisplayOptions(true, true);
  return grid;
}

void CliForSection::InitGridCliFor() {
  SectionContext& w = context();
  host::TreeGrid& grid = CliForSection::BeginTreeLayout(w);
  grid.AddTextColumn("CODICE", "CODICE", "Codice", 1, 800, true);
  grid.AddTextColumn("TEXT", "TEXT", "Nome", 1, 4200, true);
  grid.AddTextColumn("CHECKED2", "CHECKED2", "Checked2", 1, 20, false);
  grid.AddCheckBoxColumn("CHECKED", "CHECKED", "Abilita", "1", "0", false, 800, true, true);
  grid.CloseColumns();
}

bool CliForSection::LoadTreeCausali() {
  SectionContext& w = context();
  try {
    host::TreeGrid& grid = Need(w.host_controls().TGRID_CLIFOR, "TGRID_CLIFOR");
    grid.SetDataSource(nullptr);
    // The tree being replaced lends its rows' storage to the new one when
    // nothing else reads it any more.
    std::vector<std::vector<db::Value>> spare;
    {
      std::shared_ptr<db::Recordset> previous = std::move(w.rows());
      if (previous && previous.use_count() == 1 && previous->IsOpen()) {
        spare = previous->ReleaseRows();
      }
    }
    std::shared_ptr<db::Recordset> tree = CreateTreeRowset();
    w.rows() = tree;
    const store::Principal principal = w.CurrentPrincipal();
    if (principal.IsNone()) return true;

    const int64_t company = w.current_company().ToInt64();
    db::Connection& cn = Need(w.connection(), "Connection");
    try {
      // The tree's rows are made as the batch's rows are read.
      CliForTree builder(*tree, company, std::move(spare));
      cn.ExecuteStreaming(CliForStatements::TreeBatch(principal, company), builder);
      builder.Finish();
    } catch (...) {
      // A batch that failed part of the way leaves no half-made tree.
      w.rows() = CreateTreeRowset();
      throw;
    }

    InitGridCliFor();
    grid.SetDataSource(tree);
    grid.Refresh();
  } catch (...) {
    ShowBuildError(w, "LoadTreeCausali");
  }
  return true;
}

void CliForSection::ShowBuildError(SectionContext& w, std::string_view routine) {
  const host::ErrObject error = host::ErrObject::FromCurrentException();
  try {
    // The side bar builds the tree and the principal's reload builds it
    // again: the same failure is shown once per gesture.
    if (!w.FirstReportInGesture(std::string(routine) + "\n" + std::to_string(error.number) + "\n" +
                                error.description)) {
      return;
    }
    w.ShowMessage(std::to_string(error.number) + "-" + error.description +
                      " in ZERE_TALMIRE: FRMFW_Talmire - " + std::string(routine),
                  host::kVbCritical, "");
  } catch (...) {
    // Nothing more to report with.
  }
}

// --- events of TGRID_CLIFOR

bool CliForSection::RefusesCheck(const db::Recordset& tree_rowset) {
  const db::Value& kind = tree_rowset.Field("TIPORAGG");
  return kind.IsNull() || kind.IsEmpty() || kind.ToText().empty();
}

bool CliForSection::TreeBeforeCheck(bool& cancel) {
  if (RefusesCheck(Need(context().rows(), "Recordset"))) cancel = true;
  return true;
}

bool CliForSection::TreeColumnSubstitution(const host::TreeRowReader& row, int32_t& column_index) {
  SectionContext& w = context();
  const db::Value marker = row("CHECKED2");
  if (marker.IsNull() || marker.IsEmpty() || marker.ToText().empty()) {
    host::TreeGrid& grid = Need(w.host_controls().TGRID_CLIFOR, "TGRID_CLIFOR");
    if (column_index == grid.ColumnIndex("CHECKED")) column_index = grid.ColumnIndex("CHECKED2");
  }
  return true;
}

bool CliForSection::TreeCheckChange(std::string_view column_key, std::string_view new_value) {
  SectionContext& w = context();
  const store::Principal principal = w.CurrentPrincipal();
  if (principal.IsNone()) return true;
  // The rows of the branch's company, kind and level for the journal.
  db::Recordset& rows = Need(w.rows(), "Recordset");
  journal::RowScope scope{journal::JournalTable::kCliFor, principal, {}};
  scope.Where("FW32_DITTA", rows.Field("DITTA"))
      .Where("FW32_TIPOCF", rows.Field("TIPOCF"))
      .Where("FW32_TIPORAGG", rows.Field("TIPORAGG"));
  CommitClick(w, principal, column_key, new_value, [&] { SaveBranch(new_value); }, {scope});
  return true;
}

bool CliForSection::CommitClick(SectionContext& w, const store::Principal& principal,
                                std::string_view column_key, std::string_view new_value,
                                const std::function<void()>& write,
                                std::vector<journal::RowScope> scopes) {
  static constexpr std::string_view kClickRoutine = "TGRID_CLIFOR_CheckChange";
  static constexpr std::string_view kReloadRoutine = "ReloadListaCFRevocati";
  for (;;) {
    std::string_view routine = kClickRoutine;
    try {
      db::Connection& cn = Need(w.connection(), "Connection");
      db::Transaction transaction(cn);
      journal::GestureCapture capture(w.journal(), cn, scopes);
      write();
      routine = kReloadRoutine;
      w.RunReloadListaCFRevocati(principal);
      routine = kClickRoutine;
      capture.Commit(transaction, {journal::GestureKind::kClick, w.section_code(), principal});
      return true;
    } catch (...) {
      // The transaction is rolled back by now: neither the row nor the list
      // changed, so the box shows the table again before the user is told.
      const host::ErrObject error = host::ErrObject::FromCurrentException();
      RestoreBox(w, column_key, new_value);
      if (routine != kReloadRoutine) {
        w.VisualizzaErrore(routine, error);
        return false;
      }
      if (w.LogError(routine, error) != host::kVbRetry) return false;
      // A retry runs the whole click again.
      RestoreBox(w, column_key, new_value == "1" ? "0" : "1");
    }
  }
}

void CliForSection::ReloadForPrincipal(SectionContext& window, const store::Principal& principal) {
  if (principal.IsUser()) {
    window.ReloadListaCFRevocati(principal.user_id(), false);
  } else if (principal.IsGroup()) {
    window.ReloadListaCFRevocati(principal.group_id(), true);
  }
}

// --- saving

CliForBranch CliForSection::BranchOf(const db::Recordset& rows) {
  CliForBranch branch;
  const db::Value& ditta = rows.Field("DITTA");
  const db::Value& tipocf = rows.Field("TIPOCF");
  // Written as numbers: a value that is not one fails the statement
  // instead of reaching it as text.
  branch.company = ditta.IsNull() || ditta.IsEmpty() ? "NULL" : std::to_string(ditta.ToInt64());
  branch.tipocf = tipocf.IsNull() || tipocf.IsEmpty() ? "NULL" : std::to_string(tipocf.ToInt64());
  branch.macro = Text(rows.Field("CODMACRO"));
  branch.middle = Text(rows.Field("CODMIDDLE"));
  branch.ragg = Text(rows.Field("CODRAGG"));
  branch.tiporagg = Text(rows.Field("TIPORAGG"));
  return branch;
}

bool CliForSection::RevocationExists(const store::Principal& principal,
                                     const CliForBranch& branch) {
  std::shared_ptr<db::Recordset> rs =
      Need(context().connection(), "Connection")
          .Execute(CliForStatements::SelectRevocation(principal, branch));
  return rs && rs->IsOpen() && !rs->IsEof();
}

void CliForSection::RestoreBox(SectionContext& window, std::string_view field,
                               std::string_view new_value) {
  try {
    db::Recordset& rows = Need(window.rows(), "Recordset");
    rows.SetField(field, db::Value(new_value == "1" ? "0" : "1"));
    rows.Update();
    if (window.host_controls().TGRID_CLIFOR) window.host_controls().TGRID_CLIFOR->Refresh();
  } catch (...) {
    // The original error is the one that counts.
  }
}

void CliForSection::SaveBranch(std::string_view new_value) {
  SectionContext& w = context();
  const store::Principal principal = w.CurrentPrincipal();
  db::Recordset& rows = Need(w.rows(), "Recordset");
  const int32_t flag = db::Value(std::string(new_value)).ToInt32();
  const CliForBranch branch = BranchOf(rows);
  db::Connection& cn = Need(w.connection(), "Connection");
  db::WriteByKey(cn, RevocationExists(principal, branch),
                 CliForStatements::InsertRevocation(principal, branch, flag),
                 CliForStatements::UpdateRevocation(principal, branch, flag));

  host::ChangeLog& log = w.change_log();
  std::string text = log.FormatGroup(db::Trim(principal.GroupName()));
  text += log.FormatUser(db::Trim(principal.UserName()));
  text += log.FormatDetail(1, Text(rows.Field("DITTA")));
  text += log.FormatDetail(2, branch.tiporagg);
  text += log.FormatDetail(3, "");
  text += log.FormatDetail(4, "");
  text += log.FormatDetail(5, "");
  const db::Value& checked = rows.Field("CHECKED");
  const bool allowed = !checked.IsNull() && !checked.IsEmpty() && checked.IsNumeric() &&
                       std::fabs(checked.ToDouble()) == 1;
  text += log.FormatDetail(6, allowed ? "Si" : "No");
  log.WriteEntry(kChangeLogEvent, text);
}

void CliForSection::DisabilitaRecord(db::Recordset& rows, const store::Principal& principal) {
  SectionContext& w = context();
  db::Connection& cn = Need(w.connection(), "Connection");
  const CliForBranch branch = BranchOf(rows);
  db::WriteByKey(cn, RevocationExists(principal, branch),
                 CliForStatements::InsertRevocation(principal, branch, 0),
                 CliForStatements::UpdateRevocation(principal, branch, 0));
}

// --- disable-all

bool CliForSection::ConfirmDisableAll(SectionContext& window) {
  return window.ShowMessage(kDisableAllPrompt, host::kVbYesNo + host::kVbQuestion,
                            kDisableAllTitle) == host::kVbYes;
}

bool CliForSection::ButtonClick(std::string_view name) {
  if (name != kDisableAllButton) return false;
  DisableAll();
  return true;
}

void CliForSection::DisableAll() {
  SectionContext& w = context();
  bool shown = false;
  try {
    if (!ConfirmDisableAll(w)) return;
    w.ShowProgress(true);
    shown = true;
    const store::Principal principal = w.CurrentPrincipal();
    if (w.section_code() == SectionCodes::kSectionCliFor) {
      std::vector<host::ErrObject> failures;
      if (std::shared_ptr<db::Recordset> tree = w.rows()) {
        if (tree->RecordCount() > 0) tree->MoveFirst();
        std::shared_ptr<db::Recordset> rows = tree->Clone();
        db::Connection& cn = Need(w.connection(), "Connection");
        // One transaction for the walk and the reload of the derived list,
        // each row in a savepoint of its own: a failing row is undone alone
        // and reported once the rest is committed, with no transaction open
        // while a message waits.
        db::Transaction transaction(cn);
        journal::GestureCapture capture(
            w.journal(), cn, {journal::RowScope{journal::JournalTable::kCliFor, principal, {}}});
        if (rows->RecordCount() > 0) {
          for (rows->MoveFirst(); !rows->IsEof(); rows->MoveNext()) {
            const db::Value& ditta = rows->Field("DITTA");
            if (ditta.IsNull() || ditta.IsEmpty()) continue;
            try {
              db::Transaction row(cn);
              DisabilitaRecord(*rows, principal);
              row.Commit();
            } catch (...) {
              failures.push_back(host::ErrObject::FromCurrentException());
            }
          }
        }
        w.RunReloadListaCFRevocati(principal);
        capture.Commit(transaction,
                       {journal::GestureKind::kDisableAll, w.section_code(), principal});
      }
      ReportRowFailures(w, failures, "DisabilitaRecord");
      w.LoadTreeCausali();
    }
    shown = false;
    w.ShowProgress(false);
  } catch (...) {
    w.VisualizzaErrore(kDisableAllRoutine);
    // Whatever was undone shows as the table holds it.
    w.LoadTreeCausali();
    // The busy indicator would otherwise stay up over an idle window.
    if (shown) w.ShowProgress(false);
  }
}

void CliForSection::ReportRowFailures(SectionContext& w,
                                      const std::vector<host::ErrObject>& failures,
                                      std::string_view routine) {
  // A database that fails every row would otherwise ask for one answer per
  // row: the same failure is told once.
  std::vector<const host::ErrObject*> told;
  for (const host::ErrObject& error : failures) {
    bool seen = false;
    for (const host::ErrObject* t : told) {
      seen = seen || (t->number == error.number && t->description == error.description);
    }
    if (seen) continue;
    told.push_back(&error);
    w.VisualizzaErrore(routine, error);
  }
}

// --- revoke-all

std::optional<editor::RevocationSet> CliForSection::EnableAllSet(
    const store::Principal& principal) {
  editor::RevocationSet set;
  set.probe = BulkStatements::ProbeCliFor(principal);
  set.remove = BulkStatements::DeleteCliFor(principal);
  set.scope = {journal::JournalTable::kCliFor, principal, {}};
  return set;
}

}  // namespace orv::sections
