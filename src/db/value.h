#ifndef ORV_DB_VALUE_H_
#define ORV_DB_VALUE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace orv::db {

// A variant as the module's routines see database values and properties:
// Empty (never assigned), Null (the database's NULL), a 64-bit integer, a
// decimal number, text or a Boolean.
//
// Conversions follow the host language: numbers print as plain decimal text,
// text converts to a number only when it is numeric (blanks around it are
// allowed), and narrowing conversions fail on overflow. Failures throw
// ConversionError; callers decide whether to report or swallow them.
class Value {
 public:
  enum class Type { kEmpty, kNull, kInt, kDecimal, kText, kBool };

  Value() = default;                                // Empty
  Value(int v) : data_(static_cast<int64_t>(v)) {}  // NOLINT
  Value(int64_t v) : data_(v) {}                    // NOLINT
  // Other integer types (sizes, counts, long long) without a cast.
  template <typename T>
  requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, int> &&
           !std::is_same_v<T, int64_t>) Value(T v)
      : data_(static_cast<int64_t>(v)) {}               // NOLINT
  Value(double v) : data_(v) {}                         // NOLINT
  Value(bool v) : data_(v) {}                           // NOLINT
  Value(std::string v) : data_(std::move(v)) {}         // NOLINT
  Value(std::string_view v) : data_(std::string(v)) {}  // NOLINT
  Value(const char* v) : data_(std::string(v)) {}       // NOLINT

  static Value Null() {
    Value v;
    v.data_ = NullTag{};
    return v;
  }
  static Value Empty() { return Value(); }

  Type type() const { return static_cast<Type>(data_.index()); }
  bool IsEmpty() const { return type() == Type::kEmpty; }
  bool IsNull() const { return type() == Type::kNull; }
  bool IsNumeric() const;  // int, decimal, bool, or text that parses as a number

  // Conversions (the host language's CStr, CLng, CInt, CDbl, CBool).
  // ToText: Empty gives "", Null throws, numbers give decimal text, Booleans
  // give "True"/"False".
  std::string ToText() const;
  int32_t ToInt32() const;  // rounds decimals half to even; throws on overflow / non-numeric
  int16_t ToInt16() const;
  int64_t ToInt64() const;
  double ToDouble() const;
  bool ToBool() const;

  // Raw accessors; they throw ConversionError on the wrong type.
  int64_t AsInt() const;
  double AsDecimal() const;
  const std::string& AsText() const;
  bool AsBool() const;
  // The text held, to be changed in place: a value holding anything else
  // becomes an empty text first. Reusing a text value's storage this way
  // spares an allocation per value when rows are made again and again.
  std::string& TextInPlace() {
    if (type() != Type::kText) data_.emplace<std::string>();
    return std::get<std::string>(data_);
  }
  // The value made a number, a Boolean or Null where it stands: a value of
  // the same kind is written over, with none of the work of an assignment.
  void SetInt(int64_t v) { Set(v); }
  void SetDecimal(double v) { Set(v); }
  void SetBool(bool v) { Set(v); }
  void SetNull() { Set(NullTag{}); }

  // Exact equality of type and content (Empty == Empty, Null == Null).
  friend bool operator==(const Value& a, const Value& b) = default;

  // A readable form for tests and diagnostics: <empty>, <null>, 12, 1.5, 'text', true.
  std::string DebugString() const;

  friend void TradeInto(Value& from, Value& to);

 private:
  struct EmptyTag {
    friend bool operator==(EmptyTag, EmptyTag) { return true; }
  };
  struct NullTag {
    friend bool operator==(NullTag, NullTag) { return true; }
  };
  template <typename T>
  void Set(T v) {
    if (T* held = std::get_if<T>(&data_)) {
      *held = v;
    } else {
      data_.emplace<T>(v);
    }
  }

  std::variant<EmptyTag, NullTag, int64_t, double, std::string, bool> data_;
};

// `to` takes the value of `from`, keeping text storage in use: a text trades
// places with the text `to` held (no copy, no allocation, and `from` is left
// holding `to`'s former text, to be written over), anything else is copied.
// For rows made again and again from a buffer that is read into again.
inline void TradeInto(Value& from, Value& to) {
  if (auto* text = std::get_if<std::string>(&from.data_)) {
    to.TextInPlace().swap(*text);
    return;
  }
  std::visit(
      [&to]<typename T>(T& held) {
        if constexpr (!std::is_same_v<T, std::string>) to.Set(held);
      },
      from.data_);
}

// Text with blanks removed on both sides (the host language's Trim).
std::string Trim(std::string_view s);
// The same text without a copy: a view into `s`.
std::string_view TrimView(std::string_view s);
std::string RTrim(std::string_view s);
std::string LTrim(std::string_view s);

}  // namespace orv::db

#endif  // ORV_DB_VALUE_H_
