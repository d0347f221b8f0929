#ifndef ORV_SECTIONS_REVOKE_ALL_BULK_STATEMENTS_H_
#define ORV_SECTIONS_REVOKE_ALL_BULK_STATEMENTS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/principal.h"

namespace orv::sections {

// The statements of "Abilita tutti" and "Disabilita tutti", one function per
// statement, in the host's dialect.
//
// `company` is a company code as statements write it (decimal text, no
// quotes). `code` is an item code as the user sees it (trimmed): it is put
// between quotes with every single quote doubled. Identifiers come from the
// principal and are written as plain integers.
class BulkStatements {
 public:
  // --- remove all: warehouse transfers of the current company
  static std::string DeleteTransfers(const store::Principal& principal, std::string_view company);

  // --- remove all: the probes for an existing revocation
  static std::string ProbeCliFor(const store::Principal& principal);
  // Any family row of the principal in the company: the list shows every
  // family of that company.
  static std::string ProbeFamilies(const store::Principal& principal, std::string_view company);
  static std::string ProbeNodes(const store::Principal& principal, std::string_view company);
  static std::string ProbeParameters(const store::Principal& principal, int32_t kind);

  // --- remove all: the removals
  // Every company.
  static std::string DeleteCliFor(const store::Principal& principal);
  // Rows stay; the insert, modify and delete rights become 1.
  static std::string EnableFamilies(const store::Principal& principal, std::string_view company);
  // Every company.
  static std::string DeleteParameters(const store::Principal& principal, int32_t kind);

  // --- project nodes: the rows of the node work table that pass the filter
  static std::string SetNodesWork(std::string_view work_table, bool enable);

  // --- revoke all: one row of the parameter work recordset
  static std::string SelectParameterRow(const store::Principal& principal, int32_t kind,
                                        std::string_view code, std::string_view company);
  static std::string InsertParameterRow(const store::Principal& principal, int32_t kind,
                                        std::string_view code, std::string_view company,
                                        int32_t abilitato, int32_t modifica, int32_t eliminazione,
                                        int32_t inserimento);
  // --- revoke all: the parameter rows shown, as a set. The item codes are
  // not in the text: it has `codes` ? markers, one per distinct item code of
  // one company (at most kMaxSetCodes), whose values are bound in order
  // (Connection::Execute with values), so that one text serves every set
  // of that size.
  static constexpr size_t kMaxSetCodes = 500;
  // One row (or none) when the principal has any row of `kind` in `company`:
  // without, the codes need neither the UPDATE nor the test for a row.
  static std::string AnyParameterRow(const store::Principal& principal, int32_t kind,
                                     std::string_view company);
  // A revoked row for each of the codes (the principal having none of them).
  static std::string InsertParameterRows(const store::Principal& principal, int32_t kind,
                                         std::string_view company, size_t codes);
  // Every right of the principal's existing rows among the codes set to 0.
  static std::string RevokeParameterRows(const store::Principal& principal, int32_t kind,
                                         std::string_view company, size_t codes);
  // A revoked row for each of the codes the principal has no row for yet.
  static std::string InsertMissingParameterRows(const store::Principal& principal, int32_t kind,
                                                std::string_view company, size_t codes);
  static std::string UpdateParameterRow(const store::Principal& principal, int32_t kind,
                                        std::string_view code, std::string_view company);
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_REVOKE_ALL_BULK_STATEMENTS_H_
