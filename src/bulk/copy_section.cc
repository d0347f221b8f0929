#include "bulk/copy_section.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "bulk/copy_statements.h"
#include "db/connection.h"
#include "editor/control.h"
#include "editor/log_error_routine.h"
#include "editor/section_context.h"
#include "host/err_object.h"
#include "journal/gesture_capture.h"
#include "journal/journal_table.h"
#include "zere_orvelka/message_service.h"
#include "zere_orvelka/principal_tree.h"

namespace orv::bulk {

namespace {

using editor::SectionCodes;
using editor::SectionContext;

constexpr std::string_view kCheckBoxType = "VRX_CHECKBOX";
constexpr std::string_view kSelectAll = "Seleziona tutti";
constexpr std::string_view kDeselectAll = "Deseleziona tutti";
constexpr std::string_view kSameUser = "L'utente ";
constexpr std::string_view kSameGroup = "Il gruppo ";
constexpr std::string_view kSameTail = " d'origine e di destinazione coincidono";
constexpr std::string_view kSameTitle = "Operazione non consentita";
constexpr std::string_view kNothingTicked = "Nessun contesto selezionato";
constexpr std::string_view kNoPrincipal = "Selezionare almeno un gruppo o un utente!";
constexpr std::string_view kNoSource = "Selezionare il gruppo o l'utente d'origine della copia!";
constexpr std::string_view kNoPrincipalTitle = "Operazione non valida";
constexpr std::string_view kWarningTitle = "Avviso";
constexpr std::string_view kOverwrite =
    "L'operazione sovrascriverà qualsiasi impostazione del profilo ";

// The box each section ticks when it opens the panel.
struct PreTick {
  int32_t section;
  std::string_view box;
};
constexpr std::array<PreTick, 8> kPreTicks = {{
    {SectionCodes::kSectionWarehouses, "CHK_DEP"},
    {SectionCodes::kSectionProjects, "CHK_PROGETTI"},
    {SectionCodes::kSectionMrpSimulations, "CHK_CODICISIMUAZIONE"},
    {SectionCodes::kSectionCliFor, "CHK_CLIFOR"},
    {SectionCodes::kSectionBlocking, "CHK_BLOC"},
    {SectionCodes::kSectionFamilies, "CHK_FAM"},
    {SectionCodes::kSectionTransfers, "CHK_TRANS"},
    {SectionCodes::kSectionNodes, "CHK_NODI"},
}};

using host::Need;

bool IsTicked(const db::Value& value) {
  return !value.IsNull() && !value.IsEmpty() && value.IsNumeric() && value.ToDouble() == 1;
}

}  // namespace

bool CopySection::InitCopyTree() {
  SectionContext& w = context();
  host::PrincipalTree& tree = Need(w.host_controls().VRX_TREEUTENTICOPIA, "VRX_TREEUTENTICOPIA");
  tree.SetShowUsers(true);
  tree.SetShowGroups(true);
  tree.Initialize(w.HostInterface(), true);
  tree.Load();
  return true;
}

bool CopySection::CopyTreeNodeClick(const host::PrincipalNode* node) {
  // Nothing picked leaves the source empty rather than showing a stale one.
  context().control("txtDa").SetCaption(
      node != nullptr ? store::Principal::FromNode(*node).Description() : "");
  return true;
}

bool CopySection::ResetCopySelection() {
  select_all_ = false;
  CMD_SELEZIONA_Click();
  return true;
}

bool CopySection::ButtonClick(std::string_view name) {
  if (name == "VRX_COPIAUTENTE" || name == "VRX_COPIAUTENTE2" || name == "VRX_COPIADEP") {
    OpenCopyPanel();
    return true;
  }
  if (name == "CMD_SELEZIONA") {
    CMD_SELEZIONA_Click();
    return true;
  }
  if (name == "CMD_OK") {
    DuplicaRevoke();
    return true;
  }
  return false;
}

void CopySection::OpenCopyPanel() {
  SectionContext& w = context();
  for (const PreTick& entry : kPreTicks) {
    if (entry.section == w.section_code()) w.control(entry.box).SetValue(db::Value(1));
  }
  int16_t frame = SectionCodes::kFrameCopy;
  w.SelectFrame(frame);
  // The destination as the main tree shows it now; a principal picked
  // before the panel opened would otherwise not be shown.
  w.control("txtA").SetCaption(w.CurrentPrincipal().Description());
}

void CopySection::CMD_SELEZIONA_Click() {
  SectionContext& w = context();
  for (editor::Control* box : w.ControlsOfType(kCheckBoxType)) {
    box->SetValue(db::Value(select_all_ ? 1 : 0));
  }
  select_all_ = !select_all_;
  w.control("CMD_SELEZIONA").SetCaption(select_all_ ? kSelectAll : kDeselectAll);
}

bool CopySection::Ticked(std::string_view box) { return IsTicked(context().control(box).value()); }

std::optional<CopySection::Plan> CopySection::PrepareCopy() {
  SectionContext& w = context();
  const std::optional<host::PrincipalNode> destination =
      Need(w.host_controls().VRX_TREEUTENTI1, "VRX_TREEUTENTI1").SelectedNode();
  const std::optional<host::PrincipalNode> source =
      Need(w.host_controls().VRX_TREEUTENTICOPIA, "VRX_TREEUTENTICOPIA").SelectedNode();
  // Nothing picked is the user's omission, not an error to retry: refused
  // with the editor's standard refusal before anything is asked.
  if (!destination) {
    w.ShowMessage(kNoPrincipal, host::kVbExclamation, kNoPrincipalTitle);
    return std::nullopt;
  }
  if (!source) {
    w.ShowMessage(kNoSource, host::kVbExclamation, kNoPrincipalTitle);
    return std::nullopt;
  }

  // A user and a group with the same number are two principals.
  if (destination->id == source->id && destination->IsGroup() == source->IsGroup()) {
    w.ShowMessage(std::string(source->IsGroup() ? kSameGroup : kSameUser) + std::string(kSameTail),
                  host::kVbInformation, kSameTitle);
    return std::nullopt;
  }

  Plan plan;
  plan.destination = store::Principal::FromNode(*destination);
  plan.source = store::Principal::FromNode(*source);

  bool any = false;
  for (editor::Control* box : w.ControlsOfType(kCheckBoxType)) {
    if (IsTicked(box->value())) any = true;
  }
  if (!any) {
    w.ShowMessage(kNothingTicked, host::kVbExclamation, kWarningTitle);
    return std::nullopt;
  }
  if (w.ShowMessage(std::string(kOverwrite) + destination->name,
                    host::kVbYesNo + host::kVbExclamation, kWarningTitle) != host::kVbYes) {
    return std::nullopt;
  }

  plan.clifor = Ticked("CHK_CLIFOR");
  plan.families = Ticked("CHK_FAM");
  plan.transfers = Ticked("CHK_TRANS");
  plan.nodes = Ticked("CHK_NODI");
  plan.warehouses = Ticked("CHK_DEP");
  plan.mrp_simulations = Ticked("CHK_CODICISIMUAZIONE");
  plan.blocking = Ticked("CHK_BLOC");
  plan.projects = Ticked("CHK_PROGETTI");
  return plan;
}

void CopySection::DuplicaRevoke() {
  SectionContext& w = context();
  editor::LogErrorRoutine routine(w, "DuplicaRevoke");
  // A failure before the confirmation ends the copy whatever the answer:
  // going on would copy without the checks and the question.
  std::optional<Plan> plan;
  if (!routine.Run([&] { plan = PrepareCopy(); }) || !plan) return;

  const store::Principal& to = plan->destination;
  const store::Principal& from = plan->source;
  // The delete and the insert of one family land together or not at all,
  // with what they imply; the transaction ends before any error is shown.
  // Each family copied is one journal entry of the destination's rows.
  journal::Gesture gesture{journal::GestureKind::kCopy, w.section_code(), to};
  gesture.detail = "copiate le revoche da " + from.Description();
  auto copy = [&](const std::string& remove, const std::string& insert,
                  std::vector<journal::RowScope> scopes,
                  const std::function<void()>& implied = {}) {
    bool committed = false;
    routine.Run([&] {
      db::Connection& connection = Need(w.connection(), "Connection");
      db::Transaction transaction(connection);
      journal::GestureCapture capture(w.journal(), connection, std::move(scopes));
      connection.Execute(remove, nullptr, db::kAdExecuteNoRecords);
      connection.Execute(insert, nullptr, db::kAdExecuteNoRecords);
      if (implied) implied();
      capture.Commit(transaction, gesture);
      committed = true;
    });
    return committed;
  };
  auto all_rows = [&](std::string_view table) {
    return std::vector<journal::RowScope>{journal::RowScope{table, to, {}}};
  };
  if (plan->clifor) {
    // The list of revoked customers and suppliers the rest of the host reads
    // follows the destination's new branches in the same transaction.
    copy(CopyStatements::DeleteCliFor(to), CopyStatements::InsertCliFor(to, from),
         all_rows(journal::JournalTable::kCliFor), [&] { w.RunReloadListaCFRevocati(to); });
  }
  if (plan->families) {
    copy(CopyStatements::DeleteFamilies(to), CopyStatements::InsertFamilies(to, from),
         all_rows(journal::JournalTable::kFamilies));
  }
  if (plan->transfers) {
    copy(CopyStatements::DeleteTransfers(to), CopyStatements::InsertTransfers(to, from),
         all_rows(journal::JournalTable::kTransfers));
  }
  if (plan->nodes) {
    copy(CopyStatements::DeleteNodes(to), CopyStatements::InsertNodes(to, from),
         all_rows(journal::JournalTable::kNodes));
  }
  const std::string kinds = CopyStatements::ParameterKinds(plan->warehouses, plan->mrp_simulations,
                                                           plan->blocking, plan->projects);
  if (!kinds.empty()) {
    std::vector<journal::RowScope> scopes;
    const std::pair<bool, int32_t> ticked[] = {{plan->warehouses, 6},
                                               {plan->mrp_simulations, 15},
                                               {plan->blocking, 30},
                                               {plan->projects, 8}};
    for (const auto& [on, kind] : ticked) {
      if (!on) continue;
      journal::RowScope scope{journal::JournalTable::kParameters, to, {}};
      scopes.push_back(std::move(scope.Where("FW31_INDTIPO", db::Value(kind))));
    }
    copy(CopyStatements::DeleteParameters(to, kinds),
         CopyStatements::InsertParameters(to, from, kinds), std::move(scopes));
  }
}

}  // namespace orv::bulk
