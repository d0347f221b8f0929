#ifndef ORV_JOURNAL_IMAGE_PAGE_WRITER_H_
#define ORV_JOURNAL_IMAGE_PAGE_WRITER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/image_page.h"

namespace orv::journal {

// Writes row images into ImagePage texts one line at a time, a page ending
// where ImagePage::Pack ends it (another table, kMaxImages lines, or
// kMaxText bytes reached): a gesture that knows its rows writes its pages
// without first making one RowImage per row.
//
//   ImagePageWriter writer(line_size);
//   std::string& key = writer.Key(table);  // append the key's text to it
//   key += ...;
//   writer.Sides(std::nullopt, "0");       // then its values before, after
class ImagePageWriter {
 public:
  // `line_size`: the bytes a line takes, about (0: unknown); a page's text
  // is reserved once for as many lines as it may hold.
  explicit ImagePageWriter(size_t line_size = 0) : line_size_(line_size) {}

  // Starts the line of one image of `table` and returns the page's text,
  // to which the caller appends the image's key (a RowText).
  std::string& Key(std::string_view table);
  // Ends the line begun by Key(): the values before and after (RowTexts;
  // nullopt for an absent row).
  void Sides(const std::optional<std::string_view>& before,
             const std::optional<std::string_view>& after);

  int64_t images() const { return images_; }
  // The pages written, in order; the writer is then empty.
  std::vector<ImagePage> Take();

 private:
  size_t line_size_;
  int64_t images_ = 0;
  std::vector<ImagePage> pages_;
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_IMAGE_PAGE_WRITER_H_
