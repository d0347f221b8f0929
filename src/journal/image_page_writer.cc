#include "journal/image_page_writer.h"

#include <algorithm>
#include <utility>

namespace orv::journal {

std::string& ImagePageWriter::Key(std::string_view table) {
  if (pages_.empty() || pages_.back().table != table ||
      pages_.back().count >= ImagePage::kMaxImages ||
      pages_.back().text.size() >= ImagePage::kMaxText) {
    ImagePage& page = pages_.emplace_back();
    page.table = std::string(table);
    if (line_size_ > 0) {
      // A page ends after the line that reaches kMaxText: that line may
      // go beyond it.
      page.text.reserve(std::min(static_cast<size_t>(ImagePage::kMaxImages) * line_size_,
                                 ImagePage::kMaxText + 2 * line_size_));
    }
  }
  ImagePage& page = pages_.back();
  if (page.count > 0) page.text += '\n';
  ++page.count;
  ++images_;
  return page.text;
}

void ImagePageWriter::Sides(const std::optional<std::string_view>& before,
                            const std::optional<std::string_view>& after) {
  std::string& text = pages_.back().text;
  text += '\t';
  text += before ? *before : ImagePage::kAbsent;
  text += '\t';
  text += after ? *after : ImagePage::kAbsent;
}

std::vector<ImagePage> ImagePageWriter::Take() {
  images_ = 0;
  return std::exchange(pages_, {});
}

}  // namespace orv::journal
