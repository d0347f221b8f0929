#ifndef ORV_HOST_ERR_OBJECT_H_
#define ORV_HOST_ERR_OBJECT_H_

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "zere_orvelka/log_class.h"

namespace orv::host {

// Error number the module raises when a host object or control it needs is
// missing.
inline constexpr int64_t kErrObjectNotSet = 91;
inline constexpr const char* kErrObjectNotSetText =
    "Object variable or With block variable not set";

// The error a routine trapped, as its reporting routines show it: number,
// description and source, plus the driver's messages of a database error.
struct ErrObject {
  int64_t number = 0;
  std::string description;
  std::string source;
  std::vector<HostError> driver_messages;

  // The exception being handled (call inside a catch block): a database
  // error keeps its number and messages; any other std::exception is number
  // 5 with its text; anything else is number 5 "Errore sconosciuto".
  static ErrObject FromCurrentException();
  static ErrObject FromException(const std::exception_ptr& error);

  HostError ToHostError() const { return {number, description, source}; }
};

// Throws the module's "object not set" error (a db::DbError numbered 91)
// naming what is missing.
[[noreturn]] void ThrowObjectNotSet(const char* what);

// The object a routine needs, or the "object not set" error naming it.
template <typename T>
T& Need(const std::shared_ptr<T>& object, const char* what) {
  if (!object) ThrowObjectNotSet(what);
  return *object;
}

}  // namespace orv::host

#endif  // ORV_HOST_ERR_OBJECT_H_
