#ifndef ORV_SECTIONS_PARAMETERS_PARAMETER_SECTION_H_
#define ORV_SECTIONS_PARAMETERS_PARAMETER_SECTION_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"
#include "editor/section.h"
#include "store/principal.h"

namespace orv::db {
class Recordset;
}

namespace orv::sections {

// The parameter sections: warehouses (6), projects (8), MRP simulations (15)
// and goods-blocking parameters (30), all shown in GRIDTIPOLOGIE and kept in
// FW31_RVKPARAMETRI, plus the parts of that grid the project-node section
// (33) shares: the layouts 0, 2 and 6, the header check box and the click
// that hands a node change to InserisciRevocaNodi.
//
// Every click is written at once: revoking inserts (or updates) the
// principal's row with all flags 0, giving back deletes it; each write is
// followed by one change-log entry with event 16. When a write is refused or
// fails, the clicked row goes back to what it showed, so the grid never shows
// a change the database does not hold.
class ParameterSection : public editor::Section {
 public:
  // Results of the save routines.
  enum class Outcome { kWritten, kRefused, kFailed, kAbsent };

  explicit ParameterSection(editor::SectionContext context) : Section(context) {}

  std::string_view Name() const override { return "parameters"; }

  bool InitGrid(int32_t layout, std::string_view item_key) override;
  bool LoadData() override;
  bool InitEnquery() override;
  bool ButtonClick(std::string_view name) override;
  bool GridSelectionBoxClick(std::string_view grid, std::string_view row_key,
                             std::string_view column_key, const db::Value& value_before,
                             bool& cancel) override;
  bool GridHeaderCheckBoxClick(std::string_view grid, std::string_view column_key, bool new_state,
                               bool& cancel) override;
  std::optional<editor::RevocationSet> EnableAllSet(const store::Principal& principal) override;
  bool RevokesGridRows() const override { return true; }
  bool QueryLookupDefinition(std::string_view caption, host::LookupDefinition& out) override;
  bool QueryFieldValue(std::string_view caption, std::string_view bound, std::string_view value,
                       std::string& out) override;

  // A new, open, empty parameter work recordset.
  static std::shared_ptr<db::Recordset> CreaRecordset();
  // Whether the work recordset's current row has that column.
  bool WorkColumnExists(std::string_view column);

  // Binds GRIDTIPOLOGIE to the work recordset (after a first-row move when
  // it has rows), redisplays it and sets the loaded flag: the last steps of
  // every load of this grid.
  void BindWorkRecordset(std::shared_ptr<db::Recordset> recordset);
  // Takes the work rows off the grid and the section and, when nothing else
  // reads them any more, hands back their storage for the next load.
  std::vector<std::vector<db::Value>> ReleaseWorkRows();

  // The save routines, with the values of the clicked row.
  Outcome InserisciRevocaTipologie(std::string_view code, std::string_view company,
                                   int32_t abilitato, int32_t modifica, int32_t inserimento,
                                   int32_t eliminazione, std::string_view description,
                                   std::string_view extra);
  Outcome cmd_RimuoviTIPO_Click();
  Outcome InserisciRevocaNodi(std::string_view code, std::string_view company, int32_t abilitato,
                              int32_t modifica, int32_t inserimento, int32_t eliminazione,
                              std::string_view description, std::string_view extra);

  // The item cmd_RimuoviTIPO_Click last worked on.
  const std::string& current_code() const { return current_code_; }
  const std::string& current_description() const { return current_description_; }

  // The section whose catalogue the work recordset holds (0: none).
  int32_t loaded_section() const { return loaded_section_; }

 private:
  bool IsOwnSection();
  void WriteChangeLog(std::string_view description, std::string_view extra, std::string_view code,
                      int32_t abilitato);
  // True when the principal has a row for the item.
  bool RevocationExists(int32_t kind, std::string_view code, std::string_view company);

  bool header_flag_ = false;
  int32_t loaded_section_ = 0;
  // The principal the work recordset was loaded for.
  store::Principal loaded_principal_;
  std::string current_code_;
  std::string current_description_;
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_PARAMETERS_PARAMETER_SECTION_H_
