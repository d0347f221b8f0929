#include "store/company.h"

#include "db/connection.h"
#include "db/recordset.h"

namespace orv::store {

std::string Company::Label() const { return std::to_string(ditta) + " - " + name; }

std::vector<Company> Company::ReadAll(db::Connection& connection) {
  std::vector<Company> companies;
  std::shared_ptr<db::Recordset> rs = connection.Execute(
      "SELECT CG18_DITTA, CG16_RAGSOANAG FROM CG18_ANADITTABASE "
      "INNER JOIN CG16_ANAGGEN ON CG18_CODICE_CG16 = CG16_CODICE ORDER BY CG18_DITTA");
  if (!rs) return companies;
  for (; !rs->IsEof(); rs->MoveNext()) {
    Company company;
    company.ditta = rs->Field("CG18_DITTA").ToInt32();
    const db::Value& name = rs->Field("CG16_RAGSOANAG");
    company.name = name.IsNull() ? std::string() : name.ToText();
    companies.push_back(std::move(company));
  }
  return companies;
}

}  // namespace orv::store
