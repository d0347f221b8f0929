#ifndef ORV_TESTS_SECTIONS_TRANSFER_EDITOR_H_
#define ORV_TESTS_SECTIONS_TRANSFER_EDITOR_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/recordset.h"
#include "db/sql_literal.h"
#include "sections/section_editor.h"
#include "sections/transfers/transfer_section.h"
#include "session/memory_matrix_grid.h"
#include "store/principal_node.h"

namespace orv::testing {

// The editor with helpers for the warehouse-transfer matrix: cells by origin and destination code,
// clicks, header clicks, buttons with queued answers, and counts of the principal's rows in
// FW3E_RVKDEPCOLL.
//
// Demo warehouses of company 1: 01, 02, A (one character), CL (no
// description), DEP 1 (inner blank), MP, PF. Demo revocations: user 5 has
// 01->A and 01->DEP 1, group 5 has MP->PF.
class TransferEditor : public SectionEditor {
 public:
  static constexpr int64_t kCompany1Warehouses = 7;

  TransferEditor() { host().answers().set_strict(false); }

  session::MemoryMatrixGrid& grid() { return *controls().matrix; }

  // Chooses the warehouse-transfer section.
  void Open() { Section("ITM_TRANSORIDEST"); }

  // The section object the module added.
  sections::TransferSection& section() {
    if (auto* w = Find<sections::TransferSection>()) return *w;
    throw std::logic_error("no warehouse section");
  }

  // The bound matrix (null when the grid shows nothing).
  std::shared_ptr<db::Recordset> Bound() { return grid().GetDataSource(); }

  // Origin codes of the bound matrix, trimmed, in row order.
  std::vector<std::string> Origins() {
    std::vector<std::string> out;
    std::shared_ptr<db::Recordset> rs = Bound();
    if (!rs || rs->RecordCount() == 0) return out;
    std::shared_ptr<db::Recordset> clone = rs->Clone();
    for (clone->MoveFirst(); !clone->IsEof(); clone->MoveNext()) {
      out.push_back(db::Trim(clone->Field("CODICE").ToText()));
    }
    return out;
  }

  // The cell of the bound matrix ("1", "0", "<no row>", "<unbound>").
  std::string Cell(std::string_view origin, std::string_view destination) {
    std::shared_ptr<db::Recordset> rs = Bound();
    if (!rs) return "<unbound>";
    std::shared_ptr<db::Recordset> clone = rs->Clone();
    if (clone->RecordCount() == 0) return "<no row>";
    for (clone->MoveFirst(); !clone->IsEof(); clone->MoveNext()) {
      if (db::Trim(clone->Field("CODICE").ToText()) != origin) continue;
      const db::Value& v = clone->Field(sections::TransferSection::CodiceToCampo(destination));
      return v.IsNull() ? "<null>" : v.ToText();
    }
    return "<no row>";
  }

  // Every cell as "ORI>DES" of the revoked ones, in matrix order.
  std::vector<std::string> RevokedCells() {
    std::vector<std::string> out;
    std::shared_ptr<db::Recordset> rs = Bound();
    if (!rs || rs->RecordCount() == 0) return out;
    std::shared_ptr<db::Recordset> clone = rs->Clone();
    for (clone->MoveFirst(); !clone->IsEof(); clone->MoveNext()) {
      const std::string origin = db::Trim(clone->Field("CODICE").ToText());
      for (int i = 2; i < clone->FieldCount(); ++i) {
        const db::Value& v = clone->Field(i);
        if (v.IsNull() || v.ToText() != "1") {
          out.push_back(origin + ">" +
                        sections::TransferSection::CampoToCodice(
                            std::string_view(clone->FieldAt(i).name).substr(2)));
        }
      }
    }
    return out;
  }

  void Click(std::string_view origin, std::string_view destination) {
    host().ClickGrid("GRID_DEPOSITO", origin,
                     sections::TransferSection::CodiceToCampo(destination));
  }
  void Header(std::string_view destination, bool state) {
    host().HeaderClick("GRID_DEPOSITO", sections::TransferSection::CodiceToCampo(destination),
                       state);
  }
  // Makes the origin's row current, as selecting it in the grid does.
  void SelectOrigin(std::string_view origin) { ASSERT_TRUE(grid().MoveToOrigin(origin)) << origin; }
  // Clicks a button; `answers` go to the message boxes it raises.
  void Button(std::string_view name, std::vector<int32_t> answers = {}) {
    for (int32_t a : answers) host().answers().Push(a);
    host().Button(name);
  }

  // Rows of FW3E_RVKDEPCOLL, with an optional further condition.
  int64_t Rows(std::string_view where = "1 = 1") {
    return Count("SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE " + std::string(where));
  }
  // Rows of one principal in a company.
  int64_t UserRows(int64_t user, int64_t company = 1) {
    return Rows("FW3E_ID_FW07 = " + std::to_string(user) +
                " AND FW3E_ID_FW06 IS NULL AND FW3E_DITTA_CG18 = " + std::to_string(company));
  }
  int64_t GroupRows(int64_t group, int64_t company = 1) {
    return Rows("FW3E_ID_FW06 = " + std::to_string(group) +
                " AND FW3E_ID_FW07 IS NULL AND FW3E_DITTA_CG18 = " + std::to_string(company));
  }
  // One pair of a user.
  int64_t UserPair(int64_t user, std::string_view origin, std::string_view destination) {
    return Rows("FW3E_ID_FW07 = " + std::to_string(user) +
                " AND FW3E_ID_FW06 IS NULL AND FW3E_DITTA_CG18 = 1 AND FW3E_CODDEP_ORI = " +
                db::SqlQuote(origin) + " AND FW3E_CODDEP_DES = " + db::SqlQuote(destination));
  }
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SECTIONS_TRANSFER_EDITOR_H_
