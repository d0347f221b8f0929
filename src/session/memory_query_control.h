#ifndef ORV_SESSION_MEMORY_QUERY_CONTROL_H_
#define ORV_SESSION_MEMORY_QUERY_CONTROL_H_

#include <memory>
#include <string>
#include <vector>

#include "db/connection.h"
#include "host/query_condition.h"
#include "zere_orvelka/query_control.h"

namespace orv::session {

// The query control of the headless host: fields as the window defined
// them, bounds typed with SetCriterion, the condition built by
// host::BuildQueryCondition (escaped literals only).
class MemoryQueryControl : public host::QueryControl {
 public:
  void ClearCriteria() override { fields_.clear(); }
  void ClearReferences() override;
  void SetContext(int32_t company, std::string_view login, std::string_view application_title,
                  std::shared_ptr<host::ClsGlobal> global) override;
  void SetContextName(std::string_view name) override { context_name_ = std::string(name); }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  void SetConnection(std::shared_ptr<host::ConnectionHandle> connection) override {
    connection_ = db::Connection::FromHandle(connection);
  }
  void AddField(std::string_view page, std::string_view caption, std::string_view column,
                int32_t position, int32_t max_length) override;
  void Build() override { ++build_count; }
  std::string Condition() const override { return host::BuildQueryCondition(fields_); }

  // Types bounds into the field with that caption or column (without regard
  // to case); false when there is no such field.
  bool SetCriterion(std::string_view field, std::string_view from, std::string_view to);

  const std::vector<host::QueryField>& fields() const { return fields_; }
  const std::string& context_name() const { return context_name_; }
  bool enabled() const { return enabled_; }
  int32_t company() const { return company_; }
  int build_count = 0;

 private:
  std::vector<host::QueryField> fields_;
  std::string context_name_;
  bool enabled_ = false;
  int32_t company_ = 0;
  std::string login_;
  std::string application_title_;
  std::shared_ptr<host::ClsGlobal> global_;
  std::shared_ptr<db::Connection> connection_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_MEMORY_QUERY_CONTROL_H_
