#ifndef ORV_JOURNAL_PAIR_ROWS_H_
#define ORV_JOURNAL_PAIR_ROWS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv::journal {

// The rows a gesture writes for every ordered pair of a list of codes (the
// transfer matrix's "Disabilita tutti": every origin to every destination),
// all with the same values, held as the codes rather than as one key text
// per pair. Pair (o, d) is the key `prefix`, code o, code d (RowText
// fields), in the order origin by origin, then destination by destination.
class PairRows {
 public:
  // `prefix`: the key's fields before the pair, as RowText (not empty);
  // `codes`: the codes as they are (unescaped); `values`: the RowText of
  // every pair's values.
  PairRows(std::string prefix, std::vector<std::string> codes, std::string values);

  size_t codes() const { return codes_.size(); }
  size_t size() const { return codes_.size() * codes_.size(); }
  const std::string& code(size_t i) const { return codes_[i]; }
  const std::string& values() const { return values_; }
  // The fields of the prefix (the key field the pair's origin is).
  size_t prefix_fields() const { return prefix_fields_; }
  // The longest key text of a pair, in bytes.
  size_t max_key_size() const;

  // Appends the key text of pair (origin, destination) to `out`.
  void AppendKey(std::string& out, size_t origin, size_t destination) const;
  // Pair `i` in the order above: (i / codes(), i % codes()).
  void AppendKey(std::string& out, size_t i) const {
    AppendKey(out, i / codes_.size(), i % codes_.size());
  }
  // Every pair as (key text, values text), in order.
  std::vector<std::pair<std::string, std::string>> Rows() const;

 private:
  std::string prefix_;
  std::vector<std::string> codes_;
  std::vector<std::string> fields_;  // each code as a key field: "|" and escaped
  std::string values_;
  size_t max_field_ = 0;
  size_t prefix_fields_ = 0;
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_PAIR_ROWS_H_
