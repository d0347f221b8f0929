#include "sections/families/family_section.h"

#include <optional>
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
#include "sections/clifor/clifor_section.h"
#include "sections/revoke_all/bulk_statements.h"
#include "store/principal.h"
#include "zere_orvelka/message_service.h"
#include "zere_orvelka/tree_grid.h"
#include "zere_orvelka/tree_settings.h"

namespace orv::sections {

namespace {

using editor::SectionCodes;
using editor::SectionContext;

using host::Need;

std::string Text(const db::Value& value) {
  return value.IsNull() || value.IsEmpty() ? std::string() : value.ToText();
}

}  // namespace

std::shared_ptr<db::Recordset> FamilySection::CreateFamilyRowset() {
  auto rs = std::make_shared<db::Recordset>();
  rs->AppendField("PADRE_KEY", db::DataType::kVarChar, 250);
  rs->AppendField("KEY", db::DataType::kVarChar, 250);
  rs->AppendField("TEXT", db::DataType::kVarChar, 250);
  rs->AppendField("INSERIMENTO", db::DataType::kSmallInt);
  rs->AppendField("MODIFICA", db::DataType::kSmallInt);
  rs->AppendField("ELIMINAZIONE", db::DataType::kSmallInt);
  rs->AppendField("DITTA", db::DataType::kInteger);
  rs->AppendField("CODFAM", db::DataType::kVarChar, 250);
  rs->AppendField("CODSFAM", db::DataType::kVarChar, 250);
  rs->AppendField("CODRAGG", db::DataType::kVarChar, 250);
  rs->AppendField("TIPORAGG", db::DataType::kVarChar, 250);
  rs->AppendField("CODICE", db::DataType::kVarChar, 4);
  rs->Open();
  return rs;
}

void FamilySection::InitGridFamiglie() {
  SectionContext& w = context();
  host::TreeGrid& grid = CliForSection::BeginTreeLayout(w);
  grid.AddTextColumn("CODICE", "CODICE", "Codice", 1, 800, true);
  grid.AddTextColumn("TEXT", "TEXT", "Nome", 1, 4200, true);
  grid.AddCheckBoxColumn("INSERIMENTO", "INSERIMENTO", "Ins", "1", "0", false, 500, true, true);
  grid.AddCheckBoxColumn("MODIFICA", "MODIFICA", "Mod", "1", "0", false, 500, true, true);
  grid.AddCheckBoxColumn("ELIMINAZIONE", "ELIMINAZIONE", "Elim", "1", "0", false, 500, true, true);
  grid.CloseColumns();
}

bool FamilySection::InitTreeFamiglie() {
  SectionContext& w = context();
  try {
    host::TreeGrid& grid = Need(w.host_controls().TGRID_CLIFOR, "TGRID_CLIFOR");
    grid.SetDataSource(nullptr);
    std::shared_ptr<db::Recordset> tree = CreateFamilyRowset();
    w.rows() = tree;
    const store::Principal principal = w.CurrentPrincipal();
    // No node: the build fails here and the list stays empty.
    if (principal.IsNone()) host::ThrowObjectNotSet("");

    const int64_t company = w.current_company().ToInt64();
    std::shared_ptr<db::Recordset> rs =
        Need(w.connection(), "Connection")
            .Execute(FamilyStatements::FamilyList(principal, company));
    if (rs && rs->IsOpen() && rs->RecordCount() > 0) {
      const int ditta = rs->FieldIndex("MG53_DITTA_CG18");
      const int code = rs->FieldIndex("MG53_CODFAM");
      const int description = rs->FieldIndex("MG53_DESCRFAM");
      const int inserimento = rs->FieldIndex("INSERIMENTO");
      const int modifica = rs->FieldIndex("MODIFICA");
      const int elimina = rs->FieldIndex("ELIMINA");
      for (int index : {ditta, code, description, inserimento, modifica, elimina}) {
        if (index < 0) {
          throw db::DbError(db::kErrItemNotFound,
                            "Item cannot be found in the collection corresponding to the "
                            "requested name or ordinal.");
        }
      }
      for (rs->MoveFirst(); !rs->IsEof(); rs->MoveNext()) {
        const std::string family = Text(rs->Field(code));
        tree->AddNew();
        tree->SetField("KEY",
                       db::Value("F_" + std::to_string(company) + "." + db::AsciiUpper(family)));
        tree->SetField("CODICE", db::Value(family));
        tree->SetField("INSERIMENTO", rs->Field(inserimento));
        tree->SetField("MODIFICA", rs->Field(modifica));
        tree->SetField("ELIMINAZIONE", rs->Field(elimina));
        tree->SetField("TEXT", rs->Field(description));
        tree->SetField("DITTA", rs->Field(ditta));
        tree->SetField("CODFAM", db::Value(family));
        tree->SetField("TIPORAGG", db::Value("FAM"));
        tree->Update();
      }
    }
    rs.reset();
    InitGridFamiglie();
    grid.SetDataSource(tree);
    grid.Refresh();
  } catch (...) {
    CliForSection::ShowBuildError(w, "InitTreeFamiglie");
  }
  return true;
}

// --- events of TGRID_CLIFOR

std::string FamilySection::ShownCompany() {
  SectionContext& w = context();
  const std::shared_ptr<db::Recordset>& tree = w.rows();
  if (tree && tree->IsOpen() && tree->RecordCount() > 0 && tree->HasField("DITTA")) {
    std::shared_ptr<db::Recordset> first = tree->Clone();
    first->MoveFirst();
    const db::Value& company = first->Field("DITTA");
    if (!company.IsNull() && !company.IsEmpty()) return company.ToText();
  }
  const db::Value& current = w.current_company();
  if (current.IsNull() || current.IsEmpty()) return "NULL";
  return current.ToText();
}

bool FamilySection::TreeBeforeCheck(bool& cancel) {
  if (CliForSection::RefusesCheck(Need(context().rows(), "Recordset"))) cancel = true;
  return true;
}

bool FamilySection::TreeColumnSubstitution(const host::TreeRowReader& /*row*/,
                                           int32_t& /*column_index*/) {
  // Every family row carries its three boxes.
  return true;
}

bool FamilySection::TreeCheckChange(std::string_view column_key, std::string_view new_value) {
  SectionContext& w = context();
  const store::Principal principal = w.CurrentPrincipal();
  if (principal.IsNone()) return true;
  db::Recordset& tree = Need(w.rows(), "Recordset");
  journal::RowScope scope{journal::JournalTable::kFamilies, principal, {}};
  scope.Where("FW3H_DITTA", tree.Field("DITTA")).Where("FW3H_TIPORAGG", tree.Field("TIPORAGG"));
  const bool committed = CliForSection::CommitClick(
      w, principal, column_key, new_value, [&] { SaveFamily(column_key, new_value); }, {scope});
  // Revoking delete revokes modify too (the statement writes both).
  if (committed && column_key == "ELIMINAZIONE" && new_value == "0") {
    db::Recordset& rows = Need(w.rows(), "Recordset");
    rows.SetField("MODIFICA", db::Value(0));
    rows.Update();
    if (w.host_controls().TGRID_CLIFOR) w.host_controls().TGRID_CLIFOR->Refresh();
  }
  return true;
}

// --- saving

FamilyRow FamilySection::RowOf(const db::Recordset& rows) {
  FamilyRow row;
  const db::Value& ditta = rows.Field("DITTA");
  row.company = ditta.IsNull() || ditta.IsEmpty() ? "NULL" : std::to_string(ditta.ToInt64());
  row.code = db::Trim(Text(rows.Field("CODFAM")));
  row.middle = db::Trim(Text(rows.Field("CODSFAM")));
  row.tiporagg = Text(rows.Field("TIPORAGG"));
  return row;
}

bool FamilySection::RevocationExists(const store::Principal& principal, const FamilyRow& row) {
  std::shared_ptr<db::Recordset> rs =
      Need(context().connection(), "Connection")
          .Execute(FamilyStatements::SelectRevocation(principal, row));
  return rs && rs->IsOpen() && !rs->IsEof();
}

void FamilySection::SaveFamily(std::string_view column_key, std::string_view new_value) {
  SectionContext& w = context();
  const store::Principal principal = w.CurrentPrincipal();
  db::Recordset& rows = Need(w.rows(), "Recordset");
  const std::string_view flag_column = FamilyStatements::FlagColumn(column_key);
  if (flag_column.empty()) {
    throw db::DbError(db::kErrItemNotFound, "Unknown column " + std::string(column_key));
  }
  const int32_t value = db::Value(std::string(new_value)).ToInt32();
  const FamilyRow row = RowOf(rows);
  db::Connection& cn = Need(w.connection(), "Connection");
  // A row another editor wrote since the probe is the row to update.
  if (!RevocationExists(principal, row)) {
    db::InsertUnlessPresent(cn, FamilyStatements::InsertRevocation(principal, row));
  }
  cn.Execute(FamilyStatements::UpdateRight(principal, row, flag_column, value), nullptr,
             db::kAdExecuteNoRecords);
}

void FamilySection::DisabilitaRecordFamiglia(const store::Principal& principal) {
  SectionContext& w = context();
  db::Recordset& rows = Need(w.rows(), "Recordset");
  const FamilyRow row = RowOf(rows);
  db::Connection& cn = Need(w.connection(), "Connection");
  if (!RevocationExists(principal, row)) {
    db::InsertUnlessPresent(cn, FamilyStatements::InsertRevocation(principal, row));
  }
  cn.Execute(FamilyStatements::RevokeAll(principal, row), nullptr, db::kAdExecuteNoRecords);
}

// --- disable-all

bool FamilySection::ButtonClick(std::string_view name) {
  if (name != CliForSection::kDisableAllButton) return false;
  DisableAll();
  return true;
}

void FamilySection::DisableAll() {
  SectionContext& w = context();
  bool shown = false;
  bool walked = false;
  try {
    if (!CliForSection::ConfirmDisableAll(w)) return;
    w.ShowProgress(true);
    shown = true;
    const store::Principal principal = w.CurrentPrincipal();
    db::Connection& cn = Need(w.connection(), "Connection");
    std::optional<host::ErrObject> failure;
    {
      // The walk and the reload commit together, each row in a savepoint:
      // the first failing row ends the walk, undone alone, and is told
      // after the rows before it are committed.
      db::Transaction transaction(cn);
      journal::GestureCapture capture(
          w.journal(), cn, {journal::RowScope{journal::JournalTable::kFamilies, principal, {}}});
      std::vector<size_t> revoked;
      if (std::shared_ptr<db::Recordset> tree = w.rows()) {
        if (tree->RecordCount() > 0) {
          walked = true;
          size_t position = 0;
          for (tree->MoveFirst(); !tree->IsEof(); tree->MoveNext(), ++position) {
            const db::Value& ditta = tree->Field("DITTA");
            if (ditta.IsNull() || ditta.IsEmpty()) continue;
            try {
              db::Transaction row(cn);
              DisabilitaRecordFamiglia(principal);
              row.Commit();
              revoked.push_back(position);
            } catch (...) {
              failure = host::ErrObject::FromCurrentException();
              break;
            }
          }
        }
      }
      w.RunReloadListaCFRevocati(principal);
      capture.Commit(transaction, {journal::GestureKind::kDisableAll, w.section_code(), principal});
      // The rows show revoked once the table holds them.
      if (std::shared_ptr<db::Recordset> tree = w.rows(); tree && !revoked.empty()) {
        size_t position = 0;
        size_t next = 0;
        for (tree->MoveFirst(); !tree->IsEof() && next < revoked.size();
             tree->MoveNext(), ++position) {
          if (position != revoked[next]) continue;
          ++next;
          for (const char* field : {"INSERIMENTO", "MODIFICA", "ELIMINAZIONE"}) {
            tree->SetField(field, db::Value(0));
          }
          tree->Update();
        }
      }
    }
    // The rows changed in place: one redraw for the whole walk.
    if (walked && w.host_controls().TGRID_CLIFOR) w.host_controls().TGRID_CLIFOR->Refresh();
    if (failure) w.VisualizzaErrore(CliForSection::kDisableAllRoutine, *failure);
    shown = false;
    w.ShowProgress(false);
  } catch (...) {
    const host::ErrObject error = host::ErrObject::FromCurrentException();
    // Nothing of the walk was kept: the list shows the table again.
    if (walked) w.InitTreeFamiglie();
    w.VisualizzaErrore(CliForSection::kDisableAllRoutine, error);
    if (shown) w.ShowProgress(false);
  }
}

// --- revoke-all

std::optional<editor::RevocationSet> FamilySection::EnableAllSet(
    const store::Principal& principal) {
  const std::string company = ShownCompany();
  editor::RevocationSet set;
  set.probe = BulkStatements::ProbeFamilies(principal, company);
  set.remove = BulkStatements::EnableFamilies(principal, company);
  set.scope = {journal::JournalTable::kFamilies, principal, {}};
  set.scope.Where("FW3H_DITTA", db::Value(company));
  return set;
}

}  // namespace orv::sections
