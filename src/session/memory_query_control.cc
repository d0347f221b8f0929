#include "session/memory_query_control.h"

#include <algorithm>
#include <cctype>

namespace orv::session {
namespace {

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

void MemoryQueryControl::ClearReferences() {
  global_.reset();
  connection_.reset();
}

void MemoryQueryControl::SetContext(int32_t company, std::string_view login,
                                    std::string_view application_title,
                                    std::shared_ptr<host::ClsGlobal> global) {
  company_ = company;
  login_ = std::string(login);
  application_title_ = std::string(application_title);
  global_ = std::move(global);
}

void MemoryQueryControl::AddField(std::string_view /*page*/, std::string_view caption,
                                  std::string_view column, int32_t /*position*/,
                                  int32_t max_length) {
  host::QueryField field;
  field.caption = std::string(caption);
  field.column = std::string(column);
  field.max_length = max_length;
  fields_.push_back(std::move(field));
}

bool MemoryQueryControl::SetCriterion(std::string_view name, std::string_view from,
                                      std::string_view to) {
  for (host::QueryField& field : fields_) {
    if (SameText(field.caption, name) || SameText(field.column, name)) {
      field.from = std::string(from);
      field.to = std::string(to);
      return true;
    }
  }
  return false;
}

}  // namespace orv::session
