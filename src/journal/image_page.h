#ifndef ORV_JOURNAL_IMAGE_PAGE_H_
#define ORV_JOURNAL_IMAGE_PAGE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "journal/row_image.h"

namespace orv::journal {

// Row images of one table kept together in one row of FW3K_IMMAGINIREVOKE:
// one line per changed row, "key<TAB>before<TAB>after", each a RowText
// (which holds no tab or line feed) or "\A" for an absent row. A gesture of
// 250,000 rows is then a few hundred rows of the journal, not 250,000.
struct ImagePage {
  static constexpr int64_t kMaxImages = 2000;
  static constexpr size_t kMaxText = 64000;  // bytes of text, about
  static constexpr std::string_view kAbsent = "\\A";

  std::string table;
  int64_t count = 0;
  std::string text;

  // Pages in the order of the images (a page holds one table's images).
  static std::vector<ImagePage> Pack(const std::vector<RowImage>& images);
  // Appends the page's images to `out`.
  static void Unpack(std::string_view table, std::string_view text, std::vector<RowImage>& out);
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_IMAGE_PAGE_H_
