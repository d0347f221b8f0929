#ifndef ORV_SECTIONS_NODES_PROJECT_QUERY_H_
#define ORV_SECTIONS_NODES_PROJECT_QUERY_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "zere_orvelka/lookup_object.h"

namespace orv::editor {
class SectionContext;
}

namespace orv::sections {

// The filter bar (ENHQUERY) of the project section (8) and of the
// project-node section (33): its set-up, its fields and the host lookups
// that serve them. Both sections share it; each keeps its own hooks.
class ProjectQuery {
 public:
  // A field of the filter bar and the host lookup that serves it.
  struct Field {
    std::string_view caption;
    std::string_view column;
    int32_t max_length;
    int lookup;  // host::LookupObject::Kind
  };

  static constexpr std::string_view kPage = "Standard";
  static constexpr std::string_view kContextProjects = "ZERE_MIRSENT";
  static constexpr std::string_view kContextNodes = "ZERE_MIRSENTNODI";

  // The fields of section 8 or 33, in their order; empty for other sections.
  static std::span<const Field> Fields(int32_t section);
  // The field of that caption, or null.
  static const Field* Find(int32_t section, std::string_view caption);

  // Clears the control and defines it for the section: context, connection,
  // fields. Throws what the control or the host throws.
  static void Init(editor::SectionContext& window, int32_t section);

  // The statement, title and headings the host's lookup service gives for
  // the field's attribute.
  static host::LookupDefinition Definition(editor::SectionContext& window, const Field& field);
  // The code the host's code-lookup service finds for a typed value (a node
  // within `project`), or the value as typed when it is blank or nothing is
  // found.
  static std::string Resolve(editor::SectionContext& window, const Field& field,
                             std::string_view value, std::string_view project);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_NODES_PROJECT_QUERY_H_
