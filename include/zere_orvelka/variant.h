#ifndef ZERE_ORVELKA_VARIANT_H_
#define ZERE_ORVELKA_VARIANT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace orv::host {

// A value as the module interface passes it (menu identifiers, caption,
// window position, the results of ShowForm and CloseForm, grid cells):
// Empty (never assigned), Null, a 64-bit integer, a decimal number, text or a
// Boolean. The module converts as its host language does; a host reads the
// kind it holds with type() and the As* accessor of that kind.
class Variant {
 public:
  enum class Type { kEmpty, kNull, kInt, kDecimal, kText, kBool };

  Variant() = default;                                    // Empty
  Variant(int v) : data_(static_cast<int64_t>(v)) {}      // NOLINT
  Variant(int64_t v) : data_(v) {}                        // NOLINT
  Variant(double v) : data_(v) {}                         // NOLINT
  Variant(bool v) : data_(v) {}                           // NOLINT
  Variant(std::string v) : data_(std::move(v)) {}         // NOLINT
  Variant(std::string_view v) : data_(std::string(v)) {}  // NOLINT
  Variant(const char* v) : data_(std::string(v)) {}       // NOLINT

  static Variant Null() {
    Variant v;
    v.data_ = NullTag{};
    return v;
  }

  Type type() const { return static_cast<Type>(data_.index()); }
  bool IsEmpty() const { return type() == Type::kEmpty; }
  bool IsNull() const { return type() == Type::kNull; }

  // The value of the kind held; std::bad_variant_access for another kind.
  int64_t AsInt() const { return std::get<int64_t>(data_); }
  double AsDecimal() const { return std::get<double>(data_); }
  const std::string& AsText() const { return std::get<std::string>(data_); }
  bool AsBool() const { return std::get<bool>(data_); }

  // Same kind and same content (Empty == Empty, Null == Null).
  friend bool operator==(const Variant& a, const Variant& b) = default;

 private:
  struct EmptyTag {
    friend bool operator==(EmptyTag, EmptyTag) { return true; }
  };
  struct NullTag {
    friend bool operator==(NullTag, NullTag) { return true; }
  };
  std::variant<EmptyTag, NullTag, int64_t, double, std::string, bool> data_;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_VARIANT_H_
