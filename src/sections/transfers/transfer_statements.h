#ifndef ORV_SECTIONS_TRANSFERS_TRANSFER_STATEMENTS_H_
#define ORV_SECTIONS_TRANSFERS_TRANSFER_STATEMENTS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"
#include "store/principal.h"

namespace orv::sections {

// The statements of the warehouse-transfer section over FW3E_RVKDEPCOLL and
// MG58_DEPOSITI, one function per statement, in the host's dialect.
//
// Warehouse codes are passed as the section uses them (decoded from the
// matrix, so a one-character code carries its trailing blank): every
// function puts them between quotes with each single quote doubled.
// `company` is the working company code, written as a plain integer. The
// principal is written as the column followed by "=" and the identifier, or
// by "IS NULL"; in value lists the missing principal is NULL.
class TransferStatements {
 public:
  // The company's warehouses, every column (read by the build and the fill).
  static std::string SelectWarehouses(int64_t company);
  // The warehouses in code order: the destination columns of the grid.
  static std::string SelectWarehouseColumns(int64_t company);
  // The matrix rows: code, description and one column per key of
  // `column_keys` ("C_" + encoded code, one per warehouse), all 1. "" when
  // there is no key (a company without warehouses).
  static std::string Catalogue(int64_t company, const std::vector<std::string>& column_keys);

  // The principal's revocations in the company.
  static std::string SelectRevocations(const store::Principal& principal, int64_t company);

  // One pair (cell click).
  static std::string InsertPair(const store::Principal& principal, int64_t company,
                                std::string_view origin, std::string_view destination);
  static std::string DeletePair(const store::Principal& principal, int64_t company,
                                std::string_view origin, std::string_view destination);

  // One destination from every origin (header click).
  static std::string DeleteDestination(const store::Principal& principal, int64_t company,
                                       std::string_view destination);
  static std::string InsertDestination(const store::Principal& principal, int64_t company,
                                       std::string_view destination);

  // Every destination of one origin (origin toggle).
  static std::string ProbeOrigin(const store::Principal& principal, int64_t company,
                                 std::string_view origin);
  static std::string DeleteOrigin(const store::Principal& principal, int64_t company,
                                  std::string_view origin);
  static std::string InsertOrigin(const store::Principal& principal, int64_t company,
                                  std::string_view origin);

  // Every missing pair of the company for one principal; `user` and `group`
  // are identifiers, one of them Null.
  // After every pair of the company's warehouses has a row for the
  // principal: the rows a cell shows other than revoked (a flag not 0), and
  // every row of an origin that is no warehouse of the company now.
  static std::string SelectRevocationsNotRevoked(const store::Principal& principal,
                                                 int64_t company);
  static std::string InsertMissingPairs(const db::Value& user, const db::Value& group,
                                        int64_t company);

  // Every principal's rows of the company.
  static std::string DeleteCompany(int64_t company);

  // The principals "Disabilita tutti" revokes for: users of a group and the
  // groups, except the group 'CORVSA'. TIPO 0 is a user, 1 a group.
  static constexpr std::string_view kSelectPrincipals =
      "SELECT DISTINCT FW00_ID_FW07 AS ID, 0 AS TIPO From FW00_GRPUSRASSOC "
      " INNER JOIN FW06_GROUPUSR ON FW06_ID = FW00_ID_FW06 AND FW06_CODICE <> 'CORVSA' "
      " UNION SELECT FW06_ID AS ID, 1 AS TIPO From FW06_GROUPUSR WHERE FW06_CODICE <> 'CORVSA'";

  // The matrix filter that finds an origin's row.
  static std::string OriginFilter(std::string_view origin);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_TRANSFERS_TRANSFER_STATEMENTS_H_
