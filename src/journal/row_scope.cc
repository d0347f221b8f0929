#include "journal/row_scope.h"

#include <utility>

namespace orv::journal {

RowScope& RowScope::Where(std::string column, db::Value value) {
  equals.emplace_back(std::move(column), std::move(value));
  return *this;
}

}  // namespace orv::journal
