#ifndef ORV_HOST_TREE_ROW_READER_H_
#define ORV_HOST_TREE_ROW_READER_H_

#include <functional>
#include <string_view>

#include "db/value.h"

namespace orv::host {

// A row of the tree grid as the column-substitution event presents it to the
// sections: a field value by field name.
using TreeRowReader = std::function<db::Value(std::string_view field)>;

}  // namespace orv::host

#endif  // ORV_HOST_TREE_ROW_READER_H_
