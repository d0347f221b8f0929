#include "journal/pair_rows.h"

#include <algorithm>
#include <optional>

#include "journal/row_text.h"

namespace orv::journal {

PairRows::PairRows(std::string prefix, std::vector<std::string> codes, std::string values)
    : prefix_(std::move(prefix)), codes_(std::move(codes)), values_(std::move(values)) {
  prefix_fields_ = RowText::Split(prefix_).size();
  fields_.reserve(codes_.size());
  for (const std::string& code : codes_) {
    std::string& field = fields_.emplace_back();
    RowText::Append(field, std::string_view(code), false);
    max_field_ = std::max(max_field_, field.size());
  }
}

size_t PairRows::max_key_size() const { return prefix_.size() + 2 * max_field_; }

void PairRows::AppendKey(std::string& out, size_t origin, size_t destination) const {
  out += prefix_;
  out += fields_[origin];
  out += fields_[destination];
}

std::vector<std::pair<std::string, std::string>> PairRows::Rows() const {
  std::vector<std::pair<std::string, std::string>> rows;
  rows.reserve(size());
  for (size_t o = 0; o < codes_.size(); ++o) {
    for (size_t d = 0; d < codes_.size(); ++d) {
      std::string key;
      key.reserve(prefix_.size() + fields_[o].size() + fields_[d].size());
      AppendKey(key, o, d);
      rows.emplace_back(std::move(key), values_);
    }
  }
  return rows;
}

}  // namespace orv::journal
