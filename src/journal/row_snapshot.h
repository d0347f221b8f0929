#ifndef ORV_JOURNAL_ROW_SNAPSHOT_H_
#define ORV_JOURNAL_ROW_SNAPSHOT_H_

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "db/value.h"
#include "journal/journal_table.h"
#include "journal/row_scope.h"

namespace orv::db {
class Connection;
}

namespace orv::journal {

// The rows of a scope as texts: key (RowText of the key columns) -> values
// (RowText of the value columns).
class RowSnapshot {
 public:
  using Rows = std::unordered_map<std::string, std::string>;
  using OrderedRows = std::vector<std::pair<std::string, std::string>>;

  // Reads the scope's rows into `rows` (added to what it holds). Throws
  // DbError.
  static void Read(db::Connection& connection, const JournalTable& table, const RowScope& scope,
                   Rows& rows);
  // The same, appended in the order of the key columns (the order of the
  // table's key index, so the engine reads them in order).
  static void ReadOrdered(db::Connection& connection, const JournalTable& table,
                          const RowScope& scope, OrderedRows& rows);
  // The text a reading gives for fields of these values (integers in
  // decimal, texts as they are, NULL as "\N"): what a gesture that knows
  // what it wrote tells GestureCapture::Wrote().
  static std::string Text(const std::vector<db::Value>& fields);

 private:
  static void Visit(db::Connection& connection, const JournalTable& table, const RowScope& scope,
                    bool ordered, const std::function<void(std::string&, std::string&)>& row);
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_ROW_SNAPSHOT_H_
