#ifndef ORV_HOSTAPP_QT_QUERY_CONTROL_H_
#define ORV_HOSTAPP_QT_QUERY_CONTROL_H_

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "host/query_condition.h"
#include "hostapp/window_link.h"
#include "zere_orvelka/lookup_object.h"
#include "zere_orvelka/query_control.h"

namespace orv::hostapp {

// ENHQUERY for the desktop host: a "Da"/"A" pair of bounds per field. A
// typed bound goes through the window's ENHQUERY_FieldValue, which may hand
// back the stored code; a lookup asks ENHQUERY_LookupDefinition and runs its
// statement on the control's connection. The condition is built by
// host::BuildQueryCondition, so typed text reaches SQL only as escaped
// literals.
class QtQueryControl : public host::QueryControl {
 public:
  using ChangeHandler = std::function<void()>;
  static constexpr std::string_view kFrom = "Da";
  static constexpr std::string_view kTo = "A";

  explicit QtQueryControl(std::shared_ptr<WindowLink> link);

  // Called after Build (the fields changed) and after a bound changed.
  void SetFieldsHandler(ChangeHandler handler) { fields_handler_ = std::move(handler); }
  void SetValuesHandler(ChangeHandler handler) { values_handler_ = std::move(handler); }

  void ClearCriteria() override { fields_.clear(); }
  void ClearReferences() override;
  void SetContext(int32_t company, std::string_view login, std::string_view application_title,
                  std::shared_ptr<host::ClsGlobal> global) override;
  void SetContextName(std::string_view name) override { context_name_ = std::string(name); }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  // Borrowed: the window owns its connection.
  void SetConnection(std::shared_ptr<host::ConnectionHandle> connection) override {
    connection_ = db::Connection::FromHandle(connection);
  }
  void AddField(std::string_view page, std::string_view caption, std::string_view column,
                int32_t position, int32_t max_length) override;
  void Build() override;
  std::string Condition() const override { return host::BuildQueryCondition(fields_); }

  const std::vector<host::QueryField>& fields() const { return fields_; }
  const std::string& context_name() const { return context_name_; }
  bool enabled() const { return enabled_; }
  // A bound typed by the user ("Da" or "A"); the value kept is the window's
  // answer. False for an unknown field.
  bool SetBound(int field, std::string_view bound, std::string_view value);
  // Clears every bound.
  void ClearBounds();
  // The lookup of a field: its definition and rows (first column is the
  // code); nothing when the window offers none or the statement fails.
  struct Lookup {
    host::LookupDefinition definition;
    std::vector<std::vector<std::string>> rows;
  };
  std::optional<Lookup> LookupOf(int field);

 private:
  std::shared_ptr<WindowLink> link_;
  std::vector<host::QueryField> fields_;
  std::string context_name_;
  bool enabled_ = false;
  int32_t company_ = 0;
  // Weak: the host's global object owns this control through its user
  // interface, so a strong reference would keep both alive for ever.
  std::weak_ptr<host::ClsGlobal> global_;
  std::weak_ptr<db::Connection> connection_;
  ChangeHandler fields_handler_;
  ChangeHandler values_handler_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QT_QUERY_CONTROL_H_
