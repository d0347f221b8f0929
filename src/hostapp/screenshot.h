#ifndef ORV_HOSTAPP_SCREENSHOT_H_
#define ORV_HOSTAPP_SCREENSHOT_H_

#include <QSize>
#include <cstdint>
#include <optional>
#include <string>

namespace orv::hostapp {

class HostSession;

// Drives an open session to a state and renders its main window to a PNG:
// the --screenshot option of the program, also used by tests.
class Screenshot {
 public:
  struct Principal {
    int32_t kind = 1;  // host::PrincipalNode kind: 0 group, 1 user
    int64_t id = 0;
  };
  // "user:ID" or "group:ID"; nothing when malformed.
  static std::optional<Principal> ParsePrincipal(const std::string& text);

  // Picks the principal and the section (side-bar key) as a user would,
  // sizes the window (when `size` is valid), lets it settle and writes the
  // picture. Returns an error text, or "" on success.
  static std::string Take(HostSession& session, const std::optional<Principal>& principal,
                          const std::string& section_key, const std::string& file,
                          const QSize& size = {});
  // Opens the audit viewer over the window's journal, chooses its newest
  // entry and writes the viewer's picture. Returns an error text, or "".
  static std::string TakeJournal(HostSession& session, const std::string& file,
                                 const QSize& size = {});
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_SCREENSHOT_H_
