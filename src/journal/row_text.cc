#include "journal/row_text.h"

namespace orv::journal {

std::string RowText::Join(const Fields& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out.push_back('|');
    if (!fields[i]) {
      out += "\\N";
      continue;
    }
    for (char c : *fields[i]) {
      if (c == '|' || c == '\\') out.push_back('\\');
      out.push_back(c);
    }
  }
  return out;
}

RowText::Fields RowText::Split(std::string_view text) {
  Fields fields;
  std::optional<std::string> current = std::string();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      if (next == 'N' && current && current->empty() &&
          (i + 1 == text.size() || text[i + 1] == '|')) {
        current.reset();
      } else if (current) {
        current->push_back(next);
      }
    } else if (c == '|') {
      fields.push_back(std::move(current));
      current = std::string();
    } else if (current) {
      current->push_back(c);
    }
  }
  fields.push_back(std::move(current));
  return fields;
}

}  // namespace orv::journal
