#include "session/session_output.h"

namespace orv::session {

std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\0':
        out += "\\0";
        break;
      default:
        // Any other control byte would reach the terminal or the file raw.
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          static constexpr char kHex[] = "0123456789ABCDEF";
          out += "\\x";
          out += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
          out += kHex[static_cast<unsigned char>(c) & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out;
}

}  // namespace orv::session
