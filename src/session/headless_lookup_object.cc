#include "session/headless_lookup_object.h"

#include <string>

namespace orv::session {

host::LookupDefinition HeadlessLookupObject::Definition(std::string_view column) {
  // Columns are the query control's own field definitions, never user text.
  const std::string col(column);
  const std::string table = col.rfind("PD0C_", 0) == 0 ? "PD0C_NODO" : "PD68_PROGETTI";
  return {"SELECT DISTINCT " + col + " FROM " + table + " ORDER BY " + col, col, {col}};
}

std::optional<std::string> HeadlessLookupObject::Resolve(std::string_view /*column*/,
                                                         std::string_view /*value*/,
                                                         std::string_view /*project*/) {
  return std::nullopt;
}

}  // namespace orv::session
