#include "sections/parameters/node_merge.h"

#include "editor/frmfw_orvelka.h"
#include "host/err_object.h"

namespace orv::sections {

NodeMerge& NodeMerge::Find(editor::FRMFW_ORVELKA& window) {
  for (const auto& section : window.sections()) {
    if (auto* merge = dynamic_cast<NodeMerge*>(section.get())) return *merge;
  }
  host::ThrowObjectNotSet("ConfermaModificheNodi");
}

}  // namespace orv::sections
