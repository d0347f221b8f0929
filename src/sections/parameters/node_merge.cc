#include "sections/parameters/node_merge.h"

#include "editor/section.h"
#include "editor/section_context.h"
#include "host/err_object.h"

namespace orv::sections {

NodeMerge& NodeMerge::Find(editor::SectionContext& window) {
  if (auto* merge =
          dynamic_cast<NodeMerge*>(window.SectionFor(editor::SectionCodes::kSectionNodes))) {
    return *merge;
  }
  host::ThrowObjectNotSet("ConfermaModificheNodi");
}

}  // namespace orv::sections
