#ifndef ORV_SECTIONS_PARAMETERS_NODE_MERGE_H_
#define ORV_SECTIONS_PARAMETERS_NODE_MERGE_H_

#include "db/value.h"

namespace orv::editor {
class FRMFW_ORVELKA;
}

namespace orv::sections {

// What the project-node section offers to the shared grid click and to the
// bulk operations: bringing FW3N_RVKNODI in line with the node work table for
// one principal. The section that implements it is found among the window's
// sections.
class NodeMerge {
 public:
  virtual ~NodeMerge() = default;
  // Reports its own errors; true when the merge ran.
  virtual bool ConfermaModificheNodi(const db::Value& user_id, const db::Value& group_id) = 0;

  // The first of the window's sections that offers the merge; throws the
  // "object not set" error when none does.
  static NodeMerge& Find(editor::FRMFW_ORVELKA& window);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_PARAMETERS_NODE_MERGE_H_
