#ifndef ORV_BULK_COPY_STATEMENTS_H_
#define ORV_BULK_COPY_STATEMENTS_H_

#include <string>
#include <string_view>

#include "store/principal.h"

namespace orv::bulk {

// The statements of the revocation copy: for each family of revocations the
// destination's rows are deleted, then the source's rows are inserted under
// the destination's identifiers. Every company is covered.
//
// `destination` and `source` are the two principals; an identifier that is
// absent is tested with IS NULL and written as NULL.
class CopyStatements {
 public:
  // Customers and suppliers (FW32_RVKCLIFOR).
  static std::string DeleteCliFor(const store::Principal& destination);
  static std::string InsertCliFor(const store::Principal& destination,
                                  const store::Principal& source);
  // Article families (FW3H_RVKARTICOLI).
  static std::string DeleteFamilies(const store::Principal& destination);
  static std::string InsertFamilies(const store::Principal& destination,
                                    const store::Principal& source);
  // Warehouse transfers (FW3E_RVKDEPCOLL).
  static std::string DeleteTransfers(const store::Principal& destination);
  static std::string InsertTransfers(const store::Principal& destination,
                                     const store::Principal& source);
  // Project nodes (FW3N_RVKNODI).
  static std::string DeleteNodes(const store::Principal& destination);
  static std::string InsertNodes(const store::Principal& destination,
                                 const store::Principal& source);
  // Parameters (FW31_RVKPARAMETRI) of the kinds in `kinds`, a list such as
  // "6, 30" (ParameterKinds()).
  static std::string DeleteParameters(const store::Principal& destination, std::string_view kinds);
  static std::string InsertParameters(const store::Principal& destination,
                                      const store::Principal& source, std::string_view kinds);

  // The kind list of the ticked parameter boxes, in the order warehouses,
  // MRP simulations, goods blocking, projects; "" when none is ticked.
  static std::string ParameterKinds(bool warehouses, bool mrp_simulations, bool blocking,
                                    bool projects);
};

}  // namespace orv::bulk

#endif  // ORV_BULK_COPY_STATEMENTS_H_
