#include "sections/transfers/transfer_section.h"

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "db/ascii.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "editor/section_context.h"
#include "host/err_object.h"
#include "journal/gesture_capture.h"
#include "journal/journal_table.h"
#include "sections/revoke_all/bulk_statements.h"
#include "sections/transfers/transfer_revoke_all.h"
#include "sections/transfers/transfer_statements.h"
#include "store/principal.h"
#include "zere_orvelka/grid_layout.h"
#include "zere_orvelka/matrix_grid.h"
#include "zere_orvelka/message_service.h"

namespace orv::sections {

namespace {

using editor::SectionCodes;
using editor::SectionContext;

constexpr std::string_view kGrid = "GRID_DEPOSITO";
constexpr std::string_view kKeyPrefix = "C_";
constexpr std::string_view kNoPrincipal = "Selezionare almeno un gruppo o un utente!";
constexpr std::string_view kNoPrincipalTitle = "Operazione non valida";
constexpr int32_t kExclamation = 48;

using host::Need;

// Codes as the host database compares them: without regard to case and to
// trailing blanks (a one-character code is written back with a blank).
std::string HostKey(std::string_view code) { return db::AsciiUpper(db::RTrim(code)); }

// The value the grid reports with a click is 0 (the cell was revoked).
bool IsZero(const db::Value& value) {
  return !value.IsNull() && !value.IsEmpty() && value.IsNumeric() && value.ToDouble() == 0;
}

bool IsMatrixKey(std::string_view key) {
  return key.size() > kKeyPrefix.size() && db::EqualsIgnoreCase(key.substr(0, 2), kKeyPrefix);
}

void Execute(db::Connection& connection, const std::string& sql) {
  connection.Execute(sql, nullptr, db::kAdExecuteNoRecords);
}

}  // namespace

TransferSection::TransferSection(editor::SectionContext context) : Section(context) {}

TransferSection::~TransferSection() = default;

// --- key encoding

std::string TransferSection::CodiceToCampo(std::string_view code) {
  std::string key(kKeyPrefix);
  for (char c : db::RTrim(code)) {
    if (c == ' ') {
      key += "___";
    } else if (c == '_') {
      // Escaped, so that a code holding "___" never reads as a blank.
      key += "_5F";
    } else {
      key += c;
    }
  }
  return key;
}

std::string TransferSection::MatrixCode(std::string_view text) { return db::RTrim(text); }

std::string TransferSection::CampoToCodice(std::string_view text) {
  const std::string trimmed = db::RTrim(text);
  std::string code;
  for (size_t i = 0; i < trimmed.size();) {
    if (trimmed.compare(i, 3, "___") == 0) {
      code += ' ';
      i += 3;
    } else if (trimmed.compare(i, 3, "_5F") == 0) {
      code += '_';
      i += 3;
    } else {
      code += trimmed[i++];
    }
  }
  // The code as the warehouse master holds it (no blank appended to a
  // one-character code), the same code the row and column gestures write.
  return code;
}

// --- state

std::shared_ptr<db::Recordset> TransferSection::CurrentMatrix() {
  if (matrix_ && context().rows() == matrix_) return matrix_;
  return nullptr;
}

bool TransferSection::NeedPrincipal() {
  // A row without a principal would name nobody: refuse before writing.
  if (!context().CurrentPrincipal().IsNone()) return true;
  context().ShowMessage(kNoPrincipal, kExclamation, kNoPrincipalTitle);
  return false;
}

int64_t TransferSection::Company() { return context().current_company().ToInt64(); }

// --- grid layout

bool TransferSection::InitGrid(int32_t layout, std::string_view item_key) {
  if (layout != 9) return false;
  SectionContext& w = context();
  host::MatrixGrid& grid = Need(w.host_controls().GRID_DEPOSITO, "GRID_DEPOSITO");
  if (!grid.GetLayout()) {
    host::GridLayout object;
    object.global = w.global();
    object.grouping = false;
    object.matrix = true;
    object.key_column = "CODICE";
    object.number = 0;
    object.item_key = std::string(item_key);
    grid.SetLayout(object);
  }
  grid.ClearColumns();
  grid.AddHeaderGroup("Destinazioni");
  grid.AddHeaderGroup("Origine");
  grid.AddTextColumn("DESCRIZIONE", " ", 3500, "Origine");
  std::shared_ptr<db::Recordset> rs =
      Need(w.connection(), "Connection")
          .Execute(TransferStatements::SelectWarehouseColumns(w.current_company().ToInt64()));
  if (rs && rs->IsOpen()) {
    for (; !rs->IsEof(); rs->MoveNext()) {
      const std::string code = rs->Field("MG58_CODDEP").ToText();
      grid.AddCheckBoxColumn(CodiceToCampo(code), code, "1", "0", 600, "Destinazioni");
    }
  }
  grid.ApplyColumns();
  grid.FinishLayout();
  return true;
}

// --- build and fill

bool TransferSection::LoadData() {
  LoadDepositi();
  return true;
}

void TransferSection::LoadDepositi() {
  SectionContext& w = context();
  try {
    auto matrix = std::make_shared<db::Recordset>();
    w.rows() = matrix;
    matrix_ = matrix;
    db::Connection& connection = Need(w.connection(), "Connection");
    const int64_t company = Company();

    // One destination field per warehouse. Two codes that give the same key
    // would make one field ambiguous; the first keeps it.
    std::vector<std::string> keys;
    std::set<std::string> seen;
    std::shared_ptr<db::Recordset> warehouses =
        connection.Execute(TransferStatements::SelectWarehouses(company));
    if (warehouses && warehouses->IsOpen()) {
      for (; !warehouses->IsEof(); warehouses->MoveNext()) {
        std::string key = CodiceToCampo(warehouses->Field("MG58_CODDEP").ToText());
        if (seen.insert(db::AsciiUpper(key)).second) keys.push_back(std::move(key));
      }
    }
    const std::string sql = TransferStatements::Catalogue(company, keys);

    matrix->AppendField("CODICE", db::DataType::kChar, 25, false);
    matrix->AppendField("DESCRIZIONE", db::DataType::kVarChar, 300);
    if (sql.empty()) {
      // No warehouse: an empty matrix, bound by the next fill.
      matrix->Open();
      return;
    }
    for (const std::string& key : keys) matrix->AppendField(key, db::DataType::kVarChar, 5);
    matrix->Open();

    std::shared_ptr<db::Recordset> rows = connection.Execute(sql);
    if (rows && rows->IsOpen()) {
      std::vector<int> columns;
      columns.reserve(static_cast<size_t>(matrix->FieldCount()));
      auto column = [&](std::string_view name) {
        const int index = rows->FieldIndex(name);
        if (index < 0) {
          throw db::DbError(db::kErrItemNotFound,
                            "Item cannot be found in the collection corresponding to the "
                            "requested name or ordinal.");
        }
        columns.push_back(index);
      };
      column("codice");
      column("Descrizione");
      for (const std::string& key : keys) column(key);
      matrix->AppendRows(*rows, columns);
    }
    if (matrix->RecordCount() > 0) matrix->MoveFirst();
    host::MatrixGrid& grid = Need(w.host_controls().GRID_DEPOSITO, "GRID_DEPOSITO");
    grid.SetDataSource(matrix);
    grid.RefreshLayout();
  } catch (...) {
    // The build ends without a message; no half-built matrix stays behind
    // for the fill and the clicks to work on.
    if (w.rows() == matrix_) w.rows().reset();
    matrix_.reset();
    try {
      if (w.host_controls().GRID_DEPOSITO) w.host_controls().GRID_DEPOSITO->SetDataSource(nullptr);
    } catch (...) {
    }
  }
}

bool TransferSection::LoadRevokeDepositi() {
  FillMatrix();
  return true;
}

void TransferSection::FillMatrix(std::shared_ptr<db::Recordset> not_revoked) {
  SectionContext& w = context();
  std::shared_ptr<db::Recordset> matrix = CurrentMatrix();
  try {
    const store::Principal principal = w.CurrentPrincipal();
    // Nothing built (another section is shown, or the build failed).
    if (!matrix) return;
    host::MatrixGrid& grid = Need(w.host_controls().GRID_DEPOSITO, "GRID_DEPOSITO");
    // Unbound until every cell holds the database's state: after a failure
    // the grid shows nothing rather than cells the database does not have.
    grid.SetDataSource(nullptr);
    db::Connection& connection = Need(w.connection(), "Connection");
    const int64_t company = Company();

    // Destination fields by warehouse code. A warehouse added after the
    // build has no column yet and is left out until the next build.
    std::vector<int> cells;
    std::map<std::string, std::vector<int>> by_code;
    std::shared_ptr<db::Recordset> warehouses =
        connection.Execute(TransferStatements::SelectWarehouses(company));
    if (warehouses && warehouses->IsOpen()) {
      for (; !warehouses->IsEof(); warehouses->MoveNext()) {
        const std::string code = warehouses->Field("MG58_CODDEP").ToText();
        const int index = matrix->FieldIndex(CodiceToCampo(code));
        if (index < 0) continue;
        cells.push_back(index);
        by_code[HostKey(code)].push_back(index);
      }
    }
    // A cell without a row is allowed; with every pair's row written, a
    // warehouse's cells are revoked but for the rows read below. The cells
    // are set as the matrix's contents, row by row of each kind at once.
    const bool every_pair_has_row = not_revoked != nullptr;
    if (matrix->RecordCount() > 0) {
      const int origin = every_pair_has_row ? matrix->FieldIndex("CODICE") : -1;
      std::vector<db::Recordset::Bookmark> warehouse_rows;
      std::vector<db::Recordset::Bookmark> other_rows;
      for (matrix->MoveFirst(); !matrix->IsEof(); matrix->MoveNext()) {
        const bool warehouse =
            origin >= 0 && by_code.count(HostKey(matrix->Field(origin).ToText())) > 0;
        (warehouse ? warehouse_rows : other_rows).push_back(matrix->GetBookmark());
      }
      matrix->SetContents(warehouse_rows, cells, db::Value(0));
      matrix->SetContents(other_rows, cells, db::Value("1"));
    }

    // The revocations, grouped by origin in the order they come, so that
    // each origin's row is looked up once.
    std::shared_ptr<db::Recordset> revocations =
        every_pair_has_row
            ? std::move(not_revoked)
            : connection.Execute(TransferStatements::SelectRevocations(principal, company));
    struct Origin {
      std::string code;
      std::vector<std::pair<std::string, db::Value>> cells;  // destination, flag
    };
    std::vector<Origin> origins;
    std::map<std::string, size_t> origin_index;
    if (revocations && revocations->IsOpen()) {
      const int ori = revocations->FieldIndex("FW3E_CODDEP_ORI");
      const int des = revocations->FieldIndex("FW3E_CODDEP_DES");
      const int flag = revocations->FieldIndex("FW3E_FLGABILITATO");
      for (; !revocations->IsEof(); revocations->MoveNext()) {
        const std::string origin = revocations->Field(ori).ToText();
        auto [it, added] = origin_index.emplace(HostKey(origin), origins.size());
        if (added) origins.push_back(Origin{origin, {}});
        // The cell shows the row's flag; a row without one is a revocation.
        db::Value value = revocations->Field(flag);
        if (value.IsNull() || value.IsEmpty()) value = db::Value(0);
        origins[it->second].cells.emplace_back(revocations->Field(des).ToText(), value);
      }
    }
    for (const Origin& origin : origins) {
      matrix->SetFilter(TransferStatements::OriginFilter(origin.code));
      if (matrix->IsEof()) continue;
      for (const auto& [destination, value] : origin.cells) {
        auto found = by_code.find(HostKey(destination));
        if (found == by_code.end()) continue;
        for (int index : found->second) matrix->SetField(index, value);
      }
      matrix->Update();
    }

    matrix->ClearFilter();
    grid.SetDataSource(matrix);
    grid.Refresh();
  } catch (...) {
    if (matrix) {
      try {
        matrix->ClearFilter();
      } catch (...) {
      }
    }
    w.VisualizzaErrore("LoadRevokeDepositi");
  }
}

// --- clicks

journal::RowScope TransferSection::TransferScope(const store::Principal& principal,
                                                 int64_t company) {
  journal::RowScope scope{journal::JournalTable::kTransfers, principal, {}};
  scope.Where("FW3E_DITTA_CG18", db::Value(company));
  return scope;
}

std::string TransferSection::PrincipalName() { return context().CurrentPrincipal().name(); }

bool TransferSection::GridSelectionBoxClick(std::string_view grid, std::string_view /*row_key*/,
                                            std::string_view column_key,
                                            const db::Value& value_before, bool& cancel) {
  if (grid != kGrid) return false;
  SectionContext& w = context();
  // Cancelled until the statement has run: a failure leaves the cell as the
  // database still has it.
  cancel = true;
  std::shared_ptr<db::Recordset> matrix = CurrentMatrix();
  const auto& control = w.host_controls().GRID_DEPOSITO;
  if (!matrix || !control || control->GetDataSource() != matrix || !IsMatrixKey(column_key) ||
      matrix->IsEof() || matrix->BOF()) {
    return true;
  }
  if (!NeedPrincipal()) return true;
  const store::Principal principal = w.CurrentPrincipal();
  const std::string origin = MatrixCode(matrix->Field("CODICE").ToText());
  const std::string destination = CampoToCodice(column_key.substr(kKeyPrefix.size()));
  const int64_t company = Company();
  db::Connection& connection = Need(w.connection(), "Connection");
  {
    db::Transaction transaction(connection);
    journal::GestureCapture capture(w.journal(), connection,
                                    {TransferScope(principal, company)
                                         .Where("FW3E_CODDEP_ORI", db::Value(origin))
                                         .Where("FW3E_CODDEP_DES", db::Value(destination))});
    if (!IsZero(value_before)) {
      Execute(connection, TransferStatements::InsertPair(principal, company, origin, destination));
    } else {
      Execute(connection, TransferStatements::DeletePair(principal, company, origin, destination));
    }
    capture.Commit(transaction, {journal::GestureKind::kClick, w.section_code(), principal});
  }
  cancel = false;
  return true;
}

bool TransferSection::GridHeaderCheckBoxClick(std::string_view grid, std::string_view column_key,
                                              bool new_state, bool& cancel) {
  if (grid != kGrid) return false;
  SectionContext& w = context();
  cancel = true;
  if (!IsMatrixKey(column_key)) return true;
  if (!NeedPrincipal()) return true;
  const store::Principal principal = w.CurrentPrincipal();
  const std::string destination = CampoToCodice(column_key.substr(kKeyPrefix.size()));
  const int64_t company = Company();
  db::Connection& connection = Need(w.connection(), "Connection");
  {
    // The delete and the insert that revokes the destination again land
    // together or not at all.
    db::Transaction transaction(connection);
    journal::GestureCapture capture(
        w.journal(), connection,
        {TransferScope(principal, company).Where("FW3E_CODDEP_DES", db::Value(destination))});
    Execute(connection, TransferStatements::DeleteDestination(principal, company, destination));
    if (!new_state) {
      Execute(connection, TransferStatements::InsertDestination(principal, company, destination));
    }
    capture.Commit(transaction, {journal::GestureKind::kHeader, w.section_code(), principal});
  }
  cancel = false;
  FillMatrix();
  return true;
}

// --- buttons

bool TransferSection::ButtonClick(std::string_view name) {
  if (name == "VRX_ABIDISDEPORI") {
    VRX_ABIDISDEPORI_ButtonClick();
  } else if (name == "VRX_DISABILITATUTTIDEP") {
    VRX_DISABILITATUTTIDEP_ButtonClick();
  } else if (name == "VRX_ABILITATUTTIU") {
    VRX_ABILITATUTTIU_ButtonClick();
  } else if (name == "VRX_DISABILITATUTTIU") {
    VRX_DISABILITATUTTIU_ButtonClick();
  } else {
    return false;
  }
  return true;
}

void TransferSection::VRX_ABIDISDEPORI_ButtonClick() {
  SectionContext& w = context();
  try {
    db::Recordset& matrix = Need(CurrentMatrix(), "Recordset");
    if (!NeedPrincipal()) return;
    const store::Principal principal = w.CurrentPrincipal();
    const std::string origin = MatrixCode(matrix.Field("CODICE").ToText());
    const int64_t company = Company();
    db::Connection& connection = Need(w.connection(), "Connection");
    {
      // Probe, delete and the insert that revokes the whole row again land
      // together or not at all.
      db::Transaction transaction(connection);
      journal::GestureCapture capture(
          w.journal(), connection,
          {TransferScope(principal, company).Where("FW3E_CODDEP_ORI", db::Value(origin))});
      std::shared_ptr<db::Recordset> probe =
          connection.Execute(TransferStatements::ProbeOrigin(principal, company, origin));
      const bool found = probe && probe->IsOpen() && !probe->IsEof();
      probe.reset();
      Execute(connection, TransferStatements::DeleteOrigin(principal, company, origin));
      if (!found) {
        Execute(connection, TransferStatements::InsertOrigin(principal, company, origin));
      }
      capture.Commit(transaction, {journal::GestureKind::kOrigin, w.section_code(), principal});
    }
    const db::Recordset::Bookmark bookmark = matrix.GetBookmark();
    FillMatrix();
    matrix.SetBookmark(bookmark);
  } catch (...) {
    w.VisualizzaErrore("VRX_ABIDISDEPORI_ButtonClickErr");
  }
}

std::shared_ptr<db::Recordset> TransferSection::DisabilitaTuttiDep(const db::Value& user,
                                                                   const db::Value& group) {
  SectionContext& w = context();
  try {
    // Rows for nobody would break the table's rule that one principal owns
    // each row.
    if (user.IsNull() && group.IsNull()) return nullptr;
    const store::Principal principal =
        user.IsNull() ? store::Principal::Group(group.ToInt64(), PrincipalName())
                      : store::Principal::User(user.ToInt64(), PrincipalName());
    db::Connection& connection = Need(w.connection(), "Connection");
    db::Transaction transaction(connection);
    journal::GestureCapture capture(w.journal(), connection, {TransferScope(principal, Company())});
    TransferRevokeAll revoke(principal, Company());
    revoke.Write(connection);
    // Without a journal nobody reads what it wrote.
    if (w.journal() != nullptr) revoke.TellCapture(capture);
    capture.Commit(transaction, {journal::GestureKind::kDisableAll, w.section_code(), principal});
    return revoke.TakeNotRevoked();
  } catch (...) {
    w.VisualizzaErrore("DisabilitaTuttiDep");
    return nullptr;
  }
}

void TransferSection::VRX_DISABILITATUTTIDEP_ButtonClick() {
  SectionContext& w = context();
  try {
    if (!NeedPrincipal()) return;
    if (w.ShowMessage("Confermi la disabilitazione dell' utente/gruppo selezionato?",
                      host::kVbYesNo, "") != host::kVbYes) {
      return;
    }
    const store::Principal principal = w.CurrentPrincipal();
    // Done, every pair of the warehouses has a row: the matrix takes the
    // rows that show something else than revoked as the gesture read them.
    FillMatrix(DisabilitaTuttiDep(principal.user_id(), principal.group_id()));
  } catch (...) {
    w.VisualizzaErrore("VRX_DISABILITATUTTIDEP_ButtonClick");
  }
}

void TransferSection::AbilitaDisabilitaTuttu(bool enable) {
  SectionContext& w = context();
  try {
    db::Connection& connection = Need(w.connection(), "Connection");
    journal::Gesture gesture{enable ? journal::GestureKind::kEnableAllPrincipals
                                    : journal::GestureKind::kRevokeAllPrincipals,
                             w.section_code(), store::Principal(), true};
    if (enable) {
      db::Transaction transaction(connection);
      journal::GestureCapture capture(w.journal(), connection,
                                      {TransferScope(store::Principal(), Company())});
      Execute(connection, TransferStatements::DeleteCompany(Company()));
      capture.Commit(transaction, gesture);
    } else {
      std::vector<std::pair<db::Value, int32_t>> principals;  // identifier, kind
      std::shared_ptr<db::Recordset> rs = connection.Execute(TransferStatements::kSelectPrincipals);
      if (rs && rs->IsOpen()) {
        for (; !rs->IsEof(); rs->MoveNext()) {
          principals.emplace_back(rs->Field("ID"), rs->Field("TIPO").ToInt32());
        }
      }
      rs.reset();
      // One transaction, a savepoint per principal: the first failure ends
      // the walk with one message (a failing database would fail every
      // principal, each with its own box), and the principals done before
      // it stay done. Nothing is held open while the message waits.
      std::optional<host::ErrObject> failure;
      {
        db::Transaction transaction(connection);
        journal::GestureCapture capture(w.journal(), connection,
                                        {TransferScope(store::Principal(), Company())});
        for (const auto& [id, kind] : principals) {
          const db::Value user = kind == 0 ? id : db::Value::Null();
          const db::Value group = kind == 0 ? db::Value::Null() : id;
          if (user.IsNull() && group.IsNull()) continue;
          try {
            db::Transaction one(connection);
            Execute(connection, TransferStatements::InsertMissingPairs(user, group, Company()));
            one.Commit();
          } catch (...) {
            failure = host::ErrObject::FromCurrentException();
            break;
          }
        }
        capture.Commit(transaction, gesture);
      }
      if (failure) w.VisualizzaErrore("DisabilitaTuttiDep", *failure);
    }
    FillMatrix();
  } catch (...) {
    w.VisualizzaErrore("AbilitaDisabilitaTuttu");
  }
}

void TransferSection::VRX_ABILITATUTTIU_ButtonClick() {
  if (context().ShowMessage("Confermi l' abilitazione di tutti gli utenti?", host::kVbYesNo, "") ==
      host::kVbYes) {
    AbilitaDisabilitaTuttu(true);
  }
}

void TransferSection::VRX_DISABILITATUTTIU_ButtonClick() {
  if (context().ShowMessage("Confermi la disabilitazione di tutti gli utenti?", host::kVbYesNo,
                            "") == host::kVbYes) {
    AbilitaDisabilitaTuttu(false);
  }
}

// --- revoke-all

std::optional<editor::RevocationSet> TransferSection::EnableAllSet(
    const store::Principal& principal) {
  const db::Value& company = context().current_company();
  editor::RevocationSet set;
  set.remove = BulkStatements::DeleteTransfers(
      principal, company.IsNull() || company.IsEmpty() ? "NULL" : company.ToText());
  return set;
}

}  // namespace orv::sections
