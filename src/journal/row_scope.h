#ifndef ORV_JOURNAL_ROW_SCOPE_H_
#define ORV_JOURNAL_ROW_SCOPE_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/value.h"
#include "store/principal.h"

namespace orv::journal {

// The rows a gesture may change in one table, as the gesture knows them:
// its principal (none: every principal) and column = value conditions (the
// company, the kind, the item's key). The journal reads these rows before
// and after the gesture and keeps the images of those that changed, so a
// scope may be wider than what the gesture writes, never narrower.
struct RowScope {
  std::string_view table;  // a JournalTable name
  store::Principal principal;
  std::vector<std::pair<std::string, db::Value>> equals;

  // Adds a condition; chains. Kept out of line: inlined into a gesture's
  // code, the move of the value trips gcc's maybe-uninitialized analysis.
  RowScope& Where(std::string column, db::Value value);
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_ROW_SCOPE_H_
