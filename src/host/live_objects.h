#ifndef ORV_HOST_LIVE_OBJECTS_H_
#define ORV_HOST_LIVE_OBJECTS_H_

namespace orv::host {

// Counts the module's live objects (entry objects, permission objects,
// editor windows) so that a host knows when it may unload the library. Safe
// from any thread.
class LiveObjects {
 public:
  static long Count();

  // Held as a member by every counted object.
  class Token {
   public:
    Token();
    ~Token();
    Token(const Token&);
    Token& operator=(const Token&) = default;
  };
};

}  // namespace orv::host

#endif  // ORV_HOST_LIVE_OBJECTS_H_
