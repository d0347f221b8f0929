#include "journal/image_page.h"

#include <optional>

#include "journal/image_page_writer.h"

namespace orv::journal {
namespace {

std::optional<std::string_view> View(const std::optional<std::string>& side) {
  if (!side) return std::nullopt;
  return std::string_view(*side);
}

std::optional<std::string> Side(std::string_view text) {
  if (text == ImagePage::kAbsent) return std::nullopt;
  return std::string(text);
}

}  // namespace

std::vector<ImagePage> ImagePage::Pack(const std::vector<RowImage>& images) {
  ImagePageWriter writer;
  for (const RowImage& image : images) {
    writer.Key(image.table) += image.key;
    writer.Sides(View(image.before), View(image.after));
  }
  return writer.Take();
}

void ImagePage::Unpack(std::string_view table, std::string_view text, std::vector<RowImage>& out) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    const size_t first = line.find('\t');
    const size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
    if (second == std::string_view::npos) continue;  // not a line of this format
    out.push_back({std::string(table), std::string(line.substr(0, first)),
                   Side(line.substr(first + 1, second - first - 1)),
                   Side(line.substr(second + 1))});
  }
}

}  // namespace orv::journal
