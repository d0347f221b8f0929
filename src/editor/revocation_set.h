#ifndef ORV_EDITOR_REVOCATION_SET_H_
#define ORV_EDITOR_REVOCATION_SET_H_

#include <string>

#include "journal/row_scope.h"

namespace orv::editor {

// A principal's revocations in one section as "Abilita tutti" removes them,
// described by the section that owns them (see Section::EnableAllSet).
struct RevocationSet {
  // Finds one revocation; empty when nothing is looked for (the button
  // asked its own question) and the removal runs at once.
  std::string probe;
  // Removes them (or sets their rights back); empty when the section's work
  // table is marked and merged instead (the project nodes).
  std::string remove;
  // The rows the removal changes, journaled with the gesture.
  journal::RowScope scope;
};

}  // namespace orv::editor

#endif  // ORV_EDITOR_REVOCATION_SET_H_
