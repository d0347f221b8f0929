#include "hostapp/qt_query_control.h"

#include <QtGlobal>
#include <exception>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostapp/recordset_cells.h"

namespace orv::hostapp {

QtQueryControl::QtQueryControl(std::shared_ptr<WindowLink> link) : link_(std::move(link)) {}

void QtQueryControl::ClearReferences() {
  global_.reset();
  connection_.reset();
}

void QtQueryControl::SetContext(int32_t company, std::string_view /*login*/,
                                std::string_view /*application_title*/,
                                std::shared_ptr<host::ClsGlobal> global) {
  company_ = company;
  global_ = global;
}

void QtQueryControl::AddField(std::string_view /*page*/, std::string_view caption,
                              std::string_view column, int32_t /*position*/, int32_t max_length) {
  host::QueryField field;
  field.caption = std::string(caption);
  field.column = std::string(column);
  field.max_length = max_length;
  fields_.push_back(std::move(field));
}

void QtQueryControl::Build() {
  if (fields_handler_) fields_handler_();
}

bool QtQueryControl::SetBound(int field, std::string_view bound, std::string_view value) {
  if (field < 0 || field >= static_cast<int>(fields_.size())) return false;
  host::QueryField& f = fields_[field];
  std::string kept(value);
  if (editor::FRMFW_ORVELKA* window = link_->Get(); window != nullptr && !kept.empty()) {
    kept = window->ENHQUERY_FieldValue(f.caption, bound, value);
  }
  (bound == kTo ? f.to : f.from) = kept;
  if (values_handler_) values_handler_();
  return true;
}

void QtQueryControl::ClearBounds() {
  for (host::QueryField& f : fields_) {
    f.from.clear();
    f.to.clear();
  }
  if (values_handler_) values_handler_();
}

std::optional<QtQueryControl::Lookup> QtQueryControl::LookupOf(int field) {
  editor::FRMFW_ORVELKA* window = link_->Get();
  if (window == nullptr || field < 0 || field >= static_cast<int>(fields_.size())) {
    return std::nullopt;
  }
  std::optional<host::LookupDefinition> definition =
      window->ENHQUERY_LookupDefinition(fields_[field].caption);
  std::shared_ptr<db::Connection> connection = connection_.lock();
  if (!definition || definition->statement.empty() || !connection) return std::nullopt;
  Lookup lookup{*definition, {}};
  try {
    auto rs = connection->Execute(definition->statement);
    for (; rs && rs->IsOpen() && !rs->IsEof(); rs->MoveNext()) {
      std::vector<std::string> row;
      for (int i = 0; i < rs->FieldCount(); ++i) row.push_back(RecordsetCells::Text(rs->Field(i)));
      lookup.rows.push_back(std::move(row));
    }
  } catch (const std::exception& e) {
    qWarning("ENHQUERY lookup: %s", e.what());
    return std::nullopt;
  }
  return lookup;
}

}  // namespace orv::hostapp
