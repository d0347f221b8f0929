#ifndef ZERE_ORVELKA_QUERY_CONTROL_H_
#define ZERE_ORVELKA_QUERY_CONTROL_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "zere_orvelka/connection_handle.h"

namespace orv::host {

class ClsGlobal;

// The host's query control (ENHQUERY): a filter bar whose fields map to
// database columns. Set-up, in this order: ClearCriteria, ClearReferences,
// SetContext, SetContextName, SetEnabled, SetConnection, AddField..., Build.
//
// Condition() is the filter the user typed as SQL text that starts with its
// own connective (" AND PD68_CODPROG >= 'A'"), or "" when nothing is typed.
// Every typed value is in it only as an escaped literal, each single quote
// doubled: the module runs the text as it is.
//
// The control asks the window (host calls its handlers) for lookups:
// ENHQUERY_LookupDefinition(caption) and ENHQUERY_FieldValue(caption, bound,
// value), which hands back the code to keep.
class QueryControl {
 public:
  virtual ~QueryControl() = default;

  virtual void ClearCriteria() = 0;
  virtual void ClearReferences() = 0;
  // The company, two values of the global object (login and application
  // title) and the global object itself (shared while set).
  virtual void SetContext(int32_t company, std::string_view login,
                          std::string_view application_title,
                          std::shared_ptr<ClsGlobal> global) = 0;
  virtual void SetContextName(std::string_view name) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetConnection(std::shared_ptr<ConnectionHandle> connection) = 0;
  virtual void AddField(std::string_view page, std::string_view caption, std::string_view column,
                        int32_t position, int32_t max_length) = 0;
  virtual void Build() = 0;
  virtual std::string Condition() const = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_QUERY_CONTROL_H_
