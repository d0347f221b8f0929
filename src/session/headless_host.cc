#include "session/headless_host.h"

#include <optional>
#include <stdexcept>
#include <string>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sql_literal.h"
#include "db/value_variant.h"
#include "editor/frmfw_orvelka.h"
#include "journal/journal.h"
#include "journal/journal_report.h"
#include "journal/principal_names.h"
#include "module/clsfw_orvelka.h"
#include "module/clsfw_permessiditta.h"
#include "session/recordset_rows.h"
#include "store/company.h"
#include "store/login.h"

namespace orv::session {
namespace {

std::string Join(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += '\t';
    line += OneLine(cells[i]);
  }
  return line;
}

std::string ValueText(const db::Value& value) {
  if (value.IsNull()) return "NULL";
  return value.ToText();
}

// The fields of `rs` that no column shows.
std::vector<std::string> HiddenFields(db::Recordset& rs,
                                      const std::vector<host::GridColumn>& columns,
                                      const std::vector<std::string>& also_shown) {
  std::vector<std::string> hidden;
  for (int i = 0; i < rs.FieldCount(); ++i) {
    const std::string& name = rs.FieldAt(i).name;
    bool shown = false;
    for (const host::GridColumn& col : columns) shown = shown || (col.shown && col.field == name);
    for (const std::string& other : also_shown) shown = shown || other == name;
    if (!shown) hidden.push_back(name);
  }
  return hidden;
}

}  // namespace

const std::vector<std::string>* GridTable::Row(std::string_view id) const {
  for (const auto& row : rows) {
    if (!row.empty() && row.front() == id) return &row;
  }
  return nullptr;
}

HeadlessHost::HeadlessHost()
    : navigator_(std::make_shared<HeadlessNavigator>()),
      ui_(std::make_shared<HeadlessUi>([this] { return connection(); })) {}

HeadlessHost::~HeadlessHost() {
  // The module goes first: its destruction still talks to the host objects.
  module_.reset();
  ui_->ForgetClosedWindows();
}

std::shared_ptr<db::Connection> HeadlessHost::connection() {
  if (!connection_) {
    if (connection_string_.empty()) throw std::runtime_error("no database: open one first");
    auto cn = db::Connection::Create();
    if (observer_) cn->SetStatementObserver(observer_, "host");
    cn->Open(connection_string_);
    connection_ = cn;
  }
  return connection_;
}

void HeadlessHost::SetStatementObserver(std::shared_ptr<db::StatementObserver> observer) {
  observer_ = std::move(observer);
  if (connection_) connection_->SetStatementObserver(observer_, "host");
  if (global_) global_->settings().statement_observer = observer_;
  if (module_) {
    if (std::shared_ptr<db::Connection> cn = db::Connection::FromHandle(module_->GetConnection())) {
      cn->SetStatementObserver(observer_, "module");
    }
  }
}

void HeadlessHost::UseDatabase(const std::string& connection_string) {
  if (connection_string == connection_string_) return;
  connection_.reset();
  connection_string_ = connection_string;
}

void HeadlessHost::Open(const HeadlessOptions& options) {
  Release();
  if (options.connection_string != connection_string_) connection_.reset();
  connection_string_ = options.connection_string;

  HeadlessGlobal::Settings settings;
  settings.connection_string = options.connection_string;
  settings.login = options.login;
  settings.statement_observer = observer_;
  if (options.administrator) {
    // The role is given; a login the database knows must still be active.
    const std::optional<store::Login> login = store::Login::Read(*connection(), options.login);
    if (login && !login->active) throw std::runtime_error("login not active: " + options.login);
    settings.administrator = *options.administrator;
  } else {
    settings.administrator = store::Login::Admit(*connection(), options.login).administrator;
  }
  if (options.company) {
    settings.company = *options.company;
  } else {
    const auto companies = store::Company::ReadAll(*connection());
    if (companies.empty()) throw std::runtime_error("the database has no company");
    settings.company = companies.front().ditta;
  }
  global_ = std::make_shared<HeadlessGlobal>(std::move(settings), answers_, output_);

  module_ = host::CLSFW_ORVELKA::Create();
  module_->SetHostUi(ui_);
  module_->SetClsGlobal(global_);
  module_->SetActiveNavigator(navigator_);
  module_->SetCaption(db::ToVariant(options.caption));
  module_->SetWindowModal(options.modal);
  module_->SetTop(db::ToVariant(options.top));
  module_->SetLeft(db::ToVariant(options.left));
  module_->SetIsActive(options.active);
  if (options.window_state) module_->SetWindowState(*options.window_state);
  if (options.program_mode) module_->SetProgramMode(*options.program_mode);
  if (options.filtro) module_->SetFiltro(db::ToVariant(*options.filtro));
  module_->ShowForm();
}

editor::FRMFW_ORVELKA* HeadlessHost::window() {
  return module_ ? module_->editor().get() : nullptr;
}

editor::FRMFW_ORVELKA& HeadlessHost::NeedWindow() {
  editor::FRMFW_ORVELKA* w = window();
  if (w == nullptr || w->unloaded()) throw std::invalid_argument("the editor is not open");
  return *w;
}

void HeadlessHost::Activate() { NeedWindow().Form_Activate(); }

bool HeadlessHost::Close() {
  if (!module_) return true;
  const db::Value closed = db::FromVariant(module_->CloseForm());
  ui_->ForgetClosedWindows();
  return closed.ToBool();
}

void HeadlessHost::Release() {
  module_.reset();
  ui_->ForgetClosedWindows();
}

void HeadlessHost::ShowAgain() {
  if (!module_) throw std::invalid_argument("the module is not open");
  module_->ShowForm();
}

// --- gestures

void HeadlessHost::SelectPrincipal(int32_t kind, int64_t id) {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  if (!controls().tree->Select(kind, id)) {
    throw std::invalid_argument("no such principal in the tree");
  }
  w.trv_GU_NodeClick(controls().tree->SelectedNode());
}

void HeadlessHost::SelectNoPrincipal() {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  controls().tree->SelectNone();
  w.trv_GU_NodeClick(std::nullopt);
}

void HeadlessHost::CopyFrom(int32_t kind, int64_t id) {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  if (!controls().copy_tree->Select(kind, id)) {
    throw std::invalid_argument("no such principal in the copy tree");
  }
  w.VRX_TREEUTENTICOPIA_NodeClick(controls().copy_tree->SelectedNode());
}

void HeadlessHost::CopyFromNone() {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  controls().copy_tree->SelectNone();
  w.VRX_TREEUTENTICOPIA_NodeClick(std::nullopt);
}

void HeadlessHost::SelectRow(std::string_view grid, std::string_view row) {
  NeedWindow();
  const MemoryControls& c = controls();
  bool found = false;
  if (grid == "GRIDTIPOLOGIE") {
    int index = 0;
    try {
      index = std::stoi(std::string(row));
    } catch (...) {
      throw std::invalid_argument("the row of GRIDTIPOLOGIE is a number");
    }
    found = c.grid->MoveToDisplayRow(index);
  } else if (grid == "TGRID_CLIFOR") {
    found = c.tree_grid->MoveToKey(row);
  } else if (grid == "GRID_DEPOSITO") {
    found = c.matrix->MoveToOrigin(row);
  } else {
    throw std::invalid_argument("unknown grid");
  }
  if (!found) throw std::invalid_argument("no such row");
}

void HeadlessHost::ChooseSection(std::string_view key) {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  host::SideBarItem item{std::string(key), controls().side_bar->ItemCaption(key)};
  w.VRX_SIDEBAR1_ItemClick(item);
}

void HeadlessHost::ClickGrid(std::string_view grid, std::string_view row, std::string_view column) {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  const MemoryControls& c = controls();
  bool cancel = false;
  if (grid == "GRIDTIPOLOGIE") {
    const host::GridColumn* col = c.grid->FindColumn(column);
    if (col == nullptr || !col->check_box) throw std::invalid_argument("no check-box column");
    int index = 0;
    try {
      index = std::stoi(std::string(row));
    } catch (...) {
      throw std::invalid_argument("the row of GRIDTIPOLOGIE is a number");
    }
    if (!c.grid->MoveToDisplayRow(index)) throw std::invalid_argument("no such row");
    std::shared_ptr<db::Recordset> rs = c.grid->recordset();
    const db::Value before = rs->Field(col->field);
    const std::string key = rs->HasField("CODICE") ? CellText(*rs, "CODICE") : std::string(row);
    w.GRIDTIPOLOGIE_SelectionBoxClick(key, column, before, cancel);
    if (!cancel && c.grid->recordset() == rs) {
      rs->SetField(col->field, db::Value(col->Toggled(CellText(*rs, col->field))));
    }
    return;
  }
  if (grid == "TGRID_CLIFOR") {
    const host::GridColumn* col = c.tree_grid->FindColumn(column);
    if (col == nullptr || !col->check_box) throw std::invalid_argument("no check-box column");
    if (!c.tree_grid->MoveToKey(row)) throw std::invalid_argument("no such row");
    w.TGRID_CLIFOR_BeforeCheck(cancel);
    if (cancel) return;
    std::shared_ptr<db::Recordset> rs = c.tree_grid->recordset();
    const std::string after = col->Toggled(CellText(*rs, col->field));
    rs->SetField(col->field, db::Value(after));
    w.TGRID_CLIFOR_CheckChange(column, after);
    return;
  }
  if (grid == "GRID_DEPOSITO") {
    const host::GridColumn* col = c.matrix->FindColumn(column);
    if (col == nullptr || !col->check_box) throw std::invalid_argument("no check-box column");
    if (!c.matrix->MoveToOrigin(row)) throw std::invalid_argument("no such row");
    std::shared_ptr<db::Recordset> rs = c.matrix->recordset();
    const db::Value before = rs->Field(col->field);
    w.GRID_DEPOSITO_SelectionBoxClick(row, column, before, cancel);
    if (!cancel && c.matrix->recordset() == rs) {
      rs->SetField(col->field, db::Value(col->Toggled(CellText(*rs, col->field))));
    }
    return;
  }
  throw std::invalid_argument("unknown grid");
}

void HeadlessHost::HeaderClick(std::string_view grid, std::string_view column, bool state) {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  bool cancel = false;
  if (grid == "GRIDTIPOLOGIE") {
    if (controls().grid->FindColumn(column) == nullptr) throw std::invalid_argument("no column");
    w.GRIDTIPOLOGIE_HeaderCheckBoxClick(column, state, cancel);
  } else if (grid == "GRID_DEPOSITO") {
    if (controls().matrix->FindColumn(column) == nullptr) throw std::invalid_argument("no column");
    w.GRID_DEPOSITO_HeaderCheckBoxClick(column, state, cancel);
  } else {
    throw std::invalid_argument("unknown grid");
  }
}

void HeadlessHost::Button(std::string_view name) {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  if (w.FindControl(name) == nullptr) throw std::invalid_argument("no such control");
  if (name == "PICUP") {
    w.PICUP_DblClick();
  } else if (name == "PICDOWN") {
    w.PICDOWN_DblClick();
  } else if (name == "SPLIT_OCX") {
    w.SPLIT_OCX_DblClick();
  } else {
    w.ButtonClick(name);
  }
}

void HeadlessHost::Check(std::string_view name, const db::Value& value) {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  editor::Control* control = w.FindControl(name);
  if (control == nullptr || (control->type() != "CheckBox" && control->type() != "VRX_CHECKBOX")) {
    throw std::invalid_argument("no such check box");
  }
  w.SetCheckValue(name, value);
}

void HeadlessHost::Tick(std::string_view name, bool ticked) {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  editor::Control* control = w.FindControl(name);
  if (control == nullptr || control->type() != "VRX_CHECKBOX") {
    throw std::invalid_argument("no such box in the copy panel");
  }
  w.SetCheckValue(name, db::Value(ticked ? 1 : 0));
}

void HeadlessHost::Filter(std::string_view field, std::string_view from, std::string_view to) {
  NeedWindow();
  if (!controls().query->SetCriterion(field, from, to)) {
    throw std::invalid_argument("no such field in the query control");
  }
}

bool HeadlessHost::RaiseChangeDitta() { return navigator_->RaiseChangeDitta(); }

// --- reading

GridTable HeadlessHost::ReadGrid(std::string_view grid, bool hidden) {
  NeedWindow();
  const MemoryControls& c = controls();
  GridTable table;
  if (grid == "GRIDTIPOLOGIE") {
    table.header.push_back("ROW");
    for (const host::GridColumn& col : c.grid->columns()) table.header.push_back(col.key);
    std::shared_ptr<db::Recordset> rs = c.grid->recordset();
    if (!rs) return table;
    std::vector<std::string> extra;
    if (hidden) extra = HiddenFields(*rs, c.grid->columns(), {});
    for (const std::string& field : extra) table.header.push_back(field);
    const std::string& group = c.grid->group_column();
    // Every read keeps the current row (VisibleRows restores it too).
    const std::vector<db::Recordset::Bookmark> rows = c.grid->DisplayRows();
    std::optional<db::Recordset::Bookmark> saved;
    if (!rs->BOF() && !rs->IsEof()) saved = rs->GetBookmark();
    int n = 0;
    for (db::Recordset::Bookmark row : rows) {
      rs->SetBookmark(row);
      std::vector<std::string> cells{std::to_string(++n)};
      for (const host::GridColumn& col : c.grid->columns()) {
        cells.push_back(rs->HasField(col.field) ? OneLine(CellText(*rs, col.field)) : "");
      }
      for (const std::string& field : extra) cells.push_back(OneLine(CellText(*rs, field)));
      table.rows.push_back(std::move(cells));
      table.groups.push_back(!group.empty() && rs->HasField(group) ? OneLine(CellText(*rs, group))
                                                                   : std::string());
    }
    if (saved) rs->SetBookmark(*saved);
    return table;
  }
  if (grid == "TGRID_CLIFOR" || grid == "GRID_DEPOSITO") {
    const bool tree = grid == "TGRID_CLIFOR";
    const std::vector<host::GridColumn>& columns =
        tree ? c.tree_grid->columns() : c.matrix->columns();
    table.header =
        tree ? std::vector<std::string>{"KEY", "PADRE_KEY"} : std::vector<std::string>{"CODICE"};
    for (const host::GridColumn& col : columns) {
      if (col.shown) table.header.push_back(col.key);
    }
    std::shared_ptr<db::Recordset> rs = tree ? c.tree_grid->recordset() : c.matrix->recordset();
    if (!rs) return table;
    std::vector<std::string> extra;
    if (hidden) {
      extra = HiddenFields(*rs, columns,
                           tree ? std::vector<std::string>{c.tree_grid->key_field(), "PADRE_KEY"}
                                : std::vector<std::string>{"CODICE"});
    }
    for (const std::string& field : extra) table.header.push_back(field);
    std::optional<db::Recordset::Bookmark> saved;
    if (!rs->BOF() && !rs->IsEof()) saved = rs->GetBookmark();
    for (db::Recordset::Bookmark row : VisibleRows(*rs)) {
      rs->SetBookmark(row);
      std::vector<std::string> cells;
      if (tree) {
        cells.push_back(OneLine(CellText(*rs, c.tree_grid->key_field())));
        cells.push_back(rs->HasField("PADRE_KEY") ? OneLine(CellText(*rs, "PADRE_KEY")) : "");
      } else {
        cells.push_back(OneLine(CellText(*rs, "CODICE")));
      }
      for (const host::GridColumn& col : columns) {
        if (!col.shown) continue;
        cells.push_back(rs->HasField(col.field) ? OneLine(CellText(*rs, col.field)) : "");
      }
      for (const std::string& field : extra) cells.push_back(OneLine(CellText(*rs, field)));
      table.rows.push_back(std::move(cells));
      table.groups.emplace_back();
    }
    if (saved) rs->SetBookmark(*saved);
    return table;
  }
  throw std::invalid_argument("unknown grid");
}

std::vector<std::string> HeadlessHost::ShowGrid(std::string_view grid, bool hidden) {
  const GridTable table = ReadGrid(grid, hidden);
  std::vector<std::string> lines{Join(table.header)};
  for (size_t i = 0; i < table.rows.size(); ++i) {
    if (!table.groups[i].empty() && (i == 0 || table.groups[i] != table.groups[i - 1])) {
      lines.push_back("GROUP\t" + table.groups[i]);
    }
    std::string line;
    for (size_t k = 0; k < table.rows[i].size(); ++k) {
      line += (k > 0 ? "\t" : "") + table.rows[i][k];
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> HeadlessHost::ShowControls() {
  editor::FRMFW_ORVELKA& w = NeedWindow();
  std::vector<std::string> lines{"NAME\tTYPE\tVISIBLE\tLEFT\tTOP\tWIDTH\tHEIGHT\tCAPTION\tVALUE"};
  for (editor::Control* c : w.controls()) {
    lines.push_back(
        Join({c->name(), c->type(), c->visible() ? "1" : "0", std::to_string(c->left()),
              std::to_string(c->top()), std::to_string(c->width()), std::to_string(c->height()),
              c->caption(), c->value().IsEmpty() ? "" : ValueText(c->value())}));
  }
  return lines;
}

std::vector<std::string> HeadlessHost::ShowMessages() {
  std::vector<std::string> lines{"BUTTONS\tTITLE\tPROMPT\tANSWER"};
  if (!global_) return lines;
  for (const ShownMessage& m : global_->messages().messages()) {
    lines.push_back(Join({std::to_string(m.buttons), m.title, m.prompt, std::to_string(m.answer)}));
  }
  return lines;
}

std::vector<std::string> HeadlessHost::ShowLog() {
  std::vector<std::string> lines{"EVENT\tTEXT"};
  if (!global_) return lines;
  for (const ChangeLogEntry& e : global_->change_log().entries()) {
    lines.push_back(Join({std::to_string(e.event), e.text}));
  }
  return lines;
}

void HeadlessHost::Undo() { NeedWindow().UndoGesture(); }
void HeadlessHost::Redo() { NeedWindow().RedoGesture(); }
void HeadlessHost::Revert(int64_t entry_id) { NeedWindow().RevertGesture(entry_id); }

std::vector<std::string> HeadlessHost::ShowJournal() {
  std::vector<std::string> lines{
      "ID	GESTURE	SECTION	PRINCIPAL	ROWS	UNDO_OF	REDO_OF	UNDONE	SUMMARY"};
  editor::FRMFW_ORVELKA* w = window();
  if (w == nullptr || w->journal() == nullptr) return lines;
  std::optional<journal::PrincipalNames> names;
  if (w->connection()) names.emplace(*w->connection());
  const journal::JournalReport::NameOf name = [&](const journal::JournalEntry& e) {
    return names ? names->Of(e) : std::string();
  };
  for (const journal::JournalEntry& e : w->journal()->Entries()) {
    const std::string principal =
        e.principal_kind.empty() ? std::string("-") : journal::JournalReport::Principal(e, name);
    lines.push_back(Join({std::to_string(e.id), std::string(journal::GestureCode(e.kind)),
                          std::to_string(e.section), principal, std::to_string(e.image_count),
                          std::to_string(e.undo_of), std::to_string(e.redo_of),
                          e.undone ? "1" : "0", e.summary}));
  }
  return lines;
}

std::vector<std::string> HeadlessHost::ShowState() {
  editor::FRMFW_ORVELKA* w = window();
  std::vector<std::string> lines{
      "STARTED\tSECTION\tFRAME\tCHOSEN\tLOADED\tSKIP\tTEMPTABLE\tTEMPEXISTS\tWINDOWSTATE\t"
      "PROGRAMMODE\tTOP\tLEFT\tCAPTION"};
  if (w == nullptr) return lines;
  const std::string& temp = w->temp_table_name();
  std::string exists = "0";
  if (!temp.empty()) {
    // The editor's own statement for the table, turned into a question.
    std::shared_ptr<db::Recordset> rs = connection()->Execute(
        "SELECT CASE WHEN object_id('tempdb.." + temp + "') IS NOT NULL THEN 1 ELSE 0 END AS E");
    if (rs && rs->FieldCount() > 0 && !rs->IsEof()) exists = ValueText(rs->Field(0));
  }
  lines.push_back(Join(
      {w->started() ? "1" : "0", std::to_string(w->section_code()),
       std::to_string(w->frame_index()), w->section_chosen() ? "1" : "0",
       w->loaded_flag() ? "1" : "0", w->skip_reload() ? "1" : "0",
       temp.empty() ? "" : temp.substr(0, 7) + "<" + std::to_string(temp.size() - 7) + " digits>",
       exists, std::to_string(module_->GetWindowState()), std::to_string(module_->GetProgramMode()),
       ValueText(db::FromVariant(module_->GetTop())),
       ValueText(db::FromVariant(module_->GetLeft())), w->Caption()}));
  return lines;
}

std::vector<std::string> HeadlessHost::ShowPermessiDitta() {
  host::CLSFW_PERMESSIDITTA permessi;
  std::vector<std::string> header;
  std::vector<std::string> flags;
  for (int i = 0; i < host::CLSFW_PERMESSIDITTA::kFlagCount; ++i) {
    const auto flag = static_cast<host::CLSFW_PERMESSIDITTA::Flag>(i);
    header.emplace_back(host::CLSFW_PERMESSIDITTA::kFlagNames[i]);
    flags.push_back(permessi.Get(flag) ? "1" : "0");
  }
  return {Join(header), Join(flags)};
}

std::vector<std::string> HeadlessHost::Sql(std::string_view statement) {
  int64_t affected = -1;
  std::shared_ptr<db::Recordset> rs = connection()->Execute(statement, &affected);
  std::vector<std::string> lines;
  if (!rs || rs->FieldCount() == 0) {
    lines.push_back("OK " + std::to_string(affected < 0 ? 0 : affected));
    return lines;
  }
  std::vector<std::string> header;
  for (int i = 0; i < rs->FieldCount(); ++i) header.push_back(rs->FieldAt(i).name);
  lines.push_back(Join(header));
  for (; !rs->IsEof(); rs->MoveNext()) {
    std::vector<std::string> cells;
    for (int i = 0; i < rs->FieldCount(); ++i) cells.push_back(ValueText(rs->Field(i)));
    lines.push_back(Join(cells));
  }
  return lines;
}

}  // namespace orv::session
