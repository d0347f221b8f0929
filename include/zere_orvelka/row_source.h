#ifndef ZERE_ORVELKA_ROW_SOURCE_H_
#define ZERE_ORVELKA_ROW_SOURCE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "zere_orvelka/variant.h"

namespace orv::host {

// The rows the window binds to a host grid (the grids' data source): named
// fields and a current row. A grid reads it to draw and, before it calls a
// click handler of the window, makes the clicked row the current one. The
// module owns the rows; a grid shares them while bound.
class RowSource {
 public:
  virtual ~RowSource() = default;

  virtual int FieldCount() const = 0;
  virtual std::string FieldName(int index) const = 0;
  // -1 when there is no such field.
  virtual int FieldIndex(std::string_view name) const = 0;
  // The rows visible now.
  virtual int64_t RecordCount() const = 0;

  virtual void MoveFirst() = 0;
  virtual void MoveNext() = 0;
  // True past the last row (and for no rows).
  virtual bool IsEof() const = 0;

  // A field of the current row.
  virtual Variant FieldValue(int index) const = 0;
  // Writes a field of the current row (the tree grid writes a check box's
  // new value before it raises the check-change event).
  virtual void SetFieldValue(int index, const Variant& value) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_ROW_SOURCE_H_
