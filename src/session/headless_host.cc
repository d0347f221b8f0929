#include "session/headless_host.h"

#include <stdexcept>
#include <string>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sql_literal.h"
#include "editor/frmfw_orvelka.h"
#include "module/clsfw_orvelka.h"
#include "session/recordset_rows.h"
#include "store/company.h"

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

// The check-box value after a click: checked <-> unchecked.
std::string Toggled(const GridColumn& column, const std::string& before) {
  return before == column.checked_value ? column.unchecked_value : column.checked_value;
}

}  // namespace

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
    cn->Open(connection_string_);
    connection_ = cn;
  }
  return connection_;
}

void HeadlessHost::Open(const HeadlessOptions& options) {
  Release();
  if (options.connection_string != connection_string_) connection_.reset();
  connection_string_ = options.connection_string;

  HeadlessGlobal::Settings settings;
  settings.connection_string = options.connection_string;
  settings.login = options.login;
  if (options.administrator) {
    settings.administrator = *options.administrator;
  } else {
    auto rs = connection()->Execute("SELECT FW07_FLGADMIN FROM FW07_APPUSER WHERE FW07_LOGIN = " +
                                    db::SqlQuote(options.login));
    if (!rs || rs->IsEof()) throw std::runtime_error("unknown login: " + options.login);
    const db::Value& flag = rs->Field("FW07_FLGADMIN");
    settings.administrator = !flag.IsNull() && flag.ToInt32() == 1;
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
  module_->SetCaption(options.caption);
  module_->SetWindowModal(options.modal);
  module_->SetTop(options.top);
  module_->SetLeft(options.left);
  module_->SetIsActive(options.active);
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
  const db::Value closed = module_->CloseForm();
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
    const GridColumn* col = c.grid->FindColumn(column);
    if (col == nullptr || !col->check_box) throw std::invalid_argument("no check-box column");
    int index = 0;
    try {
      index = std::stoi(std::string(row));
    } catch (...) {
      throw std::invalid_argument("the row of GRIDTIPOLOGIE is a number");
    }
    if (!c.grid->MoveToDisplayRow(index)) throw std::invalid_argument("no such row");
    std::shared_ptr<db::Recordset> rs = c.grid->GetDataSource();
    const db::Value before = rs->Field(col->field);
    const std::string key = rs->HasField("CODICE") ? CellText(*rs, "CODICE") : std::string(row);
    w.GRIDTIPOLOGIE_SelectionBoxClick(key, column, before, cancel);
    if (!cancel && c.grid->GetDataSource() == rs) {
      rs->SetField(col->field, db::Value(Toggled(*col, CellText(*rs, col->field))));
    }
    return;
  }
  if (grid == "TGRID_CLIFOR") {
    const GridColumn* col = c.tree_grid->FindColumn(column);
    if (col == nullptr || !col->check_box) throw std::invalid_argument("no check-box column");
    if (!c.tree_grid->MoveToKey(row)) throw std::invalid_argument("no such row");
    w.TGRID_CLIFOR_BeforeCheck(cancel);
    if (cancel) return;
    std::shared_ptr<db::Recordset> rs = c.tree_grid->GetDataSource();
    const std::string after = Toggled(*col, CellText(*rs, col->field));
    rs->SetField(col->field, db::Value(after));
    w.TGRID_CLIFOR_CheckChange(column, after);
    return;
  }
  if (grid == "GRID_DEPOSITO") {
    const GridColumn* col = c.matrix->FindColumn(column);
    if (col == nullptr || !col->check_box) throw std::invalid_argument("no check-box column");
    if (!c.matrix->MoveToOrigin(row)) throw std::invalid_argument("no such row");
    std::shared_ptr<db::Recordset> rs = c.matrix->GetDataSource();
    const db::Value before = rs->Field(col->field);
    w.GRID_DEPOSITO_SelectionBoxClick(row, column, before, cancel);
    if (!cancel && c.matrix->GetDataSource() == rs) {
      rs->SetField(col->field, db::Value(Toggled(*col, CellText(*rs, col->field))));
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

std::vector<std::string> HeadlessHost::ShowGrid(std::string_view grid) {
  NeedWindow();
  const MemoryControls& c = controls();
  std::vector<std::string> lines;
  if (grid == "GRIDTIPOLOGIE") {
    std::vector<std::string> header{"ROW"};
    for (const GridColumn& col : c.grid->columns()) header.push_back(col.key);
    lines.push_back(Join(header));
    std::shared_ptr<db::Recordset> rs = c.grid->GetDataSource();
    if (!rs) return lines;
    int n = 0;
    for (db::Recordset::Bookmark row : c.grid->DisplayRows()) {
      rs->SetBookmark(row);
      std::vector<std::string> cells{std::to_string(++n)};
      for (const GridColumn& col : c.grid->columns()) {
        cells.push_back(rs->HasField(col.field) ? CellText(*rs, col.field) : std::string());
      }
      lines.push_back(Join(cells));
    }
    return lines;
  }
  if (grid == "TGRID_CLIFOR" || grid == "GRID_DEPOSITO") {
    const bool tree = grid == "TGRID_CLIFOR";
    const std::vector<GridColumn>& columns = tree ? c.tree_grid->columns() : c.matrix->columns();
    std::vector<std::string> header =
        tree ? std::vector<std::string>{"KEY", "PADRE_KEY"} : std::vector<std::string>{"CODICE"};
    for (const GridColumn& col : columns) {
      if (col.shown) header.push_back(col.key);
    }
    lines.push_back(Join(header));
    std::shared_ptr<db::Recordset> rs =
        tree ? c.tree_grid->GetDataSource() : c.matrix->GetDataSource();
    if (!rs) return lines;
    for (db::Recordset::Bookmark row : VisibleRows(*rs)) {
      rs->SetBookmark(row);
      std::vector<std::string> cells;
      if (tree) {
        cells.push_back(CellText(*rs, c.tree_grid->key_field()));
        cells.push_back(rs->HasField("PADRE_KEY") ? CellText(*rs, "PADRE_KEY") : "");
      } else {
        cells.push_back(CellText(*rs, "CODICE"));
      }
      for (const GridColumn& col : columns) {
        if (!col.shown) continue;
        cells.push_back(rs->HasField(col.field) ? CellText(*rs, col.field) : std::string());
      }
      lines.push_back(Join(cells));
    }
    return lines;
  }
  throw std::invalid_argument("unknown grid");
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

std::vector<std::string> HeadlessHost::ShowState() {
  editor::FRMFW_ORVELKA* w = window();
  std::vector<std::string> lines{"STARTED\tSECTION\tFRAME\tCHOSEN\tLOADED\tSKIP\tTEMPTABLE"};
  if (w == nullptr) return lines;
  const std::string& temp = w->temp_table_name();
  lines.push_back(Join(
      {w->started() ? "1" : "0", std::to_string(w->section_code()),
       std::to_string(w->frame_index()), w->section_chosen() ? "1" : "0",
       w->loaded_flag() ? "1" : "0", w->skip_reload() ? "1" : "0",
       temp.empty() ? ""
                    : temp.substr(0, 7) + "<" + std::to_string(temp.size() - 7) + " digits>"}));
  return lines;
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
