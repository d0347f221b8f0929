#include "sections/nodes/project_query.h"

#include <array>
#include <memory>
#include <optional>

#include "db/connection.h"
#include "db/value.h"
#include "editor/section_context.h"
#include "host/err_object.h"
#include "zere_orvelka/cls_global.h"
#include "zere_orvelka/query_control.h"

namespace orv::sections {

namespace {

using editor::SectionCodes;
using editor::SectionContext;
using host::LookupObject;
using Field = ProjectQuery::Field;

constexpr std::array<Field, 6> kProjectFields = {{
    {"Progetto", "PD68_CODPROG", 25, LookupObject::kProject},
    {"Tipo progetto", "PD68_TIPO_PD1D", 10, LookupObject::kProjectType},
    {"Stato progetto", "PD68_STATO_PD1E", 10, LookupObject::kProjectState},
    {"Classe A progetto", "PD68_CLASSEA_PD1F", 10, LookupObject::kClassA},
    {"Classe B progetto", "PD68_CLASSEB_PD1G", 10, LookupObject::kClassB},
    {"Classe C progetto", "PD68_CLASSEC_PD1H", 10, LookupObject::kClassC},
}};

// The node attributes use the same code tables as the project ones.
constexpr std::array<Field, 12> kNodeFields = {{
    {"Progetto", "PD0C_CODPROG_PD68", 25, LookupObject::kProject},
    {"Nodo", "PD0C_CODNODO", 25, LookupObject::kNode},
    {"Tipo progetto", "PD68_TIPO_PD1D", 10, LookupObject::kProjectType},
    {"Stato progetto", "PD68_STATO_PD1E", 10, LookupObject::kProjectState},
    {"Classe A progetto", "PD68_CLASSEA_PD1F", 10, LookupObject::kClassA},
    {"Classe B progetto", "PD68_CLASSEB_PD1G", 10, LookupObject::kClassB},
    {"Classe C progetto", "PD68_CLASSEC_PD1H", 10, LookupObject::kClassC},
    {"Tipo nodo", "PD0C_TIPO_PD1D", 10, LookupObject::kProjectType},
    {"Stato nodo", "PD0C_STATO_PD1E", 10, LookupObject::kProjectState},
    {"Classe A nodo", "PD0C_CLASSEA_PD1F", 10, LookupObject::kClassA},
    {"Classe B nodo", "PD0C_CLASSEB_PD1G", 10, LookupObject::kClassB},
    {"Classe C nodo", "PD0C_CLASSEC_PD1H", 10, LookupObject::kClassC},
}};

using host::Need;

LookupObject& LookupFor(SectionContext& window, const Field& field) {
  const auto& lookups = window.lookup_objects();
  const auto kind = static_cast<size_t>(field.lookup);
  if (kind >= lookups.size() || !lookups[kind]) host::ThrowObjectNotSet("LookupObject");
  return *lookups[kind];
}

}  // namespace

std::span<const Field> ProjectQuery::Fields(int32_t section) {
  if (section == SectionCodes::kSectionProjects) return kProjectFields;
  if (section == SectionCodes::kSectionNodes) return kNodeFields;
  return {};
}

const Field* ProjectQuery::Find(int32_t section, std::string_view caption) {
  for (const Field& field : Fields(section)) {
    if (field.caption == caption) return &field;
  }
  return nullptr;
}

void ProjectQuery::Init(SectionContext& window, int32_t section) {
  host::QueryControl& query = Need(window.host_controls().ENHQUERY, "ENHQUERY");
  query.ClearCriteria();
  query.ClearReferences();
  std::shared_ptr<host::ClsGlobal> global = window.global();
  host::ClsGlobal& g = Need(global, "ClsGlobal");
  query.SetContext(window.current_company().ToInt32(), g.Login(), g.ApplicationTitle(), global);
  query.SetContextName(section == SectionCodes::kSectionNodes ? kContextNodes : kContextProjects);
  query.SetEnabled(true);
  query.SetConnection(window.connection());
  int32_t position = 0;
  for (const Field& field : Fields(section)) {
    query.AddField(kPage, field.caption, field.column, ++position, field.max_length);
  }
  query.Build();
}

host::LookupDefinition ProjectQuery::Definition(SectionContext& window, const Field& field) {
  return LookupFor(window, field).Definition(field.column);
}

std::string ProjectQuery::Resolve(SectionContext& window, const Field& field,
                                  std::string_view value, std::string_view project) {
  if (db::Trim(value).empty()) return std::string(value);
  std::optional<std::string> code = LookupFor(window, field).Resolve(field.column, value, project);
  return code ? *code : std::string(value);
}

}  // namespace orv::sections
