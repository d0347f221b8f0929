#include "journal/row_text.h"

namespace orv::journal {

void RowText::Append(std::string& out, const std::optional<std::string_view>& field, bool first) {
  if (!first) out.push_back('|');
  if (!field) {
    out += "\\N";
    return;
  }
  for (char c : *field) {
    switch (c) {
      case '|':
      case '\\':
        out.push_back('\\');
        out.push_back(c);
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out.push_back(c);
    }
  }
}

std::string RowText::Join(const Fields& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    Append(
        out,
        fields[i] ? std::optional<std::string_view>(*fields[i]) : std::optional<std::string_view>(),
        i == 0);
  }
  return out;
}

std::optional<std::string> RowText::Field(std::string_view text, size_t index) {
  size_t at = 0;
  for (size_t i = 0; i < index; ++i) {
    while (at < text.size() && text[at] != '|') at += text[at] == '\\' ? 2 : 1;
    if (at >= text.size()) return std::nullopt;
    ++at;
  }
  size_t end = at;
  while (end < text.size() && text[end] != '|') end += text[end] == '\\' ? 2 : 1;
  const Fields one = Split(text.substr(at, std::min(end, text.size()) - at));
  return one.empty() ? std::nullopt : one.front();
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
        current->push_back(next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next);
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
