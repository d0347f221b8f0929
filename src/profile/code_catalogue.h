#ifndef ORV_PROFILE_CODE_CATALOGUE_H_
#define ORV_PROFILE_CODE_CATALOGUE_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "profile/profile_row.h"

namespace orv::db {
class Connection;
}

namespace orv::profile {

// Checks the codes of revocation rows against this installation's
// catalogues (companies, warehouses, projects, MRP simulations,
// goods-blocking parameters, families, classification sources, company
// sites, project nodes), as the database compares them: blanks at the end
// and case do not count. Each catalogue is read once, the first time a row
// needs it.
class CodeCatalogue {
 public:
  explicit CodeCatalogue(db::Connection& connection) : connection_(connection) {}

  // The item's description when every code of the row exists (empty when
  // the catalogue has none); nothing otherwise, with `missing` naming the
  // first code not found ("deposito MP, ditta 1"). Parameter kinds without
  // a catalogue are taken as they are.
  std::optional<std::string> Describe(const ProfileRow& row, std::string* missing);

 private:
  using Entries = std::unordered_map<std::string, std::string>;  // key -> description
  const Entries& Catalogue(std::string_view name);
  bool Has(std::string_view catalogue, const std::string& key, std::string* description);

  db::Connection& connection_;
  std::map<std::string, Entries, std::less<>> catalogues_;
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_CODE_CATALOGUE_H_
