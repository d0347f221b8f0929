#ifndef ORV_SECTIONS_PARAMETERS_NODE_MERGE_H_
#define ORV_SECTIONS_PARAMETERS_NODE_MERGE_H_

#include <string_view>

#include "db/value.h"
#include "store/principal.h"

namespace orv::editor {
class SectionContext;
}

namespace orv::sections {

// What the project-node section offers to the shared grid click and to the
// bulk operations: bringing FW3N_RVKNODI in line with the node work table for
// one principal. The section that implements it is found among the window's
// sections.
class NodeMerge {
 public:
  virtual ~NodeMerge() = default;
  // Reports its own errors; true when the merge ran. Runs only on a work
  // table built for this principal.
  virtual bool ConfermaModificheNodi(const db::Value& user_id, const db::Value& group_id) = 0;
  // True when the work table holds the rows built for this principal in the
  // current company (and no build failed since).
  virtual bool WorkTableBuiltFor(const store::Principal& principal) = 0;
  // A click on one node: writes exactly its FW3N_RVKNODI row for the
  // principal (inserted when `revoked` and missing, deleted when not
  // revoked), nothing else. Reports its own errors; true when written.
  virtual bool SaveNode(const store::Principal& principal, const db::Value& company,
                        std::string_view project, std::string_view node, bool revoked) = 0;

  // The owner of the node section (33), when it offers the merge; throws
  // the "object not set" error otherwise.
  static NodeMerge& Find(editor::SectionContext& window);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_PARAMETERS_NODE_MERGE_H_
