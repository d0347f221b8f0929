#ifndef ORV_STORE_COMPANY_H_
#define ORV_STORE_COMPANY_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv::db {
class Connection;
}

namespace orv::store {

// A company of CG18_ANADITTABASE with the name of its general record.
struct Company {
  // The label sections group rows by:
  // CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG
  static constexpr std::string_view kLabelExpression =
      "CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG";

  int32_t ditta = 0;
  std::string name;

  // "12 - Name", as the label expression gives it.
  std::string Label() const;

  // Every company, by code.
  static std::vector<Company> ReadAll(db::Connection& connection);
};

}  // namespace orv::store

#endif  // ORV_STORE_COMPANY_H_
