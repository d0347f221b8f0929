#include "sections/nodes/node_section.h"

#include "db/connection.h"
#include "db/recordset.h"
#include "editor/log_error_routine.h"
#include "editor/section_context.h"
#include "host/err_object.h"
#include "sections/nodes/node_statements.h"
#include "sections/nodes/project_query.h"
#include "sections/revoke_all/bulk_statements.h"
#include "store/principal.h"
#include "zere_orvelka/grouping_grid.h"
#include "zere_orvelka/query_control.h"

namespace orv::sections {

namespace {

using editor::SectionCodes;
using editor::SectionContext;

constexpr std::string_view kBoundFrom = "Da";
constexpr std::string_view kBoundTo = "A";
constexpr std::string_view kProjectCaption = "Progetto";
constexpr std::string_view kNodeCaption = "Nodo";

using host::Need;

bool IsMissing(const db::Value& id) { return id.IsNull() || id.IsEmpty(); }

std::string IdKey(const db::Value& id) { return store::IdText(id, "NULL"); }

}  // namespace

// --- loading

void NodeSection::Unbind() {
  SectionContext& w = context();
  w.rows().reset();
  if (w.host_controls().GRIDTIPOLOGIE) w.host_controls().GRIDTIPOLOGIE->SetDataSource(nullptr);
}

void NodeSection::Bind(std::shared_ptr<db::Recordset> recordset) {
  SectionContext& w = context();
  if (recordset->RecordCount() > 0) recordset->MoveFirst();
  w.rows() = recordset;
  host::GroupingGrid& grid = Need(w.host_controls().GRIDTIPOLOGIE, "GRIDTIPOLOGIE");
  grid.SetDataSource(recordset);
  if (grid.GetLayout()) {
    grid.RefreshLayout();
    grid.Redraw();
  }
  w.set_loaded_flag(true);
}

bool NodeSection::LoadData() {
  SectionContext& w = context();
  try {
    const std::string& table = w.temp_table_name();
    std::shared_ptr<db::Connection> connection = w.connection();
    db::Connection& cn = Need(connection, "Connection");
    const store::Principal principal = w.CurrentPrincipal();
    const int64_t company = w.current_company().ToInt64();
    // The condition is read first: a control that fails leaves the rows as
    // they were.
    const std::string condition = Need(w.host_controls().ENHQUERY, "ENHQUERY").Condition();
    // The rows shown before lend their storage to the rows read next, when
    // nothing else reads them any more.
    std::vector<std::vector<db::Value>> spare;
    {
      std::shared_ptr<db::Recordset> previous = w.rows();
      Unbind();
      if (previous && previous.use_count() == 1 && previous->IsOpen()) {
        spare = previous->ReleaseRows();
      }
    }
    built_ = false;
    cn.Execute(NodeStatements::DropWorkTable(table), nullptr, db::kAdExecuteNoRecords);
    // No filter: every row is included as it is made.
    const bool all = condition.empty();
    // The table and its key in one batch: the server may then key the table
    // before it fills it.
    cn.Execute(
        NodeStatements::WorkTable(table, principal.user_id(), principal.group_id(), company, all) +
            std::string(NodeStatements::kCrLf) + NodeStatements::WorkTableKey(table),
        nullptr, db::kAdExecuteNoRecords);
    if (!all) {
      cn.Execute(NodeStatements::MarkIncluded(table, condition), nullptr, db::kAdExecuteNoRecords);
    }
    auto rows = std::make_shared<db::Recordset>();
    rows->Open(NodeStatements::RowsShown(table), connection, std::move(spare));
    Bind(std::move(rows));
    built_ = true;
    built_user_ = IdKey(principal.user_id());
    built_group_ = IdKey(principal.group_id());
    built_company_ = company;
  } catch (...) {
    w.VisualizzaErrore("LoadData");
  }
  return true;
}

// --- filter bar

bool NodeSection::InitEnquery() {
  project_from_.clear();
  project_to_.clear();
  try {
    ProjectQuery::Init(context(), SectionCodes::kSectionNodes);
  } catch (...) {
    context().VisualizzaErrore("InitEnquery");
  }
  return true;
}

bool NodeSection::ButtonClick(std::string_view name) {
  if (name != "CMD_UPDATE") return false;
  SectionContext& w = context();
  w.LoadData();
  w.ArrangePanes(false);
  return true;
}

bool NodeSection::QueryLookupDefinition(std::string_view caption, host::LookupDefinition& out) {
  const ProjectQuery::Field* field = ProjectQuery::Find(SectionCodes::kSectionNodes, caption);
  if (field == nullptr) return false;
  out = ProjectQuery::Definition(context(), *field);
  return true;
}

bool NodeSection::QueryFieldValue(std::string_view caption, std::string_view bound,
                                  std::string_view value, std::string& out) {
  const ProjectQuery::Field* field = ProjectQuery::Find(SectionCodes::kSectionNodes, caption);
  if (field == nullptr) return false;
  std::string project;
  if (caption == kNodeCaption) {
    if (bound == kBoundFrom) project = project_from_;
    if (bound == kBoundTo) project = project_to_;
  }
  out = ProjectQuery::Resolve(context(), *field, value, project);
  if (caption == kProjectCaption) {
    if (bound == kBoundFrom) project_from_ = db::Trim(out);
    if (bound == kBoundTo) project_to_ = db::Trim(out);
  }
  return true;
}

void NodeSection::Unload() {
  project_from_.clear();
  project_to_.clear();
}

// --- saving

bool NodeSection::ConfermaModificheNodi(const db::Value& user_id, const db::Value& group_id) {
  // A MERGE for nobody would match the rows of no principal and insert rows
  // that name none.
  if (IsMissing(user_id) == IsMissing(group_id)) return false;
  // Rows built for another principal (or a build that failed) would hand
  // that principal's revocations to this one.
  if (!BuiltFor(user_id, group_id)) return false;
  SectionContext& w = context();
  editor::LogErrorRoutine routine(w, "ConfermaModificheNodi");
  bool merged = false;
  routine.Run([&] {
    Need(w.connection(), "Connection")
        .Execute(NodeStatements::Merge(w.temp_table_name(), user_id, group_id,
                                       w.current_company().ToInt64()),
                 nullptr, db::kAdExecuteNoRecords);
    merged = true;
  });
  return merged;
}

bool NodeSection::BuiltFor(const db::Value& user_id, const db::Value& group_id) {
  SectionContext& w = context();
  return built_ && built_user_ == IdKey(user_id) && built_group_ == IdKey(group_id) &&
         !w.current_company().IsNull() && !w.current_company().IsEmpty() &&
         built_company_ == w.current_company().ToInt64();
}

bool NodeSection::WorkTableBuiltFor(const store::Principal& principal) {
  return BuiltFor(principal.user_id(), principal.group_id());
}

bool NodeSection::SaveNode(const store::Principal& principal, const db::Value& company,
                           std::string_view project, std::string_view node, bool revoked) {
  if (principal.IsNone() || !WorkTableBuiltFor(principal)) return false;
  SectionContext& w = context();
  editor::LogErrorRoutine routine(w, "ConfermaModificheNodi");
  bool saved = false;
  routine.Run([&] {
    const int64_t ditta = company.ToInt64();
    Need(w.connection(), "Connection")
        .Execute(revoked ? NodeStatements::InsertRevocation(
                               principal.user_id(), principal.group_id(), ditta, project, node)
                         : NodeStatements::DeleteRevocation(
                               principal.user_id(), principal.group_id(), ditta, project, node),
                 nullptr, db::kAdExecuteNoRecords);
    saved = true;
  });
  return saved;
}

// --- revoke-all

std::optional<editor::RevocationSet> NodeSection::EnableAllSet(const store::Principal& principal) {
  const db::Value& company = context().current_company();
  editor::RevocationSet set;
  set.probe = BulkStatements::ProbeNodes(
      principal, company.IsNull() || company.IsEmpty() ? "NULL" : company.ToText());
  return set;
}

}  // namespace orv::sections
