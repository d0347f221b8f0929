#ifndef ORV_TESTS_SECTIONS_PARAMETER_EDITOR_H_
#define ORV_TESTS_SECTIONS_PARAMETER_EDITOR_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sections/section_editor.h"

namespace orv::testing {

// One row of GRIDTIPOLOGIE's work recordset, as text.
struct WorkRow {
  std::string code;  // trimmed
  std::string description;
  std::string abilitato;
  std::string modifica;
  std::string inserimento;
  std::string eliminazione;
  std::string dittarag;
  std::string raggruppamento;
  std::string indtipo;  // "" when Null
};

// The editor with helpers for GRIDTIPOLOGIE, the grid of the parameter
// sections.
class ParameterEditor : public SectionEditor {
 public:
  // Clicks the ABILITATO box of the row with that code (and company, when
  // not 0); fails the test when there is no such row.
  void Click(std::string_view code, int64_t company = 0);

  // The work recordset's rows in recordset order, and their codes.
  std::vector<WorkRow> Rows();
  std::vector<std::string> Codes();
  // The row with that code (and company); a row with code "<none>" when absent.
  WorkRow Row(std::string_view code, int64_t company = 0);

  // Change-log texts of event 16 since the last ClearOutput().
  std::vector<std::string> Log16() { return Log(16); }

 protected:
  // Clicks the ABILITATO box of the first shown row `matches` accepts (the
  // grid's current row is the one looked at); fails the test with "no
  // <what>" when none does.
  void ClickFirst(const std::function<bool(const db::Recordset&)>& matches,
                  const std::string& what);
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SECTIONS_PARAMETER_EDITOR_H_
