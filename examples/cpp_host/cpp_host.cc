// A host written in C++ against the installed module only: it gives the
// module its global services, a navigator and a set of controls kept in
// memory, opens the editor on a host database, picks the group VENDITE,
// chooses the warehouses in the side bar and revokes the first warehouse
// still allowed. It then opens the editor a second time and checks that the
// database kept the revocation.
//
//   cpp_host DATABASE_FILE
//
// Exit status 0 when every step worked; each failure is printed.

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zere_orvelka/change_log.h"
#include "zere_orvelka/cls_global.h"
#include "zere_orvelka/editor_window.h"
#include "zere_orvelka/host_ui.h"
#include "zere_orvelka/log_class.h"
#include "zere_orvelka/message_service.h"
#include "zere_orvelka/navigator.h"
#include "zere_orvelka/resize_client.h"
#include "zere_orvelka/zere_orvelka.h"
#include "zere_orvelka/zere_orvelka.hpp"

namespace {

using orv::host::ChangeLog;
using orv::host::Cinterface;
using orv::host::ClsGlobal;
using orv::host::EditorWindow;
using orv::host::GridLayout;
using orv::host::GroupingGrid;
using orv::host::HostControls;
using orv::host::HostError;
using orv::host::HostForm;
using orv::host::HostUi;
using orv::host::kVbAbort;
using orv::host::kVbOK;
using orv::host::LogClass;
using orv::host::LookupObject;
using orv::host::MatrixGrid;
using orv::host::MdiContainer;
using orv::host::MessageService;
using orv::host::Navigator;
using orv::host::NavigatorEvents;
using orv::host::PrincipalNode;
using orv::host::PrincipalTree;
using orv::host::ProgressControl;
using orv::host::QueryControl;
using orv::host::ResizeClient;
using orv::host::ResizeControl;
using orv::host::RowSource;
using orv::host::ScriptModel;
using orv::host::SideBar;
using orv::host::SideBarItem;
using orv::host::TreeGrid;
using orv::host::TreeSettings;
using orv::host::Variant;

int failures = 0;

void Check(bool ok, const std::string& what) {
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    ++failures;
  }
}

// A cell as text; codes of fixed width lose their trailing blanks.
std::string Text(const Variant& value) {
  switch (value.type()) {
    case Variant::Type::kText:
      return value.AsText().substr(0, value.AsText().find_last_not_of(' ') + 1);
    case Variant::Type::kInt:
      return std::to_string(value.AsInt());
    case Variant::Type::kBool:
      return value.AsBool() ? "1" : "0";
    default:
      return "";
  }
}

// --- controls kept in memory

class Tree : public PrincipalTree {
 public:
  void SetShowUsers(bool) override {}
  void SetShowGroups(bool) override {}
  void Initialize(std::shared_ptr<Cinterface>, bool) override {}
  void Load() override {}
  std::optional<PrincipalNode> SelectedNode() const override { return selected; }

  std::optional<PrincipalNode> selected;
};

class Bar : public SideBar {
 public:
  void Initialize(std::shared_ptr<Cinterface>, bool) override {}
  void SelectItem(int32_t, bool, std::string_view, std::string_view) override {}
  std::string ItemCaption(std::string_view key) const override {
    return key == "ITM50017" ? "Depositi" : "";
  }
};

class Progress : public ProgressControl {
 public:
  void SetAutoStart(bool) override {}
  void Start() override { running_ = true; }
  void Stop() override { running_ = false; }
  void SetRunning(bool value) override { running_ = value; }
  bool IsRunning() const override { return running_; }

 private:
  bool running_ = false;
};

class Resize : public ResizeControl {
 public:
  void Start(ResizeClient& client) override { client.RegisterControls(*this); }
  void Stop() override {}
  void Register(std::string_view, int32_t) override {}
  void WindowResized(int32_t, int32_t) override {}
};

class Mdi : public MdiContainer {
 public:
  void Place(int32_t, int32_t, int32_t, int32_t) override {}
};

// The grouping grid: keeps its layout and the rows bound to it.
class Grid : public GroupingGrid {
 public:
  std::optional<GridLayout> GetLayout() const override { return layout_; }
  void SetLayout(const GridLayout& layout) override { layout_ = layout; }
  void ClearColumns() override {}
  void AddTextColumn(std::string_view, std::string_view, int32_t, int32_t) override {}
  void AddCheckBoxColumn(std::string_view, std::string_view, std::string_view, std::string_view,
                         bool, int32_t) override {}
  void GroupByColumn(std::string_view, int32_t) override {}
  void ApplyColumns() override {}
  void SetHeaderCheckBox(std::string_view, bool) override {}
  void SetHeaderCheck(std::string_view, bool, bool) override {}
  void FinishLayout() override {}
  void SetDataSource(std::shared_ptr<RowSource> rows) override { rows_ = std::move(rows); }
  std::shared_ptr<RowSource> GetDataSource() const override { return rows_; }
  void RefreshLayout() override {}
  void Redraw() override {}
  void Refresh() override {}

  // Makes the row whose CODICE is `code` current; false when there is none.
  bool MoveTo(const std::string& code) {
    if (!rows_) return false;
    const int key = rows_->FieldIndex("CODICE");
    if (key < 0) return false;
    for (rows_->MoveFirst(); !rows_->IsEof(); rows_->MoveNext()) {
      if (Text(rows_->FieldValue(key)) == code) return true;
    }
    return false;
  }
  // The value of `field` in every row, by CODICE.
  std::map<std::string, std::string> Column(std::string_view field) {
    std::map<std::string, std::string> out;
    if (!rows_) return out;
    const int key = rows_->FieldIndex("CODICE");
    const int index = rows_->FieldIndex(field);
    if (key < 0 || index < 0) return out;
    for (rows_->MoveFirst(); !rows_->IsEof(); rows_->MoveNext()) {
      out[Text(rows_->FieldValue(key))] = Text(rows_->FieldValue(index));
    }
    return out;
  }

 private:
  std::optional<GridLayout> layout_;
  std::shared_ptr<RowSource> rows_;
};

class Tgrid : public TreeGrid {
 public:
  void ClearColumns() override { keys_.clear(); }
  void SetTreeSettings(const TreeSettings&) override {}
  void SetDisplayOptions(bool, bool) override {}
  void AddTextColumn(std::string_view key, std::string_view, std::string_view, int32_t, int32_t,
                     bool) override {
    keys_.emplace_back(key);
  }
  void AddCheckBoxColumn(std::string_view key, std::string_view, std::string_view, std::string_view,
                         std::string_view, bool, int32_t, bool, bool) override {
    keys_.emplace_back(key);
  }
  void CloseColumns() override {}
  int32_t ColumnIndex(std::string_view key) const override {
    for (size_t i = 0; i < keys_.size(); ++i) {
      if (keys_[i] == key) return static_cast<int32_t>(i);
    }
    return -1;
  }
  std::string ColumnKey(int32_t index) const override {
    return index >= 0 && static_cast<size_t>(index) < keys_.size() ? keys_[index] : "";
  }
  void SetDataSource(std::shared_ptr<RowSource> rows) override { rows_ = std::move(rows); }
  std::shared_ptr<RowSource> GetDataSource() const override { return rows_; }
  void Refresh() override {}

 private:
  std::vector<std::string> keys_;
  std::shared_ptr<RowSource> rows_;
};

class Matrix : public MatrixGrid {
 public:
  std::optional<GridLayout> GetLayout() const override { return layout_; }
  void SetLayout(const GridLayout& layout) override { layout_ = layout; }
  void ClearColumns() override {}
  void AddHeaderGroup(std::string_view) override {}
  void AddTextColumn(std::string_view, std::string_view, int32_t, std::string_view) override {}
  void AddCheckBoxColumn(std::string_view, std::string_view, std::string_view, std::string_view,
                         int32_t, std::string_view) override {}
  void ApplyColumns() override {}
  void SetHeaderCheck(std::string_view, bool) override {}
  void FinishLayout() override {}
  void SetDataSource(std::shared_ptr<RowSource> rows) override { rows_ = std::move(rows); }
  std::shared_ptr<RowSource> GetDataSource() const override { return rows_; }
  void RefreshLayout() override {}
  void Refresh() override {}

 private:
  std::optional<GridLayout> layout_;
  std::shared_ptr<RowSource> rows_;
};

class Query : public QueryControl {
 public:
  void ClearCriteria() override {}
  void ClearReferences() override {}
  void SetContext(int32_t, std::string_view, std::string_view,
                  std::shared_ptr<ClsGlobal>) override {}
  void SetContextName(std::string_view) override {}
  void SetEnabled(bool) override {}
  void SetConnection(std::shared_ptr<orv::host::ConnectionHandle>) override {}
  void AddField(std::string_view, std::string_view, std::string_view, int32_t, int32_t) override {}
  void Build() override {}
  std::string Condition() const override { return ""; }
};

// --- services

// Every message box is unexpected here: it is printed and counted.
class Messages : public MessageService {
 public:
  int32_t Show(std::string_view prompt, int32_t, std::string_view title, const HostForm*) override {
    std::fprintf(stderr, "message: %.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(prompt.size()), prompt.data());
    ++shown;
    return kVbOK;
  }
  int shown = 0;
};

class Log : public ChangeLog {
 public:
  std::string FormatGroup(std::string_view name) override { return std::string(name) + " "; }
  std::string FormatUser(std::string_view name) override { return std::string(name) + " "; }
  std::string FormatDetail(int32_t number, std::string_view text) override {
    return std::to_string(number) + ": " + std::string(text) + "; ";
  }
  void WriteEntry(int32_t event_number, std::string_view text) override {
    entries.push_back(std::to_string(event_number) + " " + std::string(text));
  }
  std::vector<std::string> entries;
};

// A trapped error is printed and the routine ends (abort).
class Errors : public LogClass {
 public:
  explicit Errors(int& count) : count_(count) {}
  void TakeError(const HostError& error) override {
    std::fprintf(stderr, "error %lld: %s\n", static_cast<long long>(error.number),
                 error.description.c_str());
    ++count_;
  }
  void TakeConnectionErrors(const std::vector<HostError>&) override {}
  int32_t Show(std::string_view, std::string_view, std::string_view, int32_t) override {
    return kVbAbort;
  }

 private:
  int& count_;
};

class Nav : public Navigator {
 public:
  void Advise(NavigatorEvents*) override {}
  void Unadvise(NavigatorEvents*) override {}
  ScriptModel* GetScriptModel() override { return nullptr; }
  void Open() override {}
  void SetFrameStatus(int16_t) override {}
  void Refresh() override {}
  void ForgetModule(Cinterface*) override {}
};

// The global services, and the user interface the module finds on them: it
// keeps the window it is given and activates it once.
class Host : public ClsGlobal, public HostUi {
 public:
  explicit Host(std::string database) : database_(std::move(database)) {}

  std::string ConnectionString() const override { return "Driver=SQLite;Database=" + database_; }
  bool IsAdministrator() const override { return true; }
  int32_t CurrentCompany() const override { return 1; }
  std::string Login() const override { return "admin"; }
  std::string ApplicationTitle() const override { return "cpp_host"; }
  MessageService* GetMessageService() override { return &messages; }
  ChangeLog* GetChangeLog() override { return &log; }
  std::unique_ptr<LogClass> CreateLogClass() override { return std::make_unique<Errors>(errors); }
  std::shared_ptr<LookupObject> CreateLookupObject(int) override { return nullptr; }
  void SetRevocationEnabled(bool) override {}
  void SetActiveModule(Cinterface*) override {}
  void ForgetModule(Cinterface*) override {}
  void SetApplication(Cinterface*) override {}

  HostControls CreateControls() override {
    tree = std::make_shared<Tree>();
    grid = std::make_shared<Grid>();
    HostControls c;
    c.VRX_TREEUTENTI1 = tree;
    c.VRX_TREEUTENTICOPIA = std::make_shared<Tree>();
    c.VRX_SIDEBAR1 = std::make_shared<Bar>();
    c.VRX_PROGRESS = std::make_shared<Progress>();
    c.VRX_RESIZEFORM1 = std::make_shared<Resize>();
    c.MdiHost1 = std::make_shared<Mdi>();
    c.GRIDTIPOLOGIE = grid;
    c.TGRID_CLIFOR = std::make_shared<Tgrid>();
    c.GRID_DEPOSITO = std::make_shared<Matrix>();
    c.ENHQUERY = std::make_shared<Query>();
    return c;
  }
  void ShowWindow(std::shared_ptr<EditorWindow> shown, bool) override {
    window = std::move(shown);
    window->MdiHost1_FormLoad();
    window->Form_Activate();
  }
  void WindowClosed(EditorWindow& closed) override {
    if (window.get() == &closed) window.reset();
  }

  Messages messages;
  Log log;
  int errors = 0;
  std::shared_ptr<Tree> tree;
  std::shared_ptr<Grid> grid;
  std::shared_ptr<EditorWindow> window;

 private:
  std::string database_;
};

// Opens the editor with the warehouses of group VENDITE on screen; returns
// the module object (null on failure).
orv_object* OpenWarehouses(const std::shared_ptr<Host>& host) {
  orv_object* object = nullptr;
  if (orv_create_object("CLSFW_ORVELKA", &object) != ORV_OK) return nullptr;
  auto* module = static_cast<Cinterface*>(orv_object_cinterface(object));
  Check(module != nullptr, "the entry object's Cinterface");
  if (module == nullptr) return object;
  module->SetClsGlobal(host);
  module->SetActiveNavigator(std::make_shared<Nav>());
  module->SetCaption(Variant("Revoche"));
  module->ShowForm();
  Check(host->window != nullptr, "the editor window is shown");
  if (!host->window) return object;
  Check(host->window->Caption() == "Revoche", "the caption written before ShowForm");
  host->tree->selected = PrincipalNode{PrincipalNode::kGroup, 3, "VENDITE"};
  host->window->trv_GU_NodeClick(host->tree->selected);
  host->window->VRX_SIDEBAR1_ItemClick(SideBarItem{"ITM50017", "Depositi"});
  return object;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cpp_host DATABASE_FILE\n");
    return 2;
  }
  auto host = std::make_shared<Host>(argv[1]);

  orv_object* object = OpenWarehouses(host);
  Check(object != nullptr, "create CLSFW_ORVELKA");
  std::map<std::string, std::string> allowed = host->grid->Column("ABILITATO");
  Check(!allowed.empty(), "the warehouses of the company are listed");
  std::string revoked;
  for (const auto& [code, flag] : allowed) {
    if (flag == "1") {
      revoked = code;
      break;
    }
  }
  Check(!revoked.empty(), "a warehouse the group may use");
  if (!revoked.empty() && host->window && host->grid->MoveTo(revoked)) {
    const int field = host->grid->GetDataSource()->FieldIndex("ABILITATO");
    const Variant before = host->grid->GetDataSource()->FieldValue(field);
    bool cancel = false;
    host->window->GRIDTIPOLOGIE_SelectionBoxClick(revoked, "ABILITATO", before, cancel);
    Check(host->grid->Column("ABILITATO")[revoked] == "0", "the grid shows the revocation");
    Check(!host->log.entries.empty() && host->log.entries.back().rfind("16 ", 0) == 0,
          "the change is in the change log");
  }
  auto* module = object ? static_cast<Cinterface*>(orv_object_cinterface(object)) : nullptr;
  Check(module != nullptr && module->CloseForm() == Variant(true), "CloseForm closes the editor");
  orv_release_object(object);

  // A new editor reads the revocation back from the database.
  object = OpenWarehouses(host);
  if (!revoked.empty()) {
    Check(host->grid->Column("ABILITATO")[revoked] == "0",
          "warehouse " + revoked + " is still revoked when the editor opens again");
  }
  module = object ? static_cast<Cinterface*>(orv_object_cinterface(object)) : nullptr;
  if (module != nullptr) module->CloseForm();
  orv_release_object(object);

  Check(host->messages.shown == 0, "no message box");
  Check(host->errors == 0, "no error logged");
  host.reset();
  Check(orv_can_unload_now() == ORV_OK, "nothing of the module alive at the end");
  if (failures == 0)
    std::printf("cpp_host: revoked warehouse %s of group VENDITE\n", revoked.c_str());
  return failures == 0 ? 0 : 1;
}
