// FRMFW_ORVELKA: construction, controls, set-up by the entry class, the sections and their rows,
// the host's services. The other regions of the class are in frmfw_orvelka_*.cc.

#include "editor/frmfw_orvelka.h"

#include <array>
#include <string>
#include <utility>

#include "db/command.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "db/value_variant.h"
#include "editor/log_error_routine.h"
#include "editor/silently.h"
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

using host::Need;

namespace {

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
std::shared_ptr<host::ClsGlobal> FRMFW_ORVELKA::global() const {
  return host_interface_ ? host_interface_->GetClsGlobal() : nullptr;
}
host::ChangeLog& FRMFW_ORVELKA::change_log() const {
  std::shared_ptr<host::ClsGlobal> g = global();
  host::ChangeLog* log = g ? g->GetChangeLog() : nullptr;
  if (log == nullptr) host::ThrowObjectNotSet("ChangeLog");
  return *log;
}
bool FRMFW_ORVELKA::viewer() const { return connection_ && connection_->IsReadOnly(); }

bool FRMFW_ORVELKA::WritesData(std::string_view button) {
  return button.starts_with("VRX_") || button.starts_with("BTN_") || button == "CMD_OK";
}

}  // namespace orv::editor
