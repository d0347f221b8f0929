#ifndef ORV_DB_RECORDSET_H_
#define ORV_DB_RECORDSET_H_

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/driver.h"
#include "db/field.h"
#include "db/value.h"
#include "zere_orvelka/row_source.h"

namespace orv::db {

class Connection;
class RowStore;  // rows shared between a recordset and its clones

// A client-side recordset with the behaviour the module relies on from ADO:
// a static cursor over materialised rows.
//
// - Fields are found by name without regard to case; Field() on an unknown
//   name throws DbError(kErrItemNotFound).
// - In-memory recordsets: AppendField() before Open() with no source.
// - Filter: ADO criteria ("A = 'x' AND (B > 1 OR C = NULL)"); the cursor
//   moves to the first visible row; ClearFilter() shows every row again.
// - Clone() shares the rows (changes through one are seen by the other) and
//   has its own cursor and filter.
// - Bookmark() identifies the current row for as long as the rows live.
// - A recordset opened from a statement over one table remembers it; changes
//   made with Update()/AddNew()/Delete() stay pending until UpdateBatch()
//   writes them through the connection (needed for the node work table).
//
// Moving past the last row sets EOF; reading a field at BOF or EOF throws
// DbError(kErrBofOrEof).
//
// A host's grid sees the recordset bound to it as a host::RowSource.
class Recordset final : public host::RowSource {
 public:
  using Bookmark = int64_t;

  Recordset();
  ~Recordset() override;
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // In-memory construction.
  void AppendField(std::string name, DataType type, int32_t defined_size = 0, bool nullable = true);
  void Open();  // no source: an empty, updatable in-memory recordset

  // Opens on a statement (command type 1) over the connection. The
  // connection must outlive nothing: the recordset keeps it alive.
  void Open(std::string source, std::shared_ptr<Connection> connection);

  // The same, the rows read straight into the recordset as the driver reads
  // them (Connection::ExecuteStreaming) instead of through a result held
  // whole; the rows of `spare` (ReleaseRows of the recordset this one
  // replaces) lend their storage, so opening the same statement again
  // allocates next to nothing.
  void Open(std::string source, std::shared_ptr<Connection> connection,
            std::vector<std::vector<Value>> spare);

  // Wraps a result the connection produced (used by Connection::Execute).
  static std::shared_ptr<Recordset> FromResult(ResultSet result, std::string source,
                                               std::shared_ptr<Connection> connection);

  void Close();
  bool IsOpen() const;

  // Cursor.
  bool BOF() const;
  bool EOF_() const;  // EOF is a macro in <cstdio>
  bool IsEof() const override { return EOF_(); }
  void MoveFirst() override;
  void MoveNext() override;
  void MovePrevious();
  void MoveLast();
  int64_t RecordCount() const override;  // visible rows (after the filter)
  int64_t AbsolutePosition() const;      // 1-based, 0 at BOF/EOF

  // Fields of the current row.
  int FieldCount() const override;
  const FieldInfo& FieldAt(int index) const;
  int FieldIndex(std::string_view name) const override;  // -1 when absent
  bool HasField(std::string_view name) const { return FieldIndex(name) >= 0; }
  const Value& Field(std::string_view name) const;
  // host::RowSource: the same fields and rows as the host's values.
  std::string FieldName(int index) const override;
  host::Variant FieldValue(int index) const override;
  void SetFieldValue(int index, const host::Variant& value) override;
  const Value& Field(int index) const;
  // The values of the visible row at `position` (0-based, in the order the
  // cursor walks them, after the filter), read without moving the cursor:
  // a row's fields in one look-up instead of one per field. Valid until the
  // rows change (append, edit, delete, close). Throws DbError(kErrBofOrEof)
  // for a position of no visible row, DbError(kErrClosed) when closed.
  std::span<const Value> RowAt(int64_t position) const;
  void SetField(std::string_view name, const Value& value);  // edits the current row
  void SetField(int index, const Value& value);
  // The same, the value moved in instead of copied.
  void SetField(std::string_view name, Value&& value);
  void SetField(int index, Value&& value);

  // Editing.
  void AddNew();  // appends an empty row and makes it current
  void Update();  // ends an AddNew/edit (marks the row pending)
  void Delete();  // deletes the current row (pending)
  void CancelUpdate();

  // Bulk loading of an in-memory recordset (one opened without a source):
  // appends every visible row of `from`, in order, where field i takes the
  // value of column `columns[i]` of `from` (NULL for -1 or for fields past
  // the end of `columns`). Each value is stored as SetField stores it (fixed
  // text padded, numbers converted); a value a field cannot hold throws
  // DbError(kErrFieldValue) and appends nothing. The rows are contents, not
  // pending changes, as if read; clones see them. Neither cursor moves and
  // an edit in progress is left alone. Throws DbError(kErrBadArgument) on a
  // recordset opened on a statement or on a column `from` does not have.
  void AppendRows(const Recordset& from, const std::vector<int>& columns);
  // The same, taking the values out of `from` instead of copying them when
  // nothing else reads its rows (no clone) and no column is taken twice;
  // `from` is left with unspecified values.
  void AppendRows(Recordset&& from, const std::vector<int>& columns);
  // One row appended to an in-memory recordset the same way: field i takes
  // values[i] (NULL past the end of `values`), stored as SetField stores it,
  // the values moved in. The row is content, not a pending change; the
  // cursor does not move. A value a field cannot hold throws
  // DbError(kErrFieldValue) and appends nothing; more values than fields or
  // a recordset opened on a statement throw DbError(kErrBadArgument).
  void AppendRow(std::vector<Value>&& values);
  // The same for a row read into a buffer that is read into again: field i
  // takes source[columns[i]] (NULL for -1 and past the end of `columns` or
  // of `source`), written over the values of `storage`, whose texts keep
  // their storage (a text of `source` trades places with the one it
  // replaces). `storage` may have any size; `source` is left with
  // unspecified values.
  void AppendRow(std::span<Value> source, std::span<const int> columns,
                 std::vector<Value>&& storage);
  // Empties the recordset when nothing else reads its rows (no clone, no
  // edit in progress) and hands back each row's values, in row order, so
  // that rows made next can reuse their storage (AppendRow); the recordset
  // stays open, with no rows. Returns nothing and changes nothing when the
  // rows are shared or the recordset is closed.
  std::vector<std::vector<Value>> ReleaseRows();

  // Bulk setting of an in-memory recordset: the fields `fields` of the rows
  // `rows` (bookmarks) take `value`, coerced once per field as SetField
  // stores it. The values are contents, as AppendRows gives them: a row does
  // not become a pending change (one that already is, or is being edited,
  // counts these fields among its changes). No cursor moves. A value a field
  // cannot hold throws DbError(kErrFieldValue), a bookmark of no row or of a
  // deleted one DbError(kErrBadBookmark), an unknown field
  // DbError(kErrItemNotFound), each before anything changed; a recordset
  // opened on a statement throws DbError(kErrBadArgument).
  void SetContents(const std::vector<Bookmark>& rows, const std::vector<int>& fields,
                   const Value& value);
  int64_t PendingCount() const;
  // Writes pending changes to the source table through the connection, as
  // INSERT / UPDATE / DELETE statements keyed on the key fields (or on every
  // original value when the table has no key). All or nothing.
  void UpdateBatch();

  // Filter.
  void SetFilter(std::string_view criteria);  // throws DbError(kErrBadArgument) on bad criteria
  void ClearFilter();
  const std::string& Filter() const;

  // Sharing, reloading, positions.
  std::shared_ptr<Recordset> Clone() const;
  void Requery();  // runs the source again on the connection; clones keep the old rows
  Bookmark GetBookmark() const;
  void SetBookmark(Bookmark bookmark);  // throws DbError when the row is gone or filtered out

  const std::string& Source() const;
  std::shared_ptr<Connection> ActiveConnection() const;

 private:
  struct Impl;
  // AppendRows; `take` moves the values out of `from`.
  void AppendRowsFrom(const Recordset& from, const std::vector<int>& columns, bool take);
  std::unique_ptr<Impl> impl_;
};

}  // namespace orv::db

#endif  // ORV_DB_RECORDSET_H_
