// Arbitrary bytes as a connection string: parsing either succeeds or throws
// DbError; a parsed string survives being written out and read back, its
// redacted forms show no secret, and choosing a driver never fails.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "db/connection_string.h"
#include "db/db_error.h"
#include "db/driver.h"

namespace {

using orv::db::ConnectionString;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Every secret of a parsed string reads "***" (or is empty).
void CheckRedacted(const ConnectionString& cs) {
  for (const auto& [key, value] : cs.pairs()) {
    if (ConnectionString::IsSecretKey(key)) Check(value.empty() || value == "***");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Never throws, parsable or not.
  const std::string redacted_text = ConnectionString::RedactText(text);
  try {
    const ConnectionString cs(text);
    // Written out and read back, the same pairs.
    const ConnectionString again(cs.ToString());
    Check(again.pairs().size() == cs.pairs().size());
    for (const auto& [key, value] : cs.pairs()) {
      const auto found = again.Find(key);
      Check(found.has_value() && *found == value);
    }
    CheckRedacted(ConnectionString(cs.Redacted()));
    // Raw text that parses redacts to text that parses, with no secret.
    CheckRedacted(ConnectionString(redacted_text));
    (void)orv::db::SelectDriver(cs);
  } catch (const orv::db::DbError&) {
    // A malformed string is refused; that is all that may happen.
  }
  return 0;
}
