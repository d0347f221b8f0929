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

// The fields of the tree rowset, in order.
enum TreeField : int {
  kPadreKey,
  kKey,
  kText,
  kImage,
  kTag,
  kChecked,
  kChecked2,
  kDitta,
  kTipoCF,
  kCodMacro,
  kCodMiddle,
  kCodRagg,
  kTipoRagg,
  kCodice,
};

// Appends the rows of the tree. Codes are taken from the result as stored.
class TreeWriter {
 public:
  TreeWriter(db::Recordset& tree, std::string company)
      : tree_(tree), company_(std::move(company)) {}

  void Heading(std::string_view prefix, std::string_view text) {
    tree_.AddNew();
    tree_.SetField(kKey, db::Value(std::string(prefix) + company_));
    tree_.SetField(kText, db::Value(text));
    tree_.SetField(kImage, db::Value("open"));
    tree_.Update();
  }

  // One branch row; empty codes are left Null.
  void Branch(const std::string& parent, const std::string& key, const std::string& text,
              const db::Value& checked, const db::Value& ditta, const db::Value& tipocf,
              const db::Value& macro, const db::Value& middle, const db::Value& ragg,
              std::string_view tiporagg) {
    tree_.AddNew();
    tree_.SetField(kPadreKey, db::Value(parent));
    tree_.SetField(kKey, db::Value(key));
    tree_.SetField(kText, db::Value(text));
    tree_.SetField(kImage, db::Value("Raggruppamento"));
    tree_.SetField(kChecked, db::Value(Text(checked)));
    tree_.SetField(kChecked2, db::Value("1"));
    tree_.SetField(kDitta, ditta);
    tree_.SetField(kTipoCF, tipocf);
    if (!macro.IsEmpty()) tree_.SetField(kCodMacro, macro);
    if (!middle.IsEmpty()) tree_.SetField(kCodMiddle, middle);
    if (!ragg.IsEmpty()) tree_.SetField(kCodRagg, ragg);
    tree_.SetField(kTipoRagg, db::Value(tiporagg));
    tree_.Update();
  }

 private:
  db::Recordset& tree_;
  std::string company_;
};

// Column indices of one result, resolved once by name.
class Columns {
 public:
  Columns(const db::Recordset& rs, std::initializer_list<std::string_view> names)
      : Columns(rs, std::vector<std::string_view>(names)) {}
  template <typename Names>
  Columns(const db::Recordset& rs, const Names& names) : rs_(rs) {
    for (std::string_view name : names) {
      const int index = rs.FieldIndex(name);
      if (index < 0) {
        throw db::DbError(db::kErrItemNotFound,
                          "Item cannot be found in the collection corresponding to the requested "
                          "name or ordinal.");
      }
      index_.push_back(index);
    }
  }
  const db::Value& operator[](size_t i) const { return rs_.Field(index_[i]); }
  std::string text(size_t i) const { return Text((*this)[i]); }

 private:
  const db::Recordset& rs_;
  std::vector<int> index_;
};

// Walks every row of a result.
template <typename Row>
void ForEachRow(db::Recordset& rs, Row&& row) {
  if (!rs.IsOpen() || rs.RecordCount() == 0) return;
  for (rs.MoveFirst(); !rs.IsEof(); rs.MoveNext()) row();
}

std::string Upper(const std::string& s) { return db::AsciiUpper(s); }

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
    std::shared_ptr<db::Recordset> tree = CreateTreeRowset();
    w.rows() = tree;
    const store::Principal principal = w.CurrentPrincipal();
    if (principal.IsNone()) return true;

    const int64_t company = w.current_company().ToInt64();
    db::Connection& cn = Need(w.connection(), "Connection");
    // All ten results are taken before the first is walked.
    std::array<std::shared_ptr<db::Recordset>, 10> results;
    results[0] = cn.Execute(CliForStatements::TreeBatch(principal, company));
    for (size_t i = 1; i < results.size(); ++i) results[i] = cn.NextRecordset();
    for (const auto& rs : results) {
      if (!rs) throw db::DbError(db::kErrBadArgument, "Missing result of the classification batch");
    }

    const std::string c = std::to_string(company);
    TreeWriter out(*tree, c);
    const std::string dot = ".";

    out.Heading("G.AREE_", "MacroArea/Area/Zona");
    {
      db::Recordset& rs = *results[0];
      Columns f(
          rs, {"MG07_DITTA_CG18", "MG07_TIPOCF", "MG07_MACROAREA", "MG07_DESCRMACROAR", "CHECKED"});
      ForEachRow(rs, [&] {
        const std::string prefix = f.text(0) + dot + f.text(1) + dot;
        out.Branch("G.AREE_" + c, "M_" + prefix + Upper(f.text(2)),
                   f.text(2) + " - " + f.text(3) + DescrTipoCF(f[1]), f[4], f[0], f[1], f[2],
                   db::Value(), db::Value(), "AREA");
      });
    }
    {
      db::Recordset& rs = *results[1];
      Columns f(rs, {"MG08_DITTA_CG18", "MG08_TIPOCF_MG07", "MG08_MACROAREA_MG07", "MG08_AREA",
                     "MG08_DESCRAREA", "CHECKED"});
      ForEachRow(rs, [&] {
        const std::string parent = f.text(0) + dot + f.text(1) + dot + Upper(f.text(2));
        out.Branch("M_" + parent, "A_" + parent + dot + Upper(f.text(3)),
                   f.text(3) + " - " + f.text(4) + DescrTipoCF(f[1]), f[5], f[0], f[1], f[2], f[3],
                   db::Value(), "AREA");
      });
    }
    {
      db::Recordset& rs = *results[2];
      Columns f(rs, {"MG09_DITTA_CG18", "MG09_TIPOCF_MG08", "MG09_MACROAREA_MG08", "MG09_AREA_MG08",
                     "MG09_ZONA", "MG09_DESCRZONA", "CHECKED"});
      ForEachRow(rs, [&] {
        const std::string parent =
            f.text(0) + dot + f.text(1) + dot + Upper(f.text(2)) + dot + Upper(f.text(3));
        out.Branch("A_" + parent, "Z_" + parent + dot + Upper(f.text(4)),
                   f.text(4) + " - " + f.text(5) + DescrTipoCF(f[1]), f[6], f[0], f[1], f[2], f[3],
                   f[4], "AREA");
      });
    }

    out.Heading("G.CATs_", "MacroCategoria/Categoria/ SottoCategoria");
    {
      db::Recordset& rs = *results[3];
      Columns f(
          rs, {"MG10_DITTA_CG18", "MG10_TIPOCF", "MG10_MACROCAT", "MG10_DESCRMACROCAT", "CHECKED"});
      ForEachRow(rs, [&] {
        out.Branch("G.CATs_" + c, "Y_" + f.text(0) + dot + f.text(1) + dot + f.text(2),
                   f.text(2) + " - " + f.text(3) + DescrTipoCF(f[1]), f[4], f[0], f[1], f[2],
                   db::Value(), db::Value(), "CAT");
      });
    }
    {
      db::Recordset& rs = *results[4];
      Columns f(rs, {"MG11_DITTA_CG18", "MG11_TIPOCF_MG10", "MG11_MACROCAT_MG10", "MG11_CATEG",
                     "MG11_DESCRCAT", "CHECKED"});
      ForEachRow(rs, [&] {
        const std::string parent = f.text(0) + dot + f.text(1) + dot + f.text(2);
        out.Branch("Y_" + parent, "C_" + parent + dot + f.text(3),
                   f.text(3) + " - " + f.text(4) + DescrTipoCF(f[1]), f[5], f[0], f[1], f[2], f[3],
                   db::Value(), "CAT");
      });
    }
    {
      db::Recordset& rs = *results[5];
      if (rs.IsOpen()) rs.SetFilter("MG12_DITTA_CG18 = " + c);
      Columns f(rs, {"MG12_DITTA_CG18", "MG12_TIPOCF_MG11", "MG12_MACROCAT_MG11", "MG12_CATEG_MG11",
                     "MG12_SOTTCAT", "MG12_DESCRSOTTOCAT", "CHECKED"});
      ForEachRow(rs, [&] {
        const std::string parent = f.text(0) + dot + f.text(1) + dot + f.text(2) + dot + f.text(3);
        out.Branch("C_" + parent, "S_" + parent + dot + f.text(4),
                   f.text(4) + " - " + f.text(5) + DescrTipoCF(f[1]), f[6], f[0], f[1], f[2], f[3],
                   f[4], "CAT");
      });
    }

    // The three groupings: "1_"/" - ", "2_"/"-", "3_"/"-".
    struct Grouping {
      std::string_view heading_key, heading, key, separator, kind;
      std::array<std::string_view, 5> columns;
    };
    const std::array<Grouping, 3> groupings = {{
        {"G.RAG1_",
         "Raggruppamento 1",
         "1_",
         " - ",
         "RAGG1",
         {{"MG31_DITTA_CG18", "MG31_TIPOCF", "MG31_CODRAGGRCF1", "MG31_DESCRAGGRCF1", "CHECKED"}}},
        {"G.RAG2_",
         "Raggruppamento 2",
         "2_",
         "-",
         "RAGG2",
         {{"MG32_DITTA_CG18", "MG32_TIPOCF", "MG32_CODRAGGRCF2", "MG32_DESCRAGGRCF2", "CHECKED"}}},
        {"G.RAG3_",
         "Raggruppamento 3",
         "3_",
         "-",
         "RAGG3",
         {{"MG33_DITTA_CG18", "MG33_TIPOCF", "MG33_CODRAGGRCF3", "MG33_DESCRAGGRCF3", "CHECKED"}}},
    }};
    for (size_t g = 0; g < groupings.size(); ++g) {
      const Grouping& grouping = groupings[g];
      out.Heading(grouping.heading_key, grouping.heading);
      db::Recordset& rs = *results[6 + g];
      Columns f(rs, grouping.columns);
      ForEachRow(rs, [&] {
        out.Branch(std::string(grouping.heading_key) + c,
                   std::string(grouping.key) + f.text(0) + dot + f.text(1) + dot + f.text(2),
                   f.text(2) + std::string(grouping.separator) + f.text(3) + DescrTipoCF(f[1]),
                   f[4], f[0], f[1], db::Value(), db::Value(), f[2], grouping.kind);
      });
    }

    out.Heading("G.SEDI_", "Sedi");
    {
      db::Recordset& rs = *results[9];
      Columns f(rs, {"CG31_DITTA_CG18", "CG31_CODICE", "CG31_INDIRIZZO", "CHECKED"});
      ForEachRow(rs, [&] {
        std::string text = f.text(1);
        if (!db::Trim(f.text(2)).empty()) text += "-" + f.text(2);
        out.Branch("G.SEDI_" + c, "E_" + f.text(0) + dot + f.text(1), text, f[3], f[0],
                   db::Value(-1), db::Value(), db::Value(), f[1], "SEDE");
      });
    }
    for (auto& rs : results) rs.reset();

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
