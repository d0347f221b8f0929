#include "sections/parameters/parameter_section.h"

#include <array>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "db/ascii.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "db/row_sink.h"
#include "db/write_by_key.h"
#include "editor/log_error_routine.h"
#include "editor/section_context.h"
#include "host/err_object.h"
#include "journal/gesture_capture.h"
#include "journal/journal_table.h"
#include "journal/row_snapshot.h"
#include "sections/nodes/project_query.h"
#include "sections/parameters/node_merge.h"
#include "sections/parameters/parameter_statements.h"
#include "sections/revoke_all/bulk_statements.h"
#include "store/principal.h"
#include "zere_orvelka/change_log.h"
#include "zere_orvelka/grid_layout.h"
#include "zere_orvelka/grouping_grid.h"
#include "zere_orvelka/lookup_object.h"
#include "zere_orvelka/query_control.h"

namespace orv::sections {

namespace {

using editor::SectionCodes;
using editor::SectionContext;

constexpr std::string_view kGrid = "GRIDTIPOLOGIE";
constexpr std::string_view kNoPrincipal = "Selezionare almeno un gruppo o un utente!";
constexpr std::string_view kNoPrincipalTitle = "Operazione non valida";
constexpr std::string_view kNotPresent = "Revoca non presente!";
constexpr int32_t kExclamation = 48;
constexpr int32_t kChangeLogEvent = 16;

using host::Need;

// The value a grid reports with a click equals 1 (as a number or as text).
bool IsOne(const db::Value& value) {
  return !value.IsNull() && !value.IsEmpty() && value.IsNumeric() && value.ToDouble() == 1;
}

// A company code as statements write it (no quotes); NULL when missing, so
// that nothing matches instead of the statement breaking.
std::string CompanyText(const db::Value& value) {
  if (value.IsNull() || value.IsEmpty()) return "NULL";
  return value.ToText();
}

int32_t FlagOf(const db::Value& value) {
  return value.IsNull() || value.IsEmpty() ? 0 : value.ToInt32();
}

// The four flag fields of the work recordset.
constexpr std::array<std::string_view, 4> kFlagFields = {"ABILITATO", "MODIFICA", "INSERIMENTO",
                                                         "ELIMINAZIONE"};

// A company text as the statements write it, as a value for the journal.
db::Value CompanyValue(std::string_view company) {
  const db::Value text{std::string(company)};
  if (company.empty() || company == "NULL" || !text.IsNumeric()) return db::Value::Null();
  return db::Value(text.ToInt64());
}

// The one row of a parameter click, for the journal.
journal::RowScope ParameterScope(const store::Principal& principal, int32_t kind,
                                 std::string_view code, std::string_view company) {
  journal::RowScope scope{journal::JournalTable::kParameters, principal, {}};
  scope.Where("FW31_INDTIPO", db::Value(kind))
      .Where("FW31_CODTIPO", db::Value(std::string(code)))
      .Where("FW31_DITTARAGG", CompanyValue(company));
  return scope;
}

// Appends the rows of a catalogue's result to the work recordset as the
// connection reads them: work field i takes the result's column named
// kCatalogueColumns' i-th pair, VISIBLE stays NULL. Rows of a previous load
// (`spare`) lend their storage, so loading again allocates next to nothing.
class CatalogueRows final : public db::RowSink {
 public:
  CatalogueRows(db::Recordset& work, std::vector<std::vector<db::Value>> spare)
      : work_(work), spare_(std::move(spare)) {}

  void BeginResult(const std::vector<db::FieldInfo>& fields, int64_t) override {
    // The first result is the catalogue: later ones are not read.
    if (++results_ != 1 || fields.empty()) return;
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kCopy = {{
        {"codice", "CODICE"},
        {"Descrizione", "DESCRIZIONE"},
        {"ABILITATO", "ABILITATO"},
        {"Modifica", "MODIFICA"},
        {"Inserimento", "INSERIMENTO"},
        {"Elimina", "ELIMINAZIONE"},
        {"DITTARAG", "DITTARAG"},
        {"RAGGRUPPAMENTO", "RAGGRUPPAMENTO"},
        {"IndTipo", "INDTIPO"},
    }};
    columns_.assign(static_cast<size_t>(work_.FieldCount()), -1);
    for (const auto& [from_name, to_name] : kCopy) {
      columns_[static_cast<size_t>(work_.FieldIndex(to_name))] =
          db::FieldPosition(fields, from_name);
    }
    reading_ = true;
  }

  void Row(std::span<db::Value> values) override {
    if (results_ != 1 || !reading_) return;
    std::vector<db::Value> storage;
    if (next_spare_ < spare_.size()) storage = std::move(spare_[next_spare_++]);
    work_.AppendRow(values, columns_, std::move(storage));
  }

 private:
  db::Recordset& work_;
  std::vector<std::vector<db::Value>> spare_;
  size_t next_spare_ = 0;
  std::vector<int> columns_;  // work field -> result column, -1 for none
  int results_ = 0;
  bool reading_ = false;
};

void SetFlags(db::Recordset& rs, std::string_view flag) {
  for (std::string_view name : kFlagFields) rs.SetField(name, db::Value(flag));
  rs.Update();
}

}  // namespace

bool ParameterSection::IsOwnSection() {
  return ParameterStatements::IsParameterKind(context().section_code());
}

// --- work recordset

std::shared_ptr<db::Recordset> ParameterSection::CreaRecordset() {
  auto rs = std::make_shared<db::Recordset>();
  rs->AppendField("CODICE", db::DataType::kChar, 25, false);
  rs->AppendField("DESCRIZIONE", db::DataType::kVarChar, 300);
  rs->AppendField("ABILITATO", db::DataType::kVarChar, 5);
  rs->AppendField("MODIFICA", db::DataType::kVarChar, 5);
  rs->AppendField("INSERIMENTO", db::DataType::kVarChar, 5);
  rs->AppendField("ELIMINAZIONE", db::DataType::kVarChar, 5);
  rs->AppendField("VISIBLE", db::DataType::kVarChar, 5);
  rs->AppendField("DITTARAG", db::DataType::kDecimal);
  rs->AppendField("RAGGRUPPAMENTO", db::DataType::kVarChar, 260);
  rs->AppendField("INDTIPO", db::DataType::kDecimal);
  rs->Open();
  return rs;
}

bool ParameterSection::WorkColumnExists(std::string_view column) {
  try {
    const std::shared_ptr<db::Recordset>& rs = context().rows();
    if (!rs) return false;
    (void)rs->Field(column);
    return true;
  } catch (...) {
    return false;
  }
}

void ParameterSection::BindWorkRecordset(std::shared_ptr<db::Recordset> recordset) {
  SectionContext& w = context();
  if (recordset->RecordCount() > 0) recordset->MoveFirst();
  w.rows() = recordset;
  host::GroupingGrid& grid = Need(w.host_controls().GRIDTIPOLOGIE, "GRIDTIPOLOGIE");
  grid.SetDataSource(recordset);
  if (grid.GetLayout()) {
    grid.RefreshLayout();
    grid.Redraw();
  }
  loaded_section_ = w.section_code();
  w.set_loaded_flag(true);
}

std::vector<std::vector<db::Value>> ParameterSection::ReleaseWorkRows() {
  SectionContext& w = context();
  std::shared_ptr<db::Recordset> previous = std::move(w.rows());
  if (!previous) return {};
  const std::shared_ptr<host::GroupingGrid>& grid = w.host_controls().GRIDTIPOLOGIE;
  if (grid && grid->GetDataSource() == previous) grid->SetDataSource(nullptr);
  if (previous.use_count() != 1 || !previous->IsOpen()) return {};
  return previous->ReleaseRows();
}

bool ParameterSection::LoadData() {
  SectionContext& w = context();
  const int32_t section = w.section_code();
  // Warehouse transfers (32) and project nodes (33) load through their own
  // sections; the other codes have no catalogue and keep what the grid shows.
  if (!ParameterStatements::IsParameterKind(section)) return false;
  try {
    std::string sql = ParameterStatements::Catalogue(section, w.CurrentPrincipal(),
                                                     w.current_company().ToInt64());
    // Built apart and swapped in only when complete, so that a failed load
    // leaves the grid and the rows the clicks work on in step.
    std::shared_ptr<db::Recordset> work = CreaRecordset();
    if (section == ParameterStatements::kProjects) {
      sql += Need(w.host_controls().ENHQUERY, "ENHQUERY").Condition();
    }
    // The rows of the load being replaced lend their storage when nothing
    // else reads them; a failed load leaves the grid without rows anyway.
    std::vector<std::vector<db::Value>> spare = ReleaseWorkRows();
    CatalogueRows rows(*work, std::move(spare));
    Need(w.connection(), "Connection").ExecuteStreaming(sql, rows);
    BindWorkRecordset(std::move(work));
    loaded_principal_ = w.CurrentPrincipal();
  } catch (...) {
    // No rows to click after a failed load: the rows on screen were loaded
    // for the previous principal (or filter), and a click would write them
    // under the one selected now.
    w.rows().reset();
    loaded_section_ = 0;
    try {
      if (w.host_controls().GRIDTIPOLOGIE) w.host_controls().GRIDTIPOLOGIE->SetDataSource(nullptr);
    } catch (...) {
    }
    w.VisualizzaErrore("LoadData");
  }
  return true;
}

// --- grid layout

bool ParameterSection::InitGrid(int32_t layout, std::string_view item_key) {
  if (layout != 0 && layout != 2 && layout != 6) return false;
  SectionContext& w = context();
  loaded_section_ = 0;
  host::GroupingGrid& grid = Need(w.host_controls().GRIDTIPOLOGIE, "GRIDTIPOLOGIE");
  if (!grid.GetLayout()) {
    host::GridLayout object;
    object.global = w.global();
    object.grouping = true;
    object.matrix = false;
    object.key_column = "CODICE";
    object.number = 0;
    object.item_key = std::string(item_key);
    grid.SetLayout(object);
  }
  grid.ClearColumns();
  switch (layout) {
    case 2:
      grid.AddTextColumn("CODICE", "Codice", 1, 3000);
      grid.AddTextColumn("DESCRIZIONE", "Descrizione", 1, 4000);
      grid.AddCheckBoxColumn("ABILITATO", "Abilitato", "1", "0", false, 1100);
      break;
    case 6:
      if (w.section_code() == SectionCodes::kSectionNodes) {
        grid.AddTextColumn("PROGETTO", "Progetto", 1, 2000);
      }
      grid.AddTextColumn("CODICE", "Codice", 1, 3000);
      grid.AddTextColumn("DESCRIZIONE", "Descrizione", 1, 3800);
      grid.AddCheckBoxColumn("ABILITATO", "Abilitato", "1", "0", false, 1100);
      grid.AddTextColumn("RAGGRUPPAMENTO", "Raggruppamento", 1, 1500);
      grid.GroupByColumn("RAGGRUPPAMENTO", 0);
      break;
    default:
      grid.AddTextColumn("DESCRIZIONE", "Descrizione", 1, 4000);
      grid.AddCheckBoxColumn("ABILITATO", "Abilitato", "1", "0", false, 1100);
      grid.AddTextColumn("RAGGRUPPAMENTO", "Raggruppamento", 1, 1500);
      grid.GroupByColumn("RAGGRUPPAMENTO", 0);
      break;
  }
  grid.ApplyColumns();
  if (layout == 2 || layout == 6) grid.SetHeaderCheckBox("ABILITATO", false);
  grid.FinishLayout();
  return true;
}

// --- filter bar of the project section

bool ParameterSection::InitEnquery() {
  SectionContext& w = context();
  if (w.section_code() != SectionCodes::kSectionProjects) return false;
  try {
    ProjectQuery::Init(w, SectionCodes::kSectionProjects);
  } catch (...) {
    w.VisualizzaErrore("InitEnquery");
  }
  return true;
}

bool ParameterSection::QueryLookupDefinition(std::string_view caption,
                                             host::LookupDefinition& out) {
  if (context().section_code() != SectionCodes::kSectionProjects) return false;
  const ProjectQuery::Field* field = ProjectQuery::Find(SectionCodes::kSectionProjects, caption);
  if (field == nullptr) return false;
  out = ProjectQuery::Definition(context(), *field);
  return true;
}

bool ParameterSection::QueryFieldValue(std::string_view caption, std::string_view /*bound*/,
                                       std::string_view value, std::string& out) {
  if (context().section_code() != SectionCodes::kSectionProjects) return false;
  const ProjectQuery::Field* field = ProjectQuery::Find(SectionCodes::kSectionProjects, caption);
  if (field == nullptr) return false;
  out = ProjectQuery::Resolve(context(), *field, value, "");
  return true;
}

bool ParameterSection::ButtonClick(std::string_view name) {
  SectionContext& w = context();
  if (name != "CMD_UPDATE") return false;
  if (w.section_code() != SectionCodes::kSectionProjects &&
      w.section_code() != SectionCodes::kSectionNodes) {
    return false;
  }
  w.LoadData();
  w.ArrangePanes(false);
  return true;
}

// --- clicks

bool ParameterSection::GridSelectionBoxClick(std::string_view grid, std::string_view /*row_key*/,
                                             std::string_view /*column_key*/,
                                             const db::Value& value_before, bool& cancel) {
  if (grid != kGrid) return false;
  SectionContext& w = context();
  const int32_t section = w.section_code();
  const bool nodes = section == SectionCodes::kSectionNodes;
  if (!IsOwnSection() && !nodes) return false;
  cancel = true;
  std::shared_ptr<db::Recordset> rs = w.rows();
  // Nothing to act on: no rows yet (the project sections fill only on
  // "Aggiorna"), rows of another section, or an empty catalogue. The side
  // bar drops the rows of the previous section; the node rows are loaded by
  // their own section.
  if (!rs ||
      (!nodes && (loaded_section_ != section || loaded_principal_ != w.CurrentPrincipal())) ||
      rs->RecordCount() == 0 || rs->IsEof() || rs->BOF()) {
    return true;
  }

  std::string code;
  if (WorkColumnExists("CODICE")) code = db::Trim(rs->Field("CODICE").ToText());
  std::array<db::Value, kFlagFields.size()> before;
  for (size_t i = 0; i < kFlagFields.size(); ++i) before[i] = rs->Field(kFlagFields[i]);

  Outcome outcome;
  auto row_values = [&](auto&& save) {
    const db::Value dittarag = rs->Field("DITTARAG");
    const int32_t abilitato = FlagOf(rs->Field("ABILITATO"));
    const int32_t modifica = FlagOf(rs->Field("MODIFICA"));
    const int32_t inserimento = FlagOf(rs->Field("INSERIMENTO"));
    const int32_t eliminazione = FlagOf(rs->Field("ELIMINAZIONE"));
    const std::string description =
        SectionContext::NvlValue(rs->Field("DESCRIZIONE"), db::Value("")).ToText();
    return save(code, CompanyText(dittarag), abilitato, modifica, inserimento, eliminazione,
                description, "");
  };
  auto tipologie = [this](auto&&... args) { return InserisciRevocaTipologie(args...); };
  auto nodi = [this](auto&&... args) { return InserisciRevocaNodi(args...); };

  if (IsOne(value_before)) {
    SetFlags(*rs, "0");
    outcome = nodes ? row_values(nodi) : row_values(tipologie);
  } else {
    SetFlags(*rs, "1");
    outcome = nodes ? row_values(nodi) : cmd_RimuoviTIPO_Click();
  }
  if (outcome == Outcome::kRefused || outcome == Outcome::kFailed) {
    // The database still holds what the row showed before the click.
    for (size_t i = 0; i < kFlagFields.size(); ++i) rs->SetField(kFlagFields[i], before[i]);
    rs->Update();
  }
  if (w.host_controls().GRIDTIPOLOGIE) w.host_controls().GRIDTIPOLOGIE->Refresh();
  return true;
}

bool ParameterSection::GridHeaderCheckBoxClick(std::string_view grid, std::string_view /*column*/,
                                               bool /*new_state*/, bool& cancel) {
  if (grid != kGrid) return false;
  cancel = true;
  // Setting the header box raises the click again; the flag lets that
  // second call through without setting it once more.
  if (!header_flag_) {
    header_flag_ = true;
    Need(context().host_controls().GRIDTIPOLOGIE, "GRIDTIPOLOGIE")
        .SetHeaderCheck("ABILITATO", false, false);
  } else {
    header_flag_ = false;
  }
  return true;
}

// --- saving

bool ParameterSection::RevocationExists(int32_t kind, std::string_view code,
                                        std::string_view company) {
  SectionContext& w = context();
  std::shared_ptr<db::Recordset> rs = Need(w.connection(), "Connection")
                                          .Execute(ParameterStatements::SelectRevocation(
                                              w.CurrentPrincipal(), kind, code, company));
  return rs && rs->IsOpen() && !rs->IsEof();
}

void ParameterSection::WriteChangeLog(std::string_view description, std::string_view extra,
                                      std::string_view code, int32_t abilitato) {
  SectionContext& w = context();
  host::ChangeLog& log = w.change_log();
  const store::Principal principal = w.CurrentPrincipal();
  std::string text = log.FormatGroup(principal.GroupName());
  text += log.FormatUser(principal.UserName());
  text += log.FormatDetail(1, description);
  text += log.FormatDetail(2, extra);
  text += log.FormatDetail(3, db::Trim(code));
  text += log.FormatDetail(4, abilitato == 1 ? "Si" : "No");
  log.WriteEntry(kChangeLogEvent, text);
}

ParameterSection::Outcome ParameterSection::InserisciRevocaTipologie(
    std::string_view code, std::string_view company, int32_t abilitato, int32_t modifica,
    int32_t inserimento, int32_t eliminazione, std::string_view description,
    std::string_view extra) {
  SectionContext& w = context();
  try {
    const store::Principal principal = w.CurrentPrincipal();
    // A row without a principal would name nobody (and break the table's rule).
    if (principal.IsNone()) {
      w.ShowMessage(kNoPrincipal, kExclamation, kNoPrincipalTitle);
      return Outcome::kRefused;
    }
    const int32_t kind = w.section_code();
    db::Connection& cn = Need(w.connection(), "Connection");
    // The row and its change-log entry commit together; the guard has
    // rolled back before the catch below tells the failure.
    db::Transaction transaction(cn);
    journal::GestureCapture capture(w.journal(), cn,
                                    {ParameterScope(principal, kind, code, company)});
    // The journal's read of the row's scope is the probe when that scope is
    // the row's key (a company that is a number).
    const std::optional<bool> read = CompanyValue(company).IsNull()
                                         ? std::nullopt
                                         : capture.HadRows(journal::JournalTable::kParameters);
    const bool exists = read ? *read : RevocationExists(kind, code, company);
    int64_t updated = 0;
    int64_t inserted = 0;
    db::WriteByKey(cn, exists,
                   ParameterStatements::InsertRevocation(principal, kind, code, company, abilitato,
                                                         modifica, inserimento, eliminazione),
                   ParameterStatements::UpdateRevocation(principal, kind, code, company, abilitato,
                                                         modifica, inserimento, eliminazione),
                   &updated, &inserted);
    // The row as written, so that the journal need not read it back.
    auto id = [](const db::Value& v) {
      return v.IsNull() || v.IsEmpty() ? db::Value::Null() : db::Value(v.ToInt64());
    };
    capture.Wrote(journal::JournalTable::kParameters,
                  {{journal::RowSnapshot::Text({id(principal.user_id()), id(principal.group_id()),
                                                db::Value(kind), db::Value(std::string(code)),
                                                CompanyValue(company)}),
                    journal::RowSnapshot::Text({db::Value(abilitato), db::Value(modifica),
                                                db::Value(eliminazione), db::Value(inserimento)})}},
                  updated, inserted);
    WriteChangeLog(description, extra, code, abilitato);
    capture.Commit(transaction, {journal::GestureKind::kClick, kind, principal});
    return Outcome::kWritten;
  } catch (...) {
    w.VisualizzaErrore("InserisciRevocaTipologie");
    return Outcome::kFailed;
  }
}

ParameterSection::Outcome ParameterSection::cmd_RimuoviTIPO_Click() {
  SectionContext& w = context();
  try {
    const store::Principal principal = w.CurrentPrincipal();
    db::Recordset& rs = Need(w.rows(), "Recordset");
    const db::Value empty("");
    current_code_ = db::Trim(SectionContext::NvlValue(rs.Field("CODICE"), empty).ToText());
    const std::string company = CompanyText(SectionContext::NvlValue(rs.Field("DITTARAG"), empty));
    current_description_ = SectionContext::NvlValue(rs.Field("DESCRIZIONE"), empty).ToText();
    if (principal.IsNone()) {
      w.ShowMessage(kNoPrincipal, kExclamation, kNoPrincipalTitle);
      return Outcome::kRefused;
    }
    const int32_t kind = w.section_code();
    if (RevocationExists(kind, current_code_, company)) {
      db::Connection& cn = Need(w.connection(), "Connection");
      db::Transaction transaction(cn);
      journal::GestureCapture capture(w.journal(), cn,
                                      {ParameterScope(principal, kind, current_code_, company)});
      cn.Execute(ParameterStatements::DeleteRevocation(principal, kind, current_code_, company),
                 nullptr, db::kAdExecuteNoRecords);
      WriteChangeLog(current_description_, "", current_code_, 1);
      capture.Commit(transaction, {journal::GestureKind::kClick, kind, principal});
      return Outcome::kWritten;
    }
    if (kind != SectionCodes::kSectionProjects) {
      w.ShowMessage(kNotPresent, kExclamation, w.Caption());
    }
    return Outcome::kAbsent;
  } catch (...) {
    w.VisualizzaErrore("cmd_RimuoviTIPO_Click");
    return Outcome::kFailed;
  }
}

ParameterSection::Outcome ParameterSection::InserisciRevocaNodi(
    std::string_view code, std::string_view /*company*/, int32_t abilitato, int32_t /*modifica*/,
    int32_t /*inserimento*/, int32_t /*eliminazione*/, std::string_view description,
    std::string_view extra) {
  SectionContext& w = context();
  bool written = false;
  try {
    const store::Principal principal = w.CurrentPrincipal();
    if (principal.IsNone()) {
      w.ShowMessage(kNoPrincipal, kExclamation, kNoPrincipalTitle);
      return Outcome::kRefused;
    }
    db::Recordset& rs = Need(w.rows(), "Recordset");
    NodeMerge& nodes = NodeMerge::Find(w);
    // Rows shown for another principal are never written for this one.
    if (!nodes.WorkTableBuiltFor(principal)) return Outcome::kFailed;
    rs.UpdateBatch();
    // The node row, its change-log entry and its journal entry commit
    // together; a failing write is asked about once the transaction has
    // rolled back (retry writes them all again).
    editor::LogErrorRoutine gesture(w, "InserisciRevocaNodi");
    gesture.RunGesture([&] {
      db::Connection& cn = Need(w.connection(), "Connection");
      db::Transaction transaction(cn);
      journal::RowScope scope{journal::JournalTable::kNodes, principal, {}};
      scope.Where("FW3N_DITTA_CG18", rs.Field("DITTARAG"))
          .Where("FW3N_CODPROG_PD68", db::Value(rs.Field("PROGETTO").ToText()))
          .Where("FW3N_CODNODO", db::Value(rs.Field("CODICE").ToText()));
      journal::GestureCapture capture(w.journal(), cn, {scope});
      // The one revocation row this click changes; a MERGE of the whole
      // table would also undo what another editor wrote since the rows were
      // built.
      if (!nodes.SaveNode(principal, rs.Field("DITTARAG"), rs.Field("PROGETTO").ToText(),
                          rs.Field("CODICE").ToText(), abilitato == 0)) {
        return;
      }
      WriteChangeLog(description, extra, code, abilitato);
      capture.Commit(transaction, {journal::GestureKind::kClick, w.section_code(), principal});
      written = true;
    });
    return written ? Outcome::kWritten : Outcome::kFailed;
  } catch (...) {
    w.VisualizzaErrore("InserisciRevocaNodi");
    return written ? Outcome::kWritten : Outcome::kFailed;
  }
}

// --- revoke-all

std::optional<editor::RevocationSet> ParameterSection::EnableAllSet(
    const store::Principal& principal) {
  const int32_t kind = context().section_code();
  editor::RevocationSet set;
  set.probe = BulkStatements::ProbeParameters(principal, kind);
  set.remove = BulkStatements::DeleteParameters(principal, kind);
  set.scope = {journal::JournalTable::kParameters, principal, {}};
  set.scope.Where("FW31_INDTIPO", db::Value(kind));
  return set;
}

}  // namespace orv::sections
