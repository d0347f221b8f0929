#include "host/err_object.h"

#include <stdexcept>

#include "db/db_error.h"
#include "host/deferred_error.h"

namespace orv::host {

ErrObject ErrObject::FromException(const std::exception_ptr& error) {
  ErrObject result;
  try {
    if (error) std::rethrow_exception(error);
    result.number = 0;
  } catch (const DeferredError& e) {
    return FromException(e.original());
  } catch (const db::DbError& e) {
    result.number = e.number();
    result.description = e.description();
    for (const db::DriverMessage& m : e.messages()) {
      result.driver_messages.push_back({m.number, m.description, m.source});
      if (result.source.empty()) result.source = m.source;
    }
    if (result.source.empty()) result.source = "ZERE_ORVELKA";
  } catch (const std::exception& e) {
    result.number = 5;
    result.description = e.what();
    result.source = "ZERE_ORVELKA";
  } catch (...) {
    result.number = 5;
    result.description = "Errore sconosciuto";
    result.source = "ZERE_ORVELKA";
  }
  return result;
}

ErrObject ErrObject::FromCurrentException() { return FromException(std::current_exception()); }

void ThrowObjectNotSet(const char* what) {
  std::string text = kErrObjectNotSetText;
  if (what != nullptr && *what != '\0') {
    text += " (";
    text += what;
    text += ")";
  }
  throw db::DbError(kErrObjectNotSet, text);
}

}  // namespace orv::host
