#include "db/recordset.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <deque>
#include <optional>

#include "db/ascii.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "db/filter_expression.h"
#include "db/sql_literal.h"
#include "db/value_variant.h"

namespace orv::db {

// The rows of a recordset and of its clones. Rows are only ever appended
// (deleted rows stay, marked), so a row's index is stable for the life of
// the store: it is the bookmark. A deque keeps references to values valid
// while rows are appended through a clone.
class RowStore {
 public:
  enum class Status { kUnchanged, kNew, kModified, kDeleted, kGone };
  // What a row's edits since it was read need kept.
  struct Edit {
    std::vector<Value> original;  // as read, when it differs; the key of UPDATE and DELETE
    std::vector<bool> changed;    // columns assigned since read (or AddNew); empty: none
  };
  // `edit` is made only once a row is edited or deleted: most rows never
  // are, so a row stays small and reading one is a move.
  struct Row {
    std::vector<Value> values;
    std::unique_ptr<Edit> edit;
    Status status = Status::kUnchanged;

    Row() = default;
    Row(std::vector<Value> read, Status row_status) : values(std::move(read)), status(row_status) {}
    // A copy (the backup of a row being edited) has its own edits.
    Row(const Row& other)
        : values(other.values),
          edit(other.edit ? std::make_unique<Edit>(*other.edit) : nullptr),
          status(other.status) {}
    Row& operator=(const Row& other) {
      if (this != &other) *this = Row(other);
      return *this;
    }
    Row(Row&&) noexcept = default;
    Row& operator=(Row&&) noexcept = default;
    ~Row() = default;

    const std::vector<Value>& Original() const {
      return edit && !edit->original.empty() ? edit->original : values;
    }
    bool Changed(size_t column) const {
      return edit && column < edit->changed.size() && edit->changed[column];
    }
    // Keeps the values as read before the first change to them.
    void KeepOriginal() {
      if (status == Status::kUnchanged && (!edit || edit->original.empty())) {
        Edits().original = values;
      }
    }
    void MarkChanged(size_t column) {
      std::vector<bool>& changed = Edits().changed;
      if (changed.empty()) changed.assign(values.size(), false);
      changed[column] = true;
    }
    Edit& Edits() {
      if (!edit) edit = std::make_unique<Edit>();
      return *edit;
    }
  };

  std::vector<FieldInfo> fields;
  std::deque<Row> rows;
  uint64_t delete_version = 0;  // bumped whenever a row leaves the visible set
  // The rows edited, added or deleted since the last UpdateBatch, by index
  // (in any order, perhaps twice): what the batch writes is found without
  // walking every row.
  std::vector<size_t> touched;

  // `touched` in row order, each row once.
  const std::vector<size_t>& Touched() {
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    return touched;
  }

  static bool Hidden(const Row& row) {
    return row.status == Status::kDeleted || row.status == Status::kGone;
  }
};

namespace {

constexpr int64_t kBof = -1;

// CoerceToField for a value that is not needed afterwards: text that a text
// field keeps as it is, and anything a field of any type takes, moves
// instead of being copied.
Value TakeIntoField(const FieldInfo& field, Value& value) {
  const bool any_value = field.type == DataType::kEmpty || field.type == DataType::kVariant ||
                         field.type == DataType::kDate;
  if (any_value && !value.IsNull() && !value.IsEmpty()) return std::move(value);
  const bool text_field = IsTextType(field.type) && !field.IsFixedText();
  if (field.IsFixedText() && field.defined_size > 0 && value.type() == Value::Type::kText) {
    // Padded where it is: the text is not copied first.
    auto& text = const_cast<std::string&>(value.AsText());
    const auto size = static_cast<size_t>(field.defined_size);
    const size_t length = Utf8Length(text);
    if (length <= size) {
      text.append(size - length, ' ');
      return Value(std::move(text));
    }
  }
  if (text_field && value.type() == Value::Type::kText) {
    const std::string& text = value.AsText();
    if (field.defined_size <= 0 || text.size() <= static_cast<size_t>(field.defined_size)) {
      // No longer in bytes, so no longer in characters: nothing to check.
      return Value(std::move(const_cast<std::string&>(text)));
    }
  }
  return CoerceToField(field, value);
}

// True when the field stores `value` exactly as it is (CoerceToField would
// give the same value back): nothing to convert, check or move.
bool StoredAsIs(const FieldInfo& field, const Value& value) {
  switch (value.type()) {
    case Value::Type::kNull:
      return field.nullable;
    case Value::Type::kText:
      return (field.type == DataType::kVarChar || field.type == DataType::kVarWChar ||
              field.type == DataType::kLongVarChar || field.type == DataType::kVariant ||
              field.type == DataType::kEmpty) &&
             (field.type == DataType::kVariant || field.type == DataType::kEmpty ||
              field.defined_size <= 0 ||
              value.AsText().size() <= static_cast<size_t>(field.defined_size));
    case Value::Type::kInt: {
      const int64_t v = value.AsInt();
      switch (field.type) {
        case DataType::kInteger:
          return v >= INT32_MIN && v <= INT32_MAX;
        case DataType::kSmallInt:
          return v >= INT16_MIN && v <= INT16_MAX;
        case DataType::kBigInt:
        case DataType::kVariant:
        case DataType::kEmpty:
          return true;
        default:
          return false;
      }
    }
    default:
      return false;
  }
}

// For a variable-length text field, `to` made the text ToText gives the
// whole number `n` (its plain decimal digits) when the field can hold it.
bool WriteDigits(const FieldInfo& field, int64_t n, Value& to) {
  if (field.type != DataType::kVarChar && field.type != DataType::kVarWChar &&
      field.type != DataType::kLongVarChar) {
    return false;
  }
  if (n >= 0 && n <= 9) {
    // A flag or a small count, the common case: one digit, written over the
    // digit the slot already holds when it holds one.
    std::string& text = to.TextInPlace();
    if (text.size() != 1) text.resize(1);
    text[0] = static_cast<char>('0' + n);
    return true;
  }
  std::array<char, 24> digits;
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), n);
  const auto length = static_cast<size_t>(end.ptr - digits.data());
  if (field.defined_size > 0 && length > static_cast<size_t>(field.defined_size)) return false;
  AssignText(to.TextInPlace(), std::string_view(digits.data(), length));
  return true;
}

// A whole number written as a text or decimal field stores it: its digits
// into the text `to` holds, or a decimal. False when the field takes it some
// other way (or cannot hold it), `to` then unchanged.
bool WriteWholeNumber(const FieldInfo& field, int64_t n, Value& to) {
  if (WriteDigits(field, n, to)) return true;
  if (field.type == DataType::kDouble || field.type == DataType::kDecimal ||
      field.type == DataType::kNumeric) {
    to.SetDecimal(static_cast<double>(n));
    return true;
  }
  return false;
}

// TakeIntoField where the value stands, for the values of a row being
// appended: fixed-length text is padded in its own storage, and a whole
// number a text or decimal field takes is written over the slot, so the
// common conversions make no temporary value.
void CoerceInPlace(const FieldInfo& field, Value& slot) {
  if (StoredAsIs(field, slot)) return;
  if (slot.type() == Value::Type::kText && field.IsFixedText() && field.defined_size > 0) {
    std::string& text = slot.TextInPlace();
    const auto size = static_cast<size_t>(field.defined_size);
    const size_t length = Utf8Length(text);
    if (length <= size) {
      text.append(size - length, ' ');
      return;
    }
  }
  if (slot.type() == Value::Type::kInt && WriteWholeNumber(field, slot.AsInt(), slot)) return;
  slot = TakeIntoField(field, slot);
}

// CoerceInPlace of `from` written over `to`, whose storage is kept: a text
// trades places with the text `to` held, a whole number a text field takes
// is written as digits into it. `from` is left with an unspecified value.
void CoerceInto(const FieldInfo& field, Value& from, Value& to) {
  switch (from.type()) {
    case Value::Type::kInt:
      if (WriteWholeNumber(field, from.AsInt(), to)) return;
      break;
    case Value::Type::kNull:
      if (field.nullable) {
        to.SetNull();
        return;
      }
      break;
    default:
      break;
  }
  TradeInto(from, to);
  CoerceInPlace(field, to);
}

// The single table a statement reads ("SELECT ... FROM t [WHERE ...]"),
// or "" when it reads several or none. Quotes and brackets are skipped.
std::string SingleSourceTable(std::string_view sql) {
  std::vector<std::string> words;
  size_t i = 0;
  const size_t n = sql.size();
  while (i < n) {
    const char c = sql[i];
    if (IsBlank(c)) {
      ++i;
    } else if (c == '\'') {
      const size_t start = i++;
      while (i < n && !(sql[i] == '\'' && (i + 1 >= n || sql[i + 1] != '\''))) {
        i += sql[i] == '\'' ? 2 : 1;
      }
      ++i;
      words.emplace_back(sql.substr(start, i - start));
    } else if (c == '[') {
      const size_t start = i++;
      while (i < n && sql[i] != ']') ++i;
      ++i;
      words.emplace_back(sql.substr(start, std::min(i, n) - start));
    } else if (c == ',' || c == '(' || c == ')' || c == ';' || c == '=') {
      words.emplace_back(1, c);
      ++i;
    } else {
      const size_t start = i;
      while (i < n && !IsBlank(sql[i]) && sql[i] != ',' && sql[i] != '(' && sql[i] != ')' &&
             sql[i] != ';' && sql[i] != '\'' && sql[i] != '=') {
        ++i;
      }
      words.emplace_back(sql.substr(start, i - start));
    }
  }
  size_t from = words.size();
  int froms = 0;
  for (size_t w = 0; w < words.size(); ++w) {
    if (EqualsIgnoreCase(words[w], "FROM")) {
      from = w;
      ++froms;
    }
    if (words[w] == "(" || EqualsIgnoreCase(words[w], "JOIN") ||
        EqualsIgnoreCase(words[w], "APPLY") || EqualsIgnoreCase(words[w], "UNION")) {
      // Sub-queries, joins and unions are not one table. A '(' before FROM
      // may be a function in the select list; only reject after FROM.
      if (froms > 0) return "";
    }
  }
  if (froms != 1 || from + 1 >= words.size()) return "";
  std::string table = words[from + 1];
  size_t next = from + 2;
  // An alias ("FROM t x" / "FROM t AS x") is fine; a comma is a second table.
  if (next < words.size() && EqualsIgnoreCase(words[next], "AS"))
    next += 2;
  else if (next < words.size() && !EqualsIgnoreCase(words[next], "WHERE") &&
           !EqualsIgnoreCase(words[next], "ORDER") && words[next] != ",") {
    ++next;
  }
  if (next < words.size() && words[next] == ",") return "";
  return table;
}

}  // namespace

struct Recordset::Impl {
  std::shared_ptr<RowStore> store;  // null while closed
  std::vector<FieldInfo> appended;  // fields appended before Open()
  std::string source;
  std::shared_ptr<Connection> connection;

  std::vector<size_t> visible;  // store indices, ascending
  size_t synced_rows = 0;
  uint64_t synced_delete_version = 0;
  int64_t pos = kBof;       // index into visible; kBof, or visible.size() at EOF
  bool on_deleted = false;  // the current row was deleted; pos is already on the next one

  std::string filter_text;
  std::optional<FilterExpression> filter;

  // An edit (AddNew or SetField) not yet ended by Update or a move.
  bool editing = false;
  size_t edit_row = 0;
  bool edit_is_new = false;
  RowStore::Row edit_backup;
  std::optional<size_t> row_before_add;

  void RequireOpen() const {
    if (!store) throw DbError(kErrClosed, "Operation is not allowed when the object is closed");
  }

  // The rows of an open in-memory recordset, for appending.
  RowStore& AppendableStore() const {
    RequireOpen();
    if (connection || !source.empty()) {
      throw DbError(kErrBadArgument, "Rows can only be appended to an in-memory recordset");
    }
    return *store;
  }

  bool Passes(const RowStore::Row& row) const {
    return !RowStore::Hidden(row) && (!filter || filter->Matches(row.values));
  }

  void Recompute() {
    visible.clear();
    for (size_t i = 0; i < store->rows.size(); ++i) {
      if (Passes(store->rows[i])) visible.push_back(i);
    }
    synced_rows = store->rows.size();
    synced_delete_version = store->delete_version;
    on_deleted = false;
    pos = visible.empty() ? kBof : 0;
  }

  // Catches up with rows appended or deleted through a clone. Every read
  // of a field passes here: the common case, nothing to catch up, is one
  // inlined test.
  void Sync() {
    if (store &&
        (store->delete_version != synced_delete_version || store->rows.size() > synced_rows)) {
      CatchUp();
    }
  }

  void CatchUp() {
    if (store->delete_version != synced_delete_version) {
      const bool at_eof = pos >= static_cast<int64_t>(visible.size());
      std::vector<size_t> kept;
      int64_t new_pos = at_eof ? -2 : kBof;
      bool current_gone = false;
      for (size_t v = 0; v < visible.size(); ++v) {
        const bool hidden = RowStore::Hidden(store->rows[visible[v]]);
        if (static_cast<int64_t>(v) == pos) {
          if (hidden) {
            current_gone = true;
            new_pos = static_cast<int64_t>(kept.size());
          } else {
            new_pos = static_cast<int64_t>(kept.size());
          }
        }
        if (!hidden) kept.push_back(visible[v]);
      }
      visible = std::move(kept);
      if (at_eof) new_pos = static_cast<int64_t>(visible.size());
      pos = new_pos;
      if (current_gone) on_deleted = true;
      synced_delete_version = store->delete_version;
    }
    if (store->rows.size() > synced_rows) {
      const bool at_eof = pos >= static_cast<int64_t>(visible.size()) && !visible.empty();
      for (size_t i = synced_rows; i < store->rows.size(); ++i) {
        if (Passes(store->rows[i])) visible.push_back(i);
      }
      if (at_eof) pos = static_cast<int64_t>(visible.size());
      synced_rows = store->rows.size();
    }
  }

  bool Bof() const { return visible.empty() || pos < 0; }
  bool Eof() const { return visible.empty() || pos >= static_cast<int64_t>(visible.size()); }

  size_t CurrentRow() {
    RequireOpen();
    Sync();
    if (on_deleted) throw DbError(kErrRecordDeleted, "The current row has been deleted");
    if (Bof() || Eof()) {
      throw DbError(kErrBofOrEof,
                    "Either BOF or EOF is True, or the current record has been deleted");
    }
    return visible[static_cast<size_t>(pos)];
  }

  // Ends the edit in progress (moving off a row commits it, as in ADO).
  void EndEdit() {
    if (!editing) return;
    editing = false;
    row_before_add.reset();
  }

  int FieldIndex(std::string_view name) const {
    const auto& fields = store ? store->fields : appended;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (EqualsIgnoreCase(fields[i].name, name)) return static_cast<int>(i);
    }
    return -1;
  }

  int RequireField(std::string_view name) const {
    const int index = FieldIndex(name);
    if (index < 0) {
      throw DbError(kErrItemNotFound,
                    "Item cannot be found in the collection corresponding to the requested "
                    "name or ordinal: " +
                        std::string(name));
    }
    return index;
  }

  // Refuses to open on a statement a recordset already open, or without a
  // connection.
  void CheckCanOpen(const std::shared_ptr<Connection>& on) const {
    if (store) throw DbError(kErrBadArgument, "The recordset is already open");
    if (!on) throw DbError(kErrClosed, "No connection to open the recordset on");
  }
  // Opened on the rows of a statement's first result (null: it gave none).
  void OpenOn(std::shared_ptr<RowStore> rows, std::string text, std::shared_ptr<Connection> on) {
    if (!rows) {
      throw DbError(kErrBadArgument, "The statement returned no rows to open a recordset on");
    }
    store = std::move(rows);
    source = std::move(text);
    connection = std::move(on);
    filter.reset();
    filter_text.clear();
    editing = false;
    Recompute();
  }

  void TakeResult(ResultSet result) {
    auto fresh = std::make_shared<RowStore>();
    fresh->fields = std::move(result.fields);
    const size_t width = fresh->fields.size();
    for (auto& values : result.rows) {
      values.resize(width);
      fresh->rows.push_back(RowStore::Row(std::move(values), RowStore::Status::kUnchanged));
    }
    store = std::move(fresh);
    editing = false;
    if (filter) filter->Bind(store->fields);
    Recompute();
  }
};

Recordset::Recordset() : impl_(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;

void Recordset::AppendField(std::string name, DataType type, int32_t defined_size, bool nullable) {
  if (impl_->store) {
    throw DbError(kErrBadArgument, "Fields cannot be appended to an open recordset");
  }
  if (impl_->FieldIndex(name) >= 0) {
    throw DbError(kErrBadArgument, "A field named '" + name + "' already exists");
  }
  FieldInfo field;
  field.name = std::move(name);
  field.type = type;
  field.defined_size = defined_size;
  field.nullable = nullable;
  impl_->appended.push_back(std::move(field));
}

void Recordset::Open() {
  if (impl_->store) throw DbError(kErrBadArgument, "The recordset is already open");
  if (impl_->appended.empty()) {
    throw DbError(kErrBadArgument, "An in-memory recordset needs at least one field");
  }
  ResultSet empty;
  empty.fields = impl_->appended;
  impl_->source.clear();
  impl_->connection.reset();
  impl_->TakeResult(std::move(empty));
}

void Recordset::Open(std::string source, std::shared_ptr<Connection> connection) {
  impl_->CheckCanOpen(connection);
  auto result = connection->Execute(source);
  impl_->OpenOn(result ? std::move(result->impl_->store) : nullptr, std::move(source),
                std::move(connection));
}

namespace {

// The rows of a statement's first result, made as the driver reads them.
class StoreFiller final : public RowSink {
 public:
  explicit StoreFiller(std::vector<std::vector<Value>> spare) : spare_(std::move(spare)) {}

  void BeginResult(const std::vector<FieldInfo>& fields, int64_t) override {
    if (++results_ == 1 && !fields.empty()) {
      store = std::make_shared<RowStore>();
      store->fields = fields;
    }
  }
  void Row(std::span<Value> values) override {
    if (results_ != 1 || !store) return;
    std::vector<Value> row;
    if (next_spare_ < spare_.size()) row = std::move(spare_[next_spare_++]);
    const size_t width = store->fields.size();
    row.resize(width);
    for (size_t c = 0; c < width; ++c) {
      if (c < values.size()) {
        TradeInto(values[c], row[c]);
      } else {
        row[c] = Value();
      }
    }
    store->rows.push_back(RowStore::Row(std::move(row), RowStore::Status::kUnchanged));
  }
  void EndResult(const std::vector<FieldInfo>& fields) override {
    if (results_ == 1 && store) store->fields = fields;
  }

  std::shared_ptr<RowStore> store;  // null when the first result has no rows

 private:
  std::vector<std::vector<Value>> spare_;
  size_t next_spare_ = 0;
  int results_ = 0;
};

}  // namespace

void Recordset::Open(std::string source, std::shared_ptr<Connection> connection,
                     std::vector<std::vector<Value>> spare) {
  impl_->CheckCanOpen(connection);
  StoreFiller filler(std::move(spare));
  connection->ExecuteStreaming(source, filler);
  impl_->OpenOn(std::move(filler.store), std::move(source), std::move(connection));
}

std::shared_ptr<Recordset> Recordset::FromResult(ResultSet result, std::string source,
                                                 std::shared_ptr<Connection> connection) {
  auto rs = std::make_shared<Recordset>();
  rs->impl_->source = std::move(source);
  rs->impl_->connection = std::move(connection);
  // A statement that returns no rows gives a closed recordset, as ADO does.
  if (!result.fields.empty()) rs->impl_->TakeResult(std::move(result));
  return rs;
}

void Recordset::Close() {
  impl_->store.reset();
  impl_->visible.clear();
  impl_->filter.reset();
  impl_->filter_text.clear();
  impl_->editing = false;
  impl_->pos = kBof;
}

bool Recordset::IsOpen() const { return impl_->store != nullptr; }

bool Recordset::BOF() const {
  impl_->RequireOpen();
  impl_->Sync();
  return impl_->Bof();
}

bool Recordset::EOF_() const {
  impl_->RequireOpen();
  impl_->Sync();
  return impl_->Eof();
}

void Recordset::MoveFirst() {
  impl_->RequireOpen();
  impl_->EndEdit();
  impl_->Sync();
  impl_->on_deleted = false;
  impl_->pos = impl_->visible.empty() ? kBof : 0;
}

void Recordset::MoveLast() {
  impl_->RequireOpen();
  impl_->EndEdit();
  impl_->Sync();
  impl_->on_deleted = false;
  impl_->pos = static_cast<int64_t>(impl_->visible.size()) - 1;
}

void Recordset::MoveNext() {
  impl_->RequireOpen();
  impl_->EndEdit();
  impl_->Sync();
  if (impl_->on_deleted) {  // already on the row after the deleted one
    impl_->on_deleted = false;
    return;
  }
  if (impl_->Eof()) {
    throw DbError(kErrBofOrEof,
                  "Either BOF or EOF is True, or the current record has been deleted");
  }
  ++impl_->pos;
}

void Recordset::MovePrevious() {
  impl_->RequireOpen();
  impl_->EndEdit();
  impl_->Sync();
  if (impl_->on_deleted) {
    impl_->on_deleted = false;
    --impl_->pos;
    if (impl_->pos < 0) impl_->pos = kBof;
    return;
  }
  if (impl_->Bof()) {
    throw DbError(kErrBofOrEof,
                  "Either BOF or EOF is True, or the current record has been deleted");
  }
  --impl_->pos;
  if (impl_->pos < 0) impl_->pos = kBof;
}

int64_t Recordset::RecordCount() const {
  impl_->RequireOpen();
  impl_->Sync();
  return static_cast<int64_t>(impl_->visible.size());
}

int64_t Recordset::AbsolutePosition() const {
  impl_->RequireOpen();
  impl_->Sync();
  if (impl_->Bof() || impl_->Eof() || impl_->on_deleted) return 0;
  return impl_->pos + 1;
}

int Recordset::FieldCount() const {
  return static_cast<int>(impl_->store ? impl_->store->fields.size() : impl_->appended.size());
}

const FieldInfo& Recordset::FieldAt(int index) const {
  const auto& fields = impl_->store ? impl_->store->fields : impl_->appended;
  if (index < 0 || static_cast<size_t>(index) >= fields.size()) {
    throw DbError(kErrItemNotFound, "No field at ordinal " + std::to_string(index));
  }
  return fields[static_cast<size_t>(index)];
}

int Recordset::FieldIndex(std::string_view name) const { return impl_->FieldIndex(name); }

const Value& Recordset::Field(std::string_view name) const {
  impl_->RequireOpen();
  return Field(impl_->RequireField(name));
}

const Value& Recordset::Field(int index) const {
  const size_t row = impl_->CurrentRow();
  const auto& values = impl_->store->rows[row].values;
  if (index < 0 || static_cast<size_t>(index) >= values.size()) {
    throw DbError(kErrItemNotFound, "No field at ordinal " + std::to_string(index));
  }
  return values[static_cast<size_t>(index)];
}

std::span<const Value> Recordset::RowAt(int64_t position) const {
  impl_->RequireOpen();
  impl_->Sync();
  if (position < 0 || position >= static_cast<int64_t>(impl_->visible.size())) {
    throw DbError(kErrBofOrEof,
                  "Either BOF or EOF is True, or the current record has been deleted");
  }
  return impl_->store->rows[impl_->visible[static_cast<size_t>(position)]].values;
}

std::string Recordset::FieldName(int index) const { return FieldAt(index).name; }

host::Variant Recordset::FieldValue(int index) const { return ToVariant(Field(index)); }

void Recordset::SetFieldValue(int index, const host::Variant& value) {
  SetField(index, FromVariant(value));
}

void Recordset::SetField(std::string_view name, const Value& value) {
  impl_->RequireOpen();
  SetField(impl_->RequireField(name), value);
}

void Recordset::SetField(std::string_view name, Value&& value) {
  impl_->RequireOpen();
  SetField(impl_->RequireField(name), std::move(value));
}

void Recordset::SetField(int index, const Value& value) { SetField(index, Value(value)); }

void Recordset::SetField(int index, Value&& value) {
  const size_t row_index = impl_->CurrentRow();
  auto& store = *impl_->store;
  if (index < 0 || static_cast<size_t>(index) >= store.fields.size()) {
    throw DbError(kErrItemNotFound, "No field at ordinal " + std::to_string(index));
  }
  const auto column = static_cast<size_t>(index);
  Value coerced = TakeIntoField(store.fields[column], value);  // may throw: row unchanged
  RowStore::Row& row = store.rows[row_index];
  if (!impl_->editing || impl_->edit_row != row_index) {
    impl_->EndEdit();
    impl_->editing = true;
    impl_->edit_row = row_index;
    impl_->edit_is_new = false;
    impl_->edit_backup = row;
  }
  row.KeepOriginal();
  row.values[column] = std::move(coerced);
  row.MarkChanged(column);
  // A new row is listed from AddNew on, an edited one from its first change.
  if (row.status == RowStore::Status::kUnchanged) {
    row.status = RowStore::Status::kModified;
    store.touched.push_back(row_index);
  }
}

void Recordset::AddNew() {
  impl_->RequireOpen();
  impl_->EndEdit();
  impl_->Sync();
  auto& store = *impl_->store;
  std::optional<size_t> before;
  if (!impl_->Bof() && !impl_->Eof() && !impl_->on_deleted) {
    before = impl_->visible[static_cast<size_t>(impl_->pos)];
  }
  RowStore::Row row;
  row.values.assign(store.fields.size(), Value::Null());
  row.status = RowStore::Status::kNew;
  store.rows.push_back(std::move(row));
  store.touched.push_back(store.rows.size() - 1);
  // The new row is visible here whatever the filter says, as in ADO.
  impl_->visible.push_back(store.rows.size() - 1);
  impl_->synced_rows = store.rows.size();
  impl_->pos = static_cast<int64_t>(impl_->visible.size()) - 1;
  impl_->on_deleted = false;
  impl_->editing = true;
  impl_->edit_row = store.rows.size() - 1;
  impl_->edit_is_new = true;
  impl_->row_before_add = before;
}

void Recordset::Update() {
  impl_->RequireOpen();
  impl_->EndEdit();
}

void Recordset::CancelUpdate() {
  impl_->RequireOpen();
  if (!impl_->editing) return;
  auto& store = *impl_->store;
  RowStore::Row& row = store.rows[impl_->edit_row];
  if (impl_->edit_is_new) {
    row.status = RowStore::Status::kGone;
    ++store.delete_version;
    const auto before = impl_->row_before_add;
    impl_->editing = false;
    impl_->row_before_add.reset();
    impl_->Sync();
    impl_->on_deleted = false;
    // Back to the row that was current before AddNew (or EOF).
    impl_->pos = static_cast<int64_t>(impl_->visible.size());
    if (before) {
      auto it = std::lower_bound(impl_->visible.begin(), impl_->visible.end(), *before);
      if (it != impl_->visible.end() && *it == *before) {
        impl_->pos = it - impl_->visible.begin();
      }
    }
    return;
  }
  row = impl_->edit_backup;
  impl_->editing = false;
}

void Recordset::AppendRows(const Recordset& from, const std::vector<int>& columns) {
  AppendRowsFrom(from, columns, false);
}

void Recordset::AppendRows(Recordset&& from, const std::vector<int>& columns) {
  bool take =
      from.impl_->store && from.impl_->store.use_count() == 1 && from.impl_->store != impl_->store;
  std::vector<bool> taken;
  for (const int c : columns) {
    if (c < 0) continue;
    if (static_cast<size_t>(c) >= taken.size()) taken.resize(static_cast<size_t>(c) + 1, false);
    take = take && !taken[static_cast<size_t>(c)];
    taken[static_cast<size_t>(c)] = true;
  }
  AppendRowsFrom(from, columns, take);
}

void Recordset::AppendRowsFrom(const Recordset& from, const std::vector<int>& columns, bool take) {
  impl_->RequireOpen();
  from.impl_->RequireOpen();
  if (impl_->connection || !impl_->source.empty()) {
    throw DbError(kErrBadArgument, "Rows can only be appended to an in-memory recordset");
  }
  RowStore& store = *impl_->store;
  const RowStore& source = *from.impl_->store;
  const size_t width = store.fields.size();
  for (size_t c = 0; c < width && c < columns.size(); ++c) {
    if (columns[c] < -1 || columns[c] >= static_cast<int>(source.fields.size())) {
      throw DbError(kErrBadArgument, "No field at ordinal " + std::to_string(columns[c]));
    }
  }
  from.impl_->Sync();
  // Built apart, so that a value a field refuses leaves the rows as they were.
  // The store may be the source's own (a clone), so it is read before it grows.
  static const Value kNull = Value::Null();
  std::vector<RowStore::Row> fresh;
  fresh.reserve(from.impl_->visible.size());
  if (take) {
    // The source is being consumed (see the overload taking it): its values
    // move, and a row's storage is kept when it has room for the fields.
    auto& rows = const_cast<std::deque<RowStore::Row>&>(source.rows);
    std::vector<Value> out(width);
    try {
      for (const size_t r : from.impl_->visible) {
        std::vector<Value>& in = rows[r].values;
        for (size_t c = 0; c < width; ++c) {
          const int column = c < columns.size() ? columns[c] : -1;
          if (column >= 0 && static_cast<size_t>(column) < in.size()) {
            out[c] = TakeIntoField(store.fields[c], in[static_cast<size_t>(column)]);
          } else {
            out[c] = CoerceToField(store.fields[c], kNull);
          }
        }
        RowStore::Row row;
        if (in.capacity() >= width) {
          in.clear();
          row.values = std::move(in);
        } else {
          row.values.reserve(width);
        }
        for (Value& value : out) row.values.push_back(std::move(value));
        fresh.push_back(std::move(row));
      }
    } catch (...) {
      // The rows taken go back to the source, with as many values as it has
      // fields: whatever they hold, the source stays readable.
      for (size_t i = 0; i < fresh.size(); ++i) {
        std::vector<Value>& in = rows[from.impl_->visible[i]].values;
        if (in.empty()) in = std::move(fresh[i].values);
        in.resize(source.fields.size(), kNull);
      }
      throw;
    }
  } else {
    for (const size_t r : from.impl_->visible) {
      const std::vector<Value>& in = source.rows[r].values;
      RowStore::Row row;
      row.values.reserve(width);
      for (size_t c = 0; c < width; ++c) {
        const int column = c < columns.size() ? columns[c] : -1;
        const bool has = column >= 0 && static_cast<size_t>(column) < in.size();
        row.values.push_back(has ? CoerceToField(store.fields[c], in[static_cast<size_t>(column)])
                                 : CoerceToField(store.fields[c], kNull));
      }
      fresh.push_back(std::move(row));
    }
  }
  for (RowStore::Row& row : fresh) store.rows.push_back(std::move(row));
  // The rows reach the visible set through Sync, under the filter.
}

void Recordset::AppendRow(std::vector<Value>&& values) {
  RowStore& store = impl_->AppendableStore();
  const size_t width = store.fields.size();
  if (values.size() > width) {
    throw DbError(kErrBadArgument, std::to_string(values.size()) + " values for " +
                                       std::to_string(width) + " fields");
  }
  values.resize(width, Value::Null());
  // Coerced in place; a refusal leaves the rows as they were.
  for (size_t c = 0; c < width; ++c) CoerceInPlace(store.fields[c], values[c]);
  store.rows.push_back(RowStore::Row(std::move(values), RowStore::Status::kUnchanged));
  // The row reaches the visible set through Sync, under the filter.
}

void Recordset::AppendRow(std::span<Value> source, std::span<const int> columns,
                          std::vector<Value>&& storage) {
  RowStore& store = impl_->AppendableStore();
  const size_t width = store.fields.size();
  storage.resize(width);
  const size_t mapped = std::min(width, columns.size());
  const auto read = static_cast<int64_t>(source.size());
  for (size_t c = 0; c < width; ++c) {
    const int from = c < mapped ? columns[c] : -1;
    if (from >= 0 && from < read) {
      CoerceInto(store.fields[c], source[static_cast<size_t>(from)], storage[c]);
    } else {
      storage[c].SetNull();
      CoerceInPlace(store.fields[c], storage[c]);
    }
  }
  store.rows.push_back(RowStore::Row(std::move(storage), RowStore::Status::kUnchanged));
}

std::vector<std::vector<Value>> Recordset::ReleaseRows() {
  std::vector<std::vector<Value>> values;
  if (!impl_->store || impl_->store.use_count() != 1 || impl_->editing) return values;
  RowStore& store = *impl_->store;
  values.reserve(store.rows.size());
  for (RowStore::Row& row : store.rows) values.push_back(std::move(row.values));
  store.rows.clear();
  store.touched.clear();
  impl_->visible.clear();
  impl_->synced_rows = 0;
  impl_->synced_delete_version = store.delete_version;
  impl_->pos = kBof;
  impl_->on_deleted = false;
  impl_->row_before_add.reset();
  return values;
}

void Recordset::SetContents(const std::vector<Bookmark>& rows, const std::vector<int>& fields,
                            const Value& value) {
  impl_->RequireOpen();
  if (impl_->connection || !impl_->source.empty()) {
    throw DbError(kErrBadArgument, "Contents can only be set in an in-memory recordset");
  }
  RowStore& store = *impl_->store;
  // Everything checked and coerced first: a refusal changes nothing.
  std::vector<Value> coerced;
  coerced.reserve(fields.size());
  for (const int field : fields) {
    if (field < 0 || static_cast<size_t>(field) >= store.fields.size()) {
      throw DbError(kErrItemNotFound, "No field at ordinal " + std::to_string(field));
    }
    coerced.push_back(CoerceToField(store.fields[static_cast<size_t>(field)], value));
  }
  for (const Bookmark bookmark : rows) {
    if (bookmark < 1 || static_cast<size_t>(bookmark) > store.rows.size() ||
        RowStore::Hidden(store.rows[static_cast<size_t>(bookmark - 1)])) {
      throw DbError(kErrBadBookmark, "The bookmark is invalid or its row is not visible");
    }
  }
  for (const Bookmark bookmark : rows) {
    RowStore::Row& row = store.rows[static_cast<size_t>(bookmark - 1)];
    // A pending row (an edit makes its row pending) keeps the fields among
    // its changes; any other row takes them as read.
    const bool pending = row.status != RowStore::Status::kUnchanged;
    for (size_t i = 0; i < fields.size(); ++i) {
      const auto column = static_cast<size_t>(fields[i]);
      row.values[column] = coerced[i];
      if (pending) row.MarkChanged(column);
    }
  }
  // As after SetField, a filter is applied again only when it is set again.
}

void Recordset::Delete() {
  const size_t row_index = impl_->CurrentRow();
  impl_->EndEdit();
  auto& store = *impl_->store;
  RowStore::Row& row = store.rows[row_index];
  row.KeepOriginal();
  row.status =
      row.status == RowStore::Status::kNew ? RowStore::Status::kGone : RowStore::Status::kDeleted;
  store.touched.push_back(row_index);
  ++store.delete_version;
  impl_->Sync();
}

int64_t Recordset::PendingCount() const {
  impl_->RequireOpen();
  int64_t n = 0;
  RowStore& store = *impl_->store;
  for (size_t index : store.Touched()) {
    const RowStore::Row& row = store.rows[index];
    if (row.status == RowStore::Status::kNew || row.status == RowStore::Status::kModified ||
        row.status == RowStore::Status::kDeleted) {
      ++n;
    }
  }
  return n;
}

void Recordset::UpdateBatch() {
  impl_->RequireOpen();
  impl_->EndEdit();
  auto& store = *impl_->store;
  if (PendingCount() == 0) return;
  if (!impl_->connection) {
    throw DbError(kErrBadArgument, "UpdateBatch needs a recordset opened on a connection");
  }

  // The table: as the driver traced the columns, else as the statement names it.
  std::string table;
  bool traced = false;
  for (const auto& f : store.fields) {
    if (f.base_table.empty()) continue;
    traced = true;
    if (table.empty()) {
      table = f.base_table;
    } else if (!EqualsIgnoreCase(table, f.base_table)) {
      throw DbError(kErrBadArgument, "UpdateBatch needs a recordset opened from one table");
    }
  }
  if (table.empty()) table = SingleSourceTable(impl_->source);
  if (table.empty()) {
    throw DbError(kErrBadArgument, "UpdateBatch needs a recordset opened from one table");
  }
  // Columns written back: every column when the driver does not trace them,
  // else only those it traced to the table (computed columns are skipped).
  std::vector<bool> writable(store.fields.size());
  bool has_key = false;
  for (size_t c = 0; c < store.fields.size(); ++c) {
    writable[c] = !traced || !store.fields[c].base_column.empty();
    if (writable[c] && store.fields[c].key) has_key = true;
  }
  auto column_name = [&](size_t c) {
    const auto& f = store.fields[c];
    return SqlIdentifier(f.base_column.empty() ? f.name : f.base_column);
  };
  auto where = [&](const RowStore::Row& row) {
    std::string out;
    for (size_t c = 0; c < store.fields.size(); ++c) {
      if (!writable[c] || (has_key && !store.fields[c].key)) continue;
      out += out.empty() ? " WHERE " : " AND ";
      const Value& v = row.Original()[c];
      out += column_name(c) + (v.IsNull() || v.IsEmpty() ? " IS NULL" : " = " + SqlLiteral(v));
    }
    return out;
  };

  struct Statement {
    std::string sql;
    bool must_touch;  // UPDATE and DELETE must find their row
  };
  std::vector<Statement> statements;
  const std::string target = SqlIdentifier(table);
  for (size_t index : store.Touched()) {
    const RowStore::Row& row = store.rows[index];
    if (row.status == RowStore::Status::kDeleted) {
      statements.push_back({"DELETE FROM " + target + where(row), true});
    }
  }
  for (size_t index : store.Touched()) {
    const RowStore::Row& row = store.rows[index];
    if (row.status != RowStore::Status::kModified) continue;
    std::string set;
    for (size_t c = 0; c < store.fields.size(); ++c) {
      if (!writable[c] || !row.Changed(c)) continue;
      set += set.empty() ? " SET " : ", ";
      set += column_name(c) + " = " + SqlLiteral(row.values[c]);
    }
    if (!set.empty()) statements.push_back({"UPDATE " + target + set + where(row), true});
  }
  for (size_t index : store.Touched()) {
    const RowStore::Row& row = store.rows[index];
    if (row.status != RowStore::Status::kNew) continue;
    std::string columns, values;
    for (size_t c = 0; c < store.fields.size(); ++c) {
      if (!writable[c] || !row.Changed(c)) continue;  // unassigned: the table's default
      columns += (columns.empty() ? "" : ", ") + column_name(c);
      values += (values.empty() ? "" : ", ") + SqlLiteral(row.values[c]);
    }
    statements.push_back(
        {columns.empty() ? "INSERT INTO " + target + " DEFAULT VALUES"
                         : "INSERT INTO " + target + " (" + columns + ") VALUES (" + values + ")",
         false});
  }

  Connection& connection = *impl_->connection;
  const bool own_transaction = !connection.driver().InTransaction();
  if (own_transaction) connection.BeginTrans();
  try {
    for (const auto& statement : statements) {
      int64_t affected = -1;
      connection.Execute(statement.sql, &affected, kAdCmdText | kAdExecuteNoRecords);
      if (statement.must_touch && affected == 0) {
        throw DbError(kErrRowNotFound,
                      "Row cannot be located for updating. Some values may have been changed "
                      "since it was last read: " +
                          statement.sql);
      }
    }
    if (own_transaction) connection.CommitTrans();
  } catch (...) {
    // Errors() keeps the failure, not the rollback.
    if (own_transaction) connection.RollbackKeepingErrors();
    throw;
  }

  for (size_t index : store.Touched()) {
    RowStore::Row& row = store.rows[index];
    switch (row.status) {
      case RowStore::Status::kDeleted:
        row.status = RowStore::Status::kGone;
        break;
      case RowStore::Status::kNew:
      case RowStore::Status::kModified:
        row.status = RowStore::Status::kUnchanged;
        row.edit.reset();
        break;
      default:
        break;
    }
  }
  store.touched.clear();
}

void Recordset::SetFilter(std::string_view criteria) {
  impl_->RequireOpen();
  if (Trim(criteria).empty()) {
    ClearFilter();
    return;
  }
  FilterExpression parsed = FilterExpression::Parse(criteria);
  parsed.Bind(impl_->store->fields);
  impl_->EndEdit();
  impl_->filter = std::move(parsed);
  impl_->filter_text = std::string(criteria);
  impl_->Recompute();
}

void Recordset::ClearFilter() {
  impl_->RequireOpen();
  impl_->EndEdit();
  impl_->filter.reset();
  impl_->filter_text.clear();
  impl_->Recompute();
}

const std::string& Recordset::Filter() const { return impl_->filter_text; }

std::shared_ptr<Recordset> Recordset::Clone() const {
  impl_->RequireOpen();
  auto clone = std::make_shared<Recordset>();
  clone->impl_->store = impl_->store;
  clone->impl_->source = impl_->source;
  clone->impl_->connection = impl_->connection;
  clone->impl_->Recompute();
  return clone;
}

void Recordset::Requery() {
  impl_->RequireOpen();
  if (!impl_->connection || impl_->source.empty()) {
    throw DbError(kErrBadArgument, "Requery needs a recordset opened on a statement");
  }
  auto result = impl_->connection->Execute(impl_->source);
  if (!result || !result->impl_->store) {
    throw DbError(kErrBadArgument, "The statement returned no rows to requery");
  }
  // The filter stays; it must still name fields of the new result.
  if (impl_->filter) impl_->filter->Bind(result->impl_->store->fields);
  // A fresh store: clones keep the rows they had.
  impl_->store = std::move(result->impl_->store);
  impl_->editing = false;
  impl_->Recompute();
}

Recordset::Bookmark Recordset::GetBookmark() const {
  return static_cast<Bookmark>(impl_->CurrentRow()) + 1;
}

void Recordset::SetBookmark(Bookmark bookmark) {
  impl_->RequireOpen();
  impl_->EndEdit();
  impl_->Sync();
  const auto& visible = impl_->visible;
  if (bookmark >= 1) {
    const auto row = static_cast<size_t>(bookmark - 1);
    auto it = std::lower_bound(visible.begin(), visible.end(), row);
    if (it != visible.end() && *it == row) {
      impl_->pos = it - visible.begin();
      impl_->on_deleted = false;
      return;
    }
  }
  throw DbError(kErrBadBookmark, "The bookmark is invalid or its row is not visible");
}

const std::string& Recordset::Source() const { return impl_->source; }

std::shared_ptr<Connection> Recordset::ActiveConnection() const { return impl_->connection; }

}  // namespace orv::db
