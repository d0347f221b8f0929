#include "editor/frmfw_orvelka.h"

#include <array>
#include <string>
#include <utility>

#include "db/command.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "db/value_variant.h"
#include "editor/log_error_routine.h"
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
namespace {

// A step of a routine whose errors are suppressed: a failing step is
// skipped and the caller goes on with the next one.
template <typename F>
void Silently(F&& step) {
  try {
    step();
  } catch (...) {
  }
}

using host::Need;

bool IsSplitterSection(int32_t code) { return code == 7 || code == 8 || code == 9 || code == 33; }

std::string FrameName(int index) { return "VRX_FRM(" + std::to_string(index) + ")"; }

}  // namespace

FRMFW_ORVELKA::FRMFW_ORVELKA(host::HostControls controls) : controls_(std::move(controls)) {
  CreateControls();
  // Height changes reach the resize control once it runs.
  form().AddObserver([this](const Control& form, Control::Property property) {
    if (!resize_started_ || !controls_.VRX_RESIZEFORM1) return;
    if (property != Control::Property::kHeight && property != Control::Property::kWidth) return;
    Silently([&] { controls_.VRX_RESIZEFORM1->WindowResized(form.width(), form.height()); });
  });
  host::TraceEvent(instance_id_.Get(), "INI", kFormName);
}

FRMFW_ORVELKA::~FRMFW_ORVELKA() {
  Silently([&] { sections_.clear(); });
  host::TraceEvent(instance_id_.Get(), "TER", kFormName);
}

// --- controls

Control& FRMFW_ORVELKA::Add(std::string name, std::string type, std::string container, int32_t left,
                            int32_t top, int32_t width, int32_t height, std::string caption,
                            bool visible) {
  auto control = std::make_unique<Control>(name, std::move(type), std::move(container), left, top,
                                           width, height, std::move(caption), visible);
  Control& ref = *control;
  control_order_.push_back(control.get());
  control_map_.emplace(std::move(name), std::move(control));
  return ref;
}

void FRMFW_ORVELKA::CreateControls() {
  // Design-time layout, in twips.
  Add(std::string(kFormName), "Form", "", 0, 0, 16290, 8400, std::string(kDesignCaption));
  Add("VRX_SIDEBAR1", "Host", "", 0, 0, 2300, 8000);
  Add("PCB_UTENTI", "PictureBox", "", 2350, 0, 3500, 8000);
  Add("VRX_TREEUTENTI1", "Host", "PCB_UTENTI", 0, 0, 3500, 7850);
  Add("CHK_ABILREVOKE", "CheckBox", "PCB_UTENTI", 60, 7540, 3300, 300, "Abilitazione revoche",
      false)
      .SetValue(db::Value(0));
  Add("LblDepositoSelezionato", "Label", "PCB_UTENTI", 60, 6850, 3300, 1100,
      "Tutte le transazioni saranno abilitate/disabilitate per  l'utente/gruppo selezionato",
      false);
  Add("LblTitle", "Label", "", 5900, 0, 10300, 350);
  Add("Label3", "Label", "", 5900, 8000, 10300, 300, "", false);
  for (int i = 0; i <= 6; ++i) Add(FrameName(i), "Frame", "", 5900, 400, 10300, 7600, "", false);
  Add("FRM_RIEPILOGO", "Frame", "", 5900, 400, 10300, 7600, "", false);

  // Frame 3: query pane, splitter, grid pane.
  Add("VRX_FMEHENQUERY", "Frame", FrameName(3), 0, 100, 10300, 2400, "", false);
  Add("ENHQUERY", "Host", "VRX_FMEHENQUERY", 0, 0, 10300, 2400);
  Add("SPLIT_OCX", "Splitter", FrameName(3), 0, 90, 10300, 120);
  Add("PICUP", "PictureBox", "SPLIT_OCX", 5030, 0, 240, 120, "", false);
  Add("PICDOWN", "PictureBox", "SPLIT_OCX", 5030, 0, 240, 120);
  Add("VRX_FMEGRID", "Frame", FrameName(3), 0, 240, 10300, 7300);
  Add("GRIDTIPOLOGIE", "Host", "VRX_FMEGRID", 0, 0, 10300, 6700);
  Add("CMD_UPDATE", "CommandButton", "VRX_FMEGRID", 8900, 6880, 1300, 360, "Aggiorna", false);
  Add("VRX_ABILITATUTTI", "CommandButton", "VRX_FMEGRID", 0, 6880, 1500, 360, "Abilita tutti");
  Add("VRX_DISABILITATUTTI", "CommandButton", "VRX_FMEGRID", 1600, 6880, 1500, 360,
      "Disabilita tutti");
  Add("VRX_COPIAUTENTE", "CommandButton", "VRX_FMEGRID", 3200, 6880, 1200, 360, "Copia");

  // Frame 4: the copy panel.
  const std::string copy = FrameName(4);
  Add("PCB_COPIA", "PictureBox", copy, 0, 0, 3500, 7500);
  Add("VRX_TREEUTENTICOPIA", "Host", "PCB_COPIA", 0, 0, 3500, 7500);
  Add("lblDa", "Label", copy, 3700, 100, 600, 300, "Da");
  Add("txtDa", "TextBox", copy, 4300, 100, 5800, 300);
  Add("lblA", "Label", copy, 3700, 500, 600, 300, "A");
  Add("txtA", "TextBox", copy, 4300, 500, 5800, 300);
  Add("fraAnagBase", "Frame", copy, 3700, 1000, 3000, 700, "Anag. di base");
  Add("CHK_CLIFOR", "VRX_CHECKBOX", "fraAnagBase", 100, 250, 2800, 300, "Clienti/Fornitori")
      .SetValue(db::Value(0));
  Add("fraCommerciale", "Frame", copy, 3700, 1800, 3000, 1600, "Commerciale");
  Add("CHK_TRANS", "VRX_CHECKBOX", "fraCommerciale", 100, 250, 2800, 300, "Trans. deposito ori-des")
      .SetValue(db::Value(0));
  Add("CHK_BLOC", "VRX_CHECKBOX", "fraCommerciale", 100, 580, 2800, 300, "Mod. di blocco di merce")
      .SetValue(db::Value(0));
  Add("CHK_FAM", "VRX_CHECKBOX", "fraCommerciale", 100, 910, 2800, 300, "Art. mag. per famiglia")
      .SetValue(db::Value(0));
  Add("CHK_DEP", "VRX_CHECKBOX", "fraCommerciale", 100, 1240, 2800, 300, "Depositi")
      .SetValue(db::Value(0));
  Add("fraProduzione", "Frame", copy, 6900, 1000, 3000, 700, "Produzione");
  Add("CHK_CODICISIMUAZIONE", "VRX_CHECKBOX", "fraProduzione", 100, 250, 2800, 300,
      "Codici simulazione MRP")
      .SetValue(db::Value(0));
  Add("fraProgetti", "Frame", copy, 6900, 1800, 3000, 700, "Progetti");
  Add("CHK_PROGETTI", "VRX_CHECKBOX", "fraProgetti", 100, 250, 2800, 300, "Progetti")
      .SetValue(db::Value(0));
  Add("fraNodi", "Frame", copy, 6900, 2600, 3000, 700, "Nodi");
  Add("CHK_NODI", "VRX_CHECKBOX", "fraNodi", 100, 250, 2800, 300, "Nodi").SetValue(db::Value(0));
  Add("CMD_SELEZIONA", "CommandButton", copy, 3700, 3600, 1800, 360, "Seleziona tutti");
  Add("CMD_OK", "CommandButton", copy, 8700, 6880, 1300, 360, "Copia");

  // Frame 5: the tree grid.
  const std::string trees = FrameName(5);
  Add("TGRID_CLIFOR", "Host", trees, 0, 0, 10300, 6800);
  Add("VRX_ABILITATUTTI2", "CommandButton", trees, 0, 6880, 1500, 360, "Abilita tutti");
  Add("VRX_DISABILITATUTTI_CLIFOR", "CommandButton", trees, 1600, 6880, 1500, 360,
      "Disabilita tutti");
  Add("VRX_COPIAUTENTE2", "CommandButton", trees, 3200, 6880, 1200, 360, "Copia");

  // Frame 6: warehouse transfers.
  const std::string transfers = FrameName(6);
  Add("GRID_DEPOSITO", "Host", transfers, 0, 0, 10300, 6300);
  Add("VRX_ABIDISDEPORI", "CommandButton", transfers, 0, 6400, 3000, 360,
      "Abilita/Disabilita dep. origine");
  Add("BTN_ABILITATUTTIDEP", "CommandButton", transfers, 3100, 6400, 1300, 360, "Abilita", false);
  Add("VRX_DISABILITATUTTIDEP", "CommandButton", transfers, 4500, 6400, 1300, 360, "Disabilita",
      false);
  Add("VRX_COPIADEP", "CommandButton", transfers, 5900, 6400, 1200, 360, "Copia");
  // The label's caption fits on one line beside the two buttons.
  Add("LBL_ALLTRANSAZIONI", "Label", transfers, 0, 6850, 6900, 300,
      "Tutte le transazioni saranno abilitate/disabilitate per ogni utente/gruppo");
  Add("VRX_ABILITATUTTIU", "CommandButton", transfers, 7000, 6850, 1500, 360, "Abilita tutti");
  Add("VRX_DISABILITATUTTIU", "CommandButton", transfers, 8600, 6850, 1500, 360,
      "Disabilita tutti");

  Add("VRX_PROGRESS", "Host", "", 6145, 3900, 4000, 600, "", false);
}

Control* FRMFW_ORVELKA::FindControl(std::string_view name) {
  auto it = control_map_.find(name);
  return it == control_map_.end() ? nullptr : it->second.get();
}

Control& FRMFW_ORVELKA::control(std::string_view name) {
  Control* found = FindControl(name);
  if (found == nullptr) host::ThrowObjectNotSet(std::string(name).c_str());
  return *found;
}

const Control& FRMFW_ORVELKA::control(std::string_view name) const {
  return const_cast<FRMFW_ORVELKA*>(this)->control(name);
}

Control& FRMFW_ORVELKA::VRX_FRM(int index) { return control(FrameName(index)); }

std::vector<Control*> FRMFW_ORVELKA::controls() { return control_order_; }

std::vector<Control*> FRMFW_ORVELKA::ControlsOfType(std::string_view type) {
  std::vector<Control*> result;
  for (Control* c : control_order_) {
    if (c->type() == type) result.push_back(c);
  }
  return result;
}

// --- set-up by the entry class

void FRMFW_ORVELKA::SetHostInterface(std::shared_ptr<host::Cinterface> host_interface) {
  host_interface_ = std::move(host_interface);
}

void FRMFW_ORVELKA::DetachModule(host::Cinterface* owner) {
  if (owner_module_ != owner) return;
  owner_module_ = nullptr;
  if (host_interface_.get() == owner) host_interface_.reset();
}

void FRMFW_ORVELKA::SetCaption(std::string_view caption) { form().SetCaption(caption); }

std::string FRMFW_ORVELKA::Caption() const { return control(kFormName).caption(); }

void FRMFW_ORVELKA::AddSection(std::unique_ptr<Section> section, const std::vector<int32_t>& codes,
                               bool toolbar) {
  if (!section) return;
  for (int32_t code : codes) section_by_code_[code] = section.get();
  if (toolbar) toolbar_sections_.push_back(section.get());
  sections_.push_back(std::move(section));
}

Section* FRMFW_ORVELKA::SectionFor(int32_t code) const {
  auto it = section_by_code_.find(code);
  return it == section_by_code_.end() ? nullptr : it->second;
}

Section* FRMFW_ORVELKA::GridOwner(std::string_view grid) const {
  return SectionFor(grid == "GRID_DEPOSITO" ? kSectionTransfers : kSectionWarehouses);
}

Section* FRMFW_ORVELKA::TreeOwner() const {
  return SectionFor(section_code_ == kSectionFamilies ? kSectionFamilies : kSectionCliFor);
}

std::shared_ptr<db::Recordset>& FRMFW_ORVELKA::RowsOf(SectionContext::Grid grid) {
  switch (grid) {
    case SectionContext::Grid::kParameters:
      return work_recordset_;
    case SectionContext::Grid::kTransfers:
      return matrix_rows_;
    case SectionContext::Grid::kTree:
      return tree_rowset_;
    case SectionContext::Grid::kNone:
      break;
  }
  return no_rows_;
}

void FRMFW_ORVELKA::ResetRows() {
  work_recordset_.reset();
  matrix_rows_.reset();
  tree_rowset_.reset();
  no_rows_.reset();
}

template <typename Hook>
bool FRMFW_ORVELKA::Call(Section* section, Hook&& hook) {
  return section != nullptr && hook(*section);
}

std::shared_ptr<host::ClsGlobal> FRMFW_ORVELKA::global() const {
  return host_interface_ ? host_interface_->GetClsGlobal() : nullptr;
}

host::ChangeLog& FRMFW_ORVELKA::change_log() const {
  std::shared_ptr<host::ClsGlobal> g = global();
  host::ChangeLog* log = g ? g->GetChangeLog() : nullptr;
  if (log == nullptr) host::ThrowObjectNotSet("ChangeLog");
  return *log;
}

std::optional<host::PrincipalNode> FRMFW_ORVELKA::SelectedNode() const {
  if (!controls_.VRX_TREEUTENTI1) return std::nullopt;
  return controls_.VRX_TREEUTENTI1->SelectedNode();
}

store::Principal FRMFW_ORVELKA::CurrentPrincipal() const {
  return store::Principal::FromNode(SelectedNode());
}

// --- reporting

db::Value FRMFW_ORVELKA::VisualizzaErrore(std::string_view routine) {
  return VisualizzaErrore(routine, host::ErrObject::FromCurrentException());
}

db::Value FRMFW_ORVELKA::VisualizzaErrore(std::string_view routine, const host::ErrObject& error) {
  Silently([&] {
    ShowMessage("Errore N° :" + std::to_string(error.number) + "\n" + error.description + "\n" +
                    " in " + std::string(routine),
                host::kVbOKOnly, "", nullptr);
  });
  return db::Value();
}

int32_t FRMFW_ORVELKA::LogError(std::string_view routine) {
  return LogError(routine, host::ErrObject::FromCurrentException());
}

int32_t FRMFW_ORVELKA::LogError(std::string_view routine, const host::ErrObject& error) {
  try {
    if (!log_object_) {
      ShowMessage("Classe Log non settata", host::kVbOKOnly, Caption(), nullptr);
      return host::kVbAbort;
    }
    log_object_->TakeError(error.ToHostError());
    if (connection_) {
      std::vector<host::HostError> messages;
      for (const db::DriverMessage& m : connection_->Errors()) {
        messages.push_back({m.number, m.description, m.source});
      }
      log_object_->TakeConnectionErrors(messages);
    }
    std::shared_ptr<host::ClsGlobal> g = global();
    const std::string title = g ? g->ApplicationTitle() : std::string();
    // Only what the database engine reported may pass on a second try (a
    // lock, a full disk); the module's own errors (an object not set, a
    // statement the translator refuses, a misused recordset) would fail the
    // same way forever, so the box offers no retry and the routine ends.
    bool retryable = false;
    for (const host::HostError& m : error.driver_messages) {
      if (m.source == "SQLite" || m.source == "ODBC") retryable = true;
    }
    if (!retryable) {
      log_object_->Show(title, Caption(), routine,
                        host::kVbOKOnly + host::kVbCritical + host::kVbSystemModal);
      return host::kVbAbort;
    }
    return log_object_->Show(title, Caption(), routine,
                             host::kVbAbortRetryIgnore + host::kVbCritical +
                                 host::kVbDefaultButton2 + host::kVbSystemModal);
  } catch (...) {
    // The log itself failed: end the routine rather than loop on it.
    return host::kVbAbort;
  }
}

int32_t FRMFW_ORVELKA::ShowMessage(std::string_view prompt, int32_t buttons, std::string_view title,
                                   const host::HostForm* owner) {
  std::shared_ptr<host::ClsGlobal> g = global();
  host::MessageService* service = g ? g->GetMessageService() : nullptr;
  if (service != nullptr) return service->Show(prompt, buttons, title, owner);
  return host::ShowFallbackMessageBox(prompt, buttons, title);
}

db::Value FRMFW_ORVELKA::NvlValue(const db::Value& value, const db::Value& default_value) {
  try {
    if (value.IsEmpty() || value.IsNull()) return default_value;
    if (db::Trim(value.ToText()).empty()) return default_value;
    return value;
  } catch (...) {
    return value;
  }
}

// --- lifecycle

std::pair<int32_t, int32_t> FRMFW_ORVELKA::HostPosition() const {
  const db::Value left = NvlValue(db::FromVariant(host_interface_->GetLeft()), db::Value(0));
  const db::Value top = NvlValue(db::FromVariant(host_interface_->GetTop()), db::Value(0));
  const int32_t l = left.ToInt32() == 0 ? 100 : left.ToInt32();
  const int32_t t = top.ToInt32() == 0 ? 100 : top.ToInt32();
  return {l, t};
}

void FRMFW_ORVELKA::Form_Load() {
  loaded_ = true;
  LogErrorRoutine routine(*this, "Form_Load");
  routine.Run([&] {
    std::shared_ptr<host::ClsGlobal> g = global();
    if (g) log_object_ = g->CreateLogClass();
  });
  routine.Run([&] {
    Need(host_interface_, "HostInterface");
    auto [left, top] = HostPosition();
    form().SetLeft(left);
    form().SetTop(top);
  });
}

void FRMFW_ORVELKA::MdiHost1_FormLoad() {
  LogErrorRoutine routine(*this, "MdiHost1_FormLoad");
  routine.Run([&] {
    Need(host_interface_, "HostInterface");
    auto [left, top] = HostPosition();
    Need(controls_.MdiHost1, "MdiHost1").Place(left, top, 16290, 8400);
  });
}

void FRMFW_ORVELKA::NotifyHostActivation() {
  if (!host_interface_) return;
  Silently([&] {
    if (auto g = global()) g->SetActiveModule(host_interface_.get());
  });
  Silently([&] {
    auto frame = host_interface_->GetActiveFrame();
    auto navigator = host_interface_->GetActiveNavigator();
    if (frame && navigator) navigator->SetFrameStatus(frame->Status());
  });
  Silently([&] {
    if (auto navigator = host_interface_->GetActiveNavigator()) navigator->Refresh();
  });
}

void FRMFW_ORVELKA::Form_Activate() {
  NotifyHostActivation();
  if (started_ || unloaded_) return;
  StartUp();
}

void FRMFW_ORVELKA::StartUp() {
  LogErrorRoutine routine(*this, "Form_Activate");
  std::shared_ptr<host::ClsGlobal> g;
  if (!routine.Run([&] {
        g = std::shared_ptr<host::ClsGlobal>(Need(host_interface_, "HostInterface").GetClsGlobal());
      }))
    return;
  if (!routine.Run([&] { connection_string_ = Need(g, "ClsGlobal").ConnectionString(); })) return;
  if (!routine.Run([&] {
        connection_ = host::NewWindowConnection(Need(g, "ClsGlobal"));
        Need(connection_, "Connection").ConnectionString = connection_string_;
        connection_->Open({}, {}, {}, -1);
      }))
    return;
  if (!routine.Run([&] { host_interface_->SetConnection(connection_); })) return;
  if (!routine.Run([&] { current_company_ = db::Value(Need(g, "ClsGlobal").CurrentCompany()); }))
    return;
  if (!routine.Run([&] {
        lookup_objects_.clear();
        for (int kind = 0; kind < host::LookupObject::kCount; ++kind) {
          std::shared_ptr<host::LookupObject> lookup = g->CreateLookupObject(kind);
          if (lookup) lookup->SetHost(host_interface_.get());
          lookup_objects_.push_back(std::move(lookup));
        }
      }))
    return;
  InizializzaScriptELayout();
  bool administrator = false;
  if (!routine.Run([&] { administrator = g->IsAdministrator(); })) return;
  if (!administrator) {
    routine.Run([&] {
      ShowMessage(
          "Solo l'utente amministratore può configurare le autorizzazioni.\n"
          "Consultare l'amministrazione del'installazione.",
          host::kVbInformation, "Utente non autorizzato", nullptr);
    });
    Unload();
    return;
  }
  if (!routine.Run([&] {
        Need(controls_.VRX_RESIZEFORM1, "VRX_RESIZEFORM1").Start(*this);
        resize_started_ = true;
      }))
    return;
  started_ = true;
  if (!routine.Run([&] { InitUserTree(); })) return;
  if (!routine.Run(
          [&] { Call(SectionFor(kSectionCopy), [](Section& s) { return s.InitCopyTree(); }); }))
    return;
  if (!routine.Run([&] { InitSideBar(); })) return;
  if (!viewer()) {
    // A journal for this window's gestures; without its tables in the
    // database it lives in memory, which the trace says once.
    routine.Run([&] {
      const std::string instance = InstanceIdText();
      journal_ = std::make_unique<journal::Journal>(
          connection_, g->Login(), current_company_.ToInt64(), [instance](std::string_view text) {
            host::WriteTrace("CVGE:|" + instance + "|GIORNALE|ZERE_ORVELKA|" + std::string(text));
          });
    });
  }
  if (!routine.Run([&] { LoadRevokeSetting(); })) return;
  if (viewer()) {
    routine.Run([&] {
      for (Control* c : controls()) {
        const bool writing_button = c->type() == "CommandButton" && WritesData(c->name());
        if (c->name() == "CHK_ABILREVOKE" || writing_button) c->SetEnabled(false);
      }
    });
  }
  if (!routine.Run([&] {
        const db::Value name = GetTempTableName();
        temp_table_name_ = name.IsNull() ? std::string() : name.ToText();
      }))
    return;
  if (!routine.Run([&] { NudgeHeight(); })) return;
  if (!routine.Run([&] {
        // The side bar shows its customer/supplier item chosen and frame 5
        // shows that section's tree: the section code says so too, so that
        // the toolbar's buttons act on the rows on screen.
        section_code_ = kSectionCliFor;
        int16_t frame = kFrameTrees;
        SelectFrame(frame);
      }))
    return;
  if (!routine.Run([&] {
        std::optional<host::PrincipalNode> node = SelectedNode();
        if (node) trv_GU_NodeClick(node);
      }))
    return;
  routine.Run([&] { InizializzaProgressBar(); });
}

void FRMFW_ORVELKA::NudgeHeight() {
  form().SetHeight(form().height() + 10);
  form().SetHeight(form().height() - 10);
}

bool FRMFW_ORVELKA::Unload() {
  if (unloaded_) return true;
  bool cancel = false;
  Form_QueryUnload(cancel);
  if (cancel) return false;
  Form_Unload();
  return true;
}

void FRMFW_ORVELKA::Form_QueryUnload(bool& cancel) {
  NotifyHostActivation();
  if (cancel) return;
  LogErrorRoutine routine(*this, "Form_QueryUnload");
  routine.Run([&] { ExecuteFormEvent(db::Value("tsClose")); });
  routine.Run([&] {
    if (!host_interface_) return;
    std::shared_ptr<host::Navigator> navigator = host_interface_->GetActiveNavigator();
    host::ScriptModel* model = navigator ? navigator->GetScriptModel() : nullptr;
    cancel = model != nullptr && model->RefuseClose(FormName());
  });
}

void FRMFW_ORVELKA::Form_Unload() {
  if (unloaded_) return;
  // The temporary table goes first: it is the one thing left on the server.
  Silently([&] {
    if (connection_) connection_->Execute(store::TempTable::DropIfExists(temp_table_name_));
  });
  Silently([&] {
    for (const auto& lookup : lookup_objects_) {
      if (lookup) lookup->SetHost(nullptr);
    }
  });
  lookup_objects_.clear();
  std::shared_ptr<host::ClsGlobal> g;
  std::shared_ptr<host::Navigator> navigator;
  Silently([&] {
    if (host_interface_) g = host_interface_->GetClsGlobal();
  });
  Silently([&] {
    if (host_interface_) navigator = host_interface_->GetActiveNavigator();
  });
  Silently([&] {
    if (g) g->ForgetModule(host_interface_.get());
  });
  Silently([&] {
    if (navigator) navigator->ForgetModule(host_interface_.get());
  });
  Silently([&] {
    if (!host_interface_) return;
    if (auto menu = host_interface_->GetClsVoceMenu()) menu->ModuleClosed();
  });
  Silently([&] {
    host::ScriptModel* model = navigator ? navigator->GetScriptModel() : nullptr;
    if (model != nullptr) model->FormClosed(FormName());
  });
  Silently([&] {
    if (host_interface_) host_interface_->SetActiveDll(nullptr);
  });
  Silently([&] {
    for (const auto& section : sections_) section->Unload();
  });
  Silently([&] {
    if (resize_started_ && controls_.VRX_RESIZEFORM1) controls_.VRX_RESIZEFORM1->Stop();
    resize_started_ = false;
  });
  ResetRows();
  log_object_.reset();
  connection_.reset();
  owner_module_ = nullptr;
  host_interface_.reset();
  loaded_ = false;
  unloaded_ = true;
  if (unloaded_handler_) {
    auto handler = std::move(unloaded_handler_);
    unloaded_handler_ = nullptr;
    Silently([&] { handler(*this); });
  }
}

// --- host notification and scripts

db::Value FRMFW_ORVELKA::ExecuteFormEvent(const db::Value& event_name) {
  LogErrorRoutine routine(*this, "ExecuteFormEvent");
  routine.Run([&] {
    const std::string name = event_name.IsNull() ? std::string() : event_name.ToText();
    // A window whose module went away has no scripts to run.
    if ((name != "tsOpen" && name != "tsClose") || !host_interface_) return;
    std::shared_ptr<host::Navigator> navigator = host_interface_->GetActiveNavigator();
    host::ScriptModel* model = navigator ? navigator->GetScriptModel() : nullptr;
    if (model != nullptr) model->RunFormEvent(FormName(), 0, name == "tsOpen" ? 1 : 0, "");
  });
  return db::Value();
}

void FRMFW_ORVELKA::InizializzaScriptELayout() {
  LogErrorRoutine routine(*this, "InizializzaScriptELayout");
  routine.Run([&] {
    Need(Need(host_interface_, "HostInterface").GetActiveNavigator(), "ActiveNavigator").Open();
  });
  routine.Run([&] { ExecuteFormEvent(db::Value("tsOpen")); });
  routine.Run([&] { Need(global(), "ClsGlobal").SetApplication(host_interface_.get()); });
}

// --- layout

void FRMFW_ORVELKA::ArrangePanes(bool open) {
  try {
    Control& frame3 = VRX_FRM(kFrameParameters);
    Control& split = control("SPLIT_OCX");
    Control& grid_pane = control("VRX_FMEGRID");
    Control& query_pane = control("VRX_FMEHENQUERY");
    if (!open) {
      split.SetTop(90);
      grid_pane.SetTop(split.height() + 30);
      grid_pane.SetHeight(frame3.height() - split.height() - 35);
      query_pane.SetVisible(false);
      control("PICUP").SetVisible(false);
      control("PICDOWN").SetVisible(true);
    } else {
      split.SetTop(query_pane.height() + 100);
      grid_pane.SetTop(split.top() + split.height() - 50);
      grid_pane.SetHeight(frame3.height() - query_pane.height() - split.height() - 50);
      query_pane.SetVisible(true);
      control("PICUP").SetVisible(true);
      control("PICDOWN").SetVisible(false);
    }
    Control& update = control("CMD_UPDATE");
    update.SetTop(grid_pane.height() - update.height() - 40);
    control("VRX_ABILITATUTTI").SetTop(update.top());
    control("VRX_COPIAUTENTE").SetTop(update.top());
    control("VRX_DISABILITATUTTI").SetTop(update.top());
    control("GRIDTIPOLOGIE").SetHeight(update.top() - 170);
    NudgeHeight();
  } catch (...) {
    VisualizzaErrore("ArrangePanes");
  }
}

void FRMFW_ORVELKA::PICUP_DblClick() { ArrangePanes(false); }

void FRMFW_ORVELKA::PICDOWN_DblClick() {
  if (IsSplitterSection(section_code_)) ArrangePanes(true);
}

void FRMFW_ORVELKA::SPLIT_OCX_DblClick() {
  if (!IsSplitterSection(section_code_)) return;
  ArrangePanes(control("SPLIT_OCX").top() <= 90);
}

void FRMFW_ORVELKA::SPLIT_OCX_Resize() {
  Silently([&] {
    Control& split = control("SPLIT_OCX");
    for (const char* name : {"PICUP", "PICDOWN"}) {
      Control& picture = control(name);
      picture.SetLeft((split.width() - picture.width()) / 2);
    }
  });
}

void FRMFW_ORVELKA::InizializzaProgressBar() {
  LogErrorRoutine routine(*this, "InizializzaProgressBar");
  routine.Run([&] { Need(controls_.VRX_PROGRESS, "VRX_PROGRESS").SetAutoStart(true); });
  routine.Run([&] { control("VRX_PROGRESS").SetVisible(false); });
  routine.Run([&] { CenterProgress(); });
}

void FRMFW_ORVELKA::CenterProgress() {
  Control& progress = control("VRX_PROGRESS");
  progress.SetLeft((form().width() - progress.width()) / 2);
  progress.SetTop((form().height() - progress.height()) / 2);
}

void FRMFW_ORVELKA::ShowProgress(bool show) {
  Silently([&] {
    Control& progress = control("VRX_PROGRESS");
    host::ProgressControl& bar = Need(controls_.VRX_PROGRESS, "VRX_PROGRESS");
    if (show) {
      mouse_pointer_ = 11;
      CenterProgress();
      bar.Start();
      bar.SetRunning(true);
      progress.SetVisible(true);
    } else {
      bar.SetRunning(false);
      progress.SetVisible(false);
      bar.Stop();
      mouse_pointer_ = 0;
    }
  });
}

void FRMFW_ORVELKA::RegisterControls(host::ResizeControl& resize) {
  struct Entry {
    const char* name;
    int32_t code;
  };
  static constexpr Entry kEntries[] = {
      {"VRX_FRM(0)", 15},
      {"VRX_FRM(1)", 15},
      {"VRX_FRM(2)", 15},
      {"VRX_FRM(3)", 15},
      {"VRX_FRM(4)", 15},
      {"VRX_FRM(5)", 15},
      {"VRX_FRM(6)", 15},
      {"FRM_RIEPILOGO", 15},
      {"VRX_FMEGRID", 15},
      {"GRIDTIPOLOGIE", 15},
      {"TGRID_CLIFOR", 15},
      {"GRID_DEPOSITO", 15},
      {"SPLIT_OCX", 7},
      {"LblTitle", 7},
      {"Label3", 7},
      {"PCB_UTENTI", 13},
      {"PCB_COPIA", 11},
      {"VRX_SIDEBAR1", 11},
      {"VRX_TREEUTENTI1", 11},
      {"VRX_TREEUTENTICOPIA", 11},
      {"CHK_ABILREVOKE", 10},
      {"VRX_ABILITATUTTI", 10},
      {"VRX_DISABILITATUTTI", 10},
      {"VRX_DISABILITATUTTI_CLIFOR", 10},
      {"VRX_ABILITATUTTI2", 10},
      {"VRX_DISABILITATUTTIU", 10},
      {"VRX_ABILITATUTTIU", 10},
      {"LBL_ALLTRANSAZIONI", 10},
      {"BTN_ABILITATUTTIDEP", 10},
      {"VRX_DISABILITATUTTIDEP", 10},
      {"LblDepositoSelezionato", 10},
      {"VRX_COPIAUTENTE2", 12},
      {"VRX_COPIAUTENTE", 12},
      {"CMD_UPDATE", 12},
      {"CMD_OK", 12},
      {"VRX_ABIDISDEPORI", 12},
      {"VRX_COPIADEP", 12},
      {"CMD_SELEZIONA", 5},
  };
  for (const Entry& entry : kEntries) resize.Register(entry.name, entry.code);
}

// --- principal selection

void FRMFW_ORVELKA::InitUserTree() {
  try {
    host::PrincipalTree& tree = Need(controls_.VRX_TREEUTENTI1, "VRX_TREEUTENTI1");
    tree.SetShowUsers(true);
    tree.SetShowGroups(true);
    tree.Initialize(host_interface_, true);
    tree.Load();
  } catch (...) {
    VisualizzaErrore("InitUserTree");
  }
}

class FRMFW_ORVELKA::GestureScope {
 public:
  explicit GestureScope(FRMFW_ORVELKA& w) : w_(w) {
    if (w_.gesture_depth_++ == 0) w_.gesture_reports_.clear();
  }
  ~GestureScope() { --w_.gesture_depth_; }
  GestureScope(const GestureScope&) = delete;
  GestureScope& operator=(const GestureScope&) = delete;

 private:
  FRMFW_ORVELKA& w_;
};

bool FRMFW_ORVELKA::FirstReportInGesture(std::string_view what) {
  if (gesture_depth_ == 0) return true;
  for (const std::string& done : gesture_reports_) {
    if (done == what) return false;
  }
  gesture_reports_.emplace_back(what);
  return true;
}

void FRMFW_ORVELKA::trv_GU_NodeClick(const std::optional<host::PrincipalNode>& node) {
  GestureScope gesture(*this);
  try {
    if (VRX_FRM(kFrameTransfers).visible()) {
      LoadRevokeDepositi();
    } else if (VRX_FRM(kFrameParameters).visible()) {
      if (!skip_reload_ && loaded_flag_) {
        LoadData();
      } else {
        skip_reload_ = false;
      }
      Need(controls_.GRIDTIPOLOGIE, "GRIDTIPOLOGIE").Refresh();
    } else if (VRX_FRM(kFrameCopy).visible()) {
      // Nothing selected leaves the destination empty instead of failing.
      control("txtA").SetCaption(node ? store::Principal::FromNode(*node).Description() : "");
    } else if (VRX_FRM(kFrameTrees).visible()) {
      if (section_code_ == kSectionFamilies) {
        InitTreeFamiglie();
      } else {
        LoadTreeCausali();
      }
    }
  } catch (...) {
    VisualizzaErrore("trv_GU_NodeClick");
  }
}

void FRMFW_ORVELKA::VRX_TREEUTENTICOPIA_NodeClick(const std::optional<host::PrincipalNode>& node) {
  try {
    Call(SectionFor(kSectionCopy),
         [&](Section& s) { return s.CopyTreeNodeClick(node ? &*node : nullptr); });
  } catch (...) {
    VisualizzaErrore("VRX_TREEUTENTICOPIA_NodeClick");
  }
}

// --- side bar

void FRMFW_ORVELKA::InitSideBar() {
  try {
    host::SideBar& bar = Need(controls_.VRX_SIDEBAR1, "VRX_SIDEBAR1");
    bar.Initialize(host_interface_, true);
    bar.SelectItem(0, false, "GRP1013", "ITM50010");
  } catch (...) {
    VisualizzaErrore("InitSideBar");
  }
}

void FRMFW_ORVELKA::SelectFrame(int16_t& index) {
  LogErrorRoutine routine(*this, "SelectFrame");
  for (int frame : {3, 4, 5, 6}) {
    if (!routine.Run([&] { VRX_FRM(frame).SetVisible(false); })) return;
  }
  if (!routine.Run([&] {
        if (index < 0 || index > 6) {
          throw db::DbError(340,
                            "Control array element '" + std::to_string(index) + "' doesn't exist");
        }
        VRX_FRM(index).SetVisible(true);
      }))
    return;
  if (!routine.Run([&] { frame_index_ = index; })) return;
  if (index != kFrameCopy) {
    routine.Run(
        [&] { Call(SectionFor(kSectionCopy), [](Section& s) { return s.ResetCopySelection(); }); });
  } else {
    routine.Run([&] { control("LblTitle").SetCaption("Copia revoche"); });
  }
}

void FRMFW_ORVELKA::DispatchSideBarKey(std::string_view key, int32_t& grid_kind) {
  auto frame = [&](int16_t index) { Silently([&] { SelectFrame(index); }); };
  auto code = [&](int32_t value) { section_code_ = value; };
  auto chosen = [&] { section_chosen_ = true; };
  auto project_steps = [&] {
    Silently([&] { Call(ActiveSection(), [](Section& s) { return s.InitEnquery(); }); });
    Silently([&] { control("CMD_UPDATE").SetVisible(true); });
    skip_reload_ = true;
    Silently([&] { ArrangePanes(true); });
  };

  grid_kind = 0;
  if (key == "ITM50010") {
    frame(kFrameTrees);
    code(kSectionCliFor);
    Silently([&] { LoadTreeCausali(); });
    chosen();
  } else if (key == "ITM50017") {
    grid_kind = 2;
    frame(kFrameParameters);
    code(kSectionWarehouses);
    chosen();
  } else if (key == "ITM_ARTFAM") {
    code(kSectionFamilies);
    Silently([&] { InitTreeFamiglie(); });
    frame(kFrameTrees);
    chosen();
  } else if (key == "ITM50016") {
    grid_kind = 2;
    frame(kFrameParameters);
    code(kSectionMrpSimulations);
    chosen();
  } else if (key == "ITM50026" || key == "ITM_NODI") {
    grid_kind = 6;
    frame(kFrameParameters);
    code(key == "ITM50026" ? kSectionProjects : kSectionNodes);
    project_steps();
    chosen();
  } else if (key == "ITM_MODBLOCCO") {
    grid_kind = 2;
    frame(kFrameParameters);
    code(kSectionBlocking);
    Silently([&] { control("ENHQUERY").SetVisible(false); });
    Silently([&] { control("SPLIT_OCX").SetVisible(false); });
    Silently([&] {
      Control& grid_pane = control("VRX_FMEGRID");
      grid_pane.SetTop(0);
      grid_pane.SetHeight(control("PCB_UTENTI").height());
      Control& update = control("CMD_UPDATE");
      const int32_t top = grid_pane.height() - update.height() - 40;
      for (const char* name :
           {"CMD_UPDATE", "VRX_ABILITATUTTI", "VRX_DISABILITATUTTI", "VRX_COPIAUTENTE"}) {
        control(name).SetTop(top);
      }
      control("GRIDTIPOLOGIE").SetHeight(grid_pane.height() - update.height() - 200);
    });
    chosen();
  } else if (key == "ITM_TRANSORIDEST") {
    grid_kind = 9;
    frame(kFrameTransfers);
    code(kSectionTransfers);
    chosen();
  } else if (key == "ITM154") {
    frame(kFrameCopy);
    code(kSectionCopy);
    Silently([&] {
      std::optional<host::PrincipalNode> node;
      if (controls_.VRX_TREEUTENTICOPIA) node = controls_.VRX_TREEUTENTICOPIA->SelectedNode();
      Call(SectionFor(kSectionCopy),
           [&](Section& s) { return s.CopyTreeNodeClick(node ? &*node : nullptr); });
    });
  }
}

void FRMFW_ORVELKA::VRX_SIDEBAR1_ItemClick(const host::SideBarItem& item) {
  GestureScope gesture(*this);
  // Step 1. The grids are emptied first, so that no gesture can act on rows
  // of the previous section while the new one is prepared.
  Silently([&] {
    if (controls_.GRIDTIPOLOGIE) controls_.GRIDTIPOLOGIE->SetDataSource(nullptr);
  });
  Silently([&] {
    if (controls_.GRID_DEPOSITO) controls_.GRID_DEPOSITO->SetDataSource(nullptr);
  });
  Silently([&] {
    if (controls_.TGRID_CLIFOR) controls_.TGRID_CLIFOR->SetDataSource(nullptr);
  });
  ResetRows();
  Silently([&] { ArrangePanes(false); });
  Silently([&] { control("PICDOWN").SetVisible(false); });
  Silently([&] { control("PICUP").SetVisible(false); });
  section_chosen_ = false;
  Silently([&] { control("CMD_UPDATE").SetVisible(false); });
  loaded_flag_ = false;
  Silently([&] { control("ENHQUERY").SetVisible(true); });
  Silently([&] { control("SPLIT_OCX").SetVisible(true); });

  // Step 2.
  int32_t grid_kind = 0;
  Silently([&] { DispatchSideBarKey(item.key, grid_kind); });

  // Steps 3 to 8.
  Silently([&] {
    const bool transfers = section_code_ == kSectionTransfers;
    control("BTN_ABILITATUTTIDEP").SetVisible(transfers);
    control("VRX_DISABILITATUTTIDEP").SetVisible(transfers);
  });
  Silently([&] { InitGrid(grid_kind, item.key); });
  Silently([&] {
    const bool project_key = item.key == "ITM50026" || item.key == "ITM50014" ||
                             item.key == "ITM50015" || item.key == "ITM_NODI";
    if (!project_key && frame_index_ != 0 && frame_index_ != 1) LoadData();
  });
  Silently([&] { trv_GU_NodeClick(SelectedNode()); });
  Silently([&] { ArrangeUserPane(section_chosen_); });
  Silently([&] { control("LblTitle").SetCaption(item.caption); });
}

void FRMFW_ORVELKA::ArrangeUserPane(bool section_chosen) {
  Silently([&] {
    Control& pane = control("PCB_UTENTI");
    Control& tree = control("VRX_TREEUTENTI1");
    Control& check = control("CHK_ABILREVOKE");
    Control& label = control("LblDepositoSelezionato");
    if (section_code_ == kSectionTransfers) {
      check.SetVisible(false);
      tree.SetHeight(pane.height() - 1200);
      label.SetTop(tree.top() + tree.height() + 60);
      label.SetVisible(true);
      return;
    }
    label.SetVisible(false);
    if (section_chosen) {
      check.SetVisible(true);
      tree.SetHeight(pane.height() - 545);
    } else {
      check.SetVisible(false);
      tree.SetHeight(pane.height() - 150);
    }
  });
}

// --- master switch

void FRMFW_ORVELKA::LoadRevokeSetting() {
  try {
    std::shared_ptr<db::Recordset> rs =
        Need(connection_, "Connection").Execute(store::Settings::SelectRevokeOnLoad());
    if (rs && !rs->IsEof()) {
      const int16_t value = rs->Field("FW95_VALORE").ToInt16();
      rs.reset();
      if (viewer()) {
        // Shown as stored: setting the box would write it back.
        control("CHK_ABILREVOKE").SetValue(db::Value(static_cast<int>(value)));
        if (std::shared_ptr<host::ClsGlobal> g = global()) g->SetRevocationEnabled(value == 1);
      } else {
        SetCheckValue("CHK_ABILREVOKE", db::Value(static_cast<int>(value)));
      }
    }
  } catch (...) {
    VisualizzaErrore("LoadRevokeSetting");
  }
}

void FRMFW_ORVELKA::CHK_ABILREVOKE_Click() {
  // The setting, the lists derived from it and the change-log entry commit
  // together; on a failure none of them changed, so the box goes back to
  // what the table holds before the user is told.
  std::string routine = "CHK_ABILREVOKE_Click";
  db::Value value;
  try {
    db::Connection& connection = Need(connection_, "Connection");
    value = control("CHK_ABILREVOKE").value();
    const std::string value_text = value.ToText();
    host::ClsGlobal& g = Need(global(), "ClsGlobal");
    const bool enabled = value.ToInt32() == 1;
    {
      db::Transaction transaction(connection);
      journal::GestureCapture capture(
          journal_.get(), connection,
          {journal::RowScope{journal::JournalTable::kSettings,
                             {},
                             {{"FW95_CODICE", db::Value("AUT_RVKENABLED")}}}});
      std::shared_ptr<db::Recordset> rs =
          connection.Execute(store::Settings::SelectRevokeOnClick());
      const bool exists = rs && !rs->IsEof();
      rs.reset();
      connection.Execute(exists ? store::Settings::UpdateRevoke(value_text)
                                : store::Settings::InsertRevoke(value_text));
      routine = "AggiornaRevoke";
      RunReloadAllListaCFRevocati();
      routine = "CHK_ABILREVOKE_Click";
      change_log().WriteEntry(11, change_log().FormatDetail(1, enabled ? "Attivo" : "Non attivo"));
      journal::Gesture gesture;
      gesture.kind = journal::GestureKind::kSwitch;
      gesture.section = section_code_;
      capture.Commit(transaction, gesture);
    }
    g.SetRevocationEnabled(enabled);
  } catch (...) {
    const host::ErrObject error = host::ErrObject::FromCurrentException();
    // Rolled back: the box shows what the table still holds (at start-up
    // that is the value just loaded, not the other one).
    Silently([&] {
      if (value.IsEmpty()) return;
      db::Value stored(value.ToInt32() == 1 ? 0 : 1);
      Silently([&] {
        std::shared_ptr<db::Recordset> rs =
            Need(connection_, "Connection").Execute(store::Settings::SelectRevokeOnLoad());
        if (rs && !rs->IsEof())
          stored = db::Value(static_cast<int>(rs->Field("FW95_VALORE").ToInt16()));
      });
      control("CHK_ABILREVOKE").SetValue(stored);
      if (std::shared_ptr<host::ClsGlobal> g = global()) {
        g->SetRevocationEnabled(stored.ToInt32() == 1);
      }
    });
    VisualizzaErrore(routine, error);
  }
}

void FRMFW_ORVELKA::RunReloadAllListaCFRevocati() {
  db::Command command;
  command.ActiveConnection = connection_;
  Need(command.ActiveConnection, "Connection");
  command.CommandType = db::kAdCmdStoredProc;
  command.CommandTimeout = 0;
  command.CommandText = "SPFW_ReloadListaCFRevocati";
  command.Execute(nullptr, db::kAdExecuteNoRecords);
}

void FRMFW_ORVELKA::AggiornaRevoke() {
  try {
    RunReloadAllListaCFRevocati();
  } catch (...) {
    VisualizzaErrore("AggiornaRevoke");
  }
}

// --- temporary table

db::Value FRMFW_ORVELKA::GetTempTableName() {
  db::Value result;
  LogErrorRoutine routine(*this, "GetTempTableName");
  std::shared_ptr<db::Recordset> rs;
  if (!routine.Run(
          [&] { rs = Need(connection_, "Connection").Execute(store::TempTable::kSelectNewId); }))
    return result;
  routine.Run([&] {
    if (rs && !rs->IsEof()) {
      result = db::Value(store::TempTable::NameFromGuid(rs->Field(0).ToText()));
    } else {
      result = db::Value(std::string(store::TempTable::kPrefix));
    }
  });
  return result;
}

// --- gestures

// --- journal of gestures

bool FRMFW_ORVELKA::UndoGesture() {
  if (!journal_ || viewer()) return false;
  try {
    const journal::Journal::Result result = journal_->Undo();
    return AfterJournalStep(result);
  } catch (...) {
    VisualizzaErrore("UndoGesture");
    ReloadCurrentSection();
    return false;
  }
}

bool FRMFW_ORVELKA::RedoGesture() {
  if (!journal_ || viewer()) return false;
  try {
    return AfterJournalStep(journal_->Redo());
  } catch (...) {
    VisualizzaErrore("RedoGesture");
    ReloadCurrentSection();
    return false;
  }
}

bool FRMFW_ORVELKA::RevertGesture(int64_t entry_id) {
  if (!journal_ || viewer()) return false;
  try {
    return AfterJournalStep(journal_->Revert(entry_id));
  } catch (...) {
    VisualizzaErrore("RevertGesture");
    ReloadCurrentSection();
    return false;
  }
}

bool FRMFW_ORVELKA::AfterJournalStep(const journal::Journal::Result& result) {
  if (!result.applied) {
    ShowMessage(result.message, host::kVbExclamation, Caption());
    return false;
  }
  if (result.settings_changed) {
    // The box follows the row put back, without raising its click.
    Silently([&] {
      std::shared_ptr<db::Recordset> rs =
          Need(connection_, "Connection").Execute(store::Settings::SelectRevokeOnLoad());
      const int value = rs && !rs->IsEof() ? rs->Field("FW95_VALORE").ToInt16() : 0;
      control("CHK_ABILREVOKE").SetValue(db::Value(value));
      if (std::shared_ptr<host::ClsGlobal> g = global()) g->SetRevocationEnabled(value == 1);
    });
  }
  ReloadCurrentSection();
  return true;
}

void FRMFW_ORVELKA::ReloadCurrentSection() {
  GestureScope gesture(*this);
  try {
    if (VRX_FRM(kFrameTransfers).visible()) {
      LoadRevokeDepositi();
    } else if (VRX_FRM(kFrameParameters).visible()) {
      if (loaded_flag_) LoadData();
      Need(controls_.GRIDTIPOLOGIE, "GRIDTIPOLOGIE").Refresh();
    } else if (VRX_FRM(kFrameTrees).visible()) {
      if (section_code_ == kSectionFamilies) {
        InitTreeFamiglie();
      } else {
        LoadTreeCausali();
      }
    }
  } catch (...) {
    VisualizzaErrore("ReloadCurrentSection");
  }
}

bool FRMFW_ORVELKA::viewer() const { return connection_ && connection_->IsReadOnly(); }

bool FRMFW_ORVELKA::WritesData(std::string_view button) {
  return button.starts_with("VRX_") || button.starts_with("BTN_") || button == "CMD_OK";
}

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

// --- hooks

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
